#!/usr/bin/env bash
# Builds and runs every benchmark program of bench/, then the whole-run and replay benchmarks.
set -euo pipefail
build="${1:-build}"
cmake --build "$build" --target benchmarks -j "$(nproc)"
status=0
for b in "$build"/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  (cd "$build/run" && "$OLDPWD/$b" --benchmark_counters_tabular=true) || status=1
done
scripts/bench-playthrough.sh "$build" || status=1
scripts/bench-replay.sh "$build" || status=1
exit $status
