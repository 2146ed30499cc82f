#!/usr/bin/env bash
# Sets up the machine, builds Quillmere and starts it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh" -DQUILLMERE_BUILD_TESTS=OFF
exec "${QUILLMERE_BUILD_DIR:-$here/build}/shell/quillmere"
