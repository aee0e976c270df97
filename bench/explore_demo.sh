#!/usr/bin/env bash
# Prints how fast the explorer plays the demo: distinct waits (states) per second, runs and
# wall time as the explorer says them, the processor time of the whole exploration (the
# explorer and its worker processes, user + system), and how long the checker takes on the
# demo.
# Usage: bench/explore_demo.sh [build/torami] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/torami}
runs=${2:-3}
report=$(mktemp)
trap 'rm -f "$report"' EXIT
for _ in $(seq "$runs"); do
  TIMEFORMAT='%U %S'
  cpu=$({ time "$binary" --explore demo >"$report" 2>/dev/null; } 2>&1)
  read -r user system <<<"$cpu"
  printf '%s; %.2f s of processor time (user %s, system %s)\n' "$(head -1 "$report")" \
    "$(echo "$user + $system" | bc -l)" "$user" "$system"
done
start=$(date +%s%N)
for _ in $(seq 20); do "$binary" --check demo >/dev/null; done
end=$(date +%s%N)
printf 'check    %6.1f ms per run of --check demo\n' "$(echo "($end - $start) / 20 / 1000000" | bc -l)"
