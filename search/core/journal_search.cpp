#include "search/core/journal_search.h"

#include "search/core/entry_match_pool.h"

#include "editor/rtf/rtf.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/journal_table.h"

#include <QCoreApplication>
#include <QTextDocument>

#include <chrono>
#include <memory>
#include <new>

namespace quillmere {

QString entryDisplayedText(const QByteArray& entryBytes) {
    try {
        return rtf::plainTextOfRtf(entryBytes);
    } catch (const rtf::RtfError&) {
        // Not RTF: the editor shows the bytes as plain text, as LoadEntry does.
    }
    return plainEntryText(entryBytes);
}

QString plainEntryText(const QByteArray& entryBytes) {
    try {
        QTextDocument document;
        rtf::readPlainText(entryBytes, document);
        return document.toPlainText();
    } catch (const rtf::RtfError&) {
        throw rtf::RtfError(QCoreApplication::translate("quillmere::RichEditor", "Failed to Load Stream"));
    }
}

bool textMatches(const QString& text, const QString& needle) {
    return !needle.isEmpty() && text.contains(needle, Qt::CaseInsensitive);
}

TextMatcher::TextMatcher(const QString& needle) : needle_(needle), rtfFilter_(needle) {
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
    const QByteArray bytes = DecodeEntryContent(blob);
    return matcher.mayMatchEntry(bytes) && matcher.matches(entryDisplayedText(bytes));
}

bool entryMatches(const QByteArray& blob, const QString& needle) {
    return entryMatches(blob, TextMatcher(needle));
}

namespace {

// The outcome of the plain-text reading of an entry that is not RTF, on the
// calling thread.
EntryOutcome testPlainText(const QByteArray& bytes, const TextMatcher& matcher,
                           EntryOutcomeDetail& detail) {
    try {
        return matcher.matches(plainEntryText(bytes)) ? EntryOutcome::kMatch
                                                      : EntryOutcome::kNoMatch;
    } catch (const Error& error) {
        detail.error = error.message();
    } catch (const std::bad_alloc&) {
        detail.error = QString::fromLatin1(zlibErrorText(-4));
    }
    return EntryOutcome::kFailed;
}

// Collects the outcome of each entry of a snapshot in order: from the pool
// when there is one, else by testing the entry here.
class OutcomeSource {
public:
    OutcomeSource(const ScanSnapshot& snapshot, const TextMatcher& matcher, const SearchIdle& idle,
                  int threads)
        : snapshot_(snapshot), matcher_(matcher), idle_(idle) {
        if (threads > 1 && snapshot.blobs.size() > 1) {
            pool_ = std::make_unique<EntryMatchPool>(snapshot.blobs, matcher, threads);
        }
    }

    EntryOutcome next(std::size_t k, EntryOutcomeDetail& detail) {
        EntryOutcome outcome;
        if (!pool_) {
            outcome = testEntry(snapshot_.blobs[k], matcher_, detail);
        } else {
            for (;;) {
                const auto slice = std::chrono::steady_clock::now() +
                                   std::chrono::milliseconds(kSearchIdleSliceMs);
                outcome = pool_->waitFor(k, slice);
                if (outcome != EntryOutcome::kPending) {
                    break;
                }
                if (idle_) {
                    idle_();
                }
            }
            if (outcome == EntryOutcome::kFailed || outcome == EntryOutcome::kPlainText) {
                detail = pool_->takeDetail(k);
            }
        }
        if (outcome == EntryOutcome::kPlainText) {
            outcome = testPlainText(detail.bytes, matcher_, detail);
        }
        return outcome;
    }

private:
    const ScanSnapshot& snapshot_;
    const TextMatcher& matcher_;
    const SearchIdle& idle_;
    std::unique_ptr<EntryMatchPool> pool_;
};

}  // namespace

JournalSearchResult searchJournal(const JournalTable& journal, const TextMatcher& matcher,
                                  SearchRange range, const SearchPoll& poll, const SearchIdle& idle,
                                  int threads) {
    JournalSearchResult result;
    if (matcher.needle().isEmpty()) {
        return result;
    }
    const ScanSnapshot snapshot = takeScanSnapshot(journal, range);
    OutcomeSource outcomes(snapshot, matcher, idle, threads > 0 ? threads : defaultScanThreads());
    const int count = int(snapshot.days.size());
    for (int index = 0; index < count; ++index) {
        const double day = snapshot.days[std::size_t(index)];
        const int entry = snapshot.entryOf[std::size_t(index)];
        result.visited = index + 1;
        if (entry >= 0) {
            ++result.decoded;
            EntryOutcomeDetail detail;
            const EntryOutcome outcome = outcomes.next(std::size_t(entry), detail);
            if (outcome == EntryOutcome::kFailed) {
                // One damaged entry must not hide the days after it.
                result.unreadable.push_back(UnreadableEntry{day, detail.error});
            }
            if (outcome == EntryOutcome::kMatch) {
                result.days.push_back(day);
            }
        }
        if (poll && !poll()) {
            result.end = SearchEnd::kStopped;
            result.resumeDay = snapshot.days[std::size_t(qMin(index + 1, count - 1))];
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
    return searchJournal(journal, TextMatcher(needle), range, poll);
}

QString UnreadableDaysText(const std::vector<UnreadableEntry>& unreadable, int shown) {
    if (unreadable.empty()) {
        return {};
    }
    QStringList names;
    const int count = int(unreadable.size());
    for (int i = 0; i < count && i < shown; ++i) {
        const double day = unreadable[std::size_t(i)].day;
        const QDate date = dateFromDay(day);
        names << (date.isValid() ? DayCaption(date) : QString::number(day));
    }
    QString text = QCoreApplication::translate("quillmere::JournalSearch", "Could not read: ") + names.join(QStringLiteral(", "));
    if (count > shown) {
        text += QCoreApplication::translate("quillmere::JournalSearch", ", and %1 more").arg(count - shown);
    }
    return text;
}

InputPacer::InputPacer(qint64 intervalMs) : intervalMs_(intervalMs) {
    clock_.start();
}

void InputPacer::noteStretch() {
    longestNs_ = qMax(longestNs_, clock_.nsecsElapsed());
}

}  // namespace quillmere
