#!/usr/bin/env bash
# Long fuzzing runs: fuzz/run.sh [SECONDS] builds the targets and runs each for SECONDS (default
# 600), keeping what they find in build/fuzz/corpus/<target>. Exit code 1 when any target failed;
# the input that broke it is left as build/fuzz/corpus/crash-* (or leak-*, timeout-*).
set -u
cd "$(dirname "$0")/.."
seconds=${1:-600}
cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null && cmake --build build/fuzz || exit 1
status=0
for t in build/fuzz/fuzz_*; do
  [ -x "$t" ] || continue
  name=$(basename "$t")
  echo "=== $name for $seconds s"
  bash fuzz/run_one.sh "$PWD/$t" "$PWD/fuzz/seeds/$name" "$PWD/build/fuzz/corpus/$name" "$seconds" || status=1
done
exit $status
