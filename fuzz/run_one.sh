#!/usr/bin/env bash
# One fuzz target for a while: run_one.sh TARGET SEEDS CORPUS SECONDS. New inputs go to CORPUS
# (under the build folder), never into the seeds of the tree; a crashing input lands beside it.
set -u
target=$1 seeds=$2 corpus=$3 seconds=$4
mkdir -p "$corpus"
cd "$corpus/.." || exit 1
log=$(basename "$corpus").log
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 \
  "$corpus" "$seeds" >"$log" 2>&1
rc=$?
grep -vE '^#[0-9]+' "$log" | tail -30
exit $rc
