#!/usr/bin/env bash
# Prints the time and the largest resident memory of a headless run that meets each file
# of the fault corpora at the edges: pictures claiming huge sizes, a wave the mixer cannot
# convert, an input file that never ends. Usage: bench/edge_files.sh [build/torami]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=$(realpath "${1:-build/torami}")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
measure() {  # what, then the command
  local what=$1 out
  shift
  /usr/bin/time -o "$folder/time" -f '%e %M' "$@" >/dev/null 2>&1 || true
  out=$(tail -1 "$folder/time")
  printf '%-36s %6.2f s %8d KiB max resident\n' "$what" "${out% *}" "${out#* }"
}
for picture in bmp_30000x17896 gif_65535x65535 png_20000x20000 png_1000000_wide png_corrupt \
  gif_second_image_after_a_bad_first; do
  cp "tests/fuzz/corpus/picture/$picture" "$folder/p.szg"
  printf 'GHG,p\r\nEXIT\r\n' >"$folder/TORAMI.acs"
  measure "picture $picture" "$binary" --headless --trace /dev/null "$folder"
done
cp tests/fuzz/corpus/wave/one_sample_per_second "$folder/w.wav"
printf 'SOUND,w,0\r\nEXIT\r\n' >"$folder/TORAMI.acs"
measure "wave one_sample_per_second" "$binary" --headless --trace /dev/null "$folder"
printf 'EXIT\r\n' >"$folder/TORAMI.acs"
measure "--input /dev/zero" "$binary" --headless --input /dev/zero --trace /dev/null "$folder"
measure "nothing at the edge (EXIT)" "$binary" --headless --trace /dev/null "$folder"
