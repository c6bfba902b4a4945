#!/usr/bin/env bash
# Builds a release from the last commit, in a clean tree of its own, into build/release/:
#   duskhollow-setup-<version>.exe           the Windows setup program
#   duskhollow-<version>-win64.zip           the Windows zip for installing by hand
#   duskhollow.scr.debug                     the .scr's debug information (the shipped one is stripped)
#   duskhollow_<version>_amd64.deb           the Linux saver
#   duskhollow-data_<version>_all.deb        its pictures, songs and sounds
#   duskhollow-<version>.tar.gz              the sources
#   SHA256SUMS
# Run twice on the same commit it writes the same bytes: every date is the last commit's
# (SOURCE_DATE_EPOCH), the builds run in the same folders, the archives hold sorted files.
# Uncommitted changes are not part of a release (a warning says so).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
source tools/setup.sh

[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  echo "warning: uncommitted changes are left out: the release is built from $(git rev-parse --short HEAD)" >&2
export SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export TZ=UTC LC_ALL=C
umask 022
VERSION=$(sed -n 's/^project(Duskhollow VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$VERSION" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }

WORK=$ROOT/build/release-work
OUT=$ROOT/build/release
SRC=$WORK/duskhollow-$VERSION
rm -rf "$WORK" "$OUT"
mkdir -p "$WORK" "$OUT"

# The sources: the last commit, as a tarball and unpacked to build from.
git archive --format=tar --prefix="duskhollow-$VERSION/" HEAD | gzip -9n >"$OUT/duskhollow-$VERSION.tar.gz"
tar -xzf "$OUT/duskhollow-$VERSION.tar.gz" -C "$WORK"

echo "== native build (the Linux saver, the data folder and the icons)"
cmake -S "$SRC" -B "$WORK/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$WORK/native" --target duskhollow-linux duskhollow-linux-files duskhollow-linux-changelog \
  data duskhollow-headless
(cd "$WORK/native" && cpack -G DEB -B "$WORK/deb" >/dev/null)
cp "$WORK"/deb/duskhollow_"$VERSION"_*.deb "$WORK"/deb/duskhollow-data_"$VERSION"_all.deb "$OUT/"

echo "== Windows build (the saver, the setup program, the zip)"
cmake -S "$SRC" -B "$WORK/win64" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$SRC/cmake/mingw-w64.cmake" -DDUSK_NATIVE_DIR="$WORK/native" >/dev/null
cmake --build "$WORK/win64" --target installer
cp "$WORK/win64/bin/duskhollow-setup.exe" "$OUT/duskhollow-setup-$VERSION.exe"
cp "$WORK/win64/bin/duskhollow-$VERSION-win64.zip" "$WORK/win64/bin/duskhollow.scr.debug" "$OUT/"

(cd "$OUT" && sha256sum -- * >SHA256SUMS)
echo "== build/release/"
(cd "$OUT" && ls -l && cat SHA256SUMS)
echo "duskhollow.scr: $(stat -c %s "$WORK/win64/bin/duskhollow.scr") bytes (its symbols: $(stat -c %s "$OUT/duskhollow.scr.debug") bytes)"
