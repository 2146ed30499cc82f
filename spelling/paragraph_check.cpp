#include "spelling/paragraph_check.h"

#include "spelling/word_scanner.h"

namespace quillmere::spelling {

QList<Misspelling> findMisspellings(const QString& paragraph, QChar::Script script,
                                    const WordJudge& isCorrect) {
    QList<Misspelling> misspelt;
    for (const CheckWord& word : scanWords(paragraph, script)) {
        if (isCorrect(word.word)) {
            continue;
        }
        if (!word.word.contains(QLatin1Char('-'))) {
            misspelt.append({word.start, word.length, word.word});
            continue;
        }
        for (const CheckWord& part : hyphenParts(word, script)) {
            if (!isCorrect(part.word)) {
                misspelt.append({part.start, part.length, part.word});
            }
        }
    }
    return misspelt;
}

}  // namespace quillmere::spelling
