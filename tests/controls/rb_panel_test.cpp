// Pixel tests of the drawn panel and its window styles. Expected colours come
// from the gradient and averaging formulas worked by hand.
#include "controls/rb_panel.h"
#include "controls/rb_fonts.h"
#include "controls/rb_panel_styles.h"

#include "rb_test_app.h"
#include "test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace quillmere;

namespace {

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override { rbtest::ensureApp(); }
};

QImage shown(TRbPanel& panel) {
    return panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST_F(PanelTest, DefaultsOfANewPanel) {
    TRbPanel panel(nullptr, "RbPanel7");
    EXPECT_EQ(QSize(185, 105), panel.size());
    EXPECT_EQ("RbPanel7", panel.Caption());
    EXPECT_EQ(cpTopLeft, panel.CaptionPosition());
    EXPECT_EQ(10, panel.CornerWidth());
    EXPECT_EQ(2, panel.BorderWidth());
    EXPECT_EQ(8421504u, panel.BorderColor());
    EXPECT_EQ(clBtnFace, panel.OuterColor());
    EXPECT_EQ(14933983u, panel.Color());
    EXPECT_EQ(16777215u, panel.TextShadowColor());
    EXPECT_TRUE(panel.Antialiased());
    EXPECT_FALSE(panel.Gradient());
    EXPECT_EQ(16777215u, panel.DefaultFrom());
    EXPECT_EQ(14933983u, panel.DefaultTo());
    EXPECT_EQ(gtVertical, panel.GradientType());
    EXPECT_EQ(13500416u, panel.FontColor());
    EXPECT_TRUE(panel.TextShadow());
    EXPECT_TRUE(panel.ShowCaption());
    panel.setObjectName("Renamed");
    EXPECT_EQ("Renamed", panel.Caption());
    panel.SetCaption("");
    panel.setObjectName("Again");
    EXPECT_EQ("", panel.Caption());
}

TEST_F(PanelTest, TitleBarRowsFollowTheDoubleGradientUnderAOnePixelFrame) {
    TRbPanel panel;
    applyTitleBarStyle(panel);
    panel.SetCaption("");
    panel.resize(100, 45);
    const QImage image = shown(panel);
    for (int x = 0; x < 100; x += 11) {
        EXPECT_PIXEL(image, x, 0, "#808080");
        EXPECT_PIXEL(image, x, 44, "#808080");
    }
    EXPECT_PIXEL(image, 0, 22, "#808080");
    EXPECT_PIXEL(image, 99, 22, "#808080");
    for (int x = 1; x < 99; x += 7) {
        EXPECT_PIXEL(image, x, 22, "#1084D0");
        EXPECT_PIXEL(image, x, 21, "#1486D2");  // one row away: 20.41, 134.36, 210.14
        EXPECT_PIXEL(image, x, 23, "#1486D2");
        EXPECT_PIXEL(image, x, 11, "#409EE8");  // 64.5 -> 64, 158, 231.5 -> 232
        EXPECT_PIXEL(image, x, 33, "#409EE8");
        EXPECT_PIXEL(image, x, 1, "#6DB6FD");  // 21 rows away
        EXPECT_PIXEL(image, x, 43, "#6DB6FD");
    }
}

TEST_F(PanelTest, ButtonBarIsTheGreenGradient) {
    TRbPanel panel;
    applyButtonBarStyle(panel);
    panel.resize(60, 45);
    EXPECT_FALSE(panel.ShowCaption());
    const QImage image = shown(panel);
    EXPECT_PIXEL(image, 30, 22, "#009F00");
    // Row 1, 21 rows away: 0 + 3 * 21/22 = 2.86, 159 + 40 * 21/22 = 197.18,
    // 0 + 82 * 21/22 = 78.27.
    EXPECT_PIXEL(image, 30, 1, "#03C54E");
    EXPECT_PIXEL(image, 30, 0, "#808080");
}

TEST_F(PanelTest, ContentFrameIsSmoothedInA22PixelBandAndWhiteInside) {
    TRbPanel panel;
    applyContentFrameStyle(panel);
    panel.SetShowCaption(false);
    panel.resize(200, 100);
    const QImage image = shown(panel);
    // At three times the size the 20-pixel pen covers big columns 0..19 and
    // 580..599; small column 6 covers big 18, 19 (silver) and 20 (white):
    // (2 * 192 + 255) / 3 = 213.
    EXPECT_PIXEL(image, 5, 50, "#C0C0C0");
    EXPECT_PIXEL(image, 6, 50, "#D5D5D5");
    EXPECT_PIXEL(image, 7, 50, "#FFFFFF");
    EXPECT_PIXEL(image, 192, 50, "#FFFFFF");
    EXPECT_PIXEL(image, 193, 50, "#D5D5D5");
    EXPECT_PIXEL(image, 194, 50, "#C0C0C0");
    EXPECT_PIXEL(image, 100, 6, "#D5D5D5");
    EXPECT_PIXEL(image, 100, 93, "#D5D5D5");
    EXPECT_PIXEL(image, 0, 0, "#C0C0C0");
    // Inner corner of the frame: big pixels (27..29, 27..29) against the inner
    // ellipse of radius 27.5 around (47.5, 47.5): three silver, six white.
    EXPECT_PIXEL(image, 9, 9, "#EAEAEA");
    // Band = (25 + 20) / 2 = 22: everything from 22 to width - 22 is flat white.
    for (int y = 22; y < 78; ++y) {
        for (int x = 22; x < 178; ++x) {
            ASSERT_EQ(0xFFFFFFu, image.pixel(x, y) & 0xFFFFFF) << x << "," << y;
        }
    }
}

TEST_F(PanelTest, ContentFrameClientAreaPlacesAFillingChildAtEight) {
    TRbPanel panel;
    applyContentFrameStyle(panel);
    auto* layout = new QVBoxLayout(&panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* child = new QWidget;
    layout->addWidget(child);
    panel.resize(300, 200);
    panel.show();
    layout->activate();
    EXPECT_EQ(QRect(8, 8, 284, 184), child->geometry());
    EXPECT_EQ(QRect(8, 8, 284, 184), panel.ClientArea());
    panel.SetBorderWidth(3);
    layout->activate();
    EXPECT_EQ(QRect(4, 4, 292, 192), child->geometry());
}

TEST_F(PanelTest, AntialiasingAndGradientExcludeEachOther) {
    TRbPanel panel;
    panel.SetGradient(true);
    EXPECT_FALSE(panel.Gradient()) << "robustness: gradient refused while antialiased";
    panel.SetAntialiased(false);
    panel.SetGradient(true);
    EXPECT_TRUE(panel.Gradient());
    panel.SetAntialiased(true);
    EXPECT_FALSE(panel.Gradient()) << "nominal: antialiasing switches the gradient off";
}

TEST_F(PanelTest, OutOfRangeWidthsAreIgnored) {
    TRbPanel panel;
    panel.SetBorderWidth(0);
    EXPECT_EQ(2, panel.BorderWidth());
    panel.SetBorderWidth(-4);
    EXPECT_EQ(2, panel.BorderWidth());
    panel.SetCornerWidth(-1);
    EXPECT_EQ(10, panel.CornerWidth());
    panel.SetCornerWidth(0);
    EXPECT_EQ(0, panel.CornerWidth());
}

TEST_F(PanelTest, EqualGradientColoursGiveAFlatFill) {
    TRbPanel panel;
    panel.SetAntialiased(false);
    panel.SetGradient(true);
    panel.SetCornerWidth(0);
    panel.SetBorderWidth(1);
    panel.SetDefaultFrom(0x123456);
    panel.SetDefaultTo(0x123456);
    panel.SetShowCaption(false);
    panel.resize(20, 20);
    const QImage image = shown(panel);
    for (int y = 1; y < 19; ++y) {
        EXPECT_PIXEL(image, 5, y, "#563412");
    }
}

TEST_F(PanelTest, PaintOnlyCopiesTheCachedBackground) {
    TRbPanel panel;
    applyTitleBarStyle(panel);
    panel.SetShowCaption(false);
    panel.resize(120, 45);
    panel.show();
    const int rebuilds = panel.RebuildCount();
    QImage first;
    for (int i = 0; i < 3; ++i) {
        first = shown(panel);
        panel.repaint();
    }
    EXPECT_EQ(rebuilds, panel.RebuildCount());
    EXPECT_EQ(panel.Background(), first);
    panel.resize(130, 45);
    EXPECT_EQ(rebuilds + 1, panel.RebuildCount()) << "a resize rebuilds once";
    EXPECT_EQ(QSize(130, 45), panel.Background().size());
}

TEST_F(PanelTest, LoadingDefersTheRebuildToTheEnd) {
    TRbPanel panel;
    panel.show();
    const int rebuilds = panel.RebuildCount();
    panel.BeginLoad();
    panel.SetBorderWidth(4);
    panel.SetColor(clWhite);
    panel.SetCornerWidth(12);
    panel.SetOuterColor(clSilver);
    EXPECT_EQ(rebuilds, panel.RebuildCount());
    panel.EndLoad();
    EXPECT_EQ(rebuilds + 1, panel.RebuildCount());
}

namespace {

// Ink bounds of the caption "Ab" at a position, on a plain white panel.
QRect captionInk(TRbCaptionPos position) {
    TRbPanel panel;
    panel.SetAntialiased(false);
    panel.SetColor(clWhite);
    panel.SetBorderColor(clWhite);
    panel.SetOuterColor(clWhite);
    panel.SetTextShadow(false);
    QFont font = designFont("Arial", 16, true);
    font.setStyleStrategy(QFont::NoAntialias);
    panel.setFont(font);
    panel.SetFontColor(clBlack);
    panel.SetCaption("Ab");
    panel.SetCaptionPosition(position);
    return rbtest::boundsOf(rbtest::pixelsOf(shown(panel), 0x000000));
}

}  // namespace

TEST_F(PanelTest, CaptionPositionsPlaceTheTextInTheirCorner) {
    // Caption rect: k = (10 + 2) / 2 = 6, so (6, 2) to (179, 103).
    const QRect topLeft = captionInk(cpTopLeft);
    const QRect topRight = captionInk(cpTopRight);
    const QRect middleCenter = captionInk(cpMiddleCenter);
    const QRect bottomCenter = captionInk(cpBottomCenter);
    ASSERT_FALSE(topLeft.isNull());
    EXPECT_GE(topLeft.left(), 6);
    EXPECT_LE(topLeft.left(), 9);
    EXPECT_GE(topLeft.top(), 2);
    EXPECT_LE(topLeft.top(), 8);
    EXPECT_LE(topRight.right(), 178);
    EXPECT_GE(topRight.right(), 175);
    EXPECT_EQ(topLeft.top(), topRight.top());
    EXPECT_NEAR(92, middleCenter.center().x(), 2);
    EXPECT_NEAR(52, middleCenter.center().y(), 3);
    EXPECT_GE(bottomCenter.bottom(), 92);
    EXPECT_LE(bottomCenter.bottom(), 102);
    EXPECT_EQ(middleCenter.left(), bottomCenter.left());
    EXPECT_EQ(topLeft.left(), captionInk(cpBottomLeft).left());
    EXPECT_EQ(topRight.right(), captionInk(cpBottomRight).right());
    EXPECT_EQ(middleCenter.top(), captionInk(cpMiddleRight).top());
    // Middle left and right widen the rect outward by (10 - 2) / 2 = 4.
    EXPECT_EQ(topLeft.left() - 4, captionInk(cpMiddleLeft).left());
    EXPECT_EQ(topRight.right() + 4, captionInk(cpMiddleRight).right());
    EXPECT_NEAR(92, captionInk(cpTopCenter).center().x(), 2);
}

TEST_F(PanelTest, GroupBoxLowersTheFrameByHalfTheTextHeight) {
    TRbPanel panel;
    panel.SetAntialiased(false);
    panel.SetCornerWidth(0);
    panel.SetBorderWidth(1);
    panel.SetOuterColor(clWhite);
    panel.SetShowCaption(false);
    panel.SetCaptionPosition(cpGroupBox);
    const int drop = QFontMetrics(panel.font()).height() / 2;
    const QImage image = shown(panel);
    EXPECT_PIXEL(image, 100, drop - 1, "#FFFFFF");
    EXPECT_PIXEL(image, 100, drop, "#808080");
    EXPECT_GT(panel.ClientArea().top(), drop);
}

TEST_F(PanelTest, ParentColorMakesTheOuterColourFollowTheParentPanel) {
    TRbPanel outer;
    outer.SetColor(clWhite);
    auto* inner = new TRbPanel(&outer);
    EXPECT_EQ(clBtnFace, inner->OuterColor()) << "off by default";
    inner->SetParentColor(true);
    EXPECT_EQ(clWhite, inner->OuterColor());
    outer.SetColor(0x00FF00);
    EXPECT_EQ(0x00FF00u, inner->OuterColor());
    inner->SetParentColor(false);
    outer.SetColor(clRed);
    EXPECT_EQ(0x00FF00u, inner->OuterColor());
}

TEST_F(PanelTest, ClickingAPanelLeavesTheFocusAlone) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* panel = new TRbPanel(&window);
    panel->move(0, 40);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(edit->hasFocus());
}
