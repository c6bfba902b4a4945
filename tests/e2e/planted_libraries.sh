#!/usr/bin/env bash
# Libraries bound at run time come from the system folder only: an "mpr.dll" and a "password.cpl"
# beside the screen saver and in the current folder (a downloads folder where the zip was
# unpacked) are never loaded, for "/a" nor for the password check of the Windows 95 family.
source "$(dirname "$0")/lib.sh"

PLANTED=$(dirname "$PASSWORD_CPL")/planted.dll
[ -f "$PLANTED" ] || dusk_skip "no planted library at $PLANTED"
dusk_install_data
dusk_settings
DOWNLOADS=$WORK/downloads
mkdir -p "$DOWNLOADS"
cp "$SCR" "$DOWNLOADS/duskhollow.scr"
cp "$PLANTED" "$DOWNLOADS/mpr.dll"
cp "$PLANTED" "$DOWNLOADS/password.cpl"
SCR=$DOWNLOADS/duskhollow.scr
cd "$DOWNLOADS" || exit 1
export DUSK_TEST_PLANT_MARK
DUSK_TEST_PLANT_MARK=$(dusk_winpath "$WORK/mark.txt")

dusk_start /a 0
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "/a did not end"
[ ! -e "$WORK/mark.txt" ] || dusk_fail "/a loaded the planted library: $(cat "$WORK/mark.txt")"
dusk_note "ok: /a left the planted mpr.dll alone"

dusk_reg_add 'Control Panel\Desktop' ScreenSaveUsePassword REG_DWORD 1
dusk_reg_add 'Software\Wine\AppDefaults\duskhollow.scr' Version REG_SZ win98
dusk_start /s
dusk_wait_saver
xdotool key F5
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the saver did not end (no password.cpl in the system folder lets the user out)"
[ ! -e "$WORK/mark.txt" ] || dusk_fail "the password check loaded the planted library: $(cat "$WORK/mark.txt")"
dusk_note "ok: the password check left the planted password.cpl alone"

# The same library in the system folder is the one that is used: it leaves its mark.
dusk_system_file "$PLANTED" password.cpl
dusk_start /s
dusk_wait_saver
xdotool key F5
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the saver did not end"
grep -q VerifyScreenSavePwd "$WORK/mark.txt" 2>/dev/null || dusk_fail "the system folder's password.cpl was not asked"
dusk_note "ok: the system folder's password.cpl was loaded and asked"
