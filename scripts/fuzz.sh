#!/usr/bin/env bash
# Builds the libFuzzer targets (build/fuzz) and fuzzes each in turn, at the lowest priority, then
# merges the inputs that reached new code into its saved corpus, tests/fuzz/corpus/<target>/,
# keeping that corpus a smallest set with the same coverage (plus the hand-made seed-* inputs
# and the finding-* inputs of fixed faults, kept by name). Prints per target: seconds,
# executions, executions per second, coverage (libFuzzer's cov and ft), the saved corpus's
# size before and after, and findings (inputs kept in build/fuzz/artifacts/<target>/).
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: scripts/fuzz.sh [seconds per target] [target ...]" >&2; exit 2; }

scripts/install_packages.sh
scripts/build.sh fuzz >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$src" _fuzz.cpp)
    targets+=("$name")
  done
fi

count_files() { find "$1" -maxdepth 1 -type f | wc -l; }
# The value of libFuzzer's final "stat::<name>:" line.
stat_of() { sed -n "s/^stat::$1: *//p" "$2" | tail -n 1; }

mkdir -p build/fuzz/logs
summary=()
findings_total=0
for t in "${targets[@]}"; do
  exe=build/fuzz/${t}_fuzz
  [ -x "$exe" ] || { echo "no fuzz target $t" >&2; exit 2; }
  saved=tests/fuzz/corpus/$t
  scratch=build/fuzz/work/$t
  artifacts=build/fuzz/artifacts/$t
  log=build/fuzz/logs/$t.log
  mkdir -p "$saved" "$artifacts"
  rm -rf "$scratch" && mkdir -p "$scratch"
  options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -artifact_prefix="$artifacts/")
  [ -f "tests/fuzz/$t.dict" ] && options+=(-dict="tests/fuzz/$t.dict")

  echo "== $t: fuzzing for $seconds s"
  before=$(find "$artifacts" -type f | wc -l)
  start=$(date +%s)
  # New inputs land in the scratch folder (the first one named); the saved corpus seeds the run.
  nice -n 19 "$exe" "${options[@]}" "$scratch" "$saved" >"$log" 2>&1 || true
  elapsed=$(( $(date +%s) - start ))
  found=$(( $(find "$artifacts" -type f | wc -l) - before ))
  findings_total=$((findings_total + found))

  saved_before=$(count_files "$saved")
  merged=build/fuzz/merged/$t
  rm -rf "$merged" && mkdir -p "$merged"
  if nice -n 19 "$exe" -merge=1 "$merged" "$saved" "$scratch" >>"$log" 2>&1; then
    find "$saved" -maxdepth 1 -type f ! -name 'seed-*' ! -name 'finding-*' -delete
    cp "$merged"/* "$saved"/ 2>/dev/null || true
    # The merge names inputs by their SHA-1: drop the copies of the named ones.
    for named in "$saved"/seed-* "$saved"/finding-*; do
      [ -f "$named" ] && rm -f "$saved/$(sha1sum "$named" | cut -d' ' -f1)"
    done
  fi
  corpus="$saved_before->$(count_files "$saved")"

  coverage=$(grep -Eo "cov: [0-9]+ ft: [0-9]+" "$log" | tail -n 1)
  summary+=("$(printf "%-17s %7s %12s %9s   %-20s %10s %8s" "$t" "$elapsed" \
    "$(stat_of number_of_executed_units "$log")" "$(stat_of average_exec_per_sec "$log")" \
    "${coverage:-?}" "$corpus" "$found")")
  if [ "$found" -gt 0 ]; then
    grep -E "ERROR|property broken|runtime error|SUMMARY" "$log" | head -n 5
    ls -t "$artifacts" | head -n "$found" | sed "s|^|  $artifacts/|"
  fi
done

echo
printf "%-17s %7s %12s %9s   %-20s %10s %8s\n" target seconds executions exec/s coverage corpus findings
printf "%s\n" "${summary[@]}"
echo "Logs in build/fuzz/logs/; findings in build/fuzz/artifacts/<target>/"
[ "$findings_total" -eq 0 ]
