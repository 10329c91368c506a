#!/usr/bin/env bash
# The soak run: the autopilot plays game after game, without --invincible, for FRAMES frames
# (an hour of game time by default) on the sanitizer build. It fails on a crash, on any
# sanitizer report, when Score.dtf is ever seen as anything but a valid record, or when the
# resident memory after a game grows past the first game's by more than the tolerance.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-asan}"
frames="${2:-216000}"
seed="${SOAK_SEED:-7}"
tolerance_kb="${SOAK_RSS_TOLERANCE_KB:-4096}"

cmake -S . -B "$build" -G Ninja -DKV_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_FLAGS:-} >/dev/null
cmake --build "$build" --target kalvento assets -j "$(nproc)"
source scripts/sanitizer-env.sh
# A small quarantine: freed memory is still checked for a while, but the allocator's cache
# stops growing early, so the memory after each game can be compared.
export ASAN_OPTIONS="$ASAN_OPTIONS:quarantine_size_mb=16"

run="$(cd "$build/run" && pwd)"
data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT
cp "$run/Pictures.dxg" "$run/Sounds.dxg" "$run/Score.dtf" "$data/"

# Four or more CR LF-ended lines; the score (line 2) and the unlock (line 4) are integers.
valid_record() {
  perl -0777 -ne 'exit(/\A[^\r\n]*\r\n-?\d+\r\n[^\r\n]*\r\n-?\d+\r\n(?:[^\r\n]*\r\n)*\z/ ? 0 : 1)' "$1"
}

(cd "$run" && exec ./kalvento --headless --data "$data" --autopilot --seed "$seed" --frames "$frames" \
    --log "$data/run.jsonl" --stats "$data/stats.txt") 2>"$data/stderr.txt" &
pid=$!
versions=0
last=""
bad=0
while kill -0 "$pid" 2>/dev/null; do
  sum="$(cksum <"$data/Score.dtf" 2>/dev/null || true)"
  if [ -n "$sum" ] && [ "$sum" != "$last" ]; then
    last="$sum"
    versions=$((versions + 1))
    if ! valid_record "$data/Score.dtf"; then
      echo "soak: Score.dtf is not a valid record:" >&2
      od -c "$data/Score.dtf" | head -20 >&2
      bad=1
    fi
  fi
  sleep 0.1
done
set +e
wait "$pid"
status=$?
set -e

fail=0
if [ "$status" -ne 0 ]; then
  echo "soak: the program ended with status $status" >&2
  fail=1
fi
if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$data/stderr.txt"; then
  echo "soak: sanitizer report:" >&2
  cat "$data/stderr.txt" >&2
  fail=1
fi
[ "$bad" -eq 0 ] || fail=1
valid_record "$data/Score.dtf" || { echo "soak: the final Score.dtf is not a valid record" >&2; fail=1; }

games=$(grep -cE '"event":"(game_over|game_clear)"' "$data/run.jsonl" || true)
echo "soak: $frames frames, seed $seed, $games games, $versions versions of Score.dtf seen, all valid: $([ $bad -eq 0 ] && echo yes || echo no)"
sed 's/^/  /' "$data/stats.txt"
[ "$games" -ge 2 ] || { echo "soak: fewer than two games were played" >&2; fail=1; }

mapfile -t rss < <(sed -n 's/^rss_after_game_[0-9]*_kb //p' "$data/stats.txt")
if [ "${#rss[@]}" -ge 2 ]; then
  first=${rss[0]}
  for ((i = 1; i < ${#rss[@]}; i++)); do
    if [ "${rss[$i]}" -gt $((first + tolerance_kb)) ]; then
      echo "soak: memory after game $((i + 1)) is ${rss[$i]} KiB, more than $tolerance_kb KiB over the first game's $first KiB" >&2
      fail=1
    fi
  done
fi
exit $fail
