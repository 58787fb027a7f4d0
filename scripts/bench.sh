#!/usr/bin/env bash
# Builds and runs every benchmark and soak run that bench/ holds (bench/<name>[_win].cpp builds
# build/win/<name>.exe, with the parts bench/<name>_<part>[_win].cpp linked in), each under Wine
# on a virtual 3840x2160 screen (so that a 4K client area reaches the screen whole), with the PDF
# printer when run as root, and prints what they print.
# They are not tests: they pass no verdict, they report figures; a soak run that finds its
# figures growing ends with an error.
# Everything runs in a Wine prefix and on a display of the benchmarks' own (build/wineprefix-bench),
# so that ending it afterwards closes nothing the user has open in the project's prefix; without
# root there is no printer at all, never the machine's own.
# Usage: scripts/bench.sh [name ...]   (default: all of them, in name order)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install_packages.sh
scripts/build.sh win >/dev/null

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  all=()
  for src in bench/*.cpp; do
    name=$(basename "$src" .cpp)
    all+=("${name%_win}")
  done
  # A part of another benchmark (paint_bench_overview of paint_bench) runs inside it.
  for name in "${all[@]}"; do
    part=
    for other in "${all[@]}"; do
      [ "$other" != "$name" ] && [[ $name == "${other}_"* ]] && part=1
    done
    [ -n "$part" ] || names+=("$name")
  done
fi

# The printer's scheduler first: Wine reads the printer list when a process starts.
source scripts/printer_env.sh || true
pemboro_own_printers_only
PEMBORO_WINEPREFIX="$PWD/build/wineprefix-bench" PEMBORO_OWN_DISPLAY=1 PEMBORO_DESKTOP_SIZE=3840x2160 \
  source scripts/wine_env.sh
trap 'pemboro_stop_wine; pemboro_stop_printer' EXIT

status=0
for name in "${names[@]}"; do
  exe=build/win/$name.exe
  echo "== $name =="
  if [ ! -f "$exe" ]; then
    echo "$exe is not built"
    status=1
    continue
  fi
  start=$SECONDS
  if ! wine "$exe" </dev/null; then
    echo "$name ended with an error"
    status=1
  fi
  echo "($name took $((SECONDS - start)) s)"
  echo
done
exit $status
