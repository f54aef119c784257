#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the benchmark: the real program on the
# simulated board, measured from outside (see bench/README.md).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
dir="$(zr_setup_and_build)"
trap 'zr_stop_wine "$dir"' EXIT
"$dir/wine-emu" cmd /c exit </dev/null >/dev/null 2>&1
"$dir/wine-emu" "$dir/bench/ZentrikBench.exe" </dev/null 2>&1 | tr -d '\r'
