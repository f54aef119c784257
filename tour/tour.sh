#!/usr/bin/env bash
# The headless tour: Zentrik Remote on the simulated board under Xvfb. Every button
# from idle, a manual level stepped, the frequency stepped and committed, a profile
# switched on and off, and a warning. For each step: a screenshot of the overlay at
# rest and what the program did; at the end whether every step did what it should.
set -uo pipefail
source "$(dirname "$0")/world.sh"
export FLASHOBJ_LOG
FLASHOBJ_LOG="$(w_winpath "$W_OUT/player.log")"
# Translucent windows need a compositing manager, else X shows their pixels over black.
xcompmgr -n >/dev/null 2>&1 &
compositor=$!
trap 'world_stop; kill $compositor 2>/dev/null' EXIT

ActiveProfile=0x11060008 Frequency=0x03010011 QpsMode=0x0B000001
failures=0 steps=0
declare -A seen=()

# The lines a log gained since the last look, into a variable.
fresh() { # variable, log name
  local file="$W_OUT/$2" from="${seen[$2]:-0}" total
  printf -v "$1" '%s' ""
  [[ -f "$file" ]] || return 0
  total=$(wc -l <"$file")
  ((total > from)) && printf -v "$1" '%s' "$(tail -n +"$((from + 1))" "$file" | tr -d '\r')"
  seen[$2]=$total
}

# A firmware value; a read that meets the board being replaced is tried again.
firmware() {
  local value try
  for try in 1 2 3; do
    value="$(w_sim SimBoardTool read "$1")"
    [[ "$value" =~ ^[0-9]+$ ]] && break
    sleep 0.2
  done
  echo "$value"
}


# Waits until the player has called back n more times (the sequence's points).
callbacks_since=0
wait_callbacks() { # n seconds
  local want=$((callbacks_since + $1)) deadline=$((SECONDS + $2)) have
  while :; do
    have=$(grep -c ' callback' "$W_OUT/player.log" 2>/dev/null || true)
    ((have >= want)) && break
    ((SECONDS < deadline)) || { callbacks_since=$have; return 1; }
    sleep 0.1
  done
  callbacks_since=$have
}

# After the last call-back: the fade-out, then the state's last request. Under Xvfb,
# Wine recomposes the full-screen translucent overlay in software at every opacity
# step, so the 250 ms fade takes seconds here.
settle() { sleep 4; }

press() { w_sim ZentrikVirtualRemote press "$1" >/dev/null; }
# A screenshot once the overlay is at rest (the first one also waits for the players
# to be made).
snap() { sleep "${2:-1.2}"; import -window root "$W_OUT/$1.png"; }

