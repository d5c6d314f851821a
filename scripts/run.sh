#!/usr/bin/env bash
# Builds everything and runs the saver full screen under Wine: on the user's X
# display when there is one, otherwise on a private Xvfb for a few seconds,
# taking screenshots whose paths it prints. With --settings it opens the
# settings dialog instead (on Xvfb: a screenshot of each page).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
cd "$top"
source "$here/lib/wine_env.sh"
source "$here/lib/run_settings.sh"

"$here/setup.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target velmora-saver velmora-install

saver="$top/build/windows/bin/velmora-saver.scr"
# A prefix of the saver's own: Wine maps its picture and music folders to the
# user's, and the saver's settings stay out of the user's own prefix.
prefix="$top/build/windows/run-prefix"
velmora_wine_env

if [ "${1:-}" = "--settings" ]; then
  velmora_run_settings "$saver" "$prefix" "$top/build/screenshots"
  exit $?
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  velmora_init_wineprefix "$prefix" "$DISPLAY"
  echo "Running the saver on $DISPLAY; move the mouse or press a key to end it."
  WINEPREFIX="$prefix" wine "$saver" /s
  status=$?
  WINEPREFIX="$prefix" wineserver -w
  exit "$status"
fi

seconds="${VELMORA_RUN_SECONDS:-8}"
shots="$top/build/screenshots"
mkdir -p "$shots"
velmora_start_xvfb 1280x1024x24
trap 'velmora_stop_wineserver "$prefix"; velmora_stop_xvfb' EXIT
velmora_init_wineprefix "$prefix" "$VELMORA_XVFB_DISPLAY"
echo "No X display: running the saver for $seconds seconds on a private display ($VELMORA_XVFB_DISPLAY)."
WINEPREFIX="$prefix" DISPLAY="$VELMORA_XVFB_DISPLAY" wine "$saver" /s &
saver_pid=$!
taken=0
for i in 1 2 3; do
  sleep "$((seconds / 3))"
  shot="$shots/saver-$i.png"
  if import -display "$VELMORA_XVFB_DISPLAY" -window root "$shot" 2>/dev/null; then
    echo "Screenshot: $shot"
    taken=$((taken + 1))
  fi
  if ! kill -0 "$saver_pid" 2>/dev/null; then
    echo "The saver has ended."
    break
  fi
done
velmora_stop_wineserver "$prefix"
wait "$saver_pid" 2>/dev/null || true
[ "$taken" -gt 0 ]
