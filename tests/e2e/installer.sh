#!/usr/bin/env bash
# The setup program in a wine prefix of its own, made fresh for this test: a silent install puts
# the saver into the 64-bit system folder and the data folder into the Windows directory, writes
# the "Apps & features" entry and leaves the screen-saver choice alone; the installed saver runs
# and shows the scene. A setup closes a running saver, and stops, changing nothing, while a
# preview it cannot close runs from the file. A silent upgrade with /SELECT closes the settings
# window, keeps both settings files byte for byte and changes exactly SCRNSAVE.EXE and
# ScreenSaveActive; what it replaced is kept for this user (HKCU), nothing of it machine-wide. A
# silent uninstall leaves files and keys as they were before the install (the earlier screen saver
# chosen again), settings files kept; with /REMOVESETTINGS our sections go, other programs' stay
# byte for byte, and a file that held only ours goes.
source "$(dirname "$0")/lib.sh"

BIN=$(dirname "$SCR")
BUILT_SCR=$SCR
SETUP=$BIN/duskhollow-setup.exe
[ -f "$SETUP" ] || dusk_skip "no setup program at $SETUP (nsis missing?)"
[ -d "$DATA/Duskhollow" ] || dusk_skip "no data folder at $DATA/Duskhollow (build the native flavour first)"
VERSION=$(sed -n 's/^project(Duskhollow VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ -n "$VERSION" ] || dusk_fail "no version in the top CMakeLists.txt"
[ -f "$BIN/duskhollow-$VERSION-win64.zip" ] || dusk_fail "no duskhollow-$VERSION-win64.zip next to the saver"

# --- a fresh prefix (the shared one stays as it is) ----------------------------------------------
SHARED_PREFIX=$WINEPREFIX
export WINEPREFIX=$BIN/../installer-prefix
rm -rf "$WINEPREFIX"
dusk_undo "WINEPREFIX='$WINEPREFIX' wineserver -k; rm -rf '$WINEPREFIX'"
export WINEDLLOVERRIDES="mscoree,mshtml="
dusk_note "creating a fresh prefix"
wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
timeout 120 wineserver -w
WINDIR_UNIX=$WINEPREFIX/drive_c/windows
SYS=$WINDIR_UNIX/system32
[ -d "$SYS" ] || dusk_fail "the fresh prefix has no system32"
APPDATA_UNIX=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)
[ -n "$APPDATA_UNIX" ] || dusk_fail "no %APPDATA% in the fresh prefix"
APPDATA_UNIX=$(readlink -m "$APPDATA_UNIX")
APPDATA_REL=./${APPDATA_UNIX#$(readlink -m "$WINEPREFIX/drive_c")/}

UNINST='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
DESKTOP='HKCU\Control Panel\Desktop'
USERKEY='HKCU\Software\Duskhollow'
# What the installer may touch: the entries of "Apps & features", the desktop settings, and the
# files of the prefix (wine's own temporary files and logs aside).
snapshot() {  # name
  wine reg query "$UNINST" /s 2>/dev/null | tr -d '\r' >"$WORK/$1.uninst"
  wine reg query "$DESKTOP" /s 2>/dev/null | tr -d '\r' >"$WORK/$1.desktop"
  wine reg query "$USERKEY" /s 2>/dev/null | tr -d '\r' >"$WORK/$1.user"
  (cd "$WINEPREFIX/drive_c" && find . -path '*/Temp' -prune -o -path './windows/logs' -prune -o -print | sort) >"$WORK/$1.files"
}
reg_value() {  # key value
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v {$1 = ""; $2 = ""; print substr($0, 3)}'
}
entry() { reg_value "$UNINST\\Duskhollow" "$1"; }  # value of the Duskhollow entry
# Waits until every process of the prefix has ended (the uninstaller runs on from a copy of itself).
settle() { timeout 120 wineserver -w || dusk_fail "$1: processes of the prefix still run after two minutes"; }
run_setup() {  # arguments
  wine "$SETUP" "$@" >"$WORK/setup.log" 2>&1
  local rc=$?
  settle "setup $*"
  [ "$rc" = 0 ] || dusk_fail "setup $* ended with $rc"
}
uninstall() {  # extra arguments to the entry's own quiet command, run as "Apps & features" does
  local quiet exe
  quiet=$(entry QuietUninstallString)
  [[ $quiet =~ ^\"([^\"]+)\"\ (.*)$ ]] || dusk_fail "QuietUninstallString: '$quiet'"
  exe=${BASH_REMATCH[1]}
  # shellcheck disable=SC2086
  wine "$exe" ${BASH_REMATCH[2]} "$@" >"$WORK/uninstall.log" 2>&1 || dusk_fail "'$quiet $*' failed"
  settle "uninstall $*"
}
installed_files_ok() {
  cmp -s "$BUILT_SCR" "$SYS/duskhollow.scr" || dusk_fail "system32\\duskhollow.scr is not the built saver"
  [ ! -e "$WINDIR_UNIX/syswow64/duskhollow.scr" ] || dusk_fail "a copy went into syswow64"
  diff -r "$DATA/Duskhollow" "$WINDIR_UNIX/Duskhollow" -x LICENSE.txt -x uninstall.exe >"$WORK/data.diff" ||
    dusk_fail "the installed data folder differs: $(head -5 "$WORK/data.diff")"
  [ -f "$WINDIR_UNIX/Duskhollow/uninstall.exe" ] || dusk_fail "no uninstaller"
  grep -q "MIT License" "$WINDIR_UNIX/Duskhollow/LICENSE.txt" || dusk_fail "no licence beside the data"
}

# Another saver is the current choice; the uninstaller is to put it back.
touch "$SYS/other.scr"
wine reg add "$DESKTOP" /v SCRNSAVE.EXE /t REG_SZ /d 'C:\windows\system32\other.scr' /f >/dev/null 2>&1
wine reg add "$DESKTOP" /v ScreenSaveActive /t REG_SZ /d 0 /f >/dev/null 2>&1
settle "reg add"
snapshot before

# --- silent install ------------------------------------------------------------------------------
run_setup /S
installed_files_ok
[ "$(entry DisplayName)" = "Duskhollow ScreenSaver" ] || dusk_fail "DisplayName: '$(entry DisplayName)'"
[ "$(entry DisplayVersion)" = "$VERSION" ] || dusk_fail "DisplayVersion: '$(entry DisplayVersion)', not $VERSION"
[ "$(entry Publisher)" = "The Duskhollow developers" ] || dusk_fail "Publisher: '$(entry Publisher)'"
[ "$(entry DisplayIcon)" = 'C:\windows\system32\duskhollow.scr,0' ] || dusk_fail "DisplayIcon: '$(entry DisplayIcon)'"
[ "$(entry UninstallString)" = '"C:\windows\Duskhollow\uninstall.exe"' ] || dusk_fail "UninstallString: '$(entry UninstallString)'"
[ "$(entry QuietUninstallString)" = '"C:\windows\Duskhollow\uninstall.exe" /S' ] || dusk_fail "QuietUninstallString: '$(entry QuietUninstallString)'"
size=$(($(entry EstimatedSize)))
[ "$size" -gt $(($(du -sk "$DATA/Duskhollow" | cut -f1) / 2)) ] || dusk_fail "EstimatedSize $size KB"
wine reg query "$DESKTOP" /s 2>/dev/null | tr -d '\r' | diff "$WORK/before.desktop" - >"$WORK/desktop.diff" ||
  dusk_fail "a plain silent install changed the desktop settings: $(cat "$WORK/desktop.diff")"
dusk_note "ok: silent install: files, the entry (version $VERSION, $size KB), no change to the choice"

# The installed saver runs from the system folder and draws what the headless host draws.
dusk_headless_windir
dusk_settings
DUSK_SETTINGS_TO=$HL_WIN/tarnix.ini dusk_settings
"$HEADLESS" --windir "$HL_WIN" --screen 1024x768 --ticks 3 --frames "$WORK/frames" /s >"$WORK/headless.log" 2>&1 ||
  dusk_fail "the headless host failed: $(cat "$WORK/headless.log")"
SCR='C:\windows\system32\duskhollow.scr'
dusk_start /s
dusk_wait_saver
sleep 0.5
dusk_shot "$WORK/installed.png"
n=$(dusk_diff_count "$WORK/installed.png" "$WORK/frames/frame-000003.png")
if [ "$n" != 0 ]; then
  dusk_keep_picture "$WORK/installed.png" installed
  dusk_fail "the installed saver's scene differs from the headless canvas in $n pixels"
fi
dusk_note "ok: the installed saver shows the scene"

# --- a setup while the saver and a preview run: it closes the saver; the preview (the control
# panel's) it cannot close, so it stops and leaves everything as it was ---------------------------
SAVER=$SCR_PID
dusk_test_window "Display Properties" 152 112
dusk_start /p "$TW_HWND"
PREVIEW=$SCR_PID
for ((i = 0; i < 300; i++)); do
  grep -q "ticks [1-9]" "$TW_DIR/child" 2>/dev/null && break
  dusk_alive "$PREVIEW" || dusk_fail "the preview ended early"
  sleep 0.2
done
wine "$SETUP" /S /SELECT >"$WORK/setup.log" 2>&1
rc=$?
[ "$rc" = 2 ] || dusk_fail "with a preview running from the file, setup ended with $rc, not 2 (cancelled)"
dusk_wait_exit "$SAVER" 10 || dusk_fail "setup did not close the running saver"
dusk_alive "$PREVIEW" || dusk_fail "the preview ended"
installed_files_ok
wine reg query "$DESKTOP" /s 2>/dev/null | tr -d '\r' | diff "$WORK/before.desktop" - >/dev/null ||
  dusk_fail "the cancelled setup changed the desktop settings"
touch "$TW_DIR/destroy"
dusk_wait_exit "$PREVIEW" 30 || dusk_fail "the preview ran on after its parent was destroyed"
touch "$TW_DIR/quit"
dusk_wait_exit "$TW_PID" 30 || dusk_fail "the test window did not end"
dusk_note "ok: saver closed, setup stopped at the preview, nothing changed"

# --- upgrade over it, the settings window open, with /SELECT ----------------------------------------
# Both settings files carry a section of someone else's; they must come through byte for byte.
printf '[Duskhollow]\r\nspeed=12\r\n[Foreign]\r\nkey = kept as is\r\n' >>"$WINDIR_UNIX/tarnix.ini"
mkdir -p "$APPDATA_UNIX/Duskhollow"
printf '[Other Tool]\r\n  odd = spacing ; and a comment\r\n\r\n[Duskhollow]\r\nclock=1\r\n' >"$APPDATA_UNIX/Duskhollow/tarnix.ini"
cp "$WINDIR_UNIX/tarnix.ini" "$WORK/windir.ini"
cp "$APPDATA_UNIX/Duskhollow/tarnix.ini" "$WORK/user.ini"
dusk_start /c
DIALOG=$SCR_PID
dusk_wait_window '^Duskhollow ScreenSaver$' 60 || dusk_fail "the settings window did not open"
run_setup /S /SELECT
dusk_wait_exit "$DIALOG" 10 || dusk_fail "the settings window was not closed by the upgrade"
installed_files_ok
cmp -s "$WORK/windir.ini" "$WINDIR_UNIX/tarnix.ini" || dusk_fail "the upgrade changed C:\\windows\\tarnix.ini"
cmp -s "$WORK/user.ini" "$APPDATA_UNIX/Duskhollow/tarnix.ini" || dusk_fail "the upgrade changed the per-user tarnix.ini"
[ "$(wine reg query "$UNINST" 2>/dev/null | grep -ci duskhollow)" = 1 ] || dusk_fail "not exactly one entry after the upgrade"
wine reg query "$DESKTOP" /s 2>/dev/null | tr -d '\r' >"$WORK/selected.desktop"
diff "$WORK/before.desktop" "$WORK/selected.desktop" | grep '^[<>]' | sort >"$WORK/desktop.diff"
sort >"$WORK/desktop.want" <<'EOF'
<     SCRNSAVE.EXE    REG_SZ    C:\windows\system32\other.scr
>     SCRNSAVE.EXE    REG_SZ    C:\windows\system32\duskhollow.scr
<     ScreenSaveActive    REG_SZ    0
>     ScreenSaveActive    REG_SZ    1
EOF
diff "$WORK/desktop.want" "$WORK/desktop.diff" >/dev/null ||
  dusk_fail "/SELECT changed: $(cat "$WORK/desktop.diff")"
# What the choice replaced belongs to this user, not to the machine.
[ "$(reg_value "$USERKEY" ScreenSaverChosenBySetup)" = 0x1 ] || dusk_fail "no ScreenSaverChosenBySetup in $USERKEY"
[ "$(reg_value "$USERKEY" PreviousScreenSaver)" = 'C:\windows\system32\other.scr' ] ||
  dusk_fail "PreviousScreenSaver in $USERKEY: '$(reg_value "$USERKEY" PreviousScreenSaver)'"
[ "$(reg_value "$USERKEY" PreviousScreenSaveActive)" = 0 ] || dusk_fail "PreviousScreenSaveActive in $USERKEY"
for v in ScreenSaverChosenBySetup PreviousScreenSaver PreviousScreenSaveActive; do
  [ -z "$(entry $v)" ] || dusk_fail "$v is kept machine-wide"
done
dusk_note "ok: upgrade: settings window closed, settings files kept byte for byte, exactly the two values set, the earlier ones kept for this user"

# --- uninstall, the saver running --------------------------------------------------------------------
dusk_start /s
dusk_wait_saver
uninstall
dusk_wait_exit "$SCR_PID" 10 || dusk_fail "the running saver was not closed by the uninstaller"
cmp -s "$WORK/windir.ini" "$WINDIR_UNIX/tarnix.ini" || dusk_fail "the uninstaller changed C:\\windows\\tarnix.ini"
cmp -s "$WORK/user.ini" "$APPDATA_UNIX/Duskhollow/tarnix.ini" || dusk_fail "the uninstaller changed the per-user tarnix.ini"
snapshot after
for part in uninst desktop user; do
  diff "$WORK/before.$part" "$WORK/after.$part" >"$WORK/$part.diff" ||
    dusk_fail "after the uninstall the $part keys differ: $(cat "$WORK/$part.diff")"
done
diff "$WORK/before.files" "$WORK/after.files" | grep '^[<>]' >"$WORK/files.diff"
printf '%s\n' "> $APPDATA_REL/Duskhollow" "> $APPDATA_REL/Duskhollow/tarnix.ini" "> ./windows/tarnix.ini" |
  sort >"$WORK/files.want"
sort "$WORK/files.diff" | diff "$WORK/files.want" - >/dev/null ||
  dusk_fail "after the uninstall the files differ beyond the settings: $(cat "$WORK/files.diff")"
dusk_note "ok: uninstall: every file and key as before, the earlier saver chosen again, settings kept"

# --- once more, the settings removed too: our sections (any case, any line ends, UTF-16 too), and
# the file once nothing else is left in it --------------------------------------------------------
run_setup /S /SELECT
installed_files_ok
printf '; a comment of another program\r\n[Duskhollow]\r\nspeed=12\r\n[Foreign]\r\nkey = kept as is\r\n\r\n[ duskhollow ]\nclock=1\r[Last]\nx=y' \
  >"$WINDIR_UNIX/tarnix.ini"
printf '; a comment of another program\r\n[Foreign]\r\nkey = kept as is\r\n\r\n[Last]\nx=y' >"$WORK/foreign.ini"
{ printf '\xff\xfe'; printf '[Duskhollow]\r\nclock=1\r\n\r\n' | iconv -f UTF-8 -t UTF-16LE; } >"$APPDATA_UNIX/Duskhollow/tarnix.ini"
uninstall /REMOVESETTINGS
cmp -s "$WORK/foreign.ini" "$WINDIR_UNIX/tarnix.ini" ||
  dusk_fail "/REMOVESETTINGS left C:\\windows\\tarnix.ini as: $(od -c "$WINDIR_UNIX/tarnix.ini" | head -8)"
snapshot removed
for part in uninst desktop user; do
  diff "$WORK/before.$part" "$WORK/removed.$part" >"$WORK/$part.diff" ||
    dusk_fail "after uninstalling with /REMOVESETTINGS the $part differ: $(cat "$WORK/$part.diff")"
done
diff "$WORK/before.files" "$WORK/removed.files" | grep '^[<>]' >"$WORK/files.diff"
[ "$(cat "$WORK/files.diff")" = "> ./windows/tarnix.ini" ] ||
  dusk_fail "after uninstalling with /REMOVESETTINGS the files differ: $(cat "$WORK/files.diff")"
dusk_note "ok: uninstall /REMOVESETTINGS: our sections gone, another program's kept byte for byte, a file of ours alone removed"
export WINEPREFIX=$SHARED_PREFIX
