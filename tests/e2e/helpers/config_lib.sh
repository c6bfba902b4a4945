# Helpers of the settings dialog's end-to-end tests (config_*.sh), sourced after lib.sh. The
# dialog's controls are found through dusk_config_probe (built next to the test window helper),
# which lists every control with its place, tick or position and text; clicks go to the centres
# of what it lists.

DUSK_PROBE=$(dirname "$TEST_WINDOW")/dusk_config_probe.exe
DUSK_DIALOG_TITLE="Duskhollow ScreenSaver"
[ -f "$DUSK_PROBE" ] || dusk_skip "no dialog probe at $DUSK_PROBE"

# Describes the dialog into $WORK/probe.txt; sets CLIENT_X CLIENT_Y (the client area's corner on
# the screen), CLIENT_W CLIENT_H, WIN_L WIN_T WIN_R WIN_B.
dusk_config_probe() {
  wine "$DUSK_PROBE" "$DUSK_DIALOG_TITLE" "$(dusk_winpath "$WORK/probe.raw")" >/dev/null 2>&1 || return 1
  tr -d '\r' <"$WORK/probe.raw" >"$WORK/probe.txt"
  read -r _ WIN_L WIN_T WIN_R WIN_B < <(grep '^window ' "$WORK/probe.txt")
  read -r _ CLIENT_X CLIENT_Y CLIENT_W CLIENT_H < <(grep '^client ' "$WORK/probe.txt")
}

# Starts "duskhollow.scr /c" and waits until the dialog is up and describable.
dusk_config_start() {
  dusk_start /c
  dusk_wait_window "^$DUSK_DIALOG_TITLE\$" 60 || dusk_fail "no window titled '$DUSK_DIALOG_TITLE'"
  local i
  for ((i = 0; i < 100; i++)); do
    dusk_config_probe && [ -n "$(dusk_config_line Apply)" ] && return 0
    sleep 0.2
  done
  dusk_fail "the dialog's controls could not be read"
}

# The probe's line of the control whose text is $1 ("&" prefixes ignored), else nothing.
dusk_config_line() {
  awk -F'\t' -v t="$1" 'NF >= 10 { s = $10; gsub(/&/, "", s); if (s == t) { print; exit } }' "$WORK/probe.txt"
}
# The line of the first control of class $1.
dusk_config_class_line() {
  awk -F'\t' -v c="$1" 'NF >= 10 && $2 == c { print; exit }' "$WORK/probe.txt"
}
# Field $2 of the control whose text is $1: 3 visible, 5 state, 6..9 left top width height.
dusk_config_field() { dusk_config_line "$1" | cut -f"$2"; }

# Clicks the centre of the control whose text is $1 (it must be on the page in front).
dusk_config_click() {
  local line
  line=$(dusk_config_line "$1")
  [ -n "$line" ] || dusk_fail "no control '$1' in the dialog"
  [ "$(cut -f3 <<<"$line")" = 1 ] || dusk_fail "control '$1' is not shown"
  dusk_config_click_line "$line"
}
dusk_config_click_line() {
  local l t w h
  read -r l t w h < <(cut -f6-9 <<<"$1")
  xdotool mousemove $((CLIENT_X + l + w / 2)) $((CLIENT_Y + t + h / 2)) click 1
  sleep 0.3
}
# The line of the control with identifier $1 (the picture buttons have no text).
dusk_config_id_line() {
  awk -F'\t' -v id="$1" 'NF >= 10 && $1 == id { print; exit }' "$WORK/probe.txt"
}

# Brings page $1 (0..4) to the front with a click on its tab, and waits until the dialog has
# taken it (leaving the Sounds page waits on the sound system, which may take a while).
dusk_config_page() {
  local l t w h i
  read -r l t w h < <(awk -v p="$1" '$1 == "tab" && $2 == p { print $3, $4, $5, $6 }' "$WORK/probe.txt")
  [ -n "$h" ] || dusk_fail "no tab $1"
  xdotool mousemove $((CLIENT_X + l + w / 2)) $((CLIENT_Y + t + h / 2)) click 1
  for ((i = 0; i < 50; i++)); do
    dusk_config_probe || dusk_fail "the dialog is gone"
    [ "$(dusk_config_class_line SysTabControl32 | cut -f5)" = "$1" ] && return 0
    sleep 0.2
  done
  dusk_fail "page $1 did not come to the front"
}

# Waits until "$3 ..." (a getter reading the probe) prints $2; $1 says what is awaited. Input
# and the probe's questions reach the dialog by different ways, so a fresh answer can still
# predate the last click.
dusk_config_wait() {
  local what=$1 want=$2 i
  shift 2
  for ((i = 0; i < 50; i++)); do
    dusk_config_probe || dusk_fail "the dialog is gone"
    [ "$("$@")" = "$want" ] && return 0
    sleep 0.2
  done
  dusk_fail "$what: '$("$@")', not '$want'"
}
dusk_config_state() { dusk_config_field "$1" 5; }
dusk_config_class_field() { dusk_config_class_line "$1" | cut -f"$2"; }

# Moves the mouse off the dialog, so that no tool tip covers it.
dusk_config_mouse_away() {
  xdotool mousemove 5 5
  sleep 0.6
}
