#!/usr/bin/env bash
# Runs one Windows test program under Wine on two monitors side by side: a
# Xephyr server with two Xinerama screens (RANDR off, so Wine asks Xinerama)
# inside the test display. The prefix is one of its own: a prefix's Wine
# session keeps the monitors of the display it started on, so the session
# is started here and ended before the script returns.
# Usage: two_monitors.sh PREFIX right|left PROGRAM [ARGUMENTS...]
#   right: the second monitor lies right of the primary one; left: left of it.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/lib/wine_env.sh"

prefix="$1"
side="$2"
shift 2
if [ -z "${VELMORA_TEST_DISPLAY:-}" ]; then
  echo "two_monitors: VELMORA_TEST_DISPLAY is not set; run the tests through scripts/test.sh" >&2
  exit 2
fi
# Wine makes Xinerama's first screen the primary monitor at (0, 0).
case "$side" in
  right) screens=(-origin 0,0 -screen 800x600+0+0 -origin 800,0 -screen 800x600+800+0) ;;
  left) screens=(-origin 800,0 -screen 800x600+800+0 -origin 0,0 -screen 800x600+0+0) ;;
  *)
    echo "two_monitors: side must be right or left" >&2
    exit 2
    ;;
esac

numberfile="$(mktemp)"
DISPLAY="$VELMORA_TEST_DISPLAY" Xephyr -displayfd 3 +xinerama -extension RANDR "${screens[@]}" \
  -wr -nolisten tcp -noreset 3>"$numberfile" >/dev/null 2>&1 &
xephyr=$!

stop_all() {
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
  kill "$xephyr" 2>/dev/null || true
  wait "$xephyr" 2>/dev/null || true
  rm -f "$numberfile"
}
trap stop_all EXIT

for _ in $(seq 1 100); do
  [ -s "$numberfile" ] && break
  sleep 0.1
done
if [ ! -s "$numberfile" ]; then
  echo "two_monitors: Xephyr did not start" >&2
  exit 1
fi
display=":$(tr -d '[:space:]' <"$numberfile")"

velmora_wine_env
velmora_init_wineprefix "$prefix" "$display"
# A session left behind by an interrupted run would keep its old display.
WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
WINEPREFIX="$prefix" DISPLAY="$display" wine "$@"
