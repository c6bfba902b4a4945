#!/usr/bin/env bash
# "/p <window>": the preview becomes a child filling the parent's client area (152 x 112 here),
# plays its frames, and the process ends when the parent window is destroyed.
source "$(dirname "$0")/lib.sh"

dusk_install_data
dusk_settings
dusk_test_window "Preview Monitor" 152 112

child_field() {  # name: the value after it in the parent's description of its child
  tr -d "\r" <"$TW_DIR/child" 2>/dev/null | awk -v f="$1" '{for (i = 1; i < NF; i++) if ($i == f) print $(i + 1)}'
}
wait_ticks() {  # at least this many frames
  local i t
  for ((i = 0; i < 300; i++)); do
    t=$(child_field ticks)
    [ -n "$t" ] && [ "$t" -ge "$1" ] && return 0
    dusk_alive "$SCR_PID" || dusk_fail "the preview process ended early"
    sleep 0.2
  done
  dusk_fail "the preview did not reach $1 frames (child: $(cat "$TW_DIR/child" 2>/dev/null))"
}

dusk_start /p "$TW_HWND"
wait_ticks 2
tr -d "\r" <"$TW_DIR/child" | grep -q "^class DuskhollowPreview rect 0 0 152 112 client 152 112 visible 1 " ||
  dusk_fail "the child does not fill the parent: $(cat "$TW_DIR/child")"
first=$(child_field ticks)
wait_ticks $((first + 5))
dusk_note "ok: child 152 x 112 at (0, 0), frames advancing ($first, then $(child_field ticks))"

touch "$TW_DIR/destroy"
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the preview ran on after its parent was destroyed"
[ "$DUSK_RC" = 0 ] || dusk_fail "the preview ended with $DUSK_RC"
dusk_alive "$TW_PID" || dusk_fail "the parent's program ended: the preview must end by itself"
dusk_note "ok: the parent destroyed, the preview process ended"
