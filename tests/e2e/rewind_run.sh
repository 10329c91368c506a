# Rewinding: a practice game held back twice, recorded, plays back alone to the same end with
# every checkpoint, and so does its kept replay; a normal game's rewind lines change nothing;
# rewind lines where no practice game can go back are refused, naming the line.
source "$(dirname "$0")/lib.sh"
make_data "$WORK/data"
{
  echo "1 press shot"; echo "40 press left"; echo "100 release left"
  for f in $(seq 400 460); do echo "$f rewind"; done      # 122 frames back
  echo "480 press right"; echo "520 release right"
  for f in $(seq 1300 1700); do echo "$f rewind"; done    # past ten seconds: stops there
  echo "1800 press bomb"; echo "1801 release bomb"
} > "$WORK/in.txt"
"$KV" --headless --data "$WORK/data" --practice stage1 --seed 5 --input "$WORK/in.txt" --frames 2400 \
  --record "$WORK/rec.txt" --log "$WORK/rec.jsonl" 2> "$WORK/rec.err" || fail "the practice run failed: $(cat "$WORK/rec.err")"
mapfile -t rewinds < <(events "$WORK/rec.jsonl" rewind)
[ ${#rewinds[@]} -eq 2 ] || fail "${#rewinds[@]} rewind events, not 2"
echo "${rewinds[0]}" | grep -q '"from": 399, "to": 277' || fail "the first rewind: ${rewinds[0]}"
python3 - "${rewinds[1]}" <<'PY' || fail "the second rewind went more than ten seconds back: ${rewinds[1]}"
import json, sys
e = json.loads(sys.argv[1])
sys.exit(0 if 590 <= e["from"] - e["to"] <= 600 else 1)
PY
[ "$(grep -c ' rewind$' "$WORK/rec.txt")" -eq 462 ] || fail "the recording does not hold every turn back"
# The recording and the game's kept replay each play back alone to the same end, every
# checkpoint matching (a divergence ends with status 3).
replay="$(ls "$XDG_DATA_HOME"/kalvento/replays/*.kvr)"
for rec in "$WORK/rec.txt" "$replay"; do
  "$KV" --headless --data "$WORK/data" --input "$rec" --log "$WORK/play.jsonl" 2> "$WORK/play.err" \
    || fail "$rec did not play back: $(cat "$WORK/play.err")"
  diff <(events "$WORK/rec.jsonl" end) <(events "$WORK/play.jsonl" end) > /dev/null \
    || fail "$rec ends elsewhere: $(events "$WORK/play.jsonl" end)"
  diff <(events "$WORK/rec.jsonl" rewind) <(events "$WORK/play.jsonl" rewind) > /dev/null || fail "$rec rewinds elsewhere"
done
[ "$(grep -c ' check ' "$WORK/rec.txt")" -ge 8 ] || fail "the recording has too few checkpoints"

# A normal game: the same lines do nothing, and nothing of them is recorded.
normal() {  # name, script
  "$KV" --headless --data "$WORK/data" --seed 5 --input "$2" --frames 2400 --record "$WORK/$1.txt" \
    --log "$WORK/$1.jsonl" 2> "$WORK/$1.err" || fail "the $1 run failed: $(cat "$WORK/$1.err")"
}
{ echo "1 click Button1"; cat "$WORK/in.txt"; } > "$WORK/normal-in.txt"
grep -v ' rewind$' "$WORK/normal-in.txt" > "$WORK/plain-in.txt"
normal normal "$WORK/normal-in.txt"
normal plain "$WORK/plain-in.txt"
cmp -s "$WORK/normal.jsonl" "$WORK/plain.jsonl" || fail "rewind lines changed a normal game"
! grep -q rewind "$WORK/normal.txt" || fail "a normal game's recording holds a rewind"

# Refused: a rewind in a normal game's replay, and one before the practice game has run a frame.
normalReplay="$(ls -t "$XDG_DATA_HOME"/kalvento/replays/*.kvr | sed -n 1p)"
grep -q '^start normal$' "$normalReplay" || fail "no replay of the normal game was kept"
sed -i 's/^\(100 .*\)$/\1\n100 rewind/' "$normalReplay"
line="$(grep -n '^100 rewind$' "$normalReplay" | cut -d: -f1)"
expect_status 1 "$WORK/bad.err" --headless --data "$WORK/data" --input "$normalReplay"
grep -qF "$normalReplay:$line: frame 100 rewinds, but only a practice game can be rewound and this is the replay of a normal game" \
  "$WORK/bad.err" || fail "the normal replay's rewind: $(cat "$WORK/bad.err")"
sed -i '0,/^1 press shot$/s//1 press shot\n1 rewind/' "$WORK/rec.txt"
line="$(grep -n '^1 rewind$' "$WORK/rec.txt" | cut -d: -f1)"
expect_status 1 "$WORK/bad.err" --headless --data "$WORK/data" --input "$WORK/rec.txt"
grep -qF "$WORK/rec.txt:$line: frame 1 rewinds before the practice game has run a frame" "$WORK/bad.err" \
  || fail "the early rewind: $(cat "$WORK/bad.err")"
echo ok
