#!/usr/bin/env bash
# Sets up the machine, builds Quillmere with its tests and runs them all
# headless.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh" -DQUILLMERE_BUILD_TESTS=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${QUILLMERE_BUILD_DIR:-$here/build}" --output-on-failure -j 2 --timeout 300
