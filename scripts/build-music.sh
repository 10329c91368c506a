#!/usr/bin/env bash
# Renders one music track: ABC -> MIDI (abc2midi) -> WAV (fluidsynth, General MIDI soundfont)
# -> seamless loop -> MP3 (lame).
#
# Usage: build-music.sh IN.abc OUT.mp3 [SOUNDFONT]
#
# The game replays a track from its start as soon as it ends, so the render is cut at the
# musical end of the piece (the end of its last bar) and the ringing that fluidsynth renders
# past that point is mixed back onto the beginning: the restart then carries the tail of the
# previous pass and the seam is not heard. abc2midi warnings about bars or voices of unequal
# length are treated as errors, since they put the voices out of step at the loop point.
set -euo pipefail

in=$1
out=$2
sf=${3:-/usr/share/sounds/sf2/FluidR3_GM.sf2}

need() {
  command -v "$1" >/dev/null 2>&1 || {
    echo "build-music: '$1' is missing; run scripts/install-deps.sh" >&2
    exit 1
  }
}
for t in abc2midi mftext fluidsynth sox lame; do need "$t"; done
[ -r "$sf" ] || { echo "build-music: soundfont $sf not found; run scripts/install-deps.sh" >&2; exit 1; }
[ -r "$in" ] || { echo "build-music: cannot read $in" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 1. ABC -> MIDI, strict about structure.
abc2midi "$in" -o "$tmp/t.mid" >"$tmp/abc.log" 2>&1 || { cat "$tmp/abc.log" >&2; exit 1; }
if grep -Eq 'Error|Warning' "$tmp/abc.log"; then
  echo "build-music: $in:" >&2
  grep -E 'Error|Warning' "$tmp/abc.log" >&2
  exit 1
fi

# 2. The musical length in seconds, from the MIDI file: the latest end-of-track, less the few
#    ticks abc2midi adds after the last bar (rounded down to a sixteenth), through the tempo map.
mftext "$tmp/t.mid" >"$tmp/t.txt"
len=$(awk '
  /^Header/ { for (i = 1; i <= NF; i++) if ($i ~ /^division=/) { split($i, a, "="); div = a[2] } }
  /Tempo, microseconds-per-MIDI-quarter-note=/ {
    split($1, t, "="); split($0, u, "note="); n++; tt[n] = t[2] + 0; tu[n] = u[2] + 0 }
  /end of track/ { split($1, t, "="); if (t[2] + 0 > eot) eot = t[2] + 0 }
  END {
    if (div == 0 || n == 0) { print "error: no division or tempo"; exit }
    step = div / 4; end = int(eot / step) * step
    if (eot - end > step / 2) { print "error: track does not end on a sixteenth (" eot ")"; exit }
    s = 0
    for (i = 1; i <= n; i++) {
      t0 = tt[i]; t1 = (i < n ? tt[i + 1] : end); if (t1 > end) t1 = end
      if (t1 > t0) s += (t1 - t0) * tu[i] / 1e6 / div
    }
    printf "%.6f\n", s
  }' "$tmp/t.txt")
case $len in error*) echo "build-music: $in: $len" >&2; exit 1 ;; esac

# 3. MIDI -> WAV, in floating point at a low synth gain, so that nothing clips on the way; the
#    level is set by normalising at the end.
fluidsynth -ni -q -g 0.2 -o audio.file.format=float -F "$tmp/raw.wav" -r 44100 "$sf" "$tmp/t.mid" \
  >"$tmp/fs.log" 2>&1 || { cat "$tmp/fs.log" >&2; exit 1; }

# sox, failing on clipped samples
sx() {
  sox "$@" 2>"$tmp/sox.log" || { cat "$tmp/sox.log" >&2; exit 1; }
  if grep -q clipped "$tmp/sox.log"; then
    echo "build-music: $in: samples clipped while rendering:" >&2
    cat "$tmp/sox.log" >&2
    exit 1
  fi
}
f32=(-e floating-point -b 32)

# 4. Cut at the end of the last bar and fold the ringing tail back onto the start.
sx "$tmp/raw.wav" "${f32[@]}" "$tmp/body.wav" trim 0 "$len"
sx "$tmp/raw.wav" "${f32[@]}" "$tmp/tail.wav" trim "$len"
if [ "$(sox --i -s "$tmp/tail.wav")" -gt 0 ]; then
  sx "$tmp/tail.wav" "${f32[@]}" "$tmp/tailf.wav" fade t 0 -0 "$(sox --i -D "$tmp/tail.wav")"
  sx -m -v 1 "$tmp/body.wav" -v 1 "$tmp/tailf.wav" "${f32[@]}" "$tmp/loop.wav" trim 0 "$len"
else
  cp "$tmp/body.wav" "$tmp/loop.wav"
fi
sx "$tmp/loop.wav" -b 16 -e signed-integer "$tmp/final.wav" gain -n -3

# 5. WAV -> MP3.
title=$(sed -n 's/^T:[[:space:]]*//p' "$in" | head -n 1)
lame --quiet -V4 --tt "$title" --ta "Kalvento" "$tmp/final.wav" "$tmp/out.mp3"
mv "$tmp/out.mp3" "$out"
