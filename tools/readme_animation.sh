#!/usr/bin/env bash
# Makes the README's moving picture, docs/scene.webp: a few seconds of the scene with every creature
# on, rendered frame by frame by the headless host and packed as an animated WebP (ffmpeg's
# libwebp). Run it after the art changes, from a built tree:
#   tools/readme_animation.sh [build/native]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build/native}" && pwd)
HEADLESS=$BUILD/bin/duskhollow-headless
OUT=$ROOT/docs/scene.webp
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/win"
ln -s "$BUILD/data/Duskhollow" "$work/win/Duskhollow"
mapfile -t creatures < <("$HEADLESS" --list-creatures)
# 50 ms a frame: every second frame kept makes 10 pictures a second.
"$HEADLESS" --write-settings "$work/win/tarnix.ini" firstrun=1 speed=50 "${creatures[@]/%/=1}"
"$HEADLESS" --windir "$work/win" --screen 800x600 --seed 7 --time 23:47 --ticks 160 --no-sound \
  --frames "$work/frames" --every 2 /s >/dev/null
ffmpeg -v error -y -framerate 10 -pattern_type glob -i "$work/frames/frame-*.png" \
  -c:v libwebp_anim -lossless 0 -quality 80 -compression_level 6 -loop 0 "$OUT"
echo "$OUT: $(stat -c %s "$OUT") bytes"
