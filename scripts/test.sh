#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test; ends with ctest's summary.
# Extra arguments go to ctest (for example: -R plinth).
#   ZR_RETEST=1       run every test, also those that passed before against this same build
#   ZR_TEST_WORLDS=n  run n tests at a time (default: one per processor)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
dir="$(zr_setup_and_build)"
trap 'zr_stop_wine "$dir"' EXIT
cd "$dir"

# Tests run side by side, each in a world (prefix) of its own; all are made ready first.
export ZR_TEST_WORLDS="${ZR_TEST_WORLDS:-$ZR_JOBS}"
for ((world = 0; world < ZR_TEST_WORLDS; world++)); do
  ZR_WINE_WORLD="$world" "$dir/wine-emu" cmd /c exit </dev/null >/dev/null 2>&1 &
done
wait

# A test that passed against exactly these build outputs reports that pass without
# running again (see test-run). Passes are kept by fingerprint of the build's outputs;
# those of other builds are dropped after a full run has passed.
results="$dir/test-results"
mkdir -p "$results"
export ZR_TEST_RESULTS="$results" ZR_TEST_FINGERPRINT
ZR_TEST_FINGERPRINT="$(zr_test_fingerprint "$dir")"
if [[ "${ZR_RETEST:-0}" != 1 ]]; then
  zr_log "tests that passed before against this same build are not run again (ZR_RETEST=1 runs them)"
fi

# A Wine process now and then fails to start at all when two start at the same moment
# (no output, failed in milliseconds); such a test gets a second run.
status=0
ctest --output-on-failure --no-tests=error --repeat until-pass:2 -j "$ZR_TEST_WORLDS" "$@" || status=$?
if ((status == 0 && $# == 0)); then
  find "$results" -mindepth 1 -maxdepth 1 ! -name "$ZR_TEST_FINGERPRINT" -exec rm -rf {} +
fi
exit "$status"
