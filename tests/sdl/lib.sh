# Shared helpers of the Linux saver's tests. Each script is called as
#   script.sh DUSKHOLLOW HEADLESS DATA X_WINDOW MIX_PROBE
# (the saver, the headless host, the generated data root, the test window helper and the mixer
# probe). It runs in a virtual X display of its own and a settings folder of its own; only
# processes it started are ended.
set -uo pipefail

BIN=$(readlink -m "$1")
HEADLESS=$(readlink -m "$2")
DATA=$(readlink -m "$3")
X_WINDOW=$(readlink -m "$4")
MIX_PROBE=$(readlink -m "$5")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/dusk-linux.XXXXXX")
TEST_NAME=$(basename "$0" .sh)
PIDS=()
FAILS=0

finish() {
  local pid
  for pid in "${PIDS[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    fi
  done
  rm -rf "$WORK"
}
trap finish EXIT

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

# A virtual screen of WxH for this script: DISPLAY is set, the server ends with the script.
start_display() {
  local size=${1:-1024x768} n=171
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  PIDS+=($!)
  export DISPLAY=":$n"
  local i
  for i in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "FAIL ($TEST_NAME): Xvfb did not start" >&2
  exit 1
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
  "$BIN" "$@" >"$RUN_OUT" 2>"$RUN_ERR" &
  RUN_PID=$!
  PIDS+=("$RUN_PID")
}
alive() { kill -0 "$1" 2>/dev/null; }
# Waits (a hang detector only) for the process to end; its exit code in RC.
wait_exit() {
  local pid=$1 i
  for i in $(seq 300); do
    if ! alive "$pid"; then
      wait "$pid" 2>/dev/null
      RC=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}
# Waits until a run with --ticks N has shown its N-th frame.
wait_ticks() {
  local i
  for i in $(seq 300); do
    grep -q "^ticks " "$RUN_OUT" 2>/dev/null && return 0
    alive "$RUN_PID" || return 1
    sleep 0.1
  done
  return 1
}

shot() { import -window root "$1"; }
# The number of pixels in which two pictures differ (optionally within a WxH+X+Y region of the first).
diff_count() {
  local a=$1 b=$2 region=${3:-}
  if [ -n "$region" ]; then
    /usr/bin/convert "$a" -crop "$region" +repage "$WORK/crop.png"
    a=$WORK/crop.png
  fi
  /usr/bin/compare -metric AE "$a" "$b" null: 2>&1 | awk '{print int($1)}'
}
# Keeps a picture where the test output can point to it.
keep_picture() {
  local dir=${DUSK_LINUX_PICTURES:-$(dirname "$BIN")/../linux-pictures}
  mkdir -p "$dir"
  cp "$1" "$dir/$TEST_NAME-$2.png"
  echo "-- picture: $(readlink -m "$dir/$TEST_NAME-$2.png")"
}

# The headless host's frame N for a screen size and arguments: into $2.
headless_frame() {  # WxH out.png ticks [settings file] [headless args...]
  local size=$1 out=$2 ticks=$3 ini=${4:-}
  shift 4
  local win=$WORK/headless-win
  rm -rf "$win" "$WORK/frames"
  mkdir -p "$win"
  ln -s "$DATA/Duskhollow" "$win/Duskhollow"
  [ -n "$ini" ] && cp "$ini" "$win/tarnix.ini"
  "$HEADLESS" --windir "$win" --screen "$size" --ticks "$ticks" --frames "$WORK/frames" --every "$ticks" "$@" /s \
    >"$WORK/headless.log" 2>&1 || { fail "headless host: $(cat "$WORK/headless.log")"; return 1; }
  cp "$WORK/frames/frame-$(printf %06d "$ticks").png" "$out"
}
