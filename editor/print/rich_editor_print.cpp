// The editor's render call and its own print of the whole content.
//
// A call lays the characters [cpMin, cpMax) out for the target device: a
// copy of the document is cut to the range, given the device as its paint
// device (fonts and pictures take the device's resolution) and the width of
// rc. Lines are taken from the one at cpMin while they end inside rc; the
// first line that does not fit gives the returned index. The copy is kept for
// the next call, which a page loop makes from exactly that index.
#include "editor/pictures/photo_orientation.h"
#include "editor/print/entry_print.h"
#include "editor/rich_editor.h"
#include "editor/url_links.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <memory>
#include <vector>

namespace quillmere {

// Where a range is laid out on its device: resolution and rc in pixels.
struct RangeGeometry {
    int dpiX = 0;
    int dpiY = 0;
    int left = 0;
    int top = 0;
    int width = 0;   // device pixels
    int height = 0;  // device pixels
    // True when a layout for `other` serves this one: where rc sits on the
    // page does not change how its lines break.
    bool laysOutLike(const RangeGeometry& other) const {
        return dpiX == other.dpiX && dpiY == other.dpiY && width == other.width &&
               height == other.height;
    }
};

// The layout of one range for one device and width.
class FormatCache {
public:
    std::unique_ptr<QTextDocument> doc;
    const QTextDocument* source = nullptr;
    int revision = 0;
    int offset = 0;  // the editor's index of the copy's first character
    int end = 0;     // the editor's index just after the range
    RangeGeometry geometry;
};

void FormatCacheDeleter::operator()(FormatCache* cache) const {
    delete cache;
}

namespace {

// Picture sizes are kept at 96 pixels per inch; a layout on a device scales
// them by the device's vertical resolution.
constexpr qreal kPictureDpi = 96.0;
// How far the drawing clip keeps inside a page's first and last line, in
// device pixels (lines are whole pixels apart or more).
constexpr qreal kLineEdgeGap = 0.5;

int toDevice(int twips, int dpi) {
    return static_cast<int>(static_cast<qint64>(twips) * dpi / kTwipsPerInch);
}

void removeRange(QTextDocument& doc, int from, int to) {
    if (to <= from) {
        return;
    }
    QTextCursor cursor(&doc);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

// Scales pictures larger than width × height device pixels down to fit,
// keeping their proportions.
void fitPictures(QTextDocument& doc, int width, int height, int dpi) {
    struct Change {
        int position;
        int length;
        QTextImageFormat format;
    };
    std::vector<Change> changes;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) {
                continue;
            }
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const qreal w = format.width() * dpi / kPictureDpi;
            const qreal h = format.height() * dpi / kPictureDpi;
            if (w <= 0 || h <= 0 || (w <= width && h <= height)) {
                continue;
            }
            const qreal scale = std::min(width / w, height / h);
            format.setWidth(format.width() * scale);
            format.setHeight(format.height() * scale);
            changes.push_back({fragment.position(), fragment.length(), format});
        }
    }
    for (const Change& change : changes) {
        QTextCursor cursor(&doc);
        cursor.setPosition(change.position);
        cursor.setPosition(change.position + change.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(change.format);
    }
}

// Top of a line in document coordinates.
qreal lineTop(const QTextBlock& block, const QTextLine& line) {
    return block.layout()->position().y() + line.y();
}

// rc of a range in pixels of its device.
RangeGeometry geometryOf(const FormatRange& range, const QPaintDevice& target) {
    RangeGeometry g;
    g.dpiX = target.logicalDpiX();
    g.dpiY = target.logicalDpiY();
    g.left = toDevice(range.rc.left, g.dpiX);
    g.top = toDevice(range.rc.top, g.dpiY);
    g.width = std::max(1, toDevice(range.rc.right, g.dpiX) - g.left);
    g.height = std::max(1, toDevice(range.rc.bottom, g.dpiY) - g.top);
    return g;
}

// Finds the line starting at cpMin in the cached layout; false when there is
// no cache for this document, range end and geometry, or no line starts
// there.
bool cachedLineAt(const FormatCache* cache, const QTextDocument& source, int cpMin, int end,
                  const RangeGeometry& geometry, QTextBlock& block, QTextLine& line) {
    if (cache == nullptr || cache->source != &source || cache->revision != source.revision() ||
        cache->end != end || !cache->geometry.laysOutLike(geometry) || cpMin < cache->offset) {
        return false;
    }
    block = cache->doc->findBlock(cpMin - cache->offset);
    if (!block.isValid()) {
        return false;
    }
    const int inBlock = cpMin - cache->offset - block.position();
    line = block.layout()->lineForTextPosition(inBlock);
    return line.isValid() && line.textStart() == inBlock;
}

// Lays out a copy of the characters [cpMin, end) of `source` for the device.
std::unique_ptr<FormatCache> layOutRange(const QTextDocument& source, int cpMin, int end,
                                         const QPaintDevice& target, const RangeGeometry& geometry,
                                         bool links) {
    auto fresh = std::make_unique<FormatCache>();
    fresh->doc.reset(source.clone());
    QTextDocument& doc = *fresh->doc;
    doc.setUndoRedoEnabled(false);
    removeRange(doc, end, doc.characterCount() - 1);
    removeRange(doc, 0, cpMin);
    doc.setDocumentMargin(0);
    doc.documentLayout()->setPaintDevice(const_cast<QPaintDevice*>(&target));
    makePhotosUpright(doc);
    fitPictures(doc, geometry.width, geometry.height, geometry.dpiY);
    doc.setTextWidth(geometry.width);
    if (links) {
        // Links print as they are shown. The highlighter belongs to the copy.
        auto* highlighter = new UrlHighlighter(&doc);
        highlighter->rehighlight();  // all of it, before the layout
    }
    doc.documentLayout()->documentSize();  // the whole layout, now
    fresh->source = &source;
    fresh->revision = source.revision();
    fresh->offset = cpMin;
    fresh->end = end;
    fresh->geometry = geometry;
    return fresh;
}

// Takes lines from `line` on while they end inside `height`; the first
// always. Returns the editor's index of the first line left out (`end` when
// none is) and sets `bottom` to the lowest line bottom taken.
int takeLines(const FormatCache& cache, const QTextBlock& block, const QTextLine& line, int end,
              int height, qreal& bottom) {
    const qreal y0 = lineTop(block, line);
    bool first = true;
    for (QTextBlock b = block; b.isValid(); b = b.next()) {
        QTextLayout* layout = b.layout();
        for (int i = (b == block ? line.lineNumber() : 0); i < layout->lineCount(); ++i) {
            const QTextLine l = layout->lineAt(i);
            const qreal lineBottom = lineTop(b, l) + l.height();
            if (!first && lineBottom - y0 > height) {
                return cache.offset + b.position() + l.textStart();
            }
            bottom = std::max(bottom, lineBottom);
            first = false;
        }
    }
    return end;
}

// The clip that takes exactly the lines from `top` to `bottom`: the layout
// draws every line that touches its clip, so one exactly at the edge (the
// previous page's last line, the next page's first, a photo there) would be
// drawn too, hidden by the painter's clip but still in a PDF. The clip keeps
// clear of both edges.
QRectF linesClip(qreal width, qreal top, qreal bottom) {
    return QRectF(0, top + kLineEdgeGap, width,
                  std::max<qreal>(0, bottom - top - 2 * kLineEdgeGap));
}

// Draws the lines from y0 (the top of `line` in `block`) to bottom of the
// layout into rc, and nothing else of it.
void drawLines(QPainter& painter, const FormatRange& range, const FormatCache& cache,
               const RangeGeometry& g, const QTextBlock& block, const QTextLine& line, qreal y0,
               qreal bottom) {
    painter.save();
    const int pageLeft = toDevice(range.rcPage.left, g.dpiX);
    const int pageTop = toDevice(range.rcPage.top, g.dpiY);
    const QRect page(pageLeft, pageTop, toDevice(range.rcPage.right, g.dpiX) - pageLeft,
                     toDevice(range.rcPage.bottom, g.dpiY) - pageTop);
    // Whole lines only, over the page's width (italics may lean past rc).
    QRectF clip(page.left(), g.top, page.width(), bottom - y0);
    if (!page.isEmpty()) {
        clip = clip.intersected(page);
    }
    painter.setClipRect(clip, Qt::IntersectClip);
    painter.translate(g.left, g.top - y0);
    qreal restTop = y0;
    // A page that starts inside a paragraph draws that paragraph's lines
    // itself, one by one: the layout would draw its bullet or number once
    // more, at its first line on the page before, and with it the line just
    // above the page.
    if (line.lineNumber() > 0 && QTextCursor(block).currentFrame() == cache.doc->rootFrame()) {
        painter.setPen(Qt::black);
        QTextLayout* layout = block.layout();
        for (int i = line.lineNumber(); i < layout->lineCount(); ++i) {
            const QTextLine l = layout->lineAt(i);
            restTop = lineTop(block, l) + l.height();
            if (restTop > bottom) {
                break;
            }
            l.draw(&painter, layout->position());
        }
    }
    if (restTop < bottom) {
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = linesClip(g.width, restTop, bottom);
        context.palette.setColor(QPalette::Text, Qt::black);
        cache.doc->documentLayout()->draw(&painter, context);
    }
    painter.restore();
}

}  // namespace

