# Shared by the README's commands. Source it; it defines functions only.
ZR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZR_BUILD="${ZR_BUILD:-$ZR_ROOT/build}"
ZR_JOBS="${ZR_JOBS:-$(nproc)}"

zr_log() { printf '== %s\n' "$*" >&2; }

# Debian packages the build, the tests and the main job need; installs only what is missing.
ZR_PACKAGES=(cmake make locales g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
             wine wine32:i386 wine64 xvfb xauth x11-apps imagemagick googletest
             fonts-dejavu-core fonts-wqy-microhei xcompmgr)
zr_packages() {
  local missing=() p
  for p in "${ZR_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  zr_log "installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null
  apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

# System locales under which tests start Wine processes (the Windows system language
# follows the locale of the wine process); made once when missing.
ZR_LOCALES=(en_US de_DE fr_FR es_ES ja_JP zh_CN)
zr_locales() {
  local have l
  have="$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')"
  for l in "${ZR_LOCALES[@]}"; do
    grep -qx "$(echo "$l.utf8" | tr 'A-Z' 'a-z')" <<<"$have" && continue
    zr_log "making locale $l.UTF-8"
    localedef -i "$l" -f UTF-8 "$l.UTF-8" >/dev/null 2>&1 || zr_log "could not make locale $l.UTF-8"
  done
}

# The product is 32-bit. Where the kernel cannot execute 32-bit code (some virtual
# machines have no 32-bit code segment), 32-bit Wine cannot start, and the same
# sources are built for x86-64 to run under wine64 instead.
zr_runtime_arch() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
}

zr_build_dir() { # arch
  if [[ "$1" == i686 ]]; then echo "$ZR_BUILD"; else echo "$ZR_BUILD/x64"; fi
}

zr_configure_build() { # arch [cmake --build args...]
  local arch="$1" dir; shift
  dir="$(zr_build_dir "$arch")"
  mkdir -p "$dir"
  if [[ ! -f "$dir/CMakeCache.txt" ]]; then
    zr_log "configuring $arch build in $dir"
    local defines=()
    [[ -n "${ZR_TOOLS_FROM:-}" ]] && defines+=("-DZR_TOOLS_FROM=$ZR_TOOLS_FROM")
    cmake -S "$ZR_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DZR_ARCH="$arch" "${defines[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$ZR_ROOT/cmake/mingw-w64.cmake" >"$dir/configure.log" 2>&1 \
      || { cat "$dir/configure.log" >&2; return 1; }
  fi
  zr_log "building $arch in $dir"
  cmake --build "$dir" -j "$ZR_JOBS" "$@" >"$dir/build.log" 2>&1 \
    || { tail -n 60 "$dir/build.log" >&2; return 1; }
}

# Ends the build's Wine servers (headless and X prefixes) and waits for them.
zr_stop_wine() { # build dir
  local prefix
  for prefix in "$1/wineprefix" "$1/wineprefix-x11"; do
    [[ -d "$prefix" ]] || continue
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1 || true
  done
}

# Sets up the machine and builds the product (build/dist, 32-bit) and, where 32-bit
# code cannot run here, the x86-64 build that runs; its build-time tools also serve
# the 32-bit build, whose tests are compiled (warnings count there too) but not run.
# Prints the folder of the build that runs.
zr_setup_and_build() {
  zr_packages
  zr_locales
  local arch dir
  arch="$(zr_runtime_arch)"
  dir="$(zr_build_dir "$arch")"
  if [[ "$arch" != i686 ]]; then
    zr_log "this kernel cannot run 32-bit code: the x86-64 build of the same sources runs here"
    zr_configure_build "$arch"
    ZR_TOOLS_FROM="$dir" zr_configure_build i686
  else
    zr_configure_build i686
  fi
  echo "$dir"
}
