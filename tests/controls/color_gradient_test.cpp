// Pixel checks of the multi-colour gradient fill. Expected colours are worked
// out by hand from the band rules: band length L = S / (n - 1) rounded half
// to even, the last band one line shorter, channel = trunc((b - a) * (r / len)
// + a) with the ratio as a double and the product in extended precision.
#include "controls/color_gradient.h"

#include "test_support.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <map>
#include <string>
#include <vector>

namespace quillmere {
namespace {

constexpr QRgb kUntouched = 0xFF123456;  // "#123456"

TColor hex(const char* rrggbb) {
    const QColor c(rrggbb);
    return rgbColor(c.red(), c.green(), c.blue());
}

QImage blankImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kUntouched);
    return image;
}

struct GradientCase {
    const char* label;
    std::vector<const char*> colors;
    int extent;
    std::map<int, std::string> lines;  // line position -> expected colour
};

void PrintTo(const GradientCase& c, std::ostream* os) {
    *os << c.label;
}

class GradientLines : public testing::TestWithParam<GradientCase> {};

// Each case is drawn both ways: vertical lines across a horizontal gradient
// and horizontal lines down a vertical one, on an image with room past the
// far edge (lines of an over-long band may land there).
TEST_P(GradientLines, horizontalGradientPaintsEachColumnInItsColour) {
    const GradientCase& c = GetParam();
    std::vector<TColor> colors;
    for (const char* h : c.colors) {
        colors.push_back(hex(h));
    }
    QImage image = blankImage(c.extent + 8, 6);
    {
        QPainter painter(&image);
        DrawColorGradient(painter, {2, 1, 2 + c.extent, 5}, true, colors);
    }
    for (const auto& [pos, expected] : c.lines) {
        for (int y = 1; y < 5; ++y) {
            EXPECT_PIXEL(image, 2 + pos, y, expected.c_str());
        }
        EXPECT_PIXEL(image, 2 + pos, 0, "#123456");  // the line's end points stay outside
        EXPECT_PIXEL(image, 2 + pos, 5, "#123456");
    }
    const int lastLine = c.lines.empty() ? -1 : c.lines.rbegin()->first;
    EXPECT_PIXEL(image, 2 + lastLine + 1, 2, "#123456");
    EXPECT_PIXEL(image, 1, 2, "#123456");
}

TEST_P(GradientLines, verticalGradientPaintsEachRowInItsColour) {
    const GradientCase& c = GetParam();
    std::vector<TColor> colors;
    for (const char* h : c.colors) {
        colors.push_back(hex(h));
    }
    QImage image = blankImage(7, c.extent + 8);
    {
        QPainter painter(&image);
        DrawColorGradient(painter, {1, 3, 6, 3 + c.extent}, false, colors);
    }
    for (const auto& [pos, expected] : c.lines) {
        for (int x = 1; x < 6; ++x) {
            EXPECT_PIXEL(image, x, 3 + pos, expected.c_str());
        }
        EXPECT_PIXEL(image, 0, 3 + pos, "#123456");
        EXPECT_PIXEL(image, 6, 3 + pos, "#123456");
    }
    EXPECT_PIXEL(image, 3, 2, "#123456");
}

