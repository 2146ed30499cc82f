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

// Paints the waves of `marks` on the lines of `layout` that reach into
// `area` (document coordinates; the layout's lines are measured only there).
void paintMarks(QPainter& painter, const QTextLayout& layout, const QPointF& origin,
                const QRectF& area, const QList<TextRange>& marks) {
    const qreal top = area.top() - layout.position().y();
    const qreal bottom = area.bottom() - layout.position().y();
    for (const TextRange& mark : marks) {
        const int from = layoutPosition(layout, mark.start);
        const int to = layoutPosition(layout, mark.start + mark.length);
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            if (line.y() + line.height() < top || line.y() > bottom) {
                continue;
            }
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

// True when the paragraphs lie one below the other in text order (no
// tables), so that they can be found by halving.
bool stacked(const QTextDocument& document) {
    return document.rootFrame()->childFrames().isEmpty();
}

// The first paragraph whose box reaches down to `top` (document
// coordinates), or with `below`, the last whose box starts at or above
// `top`, halving over the laid-out paragraphs of a stacked document.
QTextBlock blockAt(const QTextDocument& document, qreal top, bool below) {
    const QAbstractTextDocumentLayout* layout = document.documentLayout();
    int low = 0;
    int high = document.blockCount() - 1;
    while (low < high) {
        // Rounded up when looking for the last, so that the halving ends.
        const int middle = below ? low + (high - low + 1) / 2 : low + (high - low) / 2;
        const QTextBlock block = document.findBlockByNumber(middle);
        const QRectF box = laidOut(block) ? layout->blockBoundingRect(block) : QRectF();
        if (below) {
            if (laidOut(block) && box.top() <= top) {
                low = middle;
            } else {
                high = middle - 1;
            }
        } else if (laidOut(block) && box.bottom() < top) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return document.findBlockByNumber(low);
}

// The first paragraph to paint for an area starting at `top`; with tables,
// the walk starts at the top.
QTextBlock firstBlockReaching(const QTextDocument& document, qreal top) {
    return stacked(document) ? blockAt(document, top, false) : document.begin();
}

// Gives back the glyphs a paragraph kept for its marks: a layout that does
// not cache frees them after each drawing, and drawing it with a clip above
// its first line draws nothing.
void releaseGlyphs(QPainter& painter, QTextLayout& layout) {
    layout.setCacheEnabled(false);
    const QRectF nothing(0, layout.position().y() - 2, 1, 1);
    layout.draw(&painter, QPointF(), {}, nothing);
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
    // A paragraph not laid out yet is painted with its marks when it is;
    // asking for its box now would lay out the entry down to it.
    if (!underlineMarks_ || block.document() != document() || !laidOut(block)) {
        return;
    }
    const QRectF shown = document()->documentLayout()->blockBoundingRect(block).translated(
        -horizontalScrollBar()->value(), -verticalScrollBar()->value());
    viewport()->update(shown.toAlignedRect().adjusted(0, 0, 0, kUnderlineDepth));
}

std::pair<QTextBlock, QTextBlock> RichEditor::blocksInView() const {
    if (!stacked(*document())) {
        const QPoint end(viewport()->width() - 1, viewport()->height() - 1);
        const QTextBlock first = cursorForPosition(QPoint(0, 0)).block();
        const QTextBlock last = cursorForPosition(end).block();
        return {first, last.blockNumber() < first.blockNumber() ? first : last};
    }
    const qreal top = verticalScrollBar()->value();
    const QTextBlock first = blockAt(*document(), top, false);
    const QTextBlock last = blockAt(*document(), top + viewport()->height(), true);
    return {first, last.blockNumber() < first.blockNumber() ? first : last};
}

void RichEditor::paintEvent(QPaintEvent* event) {
    if (!underlineMarks_) {
        QTextEdit::paintEvent(event);
        return;
    }
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    // The painted area in document coordinates, with room for a wave.
    const QRectF area =
        QRectF(event->rect()).translated(scroll).adjusted(0, -kUnderlineDepth, 0, 0);
    const QAbstractTextDocumentLayout* documentLayout = document()->documentLayout();
    // The marked paragraphs keep the glyphs the text edit shapes to draw
    // them, so that measuring the waves' ends does not shape their lines
    // again (it would, once per end: as much as drawing the text); they give
    // them back once the waves are painted.
    QList<std::pair<QTextLayout*, QList<TextRange>>> marked;
    for (QTextBlock block = firstBlockReaching(*document(), area.top());
         block.isValid() && laidOut(block); block = block.next()) {
        const QRectF box = documentLayout->blockBoundingRect(block);
        if (box.top() > area.bottom() && stacked(*document())) {
            break;
        }
        if (!box.intersects(area)) {
            continue;
        }
        QList<TextRange> marks = underlineMarks_(block);
        if (!marks.isEmpty()) {
            marked.append({block.layout(), std::move(marks)});
            block.layout()->setCacheEnabled(true);
        }
    }
    QTextEdit::paintEvent(event);
    QPainter painter(viewport());
    painter.setPen(QPen(QColor(Qt::red), 1));
    for (const auto& [layout, marks] : marked) {
        paintMarks(painter, *layout, layout->position() - scroll, area, marks);
        releaseGlyphs(painter, *layout);
    }
}

}  // namespace quillmere
