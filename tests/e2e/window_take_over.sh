# Taking over a replay in the window, once with keys only and once with a pad only: jumps on
# and one back (to a kept snapshot), "take over" (T, the pad's Y), then the player's own input.
# The taken-over game is a practice game: Esc pauses it, Score.dtf stays as it was, the attack
# history counts it as practice, and its replay, kept with the player's others, plays back alone
# to the same end with every checkpoint matching.
source "$(dirname "$0")/lib.sh"
needs_window_tools
export HOME="$WORK/home"
mkdir -p "$HOME"
make_data "$WORK/data"
# A normal game flown by the autopilot (which holds the shot); R-One's first attack begins at 1500.
"$KV" --headless --data "$WORK/data" --autopilot --seed 7 --frames 2400 --record "$WORK/rec.txt" \
  2> "$WORK/rec.err" || fail "the recorded run failed: $(cat "$WORK/rec.err")"
replay="$(ls "$XDG_DATA_HOME"/kalvento/replays/*.kvr)"
record_before="$(md5sum < "$WORK/data/Score.dtf")"

run() {  # name, driver
  timeout 250 env KVW="$KV_WINDOWED" WORK="$WORK" REPLAY="$replay" xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$(dirname "$0")/watch_in_window.sh" "$WORK/$1.jsonl" "$2" --frames 1800 || fail "the $1 run failed: $(cat "$WORK/$1.jsonl.err")"
}
frame_of() { events "$1" "$2" | sed -n 1p | python3 -c 'import json, sys; print(json.load(sys.stdin)["frame"])'; }
check() {  # name
  local log="$WORK/$1.jsonl"
  local at
  at="$(frame_of "$log" take_over)" || fail "$1: no take_over event"
  events "$log" seek | python3 -c '
import json, sys
seeks = [json.loads(l) for l in sys.stdin]
assert len(seeks) == 5 and seeks[-1]["to"] < seeks[-1]["from"] and seeks[-1]["frame"] <= int(sys.argv[1]), seeks' "$at" \
    || fail "$1: not four jumps on and one back before the take-over: $(events "$log" seek | tr '\n' ' ')"
  events "$log" end | grep -q '"frame": 1800[,}]' || fail "$1: the game did not run on to frame 1800: $(events "$log" end)"
  local kept
  kept="$(ls -t "$XDG_DATA_HOME"/kalvento/replays/*.kvr | sed -n 1p)"
  [ "$kept" != "$replay" ] || fail "$1: no replay of the taken-over game was kept"
  grep -q '^# mode: practice$' "$kept" && grep -q '^# start: Normal @' "$kept" \
    || fail "$1: the kept replay is no practice game taken over from a normal one: $(grep '^#' "$kept")"
  grep -q "^$((at + 1)) takeover\$" "$kept" || fail "$1: the kept replay does not say where it was taken over"
  diff <(grep -E '^[0-9]+ ' "$replay" | awk -v at="$at" '$1 <= at') \
       <(grep -E '^[0-9]+ ' "$kept" | awk -v at="$at" '$1 <= at') > /dev/null \
    || fail "$1: the kept replay does not hold the original's input up to the take-over"
  grep -E '^[0-9]+ (press|release) ' "$kept" | awk -v at="$at" '$1 > at + 1' | grep -q . \
    || fail "$1: the player's own input after the take-over was not recorded"
  # Alone, headless: the same game to the same end, every checkpoint holding.
  "$KV" --headless --data "$WORK/data" --input "$kept" --log "$WORK/$1-back.jsonl" 2> "$WORK/$1-back.err" \
    || fail "$1: the kept replay did not play back: $(cat "$WORK/$1-back.err")"
  python3 - "$log" "$WORK/$1-back.jsonl" <<'PY' || fail "$1: the playback differs from the game played"
import json, sys
window_only = {"window", "seek", "speed", "pause", "resume"}
played = [l for l in open(sys.argv[1], encoding="utf-8") if json.loads(l)["event"] not in window_only]
back = open(sys.argv[2], encoding="utf-8").readlines()
if played != back:
    for a, b in zip(played, back):
        if a != b: print("played:", a, "back:  ", b, file=sys.stderr); break
    sys.exit(1)
PY
  [ "$(md5sum < "$WORK/data/Score.dtf")" = "$record_before" ] || fail "$1: the taken-over game wrote Score.dtf"
  # R-One's first attack, reached after the take-over: practice, never a normal game's.
  local history
  history="$(awk -F'\t' '$1 == "TROneASprite" {print $3, $5}' "$XDG_DATA_HOME/kalvento/attacks.txt")"
  [ "$history" = "0 $2" ] || fail "$1: R-One's first attack counted '$history', not reached $2 times in practice"
}

# Keys: → four times and ← once, T, then the arrows and the shot key; Esc pauses and resumes.
cat > "$WORK/keys.sh" <<'DRIVER'
sleep 3
for i in 1 2 3 4; do xdotool key Right; logged seek $i; done
xdotool key Left; logged seek 5
xdotool key t; logged take_over 1
xdotool keydown Left; sleep 1; xdotool keyup Left
xdotool keydown z; sleep 1.5; xdotool key Escape; sleep 0.5; xdotool key Escape; sleep 0.5; xdotool keyup z
xdotool keydown Right; sleep 1; xdotool keyup Right
DRIVER
run keys "$WORK/keys.sh"
check keys 1
log="$WORK/keys.jsonl"
[ "$(frame_of "$log" pause)" -gt "$(frame_of "$log" take_over)" ] || fail "Esc did not pause the taken-over game"

# Pad: the d-pad's → four times and ← once, Y, then the d-pad and the shot button.
cat > "$WORK/pad.sh" <<'DRIVER'
feed() { echo "$*" >> "$KALVENTO_TEST_PAD"; }
sleep 3
for i in 1 2 3 4; do feed press dpright; logged seek $i; done
feed press dpleft; logged seek 5
feed press y; logged take_over 1
feed hold dpleft; sleep 1; feed release dpleft
feed hold a; sleep 1.5; feed release a
feed hold dpright; sleep 1; feed release dpright
DRIVER
export KALVENTO_TEST_PAD="$WORK/pad.txt"
: > "$KALVENTO_TEST_PAD"
run pad "$WORK/pad.sh"
unset KALVENTO_TEST_PAD
check pad 2
echo ok
