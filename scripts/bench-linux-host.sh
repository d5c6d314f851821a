#!/usr/bin/env bash
# The Linux hack on a private 1280 x 1024 Xvfb (llvmpipe): seconds until the
# first photo is on the screen, and the processor share of one core while the
# cube rests (default settings, 60 s picture length, measured over 10 s).
# BENCH_BUILD_DIR picks the build folder (build/native).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${BENCH_BUILD_DIR:-$here/../build/native}"
source "$here/lib/wine_env.sh"
work="$(mktemp -d)"
trap 'kill "${hack:-}" 2>/dev/null || true; velmora_stop_xvfb; rm -rf "$work"' EXIT
velmora_start_xvfb 1280x1024x24
export DISPLAY="$VELMORA_XVFB_DISPLAY"
convert -size 1600x1200 xc:red "$work/1red.png"
convert -size 1600x1200 xc:lime "$work/2green.png"

# The centre of the screen turns red (under the glass) when the photo shows.
coproc PIXELS { "$build/tests/velmora_test_window" root; }
read -r _ <&"${PIXELS[0]}"
start=$(date +%s%N)
"$build/linux/velmora" --root --pictures "$work" --no-shuffle --picture-seconds 60 &
hack=$!
while :; do
  echo "PIXEL 640 512" >&"${PIXELS[1]}"
  read -r r g b <&"${PIXELS[0]}"; [ -n "${BENCH_VERBOSE:-}" ] && echo "$r $g $b"
  [ "$r" -gt 150 ] && [ "$g" -lt 100 ] && [ "$b" -lt 100 ] && break
  [ $(( ($(date +%s%N) - start) / 1000000 )) -gt 20000 ] && { echo "no photo in 20 s"; exit 1; }
done
echo "first photo on screen: $(( ($(date +%s%N) - start) / 1000000 )) ms"
echo QUIT >&"${PIXELS[1]}"

sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$hack/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep 10
after=$(ticks)
echo "processor share while resting: $(awk -v t=$((after - before)) -v hz="$hz" 'BEGIN{printf "%.2f", t / hz / 10}') of one core"
kill -TERM "$hack"
wait "$hack"
hack=
