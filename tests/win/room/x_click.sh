#!/bin/sh
# Clicks the left button at ($2, $3) of the X screen, as the speaker's mouse does: the X server
# gives the press to the window shown there, and Wine activates it as Windows activates a clicked
# window. Writes the status into $1/status.
work=$1
status=1
if xdotool mousemove --sync "$2" "$3" click 1; then status=0; fi
echo "$status" > "$work/status"
