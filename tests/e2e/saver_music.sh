#!/usr/bin/env bash
# The songs reach the system as exactly the MCI command strings the headless host records for
# the same settings: the open of every enabled song and "play song0 from 0" at start-up, the
# music timer's status queries every 10 s, and the stop and close sequence at the end.
source "$(dirname "$0")/lib.sh"

dusk_install_data
dusk_headless_windir
SONGS=("song0= 1" "song3= 1" "song7= 1")
dusk_settings "${SONGS[@]}"
DUSK_SETTINGS_TO=$HL_WIN/tarnix.ini dusk_settings "${SONGS[@]}"

# 160 frames of 70 ms: the music timer's first tick (10 s) falls inside the run.
"$HEADLESS" --windir "$HL_WIN" --screen 1024x768 --ticks 160 --dump-state "$WORK/state.jsonl" /s \
  >"$WORK/headless.log" 2>&1 || dusk_fail "the headless host failed: $(cat "$WORK/headless.log")"
# The headless host's Windows directory is "C:\WINDOWS", wine's "C:\windows": the one
# difference between the two machines, taken out before comparing.
dusk_dump_mci "$WORK/state.jsonl" | sed 's/"C:\\WINDOWS\\/"C:\\windows\\/' >"$WORK/headless-mci.txt"
awk '/^## /{g=$2; next} g=="0"' "$WORK/headless-mci.txt" >"$WORK/expected-start.txt"
awk '/^## /{g=$2; next} g=="end"' "$WORK/headless-mci.txt" >"$WORK/expected-end.txt"
awk '/^## /{g=$2; next} g!="0" && g!="end"' "$WORK/headless-mci.txt" | sort -u >"$WORK/expected-timer.txt"
[ -s "$WORK/expected-start.txt" ] && [ -s "$WORK/expected-end.txt" ] && [ -s "$WORK/expected-timer.txt" ] ||
  dusk_fail "the headless dump lacks start-up, timer or end commands: $(cat "$WORK/headless-mci.txt")"

WINEDEBUG=-all,+mci dusk_start /s
dusk_wait_saver
# Past the music timer's first tick: wait for its status query to show in the trace.
for ((i = 0; i < 600; i++)); do
  n=$(dusk_trace_mci "$SCR_LOG" | wc -l)
  [ "$n" -gt "$(wc -l <"$WORK/expected-start.txt")" ] && break
  sleep 0.1
done
xdotool key space
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the saver did not end on a key"
dusk_trace_mci "$SCR_LOG" >"$WORK/wine-mci.txt"

starts=$(wc -l <"$WORK/expected-start.txt")
ends=$(wc -l <"$WORK/expected-end.txt")
total=$(wc -l <"$WORK/wine-mci.txt")
head -n "$starts" "$WORK/wine-mci.txt" >"$WORK/got-start.txt"
tail -n "$ends" "$WORK/wine-mci.txt" >"$WORK/got-end.txt"
sed -n "$((starts + 1)),$((total - ends))p" "$WORK/wine-mci.txt" | sort -u >"$WORK/got-timer.txt"
diff -u "$WORK/expected-start.txt" "$WORK/got-start.txt" || dusk_fail "start-up commands differ"
diff -u "$WORK/expected-end.txt" "$WORK/got-end.txt" || dusk_fail "the close sequence differs"
diff -u "$WORK/expected-timer.txt" "$WORK/got-timer.txt" || dusk_fail "the music timer's commands differ"
dusk_note "ok: $starts start-up commands, $(($total - starts - ends)) timer queries and $ends closing commands as recorded"
