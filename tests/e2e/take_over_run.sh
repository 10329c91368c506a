# Watching a replay from a frame, and taking its game over: the taken-over game is a practice
# game that keeps no record, and its own replay (the original's input up to the take-over, the
# player's after it) plays back alone to the same end.
source "$(dirname "$0")/lib.sh"
make_data "$WORK/data" 0
"$KV" --headless --data "$WORK/data" --autopilot --seed 7 --frames 4000 --record "$WORK/run.rec" \
      2> "$WORK/stderr.txt" || fail "the recording run failed: $(cat "$WORK/stderr.txt")"
replay="$(ls "$XDG_DATA_HOME"/kalvento/replays/*.kvr | head -1)"
[ -f "$replay" ] || fail "no replay was kept"
record_before="$(md5sum < "$WORK/data/Score.dtf")"
end_of() { grep '"event":"end"' "$1"; }

# Watching from frame 1200: the same end as the whole playback; the seek is timed.
"$KV" --headless --data "$WORK/data" --input "$replay" --log "$WORK/whole.jsonl" 2> "$WORK/e.txt" \
  || fail "the replay did not play: $(cat "$WORK/e.txt")"
"$KV" --headless --data "$WORK/data" --input "$replay" --from 1200 --log "$WORK/from.jsonl" \
      --stats "$WORK/stats.txt" 2> "$WORK/e.txt" || fail "--from did not play: $(cat "$WORK/e.txt")"
[ "$(end_of "$WORK/from.jsonl")" = "$(end_of "$WORK/whole.jsonl")" ] || fail "--from changed the end"
grep -q '^seek_frame 1200$' "$WORK/stats.txt" || fail "--stats has no seek frame: $(cat "$WORK/stats.txt")"
grep -q '^seek_ms [0-9.e+-]*$' "$WORK/stats.txt" || fail "--stats has no seek time"

# Taking over at frame 1500: the player moves left and stops firing.
cat > "$WORK/then.txt" <<'SCRIPT'
1501 press left
1560 release left
1561 press right
1600 release right
2300 press left
2400 release left
SCRIPT
"$KV" --headless --data "$WORK/data" --input "$replay" --take-over 1500 --then "$WORK/then.txt" \
      --record "$WORK/taken.kvr" --log "$WORK/taken.jsonl" 2> "$WORK/e.txt" \
  || fail "the take-over failed: $(cat "$WORK/e.txt")"
grep -q '"frame":1500,"event":"take_over"' "$WORK/taken.jsonl" || fail "no take_over event at frame 1500"
grep -q '^1501 takeover$' "$WORK/taken.kvr" || fail "the replay does not say where it was taken over"
# The player's game ends where its script or the game does, and so does its replay.
last="$(end_of "$WORK/taken.jsonl" | sed 's/{"frame":\([0-9]*\),.*/\1/')"
[ "$last" -gt 1500 ] && [ "$last" -le 2400 ] || fail "the take-over ran to frame $last"
grep -q "^end $last\$" "$WORK/taken.kvr" || fail "the replay does not end where the game did: $(grep ^end "$WORK/taken.kvr")"
diff <(grep -E '^[0-9]+ ' "$replay" | awk '$1 <= 1500 && $2 != "check"') \
     <(grep -E '^[0-9]+ ' "$WORK/taken.kvr" | awk '$1 <= 1500 && $2 != "check"') > /dev/null \
  || fail "the replay does not hold the original's input up to the take-over"
[ "$(md5sum < "$WORK/data/Score.dtf")" = "$record_before" ] || fail "the take-over wrote Score.dtf"
[ "$(end_of "$WORK/taken.jsonl")" != "$(end_of "$WORK/whole.jsonl")" ] || fail "the player's input changed nothing"

# The taken-over game's replay alone: the same events, the same end, no divergence.
"$KV" --headless --data "$WORK/data" --input "$WORK/taken.kvr" --log "$WORK/back.jsonl" 2> "$WORK/e.txt" \
  || fail "the taken-over replay did not play back: $(cat "$WORK/e.txt")"
cmp -s "$WORK/back.jsonl" "$WORK/taken.jsonl" || fail "the playback differs: $(diff "$WORK/back.jsonl" "$WORK/taken.jsonl" | head -5)"

# Taken over before its first frame, it still has the first frame's checkpoint and plays back.
printf '30 press left\n90 release left\n' > "$WORK/then0.txt"
"$KV" --headless --data "$WORK/data" --input "$replay" --take-over 0 --then "$WORK/then0.txt" --record "$WORK/taken0.kvr" \
      2> "$WORK/e.txt" || fail "the take-over at frame 0 failed: $(cat "$WORK/e.txt")"
"$KV" --headless --data "$WORK/data" --input "$WORK/taken0.kvr" 2> "$WORK/e.txt" \
  || fail "the replay taken over at frame 0 did not play back: $(cat "$WORK/e.txt")"

# The attack history counts a taken-over game's attacks as practice (R-One comes at frame 1500).
sed 's/^1501 /1401 /' "$WORK/then.txt" > "$WORK/then1400.txt"
"$KV" --headless --data "$WORK/data" --input "$replay" --take-over 1400 --then "$WORK/then1400.txt" --history \
      2> "$WORK/e.txt" || fail "the take-over with --history failed: $(cat "$WORK/e.txt")"
history="$(awk -F'\t' '$1 == "TROneASprite" {print $3, $4, $5}' "$XDG_DATA_HOME/kalvento/attacks.txt")"
[ "$history" = "0 0 1" ] || fail "R-One's first attack after the take-over: '$history', not reached once in practice"

# Strange frames are refused by name, before anything runs.
expect_status 2 "$WORK/e.txt" --headless --input "$replay" --from 12x
grep -q -- "--from: '12x' is not a whole number" "$WORK/e.txt" || fail "bad --from: $(cat "$WORK/e.txt")"
expect_status 1 "$WORK/e.txt" --headless --data "$WORK/data" --input "$replay" --from 999999
grep -q -- "--from 999999: .* ends at frame" "$WORK/e.txt" || fail "--from past the end: $(cat "$WORK/e.txt")"
expect_status 2 "$WORK/e.txt" --headless --input "$replay" --take-over 100
grep -q -- "--take-over needs --then" "$WORK/e.txt" || fail "--take-over alone: $(cat "$WORK/e.txt")"
printf '900 press left\n' > "$WORK/early.txt"
expect_status 1 "$WORK/e.txt" --headless --data "$WORK/data" --input "$replay" --take-over 1500 --then "$WORK/early.txt"
grep -q "line 1: frame 900 is not after the take-over at frame 1500" "$WORK/e.txt" || fail "early --then: $(cat "$WORK/e.txt")"
expect_status 1 "$WORK/e.txt" --headless --data "$WORK/data" --input "$WORK/run.rec" --take-over 100 --then "$WORK/then.txt"
grep -q "no replay of one game" "$WORK/e.txt" || fail "take-over of a recording: $(cat "$WORK/e.txt")"
echo ok
