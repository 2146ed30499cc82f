// The yardstick of the search and the look-back benchmarks: plain
// single-thread zlib inflation of every stored entry.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

namespace quillmere {
class JournalTable;
}

namespace quillmere::bench {

// Each iteration inflates every entry of `journal` with zlib's uncompress
// into one reused buffer of `bufferBytes`; an entry that does not inflate
// ends the benchmark with an error.
void timeInflateEntries(benchmark::State& state, const JournalTable& journal,
                        std::size_t bufferBytes);

}  // namespace quillmere::bench
