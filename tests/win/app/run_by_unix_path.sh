#!/bin/sh
# Runs a Windows program under Wine by its Unix path, as a user at a shell would start it, and
# writes its exit status to <work-dir>/status as the last act. Wine's own process start refuses
# a program path longer than 260 characters; its loader started this way takes it.
# Usage: run_by_unix_path.sh <work-dir> <program> [argument...]
work=$1
shift
wine "$@" >"$work/output.txt" 2>&1
echo $? >"$work/status.tmp"
mv "$work/status.tmp" "$work/status"
