// Picture files: loading by extension with its messages, the GIF decoder's
// first frame (LZW codes of every width, interlacing, colour tables,
// transparency, damage), and the picture dialog's preview.
#include "editor/pictures/picture_file.h"

#include "editor/rtf/emf.h"
#include "store/coding.h"
#include "store/file_access.h"
#include "test_support.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace quillmere {
namespace {

// --- A GIF writer for the tests: real LZW with a growing table -------------

class BitWriter {
public:
    void put(int code, int bits) {
        buffer_ |= static_cast<std::uint32_t>(code) << held_;
        held_ += bits;
        while (held_ >= 8) {
            bytes_ += char(buffer_ & 0xFF);
            buffer_ >>= 8;
            held_ -= 8;
        }
    }
    QByteArray finish() {
        if (held_ > 0) {
            bytes_ += char(buffer_ & 0xFF);
        }
        return bytes_;
    }

private:
    std::uint32_t buffer_ = 0;
    int held_ = 0;
    QByteArray bytes_;
};

// LZW as GIF writers do it: strings of indices get codes up to 4095; a full
// table is cleared.
QByteArray lzw(const std::vector<int>& indices, int minBits) {
    const int clear = 1 << minBits;
    BitWriter out;
    std::map<std::vector<int>, int> table;
    int bits = minBits + 1;
    int next = clear + 2;
    out.put(clear, bits);
    std::vector<int> current;
    auto codeOf = [&](const std::vector<int>& s) { return s.size() == 1 ? s[0] : table.at(s); };
    for (int index : indices) {
        std::vector<int> longer = current;
        longer.push_back(index);
        if (current.empty() || longer.size() == 1 || table.count(longer) != 0) {
            current = longer;
            continue;
        }
        out.put(codeOf(current), bits);
        if (next < 4096) {
            table[longer] = next++;
            if (next > (1 << bits) && bits < 12) {
                ++bits;
            }
        } else {
            out.put(clear, bits);
            table.clear();
            bits = minBits + 1;
            next = clear + 2;
        }
        current = {index};
    }
    if (!current.empty()) {
        out.put(codeOf(current), bits);
    }
    out.put(clear + 1, bits);
    return out.finish();
}

struct GifSpec {
    int width = 4;
    int height = 4;
    std::vector<QRgb> palette = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                 qRgb(255, 255, 255)};
    bool localTable = false;
    int transparentIndex = -1;
    bool interlaced = false;
    int left = 0, top = 0, frameWidth = 0, frameHeight = 0;  // 0: the whole screen
    std::vector<int> indices;                                // rows in display order
};

int tableBits(std::size_t entries) {
    int bits = 0;
    while ((std::size_t{2} << bits) < entries) {
        ++bits;
    }
    return bits;
}

