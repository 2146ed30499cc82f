// Checks of the cylinder progress bar: range rules, bar end, shading pixels
// worked out by hand from the shading formulas, frames, text effects.
#include "controls/progress_cyl.h"

#include "test_support.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <limits>
#include <memory>

namespace quillmere {
namespace {

// The export window's bar: 246 x 41, no bevels, BevelWidth 1, BorderWidth 2
// (a = 3, b = 4), white margins, silver back, orange fore, maroon edge line,
// both styles with ColorFactor +1 (darkest a third of the way down).
std::unique_ptr<TProgressCyl> exportBar() {
    auto bar = std::make_unique<TProgressCyl>();
    bar->resize(246, 41);
    bar->setBackBorderColor(clBlack);
    bar->setBackColor(12632256);
    const StyleValues style{255, 4, -1, 255, 255, 1, -3};
    bar->setBackStyle(style);
    bar->setForeStyle(style);
    bar->setBevelColor(clWhite);
    bar->setBevelInner(bvNone);
    bar->setBevelOuter(bvNone);
    bar->setBevelWidth(1);
    bar->setBorderWidth(2);
    bar->setColor(clWhite);
    bar->setCylinderEffect(ceMaximum);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    bar->setFont(font);
    bar->setFontEffect(feNone);
    bar->setFontShadowColor(clBlack);
    bar->setForeColor(33023);
    bar->setForeLineColor(128);
    bar->setTextDone(QStringLiteral("Export Complete"));
    bar->setProEffect(peCustom);
    return bar;
}

// ------------------------------------------------------------ defaults ----

TEST(ProgressCylDefaults, constructionSetsTheDocumentedValues) {
    TProgressCyl bar;
    EXPECT_EQ(QSize(150, 22), bar.size());
    EXPECT_EQ(demoSystem, bar.proEffect());
    EXPECT_EQ(clWhite, bar.foreColor());
    EXPECT_EQ(clBtnFace, bar.backColor());
    EXPECT_EQ(clHighlight, bar.foreLineColor());
    EXPECT_EQ(bvLowered, bar.bevelOuter());
    EXPECT_EQ(bvRaised, bar.bevelInner());
    EXPECT_EQ(1, bar.bevelWidth());
    EXPECT_EQ(2, bar.borderWidth());
    EXPECT_EQ(0, bar.min());
    EXPECT_EQ(100, bar.max());
    EXPECT_EQ(0, bar.position());
    EXPECT_EQ(1, bar.step());
    EXPECT_TRUE(bar.stopAtMax());
    EXPECT_EQ(QStringLiteral("%"), bar.text());
    EXPECT_EQ(QStringLiteral("Done"), bar.textDone());
    EXPECT_EQ(QStringLiteral("0%"), bar.displayText());
    EXPECT_EQ(feShadowBottomRight, bar.fontEffect());
    EXPECT_EQ(1, bar.shadowOffset());
    EXPECT_EQ(255, bar.cylinderLevel());
    EXPECT_EQ(QStringLiteral("Arial"), bar.font().family());
    EXPECT_EQ(9, bar.font().pointSize());
    EXPECT_TRUE(bar.font().bold());
    // 1 / 100 held as a float.
    EXPECT_EQ(0.01f, bar.positionScale());
    // b = 4: inner height 14, inner width 142; 255 div 14 = 18, 255 div 142 = 1.
    EXPECT_EQ(18.0f, bar.shadeStepY());
    EXPECT_EQ(1.0f, bar.shadeStepX());
    EXPECT_EQ(kDefaultStyleValues, bar.foreStyle().values());
    EXPECT_EQ(kDefaultStyleValues, bar.backStyle().values());
}

TEST(ProgressCylDefaults, exportBarSizeGivesShadeStepSeven) {
    auto bar = exportBar();
    // Inner height 41 - 8 = 33: 255 div 33 = 7; inner width 238: 255 div 238 = 1.
    EXPECT_EQ(7.0f, bar->shadeStepY());
    EXPECT_EQ(1.0f, bar->shadeStepX());
    EXPECT_EQ(peCustom, bar->proEffect());
}

TEST(ProgressCylDefaults, channelFactorsFollowTheStyle) {
    TProgressCyl bar;
    bar.setForeColor(rgbColor(255, 128, 0));
    // ((c * -1 + 255) / 4 + c) / 255: 255 -> 1, 128 -> 159.75 / 255, 0 -> 0.25.
    EXPECT_EQ(1.0f, bar.foreFactors()[0]);
    EXPECT_EQ(static_cast<float>(159.75L / 255), bar.foreFactors()[1]);
    EXPECT_EQ(0.25f, bar.foreFactors()[2]);
}

// ------------------------------------------------------- range, value ----

struct RangeCase {
    const char* label;
    int min;
    int max;
    int position;
    int setMin;  // applied after min/max/position, when not 0x7fffffff
    int setMax;
    int expectMin;
    int expectMax;
    int expectPosition;
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.label;
}

constexpr int kSkip = 0x7fffffff;

class ProgressCylRange : public testing::TestWithParam<RangeCase> {};

TEST_P(ProgressCylRange, assignmentsKeepMinBelowMaxAndPositionInside) {
    const RangeCase& c = GetParam();
    TProgressCyl bar;
    bar.setMax(c.max);
    bar.setMin(c.min);
    bar.setPosition(c.position);
    if (c.setMin != kSkip) {
        bar.setMin(c.setMin);
    }
    if (c.setMax != kSkip) {
        bar.setMax(c.setMax);
    }
    EXPECT_EQ(c.expectMin, bar.min());
    EXPECT_EQ(c.expectMax, bar.max());
    EXPECT_EQ(c.expectPosition, bar.position());
    EXPECT_LT(bar.min(), bar.max());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProgressCylRange,
    testing::Values(
        RangeCase{"position above max is clamped", 0, 100, 150, kSkip, kSkip, 0, 100, 100},
        RangeCase{"position below min is clamped", 0, 100, -5, kSkip, kSkip, 0, 100, 0},
        RangeCase{"max equal to min 0 becomes 1", 0, 100, 0, kSkip, 0, 0, 1, 0},
        RangeCase{"min equal to max 100 becomes 99", 0, 100, 50, 100, kSkip, 99, 100, 99},
        RangeCase{"min above max is not stored", 0, 100, 50, 200, kSkip, 0, 100, 50},
        RangeCase{"max below min is not stored", 10, 100, 50, kSkip, -5, 10, 100, 50},
        RangeCase{"raising min lifts the position", 0, 100, 20, 50, kSkip, 50, 100, 50},
        RangeCase{"lowering max lowers the position", 0, 100, 50, kSkip, 30, 0, 30, 30},
        RangeCase{"extreme range", -2147483647 - 1, 2147483647, 2147483647, kSkip, kSkip,
                  -2147483647 - 1, 2147483647, 2147483647}));

TEST(ProgressCylPosition, percentRoundsHalvesToEven) {
    TProgressCyl bar;
    bar.setMax(8);
    const struct {
        int position;
        int percent;
    } cases[] = {{1, 12}, {3, 38}, {4, 50}, {5, 62}, {7, 88}, {8, 100}};
    for (const auto& c : cases) {
        bar.setPosition(c.position);
        EXPECT_EQ(c.percent, bar.percent()) << "position " << c.position;
    }
}

TEST(ProgressCylPosition, textDoneAppearsOnceThePercentRoundsTo100) {
    TProgressCyl bar;
    bar.setMax(1000);
    bar.setPosition(994);  // 99.4 -> 99
    EXPECT_EQ(QStringLiteral("99%"), bar.displayText());
    bar.setPosition(996);  // 99.6 -> 100, before Max
    EXPECT_EQ(QStringLiteral("Done"), bar.displayText());
    bar.setTextDone(QString());
    EXPECT_EQ(QStringLiteral("100%"), bar.displayText());
    bar.setPosition(1000);
    EXPECT_EQ(QStringLiteral("100%"), bar.displayText());
}

struct EdgeCase {
    const char* label;
    TProgressBarOrientation orientation;
    int width;
    int height;
    int position;
    int barEdge;
};

void PrintTo(const EdgeCase& c, std::ostream* os) {
    *os << c.label;
}

class ProgressCylEdge : public testing::TestWithParam<EdgeCase> {};

TEST_P(ProgressCylEdge, barEdgeFollowsThePosition) {
    const EdgeCase& c = GetParam();
    TProgressCyl bar;
    bar.resize(c.width, c.height);
    bar.setOrientation(c.orientation);
    bar.setPosition(c.position);
    EXPECT_EQ(c.barEdge, bar.barEdge());
}

// b = 4 throughout; the scale is the float 1/100 (0.0099999998).
INSTANTIATE_TEST_SUITE_P(Geometry, ProgressCylEdge,
                         testing::Values(
                             // E = 0 + 8 - 0 = 8; 8 - 4 = 4, raised to b + 1.
                             EdgeCase{"horizontal at Min: b + 1", pbHorizontal, 246, 41, 0, 5},
                             // E = N(245.99999) + 8 - N(7.9999998) = 246; 246 - 4 = W - b.
                             EdgeCase{"horizontal at Max: W - b", pbHorizontal, 246, 41, 100, 242},
                             // E = N(122.99999) + 8 - N(3.9999999) = 127; 127 - 4.
                             EdgeCase{"horizontal at half", pbHorizontal, 246, 41, 50, 123},
                             // 150 * 1 * 0.0099999998 = 1.4999999 rounds to 1: E = 9, 9 - 4 = 5.
                             EdgeCase{"horizontal, float scale just below a half", pbHorizontal,
                                      150, 22, 1, 5},
                             // E = 8: (100 - 4) - (8 - 8).
                             EdgeCase{"vertical at Min: H - b", pbVertical, 30, 100, 0, 96},
                             // E = N(99.999998) + 8 - 8 = 100: 96 - 92.
                             EdgeCase{"vertical at Max: b", pbVertical, 30, 100, 100, 4},
                             // E = N(24.999999) + 8 - N(1.9999999) = 31: 96 - 23.
                             EdgeCase{"vertical at a quarter", pbVertical, 30, 100, 25, 73}));

TEST(ProgressCylPosition, barEndRoundsHalvesToEven) {
    TProgressCyl bar;  // 150 wide, b = 4
    bar.setMax(4);     // scale 0.25 exactly
    bar.setPosition(1);
    EXPECT_EQ(40, bar.barEdge());  // N(37.5) = 38, N(2) = 2: E = 44
    bar.setPosition(3);
    EXPECT_EQ(110, bar.barEdge());  // N(112.5) = 112, N(6) = 6: E = 114
}

TEST(ProgressCylPosition, progressDoneFiresOnceOnArrival) {
    TProgressCyl bar;
    QSignalSpy done(&bar, &TProgressCyl::OnProgressDone);
    bar.setPosition(50);
    EXPECT_EQ(0, done.count());
    bar.setPosition(150);
    EXPECT_EQ(100, bar.position());
    ASSERT_EQ(1, done.count());
    EXPECT_EQ(&bar, done.at(0).at(0).value<TProgressCyl*>());
    bar.setPosition(100);
    EXPECT_EQ(1, done.count());
    // A relayout at Max (a resize) is no new arrival.
    bar.resize(200, 30);
    bar.setBevelColor(clWhite);
    EXPECT_EQ(1, done.count());
    // Leaving and coming back is.
    bar.setPosition(10);
    bar.setPosition(100);
    EXPECT_EQ(2, done.count());
}

TEST(ProgressCylPosition, progressDoneFiresEvenWhenTheBarEndDoesNotMove) {
    // On a long range the last step moves neither the bar end nor the
    // rounded percentage; arriving at Max must still be reported.
    auto bar = exportBar();
    bar->setMax(1000);
    QSignalSpy done(bar.get(), &TProgressCyl::OnProgressDone);
    bar->setPosition(999);
    const int edge = bar->barEdge();
    bar->setPosition(1000);
    EXPECT_EQ(edge, bar->barEdge());
    EXPECT_EQ(1, done.count());
}

TEST(ProgressCylPosition, loweringMaxOntoThePositionCountsAsArrival) {
    TProgressCyl bar;
    bar.setPosition(40);
    QSignalSpy done(&bar, &TProgressCyl::OnProgressDone);
    bar.setMax(40);
    EXPECT_EQ(1, done.count());
}

// -------------------------------------------------------------- frame ----

TEST(ProgressCylFrame, widthsThatLeaveNoBarAreaAreRefused) {
    TProgressCyl bar;  // 150 x 22
    bar.setBorderWidth(20);
    EXPECT_EQ(2, bar.borderWidth());
    bar.setBevelWidth(5);  // b = 12: inner height 22 - 24 < 0
    EXPECT_EQ(1, bar.bevelWidth());
    bar.setBevelWidth(4);  // b = 10: inner height 2
    EXPECT_EQ(4, bar.bevelWidth());
    EXPECT_TRUE(bar.geometryValid());
    // Negative widths would put the bar area outside the control.
    bar.setBorderWidth(-3);
    EXPECT_EQ(2, bar.borderWidth());
    bar.setBevelWidth(-1);
    EXPECT_EQ(4, bar.bevelWidth());
}

TEST(ProgressCylFrame, styleValuesThatAreNotFiniteAreIgnored) {
    TProgressCyl bar;
    bar.setOrientation(pbVertical);
    bar.foreStyle().setLightAngle(std::numeric_limits<float>::quiet_NaN());
    bar.foreStyle().setIntensity(std::numeric_limits<float>::infinity());
    bar.backStyle().setColorFactor(-std::numeric_limits<float>::infinity());
    EXPECT_EQ(kDefaultStyleValues, bar.foreStyle().values());
    EXPECT_EQ(kDefaultStyleValues, bar.backStyle().values());
    // A vanishingly small light angle is accepted and still paints.
    bar.foreStyle().setLightAngle(1e-30f);
    bar.setPosition(50);
    EXPECT_EQ(QSize(150, 22), bar.paintBuffer().size());
}

struct BevelCase {
    const char* label;
    TBevelCut outer;
    TBevelCut inner;
    int borderWidth;
    TColor innerTop, innerBottom, outerTop, outerBottom;
};

void PrintTo(const BevelCase& c, std::ostream* os) {
    *os << c.label;
}

class ProgressCylBevels : public testing::TestWithParam<BevelCase> {};

TEST_P(ProgressCylBevels, buttonFaceBevelsUseTheSystemColours) {
    const BevelCase& c = GetParam();
    TProgressCyl bar;
    bar.setColor(0x112233);
    bar.setBorderWidth(c.borderWidth);
    bar.setBevelOuter(c.outer);
    bar.setBevelInner(c.inner);
    bar.setBevelColor(clBtnFace);
    EXPECT_EQ(c.innerTop, bar.innerTopColor());
    EXPECT_EQ(c.innerBottom, bar.innerBottomColor());
    EXPECT_EQ(c.outerTop, bar.outerTopColor());
    EXPECT_EQ(c.outerBottom, bar.outerBottomColor());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProgressCylBevels,
    testing::Values(BevelCase{"lowered outer, raised inner", bvLowered, bvRaised, 2, clBtnHighlight,
                              clBtnShadow, clBtnShadow, clBtnHighlight},
                    BevelCase{"both lowered, no border", bvLowered, bvLowered, 0, cl3DDkShadow,
                              cl3DLight, clBtnShadow, clBtnHighlight},
                    BevelCase{"both lowered, border", bvLowered, bvLowered, 1, clBtnShadow,
                              clBtnHighlight, clBtnShadow, clBtnHighlight},
                    BevelCase{"both raised, no border", bvRaised, bvRaised, 0, cl3DLight,
                              clBtnShadow, clBtnHighlight, cl3DDkShadow},
                    BevelCase{"both raised, border", bvRaised, bvRaised, 2, clBtnHighlight,
                              clBtnShadow, clBtnHighlight, clBtnShadow},
                    BevelCase{"space bevels take Color", bvSpace, bvSpace, 2, 0x112233, 0x112233,
                              0x112233, 0x112233}));

TEST(ProgressCylFrame, otherBevelColoursAreShiftedBy64AndClamped) {
    TProgressCyl bar;
    bar.setBevelOuter(bvRaised);
    bar.setBevelInner(bvLowered);
    bar.setBevelColor(rgbColor(0x20, 0x80, 0xF0));
    // Highlight (0x60, 0xC0, 0xFF), shadow (0x00, 0x40, 0xB0).
    EXPECT_EQ(rgbColor(0x60, 0xC0, 0xFF), bar.outerTopColor());
    EXPECT_EQ(rgbColor(0x00, 0x40, 0xB0), bar.outerBottomColor());
    EXPECT_EQ(rgbColor(0x00, 0x40, 0xB0), bar.innerTopColor());
    EXPECT_EQ(rgbColor(0x60, 0xC0, 0xFF), bar.innerBottomColor());
}

TEST(ProgressCylFrame, bevelRingsMarginAndBarFrameArePaintedInPlace) {
    // 20 x 16, BevelWidth 2, BorderWidth 1: a = 3, b = 5. Outer raised
    // (#C0C0C0 top-left, #404040 bottom-right), inner lowered (the reverse),
    // white margin, black bar frame on (5, 5, 15, 11).
    TProgressCyl bar;
    bar.resize(20, 16);
    bar.setShowText(false);
    bar.setBevelOuter(bvRaised);
    bar.setBevelInner(bvLowered);
    bar.setBorderWidth(1);
    bar.setBevelWidth(2);
    bar.setColor(clWhite);
    bar.setBevelColor(rgbColor(0x80, 0x80, 0x80));
    const QImage& image = bar.paintBuffer();
    const struct {
        int x, y;
        const char* color;
    } pixels[] = {
        {0, 0, "#C0C0C0"},  {18, 0, "#C0C0C0"},  {19, 0, "#404040"},  {0, 14, "#C0C0C0"},
        {0, 15, "#404040"}, {19, 15, "#404040"}, {10, 15, "#404040"}, {1, 1, "#C0C0C0"},
        {17, 1, "#C0C0C0"}, {18, 1, "#404040"},  {1, 14, "#404040"},  {18, 8, "#404040"},
        {2, 2, "#FFFFFF"},  {17, 13, "#FFFFFF"}, {3, 3, "#404040"},   {15, 3, "#404040"},
        {16, 3, "#C0C0C0"}, {3, 12, "#C0C0C0"},  {4, 4, "#404040"},   {15, 4, "#C0C0C0"},
        {4, 11, "#C0C0C0"}, {15, 11, "#C0C0C0"}, {5, 5, "#000000"},   {14, 5, "#000000"},
        {5, 10, "#000000"}, {14, 10, "#000000"}, {9, 10, "#000000"},
    };
    for (const auto& p : pixels) {
        EXPECT_PIXEL(image, p.x, p.y, p.color);
    }
}

// ------------------------------------------------------------ shading ----

struct ShadeCase {
    const char* label;
    int position;
    int x;
    int y;
    const char* color;
};

void PrintTo(const ShadeCase& c, std::ostream* os) {
    *os << c.label;
}

class ExportBarShading : public testing::TestWithParam<ShadeCase> {};

// Step 7, k = -11 at row 4 growing by one per row; shade per channel
// trunc((|k| * 7 + 255) * factor), clamped. Factors: fore (255, 128, 0) ->
// (1, 0.62647057, 0.25); edge line (128, 0, 0) -> (0.62647057, 0.25, 0.25);
// back silver 192 -> 207.75 / 255 = 0.81470591.
TEST_P(ExportBarShading, pixelMatchesTheShadingFormula) {
    const ShadeCase& c = GetParam();
    auto bar = exportBar();
    bar->setShowText(false);
    bar->setPosition(c.position);
    EXPECT_PIXEL(bar->paintBuffer(), c.x, c.y, c.color);
}

INSTANTIATE_TEST_SUITE_P(
    Pixels, ExportBarShading,
    testing::Values(
        // At Min the edge line is column b + 1 = 5, the first inside the frame.
        ShadeCase{"min: edge line at k 0 (255 * 0.6265 = 159.7)", 0, 5, 15, "#9F3F3F"},
        ShadeCase{"min: edge line at k -10 (325 * 0.6265 = 203.6, 325 / 4)", 0, 5, 5, "#CB5151"},
        ShadeCase{"min: back right of the line at k 0 (255 * 0.8147 = 207.7)", 0, 6, 15, "#CFCFCF"},
        ShadeCase{"min: back at k -10 (325 * 0.8147 clamps to 255)", 0, 6, 5, "#FFFFFF"},
        ShadeCase{"min: back at k 5 (290 * 0.8147 = 236.3)", 0, 100, 20, "#ECECEC"},
        ShadeCase{"min: frame column b", 0, 4, 15, "#000000"},
        ShadeCase{"min: frame row b", 0, 100, 4, "#000000"},
        ShadeCase{"min: frame column W - b - 1", 0, 241, 15, "#000000"},
        ShadeCase{"min: margin", 0, 2, 20, "#FFFFFF"},
        // Half way the edge line is column 123.
        ShadeCase{"half: fore at k 0 (255, 159.7, 63.75)", 50, 100, 15, "#FF9F3F"},
        ShadeCase{"half: fore at k -5 (290 -> 255, 181.7, 72.5)", 50, 100, 10, "#FFB548"},
        ShadeCase{"half: fore at k 20 (395 -> 255, 247.5, 98.75)", 50, 100, 35, "#FFF762"},
        ShadeCase{"half: edge line", 50, 123, 15, "#9F3F3F"},
        ShadeCase{"half: back after the line", 50, 124, 15, "#CFCFCF"},
        // At Max the edge line falls in column W - b = 242, right of the
        // frame; without an inner bevel it stays visible, also on the frame rows.
        ShadeCase{"max: edge line right of the frame", 100, 242, 15, "#9F3F3F"},
        ShadeCase{"max: edge line on the frame's top row", 100, 242, 4, "#CF5353"},
        ShadeCase{"max: fore before the frame", 100, 240, 15, "#FF9F3F"},
        ShadeCase{"max: frame column", 100, 241, 15, "#000000"},
        ShadeCase{"max: margin after the line", 100, 243, 15, "#FFFFFF"}));

TEST(ProgressCylShading, innerBevelCoversTheEdgeLineAtMax) {
    // Default 150 x 22: a = 3, b = 4; at Max the edge line falls in column
    // W - b = 146, the right column of the inner bevel (3, 3, 147, 19), which
    // is drawn over it in the raised bevel's bottom colour (button shadow).
    TProgressCyl bar;
    bar.setShowText(false);
    bar.setPosition(100);
    ASSERT_EQ(146, bar.barEdge());
    const QImage& image = bar.paintBuffer();
    const QColor shadow = QApplication::palette().color(QPalette::Active, QPalette::Dark);
    const QColor highlight = QApplication::palette().color(QPalette::Active, QPalette::Light);
    const std::string shadowHex = shadow.name().toUpper().toStdString();
    const std::string highlightHex = highlight.name().toUpper().toStdString();
    for (int y = 3; y <= 18; ++y) {
        EXPECT_PIXEL(image, 146, y, shadowHex.c_str());
    }
    EXPECT_PIXEL(image, 3, 10, highlightHex.c_str());  // inner bevel's left edge
    EXPECT_PIXEL(image, 0, 10, shadowHex.c_str());     // lowered outer bevel's left edge
    EXPECT_PIXEL(image, 149, 10, highlightHex.c_str());
}

TEST(ProgressCylShading, flatCylinderDrawsOneColourPerPart) {
    auto bar = exportBar();
    bar->setShowText(false);
    bar->setCylinderEffect(ceFlat);  // 1 div 33 = 0
    EXPECT_EQ(0.0f, bar->shadeStepY());
    bar->setPosition(50);
    const QImage& image = bar->paintBuffer();
    for (int y = 5; y <= 35; ++y) {
        EXPECT_PIXEL(image, 60, y, "#FF9F3F");   // 255 * (1, 0.6265, 0.25)
        EXPECT_PIXEL(image, 200, y, "#CFCFCF");  // 255 * 0.8147
    }
}

TEST(ProgressCylShading, verticalBarFillsFromTheBottom) {
    // 30 x 100 with default styles (ColorFactor -1: brightest at k 0), no
    // bevels, b = 4: inner width 22, step 255 div 22 = 11, k = -7 at column 4.
    // Fore white (factor 1), back grey 128 (0.6265), edge line red.
    TProgressCyl bar;
    bar.resize(30, 100);
    bar.setShowText(false);
    bar.setBevelInner(bvNone);
    bar.setBevelOuter(bvNone);
    bar.setOrientation(pbVertical);
    bar.setForeColor(clWhite);
    bar.setBackColor(rgbColor(128, 128, 128));
    bar.setForeLineColor(rgbColor(255, 0, 0));
    bar.setColor(clWhite);
    EXPECT_EQ(11.0f, bar.shadeStepX());
    bar.setPosition(25);  // edge row 73
    QImage image = bar.paintBuffer();
    EXPECT_PIXEL(image, 11, 50, "#9F9F9F");  // back, k 0: 255 * 0.6265
    EXPECT_PIXEL(image, 5, 50, "#767676");   // back, k -6: 189 * 0.6265 = 118.4
    EXPECT_PIXEL(image, 20, 73, "#9C2727");  // line, k 9: 156, 156 / 4
    EXPECT_PIXEL(image, 11, 80, "#FFFFFF");  // fore, k 0
    EXPECT_PIXEL(image, 25, 80, "#000000");  // frame column W - b - 1
    EXPECT_PIXEL(image, 24, 80, "#707070");  // fore, k 13: 255 - 143 = 112
    // At Min the edge line falls in row H - b = 96, just below the frame.
    bar.setPosition(0);
    image = bar.paintBuffer();
    EXPECT_PIXEL(image, 11, 96, "#FF3F3F");
    EXPECT_PIXEL(image, 11, 95, "#000000");
    EXPECT_PIXEL(image, 11, 94, "#9F9F9F");
    EXPECT_PIXEL(image, 11, 97, "#FFFFFF");  // margin
}

// --------------------------------------------------------------- text ----

// 200 x 40, no bevels, b = 4, flat shading: the filled part pure white
// (255 * factor 1), the unfilled part pure black (ColorRGB 0), at 50 the
// edge line is column 100 (E = N(99.999998) + 8 - N(3.9999999) = 104).
std::unique_ptr<TProgressCyl> blackAndWhiteBar() {
    auto bar = std::make_unique<TProgressCyl>();
    bar->resize(200, 40);
    bar->setBevelInner(bvNone);
    bar->setBevelOuter(bvNone);
    bar->setCylinderEffect(ceFlat);
    bar->setForeColor(clWhite);
    bar->setForeLineColor(clWhite);
    bar->setBackColor(clBlack);
    bar->backStyle().setColorRGB(0);
    bar->setColor(clWhite);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    font.setBold(true);
    bar->setFont(font);
    bar->setPosition(50);
    return bar;
}

TEST(ProgressCylText, invertedTextTakesTheInvertedColoursBeneathIt) {
    auto bar = blackAndWhiteBar();
    bar->setShowText(false);
    const QImage base = bar->paintBuffer().copy();
    EXPECT_PIXEL(base, 60, 20, "#FFFFFF");
    EXPECT_PIXEL(base, 150, 20, "#000000");

    bar->setShowText(true);
    bar->setFontEffect(feInvert);
    bar->setFontColor(rgbColor(255, 0, 0));  // plays no part
    const QImage shown = bar->paintBuffer().copy();

    // The letters as a mask: white text on black at the text origin
    // x = (W - tw) div 2, y = (H - th) div 2 + 1, drawn unsmoothed so every
    // letter pixel inverts fully.
    QFont font = bar->font();
    const QFontMetrics fm(font, &base);
    font.setStyleStrategy(QFont::NoAntialias);
    const QString s = QStringLiteral("50%");
    ASSERT_EQ(s, bar->displayText());
    QImage mask(base.size(), QImage::Format_RGB32);
    mask.fill(qRgb(0, 0, 0));
    {
        QPainter p(&mask);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText((200 - fm.horizontalAdvance(s)) / 2, (40 - fm.height()) / 2 + 1 + fm.ascent(),
                   s);
    }
    int blackOverWhite = 0;
    int whiteOverBlack = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QRgb expected = (base.pixel(x, y) ^ (mask.pixel(x, y) & 0xFFFFFF)) | 0xFF000000;
            ASSERT_EQ(expected, shown.pixel(x, y)) << "at (" << x << ", " << y << ")";
            // Each pixel keeps its colour or takes exactly the inverted one.
            const QRgb m = mask.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(m == 0 || m == 0xFFFFFF) << "at (" << x << ", " << y << ")";
            if (m == 0xFFFFFF) {
                blackOverWhite += base.pixel(x, y) == 0xFFFFFFFF && shown.pixel(x, y) == 0xFF000000;
                whiteOverBlack += base.pixel(x, y) == 0xFF000000 && shown.pixel(x, y) == 0xFFFFFFFF;
            }
        }
    }
    // The text straddles the edge: solid letter pixels over the white part
    // are black, over the black part white.
    EXPECT_GT(blackOverWhite, 10);
    EXPECT_GT(whiteOverBlack, 10);
}

