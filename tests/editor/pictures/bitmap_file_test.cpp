// Bitmap files cut short: every byte the headers promise must be there before
// the file is decoded, so that a cut file is refused instead of inserted with
// whatever memory the decoder left in the missing rows.
#include "editor/pictures/bitmap_file.h"

#include "editor/pictures/picture_file.h"
#include "store/coding.h"
#include "test_support.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <ostream>

namespace quillmere {
namespace {

constexpr int kFileHeader = 14;
constexpr int kInfoHeader = 40;

// A bitmap file with a 40-byte info header; `palette` holds 4-byte entries.
QByteArray infoBitmap(int width, int height, int bits, std::uint32_t compression,
                      const QByteArray& palette, const QByteArray& pixels) {
    QByteArray out = "BM";
    PutFixed32(&out, static_cast<std::uint32_t>(kFileHeader + kInfoHeader + palette.size() +
                                                pixels.size()));
    PutFixed32(&out, 0);
    PutFixed32(&out, static_cast<std::uint32_t>(kFileHeader + kInfoHeader + palette.size()));
    PutFixed32(&out, kInfoHeader);
    PutFixed32(&out, static_cast<std::uint32_t>(width));
    PutFixed32(&out, static_cast<std::uint32_t>(height));
    PutFixed16(&out, 1);
    PutFixed16(&out, static_cast<std::uint16_t>(bits));
    PutFixed32(&out, compression);
    PutFixed32(&out, static_cast<std::uint32_t>(pixels.size()));
    PutFixed32(&out, 2835);
    PutFixed32(&out, 2835);
    PutFixed32(&out, static_cast<std::uint32_t>(palette.size() / 4));
    PutFixed32(&out, 0);
    return out + palette + pixels;
}

// A bitmap file with the 12-byte core header, 24 bits per pixel.
QByteArray coreBitmap(int width, int height, const QByteArray& pixels) {
    QByteArray out = "BM";
    PutFixed32(&out, static_cast<std::uint32_t>(kFileHeader + 12 + pixels.size()));
    PutFixed32(&out, 0);
    PutFixed32(&out, kFileHeader + 12);
    PutFixed32(&out, 12);
    PutFixed16(&out, static_cast<std::uint16_t>(width));
    PutFixed16(&out, static_cast<std::uint16_t>(height));
    PutFixed16(&out, 1);
    PutFixed16(&out, 24);
    return out + pixels;
}

// Rows of `width` 24-bit pixels, each padded to 4 bytes.
QByteArray rows24(int width, int height) {
    QByteArray row(width * 3, '\x40');
    row += QByteArray((4 - row.size() % 4) % 4, '\0');
    return row.repeated(height);
}

QByteArray greyPalette(int entries) {
    QByteArray palette;
    for (int i = 0; i < entries; ++i) {
        palette += char(i);
        palette += char(i);
        palette += char(i);
        palette += char(0);
    }
    return palette;
}

// 4 x 2 in RLE8: a run of 4 per row, each row ended, then the end code.
const QByteArray kRle8Runs = QByteArray::fromHex(
    "0401"
    "0000"
    "0402"
    "0000"
    "0001");
// 3 x 1 in RLE8: three pixels written out (padded to a word), the end code.
const QByteArray kRle8Absolute = QByteArray::fromHex(
    "0003"
    "010201"
    "00"
    "0001");

QByteArray withField32(QByteArray bytes, int at, std::uint32_t value) {
    EncodeFixed32(bytes.data() + at, value);
    return bytes;
}

struct BitmapCase {
    const char* label;
    QByteArray bytes;
    bool whole;
};

void PrintTo(const BitmapCase& c, std::ostream* os) {
    *os << c.label;
}

std::vector<BitmapCase> bitmapCases() {
    const QByteArray rgb = infoBitmap(5, 3, 24, 0, {}, rows24(5, 3));
    const QByteArray topDown = infoBitmap(5, -3, 24, 0, {}, rows24(5, 3));
    const QByteArray indexed = infoBitmap(4, 2, 8, 0, greyPalette(4), QByteArray(8, '\1'));
    const QByteArray rle = infoBitmap(4, 2, 8, 1, greyPalette(4), kRle8Runs);
    const QByteArray core = coreBitmap(5, 3, rows24(5, 3));
    return {
        {"nominal: 24 bits, rows padded", rgb, true},
        {"nominal: top-down rows", topDown, true},
        {"nominal: a file size field of 0 (only the rows count)", withField32(rgb, 2, 0), true},
        {"nominal: 8 bits with a colour table", indexed, true},
        {"nominal: run-length coded, every row and the end code", rle, true},
        {"nominal: run-length coded pixels written out",
         infoBitmap(3, 1, 8, 1, greyPalette(4), kRle8Absolute), true},
        {"nominal: core header", core, true},
        {"robustness: last row one byte short", rgb.chopped(1), false},
        {"robustness: pixel data cut in half", rgb.left(rgb.size() - 24), false},
        {"robustness: headers only", rgb.left(kFileHeader + kInfoHeader), false},
        {"robustness: top-down, cut", topDown.chopped(1), false},
        {"robustness: colour table cut", indexed.left(kFileHeader + kInfoHeader + 6), false},
        {"robustness: pixel offset past the end", withField32(rgb, 10, 0x7FFFFFF0), false},
        {"robustness: a width no file holds", withField32(rgb, 18, 0x7FFFFFFF), false},
        {"robustness: width 0", withField32(rgb, 18, 0), false},
        {"robustness: run-length data cut before the end", rle.chopped(3), false},
        {"robustness: run-length written-out pixels cut",
         infoBitmap(3, 1, 8, 1, greyPalette(4), kRle8Absolute.left(4)), false},
        {"robustness: core header, cut", core.chopped(1), false},
        {"robustness: info header cut", rgb.left(20), false},
        {"robustness: not a bitmap", QByteArray("PK\x03\x04 and a zip file"), false},
    };
}

class WholeBitmap : public ::testing::TestWithParam<BitmapCase> {};

TEST_P(WholeBitmap, EveryPromisedByteMustBeThere) {
    const BitmapCase& row = GetParam();
    EXPECT_EQ(row.whole, isWholeBitmapFile(row.bytes)) << row.label;
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, WholeBitmap, ::testing::ValuesIn(bitmapCases()));

// What the user sees: a whole file is inserted with its pixels, a cut one is
// refused with the loader's message, for every length its pixels are cut to.
TEST(WholeBitmap, EveryCutOfThePixelsIsRefusedWithTheMessage) {
    testsupport::TempFolder folder;
    QImage image(7, 4, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "BMP"));
    const std::uint32_t pixelsAt = DecodeFixed32(bytes.constData() + 10);

    const LoadedPicture whole = loadPictureFile(folder.write("whole.bmp", bytes));
    EXPECT_EQ(image, whole.image.convertToFormat(QImage::Format_RGB32));
    for (qsizetype length = pixelsAt; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        const QString path = folder.write(QStringLiteral("cut.bmp"), bytes.left(length));
        EXPECT_THROW_MSG(loadPictureFile(path), PictureError, "Bitmap image is not valid");
    }
}

}  // namespace
}  // namespace quillmere