INSTANTIATE_TEST_SUITE_P(
    BandLayout, GradientLines,
    testing::Values(
        // One band of len 10 - 0 - 1 = 9: t = 0, 1/9, ..., 1; 255 * 3/9 lies
        // just below 85.
        GradientCase{"two colours, extent 10",
                     {"#000000", "#FFFFFF"},
                     10,
                     {{0, "#000000"},
                      {1, "#1C1C1C"},
                      {3, "#545454"},
                      {5, "#8D8D8D"},
                      {7, "#C6C6C6"},
                      {9, "#FFFFFF"}}},
        // len 3: 255 * (1/3) = 84.99..., 255 * (2/3) = 169.99..., truncated.
        GradientCase{"black to white, extent 4",
                     {"#000000", "#FFFFFF"},
                     4,
                     {{0, "#000000"}, {1, "#545454"}, {2, "#A9A9A9"}, {3, "#FFFFFF"}}},
        // 3/5 as a double is just below 0.6: 255 * t = 152.99..., which a
        // double product would round up to 153.
        GradientCase{"black to white, extent 6",
                     {"#000000", "#FFFFFF"},
                     6,
                     {{0, "#000000"},
                      {1, "#333333"},
                      {2, "#666666"},
                      {3, "#989898"},
                      {4, "#CCCCCC"},
                      {5, "#FFFFFF"}}},
        // The menu's icon column: L = 13, band 0 lines 0..13 blends
        // #DFEEF7 -> #7CA8D3 (line 6: 223 - 99 * 6/13 = 177.3 -> B1, 238 - 70
        // * 6/13 = 205.7 -> CD, 247 - 36 * 6/13 = 230.4 -> E6); band 1 (len 12)
        // is flat from 13 to 25.
        GradientCase{"three colours, extent 26",
                     {"#DFEEF7", "#7CA8D3", "#7CA8D3"},
                     26,
                     {{0, "#DFEEF7"},
                      {1, "#D7E8F4"},
                      {6, "#B1CDE6"},
                      {12, "#83ADD5"},
                      {13, "#7CA8D3"},
                      {14, "#7CA8D3"},
                      {25, "#7CA8D3"}}},
        // The amber highlight: flat first half, then blending to #FFD25E.
        GradientCase{
            "amber, extent 26",
            {"#FFF5DD", "#FFF5DD", "#FFD25E"},
            26,
            {{0, "#FFF5DD"}, {13, "#FFF5DD"}, {14, "#FFF2D2"}, {19, "#FFE39D"}, {25, "#FFD25E"}}},
        // 10.5 rounds to 10: band 0 covers 0..10, band 1 (len 10) 10..20.
        GradientCase{"three colours, extent 21",
                     {"#FF0000", "#00FF00", "#0000FF"},
                     21,
                     {{0, "#FF0000"},
                      {3, "#B24C00"},
                      {5, "#7F7F00"},
                      {10, "#00FF00"},
                      {15, "#007F7F"},
                      {19, "#0019E5"},
                      {20, "#0000FF"}}},
        // 2.5 rounds to 2 (half to even): band 0 lines 0..2, band 1 2..4.
        GradientCase{
            "three colours, extent 5",
            {"#FF0000", "#00FF00", "#0000FF"},
            5,
            {{0, "#FF0000"}, {1, "#7F7F00"}, {2, "#00FF00"}, {3, "#007F7F"}, {4, "#0000FF"}}},
        // 3.5 rounds to 4: band 0 lines 0..4, band 1 (len 2) 4..6.
        GradientCase{"three colours, extent 7",
                     {"#FF0000", "#00FF00", "#0000FF"},
                     7,
                     {{0, "#FF0000"},
                      {1, "#BF3F00"},
                      {2, "#7F7F00"},
                      {4, "#00FF00"},
                      {5, "#007F7F"},
                      {6, "#0000FF"}}},
        // L = 0.75 -> 1: bands 0..2 draw lines 0..3, line 3 on the far edge;
        // the last band (len -1) draws nothing, so #00FFFF never appears.
        GradientCase{"five colours, extent 3",
                     {"#FF0000", "#00FF00", "#0000FF", "#FFFF00", "#00FFFF"},
                     3,
                     {{0, "#FF0000"}, {1, "#00FF00"}, {2, "#0000FF"}, {3, "#FFFF00"}}},
        // Bands of length 0 take their start colour instead of 0 / 0.
        GradientCase{"three colours, extent 1 (0.5 rounds to 0)",
                     {"#FF0000", "#00FF00", "#0000FF"},
                     1,
                     {{0, "#00FF00"}}},
        GradientCase{"three colours, extent 2",
                     {"#FF0000", "#00FF00", "#0000FF"},
                     2,
                     {{0, "#FF0000"}, {1, "#00FF00"}}},
        GradientCase{"three colours, extent 3 (1.5 rounds to 2)",
                     {"#FF0000", "#00FF00", "#0000FF"},
                     3,
                     {{0, "#FF0000"}, {1, "#7F7F00"}, {2, "#00FF00"}}}));