// Bounding box of the pixels that differ from `base`.
QRect changedArea(const QImage& base, const QImage& image) {
    QRect box;
    for (int y = 0; y < base.height(); ++y) {
        for (int x = 0; x < base.width(); ++x) {
            if (base.pixel(x, y) != image.pixel(x, y)) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

TEST(ProgressCylText, shadowIsOnePixelTowardsItsCorner) {
    auto bar = blackAndWhiteBar();
    bar->setPosition(0);  // all black inside the frame
    bar->setShowText(false);
    const QImage base = bar->paintBuffer().copy();
    bar->setShowText(true);
    bar->setFontColor(rgbColor(0, 255, 0));
    bar->setFontShadowColor(rgbColor(255, 0, 255));
    bar->setFontEffect(feNone);
    const QRect plain = changedArea(base, bar->paintBuffer());
    ASSERT_FALSE(plain.isEmpty());
    bar->setFontEffect(feShadowBottomRight);
    EXPECT_EQ(1, bar->shadowOffset());
    EXPECT_EQ(plain.adjusted(0, 0, 1, 1), changedArea(base, bar->paintBuffer()));
    bar->setFontEffect(feShadowTopLeft);
    EXPECT_EQ(-1, bar->shadowOffset());
    EXPECT_EQ(plain.adjusted(-1, -1, 0, 0), changedArea(base, bar->paintBuffer()));
}

TEST(ProgressCylText, rotatedTextRunsAlongTheBar) {
    TProgressCyl bar;
    bar.resize(40, 200);
    bar.setOrientation(pbVertical);
    EXPECT_EQ(foBottomToTop, bar.fontOrientation());
    bar.setShowText(false);
    const QImage base = bar.paintBuffer().copy();
    bar.setShowText(true);
    bar.setFontEffect(feNone);
    const QRect up = changedArea(base, bar.paintBuffer());
    bar.setFontOrientation(foTopToBottom);
    const QRect down = changedArea(base, bar.paintBuffer());
    for (const QRect& r : {up, down}) {
        ASSERT_FALSE(r.isEmpty());
        EXPECT_GT(r.height(), r.width());
        EXPECT_NEAR(100, r.center().y(), 3);
        EXPECT_NEAR(20, r.center().x(), 3);
    }
    bar.setOrientation(pbHorizontal);
    EXPECT_EQ(foLeftToRight, bar.fontOrientation());
}

TEST(ProgressCylText, invertBitmapFollowsShowTextAndTheEffect) {
    TProgressCyl bar;
    EXPECT_FALSE(bar.hasInvertBitmap());
    bar.setFontEffect(feInvert);
    EXPECT_TRUE(bar.hasInvertBitmap());
    bar.setShowText(false);
    EXPECT_FALSE(bar.hasInvertBitmap());
    bar.setShowText(true);
    EXPECT_TRUE(bar.hasInvertBitmap());
    bar.setFontEffect(feShadowTopLeft);
    EXPECT_FALSE(bar.hasInvertBitmap());
    EXPECT_EQ(-1, bar.shadowOffset());
}

// ------------------------------------------------------------- events ----

class CountingBar : public TProgressCyl {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        TProgressCyl::paintEvent(event);
    }
};

TEST(ProgressCylEvents, positionThatMovesNothingCausesNoRepaint) {
    CountingBar bar;
    bar.setMax(1000);
    bar.setPosition(500);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QApplication::processEvents();
    bar.paints = 0;
    // 150 * 0.501 = 75.15 and 150 * 0.5 = 75 round alike; 50.1 % rounds to 50.
    bar.setPosition(501);
    QApplication::processEvents();
    EXPECT_EQ(0, bar.paints);
    bar.setPosition(600);
    QApplication::processEvents();
    EXPECT_GE(bar.paints, 1);
}

TEST(ProgressCylEvents, mouseEnterAndLeaveAreReported) {
    TProgressCyl bar;
    QSignalSpy entered(&bar, &TProgressCyl::OnMouseEnter);
    QSignalSpy left(&bar, &TProgressCyl::OnMouseLeave);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&bar, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&bar, &leave);
    EXPECT_EQ(1, entered.count());
    EXPECT_EQ(1, left.count());
}

TEST(ProgressCylEvents, resizeKeepsTheLayoutInStep) {
    TProgressCyl bar;
    bar.setPosition(100);
    bar.resize(246, 41);
    // Whether or not the resize event has been delivered, painting uses the
    // new size: edge line at W - b, step 255 div 33 for the inner height.
    const QImage& image = bar.paintBuffer();
    EXPECT_EQ(QSize(246, 41), image.size());
    EXPECT_EQ(242, bar.barEdge());
    EXPECT_EQ(7.0f, bar.shadeStepY());
}

TEST(ProgressCylEvents, zeroBevelSpaceStaysInsideTheImage) {
    // b = 0: at Max the edge line would fall in column W, outside the image.
    TProgressCyl bar;
    bar.setBevelInner(bvNone);
    bar.setBevelOuter(bvNone);
    bar.setBorderWidth(0);
    bar.setBevelWidth(0);
    EXPECT_EQ(0, bar.bevelWidth());
    bar.setPosition(100);
    EXPECT_EQ(150, bar.barEdge());
    const QImage& image = bar.paintBuffer();
    EXPECT_EQ(QSize(150, 22), image.size());
}

}  // namespace
}  // namespace quillmere
