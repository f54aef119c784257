#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test; ends with ctest's summary.
# Extra arguments go to ctest (for example: -R plinth).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
dir="$(zr_setup_and_build)"
trap 'zr_stop_wine "$dir"' EXIT
"$dir/wine-emu" cmd /c exit </dev/null >/dev/null 2>&1
cd "$dir"
# A Wine process now and then fails to start at all when two start at the same moment
# (no output, failed in milliseconds); such a test gets a second run.
ctest --output-on-failure --no-tests=error --repeat until-pass:2 -j "$ZR_JOBS" "$@"
