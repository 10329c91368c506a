# Inside an X server: a window manager, the program watching $REPLAY in a window with the event
# log LOG and OPTIONS, and the test's DRIVER sourced to press keys or feed the pad while it runs.
# Usage (env KVW, WORK, REPLAY): bash watch_in_window.sh LOG DRIVER [OPTIONS…]
set -eu
log="$1" driver="$2"
shift 2
openbox > /dev/null 2>&1 & wm=$!
trap 'kill $wm 2> /dev/null || true' EXIT
sleep 1
"$KVW" --data "$WORK/data" --input "$REPLAY" --log "$log" "$@" 2> "$log.err" & pid=$!
xdotool search --sync --name '^Kalvento$' windowfocus --sync > /dev/null 2>&1 || true
# Waits until the log has N events E (for the driver).
logged() {  # E, N
  for _ in $(seq 100); do
    [ "$(grep -c "\"event\": \\?\"$1\"" "$log" 2> /dev/null || true)" -ge "$2" ] && return 0
    sleep 0.2
  done
  return 1
}
source "$driver"
wait $pid
