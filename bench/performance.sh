#!/usr/bin/env bash
# Prints the player's running costs: interpreter passes per second for two loop scripts,
# the processor time of typing a fixed text in a window under Xvfb, how long a music
# restart holds the thread, and the processor share of a window waiting for a click with
# and without music, and how long the demo takes from launch to its title.
# Usage: bench/performance.sh [build]   (the build folder with torami and music_restart_bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
torami=$build/torami
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# A script in the game folder $1, from UTF-8 lines with LF ends.
script() {
  mkdir -p "$1"
  printf '%s' "$2" | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 > "$1/TORAMI.acs"
}

# Passes per second of a headless run that loops for $passes passes.
passes=20000000
awk -v n=$((passes / 10000 + 10)) 'BEGIN { for (i = 0; i < n; ++i) print "clickat 0 0" }' > "$work/clicks.txt"
loop_rate() {
  local start end
  start=$(date +%s%N)
  "$torami" --headless --max-steps "$passes" --input "$work/clicks.txt" --trace /dev/null \
    "$1" || true
  end=$(date +%s%N)
  echo "$passes * 1000000000 / ($end - $start)" | bc
}
script "$work/count" $'INC,1,30000,L\nIF,F01=99,4\nGOTO,1\nGOTO,1'
script "$work/poll" $'LET,1,99\nDO\nIF,F10^99,5\nLOOP,2\nEXIT'
printf 'passes per second, INC/IF/GOTO loop:   %s\n' "$(loop_rate "$work/count")"
printf 'passes per second, polling a flag:     %s\n' "$(loop_rate "$work/poll")"

export SDL_AUDIODRIVER=dummy  # a device that plays nothing but keeps time
"$build/music_restart_bench" demo/TITLE.MID 6 2>/dev/null || echo "music restart: no audio"
Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
sleep 1
export DISPLAY=:97
bench/launch_time.py "$build" 10
page='＃01あいうえおかきくけこさしすせそたちつて＾はひふへほまみむめもやゆよらりるれろ'
script "$work/typing" "$(for _ in $(seq 10); do echo "MES,$page"; done; echo EXIT)"
/usr/bin/time -o "$work/time" -f '%U %S' "$torami" --scale 2 --new --data-dir "$work/data" \
  "$work/typing" >/dev/null 2>&1 || true
printf 'typing 10 pages of 36 characters at 10 ms in a window: %s s of processor time\n' \
  "$(tr ' ' '+' < "$work/time" | bc -l)"

# The processor share of a window waiting for a click for 10 s.
idle_share() {
  "$torami" --scale 1 --new --data-dir "$work/data" "$1" >/dev/null 2>&1 &
  local pid=$! ticks=$(getconf CLK_TCK)
  sleep 3
  local before after
  before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep 10
  after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  kill "$pid"
  echo "scale=2; ($after - $before) * 100 / $ticks / 10" | bc
}
script "$work/wait" $'MES,クリックを待つ￥\nEXIT'
cp demo/TITLE.MID "$work/music/" 2>/dev/null || { mkdir -p "$work/music"; cp demo/TITLE.MID "$work/music/"; }
script "$work/music" $'MUSPL,TITLE,1\nMES,クリックを待つ￥\nEXIT'
printf 'waiting for a click: %s%% of a core without music, %s%% with music\n' \
  "$(idle_share "$work/wait")" "$(idle_share "$work/music")"
# How often the main thread of a window waiting for a click with music wakes, over 10 s.
main_wakes() {
  "$torami" --scale 1 --new --data-dir "$work/data" "$1" >/dev/null 2>&1 &
  local pid=$! before after
  sleep 3
  before=$(awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$pid/task/$pid/status")
  sleep 10
  after=$(awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$pid/task/$pid/status")
  kill "$pid"
  echo "scale=1; ($after - $before) / 10" | bc
}
printf 'waiting for a click with music: the main thread wakes %s times a second\n' \
  "$(main_wakes "$work/music")"
script "$work/polling" $'LET,1,99\nMES,右下をダブルクリック\nDO\nIF,F10^99,6\nLOOP,3\nEXIT'
printf 'a script polling a flag in a loop: %s%% of a core\n' "$(idle_share "$work/polling")"