QByteArray gifBytes(const GifSpec& layout) {
    const int fw = layout.frameWidth ? layout.frameWidth : layout.width;
    const int fh = layout.frameHeight ? layout.frameHeight : layout.height;
    const int bits = tableBits(layout.palette.size());
    QByteArray table;
    for (std::size_t i = 0; i < (std::size_t{2} << bits); ++i) {
        QRgb c = i < layout.palette.size() ? layout.palette[i] : 0;
        table += char(qRed(c));
        table += char(qGreen(c));
        table += char(qBlue(c));
    }
    QByteArray out = "GIF89a";
    PutFixed16(&out, static_cast<std::uint16_t>(layout.width));
    PutFixed16(&out, static_cast<std::uint16_t>(layout.height));
    out += char(layout.localTable ? 0 : (0x80 | bits));
    out += char(0);
    out += char(0);
    if (!layout.localTable) {
        out += table;
    }
    if (layout.transparentIndex >= 0) {
        out += QByteArray::fromHex("21f904010000");
        out += char(layout.transparentIndex);
        out += char(0);
    }
    // A comment extension the decoder passes over.
    out += QByteArray::fromHex("21fe0368657900");
    out += char(0x2C);
    PutFixed16(&out, static_cast<std::uint16_t>(layout.left));
    PutFixed16(&out, static_cast<std::uint16_t>(layout.top));
    PutFixed16(&out, static_cast<std::uint16_t>(fw));
    PutFixed16(&out, static_cast<std::uint16_t>(fh));
    out += char((layout.localTable ? (0x80 | bits) : 0) | (layout.interlaced ? 0x40 : 0));
    if (layout.localTable) {
        out += table;
    }
    std::vector<int> stored = layout.indices;
    if (layout.interlaced) {
        stored.clear();
        for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
            for (int y = start; y < fh; y += step) {
                stored.insert(stored.end(), layout.indices.begin() + y * fw,
                              layout.indices.begin() + (y + 1) * fw);
            }
        }
    }
    const int minBits = std::max(2, bits + 1);
    out += char(minBits);
    const QByteArray codes = lzw(stored, minBits);
    for (qsizetype i = 0; i < codes.size(); i += 255) {
        const QByteArray block = codes.mid(i, 255);
        out += char(block.size());
        out += block;
    }
    out += char(0);
    out += char(0x3B);
    return out;
}

std::vector<int> pattern(int count, int colours, std::uint32_t seed) {
    QRandomGenerator random(seed);
    std::vector<int> out(static_cast<std::size_t>(count));
    for (int& v : out) {
        // Runs and noise, so that both short and long strings get codes.
        v = random.bounded(4) == 0 ? random.bounded(colours) : (out.empty() ? 0 : 1);
    }
    for (int i = 1; i < count; ++i) {
        if (random.bounded(3) != 0) {
            out[i] = out[i - 1];
        }
    }
    return out;
}

void expectFrame(const GifFrame& frame, const GifSpec& layout) {
    ASSERT_EQ(QSize(layout.width, layout.height), frame.image.size());
    const int fw = layout.frameWidth ? layout.frameWidth : layout.width;
    for (int y = 0; y < layout.height; ++y) {
        for (int x = 0; x < layout.width; ++x) {
            const int fx = x - layout.left;
            const int fy = y - layout.top;
            const QRgb got = frame.image.pixel(x, y);
            if (fx < 0 || fy < 0 || fx >= fw || fy * fw + fx >= int(layout.indices.size())) {
                continue;
            }
            const int index = layout.indices[std::size_t(fy * fw + fx)];
            if (index == layout.transparentIndex) {
                ASSERT_EQ(0, qAlpha(got)) << "at " << x << "," << y;
            } else {
                ASSERT_EQ(layout.palette[std::size_t(index)] | 0xFF000000u, got)
                    << "at " << x << "," << y;
            }
        }
    }
}

struct GifCase {
    const char* name;
    GifSpec layout;
};

std::vector<GifCase> gifCases() {
    std::vector<GifCase> cases;
    GifSpec small;
    small.indices = {0, 1, 2, 3, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 0, 0};
    cases.push_back({"nominal_four_colours", small});

    GifSpec wide;  // table grows through every code width and is cleared
    wide.width = 300;
    wide.height = 200;
    wide.palette.clear();
    for (int i = 0; i < 256; ++i) {
        wide.palette.push_back(qRgb(i, 255 - i, (i * 7) & 0xFF));
    }
    wide.indices = pattern(300 * 200, 256, 7);
    cases.push_back({"nominal_twelve_bit_codes_and_clears", wide});

    GifSpec interlaced = small;
    interlaced.width = 5;
    interlaced.height = 11;
    interlaced.interlaced = true;
    interlaced.indices = pattern(5 * 11, 4, 3);
    cases.push_back({"nominal_interlaced", interlaced});

    GifSpec local = small;
    local.localTable = true;
    cases.push_back({"nominal_local_colour_table", local});

    GifSpec transparent = small;
    transparent.transparentIndex = 3;
    cases.push_back({"nominal_transparent_colour", transparent});

    GifSpec offset = small;
    offset.width = 6;
    offset.height = 5;
    offset.left = 1;
    offset.top = 1;
    offset.frameWidth = 4;
    offset.frameHeight = 4;
    offset.transparentIndex = 0;
    cases.push_back({"nominal_frame_inside_a_larger_screen", offset});

    GifSpec twoColours;
    twoColours.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    twoColours.width = 9;
    twoColours.height = 3;
    twoColours.indices = pattern(27, 2, 11);
    cases.push_back({"nominal_two_colours", twoColours});
    return cases;
}