# One step: check expressions after the sequence has ended.
report() { # name, then pairs of description and test
  local name="$1"; shift
  local ok=1
  local player
  fresh OC_NEW oc-companion.log
  fresh QPS_NEW qps-companion.log
  fresh player player.log
  echo "  overlay (requests that reached the player):"
  sed -n 's/.*<invoke name="\([^"]*\)".*<string>\(.*\)<\/string>.*/    \1: \2/p' <<<"$player"
  echo "  companions:"
  [[ -n "$OC_NEW" ]] && sed 's/^/    overclocking: /' <<<"$OC_NEW"
  [[ -n "$QPS_NEW" ]] && sed 's/^/    power saving: /' <<<"$QPS_NEW"
  echo "  firmware: active profile $(firmware $ActiveProfile), frequency index $(firmware $Frequency), power-saving mode $(firmware $QpsMode)"
  while (($#)); do
    if eval "$2"; then echo "  ok: $1"; else echo "  NOT AS EXPECTED: $1"; ok=0; fi
    shift 2
  done
  steps=$((steps + 1))
  ((ok)) || failures=$((failures + 1))
  echo "  screenshot: $W_OUT/$name.png"
}

# What the companions received during the step being reported.
oc_got() { grep -q "$1" <<<"$OC_NEW"; }
qps_got() { grep -q "$1" <<<"$QPS_NEW"; }

world_reset
world_start || exit 1
echo "Zentrik Remote runs on the simulated board; screenshots and logs in $W_OUT"

step() { echo; echo "== step $((steps + 1)): $1"; }

step "button A: profile A (Gaming, 220 MHz) switched on"
press A; snap 01-profile-a-on 3; wait_callbacks 2 15; settle
report 01-profile-a-on \
  "the companion was asked for profile 1" "oc_got 'posted 0x0425 0x00000055 0x00000001'" \
  "the power-saving companion went to level 1 first" "qps_got 'posted 0x041F 0x00000055 0x00000000'" \
  "the firmware marks profile A active" "[[ \$(firmware $ActiveProfile) == 1 ]]" \
  "the frequency took profile A's value (index 121)" "[[ \$(firmware $Frequency) == 121 ]]"

step "button A again: profile A switched off"
press A; snap 02-profile-a-off; wait_callbacks 2 15; settle
report 02-profile-a-off \
  "the companion was asked to switch the profile off" "oc_got 'posted 0x0425 0x00000055 0x00000000'" \
  "no profile is active" "[[ \$(firmware $ActiveProfile) == 0 ]]" \
  "the frequency is back at the default profile's (index 101)" "[[ \$(firmware $Frequency) == 101 ]]"

step "button B: profile B (Balanced, 200 MHz, equal to the default) switched on"
press B; snap 03-profile-b-on; wait_callbacks 2 15; settle
report 03-profile-b-on \
  "the companion was asked for profile 2" "oc_got 'posted 0x0425 0x00000055 0x00000002'" \
  "the firmware marks profile B active" "[[ \$(firmware $ActiveProfile) == 2 ]]"

step "button C: profile C (Silent, 166 MHz) lies below the default: warning"
press C; snap 04-profile-c-below-default; wait_callbacks 1 15; settle
report 04-profile-c-below-default \
  "profile C was not requested" "! oc_got 'posted 0x0425 0x00000055 0x00000003'" \
  "profile B stays active" "[[ \$(firmware $ActiveProfile) == 2 ]]"

step "button manual: the power-saving level (1 on the board), stepped to 2, then the time-out"
press manual; sleep 0.8; press manual; snap 05-qps-manual; wait_callbacks 1 15; settle
report 05-qps-manual \
  "level 2 reached the companion once, at the end" "qps_got 'posted 0x0420 0x00000055 0x00000000'" \
  "the firmware's power-saving mode is level 2 (raw 1)" "[[ \$(firmware $QpsMode) == 1 ]]"

step "button auto: the automatic power-saving mode"
press auto; snap 06-qps-auto; wait_callbacks 1 15; settle
report 06-qps-auto \
  "the auto mode was posted at the end" "qps_got 'posted 0x0423 0x00000055 0x00000000'"

step "button up: the frequency display, stepped up twice, then committed"
before=$(firmware $Frequency)
press up; sleep 1.0; press up; sleep 0.4; press up; snap 07-frequency-up; wait_callbacks 2 20; settle
report 07-frequency-up \
  "the new index was sent to the companion" "oc_got \"sent 0x0424 0x00000055 $(printf '0x%08X' $((before + 2)))\"" \
  "the firmware's frequency moved up two steps" "[[ \$(firmware $Frequency) == $((before + 2)) ]]"

step "button down: the frequency display opens, nothing changed, nothing committed"
press down; snap 08-frequency-down; wait_callbacks 2 20; settle
report 08-frequency-down \
  "no commit without a step" "! oc_got 'sent 0x0424'"

step "the overclocking companion quits; button A: warning, companion not running"
w_sim ZentrikCompanion --quit >/dev/null
sleep 1
press A; snap 09-warning-not-running; wait_callbacks 1 15; settle
report 09-warning-not-running \
  "nothing was requested" "! oc_got 'posted 0x0425'"

echo
if ((failures == 0)); then
  echo "tour: all $steps steps did what they should"
else
  echo "tour: $failures of $steps steps did not do what they should"
  exit 1
fi
