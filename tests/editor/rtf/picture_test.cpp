// Pictures: the stored EMF's bytes, each picture kind the reader shows, and
// pictures it cannot show kept byte for byte.
#include "editor/rtf/picture.h"
#include "editor/rtf/emf.h"
#include "editor/rtf/rtf.h"
#include "rtf_test_support.h"
#include "store/coding.h"
#include "test_support.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace quillmere;
using namespace quillmere::rtf;

namespace {

QTextImageFormat firstImage(const QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                return it.fragment().charFormat().toImageFormat();
            }
        }
    }
    return {};
}

void expectQuadrants(const QImage& image, int w, int h) {
    ASSERT_EQ(QSize(w, h), image.size());
    EXPECT_PIXEL(image, 0, 0, "#FF0000");
    EXPECT_PIXEL(image, w - 1, 0, "#00FF00");
    EXPECT_PIXEL(image, 0, h - 1, "#0000FF");
    EXPECT_PIXEL(image, w - 1, h - 1, "#FFFF00");
}

TEST(BitmapEmf, LayoutOfTheStoredForm) {
    QImage image = rtftest::quadrantImage(3, 2);
    QByteArray emf = writeBitmapEmf(image);
    LeReader in(emf);
    const std::uint32_t rows = 12 * 2;  // 3 pixels * 3 bytes padded to 12, two rows
    const std::uint32_t record = 80 + 40 + rows;
    ASSERT_EQ(108 + record + 20, static_cast<std::uint32_t>(emf.size()));
    EXPECT_EQ(kEmrHeader, in.u32(0));
    EXPECT_EQ(108u, in.u32(4));
    EXPECT_EQ(2, in.i32(16));  // rclBounds right = width - 1
    EXPECT_EQ(1, in.i32(20));
    EXPECT_EQ(79 - 1, in.i32(32));  // rclFrame right in 0.01 mm: 3 px at 96 dpi = 79
    EXPECT_EQ(kEmfSignature, in.u32(40));
    EXPECT_EQ(static_cast<std::uint32_t>(emf.size()), in.u32(48));
    EXPECT_EQ(3u, in.u32(52));
    EXPECT_EQ(kEmrStretchDiBits, in.u32(108));
    EXPECT_EQ(record, in.u32(112));
    EXPECT_EQ(3, in.i32(108 + 40));    // cxSrc
    EXPECT_EQ(2, in.i32(108 + 44));    // cySrc
    EXPECT_EQ(80u, in.u32(108 + 48));  // offBmiSrc
    EXPECT_EQ(40u, in.u32(108 + 52));
    EXPECT_EQ(120u, in.u32(108 + 56));
    EXPECT_EQ(rows, in.u32(108 + 60));
    EXPECT_EQ(kSrcCopy, in.u32(108 + 68));
    EXPECT_EQ(24, in.u16(108 + 80 + 14));  // biBitCount
    // First stored row is the bottom one: blue, blue?, yellow in B G R order.
    const std::size_t bits = 108 + 120;
    EXPECT_EQ("FF 00 00", testsupport::hexDump(emf.mid(bits, 3)));      // blue
    EXPECT_EQ("00 FF FF", testsupport::hexDump(emf.mid(bits + 6, 3)));  // yellow
    EXPECT_EQ(kEmrEof, in.u32(emf.size() - 20));
    EXPECT_EQ(20u, in.u32(emf.size() - 4));
    expectQuadrants(readBitmapEmf(emf), 3, 2);
}

TEST(BitmapEmf, TransparentPixelsAreDrawnOverWhite) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    image.setPixel(1, 0, qRgba(0, 0, 0, 255));
    QImage shown = readBitmapEmf(writeBitmapEmf(image));
    EXPECT_PIXEL(shown, 0, 0, "#FFFFFF");
    EXPECT_PIXEL(shown, 1, 0, "#000000");
}

TEST(BitmapEmf, DamagedMetafilesGiveNoImage) {
    QByteArray emf = writeBitmapEmf(rtftest::quadrantImage(4, 4));
    for (int length : {0, 8, 40, 107, 108, 150}) {
        EXPECT_TRUE(readBitmapEmf(emf.left(length)).isNull()) << "truncated at " << length;
    }
    QByteArray badSignature = emf;
    badSignature[40] = 'X';
    EXPECT_TRUE(readBitmapEmf(badSignature).isNull());
    QByteArray hugeRecord = emf;
    hugeRecord[112] = '\xff';
    hugeRecord[115] = '\x7f';
    EXPECT_TRUE(readBitmapEmf(hugeRecord).isNull());
}

