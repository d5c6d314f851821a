#!/usr/bin/env bash
# Runs one Windows test program under Wine with the screen at the given DPI:
# a prefix of its own whose HKCU\Control Panel\Desktop\LogPixels holds it.
# The DPI is read when the Wine session starts, so the session is started
# here and ended before the script returns.
# Usage: high_dpi.sh PREFIX DPI PROGRAM [ARGUMENTS...]
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/lib/wine_env.sh"

prefix="$1"
dpi="$2"
shift 2
if [ -z "${VELMORA_TEST_DISPLAY:-}" ]; then
  echo "high_dpi: VELMORA_TEST_DISPLAY is not set; run the tests through scripts/test.sh" >&2
  exit 2
fi

stop_session() {
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
}
trap stop_session EXIT

velmora_wine_env
velmora_init_wineprefix "$prefix" "$VELMORA_TEST_DISPLAY"
stop_session
WINEPREFIX="$prefix" DISPLAY="$VELMORA_TEST_DISPLAY" wine reg add 'HKCU\Control Panel\Desktop' \
  /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
stop_session
WINEPREFIX="$prefix" DISPLAY="$VELMORA_TEST_DISPLAY" wine "$@"
