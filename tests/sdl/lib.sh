# Helpers of the Linux saver's tests. Each script is called as
#   script.sh DUSKHOLLOW HEADLESS DATA X_WINDOW MIX_PROBE XRANDR_STANDIN [WL_INPUT]
# (the saver, the headless host, the generated data root, the test window helper, the mixer
# probe, the folder of the stand-in XRandR library and the Wayland keyboard and mouse helper,
# empty where it was not built). It runs in a virtual X display of its own
# (dusk_xvfb) and a settings folder of its own; only processes it started are ended. A failed
# check is counted and the script goes on.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/common.sh"

BIN=$(readlink -m "$1")
HEADLESS=$(readlink -m "$2")
DATA=$(readlink -m "$3")
X_WINDOW=$(readlink -m "$4")
MIX_PROBE=$(readlink -m "$5")
XRANDR_STANDIN=$(readlink -m "${6:-.}")
WL_INPUT=${7:+$(readlink -m "$7")}
dusk_test_begin dusk-linux
DUSK_PICTURES=${DUSK_LINUX_PICTURES:-$(dirname "$BIN")/../linux-pictures}
FAILS=0

fail() { echo "FAIL ($TEST_NAME): $*" >&2; FAILS=$((FAILS + 1)); }
ok() { echo "ok: $*"; }
check() {  # description, command...
  local what=$1
  shift
  if "$@"; then ok "$what"; else fail "$what"; fi
}
done_testing() {
  [ "$FAILS" = 0 ] && echo "$TEST_NAME: all passed" || echo "$TEST_NAME: $FAILS failed"
  [ "$FAILS" = 0 ]
}

# Settings of this script's own: XDG_CONFIG_HOME in the work folder, and no sound card needed.
export XDG_CONFIG_HOME=$WORK/config
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
mkdir -p "$XDG_CONFIG_HOME/duskhollow"
SETTINGS=$XDG_CONFIG_HOME/duskhollow/tarnix.ini

# Starts the saver with the arguments given; its pid in RUN_PID, output in $WORK/run-N.{out,err}.
RUNS=0
start() {
  RUNS=$((RUNS + 1))
  RUN_OUT=$WORK/run-$RUNS.out RUN_ERR=$WORK/run-$RUNS.err
  dusk_spawn "$BIN" "$@" >"$RUN_OUT" 2>"$RUN_ERR"
  RUN_PID=$DUSK_PID
}
# Waits until a run with --ticks N has shown its N-th frame.
wait_ticks() {
  local i
  for i in $(seq 300); do
    grep -q "^ticks " "$RUN_OUT" 2>/dev/null && return 0
    dusk_alive "$RUN_PID" || return 1
    sleep 0.1
  done
  return 1
}

# The headless host's frame N for a screen size and arguments: into $2.
headless_frame() {  # WxH out.png ticks [settings file] [headless args...]
  local size=$1 out=$2 ticks=$3 ini=${4:-}
  shift 4
  dusk_headless_windir
  rm -rf "$WORK/frames"
  [ -n "$ini" ] && cp "$ini" "$HL_WIN/tarnix.ini"
  "$HEADLESS" --windir "$HL_WIN" --screen "$size" --ticks "$ticks" --frames "$WORK/frames" --every "$ticks" "$@" /s \
    >"$WORK/headless.log" 2>&1 || { fail "headless host: $(cat "$WORK/headless.log")"; return 1; }
  cp "$WORK/frames/frame-$(printf %06d "$ticks").png" "$out"
}
