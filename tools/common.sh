# Shell helpers shared by ./run, ./test, the benchmarks and both test suites (tests/e2e: the
# Windows saver under wine; tests/sdl: the Linux saver): what to undo at exit, processes, waiting,
# screenshots and picture comparison, and a virtual X display. Sourcing it only defines things.
[ -n "${DUSK_COMMON_SH:-}" ] && return 0
DUSK_COMMON_SH=1

# --- at exit: only what this script started or changed -------------------------------------------

DUSK_UNDO=()     # commands run at exit, last first
DUSK_PIDS=()     # processes this script started, ended at exit before the commands run

dusk_undo() { DUSK_UNDO+=("$*"); dusk_on_exit; }
dusk_own() { DUSK_PIDS+=("$1"); dusk_on_exit; }

# Ends a process this script started (if it still runs) and reaps it.
dusk_end() {
  if kill -0 "$1" 2>/dev/null; then
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
  fi
  return 0
}

dusk_cleanup() {
  local pid i
  for pid in "${DUSK_PIDS[@]}"; do dusk_end "$pid"; done
  for ((i = ${#DUSK_UNDO[@]} - 1; i >= 0; i--)); do eval "${DUSK_UNDO[i]}" >/dev/null 2>&1; done
  DUSK_PIDS=() DUSK_UNDO=()
}
dusk_on_exit() {  # in the script's own shell (a subshell's exit must not undo the script's things)
  [ -n "${DUSK_TRAPPED:-}" ] && return 0
  DUSK_TRAPPED=1
  trap dusk_cleanup EXIT
}

# A test script's start: its name (TEST_NAME), a work folder (WORK) removed at exit.
dusk_test_begin() {  # folder prefix
  TEST_NAME=$(basename "$0" .sh)
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  dusk_undo "rm -rf '$WORK'"
}

dusk_fail() {
  echo "FAIL (${TEST_NAME:-$(basename "$0")}): $*" >&2
  exit 1
}
dusk_skip() {
  echo "SKIP (${TEST_NAME:-$(basename "$0")}): $*" >&2
  exit 77
}
dusk_note() { echo "-- $*"; }

# --- processes and waiting -----------------------------------------------------------------------

# Starts a command in the background (redirect the call to redirect it); its pid in DUSK_PID.
dusk_spawn() {
  "$@" &
  DUSK_PID=$!
  dusk_own "$DUSK_PID"
}

dusk_alive() { kill -0 "$1" 2>/dev/null; }

# Waits (up to $2 seconds, default 60: a hang detector only) for a process to end; its exit code
# in DUSK_RC.
dusk_wait_exit() {
  local pid=$1 limit=${2:-60} i
  for ((i = 0; i < limit * 10; i++)); do
    if ! dusk_alive "$pid"; then
      wait "$pid" 2>/dev/null
      DUSK_RC=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Waits (up to $2 seconds, default 10) until file $1 exists and is not empty.
dusk_wait_file() {
  local i
  for ((i = 0; i < ${2:-10} * 10; i++)); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Waits (up to $2 seconds, default 60) for a top-level X window whose name matches the pattern;
# its id in DUSK_WINDOW.
dusk_wait_window() {
  local pattern=$1 limit=${2:-60} i
  for ((i = 0; i < limit * 5; i++)); do
    DUSK_WINDOW=$(xdotool search --name "$pattern" 2>/dev/null | head -1)
    [ -n "$DUSK_WINDOW" ] && return 0
    sleep 0.2
  done
  return 1
}

# Answers a message box with Return (a key sent with --window would be ignored).
dusk_dismiss_box() {
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key Return
}

# --- a virtual X display -------------------------------------------------------------------------

# Starts Xvfb with one screen of WxH (default 1024x768, depth 24 unless WxHxD is given) and any
# further Xvfb arguments; Xvfb itself takes the first free display number and says so once it
# accepts clients. DISPLAY is exported, the server's pid is in DUSK_XVFB_PID, and it ends at exit.
dusk_xvfb() {  # [WxH[xD]] [Xvfb arguments...]
  local screen=${1:-1024x768} said n="" i
  [ $# -gt 0 ] && shift
  [[ $screen == *x*x* ]] || screen=${screen}x24
  said=$(mktemp "${TMPDIR:-/tmp}/dusk-xvfb.XXXXXX")
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp "$@" 3>"$said" >/dev/null 2>&1 &
  DUSK_XVFB_PID=$!
  dusk_undo "dusk_end $DUSK_XVFB_PID"
  for ((i = 0; i < 600; i++)); do  # up to 30 s
    read -r n <"$said" && [[ $n =~ ^[0-9]+$ ]] && break
    n=""
    dusk_alive "$DUSK_XVFB_PID" || break
    sleep 0.05
  done
  rm -f "$said"
  if [ -z "$n" ]; then
    echo "Xvfb did not start (screen $screen)" >&2
    return 1
  fi
  export DISPLAY=":$n"
}
dusk_xvfb_stop() { [ -n "${DUSK_XVFB_PID:-}" ] && dusk_end "$DUSK_XVFB_PID"; return 0; }

# --- pictures ------------------------------------------------------------------------------------

dusk_shot() { import -window root "$1"; }

# "R,G,B" of one pixel.
dusk_pixel() {
  /usr/bin/convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)],%[fx:int(255*p{'"$2"','"$3"'}.g)],%[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

# The number of pixels in which two pictures differ; with a WxH+X+Y region, within it: a picture
# of exactly the region's size is taken as that region already (a rendered frame against part of
# a screenshot), a larger one is cut to it. Pictures of different sizes differ in every pixel
# (compare would pad the smaller one and count only what the padding does not hide).
dusk_diff_count() {
  local pics=("$1" "$2") region=${3:-} sizes i
  if [ -n "$region" ]; then
    read -r -a sizes < <(/usr/bin/identify -format '%wx%h ' "${pics[@]}")
    for i in 0 1; do
      [ "${sizes[i]}" = "${region%%+*}" ] && continue
      /usr/bin/convert "${pics[i]}" -crop "$region" +repage "$WORK/diff-$i.png"
      pics[i]=$WORK/diff-$i.png
    done
  fi
  read -r -a sizes < <(/usr/bin/identify -format '%wx%h %[fx:w*h] ' "${pics[@]}")
  if [ "${sizes[0]}" != "${sizes[2]}" ]; then
    echo "dusk_diff_count: ${pics[0]} is ${sizes[0]}, ${pics[1]} is ${sizes[2]}" >&2
    echo $((sizes[1] > sizes[3] ? sizes[1] : sizes[3]))
    return
  fi
  /usr/bin/compare -metric AE "${pics[@]}" null: 2>&1 | awk '{ print int($1) }'
}

# Keeps a picture where the test's output can point to it: in $DUSK_PICTURES as TEST_NAME-$2.png.
dusk_keep_picture() {
  mkdir -p "$DUSK_PICTURES"
  local to
  to=$(readlink -m "$DUSK_PICTURES/$TEST_NAME-$2.png")
  cp "$1" "$to"
  dusk_note "picture: $to"
}

# --- the headless host ---------------------------------------------------------------------------

# A Windows directory of its own for the headless host, made anew: HL_WIN, the data folder
# (default $DATA/Duskhollow) linked in.
dusk_headless_windir() {
  [ -x "$HEADLESS" ] || dusk_skip "no headless host at $HEADLESS (build the native flavour first)"
  HL_WIN=$WORK/headless-win
  rm -rf "$HL_WIN"
  mkdir -p "$HL_WIN"
  ln -s "${1:-$DATA/Duskhollow}" "$HL_WIN/Duskhollow"
}
