#!/usr/bin/env bash
# Shows the speaker's tools on a laptop and a projector and saves what both screens show: the
# presenter started as the README advises (-Pro -Monitor2 -Console) at slide 2, then, driven from
# the laptop's console, the pointer (L and the mouse over the console's slide), a zoom (Z and a
# drag over it) and a freeze (F, then two Page Downs that only the console follows). Saves
# out/tools-<laptop>-pointer.png, -zoom.png and -frozen.png. The servers, the presenter and the
# Wine session are this script's own and end with it; it runs in the room tests' prefix
# (build/win/wineprefix-room, set up by them).
# Usage: scripts/tools_screens.sh [laptop WxH] [projector WxH] [dpi]   (defaults: 1920x1080 1920x1080 96)
set -euo pipefail
cd "$(dirname "$0")/.."
laptop=${1:-1920x1080}
projector=${2:-1920x1080}
dpi=${3:-96}
lw=${laptop%x*} lh=${laptop#*x} pw=${projector%x*} ph=${projector#*x}

restore_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true; }
room_before_finish=restore_dpi
source scripts/room_screens.sh
room_start_screens 180

wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wine reg add 'HKCU\Software\QuillmerePemboro\Pemboro\General' /v Page /d 1 /f >/dev/null 2>&1
wine dist/Pemboro.exe -Pro -Monitor2 -Console -Duration45 </dev/null >/dev/null 2>&1 &
room_started $!
sleep 10
# The console's slide fills the laptop's left side: points well inside it.
at() { echo $((lw * $1 / 100)) $((lh * $2 / 100)); }
console=$(xdotool search --name '^Presenter Console' | head -n 1)
xdotool windowfocus --sync "$console" 2>/dev/null || true
mkdir -p out
xdotool key l
xdotool mousemove $(at 30 40)
sleep 0.5
xdotool mousemove $(at 33 44)
sleep 1.5
import -window root "out/tools-$laptop-pointer.png"
echo "out/tools-$laptop-pointer.png"
xdotool key l z
xdotool mousemove $(at 20 30) mousedown 1 mousemove $(at 30 38) mousemove $(at 40 50) mouseup 1
sleep 2.5
import -window root "out/tools-$laptop-zoom.png"
echo "out/tools-$laptop-zoom.png"
xdotool key z f Next Next
sleep 2.5
import -window root "out/tools-$laptop-frozen.png"
echo "out/tools-$laptop-frozen.png"
