#!/usr/bin/env bash
# Peak memory of a night-long run: the headless host runs the saver as the .scr does (default
# settings, no dump asked, so nothing is recorded) for 10,000 and then 200,000 frames and prints
# both peaks and their ratio. Nothing may grow with the run: the two should agree within 1 %.
#   bench/soak.sh [HEADLESS] [DATA FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
HEADLESS=${1:-build/native/bin/duskhollow-headless}
DATA=${2:-build/native/data/Duskhollow}
[ -x "$HEADLESS" ] && [ -d "$DATA" ] || { echo "build the native flavour first" >&2; exit 2; }
windir=$(mktemp -d)
trap 'rm -rf "$windir"' EXIT
ln -s "$(readlink -f "$DATA")" "$windir/Duskhollow"

peak_kb() {  # frames
  /usr/bin/time -f '%M' "$HEADLESS" --windir "$windir" --ticks "$1" /s 2>&1 >/dev/null | tail -1
}
short=$(peak_kb 10000)
long=$(peak_kb 200000)
echo "peak RSS after  10,000 frames: $short kB"
echo "peak RSS after 200,000 frames: $long kB"
awk -v a="$short" -v b="$long" 'BEGIN {
  d = (b - a) / a * 100
  printf "growth: %+.2f %% (%s)\n", d, (d < 1 && d > -1) ? "within 1 %" : "MORE THAN 1 %"
  exit (d < 1 && d > -1) ? 0 : 1
}'
