# A practice game rewound at the real keyboard and with a pad's left shoulder in a window (with a
# window manager), recorded:
# the recording and the kept replay play back alone to the same end, the kept replay in a
# window as well.
source "$(dirname "$0")/lib.sh"
needs_window_tools
export HOME="$WORK/home"
mkdir -p "$HOME"
make_data "$WORK/data"
cat > "$WORK/inner.sh" <<'INNER'
set -eu
openbox > /dev/null 2>&1 & wm=$!
trap 'kill $wm 2> /dev/null || true' EXIT
sleep 1
"$KVW" --data "$WORK/data" --seed 3 --practice stage1 --frames 900 --record "$WORK/rec.txt" \
  --log "$WORK/run.jsonl" 2> "$WORK/run.err" & pid=$!
xdotool search --sync --name '^Kalvento$' windowfocus --sync > /dev/null 2>&1 || true
xdotool keydown z; sleep 0.5; xdotool keydown Left; sleep 0.5; xdotool keyup Left
sleep 3
xdotool keydown BackSpace; sleep 1.5; xdotool keyup BackSpace
sleep 1
xdotool keydown BackSpace; sleep 0.5; xdotool keyup BackSpace
xdotool keydown Right; sleep 0.5; xdotool keyup Right
sleep 0.5
echo "hold leftshoulder" >> "$KALVENTO_TEST_PAD"; sleep 0.7; echo "release leftshoulder" >> "$KALVENTO_TEST_PAD"
wait $pid
INNER
export KALVENTO_TEST_PAD="$WORK/pad.txt"
: > "$KALVENTO_TEST_PAD"
KVW="$KV_WINDOWED" WORK="$WORK" timeout 200 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$WORK/inner.sh" \
  || fail "the windowed run failed: $(cat "$WORK/run.err")"
unset KALVENTO_TEST_PAD
[ "$(events "$WORK/run.jsonl" rewind | wc -l)" -eq 3 ] \
  || fail "not two holds of Backspace and one of the left shoulder: $(events "$WORK/run.jsonl" rewind | tr '\n' ' ')"
grep -q ' rewind$' "$WORK/rec.txt" || fail "the recording holds no rewind"
replay="$(ls "$XDG_DATA_HOME"/kalvento/replays/*.kvr)"
grep -q ' rewind$' "$replay" || fail "the kept replay holds no rewind"
for rec in "$WORK/rec.txt" "$replay"; do
  "$KV" --headless --data "$WORK/data" --input "$rec" --log "$WORK/play.jsonl" 2> "$WORK/play.err" \
    || fail "$rec did not play back: $(cat "$WORK/play.err")"
  diff <(events "$WORK/run.jsonl" end) <(events "$WORK/play.jsonl" end) > /dev/null \
    || fail "$rec ends elsewhere: $(events "$WORK/play.jsonl" end), not $(events "$WORK/run.jsonl" end)"
  diff <(events "$WORK/run.jsonl" rewind) <(events "$WORK/play.jsonl" rewind) > /dev/null || fail "$rec rewinds elsewhere"
done
# Watched in a window, to its end, every checkpoint matching.
KVW="$KV_WINDOWED" timeout 200 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$KV_WINDOWED" --data "$WORK/data" --input "$replay" --log "$WORK/watch.jsonl" 2> "$WORK/watch.err" \
  || fail "the replay watched in a window failed: $(cat "$WORK/watch.err")"
diff <(events "$WORK/run.jsonl" end) <(events "$WORK/watch.jsonl" end) > /dev/null \
  || fail "the watched replay ends elsewhere: $(events "$WORK/watch.jsonl" end)"
echo ok
