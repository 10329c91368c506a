#!/usr/bin/env bash
# Explosion: a deep thump, a roar of filtered noise that rolls off, and a crackle of debris.
# Usage: dead.sh OUT.wav
set -euo pipefail
out=$1
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fmt=(-r 44100 -b 16 -c 1)
sox -n "${fmt[@]}" "$tmp/thump.wav" synth 0.5 sine 90-30 vol 0.9 fade q 0.003 0.5 0.45
sox -n "${fmt[@]}" "$tmp/roar.wav" synth 1.3 brownnoise vol 0.9 lowpass 900 fade q 0.005 1.3 1.2
sox -n "${fmt[@]}" "$tmp/crackle.wav" synth 0.7 pinknoise vol 0.25 highpass 2500 tremolo 23 90 \
    fade t 0.002 0.7 0.65
sox -m "$tmp/thump.wav" "$tmp/roar.wav" "$tmp/crackle.wav" "$tmp/mix.wav"
sox "$tmp/mix.wav" "${fmt[@]}" "$out" overdrive 6 reverb 30 50 60 gain -n -2 fade q 0 1.3 0.35
