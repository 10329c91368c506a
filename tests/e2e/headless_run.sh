# A headless run from the menu: the title is drawn, the log ends with `end`, screenshots appear.
source "$(dirname "$0")/lib.sh"
make_data "$WORK/data"
"$KV" --headless --data "$WORK/data" --frames 120 --seed 7 --log "$WORK/run.jsonl" \
      --screenshot "$WORK/shot.png" --screenshot-at 1,120 || fail "the run failed"
[ -s "$WORK/shot-1.png" ] && [ -s "$WORK/shot-120.png" ] || fail "no screenshots"
[ ! -e "$WORK/shot.png" ] || fail "--screenshot-at must replace the last-frame picture"
end=$(events "$WORK/run.jsonl" end)
[ -n "$end" ] || fail "no end event"
echo "$end" | grep -q '"frame": 120' || fail "end is not on frame 120: $end"
[ -z "$(events "$WORK/run.jsonl" error)" ] || fail "errors: $(events "$WORK/run.jsonl" error)"
# The title screen is not black: its pixels were drawn.
python3 - "$WORK/shot-120.png" <<'PY' || fail "the title frame is empty"
import sys, zlib, struct
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n"
pos, idat, w, h = 8, b"", 0, 0
while pos < len(data):
    n, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + n]
    if kind == b"IHDR":
        w, h = struct.unpack(">II", body[:8])
    if kind == b"IDAT":
        idat += body
    pos += 12 + n
assert (w, h) == (321, 481), (w, h)
raw = zlib.decompress(idat)
assert sum(1 for b in raw if b > 40) > 10000
PY
# The same seed and input replay the same log.
printf '1 click Button1\n10 press shot\n40 press left\n80 release shot\n' > "$WORK/in.txt"
"$KV" --headless --data "$WORK/data" --frames 200 --seed 3 --input "$WORK/in.txt" --log "$WORK/a.jsonl" --record "$WORK/rec.txt"
"$KV" --headless --data "$WORK/data" --frames 200 --seed 3 --input "$WORK/rec.txt" --log "$WORK/b.jsonl"
cmp -s "$WORK/a.jsonl" "$WORK/b.jsonl" || fail "a recording does not replay to the same log"
[ -n "$(events "$WORK/a.jsonl" start)" ] || fail "clicking Normal did not start a game"
echo ok
