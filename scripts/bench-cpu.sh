#!/usr/bin/env bash
# Processor use of whole full-screen saver runs (/s) under Wine on a private
# 1280 x 1024 Xvfb display with three photos: the Wine process's user and
# system time (/proc/PID/stat) over BENCH_SECONDS (60) after a BENCH_WARMUP
# (6 s) warm-up, as a share of one core, for the default settings, "Use less
# processor resources", the "Bouncing" style and a run that rests (a picture
# length of an hour). BENCH_SAVER picks another saver program to measure.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
cd "$top"
source "$here/lib/wine_env.sh"

seconds="${BENCH_SECONDS:-60}"
warmup="${BENCH_WARMUP:-6}"
saver="${BENCH_SAVER:-}"
"$here/setup.sh"
dpkg-query -W -f='${Status}' libjpeg-turbo-progs 2>/dev/null | grep -q "install ok installed" ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends libjpeg-turbo-progs >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target bench_sample >/dev/null
if [ -z "$saver" ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target velmora-saver >/dev/null
  saver="$top/build/windows/bin/velmora-saver.scr"
fi

work="$top/build/bench"
mkdir -p "$work"
for size in "3000 2000" "2400 3200" "4000 3000"; do
  name="$work/photo-${size// /x}.jpg"
  if [ ! -f "$name" ]; then
    "$top/build/native/tools/bench_sample" $size "$work/photo.ppm"
    cjpeg -quality 90 "$work/photo.ppm" >"$name"
    rm -f "$work/photo.ppm"
  fi
done

prefix="$top/build/windows/wineprefix-bench"
velmora_start_xvfb 1280x1024x24
trap 'velmora_stop_wineserver "$prefix"; velmora_stop_xvfb' EXIT
velmora_init_wineprefix "$prefix" "$VELMORA_XVFB_DISPLAY"
velmora_wine_env
export WINEPREFIX="$prefix" DISPLAY="$VELMORA_XVFB_DISPLAY"
key='HKCU\Software\Quillfen Graphics\Velmora'

# The stored settings: the three photos and the given values (NAME=VALUE).
store_settings() {
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  local i=0 photo
  for photo in "$work"/photo-*.jpg; do
    wine reg add "$key\\Pictures" /v "$(printf '%05d' $i)" /t REG_SZ \
      /d "Z:${photo//\//\\}" /f >/dev/null
    i=$((i + 1))
  done
  local pair
  for pair in "$@"; do
    wine reg add "$key" /v "${pair%%=*}" /t REG_DWORD /d "${pair#*=}" /f >/dev/null
  done
  wineserver -w
}

# The saver's own Wine process: the one named after the program.
saver_pid() {
  local pid
  for pid in $(pgrep -f 'velmora-saver|baseline-saver' || true); do
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" != "wine" ] &&
      grep -q 'preloader\|wine64' "/proc/$pid/maps" 2>/dev/null; then
      echo "$pid"
      return
    fi
  done
}

cpu_ticks() {
  awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# measure LABEL NAME=VALUE...
measure() {
  local label="$1"
  shift
  store_settings "$@"
  wine "$saver" /s >/dev/null 2>&1 &
  local launcher=$! pid="" i
  for i in $(seq 1 200); do
    pid="$(saver_pid)"
    [ -n "$pid" ] && break
    sleep 0.1
  done
  if [ -z "$pid" ]; then
    echo "$label: the saver did not start" >&2
    return 1
  fi
  sleep "$warmup"
  local before after
  before="$(cpu_ticks "$pid")"
  sleep "$seconds"
  after="$(cpu_ticks "$pid")"
  kill "$pid" 2>/dev/null || true
  wait "$launcher" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  awk -v label="$label" -v ticks="$((after - before))" -v hz="$(getconf CLK_TCK)" \
    -v s="$seconds" 'BEGIN { printf "%-28s %.3f of one core\n", label ":", ticks / hz / s }'
}

echo "saver: $saver; ${seconds} s after ${warmup} s, 1280 x 1024, three photos"
measure "default settings"
measure "less processor resources" 000_012=1
measure "Bouncing" 000_101=3
measure "resting (picture length 1 h)" 000_107=3600
