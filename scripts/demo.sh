#!/usr/bin/env bash
# Builds dvxtool, makes a sample dralvenix.dat in a fresh folder, extracts it,
# changes two members and rebuilds the archive as dralvenix.new.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc 2>/dev/null || echo 2)" --target dvxtool make_sample_archive >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/dvxtool-demo-XXXXXX")
cd "$work"
"$root/build/make_sample_archive" dralvenix.dat
mkdir gfx sfx
echo "== $work: dvxtool x"
"$root/build/dvxtool" x </dev/null
echo "== $(ls gfx | wc -l) files in gfx, $(ls sfx | wc -l) in sfx"

# A grown picture moves every later member; a shortened sound moves none.
head -c 9000 /dev/urandom > gfx/bild005.bmp
head -c 10 sfx/klang001.wav > shorter && mv shorter sfx/klang001.wav
echo "== dvxtool i, after growing gfx/bild005.bmp to 9000 bytes and cutting sfx/klang001.wav to 10"
"$root/build/dvxtool" i </dev/null
echo "== dralvenix.dat: $(wc -c <dralvenix.dat) bytes, dralvenix.new: $(wc -c <dralvenix.new) bytes, in $work"
