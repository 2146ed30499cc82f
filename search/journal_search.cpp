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

TextMatcher::TextMatcher(const QString& needle) : needle_(needle) {
    if (needle_.isEmpty() || needle_.front().isSurrogate()) {
        return;
    }
    const char32_t folded = QChar::toCaseFolded(char32_t(needle_.front().unicode()));
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        if (!QChar::isSurrogate(unit) && QChar::toCaseFolded(unit) == folded) {
            firstUnits_.push_back(char16_t(unit));
        }
    }
}

bool TextMatcher::matches(QStringView text) const {
    if (needle_.isEmpty()) {
        return false;
    }
    if (firstUnits_.empty()) {
        return text.contains(needle_, Qt::CaseInsensitive);
    }
    const qsizetype length = needle_.size();
    const qsizetype lastStart = text.size() - length;
    // The next occurrence of each first unit at or after `from`, kept from
    // one candidate to the next so that the text is scanned once per unit.
    std::vector<qsizetype> next(firstUnits_.size(), -2);
    qsizetype from = 0;
    while (from <= lastStart) {
        qsizetype candidate = -1;
        for (std::size_t i = 0; i < firstUnits_.size(); ++i) {
            if (next[i] != -1 && next[i] < from) {
                next[i] = text.indexOf(QChar(firstUnits_[i]), from);
            }
            if (next[i] >= 0 && (candidate < 0 || next[i] < candidate)) {
                candidate = next[i];
            }
        }
        if (candidate < 0 || candidate > lastStart) {
            return false;
        }
        if (text.mid(candidate, length).compare(needle_, Qt::CaseInsensitive) == 0) {
            return true;
        }
        from = candidate + 1;
    }
    return false;
}

bool entryMatches(const QByteArray& blob, const TextMatcher& matcher) {
    if (blob.isEmpty()) {
        return false;
    }
    return matcher.matches(entryDisplayedText(DecodeEntryContent(blob)));
}

bool entryMatches(const QByteArray& blob, const QString& needle) {
    return entryMatches(blob, TextMatcher(needle));
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
                // The stored bytes are read in place; the table cannot change
                // while the test runs (input is handled only in the poll).
                const QByteArrayView stored = journal.entryViewAt(index);
                if (test(QByteArray::fromRawData(stored.data(), stored.size()))) {
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
    const TextMatcher matcher(needle);
    return scanJournal(
        journal, range, [&matcher](const QByteArray& blob) { return entryMatches(blob, matcher); },
        poll);
}

InputPacer::InputPacer(qint64 intervalMs) : intervalMs_(intervalMs) {
    clock_.start();
}

void InputPacer::noteStretch() {
    longestNs_ = qMax(longestNs_, clock_.nsecsElapsed());
}

}  // namespace quillmere
