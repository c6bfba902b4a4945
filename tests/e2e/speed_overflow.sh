#!/usr/bin/env bash
# A speed that does not fit in 16 bits (a hand edit, a broken disk): the saver still reports it,
# but the settings dialog opens with the thumb at the slow end, and Apply repairs the file.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/helpers/config_lib.sh"

dusk_install_data
dusk_settings "speed=99999"
dusk_start /s
dusk_error_box "Error Code: Dusk- 6- Starter/X_GetData"
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the saver still runs after the message box"
dusk_note "ok: /s reports the speed"

dusk_config_start
[ "$(dusk_config_class_line ScrollBar | cut -f5)" = 0 ] ||
  dusk_fail "the thumb is at $(dusk_config_class_line ScrollBar | cut -f5), not the slow end 0"
dusk_config_page 3
dusk_config_click Apply
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "Apply did not end the dialog"
speed=$(tr -d '\r' <"$WINDIR_UNIX/tarnix.ini" | awk -F= 'tolower($1) == "speed" {print $2}')
[ "$(echo $speed)" = 140 ] || dusk_fail "Apply wrote speed='$speed', not 140"
dusk_note "ok: /c opened with the thumb at the slow end, Apply wrote speed=$speed"
