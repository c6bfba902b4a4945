#!/usr/bin/env bash
# A second "/s" started while one runs ends at once; with a window titled "Display Properties"
# open (the control panel's), it starts like the first.
source "$(dirname "$0")/lib.sh"

dusk_install_data
dusk_settings

dusk_start /s
FIRST=$SCR_PID
dusk_wait_saver
dusk_start /s
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the second instance did not end"
[ "$DUSK_RC" = 0 ] || dusk_fail "the second instance ended with $DUSK_RC"
dusk_alive "$FIRST" || dusk_fail "the first instance ended too"
[ "$(xdotool search --name '^Duskhollow$' | wc -l)" = 1 ] || dusk_fail "the second instance showed a window"
dusk_note "ok: the second instance ended at once"

dusk_test_window "Display Properties" 200 100
dusk_start /s
THIRD=$SCR_PID
for ((i = 0; i < 300; i++)); do
  [ "$(xdotool search --name '^Duskhollow$' | wc -l)" = 2 ] && break
  dusk_alive "$THIRD" || dusk_fail "with Display Properties open the second instance ended"
  sleep 0.2
done
[ "$(xdotool search --name '^Duskhollow$' | wc -l)" = 2 ] || dusk_fail "the second saver window did not appear"
dusk_note "ok: with Display Properties open a second saver runs"

# Clicks end both, one after the other (a click reaches the saver under the pointer, whichever
# window has the keyboard).
for ((i = 0; i < 20; i++)); do
  dusk_alive "$FIRST" || dusk_alive "$THIRD" || break
  xdotool click 1
  sleep 0.5
done
dusk_wait_exit "$FIRST" 30 || dusk_fail "the first saver did not end on a click"
dusk_wait_exit "$THIRD" 30 || dusk_fail "the second saver did not end on a click"
