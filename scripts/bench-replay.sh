#!/usr/bin/env bash
# Replay playback speed: the yardstick (the program as it was before the collision index, taken
# from git and built in BUILD/yardstick, or the run folder in KV_YARDSTICK) records two invincible
# autopilot games (seed 1) once, in a format both programs read; then this build and the
# yardstick play the recording back alternately, five times each. Prints the median frames per
# second of each and their ratio (medians, as the machine may be shared).
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
ln -s "$run/musics" "$data/musics"
(cd "$run" && "$yard/kalvento" --headless --data "$data" --autopilot --invincible --seed 1 --exit-on menu:2 \
    --record "$data/games.txt")

play() {  # frames per second of the program in $1 over the recording
  local bin=$1
  rm -f "$data/Score.dtf" "$data/stats.txt"
  if ! (cd "$run" && "$bin" --headless --data "$data" --invincible --input "$data/games.txt" --exit-on menu:2 \
      --stats "$data/stats.txt"); then
    echo "bench-replay: $bin did not play the recording back" >&2
    exit 1
  fi
  awk '$1 == "frames_per_second" { print $2 }' "$data/stats.txt"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
now=()
then_=()
for _ in 1 2 3 4 5; do
  f=$(play "$yard/kalvento")
  then_+=("$f")
  f=$(play "$run/kalvento")
  now+=("$f")
done
frames=$(awk '$1 == "frames" { print $2 }' "$data/stats.txt")
n=$(printf '%s\n' "${now[@]}" | median)
y=$(printf '%s\n' "${then_[@]}" | median)
echo "== replay playback of two invincible autopilot games (seed 1, $frames frames; medians of 5)"
awk -v n="$n" -v y="$y" 'BEGIN {
  printf "  this build      %9.0f frames/s\n  yardstick       %9.0f frames/s (the program before the collision index)\n", n, y
  printf "  ratio           %9.2f x   goal >= 4.00 x   %s\n", n / y, (n / y >= 4 ? "met" : "NOT MET") }'
