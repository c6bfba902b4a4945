#!/usr/bin/env bash
# What the saver plays, captured with SDL's disk audio driver: the greeting effect comes out of the
# device sample for sample as the wave mixer mixes it, with silence around it; a song is heard
# through the FluidSynth sequencer; without a soundfont only the effects play; with music and
# effects off the saver runs silent.
source "$(dirname "$0")/lib.sh"
dusk_xvfb 800x600 || dusk_fail "no virtual display"

# Plays six seconds of audio (longer than any effect) with the settings given, then ends by
# SIGTERM; the capture in $WORK/$1.raw. Without an audio device, one second of frames.
capture() {  # name, saver arguments...
  local name=$1 i
  shift
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$WORK/$name.raw start --ticks 15 "$@"
  wait_ticks || fail "$name: the saver did not run: $(cat "$RUN_ERR")"
  for i in $(seq 600); do
    [ "$(stat -c %s "$WORK/$name.raw" 2>/dev/null || echo 0)" -ge $((6 * 22050 * 4)) ] && break
    [ -e "$WORK/$name.raw" ] || [ "$i" -lt 10 ] || break
    sleep 0.1
  done
  kill -TERM "$RUN_PID"
  dusk_wait_exit "$RUN_PID"
  [ "$DUSK_RC" = 0 ] || fail "$name: the saver ended with $DUSK_RC"
}
sounding() { tr -d '\000' <"$WORK/$1.raw" | wc -c; }

# Only the greeting: no creature makes a sound, no song plays.
printf '[Duskhollow]\r\nfirstrun=1\r\nspeed=70\r\nsound0=1\r\n' >"$SETTINGS"
capture greeting
result=$("$MIX_PROBE" "$DATA/Duskhollow/h_sound0.wav" "$WORK/greeting.raw")
check "the effect comes out as the mixer mixes it: $result" test $? = 0

printf '[Duskhollow]\r\nfirstrun=1\r\nspeed=70\r\nsong0=1\r\n' >"$SETTINGS"
capture song
n=$(sounding song)
check "a song is heard through the sequencer ($n non-zero bytes)" test "$n" -gt 20000

# Without a soundfont the effects play and the songs do not, and one line says what to install.
printf '[Duskhollow]\r\nfirstrun=1\r\nspeed=70\r\nsong0=1\r\nsound0=1\r\n' >"$SETTINGS"
DUSKHOLLOW_SOUNDFONT=/nonexistent/none.sf2 capture nofont
result=$("$MIX_PROBE" "$DATA/Duskhollow/h_sound0.wav" "$WORK/nofont.raw")
check "without a soundfont the effect alone comes out, no song: $result" test $? = 0
check "and one line says the songs are silent and what provides a soundfont" \
  test "$(grep -c 'no General MIDI soundfont, the songs stay silent (the effects play): install timgm6mb-soundfont' "$RUN_ERR")" = 1

printf '[Duskhollow]\r\nfirstrun=1\r\nspeed=70\r\nsong0=1\r\nsound0=1\r\n' >"$SETTINGS"
capture off --no-music --no-sound
check "--no-music --no-sound: no audio device is even opened" test ! -e "$WORK/off.raw"

done_testing
