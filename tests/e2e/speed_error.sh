#!/usr/bin/env bash
# A negative speed cannot be a timer interval: the saver's initialisation reports it above the
# saver, with the cursor shown, and the process ends after OK.
source "$(dirname "$0")/lib.sh"

dusk_install_data
dusk_settings "speed=-1"
dusk_start /s
dusk_error_box "Error Code: Dusk- 380- ScreenSaver/Form_Initialize"
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the process still runs after the message box was dismissed"
dusk_note "ok: Form_Initialize error shown, process ended with $DUSK_RC"
