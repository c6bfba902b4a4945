#!/usr/bin/env bash
# The effects reach the sound card through the mixer's waveOut output: with ALSA's default
# device replaced by a file, the greeting effect shows as sound in the captured stream, and with
# every effect off the stream is silent.
source "$(dirname "$0")/lib.sh"

dusk_install_data

capture() {  # settings...: runs the saver for a while, the captured bytes in $WORK/home/out.raw
  rm -rf "$WORK/home"
  mkdir -p "$WORK/home"
  printf 'pcm.!default { type file slave.pcm "null" file "%s/out.raw" format "raw" }\n' "$WORK/home" \
    >"$WORK/home/.asoundrc"
  dusk_settings "$@"
  HOME=$WORK/home dusk_start /s
  dusk_wait_saver
  sleep 2
  xdotool key space
  dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the saver did not end on a key"
  [ -s "$WORK/home/out.raw" ] || dusk_fail "nothing reached the sound output"
}
sounding_bytes() { tr -d '\000' <"$WORK/home/out.raw" | wc -c; }

capture "sound0= 1"
loud=$(sounding_bytes)
[ "$loud" -gt 1000 ] || dusk_fail "the greeting effect was not heard ($loud non-zero bytes)"
dusk_note "ok: the greeting effect reached the output ($loud non-zero bytes of $(stat -c %s "$WORK/home/out.raw"))"

capture
quiet=$(sounding_bytes)
[ "$quiet" = 0 ] || dusk_fail "with every effect off the output was not silent ($quiet non-zero bytes)"
dusk_note "ok: with every effect off the output stays silent"
