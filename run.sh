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
source scripts/wine_env.sh
[ -x scripts/install_simulator.sh ] && scripts/install_simulator.sh
# The PDF printers of this run's own CUPS scheduler: printed handouts land in build/pdf-out.
source scripts/printer_env.sh || true

if [ "$headless" = 0 ]; then
  trap 'pemboro_stop_printer' EXIT
  echo "Starting the presenter on $DISPLAY"
  wine dist/Pemboro.exe "$@"
  exit 0
fi

trap 'pemboro_stop_printer 2>/dev/null; pemboro_stop_wine' EXIT
mkdir -p out
shot="$PWD/out/screenshot.png"
# The launcher holds the presenter it started and closes it when its input ends.
coproc PRESENTER { wine build/win/tools/launcher/launcher.exe dist/Pemboro.exe "$@" >/dev/null 2>&1; }
presenter=$PRESENTER_PID

# Wait until the screen has settled: two equal captures in a row after the window came up.
sleep 2
previous=
for _ in $(seq 1 40); do
  current=$(xwd -root -silent | md5sum)
  [ "$current" = "$previous" ] && break
  previous=$current
  sleep 0.5
done
import -window root "$shot"

# An orderly close of the presenter started here and of nothing else, so that the slide index
# reaches the profile: the launcher's input ends, and it closes the presenter's window.
launcher_input=${PRESENTER[1]}
exec {launcher_input}>&-
wait "$presenter" 2>/dev/null || true
echo "Screenshot of the presenter: $shot"
