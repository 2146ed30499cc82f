// Text search as the entry editor offers it: over the characters the editor
// shows, forward or backward within a range, with the match-case and
// whole-word options of a find dialog.
#pragma once

#include <QString>

namespace quillmere {

struct FindOptions {
    bool forward = true;     // false: the last match in the range
    bool matchCase = false;  // false: letters compare without regard to case
    bool wholeWord = false;  // true: the match has no letter or digit on either side
};

// Searches `text` for `needle` within the characters [from, to): a match must
// lie wholly inside the range. Forward gives the first match, backward the
// last one. Out-of-range bounds are clamped to the text. Returns the start
// of the match, or -1 when there is none or `needle` is empty. Never throws.
int findInText(const QString& text, const QString& needle, int from, int to,
               const FindOptions& options);

}  // namespace quillmere
