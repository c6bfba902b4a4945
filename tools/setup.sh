# Shared set-up of ./run and ./test: packages, the two builds, and wine in a virtual display.
# Sourced with ROOT set to the repository root.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

DUSK_PACKAGES=(cmake ninja-build g++ pkg-config googletest libgtest-dev libcairo2-dev
  g++-mingw-w64-x86-64 wine wine64 fonts-wine fonts-liberation xvfb xauth xdotool imagemagick
  x11-utils libxinerama-dev libx11-dev jq)
# The generator tests render the songs through a General MIDI synthesiser with both soundfonts the
# Linux saver knows, to compare their levels.
DUSK_PACKAGES+=(fluidsynth timgm6mb-soundfont fluid-soundfont-gm libpng-dev)
# The Windows setup program and the zip for installing by hand.
DUSK_PACKAGES+=(nsis zip)
# The Linux saver: SDL2, FluidSynth and a General MIDI soundfont, Xlib; its Debian package is built
# with dpkg-shlibdeps (dpkg-dev, file), its settings description checked with xmllint.
DUSK_LINUX_PACKAGES=(libsdl2-dev libfluidsynth-dev timgm6mb-soundfont libx11-dev dpkg-dev file libxml2-utils)
# Only for its tests: lintian for the package; sway and grim for the saver under a headless
# Wayland compositor, and the Wayland and xkbcommon headers and wayland-scanner for the test's
# keyboard and mouse (tests/sdl/helpers/wl_input.c).
DUSK_PACKAGES+=(lintian sway grim libwayland-dev libwayland-bin libxkbcommon-dev)
DUSK_PACKAGES+=("${DUSK_LINUX_PACKAGES[@]}")
# What ./run needs for the Linux saver alone (no wine: a first run is quicker).
DUSK_NATIVE_PACKAGES=(cmake ninja-build g++ pkg-config googletest libgtest-dev libcairo2-dev
  libpng-dev fonts-liberation xvfb xauth xdotool imagemagick x11-utils "${DUSK_LINUX_PACKAGES[@]}")
# The fuzz targets (fuzz/): clang with libFuzzer and the sanitizers' run-time.
DUSK_PACKAGES+=(clang libclang-rt-14-dev)
# The web page (hosts/web): Emscripten (its system libraries come built), ffmpeg to compress the
# songs FluidSynth renders, and for its tests chromium, driven by playwright-core from npm. npm
# only where node came without it (Debian's nodejs does not bring it).
DUSK_WEB_PACKAGES=(emscripten chromium ffmpeg fluidsynth timgm6mb-soundfont python3)
command -v npm >/dev/null 2>&1 || DUSK_WEB_PACKAGES+=(npm)
DUSK_PACKAGES+=("${DUSK_WEB_PACKAGES[@]}")

# Installs what is missing of the packages named (default: all of DUSK_PACKAGES).
dusk_install_packages() {
  local missing=() wanted=("$@")
  [ ${#wanted[@]} = 0 ] && wanted=("${DUSK_PACKAGES[@]}")
  for p in "${wanted[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} = 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Installed where the system's own programs are (the Linux saver finds its data in /usr/share).
dusk_build_native() {
  cmake -S "$ROOT" -B "$ROOT/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_INSTALL_PREFIX=/usr >/dev/null &&
    cmake --build "$ROOT/build/native"
}

# The web page's static site in build/web/: the program built with Emscripten (in build/wasm),
# the data folder of the native build packed, the songs rendered. Needs the native build first.
dusk_build_web() {
  # Emscripten's tools load Debian's node modules (acorn); a node from elsewhere needs telling.
  export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
  emcmake cmake -S "$ROOT" -B "$ROOT/build/wasm" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$ROOT/build/wasm" &&
    "$ROOT/hosts/web/make_site.sh" "$ROOT/build/wasm/bin" "$ROOT/build/native/data/Duskhollow" "$ROOT/build/web"
}

# The web tests' one npm package, at the version package-lock.json names.
dusk_web_test_deps() {
  (cd "$ROOT/hosts/web/tests" && npm ci --no-audit --no-fund --prefer-offline --loglevel=error >/dev/null)
}

# The unit tests once more with AddressSanitizer and UBSan: the bitmap and wave readers are fuzzed there.
dusk_build_sanitized() {
  cmake -S "$ROOT" -B "$ROOT/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDUSK_SANITIZE=ON >/dev/null &&
    cmake --build "$ROOT/build/asan" --target dusk_tests $(cmake --build "$ROOT/build/asan" --target help 2>/dev/null | grep -o '^wavemix_tests' | head -1)
}

# The libFuzzer targets of fuzz/, a small project of its own built with clang.
dusk_build_fuzz() {
  cmake -S "$ROOT/fuzz" -B "$ROOT/build/fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
    cmake --build "$ROOT/build/fuzz"
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
    dusk_xvfb 1024x768 || return 1
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
  dusk_xvfb_stop
}
