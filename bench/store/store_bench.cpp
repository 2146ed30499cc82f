// The journal store on generated journals of 20 and 100 years (7 300 and
// 36 500 days, about 2 KB of RTF a day): opening (read + loadPacket + date
// index), a lookup, saving (savePacket + safe write), and as yardsticks the
// time to read the file's bytes, to write them, and to inflate every entry.
// Peak memory while opening is reported as a counter relative to the file.
#include "end_of_run.h"
#include "generated_journals.h"
#include "store/entry_codec.h"
#include "store/file_access.h"
#include "store/journal_table.h"
#include "tools/journal/journal_generate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <fstream>
#include <memory>
#include <string>

using namespace quillmere;

namespace {

qint64 fileSize(const QString& path) {
    return QFile(path).size();
}

// A value in kB from /proc/self/status ("VmRSS", "VmHWM").
long statusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::stol(line.substr(prefix.size()));
        }
    }
    return -1;
}

// Resets the peak resident size to the current one (Linux 4.0 and later).
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear);
}

void BM_ReadBytes(benchmark::State& state) {
    const QString path = bench::generatedJournal(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(fileAccess().readAll(path));
    }
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}

void BM_Open(benchmark::State& state) {
    const QString path = bench::generatedJournal(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        JournalTable journal;
        journal.OpenJournal(path);
        benchmark::DoNotOptimize(journal.recordCount());
        journal.abandon();
    }
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}

void BM_Lookup(benchmark::State& state) {
    const int days = static_cast<int>(state.range(0));
    JournalTable journal;
    journal.OpenJournal(bench::generatedJournal(days));
    int i = 0;
    for (auto _ : state) {
        const double day = journaltool::generatedFirstDay() + (i * 7919) % days;
        benchmark::DoNotOptimize(journal.find(day));
        ++i;
    }
    journal.abandon();
}

void BM_InflateAll(benchmark::State& state) {
    JournalTable journal;
    journal.OpenJournal(bench::generatedJournal(static_cast<int>(state.range(0))));
    qint64 bytes = 0;
    for (auto _ : state) {
        for (int i = 0; i < journal.recordCount(); ++i) {
            bytes += DecodeEntryContent(journal.entryAt(i)).size();
        }
    }
    state.SetBytesProcessed(bytes);
    journal.abandon();
}

void BM_WriteBytes(benchmark::State& state) {
    const QString path = bench::generatedJournal(static_cast<int>(state.range(0)));
    const QByteArray bytes = fileAccess().readAll(path);
    const QString out = bench::scratchFolder().filePath(QStringLiteral("write-copy.cds"));
    for (auto _ : state) {
        fileAccess().writeAtomic(out, bytes);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_Save(benchmark::State& state) {
    const QString path = bench::generatedJournal(static_cast<int>(state.range(0)));
    JournalTable journal;
    journal.OpenJournal(path);
    // One day changed, as after a session of writing.
    journal.StoreEntry(journaltool::generatedFirstDay(), "{\\rtf1 changed}");
    const QString out = bench::scratchFolder().filePath(QStringLiteral("save-copy.cds"));
    qint64 written = 0;
    for (auto _ : state) {
        const QByteArray packet = journal.dataset().savePacket();
        fileAccess().writeAtomic(out, packet);
        written += packet.size();
    }
    state.SetBytesProcessed(written);
    journal.abandon();
}

// The end as Exit does it after one changed day: the journal written again
// in place, the old file kept as the .bak beside it.
void BM_EndOneDayChanged(benchmark::State& state) {
    const QString path = bench::scratchFolder().filePath(QStringLiteral("end-copy.cds"));
    QFile::remove(path);
    QFile::copy(bench::generatedJournal(static_cast<int>(state.range(0))), path);
    bench::timeEndOneDayChanged(state, path);
}

// savePacket alone, without the write.
void BM_SavePacketOnly(benchmark::State& state) {
    JournalTable journal;
    journal.OpenJournal(bench::generatedJournal(static_cast<int>(state.range(0))));
    journal.StoreEntry(journaltool::generatedFirstDay(), "{\\rtf1 changed}");
    qint64 written = 0;
    for (auto _ : state) {
        written += journal.dataset().savePacket().size();
    }
    state.SetBytesProcessed(written);
    journal.abandon();
}

void BM_OpenPeakMemory(benchmark::State& state) {
    const QString path = bench::generatedJournal(static_cast<int>(state.range(0)));
    const double size = static_cast<double>(fileSize(path));
    double ratio = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const long before = statusKb("VmRSS");
        if (!resetPeak()) {
            state.SkipWithError("cannot reset the peak resident size");
            break;
        }
        auto journal = std::make_unique<JournalTable>();
        journal->OpenJournal(path);
        const long peak = statusKb("VmHWM");
        ratio = (peak - before) * 1024.0 / size;
        journal->abandon();
    }
    state.counters["file_MB"] = size / 1e6;
    state.counters["peak_over_file"] = ratio;
}

}  // namespace

BENCHMARK(BM_ReadBytes)->Arg(7300)->Arg(36500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Arg(7300)->Arg(36500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lookup)->Arg(7300)->Arg(36500);
BENCHMARK(BM_InflateAll)->Arg(7300)->Arg(36500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBytes)->Arg(7300)->Arg(36500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(7300)->Arg(36500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EndOneDayChanged)->Arg(7300)->Arg(36500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePacketOnly)->Arg(7300)->Arg(36500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPeakMemory)->Arg(7300)->Arg(36500)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
