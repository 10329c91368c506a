#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz (clang, libFuzzer, AddressSanitizer with leak checks,
# UndefinedBehaviorSanitizer) and runs each for FUZZ_SECONDS (default 60). The committed seeds
# and regressions stay as they are: the working corpus grows outside the repository, in
# FUZZ_WORK (default ~/.cache/kalvento-fuzz). Fails when a target finds a crash, a leak, a
# timeout or a sanitizer report; the input is kept in FUZZ_WORK/<target>-findings.
#   FUZZ_TARGETS="dxg score script replay attacks keys settings"  the targets to run
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
work=${FUZZ_WORK:-${XDG_CACHE_HOME:-$HOME/.cache}/kalvento-fuzz}
targets=${FUZZ_TARGETS:-dxg score script replay attacks keys settings}
jobs=${JOBS:-2}

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKV_FUZZ=ON "${launcher[@]}" >/dev/null
build_targets=()
for t in $targets; do build_targets+=("fuzz_$t"); done
cmake --build "$build" -j "$jobs" --target "${build_targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Longest input per target: a few cut-down asset files, a record, a page of script, a replay of
# a few hundred frames with its start, a settings file with room for deep nesting.
max_len() {
  case $1 in
    dxg | replay) echo 8192 ;;
    settings) echo 16384 ;;
    score) echo 1024 ;;
    *) echo 4096 ;;
  esac
}

status=0
for t in $targets; do
  bin=$build/fuzz/fuzz_$t
  corpus=$work/$t
  findings=$work/$t-findings
  log=$work/$t.log
  mkdir -p "$corpus" "$findings"
  rm -f "$findings"/*

  # Every past finding first: each must now be read or refused cleanly.
  regressions=("$root"/fuzz/regressions/"$t"/*)
  if [ -e "${regressions[0]}" ]; then
    if ! "$bin" -runs=1 "${regressions[@]}" >"$log" 2>&1; then
      echo "run-fuzz: $t: a regression input fails again:" >&2
      tail -n 40 "$log" >&2
      status=1
      continue
    fi
  fi

  echo "run-fuzz: $t for ${seconds}s (corpus $corpus)"
  rc=0
  "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$(max_len "$t")" \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$root/fuzz/seeds/$t" >"$log" 2>&1 || rc=$?
  grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true
  grep -E '^stat::number_of_executed_units' "$log" || true
  if [ "$rc" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY: ' "$log"; then
    echo "run-fuzz: $t found a problem (exit $rc); input in $findings:" >&2
    ls -l "$findings" >&2 || true
    grep -nE 'ERROR|runtime error|SUMMARY|fuzz:' "$log" | head -n 20 >&2 || true
    status=1
  fi
done
exit $status
