// Automatic link detection for the entry editor. Links are a matter of the
// display only: the detector finds addresses in the text of a paragraph, and
// the highlighter draws them underlined and blue without touching the stored
// character formats, so the entry's RTF is the same with or without links.
#pragma once

#include "editor/rtf/link_text.h"

#include <QObject>
#include <QPointer>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <utility>

class QTextBlock;
class QTextDocument;

namespace quillmere {

// Draws the addresses of every paragraph as links (underlined, blue) through
// the layout's additional formats, never through the document's formats.
// An edited paragraph is drawn at once. A whole document (a day shown, a
// large paste, the detection turned on) is drawn in slices of a few
// milliseconds from the event loop, the visible paragraphs first, so a long
// entry never holds the window up; its links appear within moments.
class UrlHighlighter : public QObject {
    Q_OBJECT
public:
    // Draws on `document` (may be null), and is owned by it when it is one.
    explicit UrlHighlighter(QTextDocument* document);

    // Draws on `document` from now on (null: on none). The marks drawn on the
    // previous document are taken away.
    void setDocument(QTextDocument* document);
    QTextDocument* document() const { return document_; }

    // The look given to a detected address.
    static QTextCharFormat linkFormat();

    // Further display-only marks of a paragraph (the spelling underlines):
    // called with the paragraph and its text each time the paragraph is
    // drawn, it appends ranges in paragraph positions, drawn over the links.
    // Like the links they never enter the document's formats.
    using ExtraMarks = std::function<void(const QTextBlock& block, const QString& text,
                                          QList<QTextLayout::FormatRange>& marks)>;
    void setExtraMarks(ExtraMarks marks) { extraMarks_ = std::move(marks); }

    // The document positions in view (first, last), drawn before the rest.
    // Without it the slices start at the document's start.
    using VisibleRange = std::function<std::pair<int, int>()>;
    void setVisibleRange(VisibleRange visible) { visible_ = std::move(visible); }

    // Draws one paragraph now.
    void rehighlightBlock(const QTextBlock& block);
    // Draws every paragraph now (a copy of the document being printed).
    void rehighlight();
    // True while paragraphs wait for their slice.
    bool pending() const { return next_ >= 0; }

private:
    void contentsChanged(int from, int removed, int added);
    // Draws the paragraphs from position `next_` on, for at most one slice.
    void drawSlice();
    // Draws the paragraphs in view when they lie where the slices have not
    // been yet.
    void drawVisibleAhead();
    void drawRange(int from, int to);
    void draw(const QTextBlock& block);
    void clearMarks();

    QPointer<QTextDocument> document_;
    ExtraMarks extraMarks_;
    VisibleRange visible_;
    QTimer slices_;
    // The position the slices go on from; -1 when every paragraph is drawn.
    int next_ = -1;
    // The first visible position last drawn ahead of the slices.
    int visibleDrawn_ = -1;
    // Set while marks are applied: the document's change signals they raise
    // are not edits.
    bool drawing_ = false;
};

}  // namespace quillmere
