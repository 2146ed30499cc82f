#include "editor/text_find.h"

#include <algorithm>

namespace quillmere {

namespace {

bool isWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool isWholeWord(const QString& text, int start, int length) {
    const int end = start + length;
    const bool before = start > 0 && isWordCharacter(text.at(start - 1));
    const bool after = end < int(text.size()) && isWordCharacter(text.at(end));
    return !before && !after;
}

// Next candidate start when walking forward from `pos`, or -1.
int nextCandidate(QStringView range, const QString& needle, int pos, Qt::CaseSensitivity cs) {
    return int(range.indexOf(needle, pos, cs));
}

// Previous candidate start when walking backward from `pos`, or -1.
int previousCandidate(QStringView range, const QString& needle, int pos, Qt::CaseSensitivity cs) {
    return pos < 0 ? -1 : int(range.lastIndexOf(needle, pos, cs));
}

}  // namespace

int findInText(const QString& text, const QString& needle, int from, int to,
               const FindOptions& options) {
    const int size = int(text.size());
    from = std::clamp(from, 0, size);
    to = std::clamp(to, from, size);
    const int length = int(needle.size());
    if (length == 0 || to - from < length) {
        return -1;
    }
    const QStringView range = QStringView(text).mid(from, to - from);
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int lastStart = int(range.size()) - length;
    int pos = options.forward ? nextCandidate(range, needle, 0, cs)
                              : previousCandidate(range, needle, lastStart, cs);
    while (pos >= 0 && pos <= lastStart) {
        if (!options.wholeWord || isWholeWord(text, from + pos, length)) {
            return from + pos;
        }
        pos = options.forward ? nextCandidate(range, needle, pos + 1, cs)
                              : previousCandidate(range, needle, pos - 1, cs);
    }
    return -1;
}

}  // namespace quillmere
