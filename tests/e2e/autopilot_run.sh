# The autopilot from the menu through Stage 1: a normal game starts, R-One's first phase comes
# on the script's 1500th frame and is shot down, and its endurance phase follows. The same
# seed gives the same run, and the run's recording replays to the same log.
source "$(dirname "$0")/lib.sh"
make_data "$WORK/data"
run() { "$KV" --headless --data "$WORK/data" --seed 1 "$@"; }
run --autopilot --invincible --frames 6000 --log "$WORK/run.jsonl" --record "$WORK/rec.txt" 2>/dev/null \
  || fail "the autopilot run failed"

python3 - "$WORK/run.jsonl" <<'PY' || fail "the autopilot run did not go through Stage 1 to R-One's endurance phase"
import json, sys
events = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8")]
def first(name, **fields):
    for e in events:
        if e["event"] == name and all(e.get(k) == v for k, v in fields.items()):
            return e
    sys.exit(f"no {name} event with {fields}")
start = first("start")
assert start["mode"] == "normal", start
stage = first("stage", stage=1)
a = first("phase", **{"class": "TROneASprite"})
assert a["boss"] == "迎撃兵R-1" and a["attack"] == "輝式「光閃の守護」", a
assert a["frame"] - stage["frame"] == 1500, (stage, a)
end = first("phase_end", **{"class": "TROneASprite"})
assert end["frame"] > a["frame"] and end["bonus"] > 0, end
b = first("phase", **{"class": "TROneBSprite"})
assert b["frame"] == end["frame"] and b["attack"] == "魂弾「天地爆閃弾α」", b
assert first("end")["frame"] == 6000
assert not [e for e in events if e["event"] == "game_over"], "an invincible pilot lost"
PY

# No clock and no dice of its own: a second run is the same run, and so is its recording.
run --autopilot --invincible --frames 6000 --log "$WORK/again.jsonl" 2>/dev/null
cmp -s "$WORK/run.jsonl" "$WORK/again.jsonl" || fail "the same seed gave another autopilot run"
run --invincible --frames 6000 --input "$WORK/rec.txt" --log "$WORK/replay.jsonl" 2>/dev/null
cmp -s "$WORK/run.jsonl" "$WORK/replay.jsonl" || fail "the autopilot's recording does not replay to the same log"

# Without the testing aid the pilot plays until the game ends; beating the empty record, it
# signs the name entry, and the record reaches Score.dtf before the menu returns.
make_data "$WORK/mortal"
"$KV" --headless --data "$WORK/mortal" --seed 1 --autopilot --frames 100000 --exit-on menu \
      --log "$WORK/mortal.jsonl" 2>/dev/null || fail "the autopilot run without --invincible failed"
python3 - "$WORK/mortal.jsonl" "$WORK/mortal/Score.dtf" <<'PY' || fail "the game did not end through the name entry to the menu"
import json, sys
events = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8")]
names = [e["event"] for e in events]
assert "menu" in names, "no menu within the frame limit"
menu = names.index("menu")
ends = [e for e in events[:menu] if e["event"] in ("game_over", "game_clear")]
assert len(ends) == 1, ends
entry = [e for e in events[:menu] if e["event"] == "name_entry"]
assert len(entry) == 1 and entry[0]["score"] == ends[0]["score"] > 0, (entry, ends)
lines = open(sys.argv[2], "rb").read().split(b"\r\n")
assert lines[0] == b"Autopilot" and int(lines[1]) == ends[0]["score"], lines
PY
echo ok
