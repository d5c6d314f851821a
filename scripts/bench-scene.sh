#!/usr/bin/env bash
# The cube scene under Wine while the loader decodes a 24-megapixel JPEG:
# the longest frame during decoding and the wait from a turn's end to the
# next picture; then, for whole saver runs (default, less processor,
# "Bouncing", preview), frames a second, processor use and the longest gap
# between frames during turns and while the loader decodes, in refresh
# intervals. Runs on a private 1280 x 1024 Xvfb display (BENCH_GEOMETRY
# picks another) and Wine prefix.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
cd "$top"
source "$here/lib/wine_env.sh"

"$here/setup.sh"
dpkg-query -W -f='${Status}' libjpeg-turbo-progs 2>/dev/null | grep -q "install ok installed" ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends libjpeg-turbo-progs >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target bench_sample >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target scene_bench saver_bench >/dev/null

work="$top/build/bench"
mkdir -p "$work"
if [ ! -f "$work/photo24.jpg" ]; then
  "$top/build/native/tools/bench_sample" 6000 4000 "$work/photo24.ppm"
  cjpeg -quality 90 "$work/photo24.ppm" >"$work/photo24.jpg"
  rm -f "$work/photo24.ppm"
fi

prefix="$top/build/windows/wineprefix"
velmora_start_xvfb "${BENCH_GEOMETRY:-1280x1024x24}"
trap 'velmora_stop_wineserver "$prefix"; velmora_stop_xvfb' EXIT
velmora_init_wineprefix "$prefix" "$VELMORA_XVFB_DISPLAY"
velmora_wine_env
WINEPREFIX="$prefix" DISPLAY="$VELMORA_XVFB_DISPLAY" \
  wine "$top/build/windows/bin/scene_bench.exe" "Z:${work//\//\\}\\photo24.jpg" "${BENCH_SECONDS:-12}"
WINEPREFIX="$prefix" DISPLAY="$VELMORA_XVFB_DISPLAY" \
  wine "$top/build/windows/bin/saver_bench.exe" "Z:${work//\//\\}\\photo24.jpg" "${BENCH_SECONDS:-12}"
