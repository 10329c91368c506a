#!/usr/bin/env bash
# Menu chime: two bell tones, high then low ("ping-pong"), each a sine with a soft octave overtone.
# Usage: pingpong.sh OUT.wav
set -euo pipefail
out=$1
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fmt=(-r 44100 -b 16 -c 1)
# ping: E6 with its octave, fast attack, ringing decay
sox -n "${fmt[@]}" "$tmp/ping.wav" synth 0.42 sine 1318.5 sine 2637 remix 1,2 \
    vol 0.5 fade q 0.004 0.42 0.36
# pong: C6 a little later and longer
sox -n "${fmt[@]}" "$tmp/pong.wav" synth 0.62 sine 1046.5 sine 2093 remix 1,2 \
    vol 0.5 fade q 0.004 0.62 0.55
sox "$tmp/pong.wav" "$tmp/pong-late.wav" pad 0.14 0
sox -m "$tmp/ping.wav" "$tmp/pong-late.wav" "$tmp/mix.wav"
sox "$tmp/mix.wav" "${fmt[@]}" "$out" reverb 20 50 40 gain -n -3
