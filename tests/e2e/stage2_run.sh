# The autopilot on past R-One: outlasting its endurance phase pays the bonus and starts Stage 2,
# whose script brings Marco on its 1800th frame; Marco's phases follow in order, and its
# endurance phase ends on the 45th tick of the one-second clock.
source "$(dirname "$0")/lib.sh"
make_data "$WORK/data"
"$KV" --headless --data "$WORK/data" --autopilot --invincible --seed 1 --frames 20000 \
      --exit-on endurance_end:2 --log "$WORK/run.jsonl" 2>/dev/null || fail "the autopilot run failed"

python3 - "$WORK/run.jsonl" <<'PY' || fail "the run did not go from R-One through Stage 2 to the end of Marco"
import json, sys
events = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8")]
def first(name, after=-1, **fields):
    for i, e in enumerate(events):
        if i > after and e["event"] == name and all(e.get(k) == v for k, v in fields.items()):
            return i, e
    sys.exit(f"no {name} event with {fields} after line {after + 1}")
assert not [e for e in events if e["event"] in ("game_over", "error")], "the run lost or failed"

# R-One outlasted: 2000 + 150 × HP, then Stage 2 in the same frame.
i, r = first("endurance_end", attack="魂弾「天地爆閃弾α」")
assert r["bonus"] >= 2000 and (r["bonus"] - 2000) % 150 == 0, r
i, s = first("stage", i, stage=2)
assert s["frame"] == r["frame"], (r, s)

# Marco, phase by phase.
i, a = first("phase", i, **{"class": "TMarcoASprite"})
assert (a["boss"], a["attack"]) == ("防御兵マルコ", "防壁「漆黒の城壁」"), a
assert a["frame"] - s["frame"] == 1800, (s, a)
i, b = first("phase", i, **{"class": "TMarcoBSprite"})
assert (b["boss"], b["attack"]) == ("防御兵マルコ", "呪壁「轟く城壁」"), b
j, end_a = first("phase_end", i, **{"class": "TMarcoASprite"})
assert end_a["frame"] == b["frame"] and (end_a["bonus"] - 1500) % 100 == 0, end_a
# Phase 2 pays its bonus before phase 3 begins.
i, end_b = first("phase_end", j, **{"class": "TMarcoBSprite"})
assert (end_b["bonus"] - 1800) % 100 == 0, end_b
i, c = first("phase", i, **{"class": "TMarcoCSprite"})
assert (c["boss"], c["attack"]) == ("防御兵マルコ", "魂弾「天地爆閃弾β」"), c
assert c["frame"] == end_b["frame"], (end_b, c)

# The countdown of 45 runs on the clock's ticks, one every 60 frames of a headless run.
i, e = first("endurance_end", i, attack="魂弾「天地爆閃弾β」")
assert 44 * 60 < e["frame"] - c["frame"] <= 45 * 60, (c, e)
PY
echo ok
