# The attack history: a normal game through R-One counts both its attacks as reached and ended
# unhurt, an invincible one nothing; a practice game lost at R-One counts apart; a damaged history file is reported and
# left as it is.
source "$(dirname "$0")/lib.sh"
HISTORY="$XDG_DATA_HOME/kalvento/attacks.txt"
make_data "$WORK/data"
# counts PHASE: "normal reached, normal unhurt, practice reached, practice unhurt"
counts() { awk -F'\t' -v p="$1" '$1 == p {print $3, $4, $5, $6}' "$HISTORY"; }

# A ship that cannot be hit says nothing of the attacks: such a game counts nothing.
"$KV" --headless --data "$WORK/data" --autopilot --invincible --seed 2 --history --exit-on stage:2 2> /dev/null \
  || fail "the invincible game failed"
[ ! -e "$HISTORY" ] || fail "an invincible game was counted: $(cat "$HISTORY")"

"$KV" --headless --data "$WORK/data" --autopilot --seed 2 --history --exit-on stage:2 \
      --log "$WORK/normal.jsonl" 2> "$WORK/normal.err" || fail "the normal game failed: $(cat "$WORK/normal.err")"
# The run ends at Stage 2, mid-game: what it counted is kept all the same.
[ -s "$HISTORY" ] || fail "no attack history after the game"
for phase in TROneASprite TROneBSprite; do
  attack="$(events "$WORK/normal.jsonl" phase | python3 -c 'import json,sys
for l in sys.stdin:
    e = json.loads(l)
    if e["class"] == sys.argv[1]: print(e["attack"])' "$phase")"
  [ -n "$attack" ] || fail "the game did not reach $phase"
  awk -F'\t' -v p="$phase" -v a="$attack" '$1 == p && $2 == a' "$HISTORY" | grep -q . || fail "$phase is not under its attack name"
  [ "$(counts "$phase")" = "1 1 0 0" ] || fail "$phase after the normal game: $(counts "$phase")"
done

# A practice game at R-One's first phase, the ship left where it is until the game is over.
"$KV" --headless --data "$WORK/data" --practice TROneASprite --history --exit-on menu --frames 30000 \
      --log "$WORK/practice.jsonl" 2> "$WORK/practice.err" || fail "the practice game failed: $(cat "$WORK/practice.err")"
[ -n "$(events "$WORK/practice.jsonl" game_over)" ] || fail "the practice game was not lost"
[ "$(counts TROneASprite)" = "1 1 1 0" ] || fail "TROneASprite after the practice game: $(counts TROneASprite)"
[ "$(counts TROneBSprite)" = "1 1 0 0" ] || fail "TROneBSprite after the practice game: $(counts TROneBSprite)"

# Without --history a headless run counts nothing.
cp "$HISTORY" "$WORK/before.txt"
"$KV" --headless --data "$WORK/data" --practice TROneASprite --exit-on menu --frames 30000 2> /dev/null
cmp -s "$WORK/before.txt" "$HISTORY" || fail "a headless run without --history counted"

# A damaged file: reported by name and line, not written over.
printf 'TROneASprite\tx\t1\ttwo\t0\t0\n' > "$HISTORY"
cp "$HISTORY" "$WORK/bad.txt"
"$KV" --headless --data "$WORK/data" --practice TROneASprite --history --exit-on menu --frames 30000 \
      2> "$WORK/bad.err" || fail "a damaged history stopped the game"
grep -q "attacks.txt:1: 'two' is no count" "$WORK/bad.err" || fail "damaged history message: $(cat "$WORK/bad.err")"
cmp -s "$WORK/bad.txt" "$HISTORY" || fail "the damaged history was written over"
echo ok
