#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test; ends with ctest's summary.
# Extra arguments go to ctest (for example: -R plinth).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
zr_packages
zr_configure_build i686
arch="$(zr_runtime_arch)"
dir="$(zr_build_dir "$arch")"
if [[ "$arch" != i686 ]]; then
  zr_log "this kernel cannot run 32-bit code: testing the x86-64 build of the same sources"
  zr_configure_build "$arch"
fi
trap 'zr_stop_wine "$dir"' EXIT
"$dir/wine-emu" cmd /c exit </dev/null >/dev/null 2>&1
cd "$dir"
ctest --output-on-failure --no-tests=error -j "$ZR_JOBS" "$@"
