#!/usr/bin/env bash
# Shows that two builds play the same games: the first build's autopilot records whole games
# (seeds 1, 3 and 7, mortal and invincible) and every practice stage and boss phase, and plays
# each recording back; the second build plays each recording back (every checkpoint must hold)
# and flies the same autopilot run itself. Its playback log must be byte-identical to the first
# build's playback log, and its autopilot log to the first build's recording log.
# Usage: scripts/same-games.sh BEFORE_RUN_DIR AFTER_RUN_DIR [JOBS [PATTERN]]
# PATTERN (an extended regular expression over "seed mode what") picks some of the runs.
# PILOT_CHANGED=1: the autopilot itself chooses differently in the second build, so only the
# playbacks are compared.
set -euo pipefail
before="$(cd "$1" && pwd)"
after="$(cd "$2" && pwd)"
jobs="${3:-2}"
pattern="${4:-.}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cases=()
for seed in 1 3 7; do
  for mode in mortal invincible; do
    cases+=("$seed $mode whole")
    for p in $("$before/kalvento" --headless --practice '?' 2>&1 | sed 's/.*choose one of: //'); do
      cases+=("$seed $mode $p")
    done
  done
done

one() {
  set -euo pipefail
  local seed=$1 mode=$2 what=$3
  local dir="$work/$seed-$mode-$what"
  mkdir -p "$dir/a" "$dir/b" "$dir/c" "$dir/d"
  for d in a b c d; do cp "$before"/Pictures.dxg "$before"/Sounds.dxg "$dir/$d"/; done
  local args=(--headless --seed "$seed")
  [ "$mode" = invincible ] && args+=(--invincible)
  local run=(--autopilot --exit-on menu:2)
  [ "$what" != whole ] && run=(--autopilot --practice "$what" --exit-on menu:1)
  (cd "$before" && ./kalvento "${args[@]}" --data "$dir/a" "${run[@]}" --record "$dir/rec.txt" --log "$dir/before.jsonl")
  local pargs=(--headless --input "$dir/rec.txt" --exit-on "${run[-1]}")
  [ "$mode" = invincible ] && pargs+=(--invincible)
  (cd "$before" && ./kalvento "${pargs[@]}" --data "$dir/d" --log "$dir/before-played.jsonl")
  (cd "$after" && ./kalvento "${pargs[@]}" --data "$dir/b" --log "$dir/played.jsonl") ||
    { echo "FAIL $seed $mode $what: playback stopped"; return 1; }
  cmp -s "$dir/before-played.jsonl" "$dir/played.jsonl" || { echo "FAIL $seed $mode $what: played-back log differs"; return 1; }
  if [ "${PILOT_CHANGED:-0}" != 1 ]; then
    (cd "$after" && ./kalvento "${args[@]}" --data "$dir/c" "${run[@]}" --log "$dir/flown.jsonl")
    cmp -s "$dir/before.jsonl" "$dir/flown.jsonl" || { echo "FAIL $seed $mode $what: autopilot log differs"; return 1; }
  fi
  echo "same $seed $mode $what: $(tail -1 "$dir/before.jsonl")"
  rm -rf "$dir"
}
export -f one
export before after work
mapfile -t cases < <(printf '%s\n' "${cases[@]}" | grep -E -- "$pattern")
printf '%s\n' "${cases[@]}" | xargs -P "$jobs" -I{} bash -c 'one {}'
echo "all ${#cases[@]} runs the same"
