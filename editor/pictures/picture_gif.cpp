// The first frame of a GIF file. Values little-endian.
//
//   header            "GIF87a" or "GIF89a"                        (6 bytes)
//   screen descriptor u16 width, u16 height, u8 flags (bit 7: global colour
//                     table; bits 0-2: table of 2^(n+1) entries),
//                     u8 background index, u8 aspect               (7 bytes)
//   global colour table, 3 bytes R G B per entry
//   blocks, each introduced by one byte:
//     0x21 extension: u8 label, then sub-blocks (u8 size, bytes; size 0 ends)
//          label 0xF9 graphic control: sub-block of 4: u8 flags (bit 0:
//          transparent colour given), u16 delay, u8 transparent index
//     0x2C image: u16 left, top, width, height, u8 flags (bit 7: local
//          colour table; bit 6: interlaced; bits 0-2: table size), local
//          table, u8 LZW minimum code size, sub-blocks of LZW codes
//     0x3B trailer
//   LZW codes are read from the least significant bit up; code 2^min clears
//   the table, 2^min + 1 ends the data; codes grow to 12 bits at most.
#include "editor/pictures/picture_file.h"

#include <QColor>
#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace quillmere {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kScreenSize = 7;
constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImage = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControl = 0xF9;
constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

[[noreturn]] void damaged(const char* reason) {
    throw PictureError(QCoreApplication::translate("quillmere::PictureFile", "GIF image is not valid (%1)")
                           .arg(QCoreApplication::translate("quillmere::PictureFile", reason)));
}

// Reads the file from the front, failing on truncation.
class GifReader {
public:
    explicit GifReader(const QByteArray& bytes) : bytes_(bytes) {}
    std::uint8_t u8() {
        need(1);
        return static_cast<std::uint8_t>(bytes_[pos_++]);
    }
    std::uint16_t u16() {
        std::uint16_t low = u8();
        return static_cast<std::uint16_t>(low | (u8() << 8));
    }
    void skip(std::size_t count) {
        need(count);
        pos_ += count;
    }
    // The colour table of 2^(bits+1) entries.
    std::vector<QRgb> colourTable(int bits) {
        std::vector<QRgb> table(std::size_t{1} << (bits + 1));
        for (QRgb& entry : table) {
            const int r = u8();
            const int g = u8();
            entry = qRgb(r, g, u8());
        }
        return table;
    }
    // The data of a chain of sub-blocks, joined.
    QByteArray subBlocks() {
        QByteArray data;
        for (std::uint8_t size = u8(); size != 0; size = u8()) {
            need(size);
            data.append(bytes_.constData() + pos_, size);
            pos_ += size;
        }
        return data;
    }
    void skipSubBlocks() {
        for (std::uint8_t size = u8(); size != 0; size = u8()) {
            skip(size);
        }
    }
    bool atEnd() const { return pos_ >= static_cast<std::size_t>(bytes_.size()); }

private:
    void need(std::size_t count) const {
        if (count > static_cast<std::size_t>(bytes_.size()) - pos_) {
            damaged(QT_TRANSLATE_NOOP("quillmere::PictureFile", "the file ends too early"));
        }
    }
    const QByteArray& bytes_;
    std::size_t pos_ = 0;
};

// Variable-width LZW codes, least significant bit first.
class LzwCodes {
public:
    explicit LzwCodes(const QByteArray& data) : data_(data) {}
    // The next code of `bits` bits; -1 when the data ends first.
    int next(int bits) {
        while (held_ < bits && at_ < data_.size()) {
            buffer_ |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data_[at_++])) << held_;
            held_ += 8;
        }
        if (held_ < bits) {
            return -1;
        }
        const int code = static_cast<int>(buffer_ & ((1u << bits) - 1));
        buffer_ >>= bits;
        held_ -= bits;
        return code;
    }

private:
    const QByteArray& data_;
    qsizetype at_ = 0;
    std::uint32_t buffer_ = 0;
    int held_ = 0;
};

