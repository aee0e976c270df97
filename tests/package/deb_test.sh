#!/usr/bin/env bash
# The Debian package, unpacked into a scratch root as dpkg would install it: its control
# fields name what the player needs, it holds every file the install rules promise (the
# icons at their sizes with transparency, the manual page, the changelog of this version),
# its desktop entry and file types are valid and agree, the player runs from there and
# plays the demo installed beside it exactly as the build tree's player plays the source
# tree's demo (exit status and trace, byte for byte), started without a game it offers
# that demo, and lintian finds no error in the package.
# Usage: tests/package/deb_test.sh torami_VERSION_ARCH.deb BUILD_TREE_TORAMI
set -uo pipefail

if [ $# -ne 2 ]; then
  echo "usage: tests/package/deb_test.sh PACKAGE.deb BUILD_TREE_TORAMI" >&2
  exit 2
fi
deb=$1 reference=$2
src=$(cd "$(dirname "$0")/../.." && pwd)
for f in "$deb" "$reference"; do
  [ -f "$f" ] || {
    echo "$f is missing (make test-deb builds both)"
    exit 1
  }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
failures=0
ok() { echo "ok   $*"; }
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}
# check WHAT COMMAND...: ok when the command succeeds.
check() {
  local what=$1
  shift
  if "$@"; then ok "$what"; else fail "$what"; fi
}
has() { command -v "$1" >/dev/null 2>&1; }
lacks() { ! grep -q "$@"; }

dpkg-deb -x "$deb" "$root" || {
  echo "FAIL dpkg-deb cannot unpack $deb"
  exit 1
}

# --- control fields
field() { dpkg-deb -f "$deb" "$1"; }
version=$(field Version)
depends=$(field Depends)
check "the package is torami" [ "$(field Package)" = torami ]
check "built for this machine's architecture" [ "$(field Architecture)" = "$(dpkg --print-architecture)" ]
for need in fonts-ipafont-gothic fonts-ipafont-mincho "timgm6mb-soundfont | fluid-soundfont-gm" \
  libsdl2-2.0-0 libsdl2-mixer-2.0-0 libsdl2-image-2.0-0 libfluidsynth3 libfontconfig1 libc6; do
  # ", NAME" or "NAME" at the start, followed by a version, a comma or the end.
  check "depends on $need" grep -qE "(^|, )$need( \(|,|$)" <<<"$depends"
done
check "recommends speech-dispatcher" grep -qE "(^|, )speech-dispatcher(,|$)" <<<"$(field Recommends)"

# --- files
for f in usr/bin/torami usr/share/torami/demo/TORAMI.acs usr/share/applications/torami.desktop \
  usr/share/mime/packages/torami.xml usr/share/man/man1/torami.1.gz \
  usr/share/doc/torami/copyright usr/share/doc/torami/changelog.gz; do
  check "holds /$f" [ -f "$root/$f" ]
done
check "the installed demo is the source tree's" diff -r "$src/demo" "$root/usr/share/torami/demo"
check "nothing outside /usr" [ "$(ls "$root")" = usr ]

# A PNG's width, height, bit depth and colour type, from its header.
png_header() { od -An -tu1 -j16 -N10 "$1" | awk '{print $3*256+$4, $7*256+$8, $9, $10}'; }
for size in 32 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/torami.png"
  # 8-bit RGB with alpha (colour type 6): the magenta around the face is transparent.
  check "a ${size} x ${size} icon with transparency" [ "$(png_header "$icon" 2>/dev/null)" = "$size $size 8 6" ]
done

changelog_version=$(zcat "$root/usr/share/doc/torami/changelog.gz" | dpkg-parsechangelog -l - -S Version)
check "the changelog's latest entry is this version ($version)" [ "$changelog_version" = "$version" ]
man_page=$(zcat "$root/usr/share/man/man1/torami.1.gz")
check "the manual page is torami(1) of this version" grep -q "^\.TH TORAMI 1 .*\"torami $version\"" <<<"$man_page"
check "the manual page names the installed demo" grep -q "/usr/share/torami/demo" <<<"$man_page"
check "nothing is left unconfigured in the manual page" lacks "@[A-Z_]*@" <<<"$man_page"
if has man; then
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$root/usr/share/man/man1/torami.1.gz" 2>&1 >/dev/null)
  check "man reads the manual page without a warning" [ -z "$warnings" ]
  [ -z "$warnings" ] || echo "$warnings"
fi

# --- desktop entry and file types
desktop="$root/usr/share/applications/torami.desktop"
if has desktop-file-validate; then
  check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$desktop"
else
  echo "skip desktop-file-validate (install desktop-file-utils)"
fi
check "the desktop entry opens a file" grep -qx "Exec=torami %f" "$desktop"
check "the desktop entry's demo is installed" \
  [ -f "$root$(sed -n 's/^Exec=torami \(\/.*\)/\1/p' "$desktop")/TORAMI.acs" ]