// An EMF whose bitmap arrives by EMR_BITBLT or EMR_STRETCHBLT.
QByteArray bltEmf(const QImage& image, bool stretch) {
    QByteArray dib = rtftest::packedDib24(image);
    const std::uint32_t fixed = stretch ? 108 : 100;
    QByteArray record;
    PutFixed32(&record, stretch ? kEmrStretchBlt : kEmrBitBlt);
    PutFixed32(&record, fixed + static_cast<std::uint32_t>(dib.size()));
    for (int v :
         {0, 0, image.width() - 1, image.height() - 1, 0, 0, image.width(), image.height()}) {
        PutFixed32(&record, static_cast<std::uint32_t>(v));
    }
    PutFixed32(&record, kSrcCopy);
    PutFixed32(&record, static_cast<std::uint32_t>(0));
    PutFixed32(&record, static_cast<std::uint32_t>(0));
    for (int i = 0; i < 6; ++i) {
        PutFixed32(&record, i == 0 || i == 3 ? 0x3F800000 : 0);  // identity XFORM
    }
    PutFixed32(&record, 0);
    PutFixed32(&record, 0);
    PutFixed32(&record, fixed);
    PutFixed32(&record, 40);
    PutFixed32(&record, fixed + 40);
    PutFixed32(&record, static_cast<std::uint32_t>(dib.size() - 40));
    if (stretch) {
        PutFixed32(&record, static_cast<std::uint32_t>(image.width()));
        PutFixed32(&record, static_cast<std::uint32_t>(image.height()));
    }
    record += dib;
    QByteArray emf = writeBitmapEmf(QImage(image.size(), QImage::Format_RGB32));
    // Keep the header and EOF, replace the drawing.
    return emf.left(108) + record + emf.right(20);
}

struct KindCase {
    const char* name;
    QByteArray words;
    QByteArray data;
};

std::vector<KindCase> kindCases() {
    QImage image = rtftest::quadrantImage(4, 4);
    QByteArray setDib;
    {
        QByteArray dib = rtftest::packedDib24(image);
        PutFixed32(&setDib, kEmrSetDiBitsToDevice);
        PutFixed32(&setDib, 76 + static_cast<std::uint32_t>(dib.size()));
        for (int v : {0, 0, 3, 3, 0, 0, 0, 0, 4, 4}) {
            PutFixed32(&setDib, static_cast<std::uint32_t>(v));
        }
        PutFixed32(&setDib, 76);
        PutFixed32(&setDib, 40);
        PutFixed32(&setDib, 116);
        PutFixed32(&setDib, static_cast<std::uint32_t>(dib.size() - 40));
        PutFixed32(&setDib, 0);
        PutFixed32(&setDib, 0);
        PutFixed32(&setDib, 4);
        setDib += dib;
        QByteArray emf = writeBitmapEmf(QImage(4, 4, QImage::Format_RGB32));
        setDib = emf.left(108) + setDib + emf.right(20);
    }
    return {
        {"png", "\\pngblip\\picw4\\pich4", rtftest::pngBytes(image)},
        {"jpeg", "\\jpegblip\\picw4\\pich4", rtftest::jpegBytes(rtftest::quadrantImage(16, 16))},
        {"dib", "\\dibitmap0\\picw4\\pich4", rtftest::packedDib24(image)},
        {"wmf", "\\wmetafile8\\picw106\\pich106", rtftest::wmfStretchDib(image)},
        {"emf stretchdibits", "\\emfblip\\picw106\\pich106", writeBitmapEmf(image)},
        {"emf bitblt", "\\emfblip", bltEmf(image, false)},
        {"emf stretchblt", "\\emfblip", bltEmf(image, true)},
        {"emf setdibitstodevice", "\\emfblip", setDib},
    };
}

class PictureKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(PictureKinds, AreShownAndWrittenBackUnchanged) {
    const KindCase& row = GetParam();
    QByteArray rtf = rtftest::pictRtf(row.words, row.data);
    QTextDocument doc;
    readRtf(rtf, doc);
    EXPECT_EQ(QStringLiteral("A\uFFFCB"), doc.toPlainText());
    QTextImageFormat format = firstImage(doc);
    ASSERT_TRUE(format.isValid());
    EXPECT_FALSE(format.boolProperty(kPictureUnshownProperty));
    QImage shown = pictureImage(doc, format);
    if (QByteArray(row.name) == "jpeg") {
        ASSERT_EQ(QSize(16, 16), shown.size());
        EXPECT_LT(std::abs(qRed(shown.pixel(2, 2)) - 255), 8);
        EXPECT_LT(qBlue(shown.pixel(2, 2)), 8);
        EXPECT_LT(std::abs(qBlue(shown.pixel(2, 13)) - 255), 8);
    } else {
        expectQuadrants(shown, 4, 4);
    }
    QByteArray again = writeRtf(doc);
    EXPECT_TRUE(again.contains("{\\pict" + row.words + "\r\n" + row.data.toHex().left(128)));
    QTextDocument back;
    readRtf(again, back);
    EXPECT_EQ(row.data, firstImage(back).property(kPictureDataProperty).toByteArray());
    EXPECT_EQ(again, writeRtf(back));
}

