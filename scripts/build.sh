#!/usr/bin/env bash
# Configures and builds Quillmere into build/ (two parallel jobs by default).
# Extra arguments are passed to CMake's configure step.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUILLMERE_BUILD_DIR:-$here/build}"
jobs="${QUILLMERE_JOBS:-2}"
generator=()
if command -v ninja >/dev/null 2>&1 && [ ! -f "$build/Makefile" ]; then
  generator=(-G Ninja)
fi
cmake -S "$here" -B "$build" "${generator[@]}" "$@"
cmake --build "$build" -j "$jobs"
