// The calendar's marks, On This Day and the statistics, on small hand-made
// diaries.
#include "lookback/core/lookback.h"

#include "editor/rtf/rtf.h"
#include "store/day.h"
#include "store/journal_table.h"
#include "test_support.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using quillmere::dayFromDate;
using quillmere::DiaryStatistics;

QByteArray textRtf(const char* text) {
    return QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0 ") + text +
           "\\par\r\n}\r\n";
}

// An entry with a picture of `size` and the lines given.
QByteArray pictureRtf(QSize size, const QString& text) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(text);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    quillmere::rtf::insertPicture(cursor, image);
    return quillmere::rtf::writeRtf(doc);
}

class Diary {
public:
    explicit Diary(const QString& folder) {
        table.OpenJournal(QDir(folder).filePath(QStringLiteral("Journal.cds")));
    }
    ~Diary() { table.abandon(); }
    void store(const QDate& date, const QByteArray& rtf) {
        table.StoreEntry(dayFromDate(date), rtf);
    }
    void storeDays(std::initializer_list<QDate> dates, const char* text = "written") {
        for (const QDate& date : dates) {
            store(date, textRtf(text));
        }
    }
    void storeRaw(const QDate& date, const QByteArray& blob) {
        table.insert();
        table.setJournalDate(dayFromDate(date));
        table.setJournalEntry(blob);
        table.post();
    }
    quillmere::JournalTable table;
};

class LookbackTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder;
    Diary diary{folder.path()};
};

TEST_F(LookbackTest, MarksTheDaysOfTheMonthShownOnly) {
    diary.storeDays({QDate(2024, 1, 31), QDate(2024, 2, 1), QDate(2024, 2, 14), QDate(2024, 2, 29),
                     QDate(2024, 3, 1), QDate(2023, 2, 10)});
    struct Row {
        const char* label;
        int year;
        int month;
        std::vector<int> days;
    };
    const Row rows[] = {
        {"nominal: a month with entries, its first and last day included", 2024, 2, {1, 14, 29}},
        {"nominal: the same month a year earlier", 2023, 2, {10}},
        {"nominal: a month without entries", 2024, 4, {}},
        {"robustness: a month before the first entry", 1999, 12, {}},
        {"robustness: no such month", 2024, 13, {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.days, quillmere::DaysWithEntries(diary.table, row.year, row.month))
            << row.label;
    }
    diary.table.abandon();
    EXPECT_TRUE(quillmere::DaysWithEntries(diary.table, 2024, 2).empty()) << "closed table";
}

TEST_F(LookbackTest, EarlierYearsNewestFirstWithLeapDays) {
    diary.storeDays({QDate(2016, 2, 29), QDate(2019, 2, 28), QDate(2020, 2, 28), QDate(2020, 2, 29),
                     QDate(2023, 6, 15), QDate(2024, 2, 29), QDate(2025, 2, 28)});
    struct Row {
        const char* label;
        QDate shown;
        std::vector<QDate> earlier;
    };
    const Row rows[] = {
        {"nominal: 29 February finds the earlier leap days",
         QDate(2024, 2, 29),
         {QDate(2020, 2, 29), QDate(2016, 2, 29)}},
        {"nominal: 28 February of a leap year is only the 28th",
         QDate(2024, 2, 28),
         {QDate(2020, 2, 28), QDate(2019, 2, 28)}},
        {"nominal: 28 February of a common year brings the leap days back",
         QDate(2026, 2, 28),
         {QDate(2025, 2, 28), QDate(2024, 2, 29), QDate(2020, 2, 29), QDate(2020, 2, 28),
          QDate(2019, 2, 28), QDate(2016, 2, 29)}},
        {"nominal: a day with no earlier entries", QDate(2023, 6, 15), {}},
        {"nominal: later years do not count", QDate(2016, 2, 29), {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.earlier, quillmere::EarlierEntryDates(diary.table, row.shown)) << row.label;
    }
}

TEST_F(LookbackTest, EarlierEntriesShowFirstLinesPictureAndDamage) {
    diary.store(QDate(2020, 5, 4),
                pictureRtf(QSize(200, 100), QStringLiteral("\n  First line  \n\nSecond\nThird")));
    diary.storeRaw(QDate(2021, 5, 4), QByteArray("\x78\x01\xff\xff", 4));
    const std::vector<quillmere::EarlierEntry> entries =
        quillmere::EarlierEntries(diary.table, QDate(2024, 5, 4), 2, QSize(64, 48));
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(QDate(2021, 5, 4), entries[0].date);
    EXPECT_EQ("data error", entries[0].error.toStdString());
    EXPECT_TRUE(entries[0].firstLines.isEmpty());
    EXPECT_EQ(QDate(2020, 5, 4), entries[1].date);
    EXPECT_EQ("First line\nSecond", entries[1].firstLines.toStdString());
    EXPECT_EQ(QSize(64, 32), entries[1].picture.size()) << "fitted, its shape kept";
    EXPECT_PIXEL(entries[1].picture, 32, 16, "#0000FF");
}

TEST(CountWords, WordsAreRunsBetweenBlanksHoldingALetterOrDigit) {
    struct Row {
        const char* label;
        QString text;
        qint64 words;
    };
    const Row rows[] = {
        {"nominal: blanks, tabs and paragraphs", QStringLiteral("one two\tthree\nfour"), 4},
        {"nominal: punctuation alone is no word", QStringLiteral("well - I think ... so!"), 4},
        {"nominal: a picture stands between words", QStringLiteral("a\uFFFCb"), 2},
        {"nominal: accented letters and digits", QStringLiteral("café 2024 naïve"), 3},
        {"robustness: empty", QString(), 0},
        {"robustness: only blanks", QStringLiteral(" \u00A0 \n"), 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.words, quillmere::CountWords(row.text)) << row.label;
    }
}

TEST_F(LookbackTest, StatisticsOfAHandMadeDiary) {
    // A run of three, an emptied entry that breaks nothing by itself but is
    // not a day written, a run of two ending yesterday, a damaged entry.
    diary.storeDays({QDate(2024, 1, 1), QDate(2024, 1, 2), QDate(2024, 1, 3)}, "three words here");
    diary.store(QDate(2024, 1, 4), textRtf(""));
    diary.storeDays({QDate(2024, 1, 6), QDate(2024, 1, 7)}, "two words");
    diary.storeRaw(QDate(2023, 12, 1), QByteArray("\x78\x01\xff\xff", 4));
    const DiaryStatistics expected{6, 13, 2, 3, QDate(2024, 1, 1), 1};
    struct Row {
        const char* label;
        QDate today;
        int threads;
        int currentRun;
    };
    const Row rows[] = {
        {"nominal: the run ends yesterday while today is unwritten", QDate(2024, 1, 8), 1, 2},
        {"nominal: the same on four worker threads", QDate(2024, 1, 8), 4, 2},
        {"nominal: the run ends today", QDate(2024, 1, 7), 2, 2},
        {"nominal: a day missed ends the run", QDate(2024, 1, 9), 2, 0},
    };
    for (const Row& row : rows) {
        DiaryStatistics want = expected;
        want.currentRun = row.currentRun;
        const DiaryStatistics got =
            quillmere::ComputeStatistics(diary.table, row.today, row.threads);
        EXPECT_EQ(want, got) << row.label << ": days " << got.daysWritten << ", words "
                             << got.wordsWritten << ", current " << got.currentRun << ", longest "
                             << got.longestRun << ", unreadable " << got.unreadable;
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