int RichEditor::renderLength() const {
    return std::max(0, document()->characterCount() - 1);
}

void RichEditor::releaseFormatRange() {
    formatCache_.reset();
}

int RichEditor::formatRange(bool render, const FormatRange& range) {
    const int length = renderLength();
    const int cpMin = std::clamp(range.cpMin, 0, length);
    const int end = (range.cpMax < 0 || range.cpMax > length) ? length : range.cpMax;
    const QPaintDevice* target = range.target != nullptr
                                     ? range.target
                                     : (range.render != nullptr ? range.render->device() : nullptr);
    if (cpMin >= end || target == nullptr || target->logicalDpiX() <= 0 ||
        target->logicalDpiY() <= 0) {
        return cpMin;
    }
    const RangeGeometry geometry = geometryOf(range, *target);

    // The line at cpMin, in the cached layout when it has one starting there.
    QTextBlock block;
    QTextLine line;
    if (!cachedLineAt(formatCache_.get(), *document(), cpMin, end, geometry, block, line)) {
        formatCache_.reset(
            layOutRange(*document(), cpMin, end, *target, geometry, urlDetection_).release());
        block = formatCache_->doc->begin();
        line = block.layout()->lineAt(0);
    }
    const qreal y0 = lineTop(block, line);
    qreal bottom = y0;
    const int next = takeLines(*formatCache_, block, line, end, geometry.height, bottom);
    if (render && range.render != nullptr) {
        drawLines(*range.render, range, *formatCache_, geometry, block, line, y0, bottom);
    }
    return next;
}

