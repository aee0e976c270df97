#!/usr/bin/env bash
# The Windows build plays the demo under Wine exactly as the Linux build plays it.
# torami.exe, unpacked from the zip into a copy of the demo's game folder and run there
# without a game (it plays the TORAMI.acs beside it), and run on a copy whose folder has a
# Japanese name, gives for each of the three play-throughs (tests/demo/*.txt) the exit
# status and, byte for byte, the trace (with every line) of the Linux build. --help,
# --version, a bad option and a missing input file give the same output and status too.
# Usage: tests/windows/demo_traces.sh torami-windows.zip LINUX_TORAMI SOURCE_DIR
set -uo pipefail

zip=$1 linux=$2 src=$3
wine_run="$src/tests/windows/wine-run"
if [ ! -x "$linux" ]; then
  echo "no Linux build at $linux: build the target torami there first (make test-windows does)"
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
game="$work/game"
mkdir "$game"
cp -R "$src/demo/." "$game/"
(cd "$game" && cmake -E tar xf "$zip") || {
  echo "cannot unpack $zip"
  exit 1
}
[ -f "$game/torami.exe" ] && [ -f "$game/fonts/ipag.ttf" ] && [ -f "$game/fonts/ipam.ttf" ] || {
  echo "the zip lacks torami.exe or its fonts"
  exit 1
}
japanese="$work/灯台守の手紙"
cp -R "$src/demo" "$japanese"

failures=0
paths=exact
# Runs the same arguments on both builds (the Windows one from the folder given first)
# and compares exit status, standard output and standard error (with paths=windows, the
# Windows output's Z:\tmp\x read as /tmp/x).
same() {
  local what=$1 from=$2 status_linux status_windows
  shift 2
  "$linux" "$@" >"$work/linux.out" 2>"$work/linux.err"
  status_linux=$?
  (cd "$from" && "$wine_run" "$game/torami.exe" "$@") >"$work/windows.out" 2>"$work/windows.err"
  status_windows=$?
  if [ "$paths" = windows ]; then
    sed -i 's#Z:\\#/#g; s#\\#/#g' "$work/windows.out" "$work/windows.err"
  fi
  if [ "$status_linux" != "$status_windows" ]; then
    echo "FAIL $what: exit status $status_windows, on Linux $status_linux"
    failures=$((failures + 1))
  elif ! cmp -s "$work/linux.out" "$work/windows.out"; then
    echo "FAIL $what: the output differs from Linux's ($(wc -l <"$work/windows.out") lines)"
    diff "$work/linux.out" "$work/windows.out" | head -5
    failures=$((failures + 1))
  elif ! cmp -s "$work/linux.err" "$work/windows.err"; then
    echo "FAIL $what: standard error differs from Linux's"
    diff "$work/linux.err" "$work/windows.err" | head -5
    failures=$((failures + 1))
  else
    echo "ok   $what: status $status_linux, $(wc -l <"$work/linux.out") lines the same"
  fi
}

for ending in beach lamp sunrise; do
  input="$src/tests/demo/$ending.txt"
  same "$ending, in the game folder it was unpacked into" "$game" --headless --trace-lines \
    --input "$input" "$game"
  same "$ending, in a folder with a Japanese name" "$work" --headless --trace-lines \
    --input "$input" "$japanese"
done
# The Windows build without a game argument plays the TORAMI.acs beside it.
(cd "$work" && "$wine_run" "$game/torami.exe" --headless --input "$src/tests/demo/beach.txt") \
  >"$work/beside.out" 2>/dev/null
"$linux" --headless --input "$src/tests/demo/beach.txt" "$game" >"$work/beside.linux" 2>/dev/null
if cmp -s "$work/beside.out" "$work/beside.linux"; then
  echo "ok   beach, without a game argument: the game beside torami.exe"
else
  echo "FAIL beach, without a game argument: the trace differs from Linux's"
  failures=$((failures + 1))
fi
same "--help" "$work" --help
same "--version" "$work" --version
same "a bad option" "$work" --no-such-option
same "a missing input file" "$work" --headless --input "$work/nowhere.txt" "$japanese"
same "--check, in a folder with a Japanese name" "$work" --check "$japanese"
lacking="$work/絵のない手紙"
cp -R "$src/demo" "$lacking"
rm "$lacking/beach.szg"
paths=windows
same "--check, without a picture" "$work" --check "$lacking"

exit $((failures > 0))
