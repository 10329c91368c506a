# An error inside a frame of the windowed program (a sound missing from Sounds.dxg, played each
# time a bullet touches the ship) is reported and the game goes on: every occurrence is logged
# with its count, the player is shown it once, and the run ends on its own terms.
source "$(dirname "$0")/lib.sh"
DXGTOOL="$3"
command -v xvfb-run > /dev/null || fail "xvfb-run is missing (scripts/install-deps.sh installs it)"
make_data "$WORK/data"
"$DXGTOOL" extract "$RUN_DIR/Sounds.dxg" "$WORK/sounds" > /dev/null
python3 - "$WORK/sounds/manifest.txt" <<'PY'
import re, sys
text = open(sys.argv[1]).read()
cut = re.sub(r"\[ZikiHit\][^\[]*", "", text)
assert cut != text, "no ZikiHit in the manifest"
open(sys.argv[1], "w").write(cut)
PY
rm "$WORK/data/Sounds.dxg"
"$DXGTOOL" pack "$WORK/sounds/manifest.txt" "$WORK/data/Sounds.dxg" > /dev/null
printf '47 press shot\n' > "$WORK/in.txt"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$KV_WINDOWED" --data "$WORK/data" --practice TGadnicASprite --seed 1 --input "$WORK/in.txt" \
    --frames 600 --log "$WORK/run.jsonl" 2> "$WORK/err.txt" || fail "the windowed run stopped: $(cat "$WORK/err.txt")"
events "$WORK/run.jsonl" end | grep -q '"frame": 600' || fail "the run did not go on to its end"
python3 - "$WORK/run.jsonl" <<'PY' || fail "errors: $(events "$WORK/run.jsonl" error | tail -3)"
import json, sys
events = [json.loads(l) for l in open(sys.argv[1])]
errors = [e for e in events if e["event"] == "error"]
assert errors and all("ZikiHit" in e["message"] for e in errors), errors[:3]
assert [e["count"] for e in errors] == list(range(1, len(errors) + 1)), "counts do not run 1, 2, 3 …"
assert len(errors) > 1, "only one occurrence"
shown = [e for e in events if e["event"] == "message" and "ZikiHit" in e["text"]]
assert len(shown) == 1, "shown %d times" % len(shown)
PY
[ "$(grep -c ZikiHit "$WORK/err.txt")" -le 3 ] || fail "stderr is flooded: $(head -5 "$WORK/err.txt")"
echo ok
