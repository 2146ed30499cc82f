// Behaviour and pixel tests of the drawn check box.
#include "controls/rb_check_box.h"

#include "rb_test_app.h"
#include "test_support.h"

#include <QApplication>
#include <QEnterEvent>
#include <QTest>

#include <cmath>

using namespace quillmere;

namespace {

class CheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        rbtest::ensureApp();
        box = std::make_unique<TRbCheckBox>(nullptr, "chkSkip");
        box->SetCaption("");
        box->SetShowFocusRect(false);
    }
    std::unique_ptr<TRbCheckBox> box;
};

// Channel of the 13 x 13 diagonal box gradient at (x, y): L = round(sqrt(338))
// = 18, s = sqrt(x^2 + y^2), round(from + (to - from) / 18 * s).
int diagonal(int from, int to, int x, int y) {
    return static_cast<int>(std::nearbyint(from + (to - from) / 18.0 * std::sqrt(x * x + y * y)));
}

}  // namespace

TEST(CheckMark, ResourceHoldsTheEightByEightMark) {
    rbtest::ensureApp();
    const char* rows[] = {"........", ".......X", "......XX", ".X...XXX",
                          ".XX.XXX.", ".XXXXX..", "..XXX...", "...X...."};
    const QImage mark = CheckMarkPicture();
    ASSERT_EQ(QSize(8, 8), mark.size());
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_PIXEL(mark, x, y, rows[y][x] == 'X' ? "#000000" : "#FF00FF");
        }
    }
}

TEST_F(CheckBoxTest, Defaults) {
    TRbCheckBox fresh(nullptr, "chkSkip");
    EXPECT_EQ(QSize(130, 17), fresh.size());
    EXPECT_EQ("chkSkip", fresh.Caption());
    EXPECT_FALSE(fresh.Checked());
    EXPECT_EQ(32768u, fresh.CheckColor());
    EXPECT_EQ(3, fresh.Spacing());
    EXPECT_EQ(0u, fresh.BorderLines());
    EXPECT_EQ(8421504u, fresh.BorderLinesColor());
    EXPECT_EQ(QRect(1, 1, 13, 13), fresh.BoxRect());
}

TEST_F(CheckBoxTest, BoxPicturesHaveTheDiagonalGradientAndABorder) {
    const QImage& normal = box->NormalImage();
    EXPECT_PIXEL(normal, 0, 0, "#808080");
    EXPECT_PIXEL(normal, 12, 12, "#808080");
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02X%02X%02X", diagonal(255, 0xAF, 5, 3),
                  diagonal(255, 0xBE, 5, 3), diagonal(255, 0xD1, 5, 3));
    EXPECT_PIXEL(normal, 5, 3, hex);
    EXPECT_PIXEL(box->PressedImage(), 0, 0, "#D6CFC6");  // no border on the pressed picture
}

TEST_F(CheckBoxTest, CheckedShowsThePureGreenMarkShiftedByTheBoxCorner) {
    box->SetChecked(true);
    const QImage image = box->Compose();
    // Box at (1, 1) in the composed picture, which lands at (1, 1): the box
    // shows at (2, 2) and the mark (box corner + (2, 2)) at (4, 4).
    EXPECT_PIXEL(image, 2, 2, "#808080");
    EXPECT_PIXEL(image, 14, 2, "#808080");
    EXPECT_PIXEL(image, 1, 1, "#F0F0F0");
    EXPECT_PIXEL(image, 0, 0, "#F0F0F0");
    EXPECT_PIXEL(image, 4 + 7, 4 + 1, "#008000");
    EXPECT_PIXEL(image, 4 + 1, 4 + 3, "#008000");
    EXPECT_PIXEL(image, 4 + 3, 4 + 7, "#008000");
    // Background pixels of the mark are transparent: the box gradient at (2, 2).
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02X%02X%02X", diagonal(255, 0xAF, 2, 2),
                  diagonal(255, 0xBE, 2, 2), diagonal(255, 0xD1, 2, 2));
    EXPECT_EQ("#F2F5F8", std::string(hex));
    EXPECT_PIXEL(image, 4, 4, hex);
    box->setEnabled(false);
    EXPECT_PIXEL(box->Compose(), 4 + 7, 4 + 1, "#808080");
}

TEST_F(CheckBoxTest, ClickTogglesAndCallsOnClick) {
    int clicks = 0;
    QObject::connect(box.get(), &TRbCheckBox::OnClick, [&] { ++clicks; });
    box->show();
    QTest::mouseClick(box.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(1, clicks);
    QTest::mouseClick(box.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(2, clicks);
}

// Space toggles the box so that it can be used without a mouse; Enter and
// Space with a modifier leave it alone.
TEST_F(CheckBoxTest, SpaceTogglesButNotEnterOrModifiedSpace) {
    int clicks = 0;
    QObject::connect(box.get(), &TRbCheckBox::OnClick, [&] { ++clicks; });
    box->show();
    box->setFocus();
    QTest::keyClick(box.get(), Qt::Key_Return);
    QTest::keyClick(box.get(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(0, clicks);
    QTest::keyClick(box.get(), Qt::Key_Space);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(1, clicks);
    QTest::keyClick(box.get(), Qt::Key_Space);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(2, clicks);
}

TEST_F(CheckBoxTest, HoverFadesAndLeavingClearsThePress) {
    QEnterEvent in(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(box.get(), &in);
    for (int i = 0; i < 10; ++i) {
        box->FadeTick();
    }
    EXPECT_EQ(100, box->HoverLevel());
    EXPECT_FALSE(box->FadeTimerActive());
    // At full hover the box shows the hover picture, border included.
    EXPECT_PIXEL(box->Compose(), 2 + 6, 2 + 0, "#808080");
    box->show();
    QTest::mousePress(box.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(box->Pressed());
    box->FadeTick();
    EXPECT_EQ(100, box->PressLevel());
    // Pressed gradient inset 2 into the box (GradientBorder on): pressed (0, 0)
    // at box (2, 2), shown at (4, 4).
    EXPECT_PIXEL(box->Compose(), 4, 4, "#D6CFC6");
    QEvent out(QEvent::Leave);
    QApplication::sendEvent(box.get(), &out);
    EXPECT_FALSE(box->Pressed());
    EXPECT_FALSE(box->MouseOver());
    QTest::mouseRelease(box.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(box->Checked()) << "a press that left the box does not toggle";
}

TEST_F(CheckBoxTest, BorderLinesAlongChosenEdges) {
    box->SetColor(clWhite);
    box->SetBorderLines(blTop | blRight);
    const QImage image = box->Compose();
    EXPECT_PIXEL(image, 60, 0, "#808080");
    EXPECT_PIXEL(image, 129, 10, "#808080");
    EXPECT_PIXEL(image, 60, 16, "#FFFFFF");
    EXPECT_PIXEL(image, 0, 10, "#FFFFFF");
}

TEST_F(CheckBoxTest, FocusRectangleAroundTheWholeControl) {
    QWidget window;
    auto* focused = new TRbCheckBox(&window, "chkFocus");
    focused->SetCaption("");
    focused->SetShowFocusRect(true);
    focused->SetColor(clWhite);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    focused->setFocus();
    ASSERT_TRUE(focused->hasFocus());
    const QImage image = focused->Compose();
    EXPECT_PIXEL(image, 60, 0, "#000000");
    EXPECT_PIXEL(image, 61, 0, "#FFFFFF");
}
