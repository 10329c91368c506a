#!/usr/bin/env bash
# The soak run: the autopilot plays game after game, without --invincible, for FRAMES frames
# (an hour of game time by default), on the sanitizer build and on the plain one. It fails on
# a crash, on any sanitizer report, when Score.dtf is ever seen as anything but a valid record,
# or when the heap after a game grows past the first game's by more than the tolerance.
#   scripts/soak.sh [ASAN_BUILD [PLAIN_BUILD [FRAMES]]]
set -euo pipefail
cd "$(dirname "$0")/.."
asan_build="${1:-build-asan}"
plain_build="${2:-build}"
frames="${3:-216000}"
seed="${SOAK_SEED:-7}"
tolerance_kb="${SOAK_RSS_TOLERANCE_KB:-1024}"

for b in "$asan_build" "$plain_build"; do
  flags=-DKV_SANITIZE=OFF
  [ "$b" = "$asan_build" ] && flags=-DKV_SANITIZE=ON
  cmake -S . -B "$b" -G Ninja "$flags" ${CMAKE_FLAGS:-} >/dev/null
  cmake --build "$b" --target kalvento assets -j "$(nproc)"
done
source scripts/sanitizer-env.sh

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Four or more CR LF-ended lines; the score (line 2) and the unlock (line 4) are integers.
valid_record() {
  perl -0777 -ne 'exit(/\A[^\r\n]*\r\n-?\d+\r\n[^\r\n]*\r\n-?\d+\r\n(?:[^\r\n]*\r\n)*\z/ ? 0 : 1)' "$1"
}

# Plays in a fresh data folder DIR with the program of BUILD; its status goes to DIR/status.
play() {  # build, dir
  local run dir="$2"
  run="$(cd "$1/run" && pwd)"
  mkdir -p "$dir"
  cp "$run/Pictures.dxg" "$run/Sounds.dxg" "$dir/"
  printf '\r\n0\r\n\r\n0\r\n' > "$dir/Score.dtf"  # an empty record
  set +e
  (cd "$run" && ./kalvento --headless --data "$dir" --autopilot --seed "$seed" --frames "$frames" \
      --log "$dir/run.jsonl" --stats "$dir/stats.txt") 2> "$dir/stderr.txt"
  echo $? > "$dir/status"
  set -e
}

# The same games twice at once: on the sanitizer build for its reports and the record, and on
# the plain build for the memory (the sanitizer's own allocator keeps freed memory aside).
play "$asan_build" "$work/asan" &
asan_pid=$!
play "$plain_build" "$work/plain" &
plain_pid=$!

# Every version of the record the sanitizer run writes is checked as it appears.
versions=0
last=""
bad=0
while kill -0 "$asan_pid" 2>/dev/null; do
  sum="$(cksum 2>/dev/null <"$work/asan/Score.dtf" || true)"
  if [ -n "$sum" ] && [ "$sum" != "$last" ]; then
    last="$sum"
    versions=$((versions + 1))
    if ! valid_record "$work/asan/Score.dtf"; then
      echo "soak: Score.dtf is not a valid record:" >&2
      od -c "$work/asan/Score.dtf" | head -20 >&2
      bad=1
    fi
  fi
  sleep 0.1
done
wait "$asan_pid" "$plain_pid"

fail=0
for run in asan plain; do
  status="$(cat "$work/$run/status")"
  if [ "$status" -ne 0 ]; then
    echo "soak: the $run run ended with status $status:" >&2
    tail -40 "$work/$run/stderr.txt" >&2
    fail=1
  fi
  if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$work/$run/stderr.txt"; then
    echo "soak: sanitizer report in the $run run:" >&2
    cat "$work/$run/stderr.txt" >&2
    fail=1
  fi
  valid_record "$work/$run/Score.dtf" || { echo "soak: the final Score.dtf of the $run run is not a valid record" >&2; fail=1; }
done
[ "$bad" -eq 0 ] || fail=1
cmp -s "$work/asan/run.jsonl" "$work/plain/run.jsonl" || { echo "soak: the two builds played different games" >&2; fail=1; }

games=$(grep -cE '"event":"(game_over|game_clear)"' "$work/asan/run.jsonl" || true)
echo "soak: $frames frames, seed $seed, $games games, $versions versions of Score.dtf seen, all valid: $([ $bad -eq 0 ] && echo yes || echo no)"
echo "  sanitizer build:"
sed 's/^/    /' "$work/asan/stats.txt"
echo "  plain build:"
sed 's/^/    /' "$work/plain/stats.txt"
[ "$games" -ge 2 ] || { echo "soak: fewer than two games were played" >&2; fail=1; }

# Flat after the first game: no later game leaves the heap more than the tolerance above it.
mapfile -t heap < <(sed -n 's/^heap_after_game_[0-9]*_kb //p' "$work/plain/stats.txt")
if [ "${#heap[@]}" -ge 2 ]; then
  first=${heap[0]}
  for ((i = 1; i < ${#heap[@]}; i++)); do
    if [ "${heap[$i]}" -gt $((first + tolerance_kb)) ]; then
      echo "soak: the heap after game $((i + 1)) is ${heap[$i]} KiB, more than $tolerance_kb KiB over the first game's $first KiB" >&2
      fail=1
    fi
  done
fi
exit $fail
