# A recorded whole game plays back to the same log; a recording that no longer matches the game
# stops at the first checkpoint where they differ, with status 3.
source "$(dirname "$0")/lib.sh"
make_data "$WORK/rec"
make_data "$WORK/play"
make_data "$WORK/bent"
"$KV" --headless --data "$WORK/rec" --autopilot --invincible --seed 7 --exit-on game_clear \
      --record "$WORK/game.txt" --log "$WORK/rec.jsonl" || fail "the recorded run failed"
head -3 "$WORK/game.txt" | grep -qx "version 3" || fail "the recording has no format version"
grep -qx "seed 7" "$WORK/game.txt" || fail "the recording does not note its seed"
checks=$(grep -c " check " "$WORK/game.txt")
frames=$(events "$WORK/rec.jsonl" end | python3 -c 'import json,sys; print(json.loads(sys.stdin.read())["frame"])')
[ "$checks" -eq $((frames / 300)) ] || fail "$checks checkpoints in $frames frames"

# The seed comes from the recording; the whole game matches at every checkpoint.
"$KV" --headless --data "$WORK/play" --invincible --input "$WORK/game.txt" --exit-on game_clear \
      --log "$WORK/play.jsonl" 2> "$WORK/play.err" || fail "the playback failed: $(cat "$WORK/play.err")"
cmp -s "$WORK/rec.jsonl" "$WORK/play.jsonl" || fail "the playback's log differs from the recording's"

# Drop the input of frames 601 to 700: the checkpoint of frame 600 still holds, that of 900 not.
awk '!($2 ~ /^(press|release)$/ && $1 > 600 && $1 <= 700)' "$WORK/game.txt" > "$WORK/bent.txt"
set +e
"$KV" --headless --data "$WORK/bent" --invincible --input "$WORK/bent.txt" --exit-on game_clear \
      --log "$WORK/bent.jsonl" 2> "$WORK/bent.err"
rc=$?
set -e
[ $rc -eq 3 ] || fail "a diverging playback gave status $rc"
grep -q "diverged from $WORK/bent.txt at frame 900" "$WORK/bent.err" || fail "divergence message: $(cat "$WORK/bent.err")"
events "$WORK/bent.jsonl" diverged | grep -q '"frame": 900' || fail "no diverged event at frame 900"
events "$WORK/bent.jsonl" end | grep -q '"frame": 900' || fail "the playback went on after diverging"

# Recordings of a newer format are refused, naming the line.
printf 'version 9\n1 press shot\n' > "$WORK/new.txt"
expect_status 1 "$WORK/new.err" --headless --data "$WORK/play" --frames 5 --input "$WORK/new.txt"
grep -q "new.txt:1: recorded in format version 9" "$WORK/new.err" || fail "version message: $(cat "$WORK/new.err")"
echo ok
