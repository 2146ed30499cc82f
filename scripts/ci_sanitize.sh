#!/usr/bin/env bash
# Builds Quillmere and its tests with clang's AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer into build-asan/ and runs the
# whole test suite there. Any memory error, undefined behaviour or leak
# outside the suppressed third-party libraries fails the run.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
# shellcheck source=scripts/sanitizer_env.sh
source "$here/scripts/sanitizer_env.sh"

build="${QUILLMERE_ASAN_BUILD_DIR:-$here/build-asan}"
jobs="${QUILLMERE_JOBS:-2}"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

start=$(date +%s)
cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
  -DQUILLMERE_BUILD_TESTS=ON \
  "${launcher[@]}"
cmake --build "$build" -j "$jobs"
built=$(date +%s)
ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 900
done_at=$(date +%s)
echo "sanitizer job: build $((built - start)) s, tests $((done_at - built)) s"
