#!/usr/bin/env bash
# Records what one pldecode build makes of every fuzz seed and any extra
# pictures, then compares two such records byte for byte, so a change to the
# readers or the scale filter can be shown to leave the pixels alone.
#   pldecode-outputs.sh record PLDECODE OUT-DIR [extra pictures...]
#   pldecode-outputs.sh compare DIR-A DIR-B
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"

modes=("--fit 512" "--stretch 512" "--fit 61" "--stretch 61" "--full")

record() {
  local pldecode="$1" out="$2" file mode name tag
  shift 2
  mkdir -p "$out"
  for file in "$top"/tests/fuzz/seeds/*/* "$@"; do
    [ -f "$file" ] || continue
    name="$(basename "$(dirname "$file")")__$(basename "$file")"
    for mode in "${modes[@]}"; do
      tag="$name.${mode// /}"
      tag="${tag//-/}"
      # The message and exit status are part of the output too.
      # shellcheck disable=SC2086
      if "$pldecode" $mode --out "$out/$tag.ppm" "$file" >"$out/$tag.txt" 2>&1; then
        echo "exit 0" >>"$out/$tag.txt"
      else
        echo "exit $?" >>"$out/$tag.txt"
        rm -f "$out/$tag.ppm"
      fi
    done
  done
  echo "recorded $(find "$out" -name '*.txt' | wc -l) runs into $out"
}

compare() {
  local a="$1" b="$2" differ=0 file
  for file in "$a"/*; do
    if [ ! -e "$b/$(basename "$file")" ]; then
      echo "only in $a: $(basename "$file")"
      differ=1
    elif ! cmp -s "$file" "$b/$(basename "$file")"; then
      echo "differs: $(basename "$file")"
      differ=1
    fi
  done
  for file in "$b"/*; do
    [ -e "$a/$(basename "$file")" ] || { echo "only in $b: $(basename "$file")"; differ=1; }
  done
  [ "$differ" -eq 0 ] && echo "identical: $(find "$a" -type f | wc -l) files"
  return "$differ"
}

case "${1:-}" in
  record) shift; record "$@" ;;
  compare) shift; compare "$@" ;;
  *) sed -n '2,7p' "${BASH_SOURCE[0]}" >&2; exit 2 ;;
esac
