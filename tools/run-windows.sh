# Runs duskhollow.scr under wine: on the user's display until a key is pressed, or, with no
# display, on a virtual one for a few seconds, saving a screenshot.
dusk_run_windows() {
  local mode=$1 scr="$ROOT/build/win64/bin/duskhollow.scr"
  local had_display=${DISPLAY:-}
  [ -n "$had_display" ] && export DUSK_KEEP_DISPLAY=1
  dusk_start_wine || return 1
  local windir="$WINEPREFIX/drive_c/windows"
  rm -rf "$windir/Duskhollow"
  cp -r "$ROOT/build/native/data/Duskhollow" "$windir/Duskhollow"
  local switch=/s
  [ "$mode" = configure ] && switch=/c
  if [ -n "$had_display" ]; then
    wine "$scr" "$switch"
  else
    wine "$scr" "$switch" 2>"$ROOT/build/wine-run.log" &
    local pid=$!
    sleep 6
    local shot="$ROOT/build/screenshot.png"
    dusk_shot "$shot"
    kill "$pid" 2>/dev/null
    dusk_stop_wine
    echo "Screenshot of the running screen saver: $shot"
  fi
}
