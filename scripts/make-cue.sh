#!/usr/bin/env bash
# Makes res/cue.wav, the cue before the end: one soft wood-block knock of 0.2 s,
# short and low beside the alert's chime so the two are never confused. A sine
# at A5 with a quieter inharmonic partial, as a struck block rings, under a
# burst of band-passed noise for the strike, both dying away exponentially.
# Plain sox with dither off and seeded noise, so every run gives the same bytes.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out="${1:-res/cue.wav}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sox -R -D -n -r 44100 -b 16 -c 1 "$work/ring.wav" synth 0.2 sine 880 sine 2400 remix 1v0.8,2v0.2 \
    fade l 0.0015 0.2 0.195
sox -R -D -n -r 44100 -b 16 -c 1 "$work/strike.wav" synth 0.012 pinknoise sinc 600-3000 \
    fade l 0.0005 0.012 0.011 pad 0 0.188
# -6 dB of headroom: a cue under a talk is quieter than the alert.
sox -R -D -m "$work/ring.wav" "$work/strike.wav" -r 44100 -b 16 -c 1 "$out" gain -n -6
echo "$out"
