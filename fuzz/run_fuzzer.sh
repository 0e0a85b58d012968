#!/usr/bin/env bash
# Runs one fuzzer for a bounded time. Usage:
#   run_fuzzer.sh FUZZER FUZZ_SOURCE_DIR WORK_CORPUS SECONDS
# Fails on any crash, leak, timeout, memory excess or sanitizer report; the
# input that caused it is left in the current folder (crash-*, leak-*, ...).
set -uo pipefail

fuzzer=$1
source=$2
corpus=$3
seconds=$4

rm -rf "$corpus"
mkdir -p "$corpus"
cp "$source"/corpus/* "$source"/regressions/* "$corpus"/

# One input of up to 4 KiB must convert within 10 s and 2 GB. Small inputs
# keep the run at thousands of executions a second (larger seeds are cut).
"$fuzzer" "$corpus" -dict="$source/vfk.dict" -max_total_time="$seconds" \
  -max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 >"$corpus.log" 2>&1
status=$?
# The progress lines are many; the rest tells what the run found.
grep -v '^#[0-9]' "$corpus.log"
exit "$status"
