# Gadnic's cross-fade ends with its game. A practice game at the guard: fire from below until
# the guard falls, then die while the king is still fading in. A new game started as soon as
# the menu is back, or a little later, must get none of the king: no phase, no boss, no music.
source "$(dirname "$0")/lib.sh"
make_data "$WORK/data"
play() {  # input file, log file, frames
  "$KV" --headless --data "$WORK/data" --seed 1 --practice TGadnicASprite --input "$1" \
        --frames "$3" --log "$2" 2>/dev/null || fail "the practice run with $1 failed"
}
printf '1 press shot\n1 press slow\n1 press up\n25 release up\n' > "$WORK/die.txt"
play "$WORK/die.txt" "$WORK/die.jsonl" 1000
menu=$(python3 - "$WORK/die.jsonl" <<'PY'
import json, sys
events = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8")]
assert not [e for e in events if e["event"] == "error"], "the run reported an error"
def frame(name, **fields):
    for e in events:
        if e["event"] == name and all(e.get(k) == v for k, v in fields.items()):
            return e["frame"]
    sys.exit(f"the guard was not shot down before the ship was lost: no {name} {fields}")
fall = frame("phase_end", **{"class": "TGadnicASprite"})
over = frame("game_over")
menu = frame("menu")
# The guard fades out in 85 frames and the king in 255: he must still be fading at the menu.
assert fall < over and menu < fall + 85 + 255, (fall, over, menu)
print(menu)
PY
) || fail "the input no longer sets up a death during the king's fade"

for delay in 1 20; do
  click=$((menu + delay))
  cp "$WORK/die.txt" "$WORK/again.txt"
  echo "$click click Button1" >> "$WORK/again.txt"
  play "$WORK/again.txt" "$WORK/again-$delay.jsonl" $((click + 700))
  python3 - "$WORK/again-$delay.jsonl" <<'PY' || fail "the king's fade went on into a new game started $delay frames after the menu"
import json, sys
events = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8")]
starts = [i for i, e in enumerate(events) if e["event"] == "start"]
assert len(starts) == 2, "the second game did not start"
second = events[starts[1]:]
assert second[1]["event"] == "stage" and second[1]["stage"] == 1, second[:2]
leaks = [e for e in second if e["event"] in ("phase", "phase_end", "game_over", "menu", "game_clear")]
assert not leaks, leaks
PY
done
echo ok
