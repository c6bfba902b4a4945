#!/usr/bin/env bash
# The clock and the message stand where the core puts them, as black boxes with dark grey text
# above the scene: on a 1024-wide screen the clock box is 89 x 19 at (924, 5) from the first
# frame on, and the message box spans the width at y = 5, up to the clock's box while the clock
# shows, its text then at the left; a message too long for its box ends in "..." before the
# clock, at any dpi. Everything else is the scene, unchanged.
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

# The message with the clock: the message box runs up to the clock's, its text starts at the left.
run "clock= 1" "messagetext=Boo"
dusk_keep_picture "$WORK/labels.png" message
expect_box 1013x19+0+5
expect_text 60x19+0+5
expect_no_text 700x19+200+5
expect_text 89x19+924+5
expect_scene 11x19+1013+5
expect_scene 1024x5+0+0
expect_scene 1024x744+0+24
stop
dusk_note "ok: the message runs up to the clock with its text at the left; the clock stays at the right"

# At 144 dpi a long message ends in "..." before the clock's box, which is 134 x 28 at (879, 5).
dusk_reg_add 'Control Panel\Desktop' LogPixels REG_DWORD 144
run "clock= 1" "messagetext=I wrote this message so long that it cannot fit anything, that is the point of it all"
dusk_keep_picture "$WORK/labels.png" long-message-144dpi
expect_box 1013x28+0+5
expect_text 60x28+0+5
expect_text 60x28+800+5      # the message's end, just before the clock
expect_no_text 6x28+879+5    # the clock's own margin: nothing of the message runs under it
expect_text 134x28+879+5
expect_scene 11x28+1013+5
expect_scene 1024x735+0+33
stop
dusk_note "ok: at 144 dpi a long message ends before the clock box"

# The message alone is centred.
run "messagetext=Boo"
expect_box 1024x19+0+5
expect_no_text 300x19+0+5
expect_text 200x19+412+5
expect_no_text 300x19+724+5
stop
dusk_note "ok: without the clock the message is centred"
