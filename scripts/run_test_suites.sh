#!/usr/bin/env bash
# Runs every GoogleTest program of a build folder one test suite per process,
# two at a time, and prints "N passed, N failed" (suites). Used for the
# sanitized build: a process per suite keeps LeakSanitizer's check at every
# exit and the suites as isolated from each other as they are under CTest,
# at a fraction of the cost of a sanitized process per test.
# Usage: run_test_suites.sh BUILD_DIR
set -euo pipefail
build="$(realpath "$1")"
jobs="${QUILLMERE_JOBS:-2}"
export QT_QPA_PLATFORM=offscreen QT_QPA_FONTDIR=/usr/share/fonts
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT

# One line per suite: the program, then the suite's filter.
: >"$logs/suites"
while IFS= read -r program; do
  # Suite lines end in a dot (a comment may follow); indented lines are tests.
  "$program" --gtest_list_tests | grep -E '^[^ ]+\.( |$)' | sed 's/ .*//' |
    while IFS= read -r suite; do echo "$program ${suite}*"; done >>"$logs/suites"
done < <(find "$build/tests" -type f -executable -name '*_tests' | sort)

run_suite() {
  local program="$1" filter="$2" log
  log="$3/$(basename "$program")-$(tr '/.*' '___' <<<"$filter").log"
  if (cd "$(dirname "$program")" && "$program" --gtest_filter="$filter" >"$log" 2>&1); then
    echo "ok $program $filter"
  else
    echo "FAILED $program $filter"
    cat "$log"
  fi
}
export -f run_suite

xargs -P "$jobs" -L 1 bash -c 'run_suite "$0" "$1" "'"$logs"'"' <"$logs/suites" >"$logs/results"
grep -v '^ok ' "$logs/results" || true
passed=$(grep -c '^ok ' "$logs/results" || true)
failed=$(grep -c '^FAILED ' "$logs/results" || true)
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
