#!/usr/bin/env bash
# Builds dvxtool and runs every test: the g++ build, the whole suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer (clang++), a bounded
# fuzzing run, and the Windows build with its tests under Wine. Any failure,
# sanitizer report or fuzzer finding fails.
#   FUZZ_SECONDS=600 bash scripts/test.sh   fuzzes longer (default 120)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

echo "== g++ build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVX_TESTS=ON -DDVX_SANITIZE=OFF >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure --no-tests=error -j"$jobs"

echo "== clang++ build and tests under AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVX_TESTS=ON -DDVX_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize --output-on-failure --no-tests=error -j"$jobs"

echo "== fuzzing both actions for ${FUZZ_SECONDS:-120} seconds"
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVX_TESTS=OFF -DDVX_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_actions make_seeds
bash scripts/fuzz.sh build-fuzz "${FUZZ_SECONDS:-120}"

echo "== Windows build (MinGW-w64) and its tests under Wine"
export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine}
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDVX_TESTS=ON >/dev/null
cmake --build build-windows -j"$jobs"
[ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1
ctest --test-dir build-windows --output-on-failure --no-tests=error -j"$jobs"
