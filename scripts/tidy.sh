#!/usr/bin/env bash
# Runs clang-tidy (Debian's clang-tidy-14, checks in .clang-tidy) over the pure core: every source
# in src/ that builds without the platform, as the native build compiles it. Exits non-zero on
# any warning. Usage: scripts/tidy.sh (after scripts/build.sh native)
set -euo pipefail
cd "$(dirname "$0")/.."

db=build/tidy
# Configured at each run: the list of sources follows the tree.
cmake -S . -B "$db" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

mapfile -t sources < <(git ls-files 'src/*.cpp' | grep -v '_win\.cpp$' | grep -v '^src/framework/')

log=$(mktemp)
trap 'rm -f "$log"' EXIT
if clang-tidy-14 -p "$db" --quiet "${sources[@]}" >"$log" 2>&1; then
  echo "clang-tidy: ${#sources[@]} files of the pure core, no findings"
else
  grep -E "(warning|error):" "$log" | sort -u
  echo "clang-tidy: findings in the pure core (above)"
  exit 1
fi