// The LZW string table: each code from the end code on stands for the
// string of an earlier code plus one colour index.
class LzwTable {
public:
    explicit LzwTable(int minBits) : clear_(1 << minBits), minBits_(minBits) {
        for (int i = 0; i < clear_; ++i) {
            suffix_[i] = first_[i] = static_cast<std::uint8_t>(i);
        }
        stack_.reserve(kMaxCodes);
        reset();
    }
    int clearCode() const { return clear_; }
    int endCode() const { return clear_ + 1; }
    // The width of the next code.
    int bits() const { return bits_; }
    void reset() {
        bits_ = minBits_ + 1;
        next_ = endCode() + 1;
    }
    // Appends the string of `code`, read after `previous`, to `out` (up to
    // `count` indices) and adds the new table entry. Throws PictureError for
    // a code not yet in the table.
    void expand(int code, int previous, std::vector<std::uint8_t>& out, std::size_t count) {
        int walk = code;
        std::uint8_t head;
        if (code < next_) {
            head = first_[code];
        } else if (code == next_) {
            head = first_[previous];
            stack_.push_back(head);
            walk = previous;
        } else {
            damaged(QT_TRANSLATE_NOOP("quillmere::PictureFile", "bad LZW code"));
        }
        while (walk >= clear_) {
            stack_.push_back(suffix_[walk]);
            walk = prefix_[walk];
        }
        stack_.push_back(static_cast<std::uint8_t>(walk));
        while (!stack_.empty() && out.size() < count) {
            out.push_back(stack_.back());
            stack_.pop_back();
        }
        stack_.clear();
        add(previous, head);
    }

private:
    void add(int previous, std::uint8_t head) {
        if (next_ >= kMaxCodes) {
            return;
        }
        prefix_[next_] = static_cast<std::uint16_t>(previous);
        suffix_[next_] = head;
        first_[next_] = first_[previous];
        ++next_;
        if (next_ == (1 << bits_) && bits_ < kMaxCodeBits) {
            ++bits_;
        }
    }

    std::array<std::uint16_t, kMaxCodes> prefix_{};
    std::array<std::uint8_t, kMaxCodes> suffix_{};
    std::array<std::uint8_t, kMaxCodes> first_{};
    std::vector<std::uint8_t> stack_;
    const int clear_;
    const int minBits_;
    int bits_ = 0;
    int next_ = 0;
};

// Decodes LZW codes into at most `count` colour indices. Data that ends
// early leaves the rest undecoded (as other readers show such files).
std::vector<std::uint8_t> decodeLzw(const QByteArray& data, int minBits, std::size_t count) {
    if (minBits < 1 || minBits > 11) {
        damaged(QT_TRANSLATE_NOOP("quillmere::PictureFile", "bad LZW code size"));
    }
    std::vector<std::uint8_t> out;
    out.reserve(count);
    LzwCodes codes(data);
    LzwTable table(minBits);
    int previous = -1;
    while (out.size() < count) {
        const int code = codes.next(table.bits());
        if (code < 0 || code == table.endCode()) {
            break;  // the data ends, with or without an end code
        }
        if (code == table.clearCode()) {
            table.reset();
            previous = -1;
        } else if (previous < 0) {
            if (code >= table.clearCode()) {
                damaged(QT_TRANSLATE_NOOP("quillmere::PictureFile", "bad LZW code"));
            }
            out.push_back(static_cast<std::uint8_t>(code));
            previous = code;
        } else {
            table.expand(code, previous, out, count);
            previous = code;
        }
    }
    return out;
}

// The row of the frame that the n-th decoded row fills.
int interlacedRow(int n, int height) {
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows = (height - kStart[pass] + kStep[pass] - 1) / kStep[pass];
        if (n < rows) {
            return kStart[pass] + n * kStep[pass];
        }
        n -= std::max(rows, 0);
    }
    return height;  // not reached for n < height
}

struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::vector<QRgb> colours;
    std::vector<std::uint8_t> indices;
};

Frame readFrame(GifReader& in, const std::vector<QRgb>& globalColours) {
    Frame frame;
    frame.left = in.u16();
    frame.top = in.u16();
    frame.width = in.u16();
    frame.height = in.u16();
    const std::uint8_t flags = in.u8();
    frame.interlaced = (flags & 0x40) != 0;
    frame.colours = (flags & 0x80) != 0 ? in.colourTable(flags & 7) : globalColours;
    if (frame.width == 0 || frame.height == 0) {
        damaged(QT_TRANSLATE_NOOP("quillmere::PictureFile", "the frame is empty"));
    }
    const int minBits = in.u8();
    const QByteArray codes = in.subBlocks();
    frame.indices = decodeLzw(codes, minBits, static_cast<std::size_t>(frame.width) * frame.height);
    return frame;
}

