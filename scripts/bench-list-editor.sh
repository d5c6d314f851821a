#!/usr/bin/env bash
# The list editor's preview under Wine: from selecting a 24-megapixel JPEG or
# a 12-megapixel PNG to its painted preview (median of 7), the decode alone
# with and without the preview box as size hint, and the dialog thread's time
# per selection change while the worker decodes; then a long list of 2000
# items added in one choice, selected, moved down, saved and opened again.
# With --long-list [COUNT] only the long list is timed. Photo-like pictures from
# bench_sample; a private Xvfb display and Wine prefix. BENCH_BUILD_DIR and
# BENCH_NATIVE_DIR pick the Windows and native build folders.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
cd "$top"
source "$here/lib/wine_env.sh"

build="${BENCH_BUILD_DIR:-$top/build/windows}"
native="${BENCH_NATIVE_DIR:-$top/build/native}"
cmake --build "$build" -j2 --target list_editor_bench >/dev/null
args=("$@")
if [ "${1:-}" != "--long-list" ]; then
  cmake --build "$native" -j2 --target bench_sample >/dev/null
  work="$top/build/bench"
  mkdir -p "$work"
  [ -f "$work/photo24.ppm" ] || "$native/tools/bench_sample" 6000 4000 "$work/photo24.ppm"
  [ -f "$work/photo12.ppm" ] || "$native/tools/bench_sample" 4000 3000 "$work/photo12.ppm"
  args=("Z:${work//\//\\}\\photo24.ppm" "Z:${work//\//\\}\\photo12.ppm")
fi

prefix="$build/wineprefix"
velmora_start_xvfb 1024x768x24
trap 'velmora_stop_wineserver "$prefix"; velmora_stop_xvfb' EXIT
velmora_init_wineprefix "$prefix" "$VELMORA_XVFB_DISPLAY"
velmora_wine_env
WINEPREFIX="$prefix" DISPLAY="$VELMORA_XVFB_DISPLAY" \
  wine "$build/bin/list_editor_bench.exe" "${args[@]}"
