# Helpers of the end-to-end tests: the screen saver under wine in the virtual display that
# ./test starts. Each script is called as
#   script.sh SCR HEADLESS DATA TEST_WINDOW PASSWORD_CPL
# (the screen saver, the native headless host, the generated data root, the test window helper
# and the test password checker) with WINEPREFIX and DISPLAY set, and a wine server kept alive.
# Everything a script changes in the prefix (settings file, data folder, registry values, files
# in the system folder) is put back at exit; only processes the script started are ended.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/common.sh"

SCR=$(readlink -m "$1")
HEADLESS=$(readlink -m "$2")
DATA=$(readlink -m "$3")
TEST_WINDOW=$(readlink -m "$4")
PASSWORD_CPL=$(readlink -m "$5")

: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
: "${DISPLAY:?DISPLAY must name the virtual X display}"
export WINEDEBUG=${WINEDEBUG:--all}
WINDIR_UNIX=$WINEPREFIX/drive_c/windows
dusk_test_begin dusk-e2e
DUSK_PICTURES=${DUSK_E2E_PICTURES:-$(dirname "$SCR")/../e2e-pictures}

# A Windows path for a Unix path (drive Z: is the Unix root).
dusk_winpath() { local p=${1//\//\\}; echo "Z:$p"; }

# --- what the screen saver finds in the prefix -------------------------------------------------

# Keeps a file or folder of the prefix aside until the script ends, then puts it back.
dusk_keep_aside() {
  local path=$1
  if [ -e "$path" ] || [ -L "$path" ]; then
    mv "$path" "$path.dusk-e2e-kept"
    dusk_undo "rm -rf '$path'; mv '$path.dusk-e2e-kept' '$path'"
  else
    dusk_undo "rm -rf '$path'"
  fi
}

# The data folder C:\windows\Duskhollow: the generated one, or a folder given.
dusk_install_data() {
  local from=${1:-$DATA/Duskhollow}
  [ -d "$from" ] || dusk_skip "no data folder at $from (build the native flavour first)"
  dusk_keep_aside "$WINDIR_UNIX/Duskhollow"
  ln -s "$from" "$WINDIR_UNIX/Duskhollow"
}

# The creature keys of the settings file, as the program lists them.
mapfile -t DUSK_CREATURES < <("$HEADLESS" --list-creatures 2>/dev/null)

# Writes a settings file with the headless host (--write-settings: every key in the order Apply
# writes them, "firstrun" set, every switch off but those older files lack, which stand at their
# defaults, speed 70, no message), then the key=value pairs given (a later pair wins).
# Into C:\windows\tarnix.ini, or the file named by DUSK_SETTINGS_TO.
dusk_settings() {
  local file=${DUSK_SETTINGS_TO:-$WINDIR_UNIX/tarnix.ini}
  [ -x "$HEADLESS" ] || dusk_skip "no headless host at $HEADLESS (build the native flavour first)"
  if [ -z "${DUSK_SETTINGS_TO:-}" ] && [ ! -e "$WORK/.settings-kept" ]; then
    dusk_keep_aside "$file"
    touch "$WORK/.settings-kept"
  fi
  "$HEADLESS" --write-settings "$file" "$@" || dusk_fail "cannot write the settings file $file"
}

# Every creature on (as the settings dialog's "all" would write them).
dusk_all_creatures() {
  local k out=()
  for k in "${DUSK_CREATURES[@]}"; do out+=("$k= 1"); done
  printf '%s\n' "${out[@]}"
}

# A registry value under HKCU for this script only: the value (and a key that did not exist)
# is removed at the end, or an earlier value put back.
dusk_reg_add() {  # key value type data
  local key=$1 value=$2 type=$3 data=$4 old missing="" k=$1
  while [ -n "$k" ] && ! wine reg query "HKCU\\$k" >/dev/null 2>&1; do
    missing=$k
    [[ $k == *\\* ]] && k=${k%\\*} || k=""
  done
  if [ -n "$missing" ]; then
    dusk_undo "wine reg delete 'HKCU\\$missing' /f"
  else
    old=$(wine reg query "HKCU\\$key" /v "$value" 2>/dev/null | tr -d '\r' | awk -v v="$value" '$1 == v {print $2, $3}')
    if [ -n "$old" ]; then
      dusk_undo "wine reg add 'HKCU\\$key' /v '$value' /t ${old%% *} /d '${old#* }' /f"
    else
      dusk_undo "wine reg delete 'HKCU\\$key' /v '$value' /f"
    fi
  fi
  wine reg add "HKCU\\$key" /v "$value" /t "$type" /d "$data" /f >/dev/null 2>&1 || dusk_fail "reg add $key $value"
}

# A file placed into C:\windows\system32 for this script only.
dusk_system_file() {  # source name
  local target=$WINDIR_UNIX/system32/$2
  dusk_keep_aside "$target"
  cp "$1" "$target"
}

# --- processes ---------------------------------------------------------------------------------

# Starts the screen saver with the arguments given; its pid in SCR_PID, its output in $WORK/scr-N.log.
DUSK_RUNS=0
dusk_start() {
  DUSK_RUNS=$((DUSK_RUNS + 1))
  SCR_LOG=$WORK/scr-$DUSK_RUNS.log
  dusk_spawn wine "$SCR" "$@" >"$SCR_LOG" 2>&1
  SCR_PID=$DUSK_PID
}

# Waits for the saver's window while the saver runs (a hang detector only: up to $1 seconds,
# default 150); says what it saw when the window does not come.
dusk_wait_saver_window() {
  local limit=${1:-150} i
  for ((i = 0; i < limit * 5; i++)); do
    DUSK_WINDOW=$(xdotool search --name '^Duskhollow$' 2>/dev/null | head -1)
    [ -n "$DUSK_WINDOW" ] && return 0
    if ! dusk_alive "$SCR_PID"; then
      wait "$SCR_PID" 2>/dev/null
      dusk_fail "the saver ended with $? before its window appeared; its output: $(tail -c 2000 "$SCR_LOG")"
    fi
    sleep 0.2
  done
  local names
  names=$(xdotool search --name . getwindowname %@ 2>/dev/null | sort -u | head -20 | tr '\n' '|')
  dusk_fail "no saver window appeared in $limit s; windows: $names; its output: $(tail -c 2000 "$SCR_LOG")"
}

# Waits until the saver window is up and has drawn its scene (the screen is no longer black).
dusk_wait_saver() {
  dusk_wait_saver_window "${1:-150}"
  local i
  for ((i = 0; i < 300; i++)); do
    dusk_shot "$WORK/wait.png"
    [ "$(dusk_pixel "$WORK/wait.png" 512 700)" != "0,0,0" ] && return 0
    dusk_alive "$SCR_PID" || dusk_fail "the saver ended before drawing"
    sleep 0.2
  done
  dusk_fail "the saver window stayed black"
}

# Starts the test window helper: TITLE WIDTH HEIGHT; its pid in TW_PID, its control folder in
# TW_DIR, its window handle (decimal) in TW_HWND.
dusk_test_window() {
  TW_DIR=$(mktemp -d "$WORK/window.XXXX")
  dusk_spawn wine "$TEST_WINDOW" "$1" "$2" "$3" "$(dusk_winpath "$TW_DIR")" >"$TW_DIR/log" 2>&1
  TW_PID=$DUSK_PID
  dusk_undo "touch '$TW_DIR/quit'"
  dusk_wait_file "$TW_DIR/hwnd" 60
  TW_HWND=$(tr -d '\r\n' <"$TW_DIR/hwnd" 2>/dev/null)
  [ -n "$TW_HWND" ] || dusk_fail "the test window did not start"
}

# --- the message box ---------------------------------------------------------------------------

# The texts of the window titled $1 (title, then its controls' texts), into file $2.
dusk_window_texts() {
  wine "$TEST_WINDOW" --texts "$1" "$(dusk_winpath "$2")" >/dev/null 2>&1
}

# Waits for the error box, checks its text begins with $1, dismisses it with Return.
dusk_error_box() {
  local expected=$1
  dusk_wait_window '^ScreenSaver Error$' 60 || dusk_fail "no message box titled 'ScreenSaver Error'"
  local box=$DUSK_WINDOW
  dusk_window_texts "ScreenSaver Error" "$WORK/box.txt" || dusk_fail "could not read the message box"
  grep -qF -- "$expected" "$WORK/box.txt" || dusk_fail "message box text: $(cat "$WORK/box.txt")"
  grep -q "^Error Code: " "$WORK/box.txt" || dusk_fail "the message does not begin with the error code"
  local line
  line=$(grep "^Error Code: " "$WORK/box.txt")
  [ "${line:0:${#expected}}" = "$expected" ] || dusk_fail "the message begins '${line:0:60}', not '$expected'"
  dusk_dismiss_box "$box"
}

# --- what the saver sends and shows -------------------------------------------------------------

# The MCI command strings of a headless state dump, one a line, each JSON line's group headed by
# "## N", its tick (or "## end").
dusk_dump_mci() {
  jq -r 'select(has("mci")) | "## \(if .event == "end" then "end" else .tick end)", .mci[]' "$1"
}

# The MCI command strings of a wine +mci trace, one a line, in the order sent. The program sends
# each with its 255-character reply buffer; wine's own inner calls (it opens an alias it does not
# know with "open songN wait" and a small buffer before answering for it) are left out.
dusk_trace_mci() {
  perl -ne '
    next unless /trace:mci:mciSendStringW \(L"((?:[^"\\]|\\.)*)", (\w+), (\d+)/;
    next unless $3 == 255;
    my $s = $1; $s =~ s/\\(.)/$1/g; print "$s\n";
  ' "$1"
}

# Within a WxH+X+Y region: how many pixels are not a label's (black box, grey text), and the
# brightest grey there (0 when the region holds no text).
dusk_not_label_count() {
  /usr/bin/convert "$1" -crop "$2" +repage \
    -fx '(abs(u.r-u.g)>0.01 || abs(u.g-u.b)>0.01 || u.r>0.26) ? 1 : 0' \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}
dusk_brightest() {
  /usr/bin/convert "$1" -crop "$2" +repage -format '%[fx:int(255*maxima.r+0.5)]' info:
}
