// The stored form of inserted bitmaps: the \shppict picture with every pixel
// and its \nonshppict metafile twin; pairs read from other programs written
// back whole; JPEGs decoded at a reduced scale for showing.
#include "editor/rtf/emf.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/picture.h"
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

std::vector<QTextImageFormat> images(const QTextDocument& doc) {
    std::vector<QTextImageFormat> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                out.push_back(it.fragment().charFormat().toImageFormat());
            }
        }
    }
    return out;
}

TEST(StoredBitmap, SmallPictureIsAPngAndAFullSizeMetafile) {
    const QImage image = rtftest::quadrantImage(6, 4);
    const PictureData stored = storedBitmapPicture(image);
    EXPECT_EQ("\\pngblip\\picw6\\pich4\\picwgoal90\\pichgoal60", stored.header.toStdString());
    EXPECT_EQ(image, QImage::fromData(stored.data, "PNG").convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ("\\emfblip\\picw159\\pich106\\picwgoal90\\pichgoal60",
              stored.fallbackHeader.toStdString());
    EXPECT_EQ(writeBitmapEmf(image), stored.fallbackData);

    QByteArray rtf = pictureDocumentRtf(stored);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\*\\shppict{\\pict\\pngblip"));
    // The twin's bytes are raw too (\binN), not hex.
    EXPECT_TRUE(
        rtf.contains("}}{\\nonshppict{\\pict\\emfblip\\picw159\\pich106\\picwgoal90"
                     "\\pichgoal60\\bin" +
                     QByteArray::number(stored.fallbackData.size()) + " " + stored.fallbackData));
    EXPECT_TRUE(rtf.endsWith(stored.fallbackData + "}}}"));
}

TEST(StoredBitmap, LargePictureKeepsItsPixelSizeWithAReducedCopyInTheMetafile) {
    const QImage image = rtftest::quadrantImage(1200, 600);
    const PictureData stored = storedBitmapPicture(image);
    LeReader in(stored.fallbackData);
    EXPECT_EQ(1199, in.i32(16));  // rclBounds: the full pixel size
    EXPECT_EQ(599, in.i32(20));
    const std::size_t record = 108;
    EXPECT_EQ(kEmrStretchDiBits, in.u32(record));
    EXPECT_EQ(320, in.i32(record + 40));   // cxSrc: the reduced copy
    EXPECT_EQ(160, in.i32(record + 44));   // cySrc
    EXPECT_EQ(1200, in.i32(record + 72));  // cxDest
    EXPECT_EQ(600, in.i32(record + 76));   // cyDest
    EXPECT_EQ(320, in.i32(record + 80 + 4));
    EXPECT_EQ(160, in.i32(record + 80 + 8));
    const QImage shown = readBitmapEmf(stored.fallbackData);
    ASSERT_EQ(QSize(1200, 600), shown.size());
    EXPECT_PIXEL(shown, 10, 10, "#FF0000");
    EXPECT_PIXEL(shown, 1190, 590, "#FFFF00");
    // Every pixel is in the PNG.
    EXPECT_EQ(image, QImage::fromData(stored.data, "PNG").convertToFormat(QImage::Format_RGB32));
}

TEST(StoredBitmap, JpegBytesAreKeptAsTheyAre) {
    const QImage image = rtftest::quadrantImage(16, 8);
    const QByteArray jpeg = rtftest::jpegBytes(image);
    const PictureData stored = storedBitmapPicture(decodeJpeg(jpeg), jpeg);
    EXPECT_EQ("\\jpegblip\\picw16\\pich8\\picwgoal240\\pichgoal120", stored.header.toStdString());
    EXPECT_EQ(jpeg, stored.data);
}

TEST(StoredBitmap, AlphaIsKeptOnlyWhenSomePixelIsNotOpaque) {
    QImage opaque(2, 1, QImage::Format_ARGB32);
    opaque.fill(qRgba(1, 2, 3, 255));
    EXPECT_FALSE(QImage::fromData(storedBitmapPicture(opaque).data, "PNG").hasAlphaChannel());
    QImage clear = opaque;
    clear.setPixel(1, 0, qRgba(0, 0, 0, 0));
    const QImage png = QImage::fromData(storedBitmapPicture(clear).data, "PNG");
    EXPECT_TRUE(png.hasAlphaChannel());
    EXPECT_EQ(0, qAlpha(png.pixel(1, 0)));
    EXPECT_EQ(qRgba(1, 2, 3, 255), png.pixel(0, 0));
}

TEST(StoredBitmap, NullImageStoresNothing) {
    EXPECT_TRUE(storedBitmapPicture(QImage()).header.isEmpty());
    QTextDocument doc;
    QTextCursor cursor(&doc);
    insertPicture(cursor, QImage());
    EXPECT_TRUE(doc.toPlainText().isEmpty());
}

TEST(PicturePairs, InsertedPictureRoundTripsAsThePair) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("x"));
    insertPicture(cursor, rtftest::quadrantImage(6, 4));
    const QByteArray rtf = rtftest::registered("pair: inserted", writeRtf(doc));
    QTextDocument back;
    readRtf(rtf, back);
    const auto found = images(back);
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(6, found[0].width());
    EXPECT_EQ("\\emfblip\\picw159\\pich106\\picwgoal90\\pichgoal60",
              found[0].stringProperty(kPictureFallbackHeaderProperty).toStdString());
    EXPECT_EQ(rtf, writeRtf(back));
    EXPECT_EQ(QStringLiteral("x") + QChar::ObjectReplacementCharacter, plainTextOfRtf(rtf));
}

