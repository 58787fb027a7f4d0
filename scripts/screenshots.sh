#!/usr/bin/env bash
# Refreshes the README's pictures from a real run: builds, starts the presenter under Wine on a
# virtual 1920x1080 screen, captures the first slide full-screen (docs/presenter.png), the key
# help over the eleventh (docs/key-help.png) and the overview of all slides (docs/overview.png),
# opens the print preview from the menu and captures it (docs/print-preview.png); then starts it
# with the presenter console and a talk length and captures the console (docs/console.png). The preview needs the
# PDF printer of scripts/printer_env.sh (root, for cupsd). The presenter it started is ended by
# its process id, so the slide index in the profile stays as it was.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install_packages.sh
scripts/build.sh win

PEMBORO_OWN_DISPLAY=1 PEMBORO_DESKTOP_SIZE=1920x1080 source scripts/wine_env.sh
presenter=
finish() {
  [ -n "$presenter" ] && { kill "$presenter" 2>/dev/null || true; wait "$presenter" 2>/dev/null || true; }
  pemboro_stop_printer 2>/dev/null || true
  pemboro_stop_wine
}
trap finish EXIT
source scripts/printer_env.sh
[ -n "${PEMBORO_PRINTER:-}" ] || { echo "no printer: the print preview cannot open" >&2; exit 1; }

source scripts/screen_tools.sh

# A README-sized copy of the whole screen, in 128 colours to keep the repository small.
capture() {
  import -window root png:- |
    convert png:- -resize 960x -dither None -colors 128 -strip -define png:compression-level=9 "$1"
  echo "$1: $(identify -format '%wx%h' "$1"), $(($(stat -c %s "$1") / 1024)) KB"
}

mkdir -p docs
wine dist/Pemboro.exe -big </dev/null >/dev/null 2>&1 &
presenter=$!
pemboro_wait_full_screen || { echo "the presenter did not go full-screen" >&2; exit 1; }
xdotool key ctrl+Prior  # the first slide, whatever the profile held
xdotool mousemove 1346 392  # resting on the marker of Paris lights it up with its file name
sleep 0.5
pemboro_wait_settled || { echo "the screen did not settle" >&2; exit 1; }
capture docs/presenter.png

# The key help over the slide whose title the overview's numbers once covered.
xdotool mousemove 960 1079
xdotool key 1 1 Return h
sleep 0.5
pemboro_wait_settled || { echo "the screen did not settle" >&2; exit 1; }
capture docs/key-help.png
xdotool key h
sleep 0.5

# The overview, once the worker has made every thumbnail (it does so within seconds of start-up).
xdotool key Tab
sleep 3
pemboro_wait_settled || { echo "the screen did not settle" >&2; exit 1; }
capture docs/overview.png
xdotool key Tab
sleep 0.5

# Out of full-screen mode, then "Print Preview" from the frame's menu by keyboard.
xdotool key Escape
sleep 0.5
xdotool key F10 Down Down Down Return
sleep 1
pemboro_wait_settled || { echo "the screen did not settle" >&2; exit 1; }
capture docs/print-preview.png

# The presenter console, started with its switch and a 45-minute talk: on this one screen a window
# of its own over the show. Three slides on, so that the talk's time runs; keys given to the
# console step the show.
kill "$presenter" 2>/dev/null || true
wait "$presenter" 2>/dev/null || true
wine dist/Pemboro.exe -Console -Duration45 </dev/null >/dev/null 2>&1 &
presenter=$!
console_geometry() {
  xwininfo -root -tree 2>/dev/null | awk '/"Presenter Console - Pemboro"/ { print $(NF-1); exit }'
}
for _ in $(seq 1 300); do [ -n "$(console_geometry)" ] && break; sleep 0.1; done
[ -n "$(console_geometry)" ] || { echo "the console did not open" >&2; exit 1; }
xdotool key ctrl+Prior Next Next Next
sleep 4
pemboro_wait_settled || { echo "the screen did not settle" >&2; exit 1; }
import -window root -crop "$(console_geometry)" +repage png:- |
  convert png:- -resize 960x -dither None -colors 128 -strip -define png:compression-level=9 docs/console.png
echo "docs/console.png: $(identify -format '%wx%h' docs/console.png), $(($(stat -c %s docs/console.png) / 1024)) KB"
