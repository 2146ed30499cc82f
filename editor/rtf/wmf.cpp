#include "editor/rtf/wmf.h"

#include "editor/rtf/dib.h"
#include "editor/rtf/picture.h"
#include "store/coding.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace quillmere::rtf {
namespace {

constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kMaxRecords = 1 << 20;

struct Copy {
    QImage source;
    QRect from;
    QRect to;
};

QRect dibSource(const QImage& image, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) {
        return image.rect();
    }
    return QRect(x, image.height() - y - h, w, h).intersected(image.rect());
}

// Reads one DIB copy record starting at `at` (`size` bytes).
bool readCopy(LeReader& in, std::uint16_t function, std::size_t at, std::size_t size, Copy& copy) {
    std::size_t dibAt = 0;
    int srcW = 0, srcH = 0, srcX = 0, srcY = 0, w = 0, h = 0, x = 0, y = 0;
    if (function == kMetaDibStretchBlt) {
        srcH = in.i16(at + 10), srcW = in.i16(at + 12), srcY = in.i16(at + 14),
        srcX = in.i16(at + 16);
        h = in.i16(at + 18), w = in.i16(at + 20), y = in.i16(at + 22), x = in.i16(at + 24);
        dibAt = 26;
    } else if (function == kMetaStretchDib) {
        srcH = in.i16(at + 12), srcW = in.i16(at + 14), srcY = in.i16(at + 16),
        srcX = in.i16(at + 18);
        h = in.i16(at + 20), w = in.i16(at + 22), y = in.i16(at + 24), x = in.i16(at + 26);
        dibAt = 28;
    } else if (function == kMetaDibBitBlt) {
        srcY = in.i16(at + 10), srcX = in.i16(at + 12), h = in.i16(at + 14), w = in.i16(at + 16);
        y = in.i16(at + 18), x = in.i16(at + 20);
        srcW = w, srcH = h;
        dibAt = 22;
    } else {
        return false;
    }
    if (in.failed() || dibAt >= size) {
        return false;
    }
    copy.source = decodePackedDib(
        QByteArray::fromRawData(in.at(at + dibAt), static_cast<qsizetype>(size - dibAt)));
    if (copy.source.isNull()) {
        return false;
    }
    copy.source = copy.source.copy();  // detach from the metafile's bytes
    copy.from = dibSource(copy.source, srcX, srcY, srcW, srcH);
    copy.to = QRect(x, y, w, h).normalized();
    return !copy.from.isEmpty() && !copy.to.isEmpty();
}

}  // namespace

QImage readBitmapWmf(const QByteArray& wmf) {
    LeReader in(wmf);
    std::size_t at = in.u32(0) == kWmfPlaceableKey ? kPlaceableSize : 0;
    QRect window;
    if (at == kPlaceableSize) {
        window = QRect(QPoint(in.i16(6), in.i16(8)), QPoint(in.i16(10) - 1, in.i16(12) - 1));
    }
    std::uint16_t headerWords = in.u16(at + 2);
    if (in.failed() || headerWords < 9) {
        return {};
    }
    at += static_cast<std::size_t>(headerWords) * 2;
    QPoint origin = window.topLeft();
    QSize extent = window.size();
    std::vector<Copy> copies;
    for (std::size_t n = 0; n < kMaxRecords && in.has(at, 6); ++n) {
        std::size_t size = static_cast<std::size_t>(in.u32(at)) * 2;
        std::uint16_t function = in.u16(at + 4);
        if (function == kMetaEof || size < 6 || !in.has(at, size)) {
            break;
        }
        if (function == kMetaSetWindowOrg) {
            origin = QPoint(in.i16(at + 8), in.i16(at + 6));
        } else if (function == kMetaSetWindowExt) {
            extent = QSize(std::abs(in.i16(at + 8)), std::abs(in.i16(at + 6)));
        } else {
            Copy copy;
            if (readCopy(in, function, at, size, copy)) {
                copies.push_back(std::move(copy));
            }
        }
        at += size;
    }
    if (copies.empty()) {
        return {};
    }
    QRect area(origin, extent);
    if (area.isEmpty()) {
        area = QRect();
        for (const Copy& copy : copies) {
            area = area.united(copy.to);
        }
    }
    double scale = std::min(
        {1.0, double(kMaxShownSide) / area.width(), double(kMaxShownSide) / area.height()});
    QImage canvas(std::max(1, int(area.width() * scale)), std::max(1, int(area.height() * scale)),
                  QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.scale(scale, scale);
    painter.translate(-area.topLeft());
    for (const Copy& copy : copies) {
        painter.drawImage(copy.to, copy.source, copy.from);
    }
    painter.end();
    return canvas;
}

}  // namespace quillmere::rtf
