// What the benchmarks share: one scratch folder per benchmark run, and the
// generated journals (2 KB of sample RTF a day, a fixed seed) made in it once
// per run and size.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace quillmere::bench {

// The run's scratch folder, removed when the program ends (unless
// QUILLMERE_BENCH_KEEP=1).
QTemporaryDir& scratchFolder();

// The path of a generated journal of `days` consecutive days, written on the
// first call for that size. Throws quillmere::Error when it cannot be written.
QString generatedJournal(int days);

}  // namespace quillmere::bench
