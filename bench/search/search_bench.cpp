// The search over generated journals of 7,300 and 36,500 days (about 2 KB of
// RTF each), measured beside plain single-thread zlib inflation of the same
// stored entries (the yardstick), and the search window's whole Search click
// with its input handling. Each run reports the longest stretch of work
// between two passes of the event loop. Scans on worker threads are timed in
// real time.
#include "inflate_entries.h"
#include "search/core/entry_match_pool.h"
#include "search/core/journal_search.h"
#include "search/date_field.h"
#include "search/db_search_form.h"
#include "search/search_host.h"
#include "store/entry_codec.h"
#include "store/journal_table.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <map>
#include <memory>
#include <random>
#include <vector>

namespace {

using quillmere::JournalTable;

constexpr int kEntryBytes = 2048;
constexpr double kFirstDay = 36526;  // 1 January 2000

const char* const kWords[] = {"the",    "day",     "was",     "long",     "and",     "we",
                              "walked", "to",      "river",   "caf\\'e9", "after",   "lunch",
                              "garden", "rain",    "letters", "quiet",    "morning", "friends",
                              "book",   "evening", "Harbour", "market",   "train",   "{\\b bold}"};

// An entry as the editor writes it: font and colour tables, paragraphs of
// words, now and then a bold word. One entry in a hundred names "Zanzibar".
QByteArray entryRtf(std::mt19937& random, int index) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
        "{\\f1\\fswiss\\fcharset0 Tahoma;}}\r\n{\\colortbl ;\\red0\\green0\\blue128;}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs22 ";
    std::uniform_int_distribution<int> word(0, int(std::size(kWords)) - 1);
    int count = 0;
    while (rtf.size() < kEntryBytes) {
        rtf += kWords[word(random)];
        if (index % 100 == 7 && count == 40) {
            rtf += " Zanzibar";
        }
        rtf += (++count % 50 == 0) ? "\\par\r\n\\pard " : " ";
    }
    rtf += "\\par\r\n}\r\n";
    return rtf;
}

// Generated journals kept in memory only: never written to their files.
struct Journals {
    QTemporaryDir folder;
    std::map<int, std::unique_ptr<JournalTable>> tables;
    ~Journals() {
        for (auto& [days, table] : tables) {
            table->abandon();
        }
    }
};

// One generated journal per size, made once and kept for every benchmark.
JournalTable& journalOf(int days) {
    static Journals journals;
    auto& table = journals.tables[days];
    if (!table) {
        table = std::make_unique<JournalTable>();
        table->OpenJournal(journals.folder.filePath(QStringLiteral("Journal-%1.cds").arg(days)));
        std::mt19937 random(days);
        for (int i = 0; i < days; ++i) {
            table->StoreEntry(kFirstDay + i, entryRtf(random, i));
        }
    }
    return *table;
}

