#!/usr/bin/env bash
# Replay playback speed: records two invincible autopilot games (seed 1) once, then plays the
# recording back with this build and with the yardstick (the program as it was before the
# collision index, taken from git and built in BUILD/yardstick, or the run folder in KV_YARDSTICK),
# alternately, three times each, and prints the best frames per second of each and their ratio.
set -euo pipefail
build="${1:-build}"
run="$(cd "$build/run" && pwd)"
yardstick_commit=0f4a26f
if [ -n "${KV_YARDSTICK:-}" ]; then
  yard="$(cd "$KV_YARDSTICK" && pwd)"
else
  src="$(pwd)/$build/yardstick-src"
  if [ ! -d "$src" ]; then
    mkdir -p "$src"
    git archive "$yardstick_commit" | tar -x -C "$src"
  fi
  cmake -S "$src" -B "$build/yardstick" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache > /dev/null
  cmake --build "$build/yardstick" --target kalvento > /dev/null
  yard="$(cd "$build/yardstick" && pwd)/run"
  [ -x "$yard/kalvento" ] || yard="$(cd "$build/yardstick" && pwd)"
fi
data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT
cp "$run"/Pictures.dxg "$run"/Sounds.dxg "$data"/
(cd "$run" && ./kalvento --headless --data "$data" --autopilot --invincible --seed 1 --exit-on menu:2 \
    --record "$data/games.txt")

best() {  # best frames per second of the program in $1 over the recording
  local bin=$1 fps
  rm -f "$data/Score.dtf"
  (cd "$run" && "$bin" --headless --data "$data" --invincible --input "$data/games.txt" --exit-on menu:2 \
      --stats "$data/stats.txt")
  fps=$(awk '$1 == "frames_per_second" { print $2 }' "$data/stats.txt")
  echo "$fps"
}
now=0
then_=0
for _ in 1 2 3; do
  f=$(best "$yard/kalvento"); awk -v a="$f" -v b="$then_" 'BEGIN { exit !(a > b) }' && then_=$f
  f=$(best "$run/kalvento"); awk -v a="$f" -v b="$now" 'BEGIN { exit !(a > b) }' && now=$f
done
frames=$(awk '$1 == "frames" { print $2 }' "$data/stats.txt")
echo "== replay playback of two invincible autopilot games (seed 1, $frames frames)"
awk -v n="$now" -v y="$then_" 'BEGIN {
  printf "  this build      %9.0f frames/s\n  yardstick       %9.0f frames/s (the program before the collision index)\n", n, y
  printf "  ratio           %9.2f x   goal >= 4.00 x   %s\n", n / y, (n / y >= 4 ? "met" : "NOT MET") }'
