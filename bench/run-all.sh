#!/usr/bin/env bash
# Runs every benchmark binary of a build and prints their results.
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/bench_*; do
  [[ -x "$b" ]] || continue
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$b" --benchmark_min_time=0.2
done
