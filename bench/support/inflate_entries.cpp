#include "inflate_entries.h"

#include "store/journal_table.h"

#include <zlib.h>

#include <vector>

namespace quillmere::bench {

void timeInflateEntries(benchmark::State& state, const JournalTable& journal,
                        std::size_t bufferBytes) {
    std::vector<Bytef> out(bufferBytes);
    for (auto _ : state) {
        qsizetype bytes = 0;
        for (int i = 0; i < journal.recordCount(); ++i) {
            const QByteArray blob = journal.entryAt(i);
            uLongf size = uLongf(out.size());
            if (uncompress(out.data(), &size, reinterpret_cast<const Bytef*>(blob.data()),
                           uLong(blob.size())) != Z_OK) {
                state.SkipWithError("an entry does not inflate");
                return;
            }
            bytes += qsizetype(size);
        }
        benchmark::DoNotOptimize(bytes);
    }
}

}  // namespace quillmere::bench
