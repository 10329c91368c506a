#!/usr/bin/env bash
# Player hit: a sharp electric crack over a falling square-wave buzz.
# Usage: zikihit.sh OUT.wav
set -euo pipefail
out=$1
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fmt=(-r 44100 -b 16 -c 1)
sox -n "${fmt[@]}" "$tmp/buzz.wav" synth 0.32 square 880-110 vol 0.35 fade q 0.002 0.32 0.2
sox -n "${fmt[@]}" "$tmp/crack.wav" synth 0.12 whitenoise vol 0.6 highpass 1500 fade q 0.001 0.12 0.1
sox -n "${fmt[@]}" "$tmp/thud.wav" synth 0.2 sine 160-60 vol 0.6 fade q 0.002 0.2 0.16
sox -m "$tmp/buzz.wav" "$tmp/crack.wav" "$tmp/thud.wav" "$tmp/mix.wav"
sox "$tmp/mix.wav" "${fmt[@]}" "$out" overdrive 8 lowpass 6000 gain -n -3
