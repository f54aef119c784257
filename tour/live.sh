#!/usr/bin/env bash
# Zentrik Remote live on this desktop, on the simulated board: the service, both
# companions, the program and the virtual remote's window. Closing the window or
# Ctrl-C quits everything this started (the program through its quit message).
set -euo pipefail
source "$(dirname "$0")/world.sh"
trap world_stop EXIT
trap 'exit 130' INT TERM
world_reset
world_start
echo "Zentrik Remote runs. Use the virtual remote's window; close it to quit."
echo "What reached the companions: $W_OUT/oc-companion.log, $W_OUT/qps-companion.log"
w_sim ZentrikVirtualRemote --window >/dev/null
