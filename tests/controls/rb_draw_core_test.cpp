// Pixel tests of the shared drawing routines. Expected colours are worked out
// from the gradient and mixing formulas by hand (or with the tiny exact
// helpers below), never by calling the routines under test.
#include "controls/rb_draw_core.h"
#include "controls/rb_fonts.h"

#include "rb_test_app.h"
#include "test_support.h"

#include <QPainter>

#include <cmath>
#include <cstdint>
#include <string>

using namespace quillmere;

namespace {

// round(from + (to - from) * s / length), halves to even, worked in integers
// so the expectation is exact.
int byFormula(int from, int to, int s, int length) {
    const std::int64_t num = std::int64_t(from) * length + std::int64_t(to - from) * s;
    std::int64_t q = num / length;
    std::int64_t r = num % length;
    if (r < 0) {
        q -= 1;
        r += length;
    }
    if (2 * r > length || (2 * r == length && (q & 1))) {
        q += 1;
    }
    return static_cast<int>(q & 0xFF);
}

std::string hexOf(int r, int g, int b) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", r & 0xFF, g & 0xFF, b & 0xFF);
    return text;
}

constexpr TColor kTitleFrom = 13665296;  // #1084D0
constexpr TColor kTitleTo = 16758897;    // #71B8FF

}  // namespace

TEST(FillGradient, DoubleVerticalTitleBarHasStartColourOnRow22) {
    QImage image = NewBitmap(QSize(6, 45), clBlack);
    FillGradient(image, image.rect(), kTitleFrom, nullptr, gtDoubleVert, kTitleTo);
    EXPECT_PIXEL(image, 3, 22, "#1084D0");
    // Rows 11 and 33 are 11 rows away: red 16 + 97 / 2 = 64.5 and blue
    // 208 + 47 / 2 = 231.5 are halves and go to the even neighbours 64 and 232.
    EXPECT_PIXEL(image, 0, 11, "#409EE8");
    EXPECT_PIXEL(image, 5, 33, "#409EE8");
    // One row away: 16 + 97/22 = 20.41, 132 + 52/22 = 134.36, 208 + 47/22 = 210.14.
    EXPECT_PIXEL(image, 2, 21, "#1486D2");
    EXPECT_PIXEL(image, 2, 23, "#1486D2");
    // 21 rows away: 108.59, 181.64, 252.86.
    EXPECT_PIXEL(image, 1, 1, "#6DB6FD");
    EXPECT_PIXEL(image, 1, 43, "#6DB6FD");
    // The edge rows reach the end colour exactly.
    EXPECT_PIXEL(image, 0, 0, "#71B8FF");
    EXPECT_PIXEL(image, 0, 44, "#71B8FF");
    for (int y = 0; y < 45; ++y) {
        const int d = std::abs(y - 22);
        EXPECT_PIXEL(image, 4, y,
                     hexOf(byFormula(0x10, 0x71, d, 22), byFormula(0x84, 0xB8, d, 22),
                           byFormula(0xD0, 0xFF, d, 22)));
    }
}

TEST(FillGradient, VerticalNeverReachesEndColour) {
    QImage image = NewBitmap(QSize(3, 10), clRed);
    FillGradient(image, image.rect(), clBlack, nullptr, gtVertical, clWhite);
    // 255 * y / 10 with halves to even: 25.5 -> 26, 76.5 -> 76, 127.5 -> 128,
    // 178.5 -> 178, 229.5 -> 230.
    const char* expected[] = {"#000000", "#1A1A1A", "#333333", "#4C4C4C", "#666666",
                              "#808080", "#999999", "#B2B2B2", "#CCCCCC", "#E6E6E6"};
    for (int y = 0; y < 10; ++y) {
        EXPECT_PIXEL(image, 1, y, expected[y]);
    }
    EXPECT_NE("#FFFFFF", testsupport::pixelHex(image, 1, 9));
}

struct LinearCase {
    const char* label;
    TGradientType type;
    QSize size;
    QPoint at;
    const char* hex;
};

class FillGradientShapes : public ::testing::TestWithParam<LinearCase> {};

