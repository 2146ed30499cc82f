#include "lookback/core/lookback.h"

#include "editor/rtf/rtf.h"
#include "search/core/entry_match_pool.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/journal_table.h"

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>
#include <new>

namespace quillmere {

namespace {

constexpr char16_t kObjectReplacement = 0xFFFC;

// The record index of `date`, or -1.
int recordOf(const JournalTable& journal, const QDate& date) {
    return journal.find(dayFromDate(date));
}

// What one worker learns of one entry.
struct EntryFigures {
    bool written = false;
    bool unreadable = false;
    qint64 words = 0;
};

// Whether the displayed text shows anything: a character that is not white
// space (a picture included).
bool showsSomething(QStringView text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); });
}

// An entry's bytes are read here, on the worker (a photo diary's entries stay
// in the file until needed); a file cut meanwhile counts as unreadable.
EntryFigures figuresOf(const StoredValue& blob) {
    EntryFigures figures;
    if (blob.isEmpty()) {
        return figures;
    }
    try {
        const QByteArray bytes = DecodeEntryContent(blob.read());
        QString text;
        try {
            text = rtf::plainTextOfRtf(bytes);
        } catch (const rtf::RtfError&) {
            // Not RTF: shown as plain text, as LoadEntry does (a NUL byte
            // means it is no text at all).
            text = rtf::decodePlainText(bytes);
            if (text.contains(QChar(u'\0'))) {
                throw rtf::RtfError(QCoreApplication::translate("quillmere::RichEditor", "Failed to Load Stream"));
            }
        }
        figures.written = showsSomething(text);
        figures.words = CountWords(text);
    } catch (const Error&) {
        figures.written = true;
        figures.unreadable = true;
    } catch (const std::bad_alloc&) {
        figures.written = true;
        figures.unreadable = true;
    }
    return figures;
}

// The runs of consecutive written days, from the written days in ascending
// order (each a whole day value, no repeats).
void countRuns(const std::vector<double>& days, double today, DiaryStatistics& stats) {
    int run = 0;
    double runStart = 0;
    for (std::size_t i = 0; i < days.size(); ++i) {
        if (i > 0 && days[i] == days[i - 1] + 1) {
            ++run;
        } else {
            run = 1;
            runStart = days[i];
        }
        if (run > stats.longestRun) {
            stats.longestRun = run;
            stats.longestRunStart = dateFromDay(runStart);
        }
    }
    if (days.empty()) {
        return;
    }
    // The current run ends today, or yesterday while today is not written.
    const double last = days.back();
    if (last == today || last == today - 1) {
        stats.currentRun = run;
    }
}

QString firstLinesOf(const QString& text, int lines) {
    QStringList kept;
    for (QStringView line : QStringView(text).split(u'\n')) {
        QString shown = line.toString();
        shown.remove(QChar(kObjectReplacement));
        shown = shown.simplified();
        if (!shown.isEmpty()) {
            kept << shown;
            if (kept.size() >= lines) {
                break;
            }
        }
    }
    return kept.join(QLatin1Char('\n'));
}

QImage firstPictureOf(const QTextDocument& doc, QSize thumbnail) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat()) {
                continue;
            }
            const QImage image = rtf::pictureImage(doc, fragment.charFormat().toImageFormat());
            if (image.isNull()) {
                continue;
            }
            if (image.width() <= thumbnail.width() && image.height() <= thumbnail.height()) {
                return image;
            }
            return image.scaled(thumbnail, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
    }
    return {};
}

}  // namespace

std::vector<int> DaysWithEntries(const JournalTable& journal, int year, int month) {
    std::vector<int> days;
    const QDate first(year, month, 1);
    if (!journal.isOpen() || !first.isValid()) {
        return days;
    }
    const double from = dayFromDate(first);
    const double end = dayFromDate(first.addMonths(1));
    const int count = journal.recordCount();
    for (int index = journal.firstIndexFrom(from); index < count; ++index) {
        const double day = wholeDay(journal.dayAt(index));
        if (day >= end) {
            break;
        }
        const int dayOfMonth = int(day - from) + 1;
        if (days.empty() || days.back() != dayOfMonth) {
            days.push_back(dayOfMonth);
        }
    }
    return days;
}

