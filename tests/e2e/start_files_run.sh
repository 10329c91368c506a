# The player's files read at start, broken or hostile: a folder, a pipe, an endless device, a
# huge or binary file in their place. Each is named with its problem, the game goes on with the
# defaults, and the file is left exactly as it was. A pipe or a device would hang the program
# or exhaust its memory if it were read: every run here has a time limit.
source "$(dirname "$0")/lib.sh"
command -v xvfb-run > /dev/null || fail "xvfb-run is missing (scripts/install-deps.sh installs it)"
command -v xdotool > /dev/null || fail "xdotool is missing (scripts/install-deps.sh installs it)"
export XDG_CONFIG_HOME="$WORK/config" HOME="$WORK/home"
CONF="$XDG_CONFIG_HOME/kalvento"
HISTORY="$XDG_DATA_HOME/kalvento/attacks.txt"
mkdir -p "$HOME" "$CONF" "$(dirname "$HISTORY")"
make_data "$WORK/data"
run() {  # the program with ARGS; rc, out.txt and err.txt
  set +e
  timeout 120 "$KV" "$@" > "$WORK/out.txt" 2> "$WORK/err.txt"
  rc=$?
  set -e
}
said() { grep -qF -- "$1" "$WORK/${2:-err.txt}" || fail "no '$1' in: $(head -c 2000 "$WORK/${2:-err.txt}")"; }

# keys.conf, read by --keys without a window.
keys_case() {  # what, expected problem
  run --keys
  [ $rc -eq 0 ] || fail "--keys with keys.conf as $1 gave status $rc: $(head -c 2000 "$WORK/err.txt")"
  said "$CONF/keys.conf: $2; the default keys are used"
  said "up = K, Up, Keypad 8" out.txt
}
mkdir "$CONF/keys.conf"
keys_case "a folder" "is a folder, not a file"
[ -d "$CONF/keys.conf" ] || fail "the folder was removed"
rmdir "$CONF/keys.conf"
mkfifo "$CONF/keys.conf"
keys_case "a pipe" "is not a plain file (a device, a pipe or a socket)"
rm "$CONF/keys.conf"
ln -s /dev/zero "$CONF/keys.conf"
keys_case "/dev/zero" "is not a plain file (a device, a pipe or a socket)"
rm "$CONF/keys.conf"
head -c 200000 /dev/zero | tr '\0' '#' > "$CONF/keys.conf"
cp "$CONF/keys.conf" "$WORK/huge.conf"
keys_case "a huge file" "is 200000 bytes, more than the 65536 such a file may have"
cmp -s "$CONF/keys.conf" "$WORK/huge.conf" || fail "the huge keys.conf was changed"
rm "$CONF/keys.conf"

# attacks.txt, read when a game's counts are added to it.
mkfifo "$HISTORY"
run --headless --data "$WORK/data" --practice TROneASprite --history --frames 120
[ $rc -eq 0 ] || fail "the run with attacks.txt as a pipe gave status $rc: $(cat "$WORK/err.txt")"
said "attacks.txt: is not a plain file (a device, a pipe or a socket); the attack history is left as it is"
[ -p "$HISTORY" ] || fail "the pipe was replaced"
rm "$HISTORY"
# Counts at their largest stay there: the file the game writes must read back.
attack='輝式「光閃の守護」'
printf 'TROneASprite\t%s\t999999999999999\t999999999999999\t999999999999999\t0\n' "$attack" > "$HISTORY"
for n in 1 2; do
  run --headless --data "$WORK/data" --practice TROneASprite --history --frames 120
  [ $rc -eq 0 ] && [ ! -s "$WORK/err.txt" ] || fail "run $n over the largest counts: status $rc, $(cat "$WORK/err.txt")"
done
grep -qxF "$(printf 'TROneASprite\t%s\t999999999999999\t999999999999999\t999999999999999\t0' "$attack")" "$HISTORY" \
  || fail "the largest counts were not kept: $(cat "$HISTORY")"

# A window at the keyboard (unscripted runs read keys.conf and the controller mappings), given
# the focus as a player's would be.
cat > "$WORK/focused.sh" <<'INNER'
set -eu
"$@" & pid=$!
xdotool search --sync --name '^Kalvento$' windowfocus --sync > /dev/null 2>&1 || true
wait $pid
INNER
windowed() {  # name; the run ends after 30 frames
  set +e
  timeout 120 xvfb-run -a -s "-screen 0 1920x1080x24" bash "$WORK/focused.sh" \
    "$KV_WINDOWED" --data "$WORK/data" --frames 30 --log "$WORK/$1.jsonl" > /dev/null 2> "$WORK/err.txt"
  rc=$?
  set -e
  [ $rc -eq 0 ] || fail "the windowed run $1 gave status $rc: $(head -c 2000 "$WORK/err.txt")"
  # The first size of a window without settings: twice the playfield on this screen.
  python3 - "$WORK/$1.jsonl" <<'PY' || fail "$1: the window did not open with the default size"
import json, sys
w = [e for e in map(json.loads, open(sys.argv[1])) if e["event"] == "window"]
assert w and (w[0]["width"], w[0]["height"], w[0]["fullscreen"]) == (642, 962, False), w
PY
}
# Settings nested far deeper than the TOML reader's stack allows; the mappings a pipe; the keys
# an endless device.
python3 -c 'import sys; sys.stdout.write("a." * 300000 + "a = 1\n")' > "$CONF/settings.toml"
cp "$CONF/settings.toml" "$WORK/deep.toml"
mkfifo "$CONF/gamecontrollerdb.txt"
ln -s /dev/zero "$CONF/keys.conf"
windowed first
said "$CONF/settings.toml: is 600006 bytes, more than the 16384 such a file may have; the default settings are used"
said "$CONF/gamecontrollerdb.txt: is not a plain file (a device, a pipe or a socket); SDL's own controller mappings are used"
said "$CONF/keys.conf: is not a plain file (a device, a pipe or a socket); the default keys are used"
cmp -s "$CONF/settings.toml" "$WORK/deep.toml" || fail "the deep settings.toml was changed"
[ -p "$CONF/gamecontrollerdb.txt" ] && [ -L "$CONF/keys.conf" ] || fail "the pipe or the link was replaced"
rm "$CONF/settings.toml" "$CONF/gamecontrollerdb.txt" "$CONF/keys.conf"
# Settings a folder; mappings with a NUL byte (SDL would drop the rest unsaid); keys binary junk.
mkdir "$CONF/settings.toml"
printf '# mine\n03000000de280000ff11000001000000,Steam Virtual Gamepad,a:b0,b:b1,platform:Linux,\n\0\n' > "$CONF/gamecontrollerdb.txt"
printf '\x7fELF\x02\x01\x01\0\0\0\xff\xfe = x\n' > "$CONF/keys.conf"
cp "$CONF/gamecontrollerdb.txt" "$WORK/nul.txt"
cp "$CONF/keys.conf" "$WORK/junk.conf"
windowed second
said "$CONF/settings.toml: is a folder, not a file; the default settings are used"
said "$CONF/gamecontrollerdb.txt:3: a NUL byte: not a text file; SDL's own controller mappings are used"
said "$CONF/keys.conf:1: not a text line; the default keys are used"
[ -d "$CONF/settings.toml" ] || fail "the settings folder was replaced"
cmp -s "$CONF/gamecontrollerdb.txt" "$WORK/nul.txt" && cmp -s "$CONF/keys.conf" "$WORK/junk.conf" \
  || fail "the mappings or the keys were changed"
echo ok
