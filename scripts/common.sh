# Shared by the build and test scripts: where things are, and how missing
# Debian packages get installed.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=${WINEARCH:-win32}

build_packages=(cmake ninja-build g++-mingw-w64-i686-posix binutils-mingw-w64-i686
                googletest libz-mingw-w64-dev icoutils
                g++ pkg-config libcairo2-dev fonts-liberation fonts-dejavu-core)
test_packages=(wine wine32:i386 fonts-wine)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# ensure_packages PKG...: installs whichever of them is not installed yet.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
     ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -qq
  # With recommendations: the tests were proven on Wine as Debian installs it
  # by default.
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

configure_and_build() {
  cmake --no-warn-unused-cli -S "$root" -B "$build_dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
        -DARTWORK_PROGRAM="$build_dir/artwork/artwork" >/dev/null
  cmake --build "$build_dir"
}

# The artwork program runs on the build machine itself, not under Wine.
build_artwork_program() {
  cmake -S "$root/tools/artwork" -B "$build_dir/artwork" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build_dir/artwork"
}

# A prefix of the project's own, and a server kept running so that each
# test process starts warm instead of waiting out the server's linger.
start_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # No .NET or HTML engine: their installers would ask for a display.
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # The panel host draws "Times New Roman" text: let Liberation Serif answer.
  if ! grep -q '"Times New Roman"="Liberation Serif"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine regedit /S "$(winepath -w "$root/tools/gauge-host/font-replacements.reg")" >/dev/null 2>&1 </dev/null || true
  fi
  wineserver -p 2>/dev/null || true
  # One run with its output redirected, so no later process inherits
  # the test runner's pipe into a lingering server.
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_wine() {
  wineserver -k 2>/dev/null || true
}
