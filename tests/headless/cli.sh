#!/usr/bin/env bash
# The headless host as a user drives it: frames and state dumps of a run with the generated data,
# its sounds, a bad option, and a run-time error reported as the program reports it.
set -u
HEADLESS=$1
DATA=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
check() {  # description, command...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fails=$((fails + 1)); fi
}

mkdir -p "$work/win"
ln -s "$DATA/Duskhollow" "$work/win/Duskhollow"
printf '[Duskhollow]\r\nfirstrun=1\r\nspeed=70\r\nlightning=1\r\nskeleton1=1\r\nsong0=1\r\nsound0=1\r\nsound2=1\r\nsound5=1\r\nsound9=1\r\nclock=1\r\n' > "$work/win/tarnix.ini"

"$HEADLESS" --windir "$work/win" --screen 1024x768 --ticks 205 --seed 5 --time 23:59 \
  --frames "$work/frames" --every 100 --dump-state "$work/state.jsonl" /s
check "a normal run ends with 0" test $? = 0
check "frames are written every 100 ticks" test -f "$work/frames/frame-000100.png" -a -f "$work/frames/frame-000200.png" -a ! -f "$work/frames/frame-000150.png"
check "a frame shows the scene, not a black screen" test "$(stat -c %s "$work/frames/frame-000100.png")" -gt 100000
check "one dump line per frame, plus start-up and the end" test "$(wc -l < "$work/state.jsonl")" = 207
line() { sed -n "$(($1 + 1))p" "$work/state.jsonl"; }
check "start-up opens and plays the song and greets once" bash -c '
  l=$(sed -n 1p "$0"); [[ $l == *"\"tick\":0"* && $l == *"play song0 from 0"* && $l == *"\"effects\":[0]"* ]]' "$work/state.jsonl"
check "the thunder sounds at counter values 30 and 78" bash -c '
  [ "$(grep -c "\"MediumTick\":30,.*\"effects\":\[2\]" "$0")" = 2 ] && [ "$(grep -c "\"MediumTick\":78,.*\"effects\":\[2\]" "$0")" = 2 ]' "$work/state.jsonl"
check "the rotating effect plays on frames 99 and 200 on channel 7" bash -c '
  sed -n 100p "$0" | grep -Eq "\"effects\":\[([0-9]+,)*9[],].*WaveMixPlay session 1 channel 7" &&
  sed -n 201p "$0" | grep -Eq "\"effects\":\[([0-9]+,)*9[],]"' "$work/state.jsonl"
check "the clock stands at 924 and reads the time" bash -c '
  sed -n 2p "$0" | grep -q "\"ClockLabel\":{\"Caption\":\" 11:59 PM \",\"Left\":924,\"Top\":5"' "$work/state.jsonl"
check "the close sequence is in the last line" bash -c '
  tail -1 "$0" | grep -q "\"event\":\"end\".*\"stop song0\".*\"close song0\".*WaveMixCloseSession"' "$work/state.jsonl"

"$HEADLESS" --windir "$work/win" --ticks 3 --no-sound --dump-state "$work/silent.jsonl" /s
check "without a mixer no effect is played" bash -c '! grep -q "\"effects\":\[[0-9]" "$0"' "$work/silent.jsonl"

"$HEADLESS" --windir "$work/win" --ticks 20 --dump-state "$work/preview.jsonl" /p 1234 >/dev/null
check "the preview dumps its frames" bash -c 'sed -n 2p "$0" | grep -q "\"PreviewFrame\":2"' "$work/preview.jsonl"

"$HEADLESS" --bogus 2>"$work/err"
check "a bad option is refused" test $? = 2
check "with a clear message" grep -q "unknown option --bogus" "$work/err"

printf '[Duskhollow]\r\nfirstrun=1\r\nspeed=-1\r\n' > "$work/win/tarnix.ini"
"$HEADLESS" --windir "$work/win" --ticks 3 /s 2>"$work/err"
check "a run-time error ends the run with a non-zero code" test $? != 0
check "and the error code as the program shows it" grep -q "Error Code: Dusk- 380- ScreenSaver/Form_Initialize" "$work/err"

# Settings files for other tests, written from the program's own table.
"$HEADLESS" --write-settings "$work/written.ini" "owl= 1" "speed= 40" "messagetext=Boo"
check "--write-settings writes the creatures first, as the program lists them" bash -c '
  diff <(sed -n "3,22p" "$0" | cut -d= -f1) <("$1" --list-creatures)' "$work/written.ini" "$HEADLESS"
check "and the values given over a quiet base" bash -c '
  tr -d "\r" <"$0" | grep -qx "owl= 1" && tr -d "\r" <"$0" | grep -qx "bat= 0" &&
  tr -d "\r" <"$0" | grep -qx "monitors= 1" && tr -d "\r" <"$0" | grep -qx "messagetext=Boo"' "$work/written.ini"
"$HEADLESS" --write-settings "$work/bad.ini" "owls= 1" 2>"$work/err"
check "--write-settings refuses a key the program does not have" test $? = 2

echo "$((19 - fails)) passed, $fails failed"
[ "$fails" = 0 ]
