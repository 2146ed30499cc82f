# Sourced by the sanitizer and fuzz scripts: how the sanitizers report.
# Undefined behaviour stops the program (the builds also use
# -fno-sanitize-recover=undefined); LeakSanitizer runs at every exit and
# knows the third-party suppressions.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/scripts/sanitizers/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

# Configures the one clang build both the sanitized test run and the fuzz
# targets use: AddressSanitizer and UndefinedBehaviorSanitizer (fatal) on
# everything, the fuzzer's coverage instrumentation on the libraries the fuzz
# targets reach (fuzz/CMakeLists.txt), the test programs themselves at -O0
# (a third less compile time; the code under test keeps -O1). Sharing the
# folder means CI compiles the program once for both; line tables are all
# the sanitizers' stack traces need, and build faster than full debug
# information. Debian's hardening flags stay out: AddressSanitizer checks
# what _FORTIFY_SOURCE would, and the -O0 tests would warn about it.
# Usage: configure_sanitized_build BUILD_DIR
configure_sanitized_build() {
  local build="$1"
  local sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$here" -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
    -DCMAKE_CXX_FLAGS="$sanitize" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DQUILLMERE_TEST_FLAGS="-O0;-gline-tables-only" \
    -DQUILLMERE_HARDENING=OFF \
    -DQUILLMERE_BUILD_TESTS=ON -DQUILLMERE_BUILD_FUZZ=ON \
    "${launcher[@]}"
}
