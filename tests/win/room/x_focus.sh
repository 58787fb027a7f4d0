#!/bin/sh
# Gives the X keyboard focus to the first X window named $2, as a click of the speaker's would:
# Wine sends the keys of the X server to the window that has it. Writes the status into $1.
work=$1
win=$(xdotool search --name "$2" | head -n 1)
status=1
if [ -n "$win" ] && xdotool windowfocus --sync "$win"; then status=0; fi
echo "$status" > "$work/status"
