# Shared by the README's commands. Source it; it defines functions only.
ZR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZR_BUILD="${ZR_BUILD:-$ZR_ROOT/build}"
ZR_JOBS="${ZR_JOBS:-$(nproc)}"

# Progress on stderr, with the time since the script started.
zr_log() { printf '== [%d:%02d] %s\n' $((SECONDS / 60)) $((SECONDS % 60)) "$*" >&2; }

# Debian packages the build and the tests need; ZR_DISPLAY_PACKAGES adds what the
# main job and the screenshots show on a (virtual) screen with. 32-bit Wine is added
# only where the kernel can run 32-bit code at all.
ZR_PACKAGES=(cmake ninja-build locales g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
             wine wine64 googletest fonts-dejavu-core fonts-wqy-microhei)
ZR_DISPLAY_PACKAGES=(xvfb xauth x11-apps imagemagick xcompmgr)
zr_packages() {
  local missing=() p
  zr_kernel_runs_32bit && ZR_PACKAGES+=(wine32:i386)
  for p in "${ZR_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  zr_log "installing ${missing[*]}"
  if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null
  apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

# Whether this kernel executes 32-bit x86 programs: a 93-byte 32-bit ELF that only
# exits is tried. Some virtual machines offer no 32-bit code segment ("Exec format
# error"); there 32-bit Wine cannot start.
zr_kernel_runs_32bit() {
  local probe="$ZR_BUILD/.probe32" ok=1
  mkdir -p "$ZR_BUILD"
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null && ok=0
  rm -f "$probe"
  return "$ok"
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
    { localedef -i "$l" -f UTF-8 "$l.UTF-8" >/dev/null 2>&1 || zr_log "could not make locale $l.UTF-8"; } &
  done
  wait
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
    cmake -G Ninja -S "$ZR_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DZR_ARCH="$arch" "${defines[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$ZR_ROOT/cmake/mingw-w64.cmake" >"$dir/configure.log" 2>&1 \
      || { cat "$dir/configure.log" >&2; return 1; }
  fi
  zr_log "building $arch in $dir"
  cmake --build "$dir" -j "$ZR_JOBS" "$@" >"$dir/build.log" 2>&1 \
    || { tail -n 60 "$dir/build.log" >&2; return 1; }
}

# Ends the servers of the build's Wine prefixes (headless worlds, X) and waits for them.
zr_stop_wine() { # build dir
  local prefix
  for prefix in "$1"/wineprefix*; do
    [[ -d "$prefix" ]] || continue
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1 || true
  done
}

# Sets up the machine and builds the product (build/dist, 32-bit) and, where 32-bit
# code cannot run here, the x86-64 build that runs and is tested; its build-time tools
# also serve the 32-bit build, which then builds what it ships and not the tests it
# could not run (they compile in the x86-64 build). Prints the folder of the build
# that runs.
zr_setup_and_build() {
  zr_packages
  zr_locales
  local arch dir
  arch="$(zr_runtime_arch)"
  dir="$(zr_build_dir "$arch")"
  if [[ "$arch" != i686 ]]; then
    zr_log "this kernel cannot run 32-bit code: the x86-64 build of the same sources runs here"
    zr_configure_build "$arch"
    ZR_TOOLS_FROM="$dir" zr_configure_build i686 --target shipped
  else
    zr_configure_build i686
  fi
  echo "$dir"
}

# What the build's outputs that the tests meet look like: the contents of the
# programs, libraries and data the build made, of the test definitions, of the two
# wrappers and of the language sources a test reads, and the Wine in use. The test
# programs are left out: test-run takes each one's own into its key, so a changed
# test program runs its own tests again, a changed product runs them all. Contents,
# not times: a library copied again unchanged beside a test program changes nothing.
zr_test_fingerprint() { # build dir
  local dir="$1"
  {
    find "$dir/dist" "$dir/simboard" "$dir/tools" "$ZR_ROOT/data/LangFiles" -type f -print0
    find "$dir/tests" -type f \( -name '*.exe' -o -name '*.dll' \) ! -name '*_tests.exe' -print0
    find "$dir" -path "$dir/wineprefix*" -prune -o -path "$dir/Testing" -prune -o -type f \
      \( -name CTestTestfile.cmake -o -name '*_include.cmake' \) -print0
    printf '%s\0' "$dir/wine-emu" "$dir/test-run"
  } | xargs -0 sha1sum | LC_ALL=C sort | { cat; dpkg-query -W wine wine64 wine32 2>/dev/null || true; } \
    | sha1sum | cut -d' ' -f1
}
