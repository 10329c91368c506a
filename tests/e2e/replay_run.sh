# A recorded whole game plays back to the same log; a recording that no longer matches the game
# stops at the first checkpoint where they differ, with status 3.
source "$(dirname "$0")/lib.sh"
make_data "$WORK/rec"
make_data "$WORK/play"
make_data "$WORK/bent"
"$KV" --headless --data "$WORK/rec" --autopilot --invincible --seed 7 --exit-on game_clear \
      --record "$WORK/game.txt" --log "$WORK/rec.jsonl" || fail "the recorded run failed"
head -3 "$WORK/game.txt" | grep -qx "version 5" || fail "the recording has no format version"
grep -qx "seed 7" "$WORK/game.txt" || fail "the recording does not note its seed"
grep -qx "invincible" "$WORK/game.txt" || fail "the recording does not note --invincible"
grep -q "^state high_score 0$" "$WORK/game.txt" || fail "the recording does not note the record it started with"
checks=$(grep -c " check " "$WORK/game.txt")
last_frame() { events "$1" end | python3 -c 'import json,sys; print(json.loads(sys.stdin.read())["frame"])'; }
frames=$(last_frame "$WORK/rec.jsonl")
[ "$checks" -eq $((frames / 300)) ] || fail "$checks checkpoints in $frames frames"
[ "$(tail -1 "$WORK/game.txt")" = "end $frames" ] || fail "the recording does not end with its last frame: $(tail -1 "$WORK/game.txt")"

# The recording alone says how to play it: its seed, its invincible ship, where it ends. The
# whole game matches at every checkpoint and the playback stops with it.
"$KV" --headless --data "$WORK/play" --input "$WORK/game.txt" \
      --log "$WORK/play.jsonl" 2> "$WORK/play.err" || fail "the playback failed: $(cat "$WORK/play.err")"
cmp -s "$WORK/rec.jsonl" "$WORK/play.jsonl" || fail "the playback's log differs from the recording's"

# Two mortal games whose first raises the record: the recording plays back in the same folder,
# whose Score.dtf now holds that record, and leaves it alone.
printf '\r\n-1\r\n\r\n0\r\n' > "$WORK/rec/Score.dtf"
"$KV" --headless --data "$WORK/rec" --autopilot --seed 11 --exit-on menu:2 --frames 200000 \
      --record "$WORK/two.txt" --log "$WORK/two.jsonl" 2> "$WORK/two.err" || fail "the two games failed: $(cat "$WORK/two.err")"
[ -n "$(events "$WORK/two.jsonl" name_entry)" ] || fail "the first game raised no record"
cp "$WORK/rec/Score.dtf" "$WORK/score-before"
"$KV" --headless --data "$WORK/rec" --input "$WORK/two.txt" --log "$WORK/two-play.jsonl" 2> "$WORK/two-play.err" \
  || fail "the two games did not play back where they were recorded: $(cat "$WORK/two-play.err")"
cmp -s "$WORK/two.jsonl" "$WORK/two-play.jsonl" || fail "the two games' playback differs"
cmp -s "$WORK/score-before" "$WORK/rec/Score.dtf" || fail "the playback wrote Score.dtf"

# A run ended by a signal still ends its recording, which plays back to there.
"$KV" --headless --data "$WORK/play" --autopilot --invincible --seed 1 --record "$WORK/cut.txt" \
      --log "$WORK/cut.jsonl" 2> "$WORK/cut.err" & pid=$!
sleep 2
kill -TERM $pid
wait $pid || fail "a run ended by SIGTERM gave status $?"
cut=$(last_frame "$WORK/cut.jsonl")
[ "$(tail -1 "$WORK/cut.txt")" = "end $cut" ] || fail "the cut recording ends with '$(tail -1 "$WORK/cut.txt")', not frame $cut"
timeout 120 "$KV" --headless --data "$WORK/play" --input "$WORK/cut.txt" --log "$WORK/cut-play.jsonl" 2> "$WORK/cut-play.err" \
  || fail "the cut recording did not play back to its end: $(cat "$WORK/cut-play.err")"
[ "$(last_frame "$WORK/cut-play.jsonl")" = "$cut" ] || fail "the cut recording's playback ended elsewhere"

# What a recording may not hold: a start no game has, a counter the game would run past its
# limit, a position off the playfield, a checkpoint taken out. Each is refused before anything
# plays, naming the line and the value.
refused() {  # name, sed program, expected message
  sed "$2" "$WORK/game.txt" > "$WORK/$1.txt"
  expect_status 1 "$WORK/$1.err" --headless --data "$WORK/play" --input "$WORK/$1.txt" --log "$WORK/$1.jsonl"
  grep -qE "$1.txt:[0-9]+: $3" "$WORK/$1.err" || fail "$1: $(cat "$WORK/$1.err")"
  [ ! -s "$WORK/$1.jsonl" ] || fail "$1: something played"
}
refused stage99 's/^state stage_no .*/state stage_no 99/' "state stage_no '99' cannot be: a game starts with 0 to 5"
refused negative 's/^state kekkai_count .*/state kekkai_count -3/' "state kekkai_count '-3' cannot be"
refused overflow 's/^state shot_count .*/state shot_count 2147483647/' "state shot_count '2147483647' cannot be"
refused offfield 's/^state last_ziki_x .*/state last_ziki_x nan/' "state last_ziki_x 'nan' cannot be: not a number"
refused named 's/^state attack_name.*/state attack_name 悪夢/' "state attack_name '悪夢' cannot be"
refused nochecks '/ check /d' "the checkpoint of frame 300 is missing"
refused late 's/^end .*/end 10/' "frame [0-9]+ comes after the end"

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
