#!/usr/bin/env bash
# Makes res/alert.wav, the alert's chime: two struck notes a major third apart
# (E6, then C6 a little later), each a sine with a quieter octave partial and
# a decaying envelope. Plain sox with dither off, so every run gives the same bytes.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out="${1:-res/alert.wav}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

note() {  # note <file> <hertz> <octave hertz> <delay seconds>
    sox -R -D -n -r 44100 -b 16 -c 1 "$1" synth 0.9 sine "$2" sine "$3" remix 1v0.8,2v0.2 \
        fade h 0.004 0.9 0.85 pad "$4"
}

note "$work/high.wav" 1318.51 2637.02 0
note "$work/low.wav" 1046.50 2093.00 0.38
# -3 dB of headroom; the tail is trimmed where the second note has died away.
sox -R -D -m "$work/high.wav" "$work/low.wav" -r 44100 -b 16 -c 1 "$out" gain -n -3 trim 0 1.28
echo "$out"
