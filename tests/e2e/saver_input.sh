#!/usr/bin/env bash
# Moving the mouse leaves the saver running; a key ends it, and so does a click.
source "$(dirname "$0")/lib.sh"

dusk_install_data
dusk_settings

wiggle() {
  local x
  for x in 100 300 500 700 900 512; do
    xdotool mousemove "$x" $((x * 3 / 4))
    sleep 0.1
  done
  sleep 1
  dusk_alive "$SCR_PID" || dusk_fail "moving the mouse ended the saver"
}

dusk_start /s
dusk_wait_saver
wiggle
xdotool key a
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "a key press did not end the saver"
[ "$DUSK_RC" = 0 ] || dusk_fail "the saver ended with $DUSK_RC after a key"
dusk_note "ok: the mouse moved and the saver ran on; a key ended it"

dusk_start /s
dusk_wait_saver
wiggle
xdotool click 1
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "a click did not end the saver"
[ "$DUSK_RC" = 0 ] || dusk_fail "the saver ended with $DUSK_RC after a click"
dusk_note "ok: a click ended it"
