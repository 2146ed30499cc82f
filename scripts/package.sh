#!/usr/bin/env bash
# Builds the Debian package from the usual build folder (build/, or
# $QUILLMERE_BUILD_DIR): builds what is missing with Debian's hardening flags
# (dpkg-buildflags, see cmake/QuillmereHardening.cmake), then `cpack -G DEB`,
# which leaves quillmere_<version>_amd64.deb (programs stripped) in
# build/package/. `lintian build/package/quillmere_*.deb` checks it.
# Install it with
#   sudo apt-get install ./build/package/quillmere_<version>_amd64.deb
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUILLMERE_BUILD_DIR:-$here/build}"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh" -DQUILLMERE_HARDENING=ON
(cd "$build" && cpack -G DEB -B "$build/package")
ls "$build"/package/quillmere_*.deb
