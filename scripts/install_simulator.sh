#!/usr/bin/env bash
# Puts the stand-in simulator where the presenter looks for it by default, inside the
# project's Wine prefix. Registers nothing: no ".asc" association is made.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:?source scripts/wine_env.sh first}"
src="$root/build/win/tools/vexa/Vexax64.exe"
[ -f "$src" ] || { echo "Vexax64.exe is not built: $src" >&2; exit 1; }
dest="$WINEPREFIX/drive_c/Program Files/Quillmere/CirceloVexa"
mkdir -p "$dest"
cmp -s "$src" "$dest/Vexax64.exe" || cp "$src" "$dest/Vexax64.exe"
