# The simulated board around the program, for the live run and the tour. Source it
# after setting ZR_RUN_BUILD (the build folder whose programs run here).
# Everything runs in the build's X-drawing Wine prefix; world_stop ends it all.

W_BUILD="$ZR_RUN_BUILD"
W_EMU="$W_BUILD/wine-emu"
W_SIM="$W_BUILD/simboard"
W_DIST="$W_BUILD/dist"
W_PREFIX="$W_BUILD/wineprefix-x11"
W_OUT="${W_OUT:-$W_BUILD/tour}"
W_PIDS=()
export ZR_WINE_X11=1

w_winpath() { printf 'Z:%s' "${1//\//\\}"; }

# A Windows program of the simulated board, run to its end; its output without CRs.
w_sim() { local prog="$1"; shift; "$W_EMU" "$W_SIM/$prog.exe" "$@" </dev/null 2>&1 | tr -d '\r'; }

# A Windows program started in the background; its output goes to $W_OUT/<name>.out.
w_start() { # name program args...
  local name="$1" prog="$2"; shift 2
  "$W_EMU" "$prog" "$@" </dev/null >"$W_OUT/$name.out" 2>&1 &
  W_PIDS+=($!)
}

# Waits until a program of the board answers (e.g. the service's registrations).
w_wait_for() { # seconds command...
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

w_reg() { "$W_EMU" reg "$@" </dev/null >/dev/null 2>&1; }

# A fresh board, the companions installed, the calibration done, a default profile file.
world_reset() {
  mkdir -p "$W_OUT"
  rm -f "$W_OUT"/*.log "$W_OUT"/*.out
  "$W_EMU" cmd /c exit </dev/null >/dev/null 2>&1
  rm -rf "$W_PREFIX/drive_c/ProgramData/Kovra SimBoard" "$W_PREFIX/drive_c/ProgramData/Kovra OC Profiles"
  w_reg delete 'HKLM\Software\Kovra' /f
  w_reg delete 'HKCU\Software\Kovra' /f
  w_sim ZentrikCompanion --install >/dev/null
  w_sim OktanEngineCompanion --install >/dev/null
  local i
  for i in 1 2 3 4 5 6; do
    w_reg add 'HKLM\Software\Kovra\Pacer3' /v "Threshold$i" /t REG_DWORD /d $((10 * i)) /f
  done
  # Default\Default.oc: version 1, one record: the frequency setting at index 101 (200 MHz).
  local folder="$W_PREFIX/drive_c/ProgramData/Kovra OC Profiles/Default"
  mkdir -p "$folder"
  printf '\x00\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x11\x00\x01\x03\x65\x00\x00\x00' >"$folder/Default.oc"
  w_sim SimBoardTool open >/dev/null  # seeds the board from the default board
}

world_start() {
  w_start service "$W_SIM/KovraSimService.exe"
  w_wait_for 20 w_sim ZentrikVirtualRemote status || { echo "the simulated service did not start" >&2; return 1; }
  w_start oc-companion "$W_SIM/ZentrikCompanion.exe" --log "$(w_winpath "$W_OUT/oc-companion.log")"
  w_start qps-companion "$W_SIM/OktanEngineCompanion.exe" --log "$(w_winpath "$W_OUT/qps-companion.log")"
  w_start program "$W_DIST/ZentrikRemote.exe"
  w_wait_for 30 w_registered || { echo "Zentrik Remote did not register with the service" >&2; return 1; }
}

# The service knows at least one registered window.
w_registered() { [[ "$(w_sim ZentrikVirtualRemote status)" =~ [1-9] ]]; }

world_stop() {
  w_sim ZentrikVirtualRemote quit >/dev/null || true
  w_sim ZentrikCompanion --quit >/dev/null || true
  w_sim OktanEngineCompanion --quit >/dev/null || true
  w_sim KovraSimService --stop >/dev/null || true
  local pid deadline=$((SECONDS + 10))
  for pid in "${W_PIDS[@]}"; do
    while kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.1; done
    kill "$pid" 2>/dev/null || true
  done
  W_PIDS=()
  WINEPREFIX="$W_PREFIX" /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
  WINEPREFIX="$W_PREFIX" /usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1 || true
}
