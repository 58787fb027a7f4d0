#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the native core under
# AddressSanitizer and UBSan, the saved fuzz corpora through their libFuzzer targets, and the
# Win32 tests under Wine on a virtual display.
set -uo pipefail
cd "$(dirname "$0")"

scripts/install_packages.sh || exit 1
scripts/build.sh all || exit 1

PEMBORO_OWN_DISPLAY=1 source scripts/wine_env.sh || exit 1
source scripts/printer_env.sh || exit 1
trap 'pemboro_stop_printer; pemboro_stop_wine' EXIT

mkdir -p build/logs
status=0
run_suite() {  # name, build dir, parallel jobs
  local log="build/logs/$1.log"
  echo "== $1 tests =="
  ctest --test-dir "$2" -j"$3" --output-on-failure --timeout 300 >"$log" 2>&1 || status=1
  grep -E "^[0-9]+% tests passed|Failed|\*\*\*|Not Run|Timeout" "$log" | grep -v "^ *[0-9]*/[0-9]* Test .*Passed" | tail -n 40
}
run_suite native build/native "$(nproc)"
run_suite fuzz build/fuzz "$(nproc)"
run_suite wine build/win 1

passed=0 failed=0
for log in build/logs/native.log build/logs/fuzz.log build/logs/wine.log; do
  line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -n 1)
  if [ -z "$line" ]; then
    echo "$log: the suite did not run to its end"
    status=1; failed=$((failed + 1)); continue
  fi
  f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + t - f)); failed=$((failed + f))
done
[ "$failed" -eq 0 ] || status=1
echo "Full logs: build/logs/native.log, build/logs/fuzz.log, build/logs/wine.log"
echo "tests: $passed passed, $failed failed"
exit $status
