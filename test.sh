#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the native core under
# AddressSanitizer and UBSan, the saved fuzz corpora through their libFuzzer targets, and the
# Win32 tests under Wine on a virtual display. The Wine tests run in a Wine prefix, display and
# CUPS scheduler of their own, so that nothing the user has open in the project's prefix is
# touched.
set -uo pipefail
cd "$(dirname "$0")"

scripts/install_packages.sh || exit 1
scripts/build.sh all || exit 1

# The run's own printers, or (without root) none: never the user's CUPS_SERVER or queues.
source scripts/printer_env.sh || exit 1
pemboro_own_printers_only
PEMBORO_WINEPREFIX="$PWD/build/wineprefix-test" PEMBORO_OWN_DISPLAY=1 PEMBORO_DESKTOP_SIZE=1920x1080 \
  source scripts/wine_env.sh || exit 1
trap 'pemboro_stop_wine; pemboro_stop_printer' EXIT

mkdir -p build/logs
status=0
run_suite() {  # name, build dir, parallel jobs
  local log="build/logs/$1.log" junit="$PWD/build/logs/$1.xml"
  echo "== $1 tests =="
  rm -f "$junit"
  ctest --test-dir "$2" -j"$3" --output-on-failure --timeout 300 --output-junit "$junit" >"$log" 2>&1 || status=1
}
echo "== clang-tidy on the pure core =="
scripts/tidy.sh >build/logs/tidy.log 2>&1 || { cat build/logs/tidy.log; status=1; }
tail -n 1 build/logs/tidy.log
run_suite native build/native "$(nproc)"
run_suite fuzz build/fuzz "$(nproc)"
run_suite wine build/win 1

# The counts come from ctest's JUnit reports; a suite without one did not run to its end.
summary=$(python3 - build/logs/native.xml build/logs/fuzz.xml build/logs/wine.xml <<'EOF'
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
for path in sys.argv[1:]:
    try:
        cases = ET.parse(path).getroot().iter("testcase")
    except (OSError, ET.ParseError) as e:
        print(f"{path}: no test report ({e}); the suite did not run to its end")
        failed += 1
        continue
    for case in cases:
        status = case.get("status", "")
        if case.find("failure") is None and status == "run":
            passed += 1
        elif case.find("skipped") is not None or status == "disabled":
            skipped += 1
            print(f"skipped {case.get('name')}")
        else:
            failed += 1
            print(f"FAILED  {case.get('name')}")
print(f"tests: {passed} passed, {failed} failed, {skipped} skipped")
sys.exit(1 if failed else 0)
EOF
) || status=1
echo "$summary"
echo "Full logs: build/logs/native.log, build/logs/fuzz.log, build/logs/wine.log"
exit $status