std::vector<QDate> EarlierEntryDates(const JournalTable& journal, const QDate& shown) {
    std::vector<QDate> dates;
    if (!journal.isOpen() || !shown.isValid() || journal.recordCount() == 0) {
        return dates;
    }
    const int firstYear = dateFromDay(journal.dayAt(0)).year();
    // On 28 February of a year without a leap day, the leap days come back.
    const bool withLeapDay =
        shown.month() == 2 && shown.day() == 28 && !QDate::isLeapYear(shown.year());
    for (int year = shown.year() - 1; year >= firstYear && year != 0; --year) {
        const QDate same(year, shown.month(), shown.day());
        if (withLeapDay) {
            const QDate leapDay(year, 2, 29);
            if (leapDay.isValid() && recordOf(journal, leapDay) >= 0) {
                dates.push_back(leapDay);
            }
        }
        if (same.isValid() && recordOf(journal, same) >= 0) {
            dates.push_back(same);
        }
    }
    // Newest first: a leap day comes before the 28th of its year.
    std::stable_sort(dates.begin(), dates.end(), std::greater<>());
    return dates;
}

std::vector<EarlierEntry> EarlierEntries(const JournalTable& journal, const QDate& shown, int lines,
                                         QSize thumbnail) {
    std::vector<EarlierEntry> entries;
    for (const QDate& date : EarlierEntryDates(journal, shown)) {
        EarlierEntry entry;
        entry.date = date;
        try {
            const QByteArray bytes = DecodeEntryContent(journal.entryAt(recordOf(journal, date)));
            QTextDocument doc;
            rtf::loadEntryBytes(bytes, doc);
            entry.firstLines = firstLinesOf(doc.toPlainText(), lines);
            entry.picture = firstPictureOf(doc, thumbnail);
        } catch (const Error& e) {
            entry.error = e.message();
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

qint64 CountWords(QStringView text) {
    qint64 words = 0;
    bool inWord = false;
    bool counted = false;
    for (QChar c : text) {
        if (c.isSpace() || c.unicode() == kObjectReplacement) {
            inWord = false;
            continue;
        }
        if (!inWord) {
            inWord = true;
            counted = false;
        }
        if (!counted && c.isLetterOrNumber()) {
            counted = true;
            ++words;
        }
    }
    return words;
}

DiaryStatistics ComputeStatistics(const JournalTable& journal, const QDate& today, int threads) {
    if (!journal.isOpen()) {
        return {};
    }
    return StatisticsOfSnapshot(takeScanSnapshot(journal, SearchRange{-1e300, 1e300}), today,
                                threads);
}

DiaryStatistics StatisticsOfSnapshot(const ScanSnapshot& snapshot, const QDate& today,
                                     int threads) {
    DiaryStatistics stats;
    const std::size_t count = snapshot.blobs.size();
    std::vector<EntryFigures> figures(count);
    const int workers = threads > 0 ? threads : defaultScanThreads();
    forEachEntry(count, workers,
                 [&](std::size_t k, int) { figures[k] = figuresOf(snapshot.blobs[k]); });
    std::vector<double> writtenDays;
    writtenDays.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        const EntryFigures& f = figures[k];
        stats.wordsWritten += f.words;
        stats.unreadable += f.unreadable ? 1 : 0;
        if (!f.written) {
            continue;
        }
        // Two records of one day (a file written by another program) are
        // one day written.
        const double day = wholeDay(snapshot.days[k]);
        if (writtenDays.empty() || writtenDays.back() != day) {
            writtenDays.push_back(day);
        }
    }
    stats.daysWritten = int(writtenDays.size());
    countRuns(writtenDays, dayFromDate(today), stats);
    return stats;
}

}  // namespace quillmere
