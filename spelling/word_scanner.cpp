#include "spelling/word_scanner.h"

#include <array>

namespace quillmere::spelling {

namespace {

// The character an embedded picture or object stands on in the text.
constexpr char16_t kObjectReplacement = 0xFFFC;

// Prefixes that make a chunk an address, compared without regard to case.
constexpr std::array<const char*, 6> kAddressPrefixes = {
    "www.", "file:", "mailto:", "http:", "https:", "ftp:"};

// The code point at `i` and the number of UTF-16 units it takes.
char32_t codePointAt(const QString& text, int i, int* units) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, text.at(i + 1));
    }
    *units = 1;
    return c.unicode();
}

bool isBlank(QChar c) {
    return c.isSpace() || c.unicode() == kObjectReplacement;
}

bool isWordPoint(char32_t cp) {
    return QChar::isLetterOrNumber(cp) || QChar::isMark(cp);
}

bool isWordAt(const QString& text, int i, int end) {
    if (i >= end) {
        return false;
    }
    int units = 1;
    return isWordPoint(codePointAt(text, i, &units));
}

bool isJoiner(QChar c) {
    return isApostrophe(c) || isHyphen(c);
}

// True when the chunk (ends trimmed of punctuation) is a web, mail or file
// address, or a dotted name like "example.com".
bool isAddress(const QString& paragraph, int from, int to) {
    while (from < to && !paragraph.at(from).isLetterOrNumber()) {
        ++from;
    }
    while (to > from && !paragraph.at(to - 1).isLetterOrNumber()) {
        --to;
    }
    if (from >= to) {
        return false;
    }
    const QStringView chunk = QStringView(paragraph).mid(from, to - from);
    for (const char* prefix : kAddressPrefixes) {
        if (chunk.startsWith(QLatin1StringView(prefix), Qt::CaseInsensitive)) {
            return true;
        }
    }
    if (chunk.contains(QLatin1StringView("://"))) {
        return true;
    }
    const int at = int(chunk.indexOf(QLatin1Char('@')));
    if (at > 0 && chunk.at(at - 1).isLetterOrNumber()) {
        const int dot = int(chunk.indexOf(QLatin1Char('.'), at + 1));
        if (dot > at + 1 && dot + 1 < chunk.size() && chunk.at(dot + 1).isLetterOrNumber()) {
            return true;
        }
    }
    for (int i = 1; i + 1 < chunk.size(); ++i) {
        if (chunk.at(i) == QLatin1Char('.') && chunk.at(i - 1).isLetterOrNumber() &&
            chunk.at(i + 1).isLetterOrNumber()) {
            return true;
        }
    }
    return false;
}

// Whether the characters [start, end) make a word the dictionary is asked
// about (see the header: no digits, not all capitals, not too long, no
// letter of another script).
bool isCheckable(const QString& text, int start, int end, QChar::Script script) {
    if (end - start > kMaxWordLength) {
        return false;
    }
    int letters = 0;
    bool allUpper = true;
    for (int i = start; i < end;) {
        int units = 1;
        const char32_t cp = codePointAt(text, i, &units);
        i += units;
        if (QChar::isNumber(cp)) {
            return false;
        }
        if (!QChar::isLetter(cp)) {
            continue;
        }
        ++letters;
        allUpper = allUpper && (QChar::isUpper(cp) || QChar::isTitleCase(cp));
        const QChar::Script own = QChar::script(cp);
        if (script != QChar::Script_Unknown && own != script && own != QChar::Script_Common &&
            own != QChar::Script_Inherited) {
            return false;
        }
    }
    return letters > 0 && !(allUpper && letters >= 2);
}

CheckWord makeWord(const QString& text, int start, int end) {
    return CheckWord{start, end - start, dictionaryForm(text.mid(start, end - start))};
}

// Finds the words of the chunk [from, to) and appends those to check.
void scanChunk(const QString& text, int from, int to, QChar::Script script,
               QList<CheckWord>& words) {
    int i = from;
    while (i < to) {
        if (!isWordAt(text, i, to)) {
            ++i;
            continue;
        }
        const int start = i;
        for (;;) {
            while (i < to) {
                int units = 1;
                if (!isWordPoint(codePointAt(text, i, &units))) {
                    break;
                }
                i += units;
            }
            if (i < to && isJoiner(text.at(i)) && isWordAt(text, i + 1, to)) {
                ++i;
                continue;
            }
            break;
        }
        if (isCheckable(text, start, i, script)) {
            words.append(makeWord(text, start, i));
        }
    }
}

}  // namespace

bool isApostrophe(QChar c) {
    return c == QLatin1Char('\'') || c.unicode() == 0x2019 || c.unicode() == 0x02BC;
}

bool isHyphen(QChar c) {
    return c == QLatin1Char('-') || c.unicode() == 0x2010 || c.unicode() == 0x2011;
}

QString dictionaryForm(const QString& word) {
    QString form = word;
    for (QChar& c : form) {
        if (isApostrophe(c)) {
            c = QLatin1Char('\'');
        } else if (isHyphen(c)) {
            c = QLatin1Char('-');
        }
    }
    return form;
}

QList<CheckWord> scanWords(const QString& paragraph, QChar::Script script) {
    QList<CheckWord> words;
    const int size = int(paragraph.size());
    int i = 0;
    while (i < size) {
        while (i < size && isBlank(paragraph.at(i))) {
            ++i;
        }
        const int from = i;
        while (i < size && !isBlank(paragraph.at(i))) {
            ++i;
        }
        if (from < i && !isAddress(paragraph, from, i)) {
            scanChunk(paragraph, from, i, script, words);
        }
    }
    return words;
}

QList<CheckWord> hyphenParts(const CheckWord& word, QChar::Script script) {
    QList<CheckWord> parts;
    const QString& form = word.word;
    int partStart = 0;
    for (int i = 0; i <= form.size(); ++i) {
        if (i < form.size() && form.at(i) != QLatin1Char('-')) {
            continue;
        }
        if (i > partStart && isCheckable(form, partStart, i, script)) {
            parts.append(CheckWord{word.start + partStart, i - partStart,
                                   form.mid(partStart, i - partStart)});
        }
        partStart = i + 1;
    }
    return parts;
}

}  // namespace quillmere::spelling
