#!/usr/bin/env bash
# Speed and memory of the picture library against peers measured in the same
# run: djpeg | pamscale, pngtopnm | pamscale, dwebp | pamscale, stb_image
# with stb_image_resize, and vipsthumbnail. Prints one line per case with the
# ratio and the goal, a table of every 24 MP format against its fastest and
# leanest peer, then the same JPEG with EXIF orientation 6 against
# orientation 1. BENCH_BUILD_DIR picks the build folder (default
# build/native); BENCH_ONLY, a pattern, keeps only the line cases whose names
# match it; BENCH_BEFORE names another pldecode to show beside ours in the
# table; BENCH_LARGE=1 adds 100 MP and 400 MP PNGs (slow to make).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
cd "$top"

peers=(libjpeg-turbo-progs netpbm libstb-dev libvips-tools time webp)
missing=()
for p in "${peers[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo_cmd=(); [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

build="${BENCH_BUILD_DIR:-$top/build/native}"
cmake --preset native -B "$build" >/dev/null
cmake --build "$build" -j2 --target pldecode bench_sample >/dev/null
bin="$build/tools"
work="$top/build/bench"
mkdir -p "$work"
gcc -O2 -o "$work/stb_fit" tools/stb_fit.c -lstb -lm

runs="${BENCH_RUNS:-5}"

make_samples() {
  if [ ! -f "$work/photo24.jpg" ] || [ ! -f "$work/photo24.bmp" ] || [ ! -f "$work/photo24.tga" ]; then
    "$bin/bench_sample" 6000 4000 "$work/photo24.ppm"
    cjpeg -quality 90 "$work/photo24.ppm" >"$work/photo24.jpg"
    ppmtobmp -windows -bpp 24 "$work/photo24.ppm" >"$work/photo24.bmp" 2>/dev/null
    pamtotga -rgb "$work/photo24.ppm" >"$work/photo24.tga"
    rm -f "$work/photo24.ppm"
  fi
  if [ ! -f "$work/photo24.png" ]; then
    "$bin/bench_sample" 6000 4000 "$work/photo24.ppm"
    pnmtopng "$work/photo24.ppm" >"$work/photo24.png" 2>/dev/null
    rm -f "$work/photo24.ppm"
  fi
  if [ ! -f "$work/photo24.webp" ]; then
    cwebp -quiet -q 80 "$work/photo24.jpg" -o "$work/photo24.webp"
  fi
  if [ ! -f "$work/photo12.png" ]; then
    "$bin/bench_sample" 4000 3000 "$work/photo12.ppm"
    pnmtopng "$work/photo12.ppm" >"$work/photo12.png" 2>/dev/null
    rm -f "$work/photo12.ppm"
  fi
}

# The JPEG with an APP1 segment holding EXIF orientation $1 (little-endian
# TIFF, one IFD entry) right after its start-of-image marker.
with_orientation() {  # value in out
  {
    head -c 2 "$2"
    printf '\xff\xe1\x00\x22Exif\x00\x00II\x2a\x00\x08\x00\x00\x00\x01\x00'
    printf '\x12\x01\x03\x00\x01\x00\x00\x00\x0%d\x00\x00\x00\x00\x00\x00\x00' "$1"
    tail -c +3 "$2"
  } >"$3"
}

# Median wall seconds, the largest peak memory (KiB) and the median processor
# seconds (user and system, children included) of several runs.
measure() {
  local times=() cpus=() peak=0 i line seconds kib record
  record="$(mktemp)"
  for ((i = 0; i < runs; i++)); do
    if ! /usr/bin/time -f "%e %M %U %S" -o "$record" bash -c "set -o pipefail; $1" >/dev/null 2>&1; then
      echo "failed: $1" >&2
      rm -f "$record"
      echo "0 0 0"
      return
    fi
    line=$(tail -n 1 "$record")
    read -r seconds kib user system <<<"$line"
    times+=("$seconds")
    cpus+=("$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')")
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  rm -f "$record"
  echo "$(median "${times[@]}") $peak $(median "${cpus[@]}")"
}

