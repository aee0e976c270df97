#!/usr/bin/env bash
# Prints how fast the explorer plays the demo: distinct waits (states) per second, runs
# and wall time, and how long the checker takes on the demo.
# Usage: bench/explore_demo.sh [build/torami] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/torami}
runs=${2:-3}
for _ in $(seq "$runs"); do
  "$binary" --explore demo | head -1
done
start=$(date +%s%N)
for _ in $(seq 20); do "$binary" --check demo >/dev/null; done
end=$(date +%s%N)
printf 'check    %6.1f ms per run of --check demo\n' "$(echo "($end - $start) / 20 / 1000000" | bc -l)"