class GifFirstFrame : public ::testing::TestWithParam<GifCase> {};

TEST_P(GifFirstFrame, DecodesEveryPixel) {
    const GifSpec& layout = GetParam().layout;
    const GifFrame frame = decodeGifFirstFrame(gifBytes(layout));
    EXPECT_EQ(layout.transparentIndex >= 0, frame.transparent);
    expectFrame(frame, layout);
}

INSTANTIATE_TEST_SUITE_P(Gifs, GifFirstFrame, ::testing::ValuesIn(gifCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GifFirstFrame, PixelsOutsideTheFrameOfATransparentGifAreTransparent) {
    GifSpec layout = gifCases()[5].layout;
    const GifFrame frame = decodeGifFirstFrame(gifBytes(layout));
    EXPECT_EQ(0, qAlpha(frame.image.pixel(0, 0)));
    EXPECT_EQ(0, qAlpha(frame.image.pixel(5, 4)));
}

TEST(GifFirstFrame, DataEndingEarlyKeepsTheDecodedRows) {
    GifSpec layout = gifCases()[0].layout;
    QByteArray bytes = gifBytes(layout);
    // Cut the code data after its first two bytes and close the blocks.
    const qsizetype codesAt = bytes.indexOf(char(0x2C)) + 10 + 1;
    QByteArray cut = bytes.left(codesAt);
    cut += char(2);
    cut += bytes.mid(codesAt + 1, 2);
    cut += char(0);
    cut += char(0x3B);
    const GifFrame frame = decodeGifFirstFrame(cut);
    EXPECT_EQ(QSize(4, 4), frame.image.size());
    EXPECT_EQ(qRgb(255, 0, 0), frame.image.pixel(0, 0));
}

struct DamageCase {
    const char* name;
    QByteArray bytes;
    const char* message;
};

std::vector<DamageCase> damageCases() {
    GifSpec layout = gifCases()[0].layout;
    const QByteArray good = gifBytes(layout);
    QByteArray badCode = good;
    // The first code after the clear code names a string that does not exist.
    const qsizetype codesAt = good.indexOf(char(0x2C)) + 10 + 2;
    badCode[codesAt] = char(0xFC);
    QByteArray noImage = good.left(13 + 12);
    noImage += char(0x3B);
    QByteArray unknownBlock = good.left(13 + 12);
    unknownBlock += char(0x99);
    QByteArray badCodeSize = good;
    badCodeSize[good.indexOf(char(0x2C)) + 10] = char(12);
    return {
        {"robustness_not_a_gif", QByteArray("PNG89a and more bytes"),
         "GIF image is not valid (no GIF header)"},
        {"robustness_empty", QByteArray(), "GIF image is not valid (no GIF header)"},
        {"robustness_truncated_header", good.left(15),
         "GIF image is not valid (the file ends too early)"},
        {"robustness_truncated_in_image", good.left(good.indexOf(char(0x2C)) + 5),
         "GIF image is not valid (the file ends too early)"},
        {"robustness_no_image", noImage, "GIF image is not valid (it holds no image)"},
        {"robustness_unknown_block", unknownBlock, "GIF image is not valid (unknown block)"},
        {"robustness_bad_code", badCode, "GIF image is not valid (bad LZW code)"},
        {"robustness_bad_code_size", badCodeSize, "GIF image is not valid (bad LZW code size)"},
    };
}

class GifDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(GifDamage, IsReportedWithItsReason) {
    EXPECT_THROW_MSG(decodeGifFirstFrame(GetParam().bytes), PictureError, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Gifs, GifDamage, ::testing::ValuesIn(damageCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GifDamage, EveryTruncationIsReportedOrDecoded) {
    GifSpec layout = gifCases()[4].layout;
    const QByteArray good = gifBytes(layout);
    for (qsizetype n = 0; n < good.size(); ++n) {
        try {
            const GifFrame frame = decodeGifFirstFrame(good.left(n));
            EXPECT_EQ(QSize(4, 4), frame.image.size()) << "cut at " << n;
        } catch (const PictureError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("GIF image is not valid")))
                << "cut at " << n;
        }
    }
}

// --- Loading picture files by extension -------------------------------------

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage quadrants(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2;
            const bool bottom = y >= h / 2;
            image.setPixel(x, y,
                           bottom ? (right ? qRgb(255, 255, 0) : qRgb(0, 0, 255))
                                  : (right ? qRgb(0, 255, 0) : qRgb(255, 0, 0)));
        }
    }
    return image;
}

