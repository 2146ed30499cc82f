#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour
# sanitizers) in the sanitized build folder, build-asan/ (after
# scripts/ci_sanitize.sh there is nothing left to compile), and runs each
# for a while from its seed folder: a smoke test that the readers of
# untrusted bytes (data packets, RTF with its pictures, damaged journals for
# salvage, encrypted files) survive fresh inputs. QUILLMERE_FUZZ_SECONDS sets the time per
# target (60 by default).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
# shellcheck source=scripts/sanitizer_env.sh
source "$here/scripts/sanitizer_env.sh"

build="${QUILLMERE_ASAN_BUILD_DIR:-$here/build-asan}"
jobs="${QUILLMERE_JOBS:-2}"
seconds="${QUILLMERE_FUZZ_SECONDS:-60}"
configure_sanitized_build "$build"

# target, executable inside the build folder, seed folder
targets=(
  "store_load_packet_fuzzer fuzz/store/store_load_packet_fuzzer fuzz/store/seeds"
  "rtf_reader_fuzz fuzz/editor/rtf/rtf_reader_fuzz fuzz/editor/rtf/seeds"
  "journal_salvage_fuzzer fuzz/tools/journal_salvage_fuzzer fuzz/tools/seeds"
  "sealed_file_fuzzer fuzz/crypto/sealed_file_fuzzer SEEDS_WRITTEN"
)
names=()
for t in "${targets[@]}"; do
  read -r name _ _ <<<"$t"
  names+=("$name")
done
cmake --build "$build" -j "$jobs" --target "${names[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Runs one target for its time; new inputs go to a scratch corpus, the
# checked-in seeds stay as they are. A target whose seeds are not checked in
# (SEEDS_WRITTEN: encrypted files, whose stream headers are random) writes
# them itself into a scratch folder first.
fuzz_one() {
  local name="$1" exe="$2" seeds="$3"
  mkdir -p "$work/$name"
  if [ "$seeds" = SEEDS_WRITTEN ]; then
    seeds="$work/seeds-$name"
    QUILLMERE_FUZZ_WRITE_SEEDS="$seeds" "$build/$exe"
  else
    seeds="$here/$seeds"
  fi
  "$build/$exe" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$work/$name-" \
    "$work/$name" "$seeds" 2>"$work/$name.log"
}

# The targets run side by side: each gets its full time on the clock.
pids=()
for t in "${targets[@]}"; do
  read -r name exe seeds <<<"$t"
  echo "== $name: ${seconds} s from $seeds"
  fuzz_one "$name" "$exe" "$seeds" &
  pids+=("$!")
done
failed=0
for i in "${!targets[@]}"; do
  read -r name _ _ <<<"${targets[$i]}"
  if ! wait "${pids[$i]}"; then
    failed=1
    tail -n 60 "$work/$name.log"
    for crash in "$work/$name"-*; do
      [ -e "$crash" ] && { echo "reproducer: $crash"; xxd "$crash" | head -n 40; }
    done
    echo "$name failed" >&2
  fi
  grep -E 'stat::number_of_executed_units|stat::new_units_added' "$work/$name.log" | sed "s/^/$name /" || true
done
exit "$failed"
