#include "editor/rtf/dib.h"

#include "store/coding.h"

#include <QPainter>

#include <bit>
#include <cstdint>
#include <vector>

namespace quillmere::rtf {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr int kPixelsPerMeter96Dpi = 3780;

struct DibHeader {
    long long width = 0;
    long long height = 0;  // always positive here
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::size_t headerSize = 0;
    std::size_t colours = 0;       // palette entries used for pixels
    std::size_t tableEntries = 0;  // entries stored before the rows
    int paletteEntrySize = 4;
    std::uint32_t masks[3] = {0, 0, 0};
};

bool readHeader(LeReader& in, DibHeader& h) {
    h.headerSize = in.u32(0);
    if (h.headerSize == kBitmapCoreHeaderSize) {
        h.width = in.u16(4);
        h.height = in.u16(6);
        h.bitCount = in.u16(10);
        h.paletteEntrySize = 3;
    } else if (h.headerSize >= kBitmapInfoHeaderSize && h.headerSize <= 1024) {
        h.width = in.i32(4);
        long long height = in.i32(8);
        h.topDown = height < 0;
        h.height = height < 0 ? -height : height;
        h.bitCount = in.u16(14);
        h.compression = in.u32(16);
        h.colours = in.u32(32);
    } else {
        return false;
    }
    if (in.failed() || h.width <= 0 || h.height <= 0 || h.width * h.height > kMaxDibPixels) {
        return false;
    }
    if (h.compression != kBiRgb &&
        !(h.compression == kBiBitfields && (h.bitCount == 16 || h.bitCount == 32))) {
        return false;
    }
    if (h.bitCount <= 8) {
        std::size_t full = std::size_t{1} << h.bitCount;
        if (h.colours == 0 || h.colours > full) {
            h.colours = full;
        }
        h.tableEntries = h.colours;
    } else {
        h.tableEntries = h.colours > 256 ? 256 : h.colours;
        h.colours = 0;
    }
    if (h.compression == kBiBitfields) {
        if (h.headerSize == kBitmapInfoHeaderSize) {
            h.headerSize += 12;  // the masks follow the short header
        }
        const std::size_t at = kBitmapInfoHeaderSize;  // inside V4 and V5 headers too
        for (int i = 0; i < 3; ++i) {
            h.masks[i] = in.u32(at + 4 * static_cast<std::size_t>(i));
        }
    } else if (h.bitCount == 16) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    } else if (h.bitCount == 32) {
        h.masks[0] = 0xFF0000;
        h.masks[1] = 0x00FF00;
        h.masks[2] = 0x0000FF;
    }
    return !in.failed() && (h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 ||
                            h.bitCount == 16 || h.bitCount == 24 || h.bitCount == 32);
}

int channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = std::countr_zero(mask);
    std::uint32_t max = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

