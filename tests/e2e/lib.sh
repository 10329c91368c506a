# Shared helpers of the end-to-end scripts: $1 the program, $2 a scratch folder.
set -euo pipefail
KV="$1"
WORK="$2"
RUN_DIR="$(dirname "$KV")"
rm -rf "$WORK"
mkdir -p "$WORK"
fail() { echo "FAIL: $*" >&2; exit 1; }
# Replays, the attack history and the window's settings go to the scratch folder, never to the
# tester's own.
export XDG_DATA_HOME="$WORK/xdg-data" XDG_CONFIG_HOME="$WORK/xdg-config"
# The program as the windowed tests start it. In a sanitizer build, Mesa's GL driver is kept
# loaded to the end: unloaded at exit, it takes with it the only pointers to two blocks it
# keeps, which the leak check would then count as lost.
KV_WINDOWED="$KV"
runtimes="$(ldd "$KV" 2>/dev/null | awk '/lib(asan|ubsan)\.so/ {print $3}' | tr '\n' ' ')"
driver="$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -1 || true)"
if [ -n "$runtimes" ] && [ -n "$driver" ]; then
  KV_WINDOWED="$WORK/kalvento-windowed"
  printf '#!/bin/sh\nLD_PRELOAD="%s%s" exec "%s" "$@"\n' "$runtimes" "$driver" "$KV" > "$KV_WINDOWED"
  chmod +x "$KV_WINDOWED"
fi
# Runs the program with ARGS, its standard error into FILE, and fails unless it ends with STATUS.
expect_status() {  # status, file, args…
  local want="$1" err="$2"; shift 2
  set +e
  "$KV" "$@" 2> "$err"
  local rc=$?
  set -e
  [ $rc -eq "$want" ] || fail "'$*' gave status $rc, not $want: $(cat "$err")"
}
# A data folder with the built assets and a fresh record (EXTRA: 0 or 1).
# The tools a test of the window needs: an X server, a window manager and a hand on the keys.
needs_window_tools() {
  for tool in xvfb-run xdotool openbox; do
    command -v $tool > /dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
  done
}

make_data() {
  local dir="$1" extra="${2:-0}"
  mkdir -p "$dir"
  ln -sf "$RUN_DIR/Pictures.dxg" "$dir/Pictures.dxg"
  ln -sf "$RUN_DIR/Sounds.dxg" "$dir/Sounds.dxg"
  printf '\r\n0\r\n\r\n%s\r\n' "$extra" > "$dir/Score.dtf"
}
# Lines of the event log with the given event name.
events() { python3 -c '
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    e = json.loads(line)
    if e["event"] == sys.argv[2]:
        print(json.dumps(e, ensure_ascii=False))
' "$1" "$2"; }
