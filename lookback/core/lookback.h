// Looking back over the diary without any window: which days of a month have
// an entry (the calendar's marks), the entries written on the same day in
// earlier years (On This Day), and figures about the whole diary.
//
// The marks and the On This Day lookups come from the journal's day index
// alone; only the statistics (words) and the previews read entries.
#pragma once

#include <QDate>
#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

namespace quillmere {

class JournalTable;
struct ScanSnapshot;

// The days of the month (1 .. 31) of `year`/`month` that have a record, in
// ascending order, found through the day index (no entry is read). A closed
// table gives none. Never throws.
std::vector<int> DaysWithEntries(const JournalTable& journal, int year, int month);

// The dates of the earlier years on which `shown`'s month and day fall and
// which have a record, newest first. For 29 February that is the 29 February
// of earlier leap years; for 28 February of a year without a 29th it is also
// the 29 February of earlier years, so a leap day's entry comes back every
// year. A closed table or an invalid date gives none. Never throws.
std::vector<QDate> EarlierEntryDates(const JournalTable& journal, const QDate& shown);

// One entry of the On This Day list.
struct EarlierEntry {
    QDate date;
    // The first lines of the displayed text (at most `lines` lines that are
    // not blank, each trimmed), joined by '\n'.
    QString firstLines;
    // A small copy of the entry's first picture (null when it has none).
    QImage picture;
    // The reading error ("data error") when the entry could not be read;
    // firstLines and picture are then empty.
    QString error;
};

// What the list shows of each entry of EarlierEntryDates(journal, shown), in
// that order: its first `lines` lines and its first picture scaled to fit
// `thumbnail` (never enlarged). Builds documents, so it runs on the
// user-interface thread. An entry that cannot be read is listed with its
// error. Never throws except std::bad_alloc.
std::vector<EarlierEntry> EarlierEntries(const JournalTable& journal, const QDate& shown,
                                         int lines = 3, QSize thumbnail = QSize(64, 48));

// Figures about the whole diary.
struct DiaryStatistics {
    // Days whose entry shows any text or picture (an entry emptied by the user
    // does not count; one that cannot be read does).
    int daysWritten = 0;
    // Words of the displayed text of every entry: runs of characters between
    // white space (pictures count as white space) that hold a letter or digit.
    qint64 wordsWritten = 0;
    // The run of consecutive written days that ends today, or yesterday while
    // today has no entry yet; 0 otherwise.
    int currentRun = 0;
    // The longest run of consecutive written days.
    int longestRun = 0;
    // The first day of the longest run (invalid when there is none).
    QDate longestRunStart;
    // Entries that could not be read (counted as written, with no words).
    int unreadable = 0;

    bool operator==(const DiaryStatistics&) const = default;
};

// The words of a displayed text, by DiaryStatistics' rule. Never throws.
qint64 CountWords(QStringView text);

// The statistics of every record of `journal`, with `today` as the day the
// current run ends on. The entries are decoded and their words counted on
// `threads` worker threads (the search's pool; 0 means one per core). A
// closed table gives zeros. Never throws except std::bad_alloc.
DiaryStatistics ComputeStatistics(const JournalTable& journal, const QDate& today, int threads = 0);

// The same figures from a snapshot taken earlier (takeScanSnapshot over every
// day). Reads only the snapshot, so it may run on any thread while the
// journal goes on changing. Never throws except std::bad_alloc.
DiaryStatistics StatisticsOfSnapshot(const ScanSnapshot& snapshot, const QDate& today,
                                     int threads = 0);

}  // namespace quillmere
