# The window at the real keyboard under a virtual X server: keys.conf is written with the
# defaults when missing, a malformed one is reported and left alone, a bad controller mappings
# file is named, and F12 writes numbered PNGs into the pictures folder.
source "$(dirname "$0")/lib.sh"
command -v xvfb-run > /dev/null || fail "xvfb-run is missing (scripts/install-deps.sh installs it)"
command -v xdotool > /dev/null || fail "xdotool is missing (scripts/install-deps.sh installs it)"
export XDG_CONFIG_HOME="$WORK/config" HOME="$WORK/home" XDG_PICTURES_DIR="$WORK/pictures"
mkdir -p "$HOME"
CONF="$XDG_CONFIG_HOME/kalvento/keys.conf"
make_data "$WORK/data"
# One windowed run given the keyboard focus (there is no window manager to give it), then KEYS
# typed into it; the run ends through its own --frames or --exit-on.
cat > "$WORK/focused.sh" <<'INNER'
set -eu
keys="$1"; shift
"$@" & pid=$!
xdotool search --sync --name '^Kalvento$' windowfocus --sync > /dev/null 2>&1 || true
for k in $keys; do sleep 0.3; xdotool key "$k"; done
# On a loaded machine a key can arrive before the window reads its keyboard: the last one is
# pressed again, slowly, until the run ends on its own exit condition.
last="${keys##* }"
for _ in $(seq 30); do
  [ -n "$last" ] && kill -0 $pid 2> /dev/null || break
  sleep 1.5
  kill -0 $pid 2> /dev/null && xdotool key "$last" 2> /dev/null || true
done
wait $pid
INNER
windowed() {  # name, keys to press, program options
  local name="$1" keys="$2"; shift 2
  timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$WORK/focused.sh" "$keys" \
    "$KV_WINDOWED" --data "$WORK/data" --seed 3 --log "$WORK/$name.jsonl" "$@" 2> "$WORK/$name.err" \
    || fail "the $name run failed: $(cat "$WORK/$name.err")"
}

# No keys.conf yet: the run writes the commented defaults; a later run leaves the file as it is.
windowed first "" --frames 30
[ -f "$CONF" ] || fail "no default keys.conf was written"
grep -qxF "up = K, Up, Keypad 8" "$CONF" || fail "the written file: $(cat "$CONF")"
[ "$("$KV" --keys | head -1)" = "Keys from $CONF:" ] || fail "the written file does not read back"
printf '# mine\nshot = A\n' > "$CONF"
windowed second "" --frames 30
[ "$(cat "$CONF")" = "$(printf '# mine\nshot = A')" ] || fail "an existing keys.conf was rewritten"
[ -z "$(events "$WORK/second.jsonl" error)" ] || fail "a good keys.conf was reported"

# A malformed keys.conf and a bad controller mappings file: both named, the run goes on.
printf 'shot = A\nshot = B\n' > "$CONF"
cp "$CONF" "$WORK/bad.conf"
echo "not a mapping" > "$XDG_CONFIG_HOME/kalvento/gamecontrollerdb.txt"
windowed bad "" --frames 30
grep -qF "$CONF:2: 'shot' is already set on line 1; the default keys are used" "$WORK/bad.err" \
  || fail "the bad keys.conf was not reported: $(cat "$WORK/bad.err")"
[ "$(events "$WORK/bad.jsonl" error | grep -c "already set on line 1")" -eq 1 ] || fail "the bad keys.conf was not logged once"
grep -qF "gamecontrollerdb.txt:1: not a controller mapping" "$WORK/bad.err" \
  || fail "the bad mappings file was not reported: $(cat "$WORK/bad.err")"
cmp -s "$CONF" "$WORK/bad.conf" || fail "the malformed keys.conf was changed"
events "$WORK/bad.jsonl" end | grep -q '"frame": 30' || fail "the run with bad files did not go on"
rm "$XDG_CONFIG_HOME/kalvento/gamecontrollerdb.txt" "$CONF"

# F12 twice: two PNGs in the pictures folder, each logged with its path.
windowed shots "F12 F12" --frames 3600 --exit-on screenshot:2
mapfile -t paths < <(events "$WORK/shots.jsonl" screenshot | python3 -c '
import json, sys
for line in sys.stdin: print(json.loads(line)["path"])')
[ ${#paths[@]} -eq 2 ] || fail "${#paths[@]} screenshot events, not 2"
[ "${paths[0]}" != "${paths[1]}" ] || fail "both screenshots went to ${paths[0]}"
for p in "${paths[@]}"; do
  [[ "$p" =~ ^$XDG_PICTURES_DIR/kalvento-[0-9]{8}-[0-9]{6}(-2)?\.png$ ]] || fail "screenshot name $p"
  [ "$(head -c 8 "$p" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "$p is not a PNG"
  grep -qF "screenshot saved to $p" "$WORK/shots.err" || fail "stderr does not say where $p is"
done
# Two pictures in the same second: the second is numbered.
stamp0="$(basename "${paths[0]}" .png)" stamp1="$(basename "${paths[1]}" .png)"
if [ "${stamp0:0:24}" = "${stamp1:0:24}" ]; then
  [ "$stamp1" = "$stamp0-2" ] || fail "the second picture of one second is ${paths[1]}"
fi

# Without XDG_PICTURES_DIR: the folder user-dirs.dirs names, else (no ~/Pictures either) the
# data folder's screenshots.
unset XDG_PICTURES_DIR
printf '# xdg-user-dirs\nXDG_PICTURES_DIR="$HOME/Shots"\n' > "$XDG_CONFIG_HOME/user-dirs.dirs"
windowed userdirs "F12" --frames 3600 --exit-on screenshot:1
ls "$HOME/Shots"/kalvento-*.png > /dev/null 2>&1 || fail "no picture in the user-dirs.dirs folder: $(cat "$WORK/userdirs.err")"
rm "$XDG_CONFIG_HOME/user-dirs.dirs"
export XDG_DATA_HOME="$WORK/data-home"
windowed datahome "F12" --frames 3600 --exit-on screenshot:1
ls "$XDG_DATA_HOME/kalvento/screenshots"/kalvento-*.png > /dev/null 2>&1 \
  || fail "no picture in the data folder: $(cat "$WORK/datahome.err")"
echo ok