// Reads the blocks up to the first image and that image. Extensions are
// skipped, except that a graphic control sets `transparentIndex`.
Frame readFirstFrame(GifReader& in, const std::vector<QRgb>& globalColours, int& transparentIndex) {
    for (;;) {
        const std::uint8_t block = in.u8();
        if (block == kTrailer) {
            damaged(QT_TRANSLATE_NOOP("quillmere::PictureFile", "it holds no image"));
        }
        if (block != kExtension) {
            if (block != kImage) {
                damaged(QT_TRANSLATE_NOOP("quillmere::PictureFile", "unknown block"));
            }
            return readFrame(in, globalColours);
        }
        const std::uint8_t label = in.u8();
        if (label == kGraphicControl) {
            const QByteArray control = in.subBlocks();
            if (control.size() >= 4 && (control[0] & 1) != 0) {
                transparentIndex = static_cast<std::uint8_t>(control[3]);
            }
        } else {
            in.skipSubBlocks();
        }
    }
}

// Paints the decoded pixels of a frame into the image; pixels outside the
// image and those the data did not reach are left as they are.
void paintFrame(QImage& image, const Frame& frame, int transparentIndex) {
    const std::size_t decoded = frame.indices.size();
    for (int n = 0; n < frame.height; ++n) {
        const int row = frame.interlaced ? interlacedRow(n, frame.height) : n;
        const int y = frame.top + row;
        if (y >= image.height()) {
            continue;
        }
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < frame.width && frame.left + x < image.width(); ++x) {
            const std::size_t i = static_cast<std::size_t>(n) * frame.width + x;
            if (i >= decoded) {
                break;
            }
            const int index = frame.indices[i];
            if (index == transparentIndex) {
                line[frame.left + x] = qRgba(0, 0, 0, 0);
            } else if (index < static_cast<int>(frame.colours.size())) {
                line[frame.left + x] = frame.colours[static_cast<std::size_t>(index)];
            } else {
                line[frame.left + x] = qRgb(0, 0, 0);
            }
        }
    }
}

}  // namespace

GifFrame decodeGifFirstFrame(const QByteArray& bytes) {
    if (bytes.size() < static_cast<qsizetype>(kHeaderSize + kScreenSize) ||
        (!bytes.startsWith("GIF87a") && !bytes.startsWith("GIF89a"))) {
        damaged(QT_TRANSLATE_NOOP("quillmere::PictureFile", "no GIF header"));
    }
    GifReader in(bytes);
    in.skip(kHeaderSize);
    int width = in.u16();
    int height = in.u16();
    const std::uint8_t flags = in.u8();
    const int background = in.u8();
    in.u8();  // aspect
    std::vector<QRgb> globalColours;
    if ((flags & 0x80) != 0) {
        globalColours = in.colourTable(flags & 7);
    }
    int transparentIndex = -1;
    const Frame frame = readFirstFrame(in, globalColours, transparentIndex);
    if (width == 0 || height == 0) {
        width = frame.left + frame.width;
        height = frame.top + frame.height;
    }
    if (static_cast<long long>(width) * height > kMaxPixels) {
        damaged(QT_TRANSLATE_NOOP("quillmere::PictureFile", "the image is too large"));
    }
    GifFrame result;
    result.transparent = transparentIndex >= 0;
    result.image = QImage(width, height, QImage::Format_ARGB32);
    if (result.image.isNull()) {
        damaged(QT_TRANSLATE_NOOP("quillmere::PictureFile", "the image is too large"));
    }
    QRgb fill = qRgb(255, 255, 255);
    if (result.transparent) {
        fill = qRgba(0, 0, 0, 0);
    } else if (background < static_cast<int>(globalColours.size())) {
        fill = globalColours[static_cast<std::size_t>(background)];
    }
    result.image.fill(fill);
    paintFrame(result.image, frame, transparentIndex);
    return result;
}

}  // namespace quillmere
