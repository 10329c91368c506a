#!/usr/bin/env bash
# The whole-run benchmark: the autopilot plays a normal game and, with the Extra Stage open,
# a second one, invincible and with a fixed seed, headless and without pictures, until the
# menu is back after the second. Prints the frames simulated per second, the worst frame and
# the memory after each game.
set -euo pipefail
build="${1:-build}"
run="$(cd "$build/run" && pwd)"
data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT
cp "$run"/Pictures.dxg "$run"/Sounds.dxg "$data"/
stats="$data/stats.txt"
(cd "$run" && ./kalvento --headless --data "$data" --autopilot --invincible --seed 1 \
    --exit-on menu:2 --stats "$stats")
echo "== whole autopilot run (two games, seed 1)"
sed 's/^/  /' "$stats"
