# keys.conf in the configuration folder: --keys shows the table, --bind changes it with a .bak
# copy, a malformed file is reported and the defaults are used; headless runs do not read it.
source "$(dirname "$0")/lib.sh"
export XDG_CONFIG_HOME="$WORK/config" HOME="$WORK/home"
mkdir -p "$HOME"
CONF="$XDG_CONFIG_HOME/kalvento/keys.conf"
run() {  # status, stdout and stderr of one run
  set +e
  "$KV" "$@" > "$WORK/out.txt" 2> "$WORK/err.txt"
  rc=$?
  set -e
}
has() { grep -qxF -- "$2" "$WORK/$1" || fail "$1 lacks '$2': $(cat "$WORK/$1")"; }

run --keys
[ $rc -eq 0 ] || fail "--keys gave status $rc"
has out.txt "Keys: defaults (no $CONF):"
has out.txt "up = K, Up, Keypad 8"
has out.txt "bomb = X, Return"
has out.txt "slow = Shift"
has out.txt "button9 = F2"
[ ! -e "$CONF" ] || fail "--keys wrote a file"

run --bind shot=A,Space --bind "slow=right shift"
[ $rc -eq 0 ] || fail "--bind gave status $rc: $(cat "$WORK/err.txt")"
has out.txt "Keys from $CONF:"
has out.txt "shot = A, Space"
has out.txt "slow = Right Shift"
has out.txt "up = K, Up, Keypad 8"
[ "$(head -c 1 "$CONF")" = "#" ] || fail "the new file has no comments"
[ ! -e "$CONF.bak" ] || fail "a .bak was made with no file before"
cp "$CONF" "$WORK/first.conf"
echo "# my note" >> "$CONF"
cp "$CONF" "$WORK/noted.conf"

run --bind bomb=C
[ $rc -eq 0 ] || fail "the second --bind gave status $rc"
cmp -s "$CONF.bak" "$WORK/noted.conf" || fail "keys.conf.bak is not the file as it was"
has out.txt "bomb = C"
has out.txt "shot = A, Space"
grep -qxF "# my note" "$CONF" || fail "--bind lost the player's comment"
ls "$XDG_CONFIG_HOME/kalvento" | grep -v '^keys.conf' && fail "a temporary file was left behind"

# A bad --bind is a usage error and changes nothing.
cp "$CONF" "$WORK/before.conf"
run --bind fire=Z
[ $rc -eq 2 ] || fail "--bind fire=Z gave status $rc"
grep -qF "unknown state 'fire'" "$WORK/err.txt" || fail "bad state message: $(cat "$WORK/err.txt")"
run --bind "shot=Z,X,C,V"
[ $rc -eq 2 ] || fail "four keys gave status $rc"
grep -qF "more than three keys for 'shot'" "$WORK/err.txt" || fail "four keys message: $(cat "$WORK/err.txt")"
cmp -s "$CONF" "$WORK/before.conf" || fail "a refused --bind changed the file"

# A malformed file: reported with its line, the defaults used, the file left alone.
printf 'shot = Z\nup = Nope\n' > "$CONF"
cp "$CONF" "$WORK/bad.conf"
run --keys
[ $rc -eq 0 ] || fail "--keys on a bad file gave status $rc"
grep -qF "$CONF:2: unknown key 'Nope'" "$WORK/err.txt" || fail "bad file message: $(cat "$WORK/err.txt")"
has out.txt "Keys: defaults ($CONF is not usable):"
has out.txt "up = K, Up, Keypad 8"
run --bind bomb=C
[ $rc -eq 1 ] || fail "--bind over a bad file gave status $rc"
grep -qF "$CONF:2: unknown key 'Nope'" "$WORK/err.txt" || fail "--bind bad file message: $(cat "$WORK/err.txt")"
cmp -s "$CONF" "$WORK/bad.conf" || fail "--bind rewrote a malformed file"

# Headless runs keep the default table and do not look at the file.
rm -rf "$XDG_CONFIG_HOME"
make_data "$WORK/data"
"$KV" --headless --frames 3 --data "$WORK/data" 2> "$WORK/err.txt" || fail "the headless run failed"
[ ! -e "$XDG_CONFIG_HOME" ] || fail "a headless run wrote the configuration folder"
echo ok
