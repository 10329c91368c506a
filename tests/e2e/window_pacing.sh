# The heaviest attack in a window under a window manager, on an X server whose OpenGL runs on the
# CPU: the window draws with SDL's software renderer instead, shows its frames on time, keeps
# the game's speed, and its recording plays back headless to the same end. --renderer gpu keeps
# OpenGL all the same.
source "$(dirname "$0")/lib.sh"
for tool in xvfb-run openbox; do
  command -v $tool > /dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done
make_data "$WORK/data" 1
printf '1 press shot\n' > "$WORK/keys.txt"
printf '# nobody at the keys\n' > "$WORK/none.txt"
cat > "$WORK/inner.sh" <<'INNER'
set -eu
openbox > /dev/null 2>&1 & wm=$!
trap 'kill $wm 2> /dev/null || true' EXIT
sleep 1
"$KVW" --data "$WORK/data" --practice TDagarESprite --invincible --seed 3 --frames 600 --input "$WORK/keys.txt" \
       --record "$WORK/rec.txt" --stats "$WORK/stats.txt" --log "$WORK/run.jsonl" 2> "$WORK/run.err"
"$KVW" --data "$WORK/data" --renderer gpu --frames 20 --input "$WORK/none.txt" --log "$WORK/gpu.jsonl" 2> "$WORK/gpu.err"
INNER
KVW="$KV_WINDOWED" WORK="$WORK" timeout 250 xvfb-run -a -s "-screen 0 1920x1080x24" bash "$WORK/inner.sh" \
  || fail "the windowed runs failed: $(cat "$WORK/run.err" "$WORK/gpu.err" 2> /dev/null)"
stat() { awk -v k="$1" '$1 == k {print $2}' "$WORK/stats.txt"; }
events "$WORK/run.jsonl" window | grep -q '"renderer": "software", "reason": "the OpenGL renderer .* runs on the CPU"' \
  || fail "the window did not leave OpenGL on the CPU: $(events "$WORK/run.jsonl" window)"
[ "$(stat renderer)" = software ] || fail "stats name the renderer '$(stat renderer)'"
[ "$(stat frames_run)" -eq 600 ] || fail "the game ran $(stat frames_run) frames, not 600"
# Generous bounds for a busy machine; OpenGL on the CPU showed about a frame in three here, nearly
# all of them late.
shown="$(stat frames_shown)" late="$(stat frames_late)"
[ "$shown" -ge 400 ] && [ $((late * 2)) -le "$shown" ] || fail "pacing: $(tr '\n' ' ' < "$WORK/stats.txt")"
events "$WORK/gpu.jsonl" window | grep -q '"renderer": "opengl", "gl": ' \
  || fail "--renderer gpu did not keep OpenGL: $(events "$WORK/gpu.jsonl" window)"
"$KV" --headless --data "$WORK/data" --invincible --frames 600 --input "$WORK/rec.txt" --log "$WORK/play.jsonl" 2> "$WORK/play.err" \
  || fail "the window's recording did not play back: $(cat "$WORK/play.err")"
want="$(events "$WORK/run.jsonl" end)" got="$(events "$WORK/play.jsonl" end)"
[ -n "$want" ] && [ "$want" = "$got" ] || fail "the window ended with $want, its replay with $got"
echo ok
