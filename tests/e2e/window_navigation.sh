# The whole way from the menu through a game to the name entry and back, under a virtual X
# server, with keys only (xdotool) and then with a virtual gamepad only (KALVENTO_TEST_PAD):
# a game started from the focused "Normal", a name entered (typed, or with the character
# picker) and confirmed. The record is -1, so the game over that follows makes a new record.
source "$(dirname "$0")/lib.sh"
command -v xvfb-run > /dev/null || fail "xvfb-run is missing (scripts/install-deps.sh installs it)"
command -v xdotool > /dev/null || fail "xdotool is missing (scripts/install-deps.sh installs it)"
export XDG_CONFIG_HOME="$WORK/config" HOME="$WORK/home"
mkdir -p "$HOME"

# DRIVER runs beside the program with the log's path; the run ends on the menu coming back.
cat > "$WORK/run.sh" <<'INNER'
set -eu
log="$1" driver="$2"; shift 2
"$@" & pid=$!
xdotool search --sync --name '^Kalvento$' windowfocus --sync > /dev/null 2>&1 || true
# Waits until the log has EVENT (the program flushes each line).
await() {
  for _ in $(seq 600); do
    grep -qE "\"event\": ?\"$1\"" "$log" 2> /dev/null && return 0
    kill -0 $pid 2> /dev/null || return 1
    sleep 0.5
  done
  return 1
}
source "$driver"
wait $pid
INNER
windowed() {  # name, driver script, program options
  local name="$1" driver="$2"; shift 2
  make_data "$WORK/$name"
  printf '\r\n-1\r\n\r\n0\r\n' > "$WORK/$name/Score.dtf"
  timeout 400 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$WORK/run.sh" "$WORK/$name.jsonl" "$driver" \
    "$KV_WINDOWED" --data "$WORK/$name" --seed 3 --log "$WORK/$name.jsonl" --exit-on menu:1 --frames 30000 "$@" \
    2> "$WORK/$name.err" || fail "the $name run failed: $(cat "$WORK/$name.err")"
}
record_line() { sed -n "${2}p" "$1/Score.dtf" | tr -d '\r'; }

# Keys: Esc and P at the menu do nothing; Z presses the focused "Normal"; the name typed, Down to
# the comment, Down to "決定", Enter. The game in between is played by nobody.
cat > "$WORK/keys.sh" <<'DRIVER'
sleep 1; xdotool key Escape; sleep 0.3; xdotool key p; sleep 0.3; xdotool key z
await name_entry
sleep 0.5; xdotool type --delay 80 "Taro"
xdotool key Down; sleep 0.3; xdotool type --delay 80 "Hi there"
xdotool key Down; sleep 0.3; xdotool key Return
DRIVER
windowed keys "$WORK/keys.sh"
[ "$(events "$WORK/keys.jsonl" start | grep -c '"mode": "normal"')" -eq 1 ] || fail "Z did not start one normal game"
[ -n "$(events "$WORK/keys.jsonl" name_entry)" ] || fail "the game did not end in the name entry"
[ "$(record_line "$WORK/keys" 1)" = "Taro" ] || fail "the name in the record: $(record_line "$WORK/keys" 1)"
[ "$(record_line "$WORK/keys" 3)" = "Hi there" ] || fail "the comment in the record: $(record_line "$WORK/keys" 3)"
# Only the fields took the typing: no bomb, no pause, no second game.
[ -z "$(events "$WORK/keys.jsonl" pause)" ] || fail "a key paused the game"

# Pad: A starts; in the name entry A opens the picker on the name (on "A"): A, right, A gives
# "AB"; up wraps to the bottom row, right twice to "決定"; down twice to "決定" of the window.
cat > "$WORK/pad.sh" <<'DRIVER'
feed() { echo "$*" >> "$KALVENTO_TEST_PAD"; }
sleep 1; feed press a
await name_entry
sleep 0.5
for c in "press a" "press a" "press dpright" "press a" "press dpup" "press dpright" "press dpright" "press a" \
         "press dpdown" "press dpdown" "press a"; do feed "$c"; done
DRIVER
export KALVENTO_TEST_PAD="$WORK/pad.txt"
: > "$KALVENTO_TEST_PAD"
windowed pad "$WORK/pad.sh"
unset KALVENTO_TEST_PAD
[ "$(events "$WORK/pad.jsonl" start | grep -c '"mode": "normal"')" -eq 1 ] || fail "A did not start one normal game"
[ "$(record_line "$WORK/pad" 1)" = "AB" ] || fail "the picked name in the record: '$(record_line "$WORK/pad" 1)'"
echo ok
