# Bad option values are refused with a clear message and status 2; --help lists the options.
source "$(dirname "$0")/lib.sh"
"$KV" --help > "$WORK/help.txt" || fail "--help failed"
for opt in --data --headless --frames --seed --input --record --screenshot --screenshot-at --log \
           --stats --renderer --scale --fullscreen --autopilot --invincible --exit-on --practice --keys --bind; do
  grep -q -- "$opt" "$WORK/help.txt" || fail "--help does not list $opt"
done
expect_usage() {
  local want="$1"; shift
  set +e
  "$KV" "$@" > /dev/null 2> "$WORK/err.txt"
  local rc=$?
  set -e
  [ $rc -eq 2 ] || fail "'$*' gave status $rc, not 2"
  grep -q -- "$want" "$WORK/err.txt" || fail "'$*' said: $(cat "$WORK/err.txt")"
}
expect_usage "--frames: 'ten' is not a whole number" --headless --frames ten
expect_usage "--frames: 0 is out of range" --headless --frames 0
expect_usage "--scale: 9 is out of range" --scale 9
expect_usage "--seed: '-1' is not a whole number" --seed -1
expect_usage "unknown option '--fast'" --fast
expect_usage "--log needs a value" --headless --log
expect_usage "--screenshot-at needs --screenshot FILE" --headless --screenshot-at 5
expect_usage "--bind needs a value" --bind
expect_usage "is not a folder" --headless --data "$WORK/nowhere"
expect_usage "--renderer: 'fast' is not one of auto, gpu, software" --renderer fast
expect_usage "--practice: 'stage9' is no stage or boss phase; choose one of: stage1" --headless --practice stage9
# A broken input script is named with its line; the run does not start.
make_data "$WORK/data"
printf '1 press shot\n2 jump\n' > "$WORK/bad.txt"
expect_status 1 "$WORK/err.txt" --headless --data "$WORK/data" --frames 5 --input "$WORK/bad.txt"
grep -q "bad.txt:2: unknown action 'jump'" "$WORK/err.txt" || fail "bad script message: $(cat "$WORK/err.txt")"
# The statistics of a headless run: its frames, and the memory after each game.
"$KV" --headless --data "$WORK/data" --frames 40 --stats "$WORK/stats.txt" > /dev/null || fail "--stats run failed"
grep -qx "frames 40" "$WORK/stats.txt" || fail "stats: $(cat "$WORK/stats.txt")"
grep -qE "^peak_rss_kb [1-9][0-9]*$" "$WORK/stats.txt" || fail "no peak memory in: $(cat "$WORK/stats.txt")"
expect_status 1 "$WORK/err.txt" --headless --data "$WORK/data" --frames 3 --stats "$WORK/nowhere/s.txt"
grep -q "cannot write the statistics file $WORK/nowhere/s.txt" "$WORK/err.txt" || fail "stats message: $(cat "$WORK/err.txt")"
# A missing asset file is reported, and the run goes on.
mkdir -p "$WORK/empty"
"$KV" --headless --frames 3 --data "$WORK/empty" --log "$WORK/e.jsonl" 2> "$WORK/err.txt" || fail "missing assets stopped the run"
grep -q "Sounds.dxg" "$WORK/err.txt" || fail "the missing Sounds.dxg was not named: $(cat "$WORK/err.txt")"
[ "$(events "$WORK/e.jsonl" error | wc -l)" -eq 1 ] || fail "the error was not logged exactly once"
echo ok
