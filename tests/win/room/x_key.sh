#!/bin/sh
# Presses the keys named $2... (X key names, each alone) on the display, one after the other, as
# the speaker's keyboard would: they go to the window that has the X keyboard focus. Writes the
# status into $1.
work=$1
shift
status=1
if xdotool key "$@"; then status=0; fi
echo "$status" > "$work/status"
