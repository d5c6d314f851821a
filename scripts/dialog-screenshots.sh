#!/usr/bin/env bash
# Developer tool, not a test: screenshots of the settings dialog's pages, the
# list editor and the setup assistant at 96, 144 and 192 DPI, as PNG files in
# build/screenshots/dpiN/. Each DPI has a Wine prefix of its own (the
# prefix's HKCU\Control Panel\Desktop\LogPixels), on a private display; the
# setup assistant runs without a network, so it reports to no one.
# Usage: scripts/dialog-screenshots.sh [DPI...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
cd "$top"
source "$here/lib/wine_env.sh"

dpis=("$@")
[ ${#dpis[@]} -gt 0 ] || dpis=(96 144 192)

cmake --build --preset windows --target saver_dialog_shots setup_dialog_shot
bin="$top/build/windows/bin"

velmora_start_xvfb 1280x1024x24
current_prefix=
finish() {
  [ -z "$current_prefix" ] || velmora_stop_wineserver "$current_prefix"
  velmora_stop_xvfb
}
trap finish EXIT

velmora_wine_env
for dpi in "${dpis[@]}"; do
  prefix="$top/build/windows/wineprefix-shots-dpi$dpi"
  out="$top/build/screenshots/dpi$dpi"
  mkdir -p "$out"
  velmora_init_wineprefix "$prefix" "$VELMORA_XVFB_DISPLAY"
  current_prefix="$prefix"
  export WINEPREFIX="$prefix" DISPLAY="$VELMORA_XVFB_DISPLAY"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  # The DPI is read when the Wine session starts.
  wineserver -k || true
  wineserver -w
  outwin="$(winepath -w "$out")"
  wine "$bin/saver_dialog_shots.exe" "$outwin" || echo "saver dialogs at $dpi DPI: failed" >&2
  unshare -n -- wine "$bin/setup_dialog_shot.exe" "$outwin" ||
    echo "setup assistant at $dpi DPI: failed" >&2
  wineserver -k || true
  wineserver -w
  current_prefix=
  for bmp in "$out"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
  echo "$dpi DPI: $(cd "$out" && echo *.png)"
done
