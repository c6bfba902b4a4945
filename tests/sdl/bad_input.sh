#!/usr/bin/env bash
# Bad input: each case ends with a clear message and a non-zero exit code, never a crash.
source "$(dirname "$0")/lib.sh"
dusk_xvfb 800x600 || dusk_fail "no virtual display"

# expect CODE MESSAGE ARGS...: the saver exits with CODE and says MESSAGE on stderr.
expect() {
  local code=$1 message=$2
  shift 2
  start "$@"
  if ! dusk_wait_exit "$RUN_PID"; then
    fail "'$*' did not end"
    kill "$RUN_PID"
    return
  fi
  if [ "$DUSK_RC" = "$code" ] && grep -qF -- "$message" "$RUN_ERR"; then
    ok "'$*': exit $DUSK_RC, '$message'"
  else
    fail "'$*': exit $DUSK_RC (wanted $code), said: $(head -c 300 "$RUN_ERR")"
  fi
}

expect 2 "unknown option --bogus" --bogus
expect 2 "unknown option --window-size" --window --window-size 3
expect 2 "--speed needs a whole number from 1 to 1000, not 'fast'" --speed fast
expect 2 "--speed needs a whole number" --speed 0
expect 2 "no creature is called 'unicorn'" --creatures bat,unicorn
expect 2 "--message needs a value" --message
expect 2 "choose one of --window, --window-id and --root" --window --root
expect 2 "--window-id is not an X window id: 'kitchen'" --window-id kitchen
expect 2 "there is no X window 0x7ffffff" --window-id 0x7ffffff
XSCREENSAVER_WINDOW=nowhere expect 2 "XSCREENSAVER_WINDOW is not an X window id: 'nowhere'"
expect 2 "no data folder at /nonexistent/data" --data /nonexistent/data
mkdir -p "$WORK/empty"
expect 2 "the data folder $WORK/empty holds no pictures of the scene" --data "$WORK/empty"
expect 2 "the settings dialog (/c) exists only on Windows" /c
expect 2 "the display control panel's preview (/p) exists only on Windows" /p 1234
expect 2 "the Windows 95 screen saver password (/a) exists only on Windows" /a 1234

# A settings file that cannot be read (a folder in its place: root reads through file modes).
rm -f "$SETTINGS"
mkdir "$SETTINGS"
expect 2 "cannot read the settings file $SETTINGS: it is a directory"
rmdir "$SETTINGS"
# An endless device or a pipe in its place is refused at once, not read until memory runs out or
# waited on for good.
ln -s /dev/zero "$SETTINGS"
expect 2 "cannot read the settings file $SETTINGS: it is not a regular file"
rm -f "$SETTINGS"
mkfifo "$SETTINGS"
expect 2 "cannot read the settings file $SETTINGS: it is not a regular file"
rm -f "$SETTINGS"

# No display at all, or a stale one: one line naming what is missing, never SDL's invisible
# stand-in display.
DISPLAY= SDL_VIDEODRIVER=x11 expect 1 "cannot open the X display"
DISPLAY= WAYLAND_DISPLAY= SDL_VIDEODRIVER= expect 1 "no display to show the saver on: neither DISPLAY nor WAYLAND_DISPLAY is set"
check "that is all it says" test "$(wc -l <"$RUN_ERR")" = 1
DISPLAY=:65001 WAYLAND_DISPLAY= SDL_VIDEODRIVER= expect 1 "cannot open the X display :65001"
check "that is all it says" test "$(wc -l <"$RUN_ERR")" = 1
DISPLAY= SDL_VIDEODRIVER= expect 1 "no X display to find the window on: DISPLAY is not set" --window-id 0x200001

done_testing
