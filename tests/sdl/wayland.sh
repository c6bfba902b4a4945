#!/usr/bin/env bash
# Natively under Wayland: a headless sway, no X display at all. With one 1024 x 768 output the
# saver covers it with the frame the headless host draws for the same seed and tick, and SIGTERM
# ends it; a key ends it, and so does a click, while moving the mouse (a pixel or two, or across
# the screen) does not, a few rounds each. The keyboard and mouse are sway's virtual ones, driven
# by the helper wl_input (one ordinary keymap, never changed). With two outputs each shows its
# own monitor's frame (the second of scale 2: a 768 x 1024 monitor), whichever output has the
# focus when it starts. Skipped (77) where sway, grim or the helper is missing. sway will not run
# as root: it runs as nobody.
source "$(dirname "$0")/lib.sh"
for tool in sway swaymsg grim setpriv jq; do
  command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
done
[ -x "$WL_INPUT" ] || { echo "no wl_input helper (built with the Wayland headers): skipped"; exit 77; }

RT=$WORK/runtime
mkdir -m 700 "$RT" && chown 65534:65534 "$RT" && chmod a+x "$WORK"
export XDG_RUNTIME_DIR=$RT DISPLAY= SDL_VIDEODRIVER=

# Starts sway with N outputs and the output lines given; its socket in WAYLAND_DISPLAY, its IPC
# socket in SWAYSOCK, and the helper's keyboard and mouse in the seat (WL_IN: its input and output).
# Without -D noscanout sway 1.7 hands a full-screen window's buffer straight to a headless output
# that shows nothing else (direct scan-out), and grim then often gets a black or grey picture of
# that output although the saver keeps sending it its frames: a screenshot's fault, not the saver's.
sway_up() {  # N "output ..."...
  local n=$1 i
  shift
  SWAYS=$((${SWAYS:-0} + 1))
  printf '%s\n' "$@" "default_border none" >"$WORK/sway-$SWAYS.conf"
  chmod a+r "$WORK/sway-$SWAYS.conf"
  setpriv --reuid=65534 --regid=65534 --clear-groups env -i HOME="$RT" XDG_RUNTIME_DIR="$RT" WLR_BACKENDS=headless \
    WLR_HEADLESS_OUTPUTS="$n" WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -D noscanout -c "$WORK/sway-$SWAYS.conf" \
    >"$WORK/sway-$SWAYS.log" 2>&1 &
  SWAY_PID=$!
  dusk_own "$SWAY_PID"
  export WAYLAND_DISPLAY SWAYSOCK
  for i in $(seq 300); do
    WAYLAND_DISPLAY=$(basename "$(compgen -G "$RT/wayland-*.lock" | head -1)" .lock)
    SWAYSOCK=$(compgen -G "$RT/sway-ipc.*.$SWAY_PID.sock" | head -1)
    [ -n "$SWAYSOCK" ] && [ -n "$WAYLAND_DISPLAY" ] && swaymsg -t get_version >/dev/null 2>&1 && break
    sleep 0.1
  done
  swaymsg -t get_version >/dev/null 2>&1 || dusk_fail "sway did not start: $(tail -3 "$WORK/sway-$SWAYS.log")"
  coproc WL_IN { "$WL_INPUT" 2>>"$WORK/wl_input.err"; }
  dusk_own "$WL_IN_PID"
  read -r -t 60 reply <&"${WL_IN[0]}" && [ "$reply" = ready ] ||
    dusk_fail "no virtual keyboard and mouse: $(cat "$WORK/wl_input.err")"
}
sway_down() {
  exec {WL_IN[1]}>&-
  dusk_end "$WL_IN_PID"
  dusk_end "$SWAY_PID"
  rm -f "$RT"/wayland-*
}
# One command to the helper (key CODE, move DX DY, moveto X Y W H, click), done once it answers.
input() {
  local reply
  echo "$*" >&"${WL_IN[1]}" && read -r -t 60 reply <&"${WL_IN[0]}" && [ "$reply" = ok ] ||
    dusk_fail "the helper did not do '$*': $(cat "$WORK/wl_input.err")"
}
# Waits until sway has given a window of the saver the keyboard's focus.
wait_focus() {
  local i
  for i in $(seq 300); do
    [ "$(swaymsg -t get_tree -r | jq '[.. | objects | select(.focused == true) | .pid] | first')" = "$RUN_PID" ] && return 0
    dusk_alive "$RUN_PID" || return 1
    sleep 0.1
  done
  return 1
}
# Starts the saver at frame 12 of seed 5 and waits until it has the focus.
start_shown() {
  start --seed 5 --time 21:05 --ticks 12
  wait_ticks && wait_focus || { fail "the saver did not show under Wayland: $(cat "$RUN_ERR")"; return 1; }
}
ends() {  # what ended it
  dusk_wait_exit "$RUN_PID" && check "$1 ends it (exit $DUSK_RC)" test "$DUSK_RC" = 0 || {
    fail "$1 did not end it"
    dusk_end "$RUN_PID"
  }
  check "and it said nothing" test ! -s "$RUN_ERR"
}
# grim's screenshot of one output, without its alpha channel, against a headless frame. An output
# of scale 2 has each of the window's pixels as four: the shot is halved back.
shows() {  # output frame.png what [scale]
  grim -o "$1" "$WORK/shot-$1.png" || { fail "no screenshot of $1"; return; }
  /usr/bin/convert "$WORK/shot-$1.png" -alpha off -scale "$((100 / ${4:-1}))%" "$WORK/shot-$1.png"
  dusk_keep_picture "$WORK/shot-$1.png" "$1"
  local n
  n=$(dusk_diff_count "$WORK/shot-$1.png" "$2")
  check "$1 shows $3 ($n pixels differ)" test "$n" = 0
}

