#!/bin/sh
# Runs a Wine test program in a process that sees no printer at all: CUPS is pointed at a
# socket that does not exist, so Wine finds no printers when the process starts.
# Usage: without_printer.sh <work-dir> <program> [argument...]
# Writes the program's output to <work-dir>/output.txt and, last, its exit status to
# <work-dir>/status (124 when it had to be stopped after 90 seconds).
work=$1
shift
CUPS_SERVER=/nonexistent/pemboro-no-cups.sock PEMBORO_NO_PRINTER_CHILD=1 \
    timeout 90 wine "$@" >"$work/output.txt" 2>&1
echo $? >"$work/status.tmp"
mv "$work/status.tmp" "$work/status"