TEST(LoadPictureFile, LoadsEachKindByExtension) {
    testsupport::TempFolder folder;
    const QImage image = quadrants(16, 8);
    GifSpec gif = gifCases()[4].layout;
    struct Row {
        const char* name;
        QByteArray bytes;
        QSize size;
        bool transparent;
        bool metafile;
        bool keepsJpeg;
    } rows[] = {
        {"a.bmp", encoded(image, "BMP"), {16, 8}, false, false, false},
        {"UPPER.BMP", encoded(image, "BMP"), {16, 8}, false, false, false},
        {"b.jpg", encoded(image, "JPEG"), {16, 8}, false, false, true},
        {"c.JPEG", encoded(image, "JPEG"), {16, 8}, false, false, true},
        {"d.gif", gifBytes(gif), {4, 4}, true, false, false},
        {"e.emf", rtf::writeBitmapEmf(image), {16, 8}, false, true, false},
        {"f.png", encoded(image, "PNG"), {16, 8}, false, false, false},
        {"g.WEBP", encoded(image, "WEBP"), {16, 8}, false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const LoadedPicture picture =
            loadPictureFile(folder.write(QString::fromLatin1(row.name), row.bytes));
        EXPECT_EQ(row.size, picture.image.size());
        EXPECT_EQ(row.transparent, picture.transparent);
        EXPECT_EQ(row.metafile, picture.metafile);
        EXPECT_EQ(row.keepsJpeg ? row.bytes : QByteArray(), picture.jpeg);
    }
}

TEST(LoadPictureFile, BitmapPixelsAreExact) {
    testsupport::TempFolder folder;
    const QImage image = quadrants(5, 3);
    const LoadedPicture picture = loadPictureFile(folder.write("q.bmp", encoded(image, "BMP")));
    EXPECT_EQ(image, picture.image.convertToFormat(QImage::Format_RGB32));
}

TEST(LoadPictureFile, ErrorsCarryTheirMessages) {
    testsupport::TempFolder folder;
    const QByteArray bmp = encoded(quadrants(4, 4), "BMP");
    struct Row {
        const char* name;
        QByteArray bytes;
        const char* message;
    } rows[] = {
        {"photo.xcf", encoded(quadrants(4, 4), "PNG"), "Unknown picture file extension (.xcf)"},
        {"Photo.TIFF", QByteArray("x"), "Unknown picture file extension (.TIFF)"},
        {"damaged.png", encoded(quadrants(4, 4), "PNG").left(20), "PNG image is not valid"},
        {"damaged.webp", QByteArray("RIFF and nothing"), "WebP image is not valid"},
        {"noextension", QByteArray("x"), "Unknown picture file extension (.)"},
        {"damaged.bmp", bmp.left(30), "Bitmap image is not valid"},
        {"text.bmp", QByteArray("hello, not a bitmap at all"), "Bitmap image is not valid"},
        {"empty.bmp", QByteArray(), "Bitmap image is not valid"},
        {"damaged.jpg", QByteArray("\x89PNG not a jpeg"), "Not a JPEG file: starts with 0x89 0x50"},
        {"broken.gif", QByteArray("GIF89a"), "GIF image is not valid (no GIF header)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = folder.write(QString::fromLatin1(row.name), row.bytes);
        EXPECT_THROW_MSG(loadPictureFile(path), PictureError, row.message);
    }
}

TEST(LoadPictureFile, MissingFileIsAFileError) {
    testsupport::TempFolder folder;
    EXPECT_THROW(loadPictureFile(folder.file("gone.jpg")), FileError);
}

TEST(LoadPictureFile, MetafilesWithoutABitmapGiveNoImage) {
    testsupport::TempFolder folder;
    // A header and an end record: a valid EMF that draws nothing.
    QByteArray emf = rtf::writeBitmapEmf(quadrants(2, 2));
    const QByteArray header = emf.left(108);
    QByteArray empty = header + emf.right(20);
    const LoadedPicture picture = loadPictureFile(folder.write("empty.emf", empty));
    EXPECT_TRUE(picture.metafile);
    EXPECT_TRUE(picture.image.isNull());
    const LoadedPicture wmf = loadPictureFile(folder.write("junk.wmf", QByteArray(40, '\0')));
    EXPECT_TRUE(wmf.image.isNull());
}

TEST(LoadImageFile, ReadsWhatQtReadsAndTheDialogKinds) {
    testsupport::TempFolder folder;
    QImage alpha(3, 2, QImage::Format_ARGB32);
    alpha.fill(qRgba(10, 20, 30, 0));
    alpha.setPixel(1, 1, qRgba(200, 100, 50, 255));
    const LoadedPicture png = loadImageFile(folder.write("shot.png", encoded(alpha, "PNG")));
    EXPECT_TRUE(png.transparent);
    EXPECT_EQ(0, qAlpha(png.image.pixel(0, 0)));
    EXPECT_EQ(qRgba(200, 100, 50, 255), png.image.pixel(1, 1));
    EXPECT_EQ(QSize(16, 8),
              loadImageFile(folder.write("x.jpg", encoded(quadrants(16, 8), "JPEG"))).image.size());
    EXPECT_THROW_MSG(loadImageFile(folder.write("fake.png", "not a picture")), PictureError,
                     "fake.png is not a picture this program can read");
    EXPECT_TRUE(isImageFileName(QStringLiteral("/x/a.PNG")));
    EXPECT_TRUE(isImageFileName(QStringLiteral("/x/a.emf")));
    EXPECT_FALSE(isImageFileName(QStringLiteral("/x/notes.txt")));
    EXPECT_FALSE(isImageFileName(QStringLiteral("/x/README")));
}

TEST(PicturePreview, FitsTheBoxAndIsNullForNonPictures) {
    testsupport::TempFolder folder;
    const QImage preview = loadPicturePreview(
        folder.write("big.jpg", encoded(quadrants(800, 400), "JPEG")), QSize(100, 100));
    EXPECT_EQ(QSize(100, 50), preview.size());
    EXPECT_EQ(QSize(4, 4),
              loadPicturePreview(folder.write("s.gif", gifBytes(gifCases()[0].layout)), {100, 100})
                  .size());
    EXPECT_TRUE(loadPicturePreview(folder.write("n.txt", "text"), {100, 100}).isNull());
    EXPECT_TRUE(loadPicturePreview(folder.write("d.jpg", "damaged"), {100, 100}).isNull());
}

}  // namespace
}  // namespace quillmere
