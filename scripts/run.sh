#!/usr/bin/env bash
# Sets up what is missing, builds, and runs Zentrik Remote on the simulated board.
# With a display: the live program and the virtual remote's window; closing the
# window (or Ctrl-C) quits everything. Without one: the scripted tour under Xvfb.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
ZR_PACKAGES+=("${ZR_DISPLAY_PACKAGES[@]}")
dir="$(zr_setup_and_build)"
export ZR_RUN_BUILD="$dir"
if [[ -n "${DISPLAY:-}" && "${1:-}" != --tour ]]; then
  exec "$ZR_ROOT/tour/live.sh"
fi
exec xvfb-run -a -s "-screen 0 1920x1080x24" "$ZR_ROOT/tour/tour.sh"
