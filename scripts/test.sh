#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, the fuzz
# targets and the Windows tests under Wine on a private display.
# Exits non-zero when anything fails.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
cd "$top"
source "$here/lib/wine_env.sh"

"$here/setup.sh" || { echo "setup failed" >&2; exit 1; }

status=0
run_suite() {
  local preset="$1"
  echo "=== $preset: configure and build"
  if ! cmake --preset "$preset" >"build/$preset-configure.log" 2>&1; then
    cat "build/$preset-configure.log"
    echo "$preset: configure failed"
    status=1
    return 1
  fi
  if ! cmake --build --preset "$preset"; then
    echo "$preset: build failed"
    status=1
    return 1
  fi
  return 0
}

mkdir -p build

if run_suite native; then
  echo "=== native: tests"
  ctest --preset native || status=1
fi

if run_suite fuzz; then
  echo "=== fuzz: targets"
  ctest --preset fuzz || status=1
fi

if run_suite windows; then
  prefix="$top/build/windows/wineprefix"
  if velmora_start_xvfb 1280x1024x24; then
    trap 'velmora_stop_wineserver "$prefix"; velmora_stop_xvfb' EXIT
    velmora_init_wineprefix "$prefix" "$VELMORA_XVFB_DISPLAY"
    echo "=== windows: tests under Wine on display $VELMORA_XVFB_DISPLAY"
    VELMORA_TEST_DISPLAY="$VELMORA_XVFB_DISPLAY" ctest --preset windows || status=1
    velmora_stop_wineserver "$prefix"
    velmora_stop_xvfb
    trap - EXIT
  else
    status=1
  fi
fi

exit "$status"
