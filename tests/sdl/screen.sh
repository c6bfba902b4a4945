#!/usr/bin/env bash
# What the saver shows and how it ends: full screen at 1024 x 768 it shows exactly the headless
# host's frame for the same seed and tick (labels included, the command line over the settings
# file); in a window, and in an X window handed to it, the same scene by the same presentation
# rules; keys and clicks end it, but not inside a daemon's window, where SIGTERM ends it promptly;
# a run-time error shows the program's error message and ends it with 1.
source "$(dirname "$0")/lib.sh"
dusk_xvfb 1024x768 || dusk_fail "no virtual display"

# The scene the headless host draws: every creature, the clock and a message, no sound.
mapfile -t CREATURES < <("$HEADLESS" --list-creatures)
"$HEADLESS" --write-settings "$WORK/scene.ini" "clock=1" "messagetext=Good evening" "${CREATURES[@]/%/=1}"
# The saver's own file says otherwise; its command line brings it to the same scene.
printf '[Duskhollow]\r\nfirstrun=1\r\nspeed=70\r\nclock=0\r\nowl=1\r\n' >"$SETTINGS"
SAME=(--seed 5 --time 21:05 --ticks 12 --creatures all --clock --message "Good evening")

# --- full screen ---
headless_frame 1024x768 "$WORK/hl-1024.png" 12 "$WORK/scene.ini" --seed 5 --time 21:05
start "${SAME[@]}"
wait_ticks || fail "the full-screen saver did not reach frame 12: $(cat "$RUN_ERR")"
dusk_shot "$WORK/full.png"
dusk_keep_picture "$WORK/full.png" full-screen
n=$(dusk_diff_count "$WORK/full.png" "$WORK/hl-1024.png")
check "full screen equals the headless frame for the same seed and tick ($n pixels differ)" test "$n" = 0
xdotool key space
dusk_wait_exit "$RUN_PID" && check "a key ends the saver cleanly" test "$DUSK_RC" = 0 || fail "a key did not end the saver"

start --ticks 1 --no-music --no-sound
wait_ticks
xdotool mousemove 500 400 click 1
dusk_wait_exit "$RUN_PID" && check "a click ends the saver cleanly" test "$DUSK_RC" = 0 || fail "a click did not end the saver"

