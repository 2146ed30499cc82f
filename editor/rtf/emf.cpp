#include "editor/rtf/emf.h"

#include "editor/rtf/dib.h"
#include "editor/rtf/picture.h"
#include "store/coding.h"

#include <QPainter>

#include <algorithm>

namespace quillmere::rtf {
namespace {

constexpr std::uint32_t kHeaderSize = 108;
constexpr std::uint32_t kStretchDiBitsSize = 80;
constexpr std::uint32_t kEofSize = 20;
constexpr std::uint32_t kEmfVersion = 0x10000;
// The reference device: 1024 x 768 pixels at 96 dpi.
constexpr int kDeviceWidth = 1024;
constexpr int kDeviceHeight = 768;
constexpr int kDeviceWidthMm = 271;
constexpr int kDeviceHeightMm = 203;
constexpr int kDeviceWidthUm = 270933;
constexpr int kDeviceHeightUm = 203200;
constexpr std::size_t kMaxRecords = 1 << 20;

int himetric(int pixels) {
    return static_cast<int>((pixels * 2540LL + 48) / 96);
}

void putRect(QByteArray& out, int left, int top, int right, int bottom) {
    PutFixed32(&out, static_cast<std::uint32_t>(left));
    PutFixed32(&out, static_cast<std::uint32_t>(top));
    PutFixed32(&out, static_cast<std::uint32_t>(right));
    PutFixed32(&out, static_cast<std::uint32_t>(bottom));
}

// A bitmap copy found in a record: the source bitmap and where it goes.
struct BitmapCopy {
    QImage source;
    QRect from;
    QRect to;
};

// Decodes the DIB a record carries at offBmi/cbBmi/offBits/cbBits.
QImage recordDib(LeReader& in, std::size_t record, std::size_t size, std::size_t fields) {
    std::uint32_t offBmi = in.u32(record + fields);
    std::uint32_t cbBmi = in.u32(record + fields + 4);
    std::uint32_t offBits = in.u32(record + fields + 8);
    std::uint32_t cbBits = in.u32(record + fields + 12);
    if (in.failed() || cbBmi == 0 || offBmi > size || cbBmi > size - offBmi || offBits > size ||
        cbBits > size - offBits) {
        return {};
    }
    return decodeDib(in.at(record + offBmi), cbBmi, in.at(record + offBits), cbBits);
}

// Record coordinates beyond this are refused: a rectangle built from them,
// its width and its height then all stay well inside int.
constexpr long long kMaxCoordinate = 1 << 28;

// The rectangle x, y, w, h of a record's values, computed in 64 bits; an
// invalid rectangle when a corner or a side lies beyond kMaxCoordinate.
QRect checkedRect(long long x, long long y, long long w, long long h) {
    const auto fits = [](long long v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; };
    if (!fits(x) || !fits(y) || !fits(w) || !fits(h) || !fits(x + w) || !fits(y + h)) {
        return {};
    }
    return QRect(int(x), int(y), int(w), int(h));
}

// The rectangle of a source bitmap named by x, y, width, height; `bottomUp`
// when y counts from the bitmap's lower edge (the DIB calls).
QRect sourceRect(const QImage& image, int x, int y, int w, int h, bool bottomUp) {
    if (w <= 0 || h <= 0) {
        return image.rect();
    }
    const long long top = bottomUp ? static_cast<long long>(image.height()) - y - h : y;
    return checkedRect(x, top, w, h).intersected(image.rect());
}

bool readCopy(LeReader& in, std::uint32_t type, std::size_t at, std::size_t size,
              BitmapCopy& copy) {
    switch (type) {
        case kEmrStretchDiBits: {
            copy.source = recordDib(in, at, size, 48);
            copy.from = sourceRect(copy.source, in.i32(at + 32), in.i32(at + 36), in.i32(at + 40),
                                   in.i32(at + 44), true);
            copy.to =
                checkedRect(in.i32(at + 24), in.i32(at + 28), in.i32(at + 72), in.i32(at + 76));
            break;
        }
        case kEmrSetDiBitsToDevice: {
            copy.source = recordDib(in, at, size, 48);
            copy.from = sourceRect(copy.source, in.i32(at + 32), in.i32(at + 36), in.i32(at + 40),
                                   in.i32(at + 44), true);
            copy.to = checkedRect(in.i32(at + 24), in.i32(at + 28), copy.from.width(),
                                  copy.from.height());
            break;
        }
        case kEmrBitBlt:
        case kEmrStretchBlt: {
            copy.source = recordDib(in, at, size, 84);
            int w = in.i32(at + 32);
            int h = in.i32(at + 36);
            bool stretch = type == kEmrStretchBlt;
            copy.from =
                sourceRect(copy.source, in.i32(at + 44), in.i32(at + 48),
                           stretch ? in.i32(at + 100) : w, stretch ? in.i32(at + 104) : h, false);
            copy.to = checkedRect(in.i32(at + 24), in.i32(at + 28), w, h);
            break;
        }
        default:
            return false;
    }
    return !in.failed() && !copy.source.isNull() && !copy.from.isEmpty() && copy.to.isValid();
}

// The picture's area: rclBounds, or rclFrame at 96 dpi when the bounds are
// empty; an empty rectangle when neither is usable.
QRect canvasRect(LeReader& in) {
    constexpr long long kMaxSide = 1 << 20;
    long long left = in.i32(8), top = in.i32(12), right = in.i32(16), bottom = in.i32(20);
    long long w = right - left + 1, h = bottom - top + 1;
    if (w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide) {
        return QRect(int(left), int(top), int(w), int(h));
    }
    long long fw = (static_cast<long long>(in.i32(32)) - in.i32(24) + 1) * 96 / 2540;
    long long fh = (static_cast<long long>(in.i32(36)) - in.i32(28) + 1) * 96 / 2540;
    if (fw > 0 && fh > 0 && fw <= kMaxSide && fh <= kMaxSide) {
        return QRect(0, 0, int(fw), int(fh));
    }
    return {};
}

}  // namespace

QByteArray writeBitmapEmf(const QImage& image, QSize size) {
    // The canvas (w x h) and the bitmap's own size (bw x bh) differ when a
    // reduced copy is stretched over the picture's full size.
    const int w = size.isEmpty() ? image.width() : size.width();
    const int h = size.isEmpty() ? image.height() : size.height();
    const int bw = image.width();
    const int bh = image.height();
    QByteArray dibHeader = encodeDibHeader24(bw, bh);
    QByteArray rows = encodeDibRows24(image);
    const std::uint32_t recordSize =
        kStretchDiBitsSize + static_cast<std::uint32_t>(dibHeader.size() + rows.size());
    const std::uint32_t total = kHeaderSize + recordSize + kEofSize;

    QByteArray out;
    out.reserve(static_cast<qsizetype>(total));
    PutFixed32(&out, kEmrHeader);
    PutFixed32(&out, kHeaderSize);
    putRect(out, 0, 0, w - 1, h - 1);
    putRect(out, 0, 0, himetric(w) - 1, himetric(h) - 1);
    PutFixed32(&out, kEmfSignature);
    PutFixed32(&out, kEmfVersion);
    PutFixed32(&out, total);
    PutFixed32(&out, 3);  // records
    PutFixed16(&out, 1);  // handles (the reserved zeroth)
    PutFixed16(&out, 0);
    PutFixed32(&out, 0);  // no description
    PutFixed32(&out, 0);
    PutFixed32(&out, 0);  // no palette
    PutFixed32(&out, static_cast<std::uint32_t>(kDeviceWidth));
    PutFixed32(&out, static_cast<std::uint32_t>(kDeviceHeight));
    PutFixed32(&out, static_cast<std::uint32_t>(kDeviceWidthMm));
    PutFixed32(&out, static_cast<std::uint32_t>(kDeviceHeightMm));
    PutFixed32(&out, 0);  // no pixel format
    PutFixed32(&out, 0);
    PutFixed32(&out, 0);  // not OpenGL
    PutFixed32(&out, static_cast<std::uint32_t>(kDeviceWidthUm));
    PutFixed32(&out, static_cast<std::uint32_t>(kDeviceHeightUm));

    PutFixed32(&out, kEmrStretchDiBits);
    PutFixed32(&out, recordSize);
    putRect(out, 0, 0, w - 1, h - 1);
    PutFixed32(&out, 0);  // xDest, yDest
    PutFixed32(&out, static_cast<std::uint32_t>(0));
    PutFixed32(&out, 0);  // xSrc, ySrc
    PutFixed32(&out, static_cast<std::uint32_t>(0));
    PutFixed32(&out, static_cast<std::uint32_t>(bw));
    PutFixed32(&out, static_cast<std::uint32_t>(bh));
    PutFixed32(&out, kStretchDiBitsSize);
    PutFixed32(&out, static_cast<std::uint32_t>(dibHeader.size()));
    PutFixed32(&out, kStretchDiBitsSize + static_cast<std::uint32_t>(dibHeader.size()));
    PutFixed32(&out, static_cast<std::uint32_t>(rows.size()));
    PutFixed32(&out, 0);  // DIB_RGB_COLORS
    PutFixed32(&out, kSrcCopy);
    PutFixed32(&out, static_cast<std::uint32_t>(w));
    PutFixed32(&out, static_cast<std::uint32_t>(h));
    out += dibHeader;
    out += rows;

    PutFixed32(&out, kEmrEof);
    PutFixed32(&out, kEofSize);
    PutFixed32(&out, 0);
    PutFixed32(&out, 16);
    PutFixed32(&out, kEofSize);
    return out;
}

QImage readBitmapEmf(const QByteArray& emf) {
    LeReader in(emf);
    if (in.u32(0) != kEmrHeader || in.u32(40) != kEmfSignature || in.failed()) {
        return {};
    }
    const std::size_t headerSize = in.u32(4);
    QRect bounds = canvasRect(in);
    if (bounds.isEmpty() || headerSize < 88 || headerSize > in.size()) {
        return {};
    }
    std::vector<BitmapCopy> copies;
    std::size_t at = headerSize;
    for (std::size_t n = 0; n < kMaxRecords && in.has(at, 8); ++n) {
        std::uint32_t type = in.u32(at);
        std::uint32_t size = in.u32(at + 4);
        if (size < 8 || size % 4 != 0 || !in.has(at, size)) {
            break;
        }
        if (type == kEmrEof) {
            break;
        }
        BitmapCopy copy;
        if (readCopy(in, type, at, size, copy)) {
            copies.push_back(std::move(copy));
        }
        at += size;
    }
    if (copies.empty()) {
        return {};
    }
    double scale = std::min(
        {1.0, double(kMaxShownSide) / bounds.width(), double(kMaxShownSide) / bounds.height()});
    QImage canvas(std::max(1, int(bounds.width() * scale)),
                  std::max(1, int(bounds.height() * scale)), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.scale(scale, scale);
    painter.translate(-bounds.topLeft());
    for (const BitmapCopy& copy : copies) {
        painter.drawImage(copy.to.normalized(), copy.source, copy.from);
    }
    painter.end();
    return canvas;
}

}  // namespace quillmere::rtf
