// Automatic link detection for the entry editor. Links are a matter of the
// display only: the detector finds addresses in the text of a paragraph, and
// the highlighter draws them underlined and blue without touching the stored
// character formats, so the entry's RTF is the same with or without links.
#pragma once

#include "editor/rtf/link_text.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QUrl>

#include <functional>

class QTextDocument;

namespace quillmere {

// Draws the addresses of every paragraph as links (underlined, blue) through
// the layout's additional formats, never through the document's formats.
class UrlHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit UrlHighlighter(QTextDocument* document);

    // The look given to a detected address.
    static QTextCharFormat linkFormat();

    // Further display-only marks of a paragraph (the spelling underlines):
    // called with the paragraph and its text each time the paragraph is
    // formatted, it appends ranges in paragraph positions, drawn over the
    // links. Like the links they never enter the document's formats.
    using ExtraMarks = std::function<void(const QTextBlock& block, const QString& text,
                                          QList<QTextLayout::FormatRange>& marks)>;
    void setExtraMarks(ExtraMarks marks) { extraMarks_ = std::move(marks); }

protected:
    void highlightBlock(const QString& text) override;

private:
    ExtraMarks extraMarks_;
};

}  // namespace quillmere
