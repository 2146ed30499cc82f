#include "editor/spelling/word_replacement.h"

#include "spelling/word_scanner.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace quillmere {

int replaceWord(QTextDocument& document, int start, int length, const QString& replacement) {
    const int last = std::max(0, document.characterCount() - 1);
    start = std::clamp(start, 0, last);
    length = std::clamp(length, 0, last - start);

    QTextCursor range(&document);
    range.setPosition(start);
    range.setPosition(start + length, QTextCursor::KeepAnchor);
    const QString old = range.selectedText();

    int head = 0;
    const int shorter = int(std::min(old.size(), replacement.size()));
    while (head < shorter && old.at(head) == replacement.at(head)) {
        ++head;
    }
    int tail = 0;
    while (tail < shorter - head &&
           old.at(old.size() - 1 - tail) == replacement.at(replacement.size() - 1 - tail)) {
        ++tail;
    }
    const int from = start + head;
    const int to = start + length - tail;
    const QString middle = replacement.mid(head, replacement.size() - head - tail);

    // The format of the first character replaced: a cursor just after a
    // character reports that character's format.
    QTextCursor probe(&document);
    probe.setPosition(to > from ? from + 1 : from);
    const QTextCharFormat format = probe.charFormat();

    QTextCursor edit(&document);
    edit.beginEditBlock();
    edit.setPosition(from);
    edit.setPosition(to, QTextCursor::KeepAnchor);
    edit.insertText(middle, format);
    edit.endEditBlock();
    return from + int(middle.size()) + tail;
}

QString withApostrophesOf(const QString& word, const QString& suggestion) {
    QChar apostrophe;
    for (const QChar c : word) {
        if (spelling::isApostrophe(c) && c != QLatin1Char('\'')) {
            apostrophe = c;
            break;
        }
    }
    if (apostrophe.isNull()) {
        return suggestion;
    }
    QString written = suggestion;
    written.replace(QLatin1Char('\''), apostrophe);
    return written;
}

}  // namespace quillmere
