// The search scan on worker threads: whatever the number of threads, the
// result is the one of testing the records one after the other in date
// order, also when an entry is damaged (passed over and listed), when the
// poll stops the scan and when the table changes under a running scan.
#include "search/core/entry_match_pool.h"
#include "search/core/journal_search.h"
#include "search_fixture.h"
#include "store/entry_codec.h"
#include "store/errors.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace {

using quillmere::JournalSearchResult;
using quillmere::SearchEnd;
using quillmere::SearchRange;
using quillmere::TextMatcher;
using searchtest::kBaseDay;
using searchtest::TestJournal;

// The scan written out the simple way: every record in date order, each
// inside the range tested on this thread with entryMatches.
JournalSearchResult referenceScan(const quillmere::JournalTable& table, const QString& needle,
                                  SearchRange range, std::optional<int> stopAfter) {
    JournalSearchResult result;
    for (int index = 0; index < table.recordCount(); ++index) {
        result.visited = index + 1;
        const double day = table.dayAt(index);
        if (range.contains(day)) {
            ++result.decoded;
            try {
                if (quillmere::entryMatches(table.entryAt(index), needle)) {
                    result.days.push_back(day);
                }
            } catch (const quillmere::Error& error) {
                result.unreadable.push_back({day, error.message()});
            }
        }
        if (stopAfter && index + 1 == *stopAfter) {
            result.end = SearchEnd::kStopped;
            result.resumeDay = table.dayAt(qMin(index + 1, table.recordCount() - 1));
            return result;
        }
    }
    return result;
}

void expectSameResult(const JournalSearchResult& expected, const JournalSearchResult& actual,
                      const std::string& label) {
    EXPECT_EQ(expected.days, actual.days) << label;
    EXPECT_EQ(int(expected.end), int(actual.end)) << label;
    EXPECT_EQ(expected.unreadable, actual.unreadable) << label;
    EXPECT_EQ(expected.visited, actual.visited) << label;
    EXPECT_EQ(expected.decoded, actual.decoded) << label;
    if (expected.end == SearchEnd::kStopped) {
        EXPECT_EQ(expected.resumeDay, actual.resumeDay) << label;
    }
}

struct JournalCase {
    const char* label;
    int damagedAt;  // record whose blob is damaged, -1 for none
    int plainAt;    // record stored as plain text instead of RTF, -1 for none
    int blankAt;    // record stored without content, -1 for none
    double from;    // range, as offsets from kBaseDay
    double to;
};

class ParallelScanTest : public ::testing::TestWithParam<JournalCase> {
protected:
    static constexpr int kRecords = 300;

    void SetUp() override {
        const JournalCase& c = GetParam();
        // Stored out of date order, as a diary written over the years is.
        for (int i = 0; i < kRecords; ++i) {
            const int offset = (i * 7) % kRecords;
            const double day = kBaseDay + offset;
            if (offset == c.damagedAt) {
                journal_.addRawBlob(day, QByteArray("\x78\x01 damaged on purpose"));
            } else if (offset == c.plainAt) {
                journal_.add(day, QByteArray("Plain words, a Needle in plain text"));
            } else if (offset == c.blankAt) {
                journal_.addRawBlob(day, QByteArray());
            } else {
                journal_.addText(day, offset % 9 == 4
                                          ? QStringLiteral("hay and a NEEDLE %1").arg(offset)
                                          : QStringLiteral("only hay %1").arg(offset));
            }
        }
    }

    SearchRange range() const {
        return SearchRange{kBaseDay + GetParam().from, kBaseDay + GetParam().to};
    }

    TestJournal journal_;
};

TEST_P(ParallelScanTest, EveryThreadCountGivesTheResultOfTheSimpleScan) {
    const QString needle = QStringLiteral("needle");
    const JournalSearchResult expected =
        referenceScan(journal_.table(), needle, range(), std::nullopt);
    const TextMatcher matcher(needle);
    for (int threads : {1, 2, 3, 8}) {
        const JournalSearchResult actual =
            quillmere::searchJournal(journal_.table(), matcher, range(), {}, {}, threads);
        expectSameResult(expected, actual,
                         std::string(GetParam().label) + ", threads " + std::to_string(threads));
    }
}

