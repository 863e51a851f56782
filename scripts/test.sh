#!/usr/bin/env bash
# Builds dvxtool and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

echo "== g++ build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVX_TESTS=ON -DDVX_SANITIZE=OFF >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
