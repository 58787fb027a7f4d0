#!/usr/bin/env bash
# Configures (once) and builds the Windows program with its deck and tests, the native core, and
# the libFuzzer targets (with clang).
# Usage: scripts/build.sh [win|native|fuzz|all]
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
jobs=$(nproc)

if [ "$what" = win ] || [ "$what" = all ]; then
  [ -f build/win/CMakeCache.txt ] ||
    cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/win -j"$jobs"
fi
if [ "$what" = native ] || [ "$what" = all ]; then
  [ -f build/native/CMakeCache.txt ] || cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build build/native -j"$jobs"
fi
if [ "$what" = fuzz ] || [ "$what" = all ]; then
  [ -f build/fuzz/CMakeCache.txt ] ||
    CC=clang-14 CXX=clang++-14 cmake -S . -B build/fuzz -DPEMBORO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/fuzz -j"$jobs"
fi
