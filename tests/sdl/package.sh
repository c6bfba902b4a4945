#!/usr/bin/env bash
# The Debian package: built by CPack with the shared libraries' and the soundfont's dependencies,
# holding every file where it belongs. Installing it for real (apt-get install ./...deb, the
# installed command run, then removal leaving nothing) changes the system: that part runs only as
# root with CI or DUSK_INSTALL_TEST set, and the package is always removed again.
source "$(dirname "$0")/lib.sh"
BUILD=$(dirname "$(dirname "$BIN")")
command -v cpack >/dev/null && command -v dpkg-shlibdeps >/dev/null || { echo "SKIP: cpack or dpkg-shlibdeps missing"; exit 77; }

(cd "$BUILD" && cpack -G DEB -B "$WORK/pkg") >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; fail "cpack failed"; done_testing; exit 1; }
DEB=$(ls "$WORK"/pkg/duskhollow_*.deb 2>/dev/null | head -1)
DATA_DEB=$(ls "$WORK"/pkg/duskhollow-data_*_all.deb 2>/dev/null | head -1)
check "cpack -G DEB builds duskhollow_*.deb" test -f "$DEB"
check "and the data as duskhollow-data_*_all.deb" test -f "$DATA_DEB"
[ -f "$DEB" ] && [ -f "$DATA_DEB" ] || { cat "$WORK/cpack.log"; done_testing; exit 1; }

FILES=(/usr/libexec/xscreensaver/duskhollow /usr/bin/duskhollow /usr/share/xscreensaver/config/duskhollow.xml
  /usr/share/man/man6/duskhollow.6.gz /usr/share/doc/duskhollow/copyright /usr/share/doc/duskhollow/changelog.gz)
DATA_FILES=(/usr/share/duskhollow/h_palette.bmp /usr/share/duskhollow/h_song0.Mid /usr/share/duskhollow/h_sound11.wav
  /usr/share/doc/duskhollow-data/copyright /usr/share/doc/duskhollow-data/changelog.gz)
dpkg-deb -c "$DEB" | awk '{print $6}' | sed 's|^\.||' >"$WORK/contents"
dpkg-deb -c "$DATA_DEB" | awk '{print $6}' | sed 's|^\.||' >"$WORK/data-contents"
for f in "${FILES[@]}"; do
  check "the package holds $f" grep -qx "$f" "$WORK/contents"
done
for f in "${DATA_FILES[@]}"; do
  check "the data package holds $f" grep -qx "$f" "$WORK/data-contents"
done
check "the data package holds the whole data folder" test "$(grep -c '^/usr/share/duskhollow/h_' "$WORK/data-contents")" = "$(ls "$DATA/Duskhollow" | wc -l)"
check "the program's package holds none of it" bash -c '! grep -q "^/usr/share/duskhollow/" "$0"' "$WORK/contents"
depends=$(dpkg-deb -f "$DEB" Depends)
for d in libsdl2 libfluidsynth libcairo2 "duskhollow-data (= " fonts-liberation; do
  check "it depends on $d" grep -qF "$d" <<<"$depends"
done
check "it recommends a soundfont, without requiring one" \
  bash -c '[ "$(dpkg-deb -f "$0" Recommends)" = "timgm6mb-soundfont | sf2-soundfont-gm" ] && ! grep -q soundfont <<<"$1"' "$DEB" "$depends"
check "the data package is Architecture: all" test "$(dpkg-deb -f "$DATA_DEB" Architecture)" = all
# lintian, every tag down to the informational and pedantic ones: none may be left.
if command -v lintian >/dev/null; then
  lintian -EvIL +pedantic --tag-display-limit 0 "$DEB" "$DATA_DEB" >"$WORK/lintian.txt" 2>&1
  tags=$(grep -E '^[EWIPX]: ' "$WORK/lintian.txt")
  [ -z "$tags" ] || echo "$tags"
  check "lintian finds nothing to report" test -z "$tags"
else
  echo "-- lintian is not installed: not checked"
fi
dpkg-deb --fsys-tarfile "$DEB" | tar -xO ./usr/share/xscreensaver/config/duskhollow.xml >"$WORK/duskhollow.xml"
check "the settings description is well-formed XML" xmllint --noout "$WORK/duskhollow.xml"
for id in speed clock message music sound bat owl zombie spider; do
  check "it offers '$id'" grep -q "id=\"$id\"" "$WORK/duskhollow.xml"
done
# The man page describes every option --help offers, and where the data is installed.
dpkg-deb --fsys-tarfile "$DEB" | tar -xO ./usr/share/man/man6/duskhollow.6.gz | gzip -dc >"$WORK/duskhollow.6"
"$BIN" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u >"$WORK/help-options"
missing=$(while read -r o; do grep -qF -- "$(sed 's/-/\\-/g' <<<"$o")" "$WORK/duskhollow.6" || echo "$o"; done <"$WORK/help-options")
check "the man page describes every option of --help (missing: ${missing:-none})" test -z "$missing"
check "the man page names the installed data folder" grep -qx '\.I /usr/share/duskhollow' "$WORK/duskhollow.6"
if command -v man >/dev/null; then
  MANWIDTH=80 man --warnings -E UTF-8 -l "$WORK/duskhollow.6" >"$WORK/man.txt" 2>"$WORK/man-warnings.txt"
  check "man renders the page without a warning$(head -c 300 "$WORK/man-warnings.txt")" \
    bash -c '[ ! -s "$0" ] && grep -q "^FILES" "$1" && grep -q "/usr/share/duskhollow" "$1"' "$WORK/man-warnings.txt" "$WORK/man.txt"
fi
check "the man page has no unfilled marks" bash -c '! grep -q "@[A-Z]*@" "$0"' "$WORK/duskhollow.6"

if [ "$(id -u)" != 0 ] || [ -z "${CI:-}${DUSK_INSTALL_TEST:-}" ]; then
  echo "-- not installing the package (needs root and CI or DUSK_INSTALL_TEST set)"
  done_testing
  exit
fi
if dpkg -s duskhollow >/dev/null 2>&1; then
  echo "-- duskhollow is installed on this machine already: not touching it"
  done_testing
  exit
fi
remove_package() { DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq duskhollow duskhollow-data >/dev/null 2>&1; }
dusk_undo remove_package

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$DEB" "$DATA_DEB" >"$WORK/apt.log" 2>&1
check "apt-get install ./duskhollow_*.deb succeeds" test $? = 0
for f in "${FILES[@]}"; do check "installed: $f" test -e "$f"; done
/usr/bin/duskhollow --help >"$WORK/help.txt" 2>&1
check "duskhollow --help runs from /usr/bin" grep -q "^usage: duskhollow" "$WORK/help.txt"
dusk_xvfb 800x600 || dusk_fail "no virtual display"
BIN=/usr/bin/duskhollow start --window --ticks 2 --no-music --no-sound
wait_ticks
check "the installed saver finds its data and runs" grep -q "^ticks 2" "$RUN_OUT"
kill -TERM "$RUN_PID"
dusk_wait_exit "$RUN_PID"
dpkg -L duskhollow duskhollow-data >"$WORK/installed"
remove_package
check "apt-get remove takes the package away" bash -c '! dpkg -s duskhollow >/dev/null 2>&1'
left=$(grep -E '/duskhollow|duskhollow\.' "$WORK/installed" | while read -r f; do [ -e "$f" ] || [ -L "$f" ] && echo "$f"; done)
check "removal leaves nothing behind${left:+: $left}" test -z "$left"

done_testing
