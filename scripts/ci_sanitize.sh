#!/usr/bin/env bash
# Builds Quillmere, its tests and its fuzz targets with clang's
# AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer into
# build-asan/ and runs the whole test suite there. Any memory error,
# undefined behaviour or leak outside the suppressed third-party libraries
# fails the run. The tests run one suite per process (see
# scripts/run_test_suites.sh). scripts/ci_fuzz.sh then reuses the same folder.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
# shellcheck source=scripts/sanitizer_env.sh
source "$here/scripts/sanitizer_env.sh"

build="${QUILLMERE_ASAN_BUILD_DIR:-$here/build-asan}"
jobs="${QUILLMERE_JOBS:-2}"

start=$(date +%s)
configure_sanitized_build "$build"
cmake --build "$build" -j "$jobs"
built=$(date +%s)
bash "$here/scripts/run_test_suites.sh" "$build"
done_at=$(date +%s)
echo "sanitizer job: build $((built - start)) s, tests $((done_at - built)) s"