struct PairCase {
    const char* name;
    QByteArray rtf;
    int pictures;
    bool keepsTwin;
};

std::vector<PairCase> pairCases() {
    const QImage image = rtftest::quadrantImage(4, 2);
    const QByteArray png = rtftest::pngBytes(image).toHex();
    const QByteArray emf = writeBitmapEmf(image).toHex();
    const QByteArray shp =
        "{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn x}}}\\pngblip\\picw4\\pich2 " + png + "}}";
    const QByteArray non = "{\\nonshppict{\\pict\\emfblip\\picw106\\pich53 " + emf + "}}";
    return {
        {"nominal_word_pair", "{\\rtf1 a" + shp + non + "b}", 1, true},
        {"nominal_pair_in_a_paragraph_group", "{\\rtf1{\\pard " + shp + non + "\\par}}", 1, true},
        {"robustness_nonshppict_alone_is_ignored", "{\\rtf1 a" + non + "b}", 0, false},
        {"robustness_text_between_breaks_the_pair", "{\\rtf1 " + shp + "t" + non + "}", 1, false},
        {"robustness_plain_pict_then_nonshppict",
         "{\\rtf1{\\pict\\pngblip " + png + "}" + non + "}", 1, false},
        {"robustness_text_inside_nonshppict_is_not_shown",
         "{\\rtf1 " + shp + "{\\nonshppict hidden{\\pict\\emfblip " + emf + "}}}", 1, true},
    };
}

class PicturePairRead : public ::testing::TestWithParam<PairCase> {};

TEST_P(PicturePairRead, ShowsTheShapePictureOnceAndKeepsItsTwin) {
    const PairCase& c = GetParam();
    QTextDocument doc;
    readRtf(rtftest::registered(c.name, c.rtf), doc);
    const auto found = images(doc);
    ASSERT_EQ(static_cast<std::size_t>(c.pictures), found.size());
    EXPECT_FALSE(doc.toPlainText().contains(QStringLiteral("hidden")));
    if (c.pictures == 0) {
        return;
    }
    EXPECT_EQ(QSize(4, 2), pictureImage(doc, found[0]).size());
    EXPECT_EQ(c.keepsTwin, found[0].hasProperty(kPictureFallbackDataProperty));
    if (c.keepsTwin) {
        EXPECT_EQ(writeBitmapEmf(rtftest::quadrantImage(4, 2)),
                  found[0].property(kPictureFallbackDataProperty).toByteArray());
        const QByteArray written = writeRtf(doc);
        EXPECT_TRUE(written.contains("}}{\\nonshppict{\\pict\\emfblip"));
        QTextDocument again;
        readRtf(written, again);
        EXPECT_EQ(written, writeRtf(again));
    }
}

INSTANTIATE_TEST_SUITE_P(Pairs, PicturePairRead, ::testing::ValuesIn(pairCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScaledJpeg, LargePicturesDecodeAtAReducedScale) {
    const QByteArray jpeg = rtftest::jpegBytes(rtftest::quadrantImage(800, 400));
    struct Row {
        int minLongSide;
        QSize size;
    } rows[] = {{0, {800, 400}},   {800, {800, 400}}, {400, {400, 200}},
                {200, {200, 100}}, {100, {100, 50}},  {1, {100, 50}}};
    for (const Row& row : rows) {
        EXPECT_EQ(row.size, decodeJpegScaled(jpeg, row.minLongSide).size()) << row.minLongSide;
    }
    EXPECT_EQ(QSize(800, 400), jpegSize(jpeg));
    EXPECT_FALSE(jpegSize("not a jpeg").isValid());
}

TEST(ScaledJpeg, ReportsLibjpegsMessage) {
    QString error;
    EXPECT_TRUE(decodeJpegScaled("\xFF\xD8\xFF\xE0 and then rubbish", 0, &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(decodeJpegScaled("PK\x03\x04", 0, &error).isNull());
    EXPECT_EQ("Not a JPEG file: starts with 0x50 0x4b", error.toStdString());
}

}  // namespace
