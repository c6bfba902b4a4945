#!/usr/bin/env bash
# Plays a known pattern through the waveOut sink under wine, with ALSA's default device
# replaced by a file sink, and checks that the pattern appears sample for sample in the file.
# Usage: waveout_capture.sh <path to wavemix_capture_probe.exe>
set -euo pipefail

probe=$(realpath "$1")
export WINEDEBUG=-all

if [ -z "${WINEPREFIX:-}" ]; then
  # Not run by the test runner: keep a prefix of our own in the build tree.
  build_dir=$(dirname "$(dirname "$probe")")
  export WINEPREFIX="$build_dir/wavemix-wineprefix"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init
    wineserver -w
  fi
fi

# Start the wine server and its service processes detached from our output first: if the
# probe started them they would inherit its stdout and keep the test runner waiting for them.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

work=$(mktemp -d "${TMPDIR:-/tmp}/wavemix_capture.XXXXXX")
trap 'rm -rf "$work"' EXIT
printf 'pcm.!default { type file slave.pcm "null" file "%s/out.raw" format "raw" }\n' \
  "$work" > "$work/.asoundrc"
cd "$work"

set +e
HOME="$work" wine "$probe" play
rc=$?
set -e
if [ "$rc" -ne 0 ]; then
  echo "probe play failed with exit code $rc" >&2
  exit 1
fi
if [ ! -s out.raw ]; then
  echo "nothing was captured in $work/out.raw" >&2
  exit 1
fi
HOME="$work" wine "$probe" check out.raw
