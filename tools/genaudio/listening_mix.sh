#!/usr/bin/env bash
# Renders a 10-second listening mix from the generated sounds into <build>/listening_mix.wav:
# race tune 1 underneath, the player's engine revving from idle (pitch 0.35) to about 8000 rpm
# (pitch 1.75) over eight seconds, the checkpoint chime twice, and a heavy crash at 8.5 s.
#   tools/genaudio/listening_mix.sh [build dir, default build]
set -euo pipefail
build=${1:-build}
base=$build/base
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The game changes pitch by resampling; sox's bend keeps the length, which is close enough to
# hear the sweep (the loop is first slowed to idle pitch, then bent up by 2786 cents = x5).
sox "$base/sound/en1.wav" -r 44100 -c 2 "$work/engine.wav" repeat 40 speed 0.35 rate 44100 trim 0 10 \
  bend 0.5,2786,8.5
sox "$base/sound/point.wav" -c 2 "$work/chime1.wav" pad 2.5
sox "$base/sound/point.wav" -c 2 "$work/chime2.wav" pad 5.5
sox "$base/sound/cr2.wav" -c 2 "$work/crash.wav" pad 8.5
sox "$base/music/1.ogg" "$work/music.wav" trim 0 10
sox -m -v 0.5 "$work/music.wav" -v 0.9 "$work/engine.wav" -v 0.8 "$work/chime1.wav" \
  -v 0.8 "$work/chime2.wav" -v 0.85 "$work/crash.wav" "$build/listening_mix.wav" trim 0 10
sox "$build/listening_mix.wav" -n stats 2>&1 | grep -E "Pk lev dB|RMS lev dB|Length"
