#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour
# sanitizers) into build-fuzz/ and runs each for a while from its seed
# folder: a smoke test that the readers of untrusted bytes (data packets,
# RTF with its pictures, damaged journals for salvage) survive fresh inputs.
# QUILLMERE_FUZZ_SECONDS sets the time per target (60 by default).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
# shellcheck source=scripts/sanitizer_env.sh
source "$here/scripts/sanitizer_env.sh"

build="${QUILLMERE_FUZZ_BUILD_DIR:-$here/build-fuzz}"
jobs="${QUILLMERE_JOBS:-2}"
seconds="${QUILLMERE_FUZZ_SECONDS:-60}"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
  -DQUILLMERE_BUILD_TESTS=OFF -DQUILLMERE_BUILD_FUZZ=ON \
  "${launcher[@]}"

# target, executable inside the build folder, seed folder
targets=(
  "store_load_packet_fuzzer fuzz/store/store_load_packet_fuzzer fuzz/store/seeds"
  "rtf_reader_fuzz fuzz/editor/rtf/rtf_reader_fuzz fuzz/editor/rtf/seeds"
  "journal_salvage_fuzzer fuzz/tools/journal_salvage_fuzzer fuzz/tools/seeds"
)
names=()
for t in "${targets[@]}"; do
  read -r name _ _ <<<"$t"
  names+=("$name")
done
cmake --build "$build" -j "$jobs" --target "${names[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for t in "${targets[@]}"; do
  read -r name exe seeds <<<"$t"
  corpus="$work/$name"
  mkdir -p "$corpus"
  echo "== $name: ${seconds} s from $seeds"
  # New inputs go to the scratch corpus; the checked-in seeds stay as they are.
  "$build/$exe" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$work/$name-" \
    "$corpus" "$here/$seeds" 2>"$work/$name.log" || {
      tail -n 60 "$work/$name.log"
      for crash in "$work/$name"-*; do
        [ -e "$crash" ] && { echo "reproducer: $crash"; xxd "$crash" | head -n 40; }
      done
      echo "$name failed" >&2
      exit 1
    }
  grep -E 'stat::number_of_executed_units|stat::new_units_added' "$work/$name.log" | sed "s/^/$name /"
done
