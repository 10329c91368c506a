# The window on a 1920 × 1080 screen with a window manager: its first size fits the screen,
# F11 and Alt+Enter switch full screen and back, a resize is kept, and the next start opens as
# the last one was left. A settings file that cannot be read is named and left alone.
source "$(dirname "$0")/lib.sh"
needs_window_tools
export XDG_CONFIG_HOME="$WORK/config" HOME="$WORK/home"
mkdir -p "$HOME"
SETTINGS="$XDG_CONFIG_HOME/kalvento/settings.toml"
make_data "$WORK/data"
echo "# nothing: the window is driven from outside" > "$WORK/none.txt"

# Inside the X server: openbox, then each run with its actions (key:K, size:W H, pause:S).
cat > "$WORK/inner.sh" <<'INNER'
set -eu
openbox > /dev/null 2>&1 & wm=$!
trap 'kill $wm 2> /dev/null || true' EXIT
sleep 1
run() {  # name, frames, actions…
  local name="$1" frames="$2"; shift 2
  "$KVW" --data "$WORK/data" --seed 1 --input "$WORK/none.txt" --frames "$frames" \
    --log "$WORK/$name.jsonl" 2> "$WORK/$name.err" & local pid=$!
  local wid
  wid="$(xdotool search --sync --name '^Kalvento$' | head -1)"
  for a in "$@"; do
    sleep 1.5
    case "$a" in
      key:*) xdotool windowfocus --sync "$wid" 2> /dev/null || true; xdotool key "${a#key:}" ;;
      size:*) xdotool windowsize "$wid" ${a#size:} ;;
    esac
  done
  wait $pid
  cp "$SETTINGS" "$WORK/$name.settings" 2> /dev/null || true
}
run first 720 key:F11 key:F11 "size:700 1000"
run second 300 key:F11
run third 300 key:alt+Return
printf '[window]\nscale = "big"\n' > "$SETTINGS"
run bad 30
INNER
KVW="$KV_WINDOWED" WORK="$WORK" SETTINGS="$SETTINGS" timeout 240 \
  xvfb-run -a -s "-screen 0 1920x1080x24" bash "$WORK/inner.sh" || fail "the windowed runs failed: $(cat "$WORK"/*.err)"

# The window events of a run as "WIDTHxHEIGHT full|windowed", one a line.
sizes() { python3 -c '
import json, sys
for line in open(sys.argv[1]):
    e = json.loads(line)
    if e["event"] == "window":
        print("%dx%d %s" % (e["width"], e["height"], "full" if e["fullscreen"] else "windowed"))
' "$1"; }
first="$(sizes "$WORK/first.jsonl")"
[ "$(echo "$first" | head -1)" = "642x962 windowed" ] || fail "first start is not twice the playfield: $first"
echo "$first" | grep -qx "1920x1080 full" || fail "F11 did not go to full screen: $first"
echo "$first" | sed -n '/full/,$p' | grep -qx "642x962 windowed" || fail "F11 did not come back: $first"
[ "$(echo "$first" | tail -1)" = "700x1000 windowed" ] || fail "the resize was not seen: $first"
grep -qx "width = 700" "$WORK/first.settings" && grep -qx "height = 1000" "$WORK/first.settings" \
  || fail "size not kept: $(cat "$WORK/first.settings")"

second="$(sizes "$WORK/second.jsonl")"
[ "$(echo "$second" | head -1)" = "700x1000 windowed" ] || fail "the kept size was not used: $second"
grep -qx "fullscreen = true" "$WORK/second.settings" || fail "full screen not kept: $(cat "$WORK/second.settings")"

third="$(sizes "$WORK/third.jsonl")"
echo "$third" | head -2 | grep -qx "1920x1080 full" || fail "full screen was not restored: $third"
[ "$(echo "$third" | tail -1)" = "700x1000 windowed" ] || fail "Alt+Enter did not leave full screen: $third"
[ -z "$(events "$WORK/third.jsonl" error)" ] || fail "errors: $(events "$WORK/third.jsonl" error)"

grep -q "$SETTINGS" "$WORK/bad.err" || fail "the bad settings file was not named: $(cat "$WORK/bad.err")"
[ "$(cat "$SETTINGS")" = "$(printf '[window]\nscale = "big"')" ] || fail "the bad settings file was changed"
[ "$(sizes "$WORK/bad.jsonl" | head -1)" = "642x962 windowed" ] || fail "the defaults were not used"
echo ok
