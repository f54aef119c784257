#!/usr/bin/env bash
# Takes the on-screen display's screenshots: every movie at rest after "show" (or
# "in"), over the smoke overlay, with the English and the Japanese texts, on a
# 1920 x 1080 virtual screen. Writes docs/screenshots/<movie>-<language>.png.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../scripts/lib.sh"

movies=(${ZR_SCREENSHOT_MOVIES:-ZentrikProfileOn ZentrikProfileOff QPSAuto QPSManual OCTuning Warning})
languages=(English:1252 Japanese:932)
hold_ms=6000  # the movie stays at rest this long after saying "ready"

if [[ "${1:-}" != --inside ]]; then
  ZR_PACKAGES+=("${ZR_DISPLAY_PACKAGES[@]}")
  zr_packages
  zr_locales
  arch="$(zr_runtime_arch)"
  dir="$(zr_build_dir "$arch")"
  zr_configure_build "$arch" --target osd_screenshot_host langfiles
  trap 'zr_stop_wine "$dir"' EXIT
  # The X-drawing prefix is made on first use, so inside the X session.
  xvfb-run -a -s "-screen 0 1920x1080x24" "$here/screenshots.sh" --inside "$dir"
  exit 0
fi

dir="$2"
out="$ZR_ROOT/docs/screenshots"
mkdir -p "$out"
export ZR_WINE_X11=1
# A compositing manager, so that the layered windows' alpha blends on screen as on
# Windows (without one, X draws translucent pixels over black).
xcompmgr -n &
compositor=$!
log="$(mktemp)"
trap 'rm -f "$log"; kill "$compositor" 2>/dev/null || true' EXIT
sleep 1
for language in "${languages[@]}"; do
  name="${language%%:*}" code_page="${language##*:}"
  ini="Z:$dir/dist/LangFiles/$name/$name.ini"
  for movie in "${movies[@]}"; do
    zr_log "screenshot of $movie in $name"
    "$dir/wine-emu" "$dir/tools/osd_screenshot_host.exe" "$movie" "$ini" "$code_page" "$hold_ms" \
      </dev/null >"$log" 2>&1 &
    host=$!
    for _ in $(seq 1 600); do
      grep -q '^ready' "$log" && break
      kill -0 "$host" 2>/dev/null || break
      sleep 0.1
    done
    if ! grep -q '^ready' "$log"; then
      cat "$log" >&2
      wait "$host" || true
      exit 1
    fi
    import -window root "$out/$movie-$name.png"
    wait "$host"
  done
done
zr_log "screenshots in $out"
