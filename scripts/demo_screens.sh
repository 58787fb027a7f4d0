#!/usr/bin/env bash
# Shows the demo round trip on a laptop and a projector and saves what both screens show: the
# presenter started as the README advises (-Pro -Monitor2 -Console) at slide 4, its circuit
# hotspot clicked on the projector, the stand-in simulator installed where the presenter looks
# for it. Saves out/demo-<laptop>.png (the simulator over the projector, the console's demo lines
# on the laptop) and out/demo-<laptop>-back.png (after Page Down: the show again). The servers,
# the presenter and the Wine session are this script's own and end with it; it runs in the room
# tests' prefix (build/win/wineprefix-room, set up by them).
# With "held" as the third argument, a simulator that holds Page Down (as a remote-control tool of
# the speaker's may) runs before the presenter starts: the console then says to click the show,
# in out/demo-<laptop>-held.png.
# Usage: scripts/demo_screens.sh [laptop WxH] [projector WxH] [held]   (defaults: 1920x1080 1280x720)
set -euo pipefail
cd "$(dirname "$0")/.."
laptop=${1:-1920x1080}
projector=${2:-1280x720}
held=${3:-}
lw=${laptop%x*} lh=${laptop#*x} pw=${projector%x*} ph=${projector#*x}

export WINEPREFIX=$PWD/build/win/wineprefix-room WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
[ -f "$WINEPREFIX/.pemboro-room-ready" ] || { echo "run the room tests once first" >&2; exit 1; }
unset WINESERVER

pids=()
finish() {
  wineserver -k >/dev/null 2>&1 || true
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
}
trap finish EXIT
free_display() { local n=$1; while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done; echo "$n"; }
wait_display() { for _ in $(seq 1 100); do DISPLAY=":$1" xwininfo -root >/dev/null 2>&1 && return 0; sleep 0.05; done; return 1; }

outer=$(free_display 170)
Xvfb ":$outer" -screen 0 $((lw + pw))x$((lh > ph ? lh : ph))x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
wait_display "$outer"
inner=$(free_display $((outer + 1)))
DISPLAY=":$outer" Xephyr ":$inner" -origin 0,0 -screen "$laptop" -origin "$lw,0" -screen "$projector" \
  +xinerama -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
wait_display "$inner"
export DISPLAY=":$inner"

scripts/install_simulator.sh
wine reg add 'HKCU\Software\QuillmerePemboro\Pemboro\General' /v Page /d 3 /f >/dev/null 2>&1
suffix=
if [ "$held" = held ]; then
  suffix=-held
  CIRCELO_HOLD_PAGE_DOWN=1 wine "$WINEPREFIX/drive_c/Program Files/Quillmere/CirceloVexa/Vexax64.exe" </dev/null >/dev/null 2>&1 &
  pids+=($!)
  sleep 4
fi
wine dist/Pemboro.exe -Pro -Monitor2 -Console </dev/null >/dev/null 2>&1 &
pids+=($!)
sleep 8
# The circuit hotspot of slide 4 (0.9 across, 0.11 up from the bottom) on the projector.
xdotool mousemove $((lw + pw * 90 / 100)) $((ph * 89 / 100)) click 1
sleep 6
mkdir -p out
import -window root "out/demo-$laptop$suffix.png"
echo "out/demo-$laptop$suffix.png"
# The clicker's Page Down, with the simulator holding the keyboard.
xdotool search --name '^Circelo.Vexa.-' | head -n 1 | xargs -r xdotool windowfocus --sync
xdotool key Next
sleep 3
import -window root "out/demo-$laptop-back.png"
xwininfo -root -children > "out/demo-$laptop-stack.txt"
echo "out/demo-$laptop-back.png"