# --- in a window: 800 x 600, the scene as the program composes it ---
headless_frame 800x600 "$WORK/hl-800.png" 12 "$WORK/scene.ini" --seed 5 --time 21:05
start --window "${SAME[@]}"
wait_ticks || fail "the window did not reach frame 12"
wid=$(xdotool search --name '^Duskhollow$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
dusk_shot "$WORK/window.png"
dusk_keep_picture "$WORK/window.png" window
n=$(dusk_diff_count "$WORK/window.png" "$WORK/hl-800.png" "800x600+$X+$Y")
check "the window shows the headless 800 x 600 frame ($n pixels differ)" test "$n" = 0
# Made smaller, it shows the scene's bottom-right part, as a small screen does.
xdotool windowsize --sync "$wid" 640 480
sleep 0.3
dusk_shot "$WORK/window-small.png"
dusk_keep_picture "$WORK/window-small.png" window-640x480
/usr/bin/convert "$WORK/hl-800.png" -crop 640x450+160+150 +repage "$WORK/hl-corner.png"
n=$(dusk_diff_count "$WORK/window-small.png" "$WORK/hl-corner.png" "640x450+$X+$((Y + 30))")
check "resized to 640 x 480 it shows the scene's bottom-right corner ($n pixels differ)" test "$n" = 0
kill -TERM "$RUN_PID"
dusk_wait_exit "$RUN_PID"

# --- into an X window the test owns (as a screen-saver daemon's) ---
# Smaller than the scene, it is the daemon's preview: the whole scene, as kept proportions show it.
"$HEADLESS" --write-settings "$WORK/scene-whole.ini" "clock=1" "messagetext=Good evening" "proportions=1" \
  "${CREATURES[@]/%/=1}"
headless_frame 640x480 "$WORK/hl-640.png" 12 "$WORK/scene-whole.ini" --seed 5 --time 21:05
rm -f "$WORK/xwin.fifo" && mkfifo "$WORK/xwin.fifo"
"$X_WINDOW" 100 80 640 480 <"$WORK/xwin.fifo" >"$WORK/xwin.id" &  # its fifo opens once the writer below does
dusk_own $!
exec 7>"$WORK/xwin.fifo"
dusk_wait_file "$WORK/xwin.id" 5
xid=$(cat "$WORK/xwin.id")
start --window-id "$xid" "${SAME[@]}"
wait_ticks || fail "the saver in the X window did not reach frame 12: $(cat "$RUN_ERR")"
dusk_shot "$WORK/xwindow.png"
dusk_keep_picture "$WORK/xwindow.png" window-id
n=$(dusk_diff_count "$WORK/xwindow.png" "$WORK/hl-640.png" 640x480+100+80)
check "the X window shows the whole scene as kept proportions do ($n pixels differ)" test "$n" = 0
outside=$(/usr/bin/convert "$WORK/xwindow.png" -fill black -draw 'rectangle 100,80 739,559' -format '%[fx:int(mean*w*h*3+0.5)]' info:)
check "nothing is drawn outside the X window" test "$outside" = 0
xdotool mousemove 300 300 click 1 key space
sleep 0.5
check "keys and clicks are the daemon's: the saver goes on" dusk_alive "$RUN_PID"
t0=$(date +%s%N)
kill -TERM "$RUN_PID"
for _ in $(seq 3000); do dusk_alive "$RUN_PID" || break; sleep 0.01; done
ms=$((($(date +%s%N) - t0) / 1000000))
dusk_wait_exit "$RUN_PID"
check "SIGTERM ends it cleanly (exit $DUSK_RC)" test "$DUSK_RC" = 0
# The end is prompt (a few hundred ms here, printed); the bound only catches a saver that hangs,
# since a shared machine's load must not decide a test.
check "and promptly ($ms ms)" test "$ms" -lt 5000

# XScreenSaver's way: the window in the environment, its id in hexadecimal.
XSCREENSAVER_WINDOW=$(printf '0x%x' "$xid") start --root "${SAME[@]}"
wait_ticks || fail "the saver did not draw into \$XSCREENSAVER_WINDOW: $(cat "$RUN_ERR")"
dusk_shot "$WORK/xss.png"
n=$(dusk_diff_count "$WORK/xss.png" "$WORK/hl-640.png" 640x480+100+80)
check "--root draws into \$XSCREENSAVER_WINDOW ($n pixels differ)" test "$n" = 0
kill -INT "$RUN_PID"
dusk_wait_exit "$RUN_PID"
check "SIGINT ends it cleanly too" test "$DUSK_RC" = 0
# The daemon takes its window away first: the saver ends cleanly all the same.
start --window-id "$xid" --no-music --no-sound 7>&-  # the window helper must see the end of its input
sleep 1
exec 7>&-
dusk_wait_exit "$RUN_PID" || fail "the saver went on after its window was destroyed"
check "its window destroyed under it, the saver ends cleanly (exit $DUSK_RC)" test "$DUSK_RC" = 0

# --- a run-time error: the program's message, in a box over the screen and on stderr ---
printf '[Duskhollow]\r\nfirstrun=1\r\nspeed=-1\r\n' >"$SETTINGS"
start
box=""
dusk_wait_window '^ScreenSaver Error$' 10 && box=$DUSK_WINDOW
check "the error is shown in a box titled 'ScreenSaver Error'" test -n "$box"
dusk_shot "$WORK/error.png"
dusk_keep_picture "$WORK/error.png" error-box
[ -n "$box" ] && dusk_dismiss_box "$box"
dusk_wait_exit "$RUN_PID" || fail "the saver did not end after its error box"
check "the error ends the saver with 1" test "$DUSK_RC" = 1
check "with the error code as the program words it" grep -q "Error Code: Dusk- 380- ScreenSaver/Form_Initialize" "$RUN_ERR"

done_testing
