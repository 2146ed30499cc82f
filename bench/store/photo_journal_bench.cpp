// A year of daily photographs (365 days, one 12-megapixel JPEG of about
// 2.6 MB each: about 1 GB): opening it beside opening a one-day diary, the
// resident memory it costs, the end's write after one changed day beside
// copying the file with cp and syncing it, and a search that matches every
// day beside one that matches none, both beside inflating the same entries.
// Every comparison is between figures of the same run.
#include "end_of_run.h"
#include "generated_journals.h"
#include "inflate_entries.h"
#include "photo_journals.h"
#include "search/core/journal_search.h"
#include "store/entry_codec.h"
#include "store/file_access.h"
#include "store/journal_table.h"
#include "tools/journal/journal_generate.h"

#include <QFile>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace quillmere;

namespace {

constexpr int kPhotoDays = 365;

// A value in kB from /proc/self/status ("VmRSS").
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

// The journal's path: argument 0 is the one-day text diary, else the photo
// journal of that many days.
QString journalFor(int days) {
    return days == 0 ? bench::generatedJournal(1) : bench::generatedPhotoJournal(days);
}

// Opening: the header, columns and each row's place (the entries stay in the
// file). The resident memory the open journal costs is a counter.
void BM_Open(benchmark::State& state) {
    const QString path = journalFor(int(state.range(0)));
    double residentMb = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const long before = statusKb("VmRSS");
        JournalTable journal;
        journal.OpenJournal(path);
        benchmark::DoNotOptimize(journal.recordCount());
        residentMb = double(statusKb("VmRSS") - before) / 1024.0;
        journal.abandon();
    }
    state.counters["file_MB"] = double(QFile(path).size()) / 1e6;
    state.counters["resident_MB"] = residentMb;
}

// Showing a photo day: its entry read from the file and inflated.
void BM_ReadOneDay(benchmark::State& state) {
    JournalTable journal;
    journal.OpenJournal(journalFor(int(state.range(0))));
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeEntryContent(journal.entryAt(i)).size());
        i = (i + 97) % journal.recordCount();
    }
    journal.abandon();
}

// The yardstick of the end: cp of the journal and a sync of the copy.
void BM_CopyAndSync(benchmark::State& state) {
    const QString path = journalFor(int(state.range(0)));
    const QString copy = bench::scratchFolder().filePath(QStringLiteral("cp-copy.cds"));
    const std::string command = "cp '" + path.toStdString() + "' '" + copy.toStdString() +
                                "' && sync '" + copy.toStdString() + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cp failed");
            break;
        }
        state.PauseTiming();
        QFile::remove(copy);
        state.ResumeTiming();
    }
}

// The end after one changed day: the journal written in place (unchanged
// entries copied by the system from the old file), the old file kept as the
// .bak beside it, as Exit does.
void BM_EndWriteOneDayChanged(benchmark::State& state) {
    bench::timeEndOneDayChanged(state, journalFor(int(state.range(0))));
}

// The yardstick of the search: plain zlib inflation of every entry, read
// from the file, into one reused buffer.
void BM_InflateAll(benchmark::State& state) {
    JournalTable journal;
    journal.OpenJournal(journalFor(int(state.range(0))));
    bench::timeInflateEntries(state, journal, 8 * 1024 * 1024);
    journal.abandon();
}

// The search as the window runs it on one thread (argument 1 = 1) or on one
// per core (0), for a word every day holds or one none holds.
void searchFor(benchmark::State& state, const QString& needle, int expected) {
    JournalTable journal;
    journal.OpenJournal(journalFor(int(state.range(0))));
    const int threads = int(state.range(1));
    std::size_t found = 0;
    for (auto _ : state) {
        const JournalSearchResult result = searchJournal(
            journal, TextMatcher(needle), {0, 1e7}, [] { return true; }, [] {}, threads);
        found = result.days.size();
    }
    if (int(found) != expected) {
        state.SkipWithError("the search found the wrong number of days");
    }
    state.counters["found"] = double(found);
    journal.abandon();
}

void BM_SearchMatchingAll(benchmark::State& state) {
    searchFor(state, QStringLiteral("sunrise"), int(state.range(0)));
}

void BM_SearchMatchingNone(benchmark::State& state) {
    searchFor(state, QStringLiteral("zanzibar"), 0);
}

}  // namespace

BENCHMARK(BM_Open)->Arg(0)->Arg(kPhotoDays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadOneDay)->Arg(kPhotoDays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyAndSync)
    ->Arg(kPhotoDays)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EndWriteOneDayChanged)
    ->Arg(kPhotoDays)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateAll)->Arg(kPhotoDays)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchMatchingAll)
    ->ArgsProduct({{kPhotoDays}, {1, 0}})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchMatchingNone)
    ->ArgsProduct({{kPhotoDays}, {1, 0}})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
