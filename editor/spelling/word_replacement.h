// Replacing a misspelt word by a suggestion in the entry.
#pragma once

#include <QString>

class QTextDocument;

namespace quillmere {

// Replaces the characters [start, start + length) of `document` by
// `replacement` as one undo step, keeping the word's formatting: only the
// part between the longest common beginning and end of the two words is
// replaced, and the new characters take the format of the first character
// they replace (of the character before them when they replace none).
// Returns the position after the replacement. A range outside the text is
// clamped to it. Never throws (beyond allocation).
int replaceWord(QTextDocument& document, int start, int length, const QString& replacement);

// The suggestion written with the word's apostrophes: a word typed with
// curly apostrophes (don’t) gets its suggestions with them too.
QString withApostrophesOf(const QString& word, const QString& suggestion);

}  // namespace quillmere
