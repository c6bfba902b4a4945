#!/usr/bin/env bash
# "/a" without a window number: the conversion error is reported in the box titled
# "ScreenSaver Error" and the process ends once the box is dismissed.
source "$(dirname "$0")/lib.sh"

dusk_start /a
dusk_error_box "Error Code: Dusk- 13- Starter/Run_Password"
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the process still runs after the message box was dismissed"
[ "$DUSK_RC" != 0 ] || dusk_fail "an error run ended with exit code 0"
dusk_note "ok: error box shown, process ended with $DUSK_RC"
