#!/usr/bin/env bash
# The clock and the message stand where the core puts them, as black boxes with dark grey text
# above the scene: on a 1024-wide screen the clock box is 89 x 19 at (924, 5) from the first
# frame on, and the message box spans the width at y = 5, its text at the left while the clock
# shows. Everything else is the scene, unchanged.
source "$(dirname "$0")/lib.sh"

dusk_install_data
dusk_headless_windir
DUSK_SETTINGS_TO=$HL_WIN/tarnix.ini dusk_settings
"$HEADLESS" --windir "$HL_WIN" --screen 1024x768 --ticks 2 --frames "$WORK/frames" /s >"$WORK/headless.log" 2>&1 ||
  dusk_fail "the headless host failed: $(cat "$WORK/headless.log")"
EMPTY=$WORK/frames/frame-000002.png

run() {  # settings... : starts the saver, takes a screenshot into $WORK/labels.png
  dusk_settings "$@"
  dusk_start /s
  dusk_wait_saver
  sleep 0.5
  dusk_shot "$WORK/labels.png"
}
stop() {
  xdotool key space
  dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the saver did not end on a key"
}
expect_scene() {  # region: the screenshot equals the empty scene there
  local n
  n=$(dusk_diff_count "$WORK/labels.png" "$EMPTY" "$1")
  [ "$n" = 0 ] || dusk_fail "$n pixels of $1 are not the scene"
}
expect_box() {  # region: all label pixels
  local n
  n=$(dusk_not_label_count "$WORK/labels.png" "$1")
  [ "$n" = 0 ] || dusk_fail "$n pixels of $1 are not the label's"
}
expect_text() {  # region: holds grey text
  [ "$(dusk_brightest "$WORK/labels.png" "$1")" -ge 32 ] || dusk_fail "no text in $1"
}
expect_no_text() {
  [ "$(dusk_brightest "$WORK/labels.png" "$1")" = 0 ] || dusk_fail "text where none belongs, in $1"
}

# The clock alone.
run "clock= 1"
dusk_keep_picture "$WORK/labels.png" clock
expect_box 89x19+924+5
expect_text 89x19+924+5
expect_scene 1024x5+0+0      # above the box
expect_scene 1024x744+0+24   # below it
expect_scene 924x19+0+5      # left of it
expect_scene 11x19+1013+5    # right of it
stop
dusk_note "ok: the clock box is 89 x 19 at (924, 5) with text inside"

# The message with the clock: the message box spans the width, its text starts at the left.
run "clock= 1" "messagetext=Boo"
dusk_keep_picture "$WORK/labels.png" message
expect_box 1024x19+0+5
expect_text 60x19+0+5
expect_no_text 700x19+200+5
expect_text 89x19+924+5
expect_scene 1024x5+0+0
expect_scene 1024x744+0+24
stop
dusk_note "ok: the message spans the width with its text at the left; the clock stays at the right"

# The message alone is centred.
run "messagetext=Boo"
expect_box 1024x19+0+5
expect_no_text 300x19+0+5
expect_text 200x19+412+5
expect_no_text 300x19+724+5
stop
dusk_note "ok: without the clock the message is centred"
