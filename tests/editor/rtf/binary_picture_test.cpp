// Pictures kept compactly: an inserted picture's bytes are stored raw
// (\binN), a picture read as hex digits is written back as hex digits, raw
// bytes that look like markup stay data, and the goal size of a wide picture
// fits the width of a page's text.
#include "editor/rtf/jpeg.h"
#include "editor/rtf/picture.h"
#include "editor/rtf/rtf.h"
#include "rtf_test_support.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace quillmere::rtf;

namespace {

QTextImageFormat onlyPicture(const QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                return it.fragment().charFormat().toImageFormat();
            }
        }
    }
    return {};
}

// Data whose raw bytes would be markup if they were read as text.
QByteArray markupLikeBytes() {
    QByteArray data("\x89PNG}{\\par \\bin9 }");
    data.append('\0');
    data.append("\r\n{\\'41}");
    return data;
}

struct RoundTripCase {
    const char* label;
    QByteArray rtf;       // read, then written again
    QByteArray storedAs;  // what the written picture group holds
    QByteArray data;      // the picture's bytes as read
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.label;
}

class PictureRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(PictureRoundTrip, IsReadAndWrittenBackAsItWasStored) {
    const RoundTripCase& c = GetParam();
    QTextDocument doc;
    readRtf(c.rtf, doc);
    const QTextImageFormat picture = onlyPicture(doc);
    ASSERT_TRUE(picture.isValid()) << c.label;
    EXPECT_EQ(c.data, picture.property(kPictureDataProperty).toByteArray()) << c.label;
    EXPECT_EQ(QStringLiteral("A") + QChar::ObjectReplacementCharacter + QStringLiteral("B"),
              plainTextOfRtf(c.rtf))
        << c.label;
    const QByteArray written = writeRtf(doc);
    EXPECT_TRUE(written.contains(c.storedAs)) << c.label;
    QTextDocument again;
    readRtf(written, again);
    EXPECT_EQ(written, writeRtf(again)) << c.label;
}

const QByteArray kPng = rtftest::pngBytes(rtftest::quadrantImage(2, 2));

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureRoundTrip,
    ::testing::Values(
        RoundTripCase{"nominal: raw bytes stay raw",
                      rtftest::registered("binary: png",
                                          "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 A{\\pict"
                                          "\\pngblip\\picw2\\pich2\\bin" +
                                              QByteArray::number(kPng.size()) + " " + kPng + "}B}"),
                      "\\pict\\pngblip\\picw2\\pich2\\bin", kPng},
        RoundTripCase{"nominal: hex digits stay hex digits",
                      rtftest::registered("binary: hex png", rtftest::pictRtf("\\pngblip", kPng)),
                      "{\\pict\\pngblip\r\n89504e47", kPng},
        RoundTripCase{
            "robustness: raw bytes that look like braces, escapes and \\bin",
            rtftest::registered("binary: markup-like data",
                                "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 A{\\pict\\pngblip\\bin" +
                                    QByteArray::number(markupLikeBytes().size()) + " " +
                                    markupLikeBytes() + "}B}"),
            "\\bin" + QByteArray::number(markupLikeBytes().size()) + " \x89PNG}{",
            markupLikeBytes()}),
    [](const auto& info) { return std::to_string(info.index); });

// An inserted picture and its metafile twin both keep their bytes raw: the
// entry holds the JPEG file's bytes once, not twice their size in hex.
TEST(BinaryPictures, InsertedJpegIsStoredAsItsOwnBytes) {
    const QImage image = rtftest::quadrantImage(64, 48);
    const QByteArray jpeg = rtftest::jpegBytes(image);
    const PictureData stored = storedBitmapPicture(decodeJpeg(jpeg), jpeg);
    ASSERT_TRUE(stored.binary);
    ASSERT_TRUE(stored.fallbackBinary);
    const QByteArray rtf = pictureDocumentRtf(stored);
    EXPECT_TRUE(
        rtf.contains("{\\*\\shppict{\\pict\\jpegblip\\picw64\\pich48\\picwgoal960"
                     "\\pichgoal720\\bin" +
                     QByteArray::number(jpeg.size()) + " " + jpeg + "}}"));
    EXPECT_TRUE(rtf.contains(
        "{\\nonshppict{\\pict\\emfblip\\picw1693\\pich1270\\picwgoal960"
        "\\pichgoal720\\bin" +
        QByteArray::number(stored.fallbackData.size()) + " " + stored.fallbackData + "}}"));
    EXPECT_LT(rtf.size(), jpeg.size() + stored.fallbackData.size() + 200);
}

TEST(BinaryPictures, GoalSizeFitsTheWidthOfAPagesText) {
    const struct {
        QSize pixels;
        QSize twips;
    } rows[] = {
        {{6, 4}, {90, 60}},            // small: 15 twips a pixel
        {{642, 10}, {9630, 150}},      // just fits
        {{4000, 3000}, {9638, 7229}},  // a 12-megapixel photograph
        {{3000, 4000}, {7229, 9638}},  // the same taken upright
        {{4032, 3024}, {9638, 7229}},  // a phone's photograph
        {{20000, 10}, {9638, 5}},      // a strip
        {{100000, 1}, {9638, 1}},      // never less than one twip
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.twips, pictureGoalTwips(row.pixels))
            << row.pixels.width() << "x" << row.pixels.height();
    }
    const PictureData stored = storedBitmapPicture(rtftest::quadrantImage(1200, 600));
    EXPECT_EQ("\\pngblip\\picw1200\\pich600\\picwgoal9638\\pichgoal4819",
              stored.header.toStdString());
    EXPECT_TRUE(stored.fallbackHeader.endsWith(QStringLiteral("\\picwgoal9638\\pichgoal4819")));
}

}  // namespace
