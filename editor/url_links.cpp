#include "editor/url_links.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace quillmere {

namespace {

// How long one slice may draw before the window gets its events again.
constexpr qint64 kSliceMilliseconds = 8;
// A change adding at most this many characters is drawn at once; a larger
// one (a day shown, a long paste) is drawn in slices.
constexpr int kDrawAtOnce = 16 * 1024;

// Later ranges replace earlier ones where they overlap, as a highlighter's
// formats do: the ranges become runs that do not overlap.
QList<QTextLayout::FormatRange> flatten(const QList<QTextLayout::FormatRange>& wanted,
                                        qsizetype length) {
    if (wanted.size() < 2) {
        return wanted;
    }
    std::vector<int> owner(size_t(length), -1);
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const qsizetype start = std::clamp<qsizetype>(wanted[i].start, 0, length);
        const qsizetype end = std::clamp<qsizetype>(wanted[i].start + wanted[i].length, 0, length);
        std::fill(owner.begin() + start, owner.begin() + end, int(i));
    }
    QList<QTextLayout::FormatRange> runs;
    for (qsizetype at = 0; at < length;) {
        qsizetype end = at + 1;
        while (end < length && owner[size_t(end)] == owner[size_t(at)]) {
            ++end;
        }
        if (owner[size_t(at)] >= 0) {
            runs.append({int(at), int(end - at), wanted[owner[size_t(at)]].format});
        }
        at = end;
    }
    return runs;
}

// The marks moved past the input method's text being composed, which the
// layout holds inside the paragraph's text.
QList<QTextLayout::FormatRange> aroundPreedit(const QList<QTextLayout::FormatRange>& ranges,
                                              int preeditStart, int preeditLength) {
    if (preeditLength == 0) {
        return ranges;
    }
    QList<QTextLayout::FormatRange> moved;
    for (QTextLayout::FormatRange range : ranges) {
        if (range.start >= preeditStart) {
            range.start += preeditLength;
        } else if (range.start + range.length > preeditStart) {
            QTextLayout::FormatRange after = range;
            after.start = preeditStart + preeditLength;
            after.length = range.start + range.length - preeditStart;
            range.length = preeditStart - range.start;
            moved.append(range);
            range = after;
        }
        moved.append(range);
    }
    return moved;
}

// The input method's own formats of the text being composed.
QList<QTextLayout::FormatRange> preeditFormats(const QTextLayout& layout) {
    const int start = layout.preeditAreaPosition();
    const int length = int(layout.preeditAreaText().size());
    QList<QTextLayout::FormatRange> kept;
    if (length == 0) {
        return kept;
    }
    for (const QTextLayout::FormatRange& range : layout.formats()) {
        if (range.start >= start && range.start + range.length <= start + length) {
            kept.append(range);
        }
    }
    return kept;
}

}  // namespace

UrlHighlighter::UrlHighlighter(QTextDocument* document) : QObject(document) {
    slices_.setInterval(0);
    connect(&slices_, &QTimer::timeout, this, &UrlHighlighter::drawSlice);
    setDocument(document);
}

QTextCharFormat UrlHighlighter::linkFormat() {
    QTextCharFormat format;
    format.setFontUnderline(true);
    format.setForeground(QColor(0x00, 0x00, 0xFF));
    return format;
}

void UrlHighlighter::setDocument(QTextDocument* document) {
    if (document_) {
        disconnect(document_, nullptr, this, nullptr);
        clearMarks();
    }
    document_ = document;
    slices_.stop();
    next_ = -1;
    visibleDrawn_ = -1;
    if (document_ == nullptr) {
        return;
    }
    connect(document_, &QTextDocument::contentsChange, this, &UrlHighlighter::contentsChanged);
    if (!document_->isEmpty()) {
        next_ = 0;
        slices_.start();
    }
}

void UrlHighlighter::rehighlightBlock(const QTextBlock& block) {
    if (document_ && block.isValid() && block.document() == document_) {
        drawRange(block.position(), block.position());
    }
}

void UrlHighlighter::rehighlight() {
    if (!document_) {
        return;
    }
    slices_.stop();
    next_ = -1;
    drawRange(0, document_->characterCount());
}

void UrlHighlighter::contentsChanged(int from, int removed, int added) {
    if (drawing_) {
        return;
    }
    // The slices go on where they were, in the text as it is now.
    if (next_ > from) {
        next_ = std::max(from, next_ + added - removed);
    }
    if (added <= kDrawAtOnce) {
        drawRange(from, from + added);
        return;
    }
    next_ = next_ < 0 ? from : std::min(next_, from);
    visibleDrawn_ = -1;
    drawVisibleAhead();
    slices_.start();
}

void UrlHighlighter::drawSlice() {
    if (!document_ || next_ < 0) {
        slices_.stop();
        next_ = -1;
        return;
    }
    QElapsedTimer clock;
    clock.start();
    drawVisibleAhead();
    drawing_ = true;
    QTextBlock block = document_->findBlock(next_);
    while (block.isValid() && clock.elapsed() < kSliceMilliseconds) {
        draw(block);
        block = block.next();
    }
    next_ = block.isValid() ? block.position() : -1;
    drawing_ = false;
    if (next_ < 0) {
        slices_.stop();
    }
}

void UrlHighlighter::drawVisibleAhead() {
    if (!visible_ || next_ < 0) {
        return;
    }
    const auto [first, last] = visible_();
    // Everything before the slices' position is drawn already.
    if (first == visibleDrawn_ || last < next_) {
        return;
    }
    visibleDrawn_ = first;
    drawRange(std::max(first, next_), last);
}

void UrlHighlighter::drawRange(int from, int to) {
    drawing_ = true;
    for (QTextBlock block = document_->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        draw(block);
    }
    drawing_ = false;
}

void UrlHighlighter::draw(const QTextBlock& block) {
    QTextLayout* layout = block.layout();
    if (layout == nullptr) {
        return;
    }
    const QString text = block.text();
    QList<QTextLayout::FormatRange> wanted;
    const QTextCharFormat link = linkFormat();
    for (const UrlSpan& span : detectUrls(text)) {
        wanted.append({span.start, span.length, link});
    }
    if (extraMarks_) {
        extraMarks_(block, text, wanted);
    }
    QList<QTextLayout::FormatRange> ranges =
        aroundPreedit(flatten(wanted, text.size()), layout->preeditAreaPosition(),
                      int(layout->preeditAreaText().size()));
    ranges += preeditFormats(*layout);
    if (ranges == layout->formats()) {
        return;
    }
    // Laid out again, without an edit of the document: no change of its
    // text is told, and the undo history is not touched.
    layout->setFormats(ranges);
    document_->markContentsDirty(block.position(), block.length());
}

void UrlHighlighter::clearMarks() {
    drawing_ = true;
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
        QTextLayout* layout = block.layout();
        if (layout == nullptr || layout->formats().isEmpty()) {
            continue;
        }
        layout->setFormats(preeditFormats(*layout));
        document_->markContentsDirty(block.position(), block.length());
    }
    drawing_ = false;
}

}  // namespace quillmere
