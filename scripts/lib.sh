# Shared by the scripts: installs what is missing and configures the build presets.
# shellcheck shell=bash

ZW_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

zw_packages_native=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest libbenchmark-dev python3)
# fonts-wine: a Tahoma of Tahoma's metrics, so the panel under Wine looks as on Windows.
zw_packages_windows=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb xauth fonts-wine)
zw_packages_fuzz=(clang libclang-rt-14-dev)
# The second Windows compiler: clang for the MinGW-w64 target, linked by lld.
zw_packages_windows_clang=(clang lld)
# The Windows package: the guide's HTML, the zip.
zw_packages_package=(cmark-gfm zip)

# Installs the given Debian packages that are not installed yet.
zw_require_packages() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# Configures (once) and builds one preset.
zw_build() {
  local preset=$1
  shift
  if [ ! -f "$ZW_ROOT/build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" -S "$ZW_ROOT" >/dev/null
  fi
  cmake --build "$ZW_ROOT/build/$preset" "$@"
}

# A virtual display for Wine: its clipboard and windows need one (without it the first
# clipboard access waits about ten seconds for a display that never comes).
zw_start_xvfb() {
  local display
  for display in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
  done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  ZW_XVFB_PID=$!
  export DISPLAY=":$display"
  local waited=0
  until [ -e "/tmp/.X11-unix/X$display" ] || [ $waited -ge 50 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
}

zw_stop_xvfb() {
  [ -n "${ZW_XVFB_PID:-}" ] && kill "$ZW_XVFB_PID" 2>/dev/null || true
}

# A scratch Wine prefix with a persistent wineserver, so the clipboard outlives processes.
zw_start_wine() {
  export WINEPREFIX=${WINEPREFIX:-$ZW_ROOT/build/wineprefix}
  export WINEDEBUG=-all
  # No Mono or Gecko prompts, and no sound drivers (there is no sound device here).
  export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d"
  mkdir -p "$WINEPREFIX"
  wineserver -p
  wineboot -i >/dev/null 2>&1 || true
  # fonts-wine's Tahoma, where Windows keeps its fonts: Wine 8 here does not read the fonts of
  # its own data folder, and its stand-in for Tahoma is wider.
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -u /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
    "$WINEPREFIX/drive_c/windows/Fonts/"
}

zw_stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
}

# A German user's number format in the Wine prefix, as the tool takes it from the locale.
zw_german_number_format() {
  wine reg add 'HKCU\Control Panel\International' /v sDecimal /d , /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\International' /v sThousand /d . /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\International' /v sList /d ';' /f >/dev/null 2>&1
}
