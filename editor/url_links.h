// Automatic link detection for the entry editor. Links are a matter of the
// display only: the detector finds addresses in the text of a paragraph, and
// the highlighter draws them underlined and blue without touching the stored
// character formats, so the entry's RTF is the same with or without links.
#pragma once

#include <QList>
#include <QString>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QTextDocument;

namespace quillmere {

// One detected address inside a paragraph: the characters [start, start + length).
struct UrlSpan {
    int start = 0;
    int length = 0;
    bool operator==(const UrlSpan&) const = default;
};

// Finds the addresses in one paragraph's text. An address starts with one of
// "file:", "http:", "https:", "ftp:", "mailto:" or "www." (any letter case) at
// the start of the text or after a character that is neither a letter nor a
// digit, holds at least one character after that prefix, and ends at the
// first blank (any white space, line or paragraph break) or embedded object.
// Spans come in text order and never overlap. Never throws.
QList<UrlSpan> detectUrls(const QString& text);

// Draws the addresses of every paragraph as links (underlined, blue) through
// the layout's additional formats, never through the document's formats.
class UrlHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit UrlHighlighter(QTextDocument* document);

    // The look given to a detected address.
    static QTextCharFormat linkFormat();

protected:
    void highlightBlock(const QString& text) override;
};

}  // namespace quillmere
