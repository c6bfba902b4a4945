#!/usr/bin/env bash
# The listen buttons of the Sounds page: a song's button opens and plays that song under the
# alias song1 from its slot's start, leaving the page stops and closes it (the MCI commands are
# read from wine's +mci trace); an effect's button plays the effect's samples through the wave
# output (caught by an ALSA file sink).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/helpers/config_lib.sh"

dusk_install_data
dusk_settings
mkdir -p "$WORK/home"
printf 'pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n' "$WORK/out.raw" >"$WORK/home/.asoundrc"

HOME=$WORK/home WINEDEBUG=-all,+mci dusk_config_start

# Waits until the trace holds $1 MCI commands; they go to $WORK/mci.txt.
wait_commands() {
  local i
  for ((i = 0; i < 150; i++)); do
    dusk_trace_mci "$SCR_LOG" >"$WORK/mci.txt"
    [ "$(wc -l <"$WORK/mci.txt")" -ge "$1" ] && return 0
    sleep 0.2
  done
  dusk_fail "the trace holds $(wc -l <"$WORK/mci.txt") MCI commands, not $1: $(cat "$WORK/mci.txt")"
}
# The listen button of the row whose check box reads $1.
click_button_of() {
  local top left
  read -r left top < <(dusk_config_line "$1" | cut -f6,7)
  dusk_config_click_line "$(awk -F'\t' -v t="$top" -v l="$left" '
    NF >= 10 && $2 == "DuskhollowPictureButton" && $3 == 1 && $7 == t && $6 > l {
      if (!found || $6 < best) { best = $6; line = $0; found = 1 } } END { print line }' "$WORK/probe.txt")"
}

# --- a song, then another page ---
dusk_config_page 2
dusk_trace_mci "$SCR_LOG" >"$WORK/mci.txt"
[ -s "$WORK/mci.txt" ] && dusk_fail "MCI commands before any listen button: $(cat "$WORK/mci.txt")"
click_button_of "Demony"  # song 5, heard from 40
wait_commands 4
dusk_config_page 3
wait_commands 8
expected=$(printf '%s\n' "status song1 mode" "status song1 mode" \
  "open \"C:\\windows\\Duskhollow\\h_song5.Mid\" type sequencer alias song1" "play song1 from 40" \
  "status song1 mode" "stop song1" "status song1 mode" "close song1")
if [ "$(head -8 "$WORK/mci.txt")" != "$expected" ]; then
  diff <(echo "$expected") <(head -8 "$WORK/mci.txt") >&2
  dusk_fail "the song's listen button and the page change sent other MCI commands"
fi
dusk_note "ok: song 5 opened, played from 40, stopped and closed on leaving the page"

# --- an effect ---
dusk_config_page 2
click_button_of "Thunder"  # effect 2
# Some samples from the middle of the effect's data must come out of the wave output as they are.
perl -e '
  local $/; open my $f, "<:raw", $ARGV[0] or die; my $w = <$f>;
  my $at = index($w, "data") + 8; my $n = unpack("V", substr($w, $at - 4, 4));
  print substr($w, $at + int($n / 2), 2048);
' "$DATA/Duskhollow/h_sound2.wav" >"$WORK/samples.bin"
[ "$(wc -c <"$WORK/samples.bin")" = 2048 ] || dusk_fail "could not read the samples of h_sound2.wav"
found=
for ((i = 0; i < 150; i++)); do
  if [ -s "$WORK/out.raw" ] && perl -e '
      local $/; open my $a, "<:raw", $ARGV[0] or die; open my $b, "<:raw", $ARGV[1] or die;
      my ($x, $y) = (<$a>, <$b>); exit(index($y, $x) >= 0 ? 0 : 1);
    ' "$WORK/samples.bin" "$WORK/out.raw"; then
    found=1
    break
  fi
  sleep 0.2
done
[ -n "$found" ] || dusk_fail "the effect's samples did not reach the wave output ($(wc -c <"$WORK/out.raw" 2>/dev/null || echo 0) bytes)"
dusk_note "ok: effect 2 played through the wave output"

dusk_config_click Cancel
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the dialog did not end on Cancel"