INSTANTIATE_TEST_SUITE_P(Kinds, PictureKinds, ::testing::ValuesIn(kindCases()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

TEST(Pictures, UnknownPictureIsKeptByteForByteAndShownAsAFrame) {
    QByteArray data = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    QByteArray rtf =
        rtftest::pictRtf("\\macpict\\picw100\\pich50\\picwgoal1500\\pichgoal750", data);
    QTextDocument doc;
    readRtf(rtf, doc);
    QTextImageFormat format = firstImage(doc);
    EXPECT_TRUE(format.boolProperty(kPictureUnshownProperty));
    EXPECT_DOUBLE_EQ(100, format.width());
    EXPECT_DOUBLE_EQ(50, format.height());
    QImage frame = pictureImage(doc, format);
    ASSERT_EQ(QSize(100, 50), frame.size());
    EXPECT_PIXEL(frame, 0, 0, "#808080");
    EXPECT_PIXEL(frame, 50, 25, "#FFFFFF");
    QByteArray written = writeRtf(doc);
    EXPECT_TRUE(
        written.contains("{\\pict\\macpict\\picw100\\pich50\\picwgoal1500\\pichgoal750\r\n"
                         "00112233445566778899aabbccddeeff\r\n}"));
}

TEST(Pictures, DamagedKnownKindsAreKeptAsWell) {
    const QByteArray png = rtftest::pngBytes(rtftest::quadrantImage(4, 4));
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"\\pngblip", png.left(png.size() / 2)},
        {"\\jpegblip", QByteArray::fromHex("ffd8ffe000104a464946")},
        {"\\emfblip", QByteArray(200, '\x01')},
        {"\\wmetafile8", QByteArray(64, '\0')},
        {"\\dibitmap0", QByteArray::fromHex("28000000ffffff7fffffff7f01001800")},
    };
    for (const auto& [words, data] : cases) {
        QTextDocument doc;
        readRtf(rtftest::pictRtf(words, data), doc);
        QTextImageFormat format = firstImage(doc);
        EXPECT_TRUE(format.boolProperty(kPictureUnshownProperty)) << words.toStdString();
        EXPECT_EQ(data, format.property(kPictureDataProperty).toByteArray()) << words.toStdString();
    }
}

TEST(Pictures, TruncatedHexDropsTheOddDigit) {
    QTextDocument doc;
    readRtf("{\\rtf1{\\pict\\pngblip 0a1b2", doc);
    EXPECT_EQ(QByteArray::fromHex("0a1b"),
              firstImage(doc).property(kPictureDataProperty).toByteArray());
    EXPECT_EQ(QString(QChar::ObjectReplacementCharacter), doc.toPlainText());
}

TEST(Pictures, BinaryPictureData) {
    QByteArray data = rtftest::packedDib24(rtftest::quadrantImage(4, 4));
    QByteArray rtf =
        "{\\rtf1{\\pict\\dibitmap0\\bin" + QByteArray::number(data.size()) + " " + data + "}}";
    QTextDocument doc;
    readRtf(rtf, doc);
    expectQuadrants(pictureImage(doc, firstImage(doc)), 4, 4);
}

TEST(Pictures, InsertedBitmapIsStoredAsPngWithAnEmfTwin) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    insertPicture(cursor, rtftest::quadrantImage(6, 4));
    QByteArray rtf = writeRtf(doc);
    // Both keep their bytes raw (\binN).
    EXPECT_TRUE(
        rtf.contains("{\\*\\shppict{\\pict\\pngblip\\picw6\\pich4\\picwgoal90\\pichgoal60\\bin"));
    EXPECT_TRUE(rtf.contains(
        "}}{\\nonshppict{\\pict\\emfblip\\picw159\\pich106\\picwgoal90\\pichgoal60\\bin"));
    QTextDocument back;
    readRtf(rtf, back);
    QTextImageFormat format = firstImage(back);
    EXPECT_DOUBLE_EQ(6, format.width());
    expectQuadrants(pictureImage(back, format), 6, 4);
    EXPECT_EQ(rtf, writeRtf(back));
}

TEST(Pictures, ImageInsertedWithoutStoredFormIsWrittenAsEmf) {
    QTextDocument doc;
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:1")),
                    rtftest::quadrantImage(4, 2));
    QTextCursor cursor(&doc);
    cursor.insertImage(QStringLiteral("mem:1"));
    QByteArray rtf = writeRtf(doc);
    ASSERT_TRUE(rtf.contains("{\\pict\\emfblip\\picw106\\pich53\\picwgoal60\\pichgoal30"))
        << rtf.toStdString();
    QTextDocument back;
    readRtf(rtf, back);
    expectQuadrants(pictureImage(back, firstImage(back)), 4, 2);
}

}  // namespace

std::vector<rtftest::NamedRtf> rtftest::pictureInputs() {
    std::vector<NamedRtf> all;
    for (const KindCase& row : kindCases()) {
        all.push_back({row.name, pictRtf(row.words, row.data)});
    }
    all.push_back({"unknown picture", pictRtf("\\macpict\\picw10\\pich10", "0011")});
    return all;
}