TEST_P(ParallelScanTest, AStopAfterAnyRecordEndsTheScanThere) {
    const QString needle = QStringLiteral("needle");
    const TextMatcher matcher(needle);
    for (int stopAfter : {1, 2, 37, 150, kRecords - 1, kRecords}) {
        const JournalSearchResult expected =
            referenceScan(journal_.table(), needle, range(), stopAfter);
        int calls = 0;
        const JournalSearchResult actual = quillmere::searchJournal(
            journal_.table(), matcher, range(), [&] { return ++calls < stopAfter; }, {}, 2);
        const std::string label =
            std::string(GetParam().label) + ", stop after " + std::to_string(stopAfter);
        // A damaged entry before the stop is passed over: only the stop ends it.
        expectSameResult(expected, actual, label);
        EXPECT_EQ(stopAfter, calls) << label;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParallelScanTest,
    ::testing::Values(
        JournalCase{"nominal: every record in range", -1, -1, -1, -1000, 1000},
        JournalCase{"nominal: a middle part of the journal", -1, -1, -1, 40, 210},
        JournalCase{"nominal: one day", -1, -1, -1, 13, 13},
        JournalCase{"nominal: a plain-text entry is read as text", -1, 120, -1, 0, 299},
        JournalCase{"nominal: a blank entry never matches", -1, -1, 58, 0, 299},
        JournalCase{"robustness: damaged entry in range", 170, -1, -1, 0, 299},
        JournalCase{"robustness: damaged first entry", 0, -1, -1, 0, 299},
        JournalCase{"robustness: damaged last entry", 299, -1, -1, 0, 299},
        JournalCase{"robustness: damaged entry outside the range", 250, -1, -1, 0, 249},
        JournalCase{"robustness: every kind at once", 230, 20, 21, 10, 280},
        JournalCase{"robustness: empty range", 10, -1, -1, 20, 10}));

TEST(ParallelScan, TheTableMayChangeAndCloseWhileTheScanRuns) {
    // Read from the file, so the blobs are views into its bytes; then the
    // poll adds records and closes the table in the middle of the scan.
    TestJournal journal;
    for (int offset = 0; offset < 200; ++offset) {
        journal.addText(kBaseDay + offset, QStringLiteral("page %1 of the diary").arg(offset));
    }
    journal.save();
    quillmere::JournalTable reopened;
    reopened.OpenJournal(journal.path());
    ASSERT_EQ(200, reopened.recordCount());
    const JournalSearchResult expected =
        referenceScan(reopened, QStringLiteral("DIARY"), SearchRange{0, 1e6}, std::nullopt);
    int calls = 0;
    const JournalSearchResult actual = quillmere::searchJournal(
        reopened, TextMatcher(QStringLiteral("DIARY")), SearchRange{0, 1e6},
        [&] {
            if (++calls == 10) {
                for (int offset = 300; offset < 400; ++offset) {
                    reopened.StoreEntry(kBaseDay + offset, searchtest::rtfOf(QStringLiteral("x")));
                }
                reopened.abandon();
            }
            return true;
        },
        {}, 2);
    expectSameResult(expected, actual, "changed under the scan");
    EXPECT_EQ(200u, actual.days.size());
}

TEST(ParallelScan, AnErrorOfThePollPassesThroughAndStopsTheWorkers) {
    TestJournal journal;
    for (int offset = 0; offset < 100; ++offset) {
        journal.addText(kBaseDay + offset, QStringLiteral("entry"));
    }
    int calls = 0;
    EXPECT_THROW(quillmere::searchJournal(
                     journal.table(), TextMatcher(QStringLiteral("entry")), SearchRange{0, 1e6},
                     [&]() -> bool {
                         if (++calls == 5) {
                             throw std::runtime_error("poll failed");
                         }
                         return true;
                     },
                     {}, 4),
                 std::runtime_error);
    EXPECT_EQ(5, calls);
}

TEST(ParallelScan, TestEntryNamesEachOutcome) {
    const TextMatcher matcher(QStringLiteral("word"));
    struct Case {
        const char* label;
        QByteArray blob;
        quillmere::EntryOutcome outcome;
        QString error;
    };
    const Case cases[] = {
        {"nominal: match",
         quillmere::EncodeEntryContent(searchtest::rtfOf("a Word here")),
         quillmere::EntryOutcome::kMatch,
         {}},
        {"nominal: no match",
         quillmere::EncodeEntryContent(searchtest::rtfOf("nothing")),
         quillmere::EntryOutcome::kNoMatch,
         {}},
        {"nominal: only in the formatting",
         quillmere::EncodeEntryContent("{\\rtf1{\\fonttbl{\\f0 Wordy;}}text}"),
         quillmere::EntryOutcome::kNoMatch,
         {}},
        {"nominal: blank", QByteArray(), quillmere::EntryOutcome::kNoMatch, {}},
        {"nominal: not RTF",
         quillmere::EncodeEntryContent("plain word"),
         quillmere::EntryOutcome::kPlainText,
         {}},
        {"robustness: damaged", QByteArray("\x78\x01 damaged blob"),
         quillmere::EntryOutcome::kFailed, QStringLiteral("data error")},
        {"robustness: truncated", quillmere::EncodeEntryContent("{\\rtf1 word}").left(5),
         quillmere::EntryOutcome::kFailed, QStringLiteral("buffer error")},
    };
    for (const Case& c : cases) {
        quillmere::EntryOutcomeDetail detail;
        EXPECT_EQ(int(c.outcome), int(quillmere::testEntry(c.blob, matcher, detail))) << c.label;
        EXPECT_EQ(c.error, detail.error) << c.label;
    }
}

}  // namespace
