#include "search/journal_search.h"

#include "editor/rtf/rtf.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/journal_table.h"

#include <QTextDocument>

#include <new>

namespace quillmere {

QString entryDisplayedText(const QByteArray& entryBytes) {
    try {
        return rtf::plainTextOfRtf(entryBytes);
    } catch (const rtf::RtfError&) {
        // Not RTF: the editor shows the bytes as plain text, as LoadEntry does.
    }
    try {
        QTextDocument document;
        rtf::readPlainText(entryBytes, document);
        return document.toPlainText();
    } catch (const rtf::RtfError&) {
        throw rtf::RtfError(QStringLiteral("Failed to Load Stream"));
    }
}

bool textMatches(const QString& text, const QString& needle) {
    return !needle.isEmpty() && text.contains(needle, Qt::CaseInsensitive);
}

bool entryMatches(const QByteArray& blob, const QString& needle) {
    if (blob.isEmpty()) {
        return false;
    }
    return textMatches(entryDisplayedText(DecodeEntryContent(blob)), needle);
}

JournalSearchResult scanJournal(const JournalTable& journal, SearchRange range,
                                const EntryTest& test, const SearchPoll& poll) {
    JournalSearchResult result;
    // The count is read for every record: should input handled by the poll
    // add a record, the scan still reads only records that exist.
    for (int index = 0; index < journal.recordCount(); ++index) {
        const double day = journal.dayAt(index);
        if (range.contains(day)) {
            ++result.decoded;
            try {
                if (test(journal.entryAt(index))) {
                    result.days.push_back(day);
                }
            } catch (const Error& error) {
                result.end = SearchEnd::kFailed;
                result.error = error.message();
                result.visited = index + 1;
                return result;
            } catch (const std::bad_alloc&) {
                result.end = SearchEnd::kFailed;
                result.error = QString::fromLatin1(zlibErrorText(-4));
                result.visited = index + 1;
                return result;
            }
        }
        result.visited = index + 1;
        if (poll && !poll()) {
            result.end = SearchEnd::kStopped;
            result.resumeDay = journal.dayAt(qMin(index + 1, journal.recordCount() - 1));
            return result;
        }
    }
    return result;
}

JournalSearchResult searchJournal(const JournalTable& journal, const QString& needle,
                                  SearchRange range, const SearchPoll& poll) {
    if (needle.isEmpty()) {
        return {};
    }
    return scanJournal(
        journal, range, [&needle](const QByteArray& blob) { return entryMatches(blob, needle); },
        poll);
}

InputPacer::InputPacer(qint64 intervalMs) : intervalMs_(intervalMs) {
    clock_.start();
}

void InputPacer::noteStretch() {
    longestNs_ = qMax(longestNs_, clock_.nsecsElapsed());
}

}  // namespace quillmere
