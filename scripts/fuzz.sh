#!/usr/bin/env bash
# fuzz.sh BUILD-FOLDER SECONDS: runs the fuzz target on a seed corpus made
# afresh from the sample archive. Fails on any finding, which is kept in
# fuzz-findings/ for a regression test.
set -euo pipefail
build=$1
seconds=$2
corpus=$(mktemp -d "${TMPDIR:-/tmp}/dvxtool-corpus-XXXXXX")
trap 'rm -rf "$corpus"' EXIT
mkdir -p fuzz-findings
mkdir "$corpus/seeds"
"$build/fuzz/make_seeds" "$corpus/seeds"
# The target limits file sizes itself and expects SIGXFSZ to be ignored.
log="$corpus/fuzz.log"
status=0
"$build/fuzz/fuzz_actions" -handle_xfsz=0 -max_len=65536 -timeout=30 -rss_limit_mb=4096 \
  -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$PWD/fuzz-findings/" \
  "$corpus/seeds" >"$log" 2>&1 || status=$?
grep -vE '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)' "$log" | tail -n 60
if [ "$status" -ne 0 ]; then
  echo "fuzzer found a fault (exit status $status); the input is in fuzz-findings/"
  exit 1
fi