QImage decodeDib(const char* info, std::size_t infoSize, const char* bits, std::size_t bitsSize) {
    LeReader in(info, infoSize);
    DibHeader h;
    if (!readHeader(in, h)) {
        return {};
    }
    std::vector<QRgb> palette(h.colours, qRgb(0, 0, 0));
    for (std::size_t i = 0; i < h.colours; ++i) {
        std::size_t at = h.headerSize + i * static_cast<std::size_t>(h.paletteEntrySize);
        if (!in.has(at, 3)) {
            return {};
        }
        auto b = static_cast<unsigned char>(*in.at(at));
        auto g = static_cast<unsigned char>(*in.at(at + 1));
        auto r = static_cast<unsigned char>(*in.at(at + 2));
        palette[i] = qRgb(r, g, b);
    }
    const std::size_t stride =
        ((static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.bitCount) + 31) / 32) * 4;
    if (stride == 0 || bitsSize / stride < static_cast<std::size_t>(h.height)) {
        return {};
    }
    QImage image(static_cast<int>(h.width), static_cast<int>(h.height), QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    for (long long y = 0; y < h.height; ++y) {
        long long sourceRow = h.topDown ? y : h.height - 1 - y;
        const auto* row = reinterpret_cast<const unsigned char*>(bits) +
                          static_cast<std::size_t>(sourceRow) * stride;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (long long x = 0; x < h.width; ++x) {
            auto ux = static_cast<std::size_t>(x);
            QRgb pixel = 0;
            switch (h.bitCount) {
                case 1:
                case 4:
                case 8: {
                    std::size_t bitPos = ux * static_cast<std::size_t>(h.bitCount);
                    unsigned byte = row[bitPos / 8];
                    unsigned index =
                        (byte >> (8 - h.bitCount - bitPos % 8)) & ((1u << h.bitCount) - 1);
                    pixel = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
                    break;
                }
                case 16: {
                    std::uint32_t v = row[ux * 2] | (row[ux * 2 + 1] << 8);
                    pixel = qRgb(channel(v, h.masks[0]), channel(v, h.masks[1]),
                                 channel(v, h.masks[2]));
                    break;
                }
                case 24:
                    pixel = qRgb(row[ux * 3 + 2], row[ux * 3 + 1], row[ux * 3]);
                    break;
                default: {
                    std::uint32_t v = row[ux * 4] | (row[ux * 4 + 1] << 8) |
                                      (row[ux * 4 + 2] << 16) |
                                      (static_cast<std::uint32_t>(row[ux * 4 + 3]) << 24);
                    pixel = qRgb(channel(v, h.masks[0]), channel(v, h.masks[1]),
                                 channel(v, h.masks[2]));
                    break;
                }
            }
            line[x] = pixel;
        }
    }
    return image;
}

QImage decodePackedDib(const QByteArray& packed) {
    LeReader in(packed);
    DibHeader h;
    if (!readHeader(in, h)) {
        return {};
    }
    std::size_t bitsAt =
        h.headerSize + h.tableEntries * static_cast<std::size_t>(h.paletteEntrySize);
    if (bitsAt > static_cast<std::size_t>(packed.size())) {
        return {};
    }
    return decodeDib(packed.constData(), static_cast<std::size_t>(packed.size()),
                     packed.constData() + bitsAt, static_cast<std::size_t>(packed.size()) - bitsAt);
}

QByteArray encodeDibHeader24(int width, int height) {
    QByteArray out;
    PutFixed32(&out, kBitmapInfoHeaderSize);
    PutFixed32(&out, static_cast<std::uint32_t>(width));
    PutFixed32(&out, static_cast<std::uint32_t>(height));
    PutFixed16(&out, 1);
    PutFixed16(&out, 24);
    PutFixed32(&out, kBiRgb);
    PutFixed32(&out, static_cast<std::uint32_t>(((width * 3 + 3) / 4) * 4 * height));
    PutFixed32(&out, static_cast<std::uint32_t>(kPixelsPerMeter96Dpi));
    PutFixed32(&out, static_cast<std::uint32_t>(kPixelsPerMeter96Dpi));
    PutFixed32(&out, 0);
    PutFixed32(&out, 0);
    return out;
}

QByteArray encodeDibRows24(const QImage& image) {
    QImage rgb(image.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    {
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    }
    const int stride = ((rgb.width() * 3 + 3) / 4) * 4;
    QByteArray out(static_cast<qsizetype>(stride) * rgb.height(), '\0');
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(rgb.height() - 1 - y));
        char* row = out.data() + static_cast<qsizetype>(y) * stride;
        for (int x = 0; x < rgb.width(); ++x) {
            row[x * 3] = static_cast<char>(qBlue(line[x]));
            row[x * 3 + 1] = static_cast<char>(qGreen(line[x]));
            row[x * 3 + 2] = static_cast<char>(qRed(line[x]));
        }
    }
    return out;
}

}  // namespace quillmere::rtf
