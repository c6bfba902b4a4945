# Shared set-up of ./run and ./test: packages, the two builds, and wine in a virtual display.
# Sourced with ROOT set to the repository root.

DUSK_PACKAGES=(cmake ninja-build g++ pkg-config googletest libgtest-dev libbenchmark-dev libcairo2-dev
  g++-mingw-w64-x86-64 wine wine64 fonts-wine fonts-liberation xvfb xauth xdotool imagemagick
  x11-utils libxinerama-dev libx11-dev)

dusk_install_packages() {
  local missing=()
  for p in "${DUSK_PACKAGES[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} = 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

dusk_build_native() {
  cmake -S "$ROOT" -B "$ROOT/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    cmake --build "$ROOT/build/native"
}

# The unit tests once more with AddressSanitizer and UBSan: the bitmap and wave readers are fuzzed there.
dusk_build_sanitized() {
  cmake -S "$ROOT" -B "$ROOT/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDUSK_SANITIZE=ON >/dev/null &&
    cmake --build "$ROOT/build/asan" --target dusk_tests $(cmake --build "$ROOT/build/asan" --target help 2>/dev/null | grep -o '^wavemix_tests' | head -1)
}

dusk_build_windows() {
  cmake -S "$ROOT" -B "$ROOT/build/win64" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DDUSK_NATIVE_DIR="$ROOT/build/native" >/dev/null &&
    cmake --build "$ROOT/build/win64"
}

# A wine prefix under build/, a virtual X display, and a wine server kept alive between runs.
dusk_start_wine() {
  export WINEPREFIX="$ROOT/build/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ -z "${DUSK_KEEP_DISPLAY:-}" ]; then
    local n=97
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    DUSK_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/.dusk-ready" ]; then
    echo "Creating the wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    wineserver -w
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    wineserver -w
    touch "$WINEPREFIX/.dusk-ready"
  fi
  wineserver -p 30
  # The first wine program starts wine's background services; start them here, detached from
  # any output a test runner waits on, so that they never hold a test's pipe open.
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

dusk_stop_wine() {
  wineserver -k 2>/dev/null
  [ -n "${DUSK_XVFB_PID:-}" ] && kill "$DUSK_XVFB_PID" 2>/dev/null
  return 0
}
