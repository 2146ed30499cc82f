// The words of a paragraph as a writer means them, for the spell checker.
//
// A paragraph is cut into chunks at blanks (any white space, and the
// character an embedded picture stands on). A chunk that is an address is
// left alone whole: one that holds "://", starts with "www.", "file:",
// "mailto:", "http:", "https:" or "ftp:", holds an "@" between a letter or
// digit and a later dot (an e-mail address), or has a dot between two
// letters or digits ("example.com", "notes.txt"), after opening and closing
// punctuation is taken off its ends.
//
// Inside the other chunks a word is a run of letters, combining marks and
// digits, joined by an apostrophe (' U+0027, ’ U+2019, ʼ U+02BC) or a hyphen
// (- U+002D, ‐ U+2010, ‑ U+2011) standing between two of them: "isn't",
// "don’t", "well-known" are one word each, the quotes of 'hello' are not part
// of it. These words are left alone: words holding a digit ("3rd", "mp3"),
// words of two or more letters all in capitals ("NASA"), words longer than
// kMaxWordLength, and words with a letter of a script other than the
// dictionary's (a Greek word with an English dictionary).
#pragma once

#include <QChar>
#include <QList>
#include <QString>

namespace quillmere::spelling {

// Longer words are left alone (Hunspell judges at most 100 characters).
inline constexpr int kMaxWordLength = 100;

// One word to check: the characters [start, start + length) of the paragraph
// and the form the dictionary is asked about (every apostrophe straight).
struct CheckWord {
    int start = 0;
    int length = 0;
    QString word;
    bool operator==(const CheckWord&) const = default;
};

// The words of `paragraph` to check, in text order. `script` is the
// dictionary's writing system; QChar::Script_Unknown accepts every script.
// Never throws (beyond allocation).
QList<CheckWord> scanWords(const QString& paragraph, QChar::Script script);

// The parts of a hyphenated word (word.word holds a hyphen) that are to be
// checked on their own, by the same rules as whole words: "NATO-led" gives
// "led" only. Positions are those of the paragraph.
QList<CheckWord> hyphenParts(const CheckWord& word, QChar::Script script);

// The dictionary form of a word: every apostrophe made straight.
QString dictionaryForm(const QString& word);

// True for the apostrophes and hyphens that may join the parts of a word.
bool isApostrophe(QChar c);
bool isHyphen(QChar c);

}  // namespace quillmere::spelling
