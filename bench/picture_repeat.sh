#!/usr/bin/env bash
# Prints how long GHG of the same picture takes when a script shows it again and again
# (20000 times, headless), and for comparison a loop that alternates two pictures.
# Usage: bench/picture_repeat.sh [build/torami]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/torami}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp demo/harbour.szg demo/shop.szg "$folder/"
run() {  # script, passes of GHG
  printf '%b' "$1" >"$folder/TORAMI.acs"
  local start end
  start=$(date +%s%N)
  "$binary" --headless --trace /dev/null --max-steps "$3" "$folder" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  printf '%-28s %8.1f ms in all, %6.3f ms per GHG\n' "$2" "$(echo "($end - $start) / 1000000" | bc -l)" \
    "$(echo "($end - $start) / 1000000 / 20000" | bc -l)"
}
run 'DO\r\nGHG,harbour\r\nLOOP,1\r\n' "the same picture" 40000
run 'DO\r\nGHG,harbour\r\nGHG,shop\r\nLOOP,1\r\n' "two pictures in turn" 30000
