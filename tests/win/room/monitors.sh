#!/bin/sh
# Arranges the monitors of the hot-plug server (an X server whose outputs RandR switches on and
# off, started by room_servers.sh) as a talk meets them, and writes the status file that
# RunUnixScript waits for.
# Usage: monitors.sh <work folder> <layout>
#   right: the laptop (1920x1080, primary) with a 1280x720 projector on its right
#   left:  the projector dragged to the left of the laptop
#   above: the projector above the laptop
#   laptop: the projector unplugged
work=$1
layout=$2
laptop=DUMMY0
projector=DUMMY1
xrandr --addmode "$projector" 1280x720 2>/dev/null
set_layout() {
  case "$layout" in
    right)  xrandr --output "$laptop" --mode 1920x1080 --primary --output "$projector" --mode 1280x720 --right-of "$laptop" ;;
    left)   xrandr --output "$laptop" --mode 1920x1080 --primary --output "$projector" --mode 1280x720 --left-of "$laptop" ;;
    above)  xrandr --output "$laptop" --mode 1920x1080 --primary --output "$projector" --mode 1280x720 --above "$laptop" ;;
    laptop) xrandr --output "$laptop" --mode 1920x1080 --primary --output "$projector" --off ;;
    *) return 2 ;;
  esac
}
# A query makes the server probe its outputs, as a display-settings panel does: without it the
# dummy driver's projector may still report itself disconnected to a program that does not probe.
set_layout >"$work/xrandr.log" 2>&1
result=$?
xrandr --query >/dev/null 2>&1
echo "$result" >"$work/status"
