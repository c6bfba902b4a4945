#!/usr/bin/env bash
# Two displays, as XRandR reports them (a stand-in library: a virtual X server has one output):
# a 1024 x 768 primary and a portrait 768 x 1024 beside it. Full screen, the saver covers each
# with the frame the headless host draws for the same monitors, seed and tick: the clock and the
# message on the primary, the whole scene stretched over the portrait one.
source "$(dirname "$0")/lib.sh"
[ -e "$XRANDR_STANDIN/libXrandr.so.2" ] || dusk_fail "no stand-in XRandR library in $XRANDR_STANDIN"
dusk_xvfb 1792x1024 || dusk_fail "no virtual display"

"$HEADLESS" --write-settings "$WORK/scene.ini" "clock=1" "messagetext=Good evening" "owl=1" "bat=1" "rat=1"
cp "$WORK/scene.ini" "$SETTINGS"
headless_frame 1024x768 "$WORK/hl-primary.png" 12 "$WORK/scene.ini" --seed 5 --time 21:05 --monitors 768x1024+1024+0
cp "$WORK/frames/frame-000012-m2.png" "$WORK/hl-portrait.png"

LD_LIBRARY_PATH=$XRANDR_STANDIN${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} DUSK_XRANDR=1024x768+0+0,768x1024+1024+0 \
  start --seed 5 --time 21:05 --ticks 12
wait_ticks || fail "the saver did not reach frame 12 on two displays: $(cat "$RUN_ERR")"
sleep 0.3
dusk_shot "$WORK/two.png"
dusk_keep_picture "$WORK/two.png" two-displays
n=$(dusk_diff_count "$WORK/two.png" "$WORK/hl-primary.png" 1024x768+0+0)
check "the primary display shows the headless primary frame ($n pixels differ)" test "$n" = 0
n=$(dusk_diff_count "$WORK/two.png" "$WORK/hl-portrait.png" 768x1024+1024+0)
check "the portrait display shows the headless frame of that monitor ($n pixels differ)" test "$n" = 0
xdotool key space
dusk_wait_exit "$RUN_PID" && check "a key ends the saver on every display (exit $DUSK_RC)" test "$DUSK_RC" = 0 ||
  fail "a key did not end the saver"

done_testing