report() {  # name ours-cmd peer-name peer-cmd goal-ratio [memory-goal-MiB]
  local name="$1" ours="$2" peer_name="$3" peer="$4" goal="$5" memory_goal="${6:-}"
  [[ "$name" =~ ${BENCH_ONLY:-.} ]] || return 0
  read -r our_time our_peak _ < <(measure "$ours")
  read -r peer_time _ _ < <(measure "$peer")
  awk -v n="$name" -v ot="$our_time" -v pt="$peer_time" -v pn="$peer_name" -v g="$goal" \
      -v op="$our_peak" -v mg="$memory_goal" 'BEGIN {
    ratio = (pt > 0) ? ot / pt : 0
    mem = op / 1024
    line = sprintf("%-34s ours %6.3f s  %-22s %6.3f s  ratio %5.2f (goal <= %s)  peak %6.1f MiB",
                   n, ot, pn, pt, ratio, g, mem)
    if (mg != "") line = line sprintf(" (goal <= %s)", mg)
    verdict = (ratio <= g && (mg == "" || mem <= mg)) ? "met" : "MISSED"
    print line "  " verdict
  }'
}

# Runs a command once: sets run_ns to its wall time and run_cpu_ns to the
# processor time (user and system) it and its children took, both in
# nanoseconds, and run_kib to its peak memory.
timed_run() {
  local record start end cpu
  record="$(mktemp)"
  start=$(date +%s%N)
  cpu=$({
    /usr/bin/time -f "%M" -o "$record" bash -c "$1" >/dev/null 2>&1 || echo "failed: $1" >&2
    times
  } | tail -n 1)
  end=$(date +%s%N)
  run_ns=$((end - start))
  run_cpu_ns=$(awk '{
    t = 0
    for (i = 1; i <= 2; i++) { split($i, p, /m|s/); t += p[1] * 60 + p[2] }
    printf "%d", t * 1e9
  }' <<<"$cpu")
  run_kib=$(tail -n 1 "$record")
  rm -f "$record"
}

median() {
  printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'
}

# Runs two commands in turn, A B then B A and so on, so that a drifting
# machine load falls on both alike. Prints the median processor time of
# each and their ratio B / A, which the goal applies to (it is the steadier
# figure on a shared machine), the same for wall time, and both peaks.
compare() {  # name name-a cmd-a name-b cmd-b goal-ratio
  local name="$1" name_a="$2" cmd_a="$3" name_b="$4" cmd_b="$5" goal="$6"
  local pairs="${BENCH_PAIRS:-21}" a=() b=() cpu_a=() cpu_b=() peak_a=0 peak_b=0 i
  local run_ns run_cpu_ns run_kib
  for ((i = 0; i < 2 * pairs; i++)); do
    if (((i + i / 2) % 2 == 0)); then
      timed_run "$cmd_a"
      a+=("$run_ns")
      cpu_a+=("$run_cpu_ns")
      ((run_kib > peak_a)) && peak_a=$run_kib
    else
      timed_run "$cmd_b"
      b+=("$run_ns")
      cpu_b+=("$run_cpu_ns")
      ((run_kib > peak_b)) && peak_b=$run_kib
    fi
  done
  awk -v n="$name" -v na="$name_a" -v nb="$name_b" -v g="$goal" -v k="$pairs" \
      -v ca="$(median "${cpu_a[@]}")" -v cb="$(median "${cpu_b[@]}")" \
      -v ta="$(median "${a[@]}")" -v tb="$(median "${b[@]}")" -v pa="$peak_a" -v pb="$peak_b" '
    BEGIN {
      ratio = cb / ca
      printf "%s, median of %d runs each\n", n, k
      printf "  processor  %s %6.3f s  %s %6.3f s  ratio %5.3f (goal <= %s)  %s\n",
             na, ca / 1e9, nb, cb / 1e9, ratio, g, (ratio <= g) ? "met" : "MISSED"
      printf "  wall       %s %6.3f s  %s %6.3f s  ratio %5.3f\n", na, ta / 1e9, nb, tb / 1e9,
             tb / ta
      printf "  peak       %s %6.1f MiB  %s %6.1f MiB\n", na, pa / 1024, nb, pb / 1024
    }'
}