"$HEADLESS" --write-settings "$WORK/scene.ini" "clock=1" "messagetext=Good evening" "owl=1" "bat=1" "rat=1"
cp "$WORK/scene.ini" "$SETTINGS"

# --- one output ---
sway_up 1 "output HEADLESS-1 mode 1024x768 position 0 0"
headless_frame 1024x768 "$WORK/hl-primary.png" 12 "$WORK/scene.ini" --seed 5 --time 21:05
if start_shown; then
  sleep 0.5
  shows HEADLESS-1 "$WORK/hl-primary.png" "the headless host's frame"
  kill -TERM "$RUN_PID"
  ends SIGTERM
fi
# Any key: the space bar, a letter, a shift key alone.
for key in 57 30 42; do
  start_shown || continue
  input key "$key"
  ends "the key of code $key"
done
# The mouse: onto the saver from afar, then a pixel or two; only the click ends it.
for round in 1 2 3; do
  start_shown || continue
  input moveto 900 700 1024 768
  input move 1 0
  input move 1 2
  input moveto 40 30 1024 768
  sleep 1
  check "moving the mouse leaves it running (round $round)" dusk_alive "$RUN_PID"
  input click
  ends "a click (round $round)"
done
sway_down

# --- two outputs: the primary and a portrait one of twice the pixel density beside it ---
sway_up 2 "output HEADLESS-1 mode 1024x768 position 0 0" "output HEADLESS-2 mode 1536x2048 position 1024 0 scale 2"
headless_frame 1024x768 "$WORK/hl-primary.png" 12 "$WORK/scene.ini" --seed 5 --time 21:05 --monitors 768x1024+1024+0
cp "$WORK/frames/frame-000012-m2.png" "$WORK/hl-portrait.png"
for round in 1 2; do
  # The second round starts while the user works on the second output.
  [ "$round" = 2 ] && swaymsg focus output HEADLESS-2 >/dev/null
  start_shown || continue
  sleep 0.5
  shows HEADLESS-1 "$WORK/hl-primary.png" "the headless primary frame (round $round)"
  shows HEADLESS-2 "$WORK/hl-portrait.png" "the headless frame of that monitor (round $round)" 2
  if [ "$round" = 1 ]; then
    input key 57
    ends "a key, on two outputs,"
  else
    input moveto 1400 500 1792 1024
    input click
    ends "a click on the second output"
  fi
done
sway_down

done_testing
