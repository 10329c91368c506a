# A kept replay chosen in the replay window with keys only plays back in the window, then the
# menu comes back. Its events go to LOG.replay.
source "$(dirname "$0")/lib.sh"
needs_window_tools
export HOME="$WORK/home"
mkdir -p "$HOME"
make_data "$WORK/data"
# One short practice game, kept as a replay.
"$KV" --headless --data "$WORK/data" --practice stage1 --seed 4 --record "$WORK/rec.txt" --frames 150 \
  2> "$WORK/rec.err" || fail "the recorded run failed: $(cat "$WORK/rec.err")"
replay="$(ls "$XDG_DATA_HOME"/kalvento/replays/*.kvr)"

cat > "$WORK/inner.sh" <<'INNER'
set -eu
openbox > /dev/null 2>&1 & wm=$!
trap 'kill $wm 2> /dev/null || true' EXIT
sleep 1
"$KVW" --data "$WORK/data" --seed 1 --frames 600 --log "$WORK/run.jsonl" 2> "$WORK/run.err" & pid=$!
xdotool search --sync --name '^Kalvento$' windowfocus --sync > /dev/null 2>&1 || true
sleep 1
# "設定・練習", the hub's "リプレイ", the newest replay, "再生する".
for k in Down Down Down Left Return Down Down Return Return Return; do xdotool key $k; sleep 0.4; done
wait $pid
INNER
KVW="$KV_WINDOWED" WORK="$WORK" timeout 200 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$WORK/inner.sh" \
  || fail "the windowed runs failed: $(cat "$WORK/run.err")"
[ -s "$WORK/run.jsonl.replay" ] || fail "no replay was played: $(tail -3 "$WORK/run.err")"
events "$WORK/run.jsonl.replay" start | grep -q '"practice": "stage1"' || fail "the replay's game did not start"
events "$WORK/run.jsonl.replay" end | grep -q '"frame": 150[,}]' || fail "the replay did not play to its end"
[ -n "$(events "$WORK/run.jsonl" menu)$(events "$WORK/run.jsonl" end)" ] || fail "the menu did not come back"
events "$WORK/run.jsonl" end | grep -q '"frame": 600[,}]' || fail "the menu's run after the replay did not run on"
[ "$(ls "$XDG_DATA_HOME"/kalvento/replays/*.kvr)" = "$replay" ] || fail "watching kept a replay of its own"

# A replay whose start no game can have is not played: the window says why, naming the line.
sed -i 's/^state stage_no .*/state stage_no 99/' "$replay"
rm -f "$WORK/run.jsonl.replay"
KVW="$KV_WINDOWED" WORK="$WORK" timeout 200 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$WORK/inner.sh" \
  || fail "the windowed run with a bad replay failed: $(cat "$WORK/run.err")"
[ ! -e "$WORK/run.jsonl.replay" ] || fail "a replay that cannot be played was played"
events "$WORK/run.jsonl" end | grep -q '"frame": 600[,}]' || fail "the menu's run did not go on"
echo ok
