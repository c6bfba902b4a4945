#!/usr/bin/env bash
# Settings that stick: when the Windows directory's settings file refuses the write, Apply makes
# the user's own copy from it (in the application-data folder of a user whose name the code page
# cannot spell) and writes there; the next start reads that copy first. When no file takes the
# settings, a message box says which file and why, and the dialog stays as it was.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/helpers/config_lib.sh"

dusk_install_data
USER_NAME="Тимофей"
USER_DIR=$WINEPREFIX/drive_c/users/$USER_NAME
USER_FILE=$USER_DIR/AppData/Roaming/Duskhollow/tarnix.ini
dusk_keep_aside "$USER_DIR"
mkdir -p "$USER_DIR/AppData/Roaming"
dusk_reg_add 'Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' AppData REG_EXPAND_SZ \
  "C:\\users\\$USER_NAME\\AppData\\Roaming"

dusk_settings "owl= 1" "messagetext=Boo"
printf '[Other]\r\nkept=yes\r\n' >>"$WINDIR_UNIX/tarnix.ini"
cp "$WINDIR_UNIX/tarnix.ini" "$WORK/windows.ini"
# Refuses writes even to root (a read-only mode does not).
chattr +i "$WINDIR_UNIX/tarnix.ini" 2>/dev/null || dusk_skip "chattr +i is not available here"
dusk_undo "chattr -i '$WINDIR_UNIX/tarnix.ini'"

# --- the Windows directory's file refuses: the user's own copy takes the settings ---
dusk_config_start
dusk_config_page 3
dusk_config_click "Keep the picture's proportions"
dusk_config_wait "the proportions box" 1 dusk_config_state "Keep the picture's proportions"
dusk_config_click Apply
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the dialog did not end on Apply"
[ "$DUSK_RC" = 0 ] || dusk_fail "Apply ended with exit code $DUSK_RC"
cmp -s "$WORK/windows.ini" "$WINDIR_UNIX/tarnix.ini" || dusk_fail "the refusing Windows file changed"
[ -f "$USER_FILE" ] || dusk_fail "no settings file in the user's folder: $(find "$USER_DIR" | head)"
tr -d '\r' <"$USER_FILE" >"$WORK/user.txt"
for line in "proportions=1" "monitors=1" "owl=1" "messagetext=Boo" "kept=yes"; do
  grep -qx "$line" "$WORK/user.txt" || dusk_fail "the user's file lacks '$line': $(cat "$WORK/user.txt")"
done
dusk_note "ok: the user's own copy (under $USER_NAME) took the settings, the Windows file's other sections kept"

# --- the next start reads the user's copy first ---
dusk_config_start
[ "$(dusk_config_state "Keep the picture's proportions")" = 1 ] || dusk_fail "the user's copy was not read"
[ "$(dusk_config_class_line Edit | cut -f10)" = Boo ] || dusk_fail "the message is not the user's copy's"
dusk_note "ok: the next start reads the user's copy"

# --- neither file takes the settings: the user is told, nothing changes ---
cp "$USER_FILE" "$WORK/user.ini"
chattr +i "$USER_FILE"
dusk_undo "chattr -i '$USER_FILE'"
dusk_config_page 3
dusk_config_click "Show the scene on every monitor"
dusk_config_wait "the monitors box" 0 dusk_config_state "Show the scene on every monitor"
dusk_config_click Apply
dusk_wait_window '^Settings Not Saved$' 30 || dusk_fail "no message box about the settings"
box=$DUSK_WINDOW
dusk_window_texts "Settings Not Saved" "$WORK/box.txt" || dusk_fail "could not read the message box"
tr -d '\r' <"$WORK/box.txt" >"$WORK/box-lf.txt"
grep -q 'Duskhollow\\tarnix.ini' "$WORK/box-lf.txt" || dusk_fail "the box does not name the file: $(cat "$WORK/box-lf.txt")"
grep -qi 'denied' "$WORK/box-lf.txt" || dusk_fail "the box does not say why: $(cat "$WORK/box-lf.txt")"
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key Return
sleep 1
dusk_alive "$SCR_PID" || dusk_fail "the dialog ended although nothing was saved"
dusk_config_probe || dusk_fail "the dialog is gone"
[ "$(dusk_config_state "Show the scene on every monitor")" = 0 ] || dusk_fail "the user's choice was lost"
cmp -s "$WORK/user.ini" "$USER_FILE" || dusk_fail "the refusing user file changed"
cmp -s "$WORK/windows.ini" "$WINDIR_UNIX/tarnix.ini" || dusk_fail "the refusing Windows file changed"
dusk_note "ok: the box named the file and the reason; the dialog and both files stayed as they were"
dusk_config_click Cancel
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the dialog did not end on Cancel"
