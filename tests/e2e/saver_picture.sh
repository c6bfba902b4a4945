#!/usr/bin/env bash
# The full-screen saver at 1024 x 768 shows what the core draws: with every creature off the
# screen equals, pixel for pixel, the headless host's canvas for the same settings (every frame
# is the same then); once a flash of lightning has passed it equals it again; with the default
# creatures it differs from that empty scene where they are, and it moves.
source "$(dirname "$0")/lib.sh"

dusk_install_data
dusk_headless_windir

# The empty scene, from both hosts.
dusk_settings
DUSK_SETTINGS_TO=$HL_WIN/tarnix.ini dusk_settings
"$HEADLESS" --windir "$HL_WIN" --screen 1024x768 --ticks 3 --frames "$WORK/frames" /s >"$WORK/headless.log" 2>&1 ||
  dusk_fail "the headless host failed: $(cat "$WORK/headless.log")"
EMPTY=$WORK/frames/frame-000003.png
[ -f "$EMPTY" ] || dusk_fail "the headless host wrote no frame"

dusk_start /s
dusk_wait_saver
sleep 0.5
dusk_shot "$WORK/empty-wine.png"
dusk_keep_picture "$WORK/empty-wine.png" empty
n=$(dusk_diff_count "$WORK/empty-wine.png" "$EMPTY")
if [ "$n" != 0 ]; then
  dusk_keep_picture "$EMPTY" empty-headless
  dusk_fail "the empty scene differs from the headless canvas in $n pixels"
fi
dusk_note "ok: the empty scene equals the headless canvas"
xdotool key space
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the saver did not end on a key"

# Lightning only: after the first frame a window gets only what changed, so once a flash has
# come and gone the screen must be the empty scene again, pixel for pixel.
dusk_settings "lightning= 1"
dusk_start /s
dusk_wait_saver
flashed=0 d=-1
for ((i = 0; i < 400; i++)); do
  dusk_shot "$WORK/flash.png"
  d=$(dusk_diff_count "$WORK/flash.png" "$EMPTY")
  if [ "$flashed" = 0 ]; then
    [ "$d" -gt 500 ] && flashed=1 && dusk_keep_picture "$WORK/flash.png" flash
  elif [ "$d" = 0 ]; then
    break
  fi
  dusk_alive "$SCR_PID" || dusk_fail "the saver ended during the lightning"
done
[ "$flashed" = 1 ] || dusk_fail "no flash of lightning was seen"
if [ "$d" != 0 ]; then
  dusk_keep_picture "$WORK/flash.png" after-flash
  dusk_fail "after the flash $d pixels still differ from the empty scene"
fi
dusk_note "ok: after a flash the screen is the empty scene again"
xdotool key space
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the saver did not end on a key"

# The default settings: no settings file at all.
rm -f "$WINDIR_UNIX/tarnix.ini"
dusk_start /s
dusk_wait_saver
sleep 0.5
dusk_shot "$WORK/default-1.png"
sleep 1
dusk_shot "$WORK/default-2.png"
dusk_keep_picture "$WORK/default-1.png" default
all=$(dusk_diff_count "$WORK/default-1.png" "$EMPTY")
# The owl sits on its branch at (688, 174) of the 800 x 600 scene: (880, 222) on this screen.
owl=$(dusk_diff_count "$WORK/default-1.png" "$EMPTY" 60x90+870+215)
moved=$(dusk_diff_count "$WORK/default-1.png" "$WORK/default-2.png")
dusk_note "default creatures: $all pixels differ from the empty scene ($owl around the owl); $moved changed in a second"
[ "$owl" -gt 200 ] || dusk_fail "no owl where the owl sits"
[ "$all" -gt 2000 ] || dusk_fail "the default creatures hardly show"
[ "$moved" -gt 100 ] || dusk_fail "nothing moved in a second"
xdotool key space
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the saver did not end on a key"
