# Sourced by the sanitizer and fuzz scripts: how the sanitizers report.
# Undefined behaviour stops the program (the builds also use
# -fno-sanitize-recover=undefined); LeakSanitizer runs at every exit and
# knows the third-party suppressions.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=0:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/scripts/sanitizers/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
