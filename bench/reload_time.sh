#!/usr/bin/env bash
# Prints how long reloading the demo's script takes at the end of a play-through (the game's
# input replayed onto it, checked first as a window does): the run with ten reloads against
# the same run without, headless, so the figure is the reloads' own processor time.
# Usage: bench/reload_time.sh [build/torami] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/torami}
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grep -v '^#' tests/demo/beach.txt | head -n -1 > "$work/plain.txt"
cp "$work/plain.txt" "$work/reloads.txt"
for _ in $(seq 10); do echo "reload demo/TORAMI.acs" >> "$work/reloads.txt"; done
time_of() {
  local start end
  start=$(date +%s%N)
  for _ in $(seq "$runs"); do "$binary" --headless --input "$1" demo > /dev/null || true; done
  end=$(date +%s%N)
  echo $(( (end - start) / runs ))
}
plain=$(time_of "$work/plain.txt")
reloads=$(time_of "$work/reloads.txt")
printf 'reload   %6.1f ms per reload of the demo after %d actions\n' \
  "$(echo "($reloads - $plain) / 10 / 1000000" | bc -l)" "$(wc -l < "$work/plain.txt")"
