# Every game is kept as a replay of its own in the data folder, which plays back alone to the
# same score: the second game of a session as well as a windowed game cut off by closing the
# window. Watching a replay keeps no new one and leaves Score.dtf alone.
source "$(dirname "$0")/lib.sh"
REPLAYS="$XDG_DATA_HOME/kalvento/replays"
header() { sed -n "s/^# $2: //p" "$1" | head -1; }

# Two games in one session by the autopilot: the first ends in a game over, the second starts
# from the menu it left behind.
make_data "$WORK/rec"
"$KV" --headless --data "$WORK/rec" --autopilot --seed 11 --exit-on menu:2 --frames 200000 \
      --record "$WORK/session.txt" --log "$WORK/rec.jsonl" 2> "$WORK/rec.err" || fail "the session failed: $(cat "$WORK/rec.err")"
ls "$REPLAYS"/*.kvr > "$WORK/list.txt"
[ "$(wc -l < "$WORK/list.txt")" -eq 2 ] || fail "$(wc -l < "$WORK/list.txt") replays after two games"
second="$(sort "$WORK/list.txt" | tail -1)"
scores="$(events "$WORK/rec.jsonl" game_over | python3 -c 'import json,sys; print(" ".join(str(json.loads(l)["score"]) for l in sys.stdin))')"
[ "$(header "$second" mode)" = normal ] || fail "mode: $(header "$second" mode)"
[ "$(header "$second" result)" = "game over" ] || fail "result: $(header "$second" result)"
[ "$(header "$second" score)" = "$(echo "$scores" | cut -d' ' -f2)" ] || fail "the second replay's score is not the second game's ($scores)"

make_data "$WORK/play"
cp "$WORK/play/Score.dtf" "$WORK/score-before"
"$KV" --headless --data "$WORK/play" --input "$second" --log "$WORK/play.jsonl" 2> "$WORK/play.err" \
  || fail "the second game's replay did not play back: $(cat "$WORK/play.err")"
over="$(events "$WORK/play.jsonl" game_over)"
[ -n "$over" ] || fail "the replay did not reach its game over"
echo "$over" | grep -q "\"score\": $(header "$second" score)[,}]" || fail "the replay ended with another score: $over"
events "$WORK/play.jsonl" end | grep -q "\"frame\": $(header "$second" frames)[,}]" || fail "the replay did not stop with its game"
[ "$(ls "$REPLAYS"/*.kvr | wc -l)" -eq 2 ] || fail "watching a replay kept a new one"
cmp -s "$WORK/score-before" "$WORK/play/Score.dtf" || fail "watching a replay wrote Score.dtf"

# A run stopped by the tick that ended an endurance attack: the replay still pays its bonus.
XDG_DATA_HOME="$WORK/endurance" "$KV" --headless --data "$WORK/rec" --practice TROneBSprite --invincible --exit-on endurance_end \
      --record "$WORK/endurance.txt" --log "$WORK/endurance.jsonl" 2> "$WORK/endurance.err" || fail "the endurance run failed"
endurance="$(ls "$WORK"/endurance/kalvento/replays/*.kvr)"
"$KV" --headless --data "$WORK/play" --input "$endurance" --log "$WORK/endplay.jsonl" 2> "$WORK/endplay.err" \
  || fail "the endurance replay did not play back: $(cat "$WORK/endplay.err")"
[ -n "$(events "$WORK/endplay.jsonl" endurance_end)" ] || fail "the replay stopped before the endurance ended"
events "$WORK/endplay.jsonl" end | grep -q "\"score\": $(header "$endurance" score)[,}]" || fail "the endurance replay's score is not its game's"

# A replay whose game no longer matches stops at its first checkpoint, saying so.
sed '0,/^1 check /s/^1 check .*/1 check 0123456789abcdef/' "$second" > "$WORK/bent.kvr"
expect_status 3 "$WORK/bent.err" --headless --data "$WORK/play" --input "$WORK/bent.kvr"
grep -q "at frame 1:" "$WORK/bent.err" || fail "divergence message: $(cat "$WORK/bent.err")"

# A headless run without --record keeps nothing; recordings made before replays were kept
# still play.
rm -rf "$REPLAYS"
printf 'version 2\nseed 4\n10 click Button1\n20 press shot\n' > "$WORK/old.txt"
"$KV" --headless --data "$WORK/play" --input "$WORK/old.txt" --frames 120 --log "$WORK/old.jsonl" 2> "$WORK/old.err" \
  || fail "a version 2 recording no longer plays: $(cat "$WORK/old.err")"
[ -n "$(events "$WORK/old.jsonl" start)" ] || fail "the version 2 recording did not start its game"
[ ! -e "$REPLAYS" ] || fail "a headless run without --record kept a replay"

# A windowed practice game, the window closed on it: kept, and it plays back headless to the
# score the window ended with.
command -v xvfb-run > /dev/null || fail "xvfb-run is missing (scripts/install-deps.sh installs it)"
printf '1 press shot\n40 press left\n90 release left\n' > "$WORK/keys.txt"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$KV_WINDOWED" --data "$WORK/rec" --practice stage1 --input "$WORK/keys.txt" --record "$WORK/window.txt" \
        --frames 420 --log "$WORK/window.jsonl" 2> "$WORK/window.err" || fail "the windowed run failed: $(cat "$WORK/window.err")"
win="$(ls "$REPLAYS"/*.kvr)"
[ "$(echo "$win" | wc -l)" -eq 1 ] || fail "the window kept $(echo "$win" | wc -l) replays"
[ "$(header "$win" mode)/$(header "$win" start)/$(header "$win" result)" = "practice/stage1/unfinished" ] \
  || fail "header of the window's replay: $(head -8 "$win")"
"$KV" --headless --data "$WORK/play" --input "$win" --log "$WORK/winplay.jsonl" 2> "$WORK/winplay.err" \
  || fail "the window's replay did not play back: $(cat "$WORK/winplay.err")"
want="$(events "$WORK/window.jsonl" end | python3 -c 'import json,sys; print(json.loads(sys.stdin.read())["score"])')"
got="$(events "$WORK/winplay.jsonl" end | python3 -c 'import json,sys; print(json.loads(sys.stdin.read())["score"])')"
[ "$want" = "$got" ] && [ "$want" -gt 0 ] || fail "the window's game scored $want, its replay $got"
echo ok