# One format against the peers that decode and fit in one program: processor
# time against the fastest (goal <= 1.0; the steadier figure on a shared
# machine, and fair to a peer that spreads its work over threads only in its
# favour of wall time, which is shown too) and peak memory against the
# leanest (goal <= 0.5).
peer_row() {  # name ours-cmd peer-name peer-cmd [peer-name peer-cmd ...]
  local name="$1" ours="$2" our_wall our_peak our_cpu before="" w p c
  shift 2
  read -r our_wall our_peak our_cpu < <(measure "$ours")
  if [ -n "${BENCH_BEFORE:-}" ]; then
    read -r w p c < <(measure "$BENCH_BEFORE${ours#"$bin/pldecode"}")
    before=$(awk -v c="$c" -v w="$w" -v p="$p" \
      'BEGIN { printf "before %5.2f s (%5.2f) %6.1f MiB  ", c, w, p / 1024 }')
  fi
  local fastest="" fastest_cpu=0 fastest_wall=0 leanest="" leanest_peak=0
  while [ "$#" -ge 2 ]; do
    read -r w p c < <(measure "$2")
    if [ -z "$fastest" ] || awk -v a="$c" -v b="$fastest_cpu" 'BEGIN { exit !(a < b) }'; then
      fastest=$1 fastest_cpu=$c fastest_wall=$w
    fi
    if [ -z "$leanest" ] || [ "$p" -lt "$leanest_peak" ]; then
      leanest=$1 leanest_peak=$p
    fi
    shift 2
  done
  awk -v n="$name" -v b="$before" -v oc="$our_cpu" -v ow="$our_wall" -v op="$our_peak" \
      -v fn="$fastest" -v fc="$fastest_cpu" -v fw="$fastest_wall" -v ln="$leanest" \
      -v lp="$leanest_peak" 'BEGIN {
    tr = (fc > 0) ? oc / fc : 0
    mr = (lp > 0) ? op / lp : 0
    printf "%-12s %sours %5.2f s (%5.2f) %5.1f MiB | %-16s %5.2f s (%5.2f) ratio %4.2f" \
           " | %-16s %6.1f MiB ratio %4.2f  %s\n", n, b, oc, ow, op / 1024, fn, fc, fw, tr,
           ln, lp / 1024, mr, (tr <= 1.0 && mr <= 0.5) ? "met" : "MISSED"
  }'
}

vips() {  # picture
  echo "vipsthumbnail $1 --size 512x512 -o $work/thumb-%s.v"
}

make_samples
echo "24 MP -> fit 512: processor s (wall s) and peak of ours, the fastest and the leanest"
echo "one-program peer; goals: time ratio <= 1.0, memory ratio <= 0.5; median of $runs runs"
peer_row "24 MP JPEG" "$bin/pldecode --fit 512 $work/photo24.jpg" \
  "stb_image+resize" "$work/stb_fit 512 $work/photo24.jpg" "vipsthumbnail" "$(vips "$work/photo24.jpg")"
peer_row "24 MP PNG" "$bin/pldecode --fit 512 $work/photo24.png" \
  "stb_image+resize" "$work/stb_fit 512 $work/photo24.png" "vipsthumbnail" "$(vips "$work/photo24.png")"
peer_row "24 MP BMP" "$bin/pldecode --fit 512 $work/photo24.bmp" \
  "stb_image+resize" "$work/stb_fit 512 $work/photo24.bmp" "vipsthumbnail" "$(vips "$work/photo24.bmp")"
peer_row "24 MP TGA" "$bin/pldecode --fit 512 $work/photo24.tga" \
  "stb_image+resize" "$work/stb_fit 512 $work/photo24.tga" "vipsthumbnail" "$(vips "$work/photo24.tga")"
