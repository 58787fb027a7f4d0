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

source scripts/room_screens.sh
room_start_screens 170

scripts/install_simulator.sh
wine reg add 'HKCU\Software\QuillmerePemboro\Pemboro\General' /v Page /d 3 /f >/dev/null 2>&1
suffix=
if [ "$held" = held ]; then
  suffix=-held
  CIRCELO_HOLD_PAGE_DOWN=1 wine "$WINEPREFIX/drive_c/Program Files/Quillmere/CirceloVexa/Vexax64.exe" </dev/null >/dev/null 2>&1 &
  room_started $!
  sleep 4
fi
wine dist/Pemboro.exe -Pro -Monitor2 -Console </dev/null >/dev/null 2>&1 &
room_started $!
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
