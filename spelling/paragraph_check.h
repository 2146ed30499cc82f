// The misspelt words of one paragraph.
#pragma once

#include <QChar>
#include <QList>
#include <QString>

#include <functional>

namespace quillmere::spelling {

// A misspelt word: the characters [start, start + length) of the paragraph
// and its dictionary form (the word "Add to Dictionary" and "Ignore All"
// act on).
struct Misspelling {
    int start = 0;
    int length = 0;
    QString word;
    bool operator==(const Misspelling&) const = default;
};

// Answers whether a word in dictionary form is spelt right.
using WordJudge = std::function<bool(const QString& word)>;

// The misspelt words of `paragraph` in text order, of the words scanWords
// finds for `script`. A hyphenated word is right when the judge accepts it
// whole; otherwise each of its parts is judged on its own and only the wrong
// parts are misspelt ("well-knwon" marks "knwon"). Throws only what the
// judge throws.
QList<Misspelling> findMisspellings(const QString& paragraph, QChar::Script script,
                                    const WordJudge& isCorrect);

}  // namespace quillmere::spelling