// The yardstick every figure is compared with: plain single-thread zlib
// uncompress of every stored entry, into one reused buffer.
void BM_InflateEntries(benchmark::State& state) {
    const JournalTable& journal = journalOf(int(state.range(0)));
    quillmere::bench::timeInflateEntries(state, journal, 1024 * 1024);
    state.counters["entries/s"] = benchmark::Counter(
        double(journal.recordCount()) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The program's own decoding of the same entries (DecodeEntryContent).
void BM_DecodeEntries(benchmark::State& state) {
    const JournalTable& journal = journalOf(int(state.range(0)));
    for (auto _ : state) {
        qsizetype bytes = 0;
        for (int i = 0; i < journal.recordCount(); ++i) {
            bytes += quillmere::DecodeEntryContent(journal.entryAt(i)).size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["entries/s"] = benchmark::Counter(
        double(journal.recordCount()) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The parts of the search one by one, over the same entries: the displayed
// text of already inflated RTF, and the match over already extracted text.
void BM_DisplayedTextOfEntries(benchmark::State& state) {
    const JournalTable& journal = journalOf(int(state.range(0)));
    std::vector<QByteArray> rtf;
    for (int i = 0; i < journal.recordCount(); ++i) {
        rtf.push_back(quillmere::DecodeEntryContent(journal.entryAt(i)));
    }
    for (auto _ : state) {
        qsizetype chars = 0;
        for (const QByteArray& bytes : rtf) {
            chars += quillmere::entryDisplayedText(bytes).size();
        }
        benchmark::DoNotOptimize(chars);
    }
}

// The quick test of the RTF bytes that spares most entries the displayed
// text: over already inflated RTF, with the needle the scans look for.
void BM_RtfFilterOfEntries(benchmark::State& state) {
    const JournalTable& journal = journalOf(int(state.range(0)));
    std::vector<QByteArray> rtf;
    for (int i = 0; i < journal.recordCount(); ++i) {
        rtf.push_back(quillmere::DecodeEntryContent(journal.entryAt(i)));
    }
    const quillmere::TextMatcher matcher(QStringLiteral("zanzibar"));
    int passed = 0;
    for (auto _ : state) {
        passed = 0;
        for (const QByteArray& bytes : rtf) {
            passed += matcher.mayMatchEntry(bytes) ? 1 : 0;
        }
        benchmark::DoNotOptimize(passed);
    }
    state.counters["passed"] = passed;
}

std::vector<QString> displayedTexts(const JournalTable& journal) {
    std::vector<QString> texts;
    for (int i = 0; i < journal.recordCount(); ++i) {
        texts.push_back(
            quillmere::entryDisplayedText(quillmere::DecodeEntryContent(journal.entryAt(i))));
    }
    return texts;
}

// QString::contains without regard to case, the rule the matcher keeps to.
void BM_MatchTextsContains(benchmark::State& state) {
    const std::vector<QString> texts = displayedTexts(journalOf(int(state.range(0))));
    const QString needle = QStringLiteral("zanzibar");
    for (auto _ : state) {
        int found = 0;
        for (const QString& text : texts) {
            found += quillmere::textMatches(text, needle) ? 1 : 0;
        }
        benchmark::DoNotOptimize(found);
    }
}

// The prepared matcher the scan uses.
void BM_MatchTextsPrepared(benchmark::State& state) {
    const std::vector<QString> texts = displayedTexts(journalOf(int(state.range(0))));
    for (auto _ : state) {
        const quillmere::TextMatcher matcher(QStringLiteral("zanzibar"));
        int found = 0;
        for (const QString& text : texts) {
            found += matcher.matches(text) ? 1 : 0;
        }
        benchmark::DoNotOptimize(found);
    }
}

// The scan as the window runs it: every record, input handled at the
// window's interval, also while waiting for the workers. The second argument
// is the number of worker threads (0: one per core, 1: the calling thread
// alone).
void BM_SearchJournal(benchmark::State& state) {
    const JournalTable& journal = journalOf(int(state.range(0)));
    const int threads = int(state.range(1));
    double longest = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        quillmere::InputPacer pacer;
        const auto handleInput = [] { QCoreApplication::processEvents(); };
        const auto result = quillmere::searchJournal(
            journal, quillmere::TextMatcher(QStringLiteral("zanzibar")), {0, 1e7},
            [&pacer, &handleInput] {
                pacer.step(handleInput);
                return true;
            },
            [&pacer, &handleInput] { pacer.step(handleInput); }, threads);
        pacer.finish();
        longest = std::max(longest, pacer.longestStretchMs());
        found = result.days.size();
    }
    state.counters["found"] = double(found);
    state.counters["longest_gap_ms"] = longest;
    state.counters["threads"] = threads > 0 ? threads : quillmere::defaultScanThreads();
    state.counters["entries/s"] = benchmark::Counter(
        double(journal.recordCount()) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// A range covering one year of the journal: the other records cost only the
// date comparison.
void BM_SearchOneYear(benchmark::State& state) {
    const JournalTable& journal = journalOf(int(state.range(0)));
    for (auto _ : state) {
        const auto result = quillmere::searchJournal(journal, QStringLiteral("zanzibar"),
                                                     {kFirstDay + 365, kFirstDay + 729});
        benchmark::DoNotOptimize(result.days.size());
    }
}

class BenchHost : public quillmere::SearchHost {
public:
    explicit BenchHost(const JournalTable& journal) : journal_(journal) {}
    const JournalTable& journal() const override { return journal_; }
    void ShowDay(double) override {}
    QImage resultImage() const override { return {}; }
    void showError(const QString&) override {}
    void showInformation(const QString&) override {}
    void setJournalCommandsEnabled(bool) override {}
    QWidget* mainWindow() const override { return nullptr; }

private:
    const JournalTable& journal_;
};

// The whole Search click of the window, list filling included.
void BM_WindowSearch(benchmark::State& state) {
    BenchHost host(journalOf(int(state.range(0))));
    quillmere::TfrmDBSearch form(host);
    form.show();
    double longest = 0;
    for (auto _ : state) {
        form.DateEdit1->setDay(0);
        form.DateEdit2->setDay(kFirstDay + 40000);
        form.edtText->setText(QStringLiteral("ZANZIBAR"));
        form.btnSearchClick();
        longest = std::max(longest, form.lastLongestInputGapMs());
    }
    state.counters["found"] = double(form.ResultList ? form.ResultList->Count() : 0);
    state.counters["longest_gap_ms"] = longest;
}

BENCHMARK(BM_InflateEntries)->Arg(7300)->Arg(36500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeEntries)->Arg(7300)->Arg(36500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayedTextOfEntries)->Arg(7300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RtfFilterOfEntries)->Arg(7300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchTextsContains)->Arg(7300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchTextsPrepared)->Arg(7300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchJournal)
    ->ArgsProduct({{7300, 36500}, {1, 0}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchOneYear)->Arg(36500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowSearch)->Arg(7300)->Arg(36500)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
