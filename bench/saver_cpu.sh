#!/usr/bin/env bash
# The real screen saver under wine: its CPU time against what the bytes it must write would cost
# at this machine's memcpy rate.
#   bench/saver_cpu.sh [WxH] [SECONDS] [RUNS]     (default 1920x1080, 20 s, 5 runs)
# Needs both builds (build/native, build/win64). Runs the .scr full screen with every creature on
# in a virtual display of that size, reads its CPU time from /proc over SECONDS after a short
# warm-up, and measures memcpy in the same run (dusk_bench --limit). The limit is the bytes of one
# frame (compose plus stretch) times the frame rate, at the memcpy rate; the ratio is CPU time over
# that. Two rates are used: a memcpy of a frame's bytes (which the caches may hold) and one of
# 256 MB (main memory). Prints each run and min/median/max. WINEPREFIX defaults to build/wineprefix-bench.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SIZE=${1:-1920x1080}
SECONDS_PER_RUN=${2:-20}
RUNS=${3:-5}
SCR=$ROOT/build/win64/bin/duskhollow.scr
BENCH=$ROOT/build/native/bin/dusk_bench
HEADLESS=$ROOT/build/native/bin/duskhollow-headless
DATA=$ROOT/build/native/data/Duskhollow
for f in "$SCR" "$BENCH" "$HEADLESS" "$DATA"; do
  [ -e "$f" ] || { echo "missing $f: build both flavours first" >&2; exit 2; }
done
SPEED_MS=70

export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix-bench}
source "$ROOT/tools/setup.sh"

# A display of our own, of the size asked for; at exit the saver, wine and the display end.
dusk_xvfb "$SIZE" || exit 1
export DUSK_KEEP_DISPLAY=1
SCR_PID=
dusk_undo 'wineserver -k'
dusk_undo '[ -z "$SCR_PID" ] || kill "$SCR_PID"'
ROOT=$ROOT dusk_start_wine >/dev/null || exit 1

WINDIR=$WINEPREFIX/drive_c/windows
rm -rf "$WINDIR/Duskhollow"
ln -s "$DATA" "$WINDIR/Duskhollow"
# Every creature on; music and effects off.
mapfile -t creatures < <("$HEADLESS" --list-creatures)
"$HEADLESS" --write-settings "$WINDIR/tarnix.ini" "speed=$SPEED_MS" "${creatures[@]/%/=1}" || exit 2

ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null; }
HZ=$(getconf CLK_TCK)
results=()
for run in $(seq "$RUNS"); do
  wine "$SCR" /s >/dev/null 2>&1 &
  SCR_PID=$!
  sleep 4  # start-up and the pictures loaded
  # The saver's own process (wine's loader becomes it or starts it), in this prefix.
  pid=
  for p in $(pgrep -f 'duskhollow\.scr'); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && pid=$p
  done
  [ -n "$pid" ] || { echo "the saver did not start" >&2; exit 1; }
  t0=$(ticks "$pid") w0=$(date +%s.%N)
  sleep "$SECONDS_PER_RUN"
  t1=$(ticks "$pid") w1=$(date +%s.%N)
  xdotool key space  # a key ends the saver
  for _ in $(seq 100); do kill -0 "$SCR_PID" 2>/dev/null || break; sleep 0.1; done
  kill "$SCR_PID" 2>/dev/null
  wait "$SCR_PID" 2>/dev/null
  SCR_PID=
  read -r composeBytes screenBytes rate dram < <("$BENCH" --limit "$SIZE" --reps 5 --ms 200 |
    awk '{v[NR]=$2} END {print v[1], v[2], v[3], v[4]}')
  line=$(awk -v t0="$t0" -v t1="$t1" -v w0="$w0" -v w1="$w1" -v hz="$HZ" -v cb="$composeBytes" -v sb="$screenBytes" \
    -v rate="$rate" -v dram="$dram" -v ms="$SPEED_MS" 'BEGIN {
      cpu = (t1 - t0) / hz / (w1 - w0);
      limit = (cb + sb) * (1000 / ms) / (rate * 1e9);
      dlimit = (cb + sb) * (1000 / ms) / (dram * 1e9);
      printf "%.5f %.5f %.5f %.2f %.2f %.2f %.2f %.2f", cpu, limit, dlimit, cpu / limit, cpu / dlimit, cb / 1e6, sb / 1e6, dram }')
  read -r cpu limit dlimit ratio dratio cmb smb dgb <<<"$line"
  printf 'run %d: %s CPU %.2f %% of a core; %.2f + %.2f MB a frame every %d ms: limit %.2f %% at %.2f GB/s (memcpy of a frame'"'"'s bytes), ratio %.2f; limit %.2f %% at %.2f GB/s (memcpy of 256 MB), ratio %.2f\n' \
    "$run" "$SIZE" "$(awk -v c="$cpu" 'BEGIN{print c*100}')" "$cmb" "$smb" "$SPEED_MS" \
    "$(awk -v c="$limit" 'BEGIN{print c*100}')" "$rate" "$ratio" "$(awk -v c="$dlimit" 'BEGIN{print c*100}')" "$dgb" "$dratio"
  results+=("$cpu $limit $ratio $dlimit $dratio")
done
printf '%s\n' "${results[@]}" | awk -v size="$SIZE" '
  { c[NR] = $1 * 100; l[NR] = $2 * 100; r[NR] = $3; dl[NR] = $4 * 100; dr[NR] = $5 }
  function sorted(a, n,   i, j, t) { for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j-1] > a[j]; j--) { t = a[j]; a[j] = a[j-1]; a[j-1] = t } }
  function med(a, n) { return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
  function mmm(a, n, f) { sorted(a, n); return sprintf(f "/" f "/" f, a[1], med(a, n), a[n]) }
  END {
    n = NR
    printf "%s over %d runs (min/median/max): CPU %s %% of a core\n", size, n, mmm(c, n, "%.2f")
    printf "  against memcpy of a frame'"'"'s bytes: limit %s %%, ratio %s (goal: at most 2)\n", mmm(l, n, "%.2f"), mmm(r, n, "%.2f")
    printf "  against memcpy of 256 MB (main memory): limit %s %%, ratio %s\n", mmm(dl, n, "%.2f"), mmm(dr, n, "%.2f") }'