peer_row "24 MP WebP" "$bin/pldecode --fit 512 $work/photo24.webp" \
  "dwebp -scale" "dwebp -quiet -scale 512 341 $work/photo24.webp -ppm -o $work/dwebp-fit.ppm" \
  "vipsthumbnail" "$(vips "$work/photo24.webp")"
if [ "${BENCH_LARGE:-0}" = 1 ]; then
  for mp in 100 400; do
    if [ ! -f "$work/photo$mp.png" ]; then
      side=$(awk -v m="$mp" 'BEGIN { printf "%d", sqrt(m * 1e6) }')
      "$bin/bench_sample" "$side" "$side" "$work/photo$mp.ppm"
      pnmtopng "$work/photo$mp.ppm" >"$work/photo$mp.png" 2>/dev/null
      rm -f "$work/photo$mp.ppm"
    fi
  done
  echo "100 MP PNG: peak goal <= 24 MiB; 400 MP PNG: decodes"
  runs=1 peer_row "100 MP PNG" "$bin/pldecode --fit 512 $work/photo100.png" \
    "vipsthumbnail" "$(vips "$work/photo100.png")"
  runs=1 peer_row "400 MP PNG" "$bin/pldecode --fit 512 $work/photo400.png" \
    "vipsthumbnail" "$(vips "$work/photo400.png")"
fi
echo
raster_mib=$(awk 'BEGIN { printf "%.1f", 6000 * 4000 * 4 * 1.1 / 1048576 }')
echo "Picture benchmarks, median of $runs runs each (fit into 512 x 512)"
report "24 MP JPEG -> fit 512" "$bin/pldecode --fit 512 $work/photo24.jpg" \
  "djpeg|pamscale" "djpeg -scale 1/8 -dct float -nosmooth -pnm $work/photo24.jpg | pamscale -xyfit 512 512" 1.3 16
report "24 MP JPEG -> fit 512" "$bin/pldecode --fit 512 $work/photo24.jpg" \
  "stb_image+resize" "$work/stb_fit 512 $work/photo24.jpg" 0.15
report "12 MP PNG -> fit 512" "$bin/pldecode --fit 512 $work/photo12.png" \
  "pngtopnm|pamscale" "pngtopnm $work/photo12.png | pamscale -xyfit 512 512" 1.0 64
report "24 MP 24-bit BMP -> fit 512" "$bin/pldecode --fit 512 $work/photo24.bmp" \
  "stb_image+resize" "$work/stb_fit 512 $work/photo24.bmp" 0.6 "$raster_mib"
report "24 MP RLE TGA -> fit 512" "$bin/pldecode --fit 512 $work/photo24.tga" \
  "stb_image+resize" "$work/stb_fit 512 $work/photo24.tga" 0.6 "$raster_mib"
# libwebp scales while decoding in both; the peers then write the picture out.
report "24 MP WebP -> fit 512" "$bin/pldecode --fit 512 $work/photo24.webp" \
  "dwebp -scale|pamscale" "dwebp -quiet -scale 512 341 $work/photo24.webp -ppm -o - | pamscale -xyfit 512 512" 1.1 16
report "24 MP WebP -> fit 512" "$bin/pldecode --fit 512 $work/photo24.webp" \
  "vipsthumbnail" "vipsthumbnail $work/photo24.webp -s 512 -o $work/vips-fit.ppm" 1.1 16
[[ "orientation" =~ ${BENCH_ONLY:-.} ]] || exit 0
with_orientation 1 "$work/photo24.jpg" "$work/photo24-o1.jpg"
with_orientation 6 "$work/photo24.jpg" "$work/photo24-o6.jpg"
compare "24 MP JPEG -> fit 512, EXIF orientation 6 against 1" \
  "orientation 1" "$bin/pldecode --fit 512 $work/photo24-o1.jpg" \
  "orientation 6" "$bin/pldecode --fit 512 $work/photo24-o6.jpg" 1.05
