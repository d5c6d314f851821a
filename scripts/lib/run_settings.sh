# The settings dialog under Wine, for scripts/run.sh --settings: on the user's
# display to try every page, or on a private Xvfb with a screenshot of each.
# Expects velmora_wine_env's environment and the saver, prefix and shots paths.

# velmora_run_settings SAVER PREFIX SHOTS-FOLDER
velmora_run_settings() {
  local saver="$1" prefix="$2" shots="$3"
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    velmora_init_wineprefix "$prefix" "$DISPLAY"
    echo "Opening the settings dialog on $DISPLAY; OK saves, Cancel leaves everything as it was."
    WINEPREFIX="$prefix" wine "$saver" /c
    WINEPREFIX="$prefix" wineserver -w
    return 0
  fi

  mkdir -p "$shots"
  velmora_start_xvfb 1280x1024x24
  trap 'velmora_stop_wineserver "$prefix"; velmora_stop_xvfb' EXIT
  velmora_init_wineprefix "$prefix" "$VELMORA_XVFB_DISPLAY"
  echo "No X display: opening the settings dialog on a private display ($VELMORA_XVFB_DISPLAY)."
  export DISPLAY="$VELMORA_XVFB_DISPLAY"
  WINEPREFIX="$prefix" wine "$saver" /c &
  local saver_pid=$! window
  window="$(timeout 30 xdotool search --sync --onlyvisible --name "Settings" | head -n 1)"
  if [ -z "$window" ]; then
    echo "The settings dialog did not open." >&2
    return 1
  fi
  sleep 1
  # The first tab, then the arrow key walks the tab control through the pages.
  xdotool mousemove --window "$window" 20 12 click 1
  local page
  for page in pictures cube music display about; do
    sleep 1
    import -display "$DISPLAY" -window "$window" "$shots/settings-$page.png"
    echo "Screenshot: $shots/settings-$page.png"
    xdotool key --window "$window" Right
  done
  # Escape is "Cancel": nothing is written. Whatever is left when the time is
  # up ends with the Wine server.
  xdotool key --window "$window" Escape
  local i
  for i in $(seq 1 100); do
    kill -0 "$saver_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$saver_pid" 2>/dev/null; then
    echo "The settings dialog did not close; ending it." >&2
    velmora_stop_wineserver "$prefix"
  fi
  wait "$saver_pid" 2>/dev/null || true
}