mime="$root/usr/share/mime/packages/torami.xml"
if has xmllint; then
  check "the file types parse as XML" xmllint --noout "$mime"
else
  echo "skip xmllint (install libxml2-utils)"
fi
types=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' ')
check "the desktop entry takes scripts and story files" [ "$types" = "application/x-torami-script text/x-torami-story " ]
if has update-mime-database; then
  # The database a desktop builds from the file: the globs and the parent types.
  mkdir -p "$work/mime/packages"
  cp "$mime" "$work/mime/packages/"
  if XDG_DATA_DIRS="$work" update-mime-database "$work/mime" >"$work/mime.log" 2>&1 &&
    [ ! -s "$work/mime.log" ]; then
    check "*.acs is a script" grep -q "^50:application/x-torami-script:\*\.acs$" "$work/mime/globs2"
    check "*.story is a story file" grep -q "^50:text/x-torami-story:\*\.story$" "$work/mime/globs2"
    check "a story file is plain text" grep -qx "text/x-torami-story text/plain" "$work/mime/subclasses"
  else
    fail "update-mime-database reads the file types without a complaint"
    cat "$work/mime.log"
  fi
else
  echo "skip update-mime-database (install shared-mime-info)"
fi
for type in $types; do
  check "$type is declared" grep -q "<mime-type type=\"$type\">" "$mime"
done

# --- the player, run from the unpacked package
torami="$root/usr/bin/torami"
check "torami --version says $version" [ "$("$torami" --version 2>&1)" = "torami $version" ]
for ending in beach lamp sunrise; do
  input="$src/tests/demo/$ending.txt"
  "$reference" --headless --input "$input" "$src/demo" >"$work/reference.out" 2>"$work/reference.err"
  status_reference=$?
  "$torami" --headless --input "$input" "$root/usr/share/torami/demo" >"$work/package.out" 2>"$work/package.err"
  status_package=$?
  if [ "$status_reference" != 0 ] || ! grep -q '"ev":"end"' "$work/reference.out"; then
    fail "$ending: the build tree's player does not reach the end (status $status_reference)"
  elif [ "$status_package" != "$status_reference" ]; then
    fail "$ending: exit status $status_package from the package, $status_reference from the build tree"
    head -5 "$work/package.err"
  elif ! cmp -s "$work/reference.out" "$work/package.out"; then
    fail "$ending: the trace differs from the build tree's"
    diff "$work/reference.out" "$work/package.out" | head -5
  else
    ok "$ending: played from the package, $(wc -l <"$work/package.out") trace lines as the build tree's"
  fi
done

# --- started without a game, the unpacked player offers the demo installed beside it
# (a window on a private X server: the box's default button, then the demo's title page)
offer_demo() {
  local display xvfb wm player i
  Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
  xvfb=$!
  for i in $(seq 150); do
    [ -s "$work/display" ] && break
    sleep 0.2
  done
  display=:$(cat "$work/display")
  DISPLAY=$display openbox >/dev/null 2>&1 &
  wm=$!
  # The box gets the focus from the window manager: it must be up first.
  for i in $(seq 150); do
    DISPLAY=$display xdotool search --class openbox >/dev/null 2>&1 && break
    sleep 0.2
  done
  (cd "$work" && DISPLAY=$display SDL_AUDIODRIVER=dummy exec "$torami" --data-dir "$work/data" \
    --text-out "$work/text.jsonl" 2>"$work/offer.err") &
  player=$!
  # Return picks the box's default button once the box has the focus: pressed again
  # until the demo's title menu shows.
  for i in $(seq 300); do
    grep -q '"labels":\["はじめる"' "$work/text.jsonl" 2>/dev/null && break
    if ((i % 10 == 1)) &&
      [[ "$(DISPLAY=$display xdotool getactivewindow getwindowname 2>/dev/null)" == TORAMI* ]]; then
      DISPLAY=$display xdotool key Return
    fi
    sleep 0.2
  done
  if grep -q '"labels":\["はじめる"' "$work/text.jsonl" 2>/dev/null; then
    ok "started without a game, it offers and plays the installed demo"
  else
    fail "started without a game, it offers and plays the installed demo"
    cat "$work/offer.err"
  fi
  kill "$player" "$wm" "$xvfb" 2>/dev/null
  wait "$player" "$wm" "$xvfb" 2>/dev/null
}
if has Xvfb && has xdotool && has openbox; then
  offer_demo
else
  echo "skip the demo offered without a game (install xvfb, xdotool and openbox)"
fi

# --- lintian: errors fail, warnings are listed
if has lintian; then
  lintian --fail-on error "$deb" >"$work/lintian.out" 2>&1
  status=$?
  sed 's/^/  lintian: /' "$work/lintian.out"
  check "lintian finds no error ($(grep -c '^W: ' "$work/lintian.out") warnings)" [ "$status" = 0 ]
else
  fail "lintian is missing (scripts/install-deps --deb)"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "all checks passed"
