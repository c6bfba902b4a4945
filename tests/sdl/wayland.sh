#!/usr/bin/env bash
# Natively under Wayland: a headless sway with one 1024 x 768 output, no X display at all. The
# saver covers it with the frame the headless host draws for the same seed and tick, and SIGTERM
# ends it. (A key sent with wtype is not tried: SDL 2.26 often crashes in libxkbcommon when the
# virtual keyboard's keymap comes and goes.) Skipped (77) where sway or grim is missing. sway
# will not run as root: it runs as nobody.
source "$(dirname "$0")/lib.sh"
for tool in sway grim setpriv; do
  command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
done

RT=$WORK/runtime
mkdir -m 700 "$RT" && chown 65534:65534 "$RT" && chmod a+x "$WORK"
cat >"$WORK/sway.conf" <<'CONF'
output HEADLESS-1 mode 1024x768 position 0 0
default_border none
CONF
chmod a+r "$WORK/sway.conf"
setpriv --reuid=65534 --regid=65534 --clear-groups env -i HOME="$RT" XDG_RUNTIME_DIR="$RT" WLR_BACKENDS=headless \
  WLR_HEADLESS_OUTPUTS=1 WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
dusk_own $!
for _ in $(seq 100); do compgen -G "$RT/wayland-*.lock" >/dev/null && break; sleep 0.1; done
socket=$(basename "$(compgen -G "$RT/wayland-*.lock" | head -1)" .lock)
[ -n "$socket" ] || dusk_fail "sway did not start: $(tail -3 "$WORK/sway.log")"
export XDG_RUNTIME_DIR=$RT WAYLAND_DISPLAY=$socket DISPLAY= SDL_VIDEODRIVER=

"$HEADLESS" --write-settings "$WORK/scene.ini" "clock=1" "messagetext=Good evening" "owl=1" "bat=1" "rat=1"
cp "$WORK/scene.ini" "$SETTINGS"
headless_frame 1024x768 "$WORK/hl-primary.png" 12 "$WORK/scene.ini" --seed 5 --time 21:05

start --seed 5 --time 21:05 --ticks 12
wait_ticks || fail "the saver did not reach frame 12 under Wayland: $(cat "$RUN_ERR")"
sleep 0.5
grim "$WORK/shot.png" || fail "no screenshot"
/usr/bin/convert "$WORK/shot.png" -alpha off "$WORK/shot.png"
dusk_keep_picture "$WORK/shot.png" output
n=$(dusk_diff_count "$WORK/shot.png" "$WORK/hl-primary.png")
check "the output shows the headless host's frame ($n pixels differ)" test "$n" = 0
kill -TERM "$RUN_PID"
dusk_wait_exit "$RUN_PID" && check "SIGTERM ends it (exit $DUSK_RC)" test "$DUSK_RC" = 0 || fail "SIGTERM did not end it"
check "and it said nothing" test ! -s "$RUN_ERR"

done_testing
