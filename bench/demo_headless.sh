#!/usr/bin/env bash
# Prints how long the three demo play-throughs take headless and the largest resident
# memory of one run. Usage: bench/demo_headless.sh [build/torami] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/torami}
runs=${2:-10}
for ending in sunrise lamp beach; do
  start=$(date +%s%N)
  for _ in $(seq "$runs"); do
    "$binary" --headless --input "tests/demo/$ending.txt" --trace /dev/null demo
  done
  end=$(date +%s%N)
  rss=$( { /usr/bin/time -f %M "$binary" --headless --input "tests/demo/$ending.txt" --trace /dev/null demo; } 2>&1 | tail -1)
  printf '%-8s %6.1f ms per run, %6d KiB max resident\n' "$ending" "$(echo "($end - $start) / $runs / 1000000" | bc -l)" "$rss"
done
