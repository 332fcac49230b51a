#!/usr/bin/env bash
# Runs one libFuzzer harness inside the test command.
#
#   run-fuzzer.sh FUZZER CORPUS_DIR WORK_DIR SECONDS
#
# First every kept case (seeds and former crashers) is replayed once, so a
# regression fails at once; then the harness fuzzes for SECONDS from a copy of
# the corpus. A new crasher is left in WORK_DIR/artifacts: add it to
# CORPUS_DIR so it stays a regression case.
set -euo pipefail
fuzzer=$1 corpus=$2 work=$3 seconds=$4
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
if [ -d "$corpus" ] && [ -n "$(ls -A "$corpus")" ]; then
  "$fuzzer" -runs=0 "$corpus"
  cp -r "$corpus"/. "$work/corpus/"
fi
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$work/corpus"