TEST(DrawColorGradient, emptyRectangleWithThreeColoursDrawsOnlyItsEdgeLine) {
    // Extent 0: band 0 has len 0 and draws line 0 on the (empty) rectangle's
    // edge in colour 0; the last band (len -1) draws nothing.
    QImage image = blankImage(6, 6);
    {
        QPainter painter(&image);
        DrawColorGradient(painter, {2, 1, 2, 5}, true,
                          {hex("#FF0000"), hex("#00FF00"), hex("#0000FF")});
    }
    EXPECT_PIXEL(image, 2, 1, "#FF0000");
    EXPECT_PIXEL(image, 2, 4, "#FF0000");
    EXPECT_PIXEL(image, 3, 2, "#123456");
    EXPECT_PIXEL(image, 1, 2, "#123456");
}

TEST(DrawColorGradient, fewerThanTwoColoursRaiseAndDrawNothing) {
    for (const std::vector<TColor>& colors : {std::vector<TColor>{}, std::vector<TColor>{0}}) {
        QImage image = blankImage(4, 4);
        QPainter painter(&image);
        const QPen pen(QColor(1, 2, 3), 5, Qt::DotLine);
        painter.setPen(pen);
        EXPECT_THROW_MSG(DrawColorGradient(painter, {0, 0, 4, 4}, true, colors), GradientError,
                         "Please specify at least two colors.");
        EXPECT_THROW_MSG(DrawColorGradient(painter, {0, 0, 4, 4}, false, colors), Error,
                         "Please specify at least two colors.");
        EXPECT_EQ(pen, painter.pen());
        painter.end();
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                EXPECT_PIXEL(image, x, y, "#123456");
            }
        }
    }
}

TEST(DrawColorGradient, penAndAntialiasingAreLeftAsTheyWere) {
    QImage image = blankImage(20, 20);
    QPainter painter(&image);
    QPen pen(QColor(255, 0, 0), 3, Qt::DashLine);
    painter.setPen(pen);
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawColorGradient(painter, {0, 0, 20, 20}, true, {hex("#000000"), hex("#FFFFFF")});
    EXPECT_EQ(3, painter.pen().width());
    EXPECT_EQ(Qt::DashLine, painter.pen().style());
    EXPECT_EQ(QColor(255, 0, 0), painter.pen().color());
    EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
    painter.end();
    // Lines stay one pixel wide and crisp even though antialiasing was on.
    EXPECT_PIXEL(image, 0, 10, "#000000");
    EXPECT_PIXEL(image, 19, 10, "#FFFFFF");
}

TEST(DrawColorGradient, emptyCrossExtentPaintsNothing) {
    QImage image = blankImage(6, 6);
    {
        QPainter painter(&image);
        DrawColorGradient(painter, {1, 4, 5, 2}, true, {hex("#FF0000"), hex("#00FF00")});
        DrawColorGradient(painter, {4, 1, 2, 5}, false, {hex("#FF0000"), hex("#00FF00")});
    }
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_PIXEL(image, x, y, "#123456");
        }
    }
}

TEST(DrawColorGradient, systemColoursAreResolvedThroughThePalette) {
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    QImage image = blankImage(5, 3);
    {
        QPainter painter(&image);
        DrawColorGradient(painter, {0, 0, 5, 3}, true, {clBtnFace, clBtnFace});
    }
    const std::string expected = face.name(QColor::HexRgb).toUpper().toStdString();
    for (int x = 0; x < 5; ++x) {
        EXPECT_PIXEL(image, x, 1, expected.c_str());
    }
}

}  // namespace
}  // namespace quillmere
