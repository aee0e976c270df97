#!/usr/bin/env bash
# Prints torami's running costs beside another player's, measured alike in the same run on
# an Xvfb display: the processor share of the whole process (and of its busiest thread),
# how often the main thread wakes, resident memory (VmRSS, and its peak VmHWM), and the time
# from launch until the window is mapped. States: the demo's title menu with its music
# looping, the same without an audio device, and a click wait without music. The other
# player is ONScripter (installed from the distribution: apt-get install onscripter) with a
# tiny game of its own that loops the same MIDI piece at a choice; it is left out when
# missing. Audio goes to SDL's disk driver writing to /dev/null, which keeps real time.
# Usage: bench/compare_players.sh [build] [earlier-torami]   (the second: a binary to set beside)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
earlier=${2:-}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
seconds=20

Xvfb :96 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
sleep 1
export DISPLAY=:96 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null

# A game folder with a script from UTF-8 lines.
script() {
  mkdir -p "$1"
  printf '%s' "$2" | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 > "$1/TORAMI.acs"
}
script "$work/wait" $'MES,クリックを待つ￥\nEXIT'
mkdir -p "$work/other"
cp demo/TITLE.MID "$work/other/title.mid"
cp /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf "$work/other/default.ttf" 2>/dev/null || true
printf '*define\ngame\n*start\nbgm "title.mid"\nselect "one",*one,"two",*two\n*one\nend\n*two\nend\n' \
  > "$work/other/0.txt"

ticks() { awk '{print $14 + $15}' "$1/stat"; }
wakes() { awk '/^voluntary_ctxt_switches/ {print $2}' "$1/status"; }

# One row: the command runs, settles for 4 s, and is watched for $seconds.
row() {
  local name=$1 state=$2
  shift 2
  "$@" >/dev/null 2>&1 &
  local pid=$! hz
  hz=$(getconf CLK_TCK)
  sleep 4
  local before main_before wakes_before
  before=$(ticks "/proc/$pid")
  main_before=$(wakes "/proc/$pid")
  declare -A thread_before
  for task in /proc/$pid/task/*; do thread_before[$task]=$(ticks "$task"); done
  sleep "$seconds"
  local after busiest=0 busiest_name="" used
  after=$(ticks "/proc/$pid")
  for task in /proc/$pid/task/*; do
    used=$(($(ticks "$task") - ${thread_before[$task]:-0}))
    if ((used > busiest)); then busiest=$used busiest_name=$(cat "$task/comm"); fi
  done
  local main_wakes rss hwm
  main_wakes=$(echo "scale=1; ($(wakes "/proc/$pid") - $main_before) / $seconds" | bc)
  rss=$(awk '/^VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$pid/status")
  hwm=$(awk '/^VmHWM/ {printf "%.1f", $2 / 1024}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  printf '| %s | %s | %s%% | %s (%s%%) | %s | %s | %s | %s |\n' "$name" "$state" \
    "$(echo "scale=2; ($after - $before) * 100 / $hz / $seconds" | bc)" "${busiest_name:--}" \
    "$(echo "scale=2; $busiest * 100 / $hz / $seconds" | bc)" "$main_wakes" "$rss" "$hwm" \
    "$(cut -d' ' -f1-3 /proc/loadavg)"
}

players=("torami:$build/torami")
[ -n "$earlier" ] && players+=("torami before:$earlier")
echo "| player | state | process | busiest thread | main thread wake-ups/s | VmRSS MiB | VmHWM MiB | load average |"
echo "|---|---|---|---|---|---|---|---|"
for player in "${players[@]}"; do
  name=${player%%:*} bin=${player#*:}
  row "$name" "title menu, music looping" "$bin" --scale 1 --new --data-dir "$work/data" demo
  SDL_AUDIODRIVER=none row "$name" "title menu, no audio device" \
    "$bin" --scale 1 --new --data-dir "$work/data" demo
  row "$name" "click wait" "$bin" --scale 1 --new --data-dir "$work/data" "$work/wait"
done
other=$(command -v onscripter || echo /usr/games/onscripter)
if [ -x "$other" ]; then
  row ONScripter "choice, music looping" "$other" --root "$work/other"
fi

echo
echo "launch until the window is mapped (min / median / max of 10), load $(cut -d' ' -f1-3 /proc/loadavg):"
for player in "${players[@]}"; do
  name=${player%%:*} bin=${player#*:}
  printf '  %s: %s\n' "$name" "$(bench/window_mapped.py 10 "$bin" --scale 1 --new --data-dir "$work/data" demo)"
done
[ -x "$other" ] && printf '  ONScripter: %s\n' "$(bench/window_mapped.py 10 "$other" --root "$work/other")"
echo "launch until the title is on screen (the window at the size that fits the screen, and at 1x):"
for player in "${players[@]}"; do
  name=${player%%:*} bin=${player#*:}
  for scale in fit 1; do
    options=()
    [ "$scale" = 1 ] && options=(--scale 1)
    printf '  %s, %s: %s\n' "$name" "$scale" \
      "$(bench/launch_time.py "$(realpath "$bin")" 10 "${options[@]}" |
        sed 's/^launch to title on screen: //')"
  done
done
