#!/usr/bin/env bash
# Installs what is missing, builds, generates the demo deck and starts the presenter
# under Wine with the switches given (e.g. ./run.sh -big -Orvane).
# Without a display it runs on a virtual one, saves a screenshot and ends the presenter.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install_packages.sh
scripts/build.sh win

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
if [ "$headless" = 0 ]; then
  # The presenter gets the whole screen: Wine's desktop takes the size of this display.
  PEMBORO_DESKTOP_SIZE=$(xwininfo -root | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }')
else
  PEMBORO_DESKTOP_SIZE=1920x1080
fi
export PEMBORO_DESKTOP_SIZE
source scripts/wine_env.sh
trap 'pemboro_stop_printer 2>/dev/null; pemboro_stop_wine' EXIT
[ -x scripts/install_simulator.sh ] && scripts/install_simulator.sh
# The PDF printers of this run's own CUPS scheduler: printed handouts land in build/pdf-out.
source scripts/printer_env.sh || true

if [ "$headless" = 0 ]; then
  echo "Starting the presenter on $DISPLAY ($PEMBORO_DESKTOP_SIZE)"
  wine dist/Pemboro.exe "$@"
  exit 0
fi

mkdir -p out
shot="$PWD/out/screenshot.png"
# The launcher holds the presenter it started and closes it when its input ends.
coproc PRESENTER { wine build/win/tools/launcher/launcher.exe dist/Pemboro.exe "$@" >/dev/null 2>&1; }
presenter=$PRESENTER_PID

# Wait until the screen has settled: two equal captures in a row after the window came up.
source scripts/screen_tools.sh
sleep 2
pemboro_wait_settled || true
import -window root "$shot"

# An orderly close of the presenter started here and of nothing else, so that the slide index
# reaches the profile: the launcher's input ends, and it closes the presenter's window.
launcher_input=${PRESENTER[1]}
exec {launcher_input}>&-
wait "$presenter" 2>/dev/null || true
echo "Screenshot of the presenter: $shot"