TEST_P(FillGradientShapes, PixelMatchesFormula) {
    const LinearCase& c = GetParam();
    QImage image = NewBitmap(c.size, clWhite);
    FillGradient(image, image.rect(), clBlack, nullptr, c.type, clRed);
    EXPECT_PIXEL(image, c.at.x(), c.at.y(), c.hex) << c.label;
}

// Red channel from 0 to 255; w = h = 10 unless noted.
INSTANTIATE_TEST_SUITE_P(
    Shapes, FillGradientShapes,
    ::testing::Values(
        LinearCase{"horizontal: column 1 of 4 is 63.75", gtHorizontal, {4, 2}, {1, 1}, "#400000"},
        LinearCase{
            "horizontal: column 2 of 4 is 127.5 -> 128", gtHorizontal, {4, 2}, {2, 0}, "#800000"},
        LinearCase{"horizontal: column 3 of 4 is 191.25", gtHorizontal, {4, 2}, {3, 0}, "#BF0000"},
        LinearCase{"double horizontal: middle column is the start",
                   gtDoubleHorz,
                   {9, 1},
                   {4, 0},
                   "#000000"},
        LinearCase{
            "double horizontal: edge column is the end", gtDoubleHorz, {9, 1}, {8, 0}, "#FF0000"},
        LinearCase{
            "double horizontal: 2 of 4 is 127.5 -> 128", gtDoubleHorz, {9, 1}, {2, 0}, "#800000"},
        LinearCase{"top left: L = 14, s = sqrt(162) = 12.73 -> 231.8",
                   gtFromTopLeft,
                   {10, 10},
                   {9, 9},
                   "#E80000"},
        LinearCase{
            "top right: s = 10 at the left -> 182.1", gtFromTopRight, {10, 10}, {0, 0}, "#B60000"},
        LinearCase{
            "top right: s = 1 at the right -> 18.2", gtFromTopRight, {10, 10}, {9, 0}, "#120000"},
        LinearCase{"radial: centre is the start", gtRadial, {10, 10}, {5, 5}, "#000000"},
        LinearCase{"radial: L = 7, corner s = 7.07 -> 257.6 wraps to 2",
                   gtRadial,
                   {10, 10},
                   {0, 0},
                   "#020000"},
        LinearCase{
            "double vertical one row high: start colour", gtDoubleVert, {3, 1}, {1, 0}, "#000000"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(FillGradient, DistancesBeyondTheLengthWrapInEightBits) {
    // Rect at left 10: L = round(sqrt(200)) - 10 = 4, so the red step is 63.75.
    QImage image = NewBitmap(QSize(20, 10), clWhite);
    const QRect rect(10, 0, 10, 10);
    FillGradient(image, rect, clBlack, nullptr, gtFromTopLeft, clRed);
    EXPECT_PIXEL(image, 10, 0, "#000000");
    EXPECT_PIXEL(image, 14, 0, "#FF0000");              // 255
    EXPECT_PIXEL(image, 15, 0, "#3F0000");              // 318.75 -> 319 -> 63
    const double far = 63.75 * std::sqrt(81.0 + 81.0);  // 811.4 -> 811 -> 43
    EXPECT_EQ(43, static_cast<int>(std::llround(far)) & 0xFF);
    EXPECT_PIXEL(image, 19, 9, "#2B0000");
    EXPECT_PIXEL(image, 9, 0, "#FFFFFF");  // outside the rect
    // Falling channels wrap the other way: 255 - 811.4 = -556.4 -> -556 -> 212.
    FillGradient(image, rect, clRed, nullptr, gtFromTopLeft, clBlack);
    EXPECT_PIXEL(image, 19, 9, "#D40000");
}

TEST(FillGradient, EqualColoursFillFlat) {
    QImage image = NewBitmap(QSize(5, 5), clBlack);
    FillGradient(image, QRect(1, 1, 3, 3), 0x336699, nullptr, gtRadial, 0x336699);
    EXPECT_PIXEL(image, 0, 0, "#000000");
    for (int y = 1; y <= 3; ++y) {
        for (int x = 1; x <= 3; ++x) {
            EXPECT_PIXEL(image, x, y, "#996633");
        }
    }
    EXPECT_PIXEL(image, 4, 4, "#000000");
}

TEST(FillGradient, RegionLimitsThePixelsWritten) {
    rbtest::ensureApp();
    QImage image = NewBitmap(QSize(4, 6), clBlack);
    const QRegion region(QRect(1, 2, 2, 2));
    FillGradient(image, image.rect(), clBlack, &region, gtVertical, clWhite);
    EXPECT_PIXEL(image, 0, 2, "#000000");
    EXPECT_PIXEL(image, 1, 1, "#000000");
    EXPECT_PIXEL(image, 1, 2, "#555555");  // 255 * 2 / 6 = 85
    EXPECT_PIXEL(image, 2, 3, "#808080");  // 127.5 -> 128
    EXPECT_PIXEL(image, 1, 4, "#000000");
    // Equal colours fill only the region too.
    FillGradient(image, image.rect(), clGreen, &region, gtVertical, clGreen);
    EXPECT_PIXEL(image, 1, 2, "#008000");
    EXPECT_PIXEL(image, 0, 0, "#000000");
}

TEST(FillGradient, EmptyImageIsLeftAlone) {
    QImage image;
    FillGradient(image, QRect(0, 0, 5, 5), clBlack, nullptr, gtVertical, clWhite);
    EXPECT_TRUE(image.isNull());
}

TEST(FillGradient, SystemColoursAreResolvedFirst) {
    rbtest::ensureApp();
    QImage image = NewBitmap(QSize(2, 2), clBlack);
    // Different as stored, equal once resolved: the gradient is flat button face.
    FillGradient(image, image.rect(), clBtnFace, nullptr, gtVertical, rbtest::kTestBtnFace);
    EXPECT_PIXEL(image, 0, 0, "#F0F0F0");
    EXPECT_PIXEL(image, 1, 1, "#F0F0F0");
}

struct RoundCase {
    double value;
    double expected;
};

class RoundHalfEvenCases : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenCases, Rounds) {
    EXPECT_EQ(GetParam().expected, RoundHalfEven(GetParam().value)) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, RoundHalfEvenCases,
                         ::testing::Values(RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.5, 2},
                                           RoundCase{-0.5, 0}, RoundCase{-1.5, -2},
                                           RoundCase{2.4999, 2}, RoundCase{2.5001, 3},
                                           RoundCase{-2.6, -3}, RoundCase{7, 7}));

TEST(RoundDivHalfEven, ExactHalvesGoToEven) {
    EXPECT_EQ(64, RoundDivHalfEven(129, 2));
    EXPECT_EQ(66, RoundDivHalfEven(131, 2));
    EXPECT_EQ(-2, RoundDivHalfEven(-5, 2));
    EXPECT_EQ(-2, RoundDivHalfEven(5, -2));
    EXPECT_EQ(-3, RoundDivHalfEven(-17, 6));
    EXPECT_EQ(3, RoundDivHalfEven(17, 6));
}

TEST(BlendImage, CopiesBaseShiftedByOffset) {
    QImage base = NewBitmap(QSize(4, 3), clBlack);
    base.setPixel(0, 0, qRgb(1, 2, 3));
    base.setPixel(3, 2, qRgb(9, 8, 7));
    QImage target = NewBitmap(QSize(4, 3), clWhite);
    BlendImage(target, base, base, 1, target.rect(), 0);
    EXPECT_PIXEL(target, 0, 0, "#FFFFFF");  // row 0 and column 0 keep what was there
    EXPECT_PIXEL(target, 3, 0, "#FFFFFF");
    EXPECT_PIXEL(target, 1, 1, "#010203");
    EXPECT_PIXEL(target, 3, 2, "#000000");  // base (2, 1)
}

struct MixCase {
    int level;
    int target;
    int overlay;
    int expected;
};

class BlendLevels : public ::testing::TestWithParam<MixCase> {};

TEST_P(BlendLevels, MixesByLevelWithHalvesToEven) {
    const MixCase& c = GetParam();
    QImage base = NewBitmap(QSize(2, 2), rgbColor(c.target, c.target, c.target));
    QImage overlay = NewBitmap(QSize(2, 2), rgbColor(c.overlay, 0, c.overlay));
    QImage target = NewBitmap(QSize(2, 2), clBlack);
    BlendImage(target, base, overlay, 0, target.rect(), c.level);
    const int green = byFormula(c.target, 0, std::min(c.level, 100), 100);
    EXPECT_PIXEL(target, 1, 1, hexOf(c.expected, green, c.expected));
}

// Green mixes the target with 0.
INSTANTIATE_TEST_SUITE_P(Levels, BlendLevels,
                         ::testing::Values(MixCase{50, 255, 0, 128},  // 127.5
                                           MixCase{50, 0, 1, 0},      // 0.5
                                           MixCase{50, 0, 3, 2},      // 1.5
                                           MixCase{50, 0, 5, 2},      // 2.5
                                           MixCase{10, 200, 100, 190}, MixCase{30, 100, 200, 130},
                                           MixCase{100, 7, 200, 200},
                                           MixCase{150, 7, 200, 200},  // above 100 is 100
                                           MixCase{0, 7, 200, 7}));

TEST(BlendImage, OverlayOriginSitsOnRectTopLeft) {
    QImage base = NewBitmap(QSize(4, 4), clBlack);
    QImage overlay = NewBitmap(QSize(2, 2), clBlack);
    overlay.setPixel(0, 0, qRgb(255, 255, 255));
    QImage target = NewBitmap(QSize(4, 4), clBlack);
    BlendImage(target, base, overlay, 0, QRect(2, 2, 2, 2), 100);
    EXPECT_PIXEL(target, 2, 2, "#FFFFFF");
    EXPECT_PIXEL(target, 3, 3, "#000000");
    EXPECT_PIXEL(target, 0, 0, "#000000");
}

struct TintCase {
    QRgb pixel;
    TColor color;
    const char* hex;
};

class TintImageCases : public ::testing::TestWithParam<TintCase> {};

TEST_P(TintImageCases, GreyAverageLiftedByColour) {
    QImage image = NewBitmap(QSize(1, 1), clBlack);
    image.setPixel(0, 0, GetParam().pixel);
    TintImage(image, GetParam().color);
    EXPECT_PIXEL(image, 0, 0, GetParam().hex);
}

INSTANTIATE_TEST_SUITE_P(
    Pixels, TintImageCases,
    ::testing::Values(TintCase{qRgb(0, 0, 0), 4210752, "#404040"},        // black is the colour
                      TintCase{qRgb(200, 100, 0), 4210752, "#A4A4A4"},    // g = 100
                      TintCase{qRgb(1, 2, 2), 4210752, "#414141"},        // g = 5 / 3 = 1
                      TintCase{qRgb(255, 255, 255), 4210752, "#FFFFFF"},  // capped at 255
                      TintCase{qRgb(0, 0, 0), 32768, "#008000"},          // check mark green
                      TintCase{qRgb(90, 90, 90), 0x0000FF, "#FF5A5A"}));  // red is the low byte

struct DownsampleCase {
    int edgeWidth;
    QPoint at;
    bool averaged;
};

class DownsampleEdgesCases : public ::testing::TestWithParam<DownsampleCase> {};

TEST_P(DownsampleEdgesCases, AveragesOnlyTheBand) {
    // Every 3 x 3 block of big holds eight pixels of 10 and one of 0: its
    // average 80 / 9 = 8.9 truncates to 8.
    QImage big = NewBitmap(QSize(30, 30), rgbColor(10, 10, 10));
    for (int y = 0; y < 30; y += 3) {
        for (int x = 0; x < 30; x += 3) {
            big.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    QImage target = NewBitmap(QSize(10, 10), clBlack);
    DownsampleEdges(target, big, 3, clWhite, GetParam().edgeWidth);
    EXPECT_PIXEL(target, GetParam().at.x(), GetParam().at.y(),
                 GetParam().averaged ? "#080808" : "#FFFFFF");
}

INSTANTIATE_TEST_SUITE_P(
    Bands, DownsampleEdgesCases,
    ::testing::Values(DownsampleCase{6, {2, 5}, true},   // band 3: x <= 3 averaged
                      DownsampleCase{6, {3, 5}, false},  // ... but the inside fill starts at 3
                      DownsampleCase{6, {6, 5}, false},  // inside ends before 10 - 3 = 7
                      DownsampleCase{6, {7, 5}, true},   // x >= 7
                      DownsampleCase{6, {5, 2}, true},   // rows too
                      DownsampleCase{6, {5, 7}, true},
                      DownsampleCase{7, {3, 5}, false},  // 7 / 2 = 3
                      DownsampleCase{0, {0, 5}, true},   // edge width 0 becomes 3: band 1
                      DownsampleCase{0, {1, 5}, false}, DownsampleCase{0, {9, 5}, true},
                      DownsampleCase{0, {8, 5}, false}));

TEST(TextFormatFlags, AlignmentAndWordBreak) {
    const unsigned base = dt::kVCenter | dt::kNoPrefix | dt::kEndEllipsis;
    EXPECT_EQ(base | dt::kLeft | dt::kSingleLine, TextFormatFlags(0, false));
    EXPECT_EQ(base | dt::kRight | dt::kSingleLine, TextFormatFlags(1, false));
    EXPECT_EQ(base | dt::kCenter | dt::kSingleLine, TextFormatFlags(2, false));
    EXPECT_EQ(base | dt::kCenter | dt::kWordBreak, TextFormatFlags(2, true));
}

TEST(RoundRectRegion, CornerPixelsOutsideTheEllipse) {
    const QRegion region = RoundRectRegion(QRect(0, 0, 10, 10), 4, 4);
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_TRUE(region.contains(QPoint(1, 0)));
    EXPECT_TRUE(region.contains(QPoint(0, 1)));
    EXPECT_FALSE(region.contains(QPoint(9, 9)));
    EXPECT_TRUE(region.contains(QPoint(5, 0)));
    EXPECT_TRUE(region.contains(QPoint(9, 5)));
    EXPECT_EQ(QRegion(QRect(0, 0, 10, 10)), RoundRectRegion(QRect(0, 0, 10, 10), 0, 0));
}

TEST(DrawRoundRect, OnePixelPenOnTheEdgesAndBrushInside) {
    QImage image = NewBitmap(QSize(8, 6), clBlack);
    DrawRoundRect(image, QRect(1, 1, 6, 4), 0, 0, clGray, true, clWhite);
    EXPECT_PIXEL(image, 0, 0, "#000000");
    EXPECT_PIXEL(image, 1, 1, "#808080");
    EXPECT_PIXEL(image, 6, 4, "#808080");  // right and bottom edge lines are inside the rect
    EXPECT_PIXEL(image, 7, 4, "#000000");
    EXPECT_PIXEL(image, 2, 2, "#FFFFFF");
    EXPECT_PIXEL(image, 5, 3, "#FFFFFF");
}

TEST(DrawRoundRect, WidePenIsCentredOnTheOutline) {
    QImage image = NewBitmap(QSize(30, 30), clBlack);
    // Pen 6 on the outline at 5: covers columns 2 .. 7 at the left.
    DrawRoundRect(image, RectFromEdges(5, 5, 25, 25), 0, 6, clGray, true, clWhite);
    EXPECT_PIXEL(image, 1, 15, "#000000");
    EXPECT_PIXEL(image, 2, 15, "#808080");
    EXPECT_PIXEL(image, 7, 15, "#808080");
    EXPECT_PIXEL(image, 8, 15, "#FFFFFF");
    EXPECT_PIXEL(image, 21, 15, "#FFFFFF");
    EXPECT_PIXEL(image, 22, 15, "#808080");
    EXPECT_PIXEL(image, 27, 15, "#808080");
    EXPECT_PIXEL(image, 28, 15, "#000000");
}

namespace {

QImage captionImage(bool enabled, bool shadow, const QString& text, unsigned format) {
    rbtest::ensureApp();
    QImage image = NewBitmap(QSize(80, 40), clGray);
    QFont font = designFont(QStringLiteral("Arial"), 24, true);
    font.setStyleStrategy(QFont::NoAntialias);
    QPainter painter(&image);
    DrawCaptionText(painter, text, font, clBlack, clRed, shadow, format, QRect(4, 4, 70, 30),
                    enabled);
    return image;
}

}  // namespace

TEST(DrawCaptionText, ShadowOnePixelRightAndDownUnderTheText) {
    const QImage image = captionImage(true, true, "H", dt::kLeft | dt::kTop | dt::kSingleLine);
    const rbtest::PointSet text = rbtest::pixelsOf(image, 0x000000);
    const rbtest::PointSet shadow = rbtest::pixelsOf(image, 0xFF0000);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(rbtest::minus(rbtest::shifted(text, 1, 1), text), shadow);
}

TEST(DrawCaptionText, NoShadowWhenSwitchedOff) {
    const QImage image = captionImage(true, false, "H", dt::kLeft | dt::kTop | dt::kSingleLine);
    EXPECT_FALSE(rbtest::pixelsOf(image, 0x000000).empty());
    EXPECT_TRUE(rbtest::pixelsOf(image, 0xFF0000).empty());
}

TEST(DrawCaptionText, DisabledIsEmbossedInHighlightAndShadowColours) {
    const QImage image = captionImage(false, true, "H", dt::kLeft | dt::kTop | dt::kSingleLine);
    const rbtest::PointSet dark = rbtest::pixelsOf(image, rbtest::kTestBtnShadow);
    const rbtest::PointSet light = rbtest::pixelsOf(image, rbtest::kTestBtnHighlight);
    ASSERT_FALSE(dark.empty());
    EXPECT_EQ(rbtest::minus(rbtest::shifted(dark, 1, 1), dark), light);
    EXPECT_TRUE(rbtest::pixelsOf(image, 0x000000).empty());
    EXPECT_TRUE(rbtest::pixelsOf(image, 0xFF0000).empty());
}

TEST(DrawCaptionText, AmpersandUnderlinesTheNextCharacter) {
    const unsigned format = dt::kLeft | dt::kTop | dt::kSingleLine;
    const rbtest::PointSet plainInk = rbtest::pixelsOf(captionImage(true, false, "H", format), 0);
    const rbtest::PointSet markedInk = rbtest::pixelsOf(captionImage(true, false, "&H", format), 0);
    const QRect plain = rbtest::boundsOf(plainInk);
    // The letter is drawn where it was without the ampersand; what is added
    // is the underline, below the letter.
    EXPECT_TRUE(rbtest::minus(plainInk, markedInk).empty());
    const rbtest::PointSet added = rbtest::minus(markedInk, plainInk);
    ASSERT_FALSE(added.empty());
    EXPECT_GT(rbtest::boundsOf(added).top(), plain.bottom());
    // Without prefix processing the ampersand is drawn as a character.
    const QRect literal = rbtest::boundsOf(
        rbtest::pixelsOf(captionImage(true, false, "&H", format | dt::kNoPrefix), 0));
    EXPECT_GT(literal.width(), plain.width() + 5);
}

TEST(DrawTransparent, BottomLeftColourOfTheMaskIsLeftOut) {
    QImage glyph = NewBitmap(QSize(2, 2), clFuchsia);
    glyph.setPixel(1, 0, qRgb(0, 0, 0));
    QImage target = NewBitmap(QSize(4, 4), clWhite);
    DrawTransparent(target, QPoint(1, 1), glyph, glyph);
    EXPECT_PIXEL(target, 1, 1, "#FFFFFF");
    EXPECT_PIXEL(target, 2, 1, "#000000");
    EXPECT_PIXEL(target, 2, 2, "#FFFFFF");
}

TEST(DrawFocusRect, DottedAndUndoneBySecondCall) {
    QImage image = NewBitmap(QSize(6, 6), clWhite);
    DrawFocusRect(image, QRect(1, 1, 4, 4));
    EXPECT_PIXEL(image, 1, 1, "#000000");
    EXPECT_PIXEL(image, 2, 1, "#FFFFFF");
    EXPECT_PIXEL(image, 3, 1, "#000000");
    EXPECT_PIXEL(image, 4, 2, "#000000");
    EXPECT_PIXEL(image, 4, 3, "#FFFFFF");
    EXPECT_PIXEL(image, 2, 2, "#FFFFFF");  // inside untouched
    DrawFocusRect(image, QRect(1, 1, 4, 4));
    EXPECT_PIXEL(image, 1, 1, "#FFFFFF");
}
