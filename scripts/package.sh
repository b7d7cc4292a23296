#!/usr/bin/env bash
# Builds the Debian package with Debian's own tools into build/package/nubira_<version>_<arch>.deb,
# from a copy of the source tree without its build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
# build-essential is what dpkg-checkbuilddeps always asks for; without recommends it is not
# pulled in by the others.
scripts/install-deps.sh build-essential debhelper dpkg-dev lintian desktop-file-utils appstream
out=build/package
rm -rf "$out"
mkdir -p "$out/nubira"
tar --exclude=./build --exclude=./.git -cf - . | tar -xf - -C "$out/nubira"
(cd "$out/nubira" && dpkg-buildpackage --build=binary --no-sign)
ls "$out"/nubira_*.deb
