# The language is a matter of display: the HUD follows --lang and the desktop's variables (the
# C locale and Japanese alike showing the game's own texts), while a practice game recorded in
# English plays back in Japanese to the same end and writes the same files.
source "$(dirname "$0")/lib.sh"
make_data "$WORK/data"

# hud NAME "VARIABLES" "OPTIONS": R-One's first attack on the HUD, the desktop's locale variables
# set to VARIABLES only.
hud() {
  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG $2 "$KV" --headless --data "$WORK/data" --seed 1 \
      --practice TROneASprite --frames 90 --screenshot "$WORK/$1.png" $3 2> "$WORK/$1.err" \
      || fail "$1: the run failed: $(cat "$WORK/$1.err")"
  [ ! -s "$WORK/$1.err" ] || fail "$1: $(cat "$WORK/$1.err")"
}
hud c "LANG=C" ""
hud none "" ""
hud ja "LANG=ja_JP.UTF-8" ""
hud ja_option "LANGUAGE=en LANG=en_US.UTF-8" "--lang ja"
hud en "LANGUAGE=en" ""
hud en_option "LANG=C.UTF-8" "--lang en"
hud de "LANG=de_DE.UTF-8" ""
for n in none ja ja_option; do cmp -s "$WORK/c.png" "$WORK/$n.png" || fail "the $n HUD is not the C locale's"; done
for n in en_option de; do cmp -s "$WORK/en.png" "$WORK/$n.png" || fail "the $n HUD is not the English one"; done
! cmp -s "$WORK/c.png" "$WORK/en.png" || fail "the English HUD is the Japanese one"

# A practice game recorded in English, played back in Japanese.
make_data "$WORK/rec"
make_data "$WORK/play"
XDG_DATA_HOME="$WORK/rec-home" "$KV" --headless --data "$WORK/rec" --lang en --practice TVelusASprite --autopilot \
    --invincible --seed 5 --exit-on stage:4 --record "$WORK/game.txt" --log "$WORK/rec.jsonl" \
    2> "$WORK/rec.err" || fail "the recorded run failed: $(cat "$WORK/rec.err")"
[ -n "$(events "$WORK/rec.jsonl" endurance_end)" ] || fail "the practice game did not get through Velus"
XDG_DATA_HOME="$WORK/play-home" "$KV" --headless --data "$WORK/play" --lang ja \
    --input "$WORK/game.txt" --log "$WORK/play.jsonl" 2> "$WORK/play.err" \
    || fail "the playback failed: $(cat "$WORK/play.err")"
cmp -s "$WORK/rec.jsonl" "$WORK/play.jsonl" || fail "the playback's log differs: $(diff "$WORK/rec.jsonl" "$WORK/play.jsonl" | head -5)"
grep -q '極砲「天の三柱」' "$WORK/rec.jsonl" || fail "the log lacks the game's own attack name"

# The attack history of a game played in English holds the game's own names.
XDG_DATA_HOME="$WORK/hist-home" "$KV" --headless --data "$WORK/rec" --lang en --practice TVelusASprite --autopilot \
    --seed 5 --history --frames 3000 --log "$WORK/hist.jsonl" 2> "$WORK/hist.err" || fail "the counted run failed"
attack="$(events "$WORK/hist.jsonl" phase | sed -n 1p | python3 -c 'import json,sys; print(json.loads(sys.stdin.read())["attack"])')"
grep -qF "$attack" "$WORK/hist-home/kalvento/attacks.txt" || fail "the history lacks the game's own attack name $attack"
! grep -rqE 'Heaven.s Pillars|Sky Splitter|Scatter Blast|Earth Cannon' "$WORK/rec-home" "$WORK/hist-home" "$WORK/rec.jsonl" "$WORK/game.txt" "$WORK/rec" \
  || fail "English was written to a file"
echo ok
