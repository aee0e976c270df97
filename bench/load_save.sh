#!/usr/bin/env bash
# Prints the processor time of loading a saved game made at the end of the longest demo
# play-through: a run that continues it (replaying every action, then waiting) against a
# run that only starts the demo; the difference is the load. Then the same continued game
# going back to its last choice (which replays the game up to that menu again).
# Usage: bench/load_save.sh [build/torami] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/torami}
runs=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -n -1 tests/demo/sunrise.txt > "$work/input.txt"
echo close >> "$work/input.txt"
"$binary" --headless --data-dir "$work/saves" --input "$work/input.txt" --trace /dev/null demo
actions=$(grep -c '"do"' "$work"/saves/*/continue.jsonl)

# Mean user + system time of a command, in milliseconds.
cpu_ms() {
  local total=0
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$work/time" -f '%U %S' "$@" >/dev/null 2>&1 || true
    total=$(echo "$total + ($(tail -1 "$work/time" | tr ' ' '+')) * 1000" | bc -l)
  done
  echo "$total / $runs" | bc -l
}

load=$(cpu_ms "$binary" --headless --continue --data-dir "$work/saves" --trace /dev/null demo)
start=$(cpu_ms "$binary" --headless --new --data-dir "$work/fresh" --trace /dev/null demo)
# A rewind rewrites the continue save: each run starts from a copy of it.
printf 'rewind\nclose\n' > "$work/rewind.txt"
rewound=$(cpu_ms bash -c "rm -rf '$work/copy' && cp -r '$work/saves' '$work/copy' && \
  '$binary' --headless --continue --data-dir '$work/copy' --input '$work/rewind.txt' --trace /dev/null demo")
copy=$(cpu_ms bash -c "rm -rf '$work/copy' && cp -r '$work/saves' '$work/copy'")
printf 'continue (%d inputs replayed): %6.1f ms of processor time\n' "$actions" "$load"
printf 'start only:                    %6.1f ms\n' "$start"
printf 'the load itself:               %6.1f ms\n' "$(echo "$load - $start" | bc -l)"
printf 'back to the last choice:       %6.1f ms\n' "$(echo "$rewound - $copy - $load" | bc -l)"
