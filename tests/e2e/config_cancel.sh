#!/usr/bin/env bash
# Cancel and the window's close box end the settings dialog without writing anything: after
# changes on three pages the settings file is still byte for byte what it was (wine's profile
# writer would have rewritten it, blanks and all, had a single key been written).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/helpers/config_lib.sh"

dusk_install_data
dusk_settings "owl= 1" "song3= 1" "messagetext=Boo"
cp "$WINDIR_UNIX/tarnix.ini" "$WORK/before.ini"

change_everything() {
  dusk_config_click "Zombie"
  dusk_config_page 2
  dusk_config_click "Thriller"
  dusk_config_page 3
  dusk_config_click "Enable Digital Clock"
  local l t w h
  read -r l t w h < <(dusk_config_class_line ScrollBar | cut -f6-9)
  xdotool mousemove $((CLIENT_X + l + w - h / 2)) $((CLIENT_Y + t + h / 2)) click 1  # the right arrow
  dusk_config_click_line "$(dusk_config_class_line Edit)"
  xdotool type --delay 50 " and goodbye"
  dusk_config_wait "the message" "Boo and goodbye" dusk_config_class_field Edit 10
  dusk_config_wait "the speed thumb" 75 dusk_config_class_field ScrollBar 5
}

expect_unchanged() {
  dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the dialog did not end on $1"
  [ "$DUSK_RC" = 0 ] || dusk_fail "$1 ended with exit code $DUSK_RC"
  cmp -s "$WORK/before.ini" "$WINDIR_UNIX/tarnix.ini" || dusk_fail "$1 changed the settings file"
  dusk_note "ok: $1 left the settings file as it was"
}

dusk_config_start
change_everything
dusk_config_click Cancel
expect_unchanged Cancel

dusk_config_start
change_everything
# The close box sits at the right end of the title bar, above the client area.
xdotool mousemove $((WIN_R - 12)) $(((WIN_T + CLIENT_Y) / 2)) click 1
expect_unchanged "the close box"
