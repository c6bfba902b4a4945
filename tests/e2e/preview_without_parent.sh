#!/usr/bin/env bash
# "/p" with a number that is no window (the control panel closed meanwhile, a stale handle) or
# with no number at all: the run ends at once through its clean-up, leaving no window behind.
source "$(dirname "$0")/lib.sh"

dusk_install_data
dusk_settings
dusk_test_window "Closed Monitor" 152 112
stale=$TW_HWND
touch "$TW_DIR/destroy"
for ((i = 0; i < 100; i++)); do
  grep -q destroyed "$TW_DIR/child" 2>/dev/null && break
  sleep 0.1
done
grep -q destroyed "$TW_DIR/child" || dusk_fail "the test window was not destroyed"

for args in "/p $stale" "/p"; do
  started=$EPOCHREALTIME
  # shellcheck disable=SC2086
  dusk_start $args
  dusk_wait_exit "$SCR_PID" 30 || dusk_fail "'$args' still runs"
  took=$(awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.2f", b - a}')
  [ "$DUSK_RC" = 0 ] || dusk_fail "'$args' ended with $DUSK_RC"
  [ -z "$(xdotool search --name '^Preview$' 2>/dev/null)" ] || dusk_fail "'$args' left a Preview window"
  dusk_note "ok: '$args' ended by itself after $took s (wine's start included), no window left"
done
