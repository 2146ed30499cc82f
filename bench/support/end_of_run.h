// The end of a run as Exit does it after one changed day, timed for the
// benchmarks of the store.
#pragma once

#include <QString>

#include <benchmark/benchmark.h>

namespace quillmere::bench {

// Each iteration opens the journal at `path`, gives one day a new short
// entry (untimed), then times the end: the journal written again in place
// and the old file kept as `path`.bak. The .bak is removed afterwards.
void timeEndOneDayChanged(benchmark::State& state, const QString& path);

}  // namespace quillmere::bench
