#!/usr/bin/env bash
# Puts the web page's static site together:
#   make_site.sh PROGRAM_DIR DATA_DIR SITE_DIR
# PROGRAM_DIR holds duskhollow.js and duskhollow.wasm (the Emscripten build), DATA_DIR the data
# folder the native build generated. SITE_DIR gets the page, the program, the data folder packed
# into one gzip file (data.bin) and each song rendered by FluidSynth into songs/NAME.ogg (Opus; made
# again only when its MIDI file changed).
set -euo pipefail
program=$1 data=$2 site=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$site/songs"
cp "$here/site/index.html" "$here/site/saver.js" "$here/site/effects.js" "$program/duskhollow.js" "$program/duskhollow.wasm" "$site/"

# The data folder: for each file, its name's length, its name, its size (little-endian 32-bit
# numbers) and its bytes; the whole gzip-compressed (the page unpacks it with DecompressionStream).
python3 - "$data" "$site/data.bin" <<'PY'
import gzip, os, struct, sys
folder, out = sys.argv[1], sys.argv[2]
records = []
for name in sorted(os.listdir(folder)):
    path = os.path.join(folder, name)
    if not os.path.isfile(path):
        continue
    with open(path, 'rb') as f:
        body = f.read()
    encoded = name.encode()
    records.append(struct.pack('<I', len(encoded)) + encoded + struct.pack('<I', len(body)) + body)
with open(out + '.tmp', 'wb') as f:
    f.write(gzip.compress(b''.join(records), compresslevel=9, mtime=0))
os.replace(out + '.tmp', out)
PY

# The songs: rendered with TimGM6mb, then Ogg Opus at a modest rate. The page corrects each song
# by the gain measured for it with that soundfont (the host kit's table), as the Linux saver does.
font=/usr/share/sounds/sf2/TimGM6mb.sf2
if [ ! -f "$font" ] || ! command -v fluidsynth >/dev/null || ! command -v ffmpeg >/dev/null; then
  echo "make_site: no fluidsynth, ffmpeg or $font: the site has no songs" >&2
  exit 0
fi
# Two at a time: each is a second or two of synthesis and as much of encoding.
render() {  # MIDI file, Ogg file
  local wav
  wav=$(mktemp --suffix .wav)
  fluidsynth -q -ni -g 0.5 -r 22050 -F "$wav" "$font" "$1" >/dev/null 2>&1 &&
    ffmpeg -loglevel error -y -i "$wav" -c:a libopus -b:a 40k -compression_level 0 "$2.tmp.ogg" && mv "$2.tmp.ogg" "$2"
  local rc=$?
  rm -f "$wav"
  return $rc
}
export -f render
export font
shopt -s nullglob nocaseglob
for mid in "$data"/*.mid; do
  name=$(basename "$mid")
  ogg="$site/songs/${name%.*}.ogg"
  [ "$ogg" -nt "$mid" ] || printf '%s\0%s\0' "$mid" "$ogg"
done | xargs -0 -r -n 2 -P 2 bash -c 'render "$0" "$1"'
