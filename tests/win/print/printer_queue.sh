#!/bin/sh
# Lets a Wine test make a CUPS queue refuse jobs and take them again.
# Usage: printer_queue.sh <work-dir> reject|accept <printer>
# Writes the command's exit status to <work-dir>/status (needs root, like the printer's set-up).
work=$1
case $2 in
reject) /usr/sbin/cupsreject "$3" >"$work/output.txt" 2>&1 ;;
accept) /usr/sbin/cupsaccept "$3" >"$work/output.txt" 2>&1 ;;
*) false ;;
esac
echo $? >"$work/status.tmp"
mv "$work/status.tmp" "$work/status"
