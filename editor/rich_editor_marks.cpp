// The editor's display-only underlines (the spelling's marks): painted over
// the laid-out text after it is drawn, so they never enter the document,
// its layout or anything made from them, and a paragraph laid out again
// while typing costs what it costs without them.
#include "editor/rich_editor.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace quillmere {

namespace {

// The wave: up and down every two pixels, two pixels high, from one pixel
// under the baseline, in red, as a desktop's spell-check line.
constexpr qreal kWaveStep = 2;
constexpr qreal kWaveHeight = 2;
constexpr qreal kWaveGap = 1;
// How far under the paragraph's lines a wave may reach.
constexpr int kUnderlineDepth = 4;

void paintWave(QPainter& painter, qreal left, qreal right, qreal top) {
    QPolygonF wave;
    bool up = false;
    for (qreal x = left; x < right; x += kWaveStep) {
        wave << QPointF(x, up ? top : top + kWaveHeight);
        up = !up;
    }
    wave << QPointF(right, up ? top : top + kWaveHeight);
    painter.drawPolyline(wave);
}

// A paragraph position as the layout counts it: text being composed by an
// input method sits inside the layout's text.
int layoutPosition(const QTextLayout& layout, int position) {
    const int composing = int(layout.preeditAreaText().size());
    return composing > 0 && position >= layout.preeditAreaPosition() ? position + composing
                                                                     : position;
}

void paintMarks(QPainter& painter, const QTextLayout& layout, const QPointF& origin,
                const QList<TextRange>& marks) {
    for (const TextRange& mark : marks) {
        const int from = layoutPosition(layout, mark.start);
        const int to = layoutPosition(layout, mark.start + mark.length);
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            const int start = std::max(from, line.textStart());
            const int end = std::min(to, line.textStart() + line.textLength());
            if (start >= end) {
                continue;
            }
            const qreal a = line.cursorToX(start);
            const qreal b = line.cursorToX(end);
            paintWave(painter, origin.x() + std::min(a, b), origin.x() + std::max(a, b),
                      origin.y() + line.y() + line.ascent() + kWaveGap);
        }
    }
}

// True once the paragraph has been laid out. The document is laid out from
// the top, a long one bit by bit after it is shown; asking for the box of a
// paragraph further down would lay out everything before it first.
bool laidOut(const QTextBlock& block) {
    return block.layout() != nullptr && block.layout()->lineCount() > 0;
}

// The first paragraph whose box reaches down to `top` (document
// coordinates). Paragraphs of a document without tables lie one below the
// other and are found by halving over those laid out; with tables the walk
// starts at the top.
QTextBlock firstBlockReaching(const QTextDocument& document, qreal top) {
    if (!document.rootFrame()->childFrames().isEmpty()) {
        return document.begin();
    }
    const QAbstractTextDocumentLayout* layout = document.documentLayout();
    int low = 0;
    int high = document.blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const QTextBlock block = document.findBlockByNumber(middle);
        if (laidOut(block) && layout->blockBoundingRect(block).bottom() < top) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return document.findBlockByNumber(low);
}

}  // namespace

void RichEditor::setUnderlineMarks(UnderlineMarks marks) {
    underlineMarks_ = std::move(marks);
    viewport()->update();
}

void RichEditor::refreshMarks(const QTextBlock& block) {
    if (block.document() != document()) {
        return;
    }
    highlighter_->rehighlightBlock(block);
    repaintMarks(block);
}

void RichEditor::repaintMarks(const QTextBlock& block) {
    if (!underlineMarks_ || block.document() != document()) {
        return;
    }
    const QRectF shown = document()->documentLayout()->blockBoundingRect(block).translated(
        -horizontalScrollBar()->value(), -verticalScrollBar()->value());
    viewport()->update(shown.toAlignedRect().adjusted(0, 0, 0, kUnderlineDepth));
}

void RichEditor::paintEvent(QPaintEvent* event) {
    QTextEdit::paintEvent(event);
    if (!underlineMarks_) {
        return;
    }
    QPainter painter(viewport());
    painter.setPen(QPen(QColor(Qt::red), 1));
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    // The painted area in document coordinates, with room for a wave.
    const QRectF area =
        QRectF(event->rect()).translated(scroll).adjusted(0, -kUnderlineDepth, 0, 0);
    const QAbstractTextDocumentLayout* documentLayout = document()->documentLayout();
    for (QTextBlock block = firstBlockReaching(*document(), area.top());
         block.isValid() && laidOut(block); block = block.next()) {
        const QRectF box = documentLayout->blockBoundingRect(block);
        if (box.top() > area.bottom() && document()->rootFrame()->childFrames().isEmpty()) {
            break;
        }
        const QTextLayout* layout = block.layout();
        if (!box.intersects(area)) {
            continue;
        }
        const QList<TextRange> marks = underlineMarks_(block);
        if (!marks.isEmpty()) {
            paintMarks(painter, *layout, layout->position() - scroll, marks);
        }
    }
}

}  // namespace quillmere
