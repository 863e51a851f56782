#!/usr/bin/env bash
# bash bench/run.sh [--dir FOLDER] [--runs N]
# Builds an optimised dvxtool and times it against a plain copy of the same
# bytes (see bench/bench.py). Archives go to /dev/shm unless --dir says else.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DDVX_TESTS=OFF >/dev/null
cmake --build "$root/build-bench" -j"$(nproc 2>/dev/null || echo 2)" --target dvxtool make_sample_archive >/dev/null
python3 "$root/bench/bench.py" --build "$root/build-bench" "$@"
