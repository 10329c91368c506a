# The program in a real window under a virtual X server: it runs frames and takes a screenshot.
source "$(dirname "$0")/lib.sh"
command -v xvfb-run > /dev/null || fail "xvfb-run is missing (scripts/install-deps.sh installs it)"
make_data "$WORK/data"
printf '30 click Button2\n60 click Form2.Button1\n90 click Button1\n100 press shot\n' > "$WORK/in.txt"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$KV_WINDOWED" --data "$WORK/data" --frames 180 --seed 5 --input "$WORK/in.txt" --log "$WORK/run.jsonl" \
        --screenshot "$WORK/window.png" --scale 2 || fail "the windowed run failed"
[ -s "$WORK/window.png" ] || fail "no screenshot"
[ -n "$(events "$WORK/run.jsonl" start)" ] || fail "the game did not start in the window"
events "$WORK/run.jsonl" end | grep -q '"frame": 180' || fail "the window did not run 180 frames"
echo ok
