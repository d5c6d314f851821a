#!/usr/bin/env bash
# Speed and memory of the picture library against peers measured in the same
# run: djpeg | pamscale, pngtopnm | pamscale, and stb_image with
# stb_image_resize. Prints one line per case with the ratio and the goal.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
cd "$top"

peers=(libjpeg-turbo-progs netpbm libstb-dev time)
missing=()
for p in "${peers[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo_cmd=(); [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake --preset native >/dev/null
cmake --build --preset native --target pldecode bench_sample >/dev/null
bin="$top/build/native/tools"
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
  if [ ! -f "$work/photo12.png" ]; then
    "$bin/bench_sample" 4000 3000 "$work/photo12.ppm"
    pnmtopng "$work/photo12.ppm" >"$work/photo12.png" 2>/dev/null
    rm -f "$work/photo12.ppm"
  fi
}

# Median wall seconds and the largest peak memory (KiB) of several runs.
measure() {
  local times=() peak=0 i line seconds kib record
  record="$(mktemp)"
  for ((i = 0; i < runs; i++)); do
    if ! /usr/bin/time -f "%e %M" -o "$record" bash -c "set -o pipefail; $1" >/dev/null 2>&1; then
      echo "failed: $1" >&2
      rm -f "$record"
      echo "0 0"
      return
    fi
    line=$(tail -n 1 "$record")
    seconds=${line% *}
    kib=${line#* }
    times+=("$seconds")
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  rm -f "$record"
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  echo "$median $peak"
}

report() {  # name ours-cmd peer-name peer-cmd goal-ratio [memory-goal-MiB]
  local name="$1" ours="$2" peer_name="$3" peer="$4" goal="$5" memory_goal="${6:-}"
  read -r our_time our_peak < <(measure "$ours")
  read -r peer_time _ < <(measure "$peer")
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

make_samples
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
