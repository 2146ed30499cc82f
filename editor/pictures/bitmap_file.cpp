#include "editor/pictures/bitmap_file.h"

#include "store/coding.h"

#include <cstdint>
#include <cstdlib>

namespace quillmere {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kPixelOffsetAt = 10;
constexpr std::size_t kInfoSizeAt = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kCoreEntrySize = 3;
constexpr std::size_t kInfoEntrySize = 4;
constexpr std::size_t kMaskSize = 4;
constexpr int kMaxBitsPerPixel = 32;

// Compression numbers of the info header.
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// Codes after a zero count in run-length coded data.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

struct BitmapHeader {
    std::int64_t width = 0;
    std::int64_t rows = 0;  // always positive
    int bitsPerPixel = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t dataSize = 0;
    std::uint64_t tableEnd = 0;  // just after the colour table
};

bool readHeader(LeReader& in, BitmapHeader& header) {
    const std::uint32_t infoSize = in.u32(kInfoSizeAt);
    std::uint64_t colours = 0;
    std::size_t entrySize = kInfoEntrySize;
    std::size_t masks = 0;
    if (infoSize == kCoreHeaderSize) {
        header.width = in.u16(18);
        header.rows = in.u16(20);
        header.bitsPerPixel = in.u16(24);
        entrySize = kCoreEntrySize;
    } else if (infoSize >= kInfoHeaderSize) {
        header.width = in.i32(18);
        header.rows = std::llabs(static_cast<long long>(in.i32(22)));
        header.bitsPerPixel = in.u16(28);
        header.compression = in.u32(30);
        header.dataSize = in.u32(34);
        colours = in.u32(46);
        if (infoSize == kInfoHeaderSize) {
            masks = header.compression == kBitFields        ? 3
                    : header.compression == kAlphaBitFields ? 4
                                                            : 0;
        }
    } else {
        return false;
    }
    if (in.failed() || header.width <= 0 || header.rows <= 0 || header.bitsPerPixel <= 0 ||
        header.bitsPerPixel > kMaxBitsPerPixel) {
        return false;
    }
    if (header.bitsPerPixel <= 8 && (colours == 0 || infoSize == kCoreHeaderSize)) {
        colours = std::uint64_t{1} << header.bitsPerPixel;
    } else if (header.bitsPerPixel > 8) {
        colours = 0;  // an optional table the decoder does not read
    }
    header.tableEnd = kFileHeaderSize + infoSize + masks * kMaskSize + colours * entrySize;
    return true;
}

// Walks run-length coded data from `offset`: whole when the end-of-bitmap
// code, or every row's end, comes before the bytes run out.
bool runsAreWhole(LeReader& in, std::size_t offset, const BitmapHeader& header) {
    std::size_t at = offset;
    std::int64_t rowsDone = 0;
    while (in.has(at, 2)) {
        const std::uint8_t count = static_cast<std::uint8_t>(*in.at(at));
        const std::uint8_t code = static_cast<std::uint8_t>(*in.at(at + 1));
        at += 2;
        if (count > 0) {
            continue;  // a run of `count` pixels of one value
        }
        if (code == kEndOfBitmap) {
            return true;
        }
        if (code == kEndOfLine) {
            ++rowsDone;
        } else if (code == kDelta) {
            if (!in.has(at, 2)) {
                return false;
            }
            rowsDone += static_cast<std::uint8_t>(*in.at(at + 1));
            at += 2;
        } else {
            // `code` pixels written out, padded to a whole 16-bit word.
            std::size_t bytes = header.compression == kRle8 ? code : (code + 1u) / 2;
            bytes += bytes & 1u;
            if (!in.has(at, bytes)) {
                return false;
            }
            at += bytes;
        }
        if (rowsDone >= header.rows) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool isWholeBitmapFile(const QByteArray& bytes) {
    LeReader in(bytes);
    if (!in.has(0, kFileHeaderSize + 4) || !bytes.startsWith("BM")) {
        return false;
    }
    BitmapHeader header;
    if (!readHeader(in, header) || header.tableEnd > in.size()) {
        return false;
    }
    const std::size_t offset = in.u32(kPixelOffsetAt);
    if (offset > in.size()) {
        return false;
    }
    const std::uint64_t available = in.size() - offset;
    switch (header.compression) {
        case kRgb:
        case kBitFields:
        case kAlphaBitFields: {
            const std::uint64_t rowBytes =
                (static_cast<std::uint64_t>(header.width) * header.bitsPerPixel + 31) / 32 * 4;
            return static_cast<std::uint64_t>(header.rows) <= available / rowBytes;
        }
        case kRle8:
        case kRle4:
            return runsAreWhole(in, offset, header);
        default:
            return header.dataSize > 0 && header.dataSize <= available;
    }
}

}  // namespace quillmere
