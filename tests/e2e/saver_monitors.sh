#!/usr/bin/env bash
# Several monitors: the saver puts a window on every other monitor (left of the primary too, at
# negative coordinates) showing the frame composed once, presented for that monitor's size;
# "monitors"=0 leaves them black; a key or a click on another monitor's window ends the run; the
# songs are opened once. Runs in a prefix and a wide virtual display of its own, where a stand-in
# Xinerama library (built here) tells wine where the monitors are.
source "$(dirname "$0")/lib.sh"

command -v gcc >/dev/null && [ -f /usr/include/X11/extensions/Xinerama.h ] ||
  dusk_skip "needs gcc and libxinerama-dev to build the stand-in Xinerama library"
mkdir -p "$WORK/xinerama"
gcc -shared -fPIC -O2 -o "$WORK/xinerama/libXinerama.so.1" "$(dirname "$0")/helpers/xinerama_standin.c" -lX11 ||
  dusk_fail "could not build the stand-in Xinerama library"

# A prefix of our own (kept between runs), on a display of our own.
export WINEPREFIX=$(readlink -m "$(dirname "$SCR")/../wineprefix-monitors")
WINDIR_UNIX=$WINEPREFIX/drive_c/windows
dusk_xvfb 2944x768 || dusk_fail "no virtual display"
dusk_undo "WINEPREFIX='$WINEPREFIX' wineserver -k"
if [ ! -f "$WINEPREFIX/.dusk-ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
  mkdir -p "$WINDIR_UNIX/Fonts"
  cp /usr/share/wine/fonts/*.ttf "$WINDIR_UNIX/Fonts/" 2>/dev/null
  wineserver -w
  touch "$WINEPREFIX/.dusk-ready"
fi
export LD_LIBRARY_PATH=$WORK/xinerama${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}

dusk_install_data
dusk_headless_windir

# Monitors: the layout in root coordinates (first the primary) and, for the headless host, the
# others relative to the primary.
layout() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  export DUSK_XINERAMA=$1
  wineserver -p 30
  # wine's background services start with the first program: here, not inside a wait for the saver.
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

# Runs the saver with the settings given, waits for its scene on the primary (whose left edge
# is at $PRIMARY_X of the root window), takes a screenshot into $1.
saver_shot() {
  local shot=$1 i
  shift
  dusk_settings "$@"
  dusk_start /s
  dusk_wait_saver_window
  for ((i = 0; i < 300; i++)); do
    dusk_shot "$WORK/wait.png"
    [ "$(dusk_pixel "$WORK/wait.png" $((PRIMARY_X + 512)) 700)" != "0,0,0" ] && break
    dusk_alive "$SCR_PID" || dusk_fail "the saver ended before drawing"
    sleep 0.2
  done
  sleep 0.5
  dusk_shot "$shot"
}

# The headless host's frame 3 for the primary and the other monitors; into $WORK/hl-$1.
headless_frames() {
  local name=$1 monitors=$2
  shift 2
  DUSK_SETTINGS_TO=$HL_WIN/tarnix.ini dusk_settings "$@"
  "$HEADLESS" --windir "$HL_WIN" --screen 1024x768 --monitors "$monitors" --ticks 3 --frames "$WORK/hl-$name" /s \
    >"$WORK/headless.log" 2>&1 || dusk_fail "the headless host failed: $(cat "$WORK/headless.log")"
}

# A monitor's part of the screenshot equals the headless window's frame: same (WxH+X+Y in root coordinates).
same_as_headless() {
  local shot=$1 region=$2 frame=$3 what=$4
  /usr/bin/convert "$shot" -crop "$region" +repage "$WORK/part.png"
  local d
  d=$(dusk_diff_count "$WORK/part.png" "$frame")
  if [ "$d" != 0 ]; then
    dusk_keep_picture "$WORK/part.png" "$what-wine"
    dusk_keep_picture "$frame" "$what-headless"
    dusk_fail "$what differs from the headless host's window in $d pixels"
  fi
  dusk_note "ok: $what equals the headless host's window"
}

end_by() {
  local how=$1
  shift
  "$@"
  dusk_wait_exit "$SCR_PID" 30 || dusk_fail "the saver did not end on $how"
  [ "$DUSK_RC" = 0 ] || dusk_fail "the saver ended with $DUSK_RC on $how"
  dusk_note "ok: $how ended the run"
}

# --- two monitors, the other one left of the primary (at -800, 100) ---
layout 1024x768+800+0,800x600+0+100
PRIMARY_X=800
headless_frames two 800x600-800+100
saver_shot "$WORK/two.png"
dusk_keep_picture "$WORK/two.png" two
same_as_headless "$WORK/two.png" 1024x768+800+0 "$WORK/hl-two/frame-000003.png" "the primary"
same_as_headless "$WORK/two.png" 800x600+0+100 "$WORK/hl-two/frame-000003-m2.png" "the monitor at -800,100"
other=$(xdotool search --name '^Duskhollow 2$' | head -1)
[ -n "$other" ] || dusk_fail "no window on the other monitor"
end_by "a key on the other monitor's window" eval 'xdotool windowfocus --sync "$other"; xdotool key space'

# "monitors"=0: the other monitor stays black; a click there ends the run.
saver_shot "$WORK/off.png" "monitors= 0"
dusk_keep_picture "$WORK/off.png" monitors-off
[ "$(/usr/bin/convert "$WORK/off.png" -crop 800x600+0+100 +repage -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" = 0 ] ||
  dusk_fail "with monitors=0 the other monitor is not black"
dusk_note "ok: monitors=0 leaves the other monitor black"
end_by "a click on the other monitor" xdotool mousemove 400 400 click 1

# --- three monitors, proportions kept: 640x480 left (the whole scene, smaller), 1280x720 right (bars) ---
layout 1024x768+640+0,640x480+0+0,1280x720+1664+0
PRIMARY_X=640
headless_frames three 640x480-640+0,1280x720+1024+0 "proportions= 1" "song0= 1" "song1= 1"
export WINEDEBUG=-all,+mci
saver_shot "$WORK/three.png" "proportions= 1" "song0= 1" "song1= 1"
export WINEDEBUG=-all
dusk_keep_picture "$WORK/three.png" three
same_as_headless "$WORK/three.png" 1024x768+640+0 "$WORK/hl-three/frame-000003.png" "the primary of three"
same_as_headless "$WORK/three.png" 640x480+0+0 "$WORK/hl-three/frame-000003-m2.png" "the 640x480 monitor"
same_as_headless "$WORK/three.png" 1280x720+1664+0 "$WORK/hl-three/frame-000003-m3.png" "the 1280x720 monitor"
[ "$(dusk_pixel "$WORK/three.png" $((1664 + 100)) 360)" = "0,0,0" ] || dusk_fail "no bar beside the kept proportions"
end_by "a key" xdotool key space
dusk_trace_mci "$SCR_LOG" >"$WORK/mci.txt"
for song in song0 song1; do
  opened=$(grep -c "^open .* alias $song\$" "$WORK/mci.txt")
  [ "$opened" = 1 ] || dusk_fail "$song was opened $opened times: $(cat "$WORK/mci.txt")"
done
dusk_note "ok: each song opened once with three monitors"
