#!/usr/bin/env bash
# "/c" opens the settings dialog: a 512 x 280 client area centred on the screen, Cancel and Apply
# where their twips put them with Cancel directly before Apply in the keyboard order, five pages
# of which only the one in front shows, and every control filled from the settings file. What
# the user then changes on several pages is exactly what Apply writes.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/helpers/config_lib.sh"

dusk_install_data
dusk_settings "owl= 1" "song3= 1" "sound7= 1" "clock= 1" "messagetext=Boo"
dusk_config_start

# --- the window and its places ---
[ "$(awk '/^dpi /{print $2}' "$WORK/probe.txt")" = 96 ] || dusk_skip "the display is not at 96 dots per inch"
[ "$CLIENT_W x $CLIENT_H" = "512 x 280" ] || dusk_fail "client area $CLIENT_W x $CLIENT_H, not 512 x 280"
[ "$CLIENT_X,$CLIENT_Y" = "256,244" ] || dusk_fail "client area at $CLIENT_X,$CLIENT_Y, not centred at 256,244"
expect_place() {  # line, what, left top width height (pixels in the client area)
  local got
  got=$(cut -f6-9 <<<"$1" | tr '\t' ' ')
  [ "$got" = "$3 $4 $5 $6" ] || dusk_fail "$2 at $got, not $3 $4 $5 $6"
}
expect_place "$(dusk_config_line Cancel)" Cancel 16 240 81 25
expect_place "$(dusk_config_line Apply)" Apply 200 240 81 25
expect_place "$(dusk_config_class_line SysTabControl32)" "the tab control" 0 0 512 280
expect_place "$(dusk_config_line 'Grave Digger')" "Grave Digger" 32 58 89 17
expect_place "$(dusk_config_line 'Mutant Rats')" "Mutant Rats" 160 186 88 17
expect_place "$(dusk_config_line 'Scream II')" "Scream II" 385 186 72 17
expect_place "$(dusk_config_class_line DuskhollowPreviewBox)" "the preview box" 296 40 201 195
order=$(awk -F'\t' 'NF >= 10 && $4 == 1 { s = $10; gsub(/&/, "", s); print s }' "$WORK/probe.txt")
[ "$(grep -x -A1 Cancel <<<"$order" | tail -1)" = Apply ] || dusk_fail "Apply does not follow Cancel in the keyboard order"
dusk_note "ok: size, place and keyboard order"

# --- the settings file's values in the controls ---
expect_state() {  # control text, state
  local got
  got=$(dusk_config_field "$1" 5)
  [ "$got" = "$2" ] || dusk_fail "'$1' holds ${got:-nothing}, not $2"
}
expect_state "Stalking Owl" 1
expect_state "Skeleton II" 0
expect_state "Descent" 1   # song 3
expect_state "Lurker" 0    # song 7
expect_state "Laugh II" 1  # effect 7
expect_state "Crow" 0      # effect 3
expect_state "Enable Digital Clock" 1
[ "$(dusk_config_class_line ScrollBar | cut -f5)" = 70 ] || dusk_fail "the speed 70 is not the scroll position 70"
[ "$(dusk_config_class_line Edit | cut -f10)" = Boo ] || dusk_fail "the message box does not hold 'Boo'"
dusk_note "ok: the settings are in the controls"

# --- the five pages: only the one in front shows its controls ---
markers=("Grave Digger" "Black Widow" "Horror Hill" "Enable Digital Clock" "Version Information")
for page in 0 1 2 3 4; do
  dusk_config_page "$page"
  for other in 0 1 2 3 4; do
    want=0
    [ "$other" = "$page" ] && want=1
    [ "$(dusk_config_field "${markers[other]}" 3)" = "$want" ] ||
      dusk_fail "with page $page in front, '${markers[other]}' visible is not $want"
  done
  [ "$(dusk_config_field Apply 3)$(dusk_config_field Cancel 3)" = 11 ] || dusk_fail "the buttons are not on page $page"
  dusk_config_mouse_away
  dusk_shot "$WORK/page-$page.png"
  dusk_keep_picture "$WORK/page-$page.png" "page-$page"
done
dusk_note "ok: five pages"

# --- changes on three pages, then Apply ---
dusk_config_page 0
dusk_config_click "Skeleton II"
dusk_config_click "Stalking Owl"
dusk_config_page 2
dusk_config_click "Lurker"
dusk_config_page 3
dusk_config_click "Enable Digital Clock"
# The thumb (as wide as the bar is high) stands at 70 of 0..140: dragged to the bar's right end
# (not much further: a thumb dragged far off the bar goes back where it was).
read -r l t w h < <(dusk_config_class_line ScrollBar | cut -f6-9)
thumb_x=$((CLIENT_X + l + h + (w - 3 * h) * 70 / 140 + h / 2))
xdotool mousemove "$thumb_x" $((CLIENT_Y + t + h / 2)) mousedown 1 sleep 0.3 mousemove_relative 20 0 sleep 0.2 \
  mousemove $((CLIENT_X + l + w + 5)) $((CLIENT_Y + t + h / 2)) sleep 0.3 mouseup 1
sleep 0.3
dusk_config_click_line "$(dusk_config_class_line Edit)"
xdotool key End BackSpace BackSpace BackSpace
xdotool type --delay 50 "Rest in peace"
# The box takes no more characters than the saver keeps (127): the rest of a long text is refused.
MORE=$(printf 'x%.0s' $(seq 150))
xdotool type --delay 10 "$MORE"
KEPT="Rest in peace${MORE:0:114}"
dusk_config_wait "the speed thumb" 140 dusk_config_class_field ScrollBar 5
dusk_config_wait "the message, cut at 127 characters" "$KEPT" dusk_config_class_field Edit 10
dusk_config_wait "the clock box" 0 dusk_config_state "Enable Digital Clock"

dusk_config_click Apply
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the dialog did not end on Apply"
[ "$DUSK_RC" = 0 ] || dusk_fail "Apply ended with exit code $DUSK_RC"

# Apply writes every key; wine's profile writer keeps the keys in place and drops the blank
# that the number texts begin with.
DUSK_SETTINGS_TO=$WORK/expected.ini dusk_settings "owl= 0" "skeleton2= 1" "song3= 1" "song7= 1" "sound7= 1" \
  "clock= 0" "speed=1" "messagetext=$KEPT"
sed -i 's/^\([^=]*\)= */\1=/' "$WORK/expected.ini"
if ! cmp -s "$WORK/expected.ini" "$WINDIR_UNIX/tarnix.ini"; then
  diff <(tr -d '\r' <"$WORK/expected.ini") <(tr -d '\r' <"$WINDIR_UNIX/tarnix.ini") >&2
  dusk_fail "the settings file is not what the dialog showed"
fi
dusk_note "ok: Apply wrote the settings the dialog showed"
