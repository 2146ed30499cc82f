// The full-text search over the stored journal, without any window: walks
// `tblJournal` in ascending date order, passes over records outside the day
// range without decoding them, and tests the displayed text of every entry
// inside it. Shared by the search window and the journal tool.
//
// Matching rules: only the text the editor displays counts (never RTF control
// words, font names or colour tables); letters compare without regard to case;
// a match may start anywhere, also inside a word; only stored entries are
// searched.
#pragma once

#include "search/core/rtf_text_filter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <vector>

namespace quillmere {

class JournalTable;

// Milliseconds of work after which a long scan lets pending input through.
inline constexpr qint64 kSearchInputIntervalMs = 10;

// An inclusive range of day values; JournalDate values are compared with it
// as they are stored (date-time values).
struct SearchRange {
    double from = 0;
    double to = 0;
    bool contains(double day) const { return day >= from && day <= to; }
};

// The text the editor displays for an entry's decoded bytes, read the way
// LoadEntry reads them: as RTF; when that fails, the same bytes as 8-bit plain
// text. Paragraphs are separated by '\n'. Throws rtf::RtfError "Failed to Load
// Stream" when neither reading works.
QString entryDisplayedText(const QByteArray& entryBytes);

// The second half of entryDisplayedText: the bytes read as 8-bit plain text
// into a document, as the editor shows them. Builds a QTextDocument, so it
// stays on the user-interface thread. Throws rtf::RtfError "Failed to Load
// Stream" when the bytes are not text.
QString plainEntryText(const QByteArray& entryBytes);

// True when `needle` occurs in `text`, letters compared without regard to
// case, starting anywhere. An empty needle never matches. Never throws.
bool textMatches(const QString& text, const QString& needle);

// A search text prepared once for many entries. matches(text) answers
// exactly as textMatches(text, needle), faster: the text is scanned for the
// few code units whose case folding equals the needle's first one, and only
// there compared without regard to case.
class TextMatcher {
public:
    explicit TextMatcher(const QString& needle);
    const QString& needle() const { return needle_; }
    // False for an empty needle. Never throws.
    bool matches(QStringView text) const;
    // False only when the displayed text of the decoded entry `bytes` cannot
    // hold the needle, answered from the bytes alone (see RtfTextFilter).
    // Never throws.
    bool mayMatchEntry(QByteArrayView bytes) const { return rtfFilter_.mayMatch(bytes); }

private:
    QString needle_;
    RtfTextFilter rtfFilter_;
    // Every UTF-16 unit that folds to the needle's first; empty when the
    // needle starts with a surrogate (then the plain comparison is used).
    std::vector<char16_t> firstUnits_;
};

// Decodes a stored JournalEntry blob and tests its displayed text. A blank
// blob (a record without content) has no text and never matches. Throws
// ZlibError with zlib's text ("data error", ...) for a damaged blob and
// rtf::RtfError "Failed to Load Stream" for bytes that cannot be read.
bool entryMatches(const QByteArray& blob, const TextMatcher& matcher);
bool entryMatches(const QByteArray& blob, const QString& needle);

enum class SearchEnd {
    kCompleted,  // every record was visited
    kStopped,    // the poll asked to stop
};

// An entry inside the range that could not be decoded or read: the scan
// passes over it and goes on.
struct UnreadableEntry {
    double day = 0;   // its JournalDate
    QString message;  // the error's own message ("data error")
    bool operator==(const UnreadableEntry&) const = default;
};

struct JournalSearchResult {
    // Days whose entries matched, in the order visited (ascending).
    std::vector<double> days;
    SearchEnd end = SearchEnd::kCompleted;
    // Stopped: JournalDate of the first record not yet examined, or of the
    // last record when the stop came after it. Unused otherwise.
    double resumeDay = 0;
    // Entries of the range visited that could not be read, in date order.
    // Their text was not searched; every other entry was.
    std::vector<UnreadableEntry> unreadable;
    // Records visited, and those of them that were decoded (inside the range).
    int visited = 0;
    int decoded = 0;
};

// "Could not read: 18 June 2010, 19 June 2010" for the days of `unreadable`
// (the first `shown` named, the rest summed up as ", and 3 more"); empty for
// none.
QString UnreadableDaysText(const std::vector<UnreadableEntry>& unreadable, int shown = 10);

// Called after every record visited (inside the range or not); returns false
// to end the scan. The place where a scan handles pending input.
using SearchPoll = std::function<bool()>;

// Called while the scan waits for the worker threads, at least every
// kSearchIdleSliceMs, so that input is handled during a long wait as well.
using SearchIdle = std::function<void()>;
inline constexpr int kSearchIdleSliceMs = 2;

// Searches the stored entries for the matcher's text. Visits every record
// from the first to the last in date order; records whose JournalDate lies
// outside `range` cost only the comparison; every other record's blob is
// decoded and its displayed text matched, as entryMatches does. The records
// are taken when the scan starts (the table is not read again). The decoding
// and matching run on `threads` worker threads (0: one per core; 1: all on the
// calling thread), while the calling thread collects their outcomes in date
// order, calls `poll` after every record and `idle` while it waits. So the
// result is the same for any number of threads: an entry that cannot be
// decoded is listed in `unreadable` with the error's message and the scan
// goes on; a poll that answers false stops the scan after that record. An
// empty needle, a closed or an empty table give an empty completed result.
// Exceptions of `poll` and `idle` pass through (the workers are stopped first).
JournalSearchResult searchJournal(const JournalTable& journal, const TextMatcher& matcher,
                                  SearchRange range, const SearchPoll& poll = {},
                                  const SearchIdle& idle = {}, int threads = 0);
JournalSearchResult searchJournal(const JournalTable& journal, const QString& needle,
                                  SearchRange range, const SearchPoll& poll = {});

// Paces input handling in a long loop: step() runs the handler once at least
// `intervalMs` of work has passed since the previous run, and measures the
// longest stretch of work between two runs.
class InputPacer {
public:
    explicit InputPacer(qint64 intervalMs = kSearchInputIntervalMs);

    // Runs `handleInput` when the interval has passed; cheap otherwise.
    template <typename Handler>
    void step(Handler&& handleInput) {
        if (clock_.elapsed() >= intervalMs_) {
            noteStretch();
            handleInput();
            clock_.restart();
        }
    }

    // Ends the measurement: the stretch since the last run counts as well.
    void finish() { noteStretch(); }

    // The longest stretch of work between two runs, in milliseconds.
    double longestStretchMs() const { return longestNs_ / 1e6; }

private:
    void noteStretch();

    qint64 intervalMs_;
    QElapsedTimer clock_;
    qint64 longestNs_ = 0;
};

}  // namespace quillmere
