# A whole normal game from the menu by the autopilot: Stages 1 to 4 with every phase of R-One,
# Marco, Velus and Gadnic in order, the game-clear screen, the Extra Stage unlocked in
# Score.dtf, and then the Extra Stage through Dagar to a second clear.
source "$(dirname "$0")/lib.sh"
make_data "$WORK/data" 0
"$KV" --headless --data "$WORK/data" --autopilot --invincible --seed 1 --frames 120000 \
      --exit-on game_clear:2 --log "$WORK/run.jsonl" 2> "$WORK/stderr.txt" || fail "the autopilot run failed"

python3 - "$WORK/run.jsonl" "$WORK/data/Score.dtf" <<'PY' || fail "the run was not a whole normal game followed by the Extra Stage"
import json, sys
events = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8")]
bad = [e for e in events if e["event"] in ("game_over", "error")]
assert not bad, f"the run lost or failed: {bad[:3]}"

# The course of the run, event by event.
def key(e):
    k = e["event"]
    if k == "start": return (k, e["mode"])
    if k == "stage": return (k, e["stage"])
    if k in ("phase", "phase_end"): return (k, e["class"])
    if k == "endurance_end": return (k, e["attack"])
    if k == "game_clear": return (k,)
    return None
course = [(key(e), e) for e in events if key(e)]
P, E = "phase", "phase_end"
want = [
    ("start", "normal"), ("stage", 1),
    (P, "TROneASprite"), (P, "TROneBSprite"), (E, "TROneASprite"),
    ("endurance_end", "魂弾「天地爆閃弾α」"), ("stage", 2),
    (P, "TMarcoASprite"), (P, "TMarcoBSprite"), (E, "TMarcoASprite"),
    (E, "TMarcoBSprite"), (P, "TMarcoCSprite"),
    ("endurance_end", "魂弾「天地爆閃弾β」"), ("stage", 3),
    (P, "TVelusASprite"), (P, "TVelusBSprite"), (E, "TVelusASprite"),
    (P, "TVelusCSprite"), (E, "TVelusBSprite"), (P, "TVelusDSprite"), (E, "TVelusCSprite"),
    ("endurance_end", "魂弾「天地爆閃弾γ」"), ("stage", 4),
    (P, "TGadnicASprite"), (E, "TGadnicASprite"),
    (P, "TGadnicBSprite"), (E, "TGadnicBSprite"), (P, "TGadnicCSprite"),
    (E, "TGadnicCSprite"), (P, "TGadnicDSprite"), (E, "TGadnicDSprite"), (P, "TGadnicESprite"),
    ("endurance_end", "魂弾「天地爆閃弾・極」"), ("game_clear",),
    ("start", "extra"), ("stage", 5),
    (P, "TDagarASprite"), (P, "TDagarCSprite"), (E, "TDagarASprite"),
    (P, "TDagarBSprite"), (E, "TDagarCSprite"), (P, "TDagarDSprite"), (E, "TDagarBSprite"),
    (P, "TDagarESprite"), (E, "TDagarDSprite"), (P, "TDagarFSprite"), (E, "TDagarESprite"),
    ("endurance_end", "「天地爆閃砲」"), ("game_clear",),
]
got = [k for k, _ in course]
for i, (g, w) in enumerate(zip(got, want)):
    assert g == w, f"event {i} of the course: got {g}, wanted {w}"
assert got == want, f"the course has {len(got)} events, wanted {len(want)}: {got[len(want):] or want[len(got):]}"
ev = {}
for k, e in course:
    ev.setdefault(k, []).append(e)
def one(*k):
    return ev[k][0]

# Boss and attack names as each phase starts.
names = {
    "TROneASprite": ("迎撃兵R-1", "輝式「光閃の守護」"), "TROneBSprite": ("迎撃兵R-1", "魂弾「天地爆閃弾α」"),
    "TMarcoASprite": ("防御兵マルコ", "防壁「漆黒の城壁」"), "TMarcoBSprite": ("防御兵マルコ", "呪壁「轟く城壁」"),
    "TMarcoCSprite": ("防御兵マルコ", "魂弾「天地爆閃弾β」"),
    "TVelusASprite": ("直属兵ヴェルス", "地砲「爆散砲」"), "TVelusBSprite": ("直属兵ヴェルス", "天砲「裂空砲」"),
    "TVelusCSprite": ("直属兵ヴェルス", "極砲「天の三柱」"), "TVelusDSprite": ("直属兵ヴェルス", "魂弾「天地爆閃弾γ」"),
    "TGadnicASprite": ("ガドニック", "転生「龍王再誕」"), "TGadnicBSprite": ("ガドニック王", "炎牙「劫火災厄」"),
    "TGadnicCSprite": ("ガドニック王", "氷牙「絶対零度」"), "TGadnicDSprite": ("ガドニック王", "雷牙「轟音雷神」"),
    "TGadnicESprite": ("ガドニック王", "魂弾「天地爆閃弾・極」"),
}
for cls, (boss, attack) in names.items():
    p = one(P, cls)
    assert (p["boss"], p["attack"]) == (boss, attack), p
for k, e in course:
    if k[0] == P and k[1].startswith("TDagar"):
        assert e["attack"], e

# Bonuses: a fixed part plus a multiple of HP.
def bonus(e, fixed, per_hp):
    assert e["bonus"] >= fixed + per_hp and (e["bonus"] - fixed) % per_hp == 0, (e, fixed, per_hp)
bonus(one("endurance_end", "魂弾「天地爆閃弾β」"), 3000, 200)
bonus(one("endurance_end", "魂弾「天地爆閃弾γ」"), 4000, 350)
bonus(one("endurance_end", "魂弾「天地爆閃弾・極」"), 5000, 500)
bonus(one(E, "TVelusASprite"), 2000, 200)
for cls in ("TVelusBSprite", "TVelusCSprite", "TGadnicASprite", "TGadnicBSprite", "TGadnicCSprite", "TGadnicDSprite"):
    bonus(one(E, cls), 2500, 200)

# Timing: the stage scripts' boss steps, the fades, the countdowns of 50 and 80 seconds.
frame = lambda *k: one(*k)["frame"]
assert frame(P, "TVelusASprite") - frame("stage", 3) == 1800
assert frame(P, "TGadnicASprite") - frame("stage", 4) == 1001 + 85     # the guard fades in
assert frame(P, "TGadnicBSprite") - frame(E, "TGadnicASprite") == 85 + 255  # out, then the king in
assert 49 * 60 < frame("endurance_end", "魂弾「天地爆閃弾γ」") - frame(P, "TVelusDSprite") <= 50 * 60
assert 79 * 60 < frame("endurance_end", "魂弾「天地爆閃弾・極」") - frame(P, "TGadnicESprite") <= 80 * 60
for k in (("stage", 3), ("stage", 4)):
    before = [e for kk, e in course if kk[0] == "endurance_end" and e["frame"] == frame(*k)]
    assert before, f"{k} did not begin on the frame its boss was outlasted"
clear = ev[("game_clear",)]
assert clear[0]["frame"] == frame("endurance_end", "魂弾「天地爆閃弾・極」")

# The first clear unlocked the Extra Stage in the record.
lines = open(sys.argv[2], "rb").read().split(b"\r\n")
assert len(lines) >= 4 and lines[3] == b"1", f"Score.dtf line 4 is {lines[3:4]}, not 1"
PY
echo ok