void RichEditor::print(PrintDevice& device, const QString& title) {
    device.setDocumentTitle(title);
    device.beginDocument();
    // Whatever happens from here, the document ends, the painter's mapping
    // comes back and the layout is dropped.
    struct Finish {
        RichEditor& editor;
        PrintDevice& device;
        bool painterSaved = false;
        ~Finish() {
            if (painterSaved) {
                device.painter().restore();
            }
            editor.releaseFormatRange();
            if (device.printing()) {
                device.endDocument();
            }
        }
    } finish{*this, device};

    const QPaintDevice& page = device.device();
    const int dpiX = page.logicalDpiX();
    const int dpiY = page.logicalDpiY();
    PageRect rc = toTwips(printRectangle_, dpiX, dpiY);
    if (printRectangle_.isEmpty()) {
        rc = {0, 0, page.width() * kTwipsPerInch / dpiX, page.height() * kTwipsPerInch / dpiY};
    }
    const PageRect rcPage = rc;
    const int length = renderLength();

    // One device unit per logical unit, and a fresh layout.
    QPainter& painter = device.painter();
    painter.save();
    finish.painterSaved = true;
    painter.resetTransform();
    releaseFormatRange();

    FormatRange range{&painter, &page, rc, rcPage, 0, -1};
    int last = 0;
    do {
        const int from = last;
        range.rc = rc;
        range.cpMin = last;
        range.cpMax = -1;
        last = formatRange(true, range);
        if (last <= from) {
            break;  // the device takes no text at all (never for a printer)
        }
        if (last < length && last != -1) {
            device.newPage();
        }
    } while (last < length && last != -1);
}

}  // namespace quillmere
