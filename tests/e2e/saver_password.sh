#!/usr/bin/env bash
# On the Windows 95 family with the screen-saver password in force, a key asks password.cpl
# (here our stand-in, answering "not verified" and then "verified"): the first key leaves the
# saver running, the second ends it. On the NT family the first key ends it, unasked.
# The keys are function keys, which bring a key-down and no key press: one close request each.
source "$(dirname "$0")/lib.sh"

dusk_install_data
dusk_settings
dusk_system_file "$PASSWORD_CPL" password.cpl
dusk_reg_add 'Control Panel\Desktop' ScreenSaveUsePassword REG_DWORD 1
dusk_reg_add 'Software\Wine\AppDefaults\duskhollow.scr' Version REG_SZ win98
export DUSK_TEST_PASSWORD_ANSWERS=01
export DUSK_TEST_PASSWORD_LOG
DUSK_TEST_PASSWORD_LOG=$(dusk_winpath "$WORK/password-95.log")

calls() { if [ -f "$1" ]; then grep -c '^call' "$1"; else echo 0; fi; }
wait_calls() {  # log count
  local i
  for ((i = 0; i < 300; i++)); do
    [ "$(calls "$1")" -ge "$2" ] && return 0
    sleep 0.2
  done
  dusk_fail "password.cpl was asked $(calls "$1") times, not $2"
}

dusk_start /s
dusk_wait_saver
xdotool key F5
wait_calls "$WORK/password-95.log" 1
sleep 1
dusk_alive "$SCR_PID" || dusk_fail "the saver ended although the password was not verified"
[ "$(calls "$WORK/password-95.log")" = 1 ] || dusk_fail "one key asked $(calls "$WORK/password-95.log") times"
grep -q "call 1 window ok answer 0" "$WORK/password-95.log" || dusk_fail "the check was not given the saver window"
dusk_note "ok: not verified, the saver runs on"
xdotool key F5
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the saver did not end once the password was verified"
[ "$(calls "$WORK/password-95.log")" = 2 ] || dusk_fail "expected two checks, got $(calls "$WORK/password-95.log")"
dusk_note "ok: verified on the second key, the saver ended"

# The NT family: the same password setting and checker, never asked.
wine reg delete 'HKCU\Software\Wine\AppDefaults\duskhollow.scr' /v Version /f >/dev/null 2>&1
DUSK_TEST_PASSWORD_LOG=$(dusk_winpath "$WORK/password-nt.log")
dusk_start /s
dusk_wait_saver
xdotool key F5
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "on NT the first key did not end the saver"
[ "$(calls "$WORK/password-nt.log")" = 0 ] || dusk_fail "on NT the password checker was asked"
dusk_note "ok: on NT the first key ended it without a check"
