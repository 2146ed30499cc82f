// The look back over a generated journal of 36,500 days (about 2 KB of RTF
// each): a month's marks, the On This Day list with its statistics, beside
// the yardstick, plain single-thread zlib inflation of every stored entry.
#include "generated_journals.h"
#include "inflate_entries.h"
#include "lookback/core/lookback.h"
#include "store/day.h"
#include "store/journal_table.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <memory>
#include <vector>

namespace {

using quillmere::JournalTable;

constexpr int kDays = 36500;

// Opened once from the generated file, never written.
JournalTable& journal() {
    static std::unique_ptr<JournalTable> table;
    if (!table) {
        table = std::make_unique<JournalTable>();
        table->OpenJournal(quillmere::bench::generatedJournal(kDays));
    }
    return *table;
}

// The yardstick: zlib uncompress of every stored entry into one buffer.
void BM_InflateEntries(benchmark::State& state) {
    quillmere::bench::timeInflateEntries(state, journal(), 1024 * 1024);
}

// The calendar's marks of one month in the middle of the journal.
void BM_MonthMarks(benchmark::State& state) {
    const JournalTable& table = journal();
    const QDate middle = quillmere::dateFromDay(table.dayAt(table.recordCount() / 2));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            quillmere::DaysWithEntries(table, middle.year(), middle.month()).size());
    }
}

// What opening the On This Day window computes: the list for the last day
// of the journal (99 earlier years) and the statistics of every entry, on
// one worker per core (the second argument: 0) or on the calling thread
// alone (1).
void BM_OnThisDayAndStatistics(benchmark::State& state) {
    const JournalTable& table = journal();
    const QDate last = quillmere::dateFromDay(table.dayAt(table.recordCount() - 1));
    qint64 words = 0;
    std::size_t listed = 0;
    for (auto _ : state) {
        listed = quillmere::EarlierEntries(table, last).size();
        words = quillmere::ComputeStatistics(table, last, int(state.range(0))).wordsWritten;
    }
    state.counters["listed"] = double(listed);
    state.counters["words"] = double(words);
}

BENCHMARK(BM_InflateEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthMarks)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnThisDayAndStatistics)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    journal().abandon();
    return 0;
}
