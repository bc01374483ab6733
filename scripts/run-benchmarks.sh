#!/usr/bin/env bash
# Runs every benchmark of a release build, one after the other.
set -euo pipefail
build=${1:-build/release}
for b in "$build"/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.2
done
