# Scrubbing a replay in the window, with keys only and then with a pad only: jumps back and
# forward (5 seconds, to a stage's start and on), a slower and a faster speed, a frame stepped
# while paused; the replay still plays to its recorded end with every checkpoint matching.
source "$(dirname "$0")/lib.sh"
needs_window_tools
export HOME="$WORK/home"
mkdir -p "$HOME"
make_data "$WORK/data"
# A practice of stage 1 played by the autopilot for 40 seconds, kept as a replay.
"$KV" --headless --data "$WORK/data" --practice stage1 --autopilot --seed 4 --record "$WORK/rec.txt" --frames 2400 \
  2> "$WORK/rec.err" || fail "the recorded run failed: $(cat "$WORK/rec.err")"
replay="$(ls "$XDG_DATA_HOME"/kalvento/replays/*.kvr)"
grep -q '^[0-9]* check ' "$replay" || fail "the replay has no checkpoints"

scrub() {  # name, driver, options
  local name="$1" driver="$2"
  shift 2
  timeout 250 env KVW="$KV_WINDOWED" WORK="$WORK" REPLAY="$replay" xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$(dirname "$0")/watch_in_window.sh" "$WORK/$name.jsonl" "$driver" "$@" || fail "the $name run failed: $(cat "$WORK/$name.jsonl.err")"
}
# from, to of each seek
jumps() { events "$1" seek | python3 -c '
import json, sys
for l in sys.stdin:
    e = json.loads(l); print(e["from"], e["to"])'; }
frame_of() { events "$1" "$2" | sed -n 1p | python3 -c 'import json, sys; print(json.load(sys.stdin)["frame"])'; }
check_end() {  # name, frames stepped while paused
  local log="$WORK/$1.jsonl"
  [ $(( $(frame_of "$log" resume) - $(frame_of "$log" pause) )) -eq "$2" ] || fail "$1: not $2 frames stepped while paused"
  [ -z "$(events "$log" diverged)" ] || fail "$1: the replay diverged: $(events "$log" diverged)"
  events "$log" end | grep -q '"frame": 2400[,}]' || fail "$1: the replay did not play to its end: $(events "$log" end)"
  jumps "$log" | awk 'NR == 1 && !($2 == $1 - 300) { exit 1 } NR == 2 && !($2 == $1 + 300) { exit 1 }
                      NR == 3 && !($2 == 1) { exit 1 } NR == 4 && !($2 > $1) { exit 1 }' \
    || fail "$1: the jumps went elsewhere: $(jumps "$log" | tr '\n' ';')"
  [ "$(jumps "$log" | wc -l)" -ge 4 ] || fail "$1: not every jump happened: $(jumps "$log" | tr '\n' ';')"
  [ -n "$(events "$log" speed | grep '"0.5"')" ] || fail "$1: the speed did not change"
}

# Keys: ← (back 5 s), → (on 5 s), PgUp (the stage's start), → then PgDn would wait for the next
# stage: instead P, . . (two frames), P; 2 (half speed), 6 (as fast as it goes) to the end.
cat > "$WORK/keys.sh" <<'DRIVER'
sleep 8
xdotool key Left; logged seek 1
xdotool key Right; logged seek 2
xdotool key Prior; logged seek 3
xdotool key Right; logged seek 4
xdotool key p; sleep 0.3; xdotool key period; sleep 0.2; xdotool key period; xdotool key p
xdotool key 2; sleep 1; xdotool key 6
DRIVER
scrub keys "$WORK/keys.sh"
check_end keys 2
[ "$(events "$WORK/keys.jsonl" pause | wc -l)" -eq 1 ] || fail "P did not pause"

# Pad: the d-pad's ←, →, ↑ (the stage's start), → again; Start, A (a frame), Start; the left
# shoulder twice (½×), the right shoulder thrice (4×) and then as fast as it goes.
cat > "$WORK/pad.sh" <<'DRIVER'
feed() { echo "$*" >> "$KALVENTO_TEST_PAD"; }
sleep 8
feed press dpleft; logged seek 1
feed press dpright; logged seek 2
feed press dpup; logged seek 3
feed press dpright; logged seek 4
feed press start; sleep 0.3; feed press a; sleep 0.3; feed press start
for b in leftshoulder leftshoulder rightshoulder rightshoulder rightshoulder rightshoulder; do feed press $b; sleep 0.3; done
DRIVER
export KALVENTO_TEST_PAD="$WORK/pad.txt"
: > "$KALVENTO_TEST_PAD"
scrub pad "$WORK/pad.sh"
unset KALVENTO_TEST_PAD
check_end pad 1

# --from: watching starts at that frame (the music from where it was there) and plays on.
echo 'logged seek 1; xdotool key 6' > "$WORK/from.sh"
scrub from "$WORK/from.sh" --from 1500
[ "$(jumps "$WORK/from.jsonl")" = "0 1500" ] || fail "--from did not start at 1500: $(jumps "$WORK/from.jsonl")"
[ -z "$(events "$WORK/from.jsonl" diverged)" ] || fail "from: the replay diverged"
events "$WORK/from.jsonl" end | grep -q '"frame": 2400[,}]' || fail "from: the replay did not play to its end"
echo ok
