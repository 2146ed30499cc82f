// Behaviour and pixel tests of the drawn push button: fading, pressing, the
// disabled look, dialog keys, modal results and groups.
#include "controls/rb_button.h"
#include "controls/rb_fonts.h"
#include "controls/rb_style_manager.h"

#include "rb_test_app.h"
#include "test_support.h"

#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdint>
#include <memory>

using namespace quillmere;

namespace {

// round(from + (to - from) * s / length), halves to even.
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
    return static_cast<int>(q);
}

std::string vertical(int y, int length, QRgb from, QRgb to) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", byFormula(qRed(from), qRed(to), y, length),
                  byFormula(qGreen(from), qGreen(to), y, length),
                  byFormula(qBlue(from), qBlue(to), y, length));
    return text;
}

const QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);
const QRgb kNormalTo = qRgb(0xAF, 0xBE, 0xD1);
const QRgb kHoverTo = qRgb(0x76, 0x94, 0xBE);
const QRgb kClickedFrom = qRgb(0xD6, 0xCF, 0xC6);
const QRgb kClickedTo = qRgb(0xF7, 0xF3, 0xEB);

void enter(QWidget& w) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&w, &event);
}

void leave(QWidget& w) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&w, &event);
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        rbtest::ensureApp();
        button = std::make_unique<TRbButton>(nullptr, "btnTest");
        button->SetCaption("");
        button->SetShowFocusRect(false);
        button->SetGradientBorder(false);
    }
    std::unique_ptr<TRbButton> button;
};

}  // namespace

TEST_F(ButtonTest, Defaults) {
    TRbButton fresh(nullptr, "btnSave");
    EXPECT_EQ(QSize(75, 25), fresh.size());
    EXPECT_EQ("btnSave", fresh.Caption());
    EXPECT_EQ(0, fresh.ModalResult());
    EXPECT_EQ(2, fresh.Spacing());
    EXPECT_EQ(blGlyphLeft, fresh.Layout());
    EXPECT_EQ(fsMedium, fresh.FadeSpeed());
    EXPECT_TRUE(fresh.ShowFocusRect());
    EXPECT_FALSE(fresh.HotTrack());
    EXPECT_TRUE(fresh.GradientBorder());
    EXPECT_EQ(gtVertical, fresh.GradientType());
    const TRbControlColors& c = fresh.Colors();
    EXPECT_EQ(16777215u, c.DefaultFrom());
    EXPECT_EQ(13745839u, c.DefaultTo());
    EXPECT_EQ(16777215u, c.OverFrom());
    EXPECT_EQ(12489846u, c.OverTo());
    EXPECT_EQ(13029334u, c.ClickedFrom());
    EXPECT_EQ(15463415u, c.ClickedTo());
    EXPECT_EQ(8421504u, c.BorderColor());
    EXPECT_EQ(16711680u, c.HotTrack());
    EXPECT_EQ(16777215u, c.TextShadow());
    fresh.SetSpacing(-3);
    EXPECT_EQ(0, fresh.Spacing());
}

TEST_F(ButtonTest, AtRestShowsTheNormalGradientOnePixelDown) {
    const QImage image = button->Compose();
    for (int y = 1; y < 24; ++y) {
        EXPECT_PIXEL(image, 30, y, vertical(y - 1, 25, kWhite, kNormalTo));
    }
    // The corner pixels keep the button's colour, the border is grey.
    EXPECT_PIXEL(image, 0, 0, "#F0F0F0");
    EXPECT_PIXEL(image, 74, 24, "#F0F0F0");
    EXPECT_PIXEL(image, 1, 0, "#808080");
    EXPECT_PIXEL(image, 0, 1, "#808080");
    EXPECT_PIXEL(image, 74, 12, "#808080");
    EXPECT_PIXEL(image, 40, 24, "#808080");
}

TEST_F(ButtonTest, HoverFadesInOverTenTicksThenTheTimerStops) {
    enter(*button);
    EXPECT_TRUE(button->MouseOver());
    EXPECT_TRUE(button->FadeTimerActive());
    EXPECT_EQ(20, button->FadeTimerInterval());
    for (int tick = 1; tick <= 9; ++tick) {
        button->FadeTick();
        EXPECT_EQ(tick * 10, button->HoverLevel());
        EXPECT_TRUE(button->FadeTimerActive()) << "tick " << tick;
    }
    button->FadeTick();
    EXPECT_EQ(100, button->HoverLevel());
    EXPECT_FALSE(button->FadeTimerActive());
    const QImage image = button->Compose();
    for (int y = 1; y < 24; ++y) {
        EXPECT_PIXEL(image, 30, y, vertical(y, 25, kWhite, kHoverTo));
    }
}

TEST_F(ButtonTest, LeavingFadesOutAndStopsOneTickAfterZero) {
    enter(*button);
    for (int tick = 0; tick < 10; ++tick) {
        button->FadeTick();
    }
    leave(*button);
    EXPECT_FALSE(button->MouseOver());
    for (int tick = 1; tick <= 10; ++tick) {
        button->FadeTick();
        EXPECT_EQ(100 - tick * 10, button->HoverLevel());
        EXPECT_TRUE(button->FadeTimerActive()) << "tick " << tick;
    }
    button->FadeTick();
    EXPECT_EQ(0, button->HoverLevel());
    EXPECT_FALSE(button->FadeTimerActive());
}

TEST_F(ButtonTest, HalfwayHoverMixesBothGradients) {
    enter(*button);
    for (int tick = 0; tick < 5; ++tick) {
        button->FadeTick();
    }
    // Row 10 at level 50: normal row 9 and hover row 10, halves to even.
    const QImage image = button->Compose();
    const int y = 10;
    auto mix = [](int a, int b) { return byFormula(a, b, 50, 100); };
    const int nr = byFormula(255, 0xAF, 9, 25), ng = byFormula(255, 0xBE, 9, 25),
              nb = byFormula(255, 0xD1, 9, 25);
    const int hr = byFormula(255, 0x76, 10, 25), hg = byFormula(255, 0x94, 10, 25),
              hb = byFormula(255, 0xBE, 10, 25);
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02X%02X%02X", mix(nr, hr), mix(ng, hg), mix(nb, hb));
    EXPECT_PIXEL(image, 30, y, hex);
}

struct SpeedCase {
    TFadeSpeed speed;
    int interval;
};

class FadeSpeeds : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(FadeSpeeds, TenTicksAtTheSpeedsInterval) {
    rbtest::ensureApp();
    TRbButton button;
    button.SetFadeSpeed(GetParam().speed);
    enter(button);
    EXPECT_EQ(GetParam().interval, button.FadeTimerInterval());
    EXPECT_EQ(GetParam().interval, FadeInterval(GetParam().speed));
    int ticks = 0;
    while (button.FadeTimerActive() && ticks < 50) {
        button.FadeTick();
        ++ticks;
    }
    EXPECT_EQ(10, ticks);
}

INSTANTIATE_TEST_SUITE_P(Speeds, FadeSpeeds,
                         ::testing::Values(SpeedCase{fsSlow, 40}, SpeedCase{fsMedium, 20},
                                           SpeedCase{fsFast, 12}, SpeedCase{fsVeryFast, 8}));

TEST_F(ButtonTest, TheRealTimerRunsTheFadeToItsEnd) {
    button->SetFadeSpeed(fsVeryFast);
    enter(*button);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !button->FadeTimerActive(); }, 5000));
    EXPECT_EQ(100, button->HoverLevel());
}

TEST_F(ButtonTest, PressingShowsThePressedGradientFromTheFirstTick) {
    button->show();
    QTest::mousePress(button.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button->Pressed());
    button->FadeTick();
    EXPECT_EQ(100, button->PressLevel());
    EXPECT_EQ(0, button->HoverLevel());
    const QImage image = button->Compose();
    for (int y = 1; y < 24; ++y) {
        EXPECT_PIXEL(image, 30, y, vertical(y, 25, kClickedFrom, kClickedTo));
    }
    button->FadeTick();
    EXPECT_FALSE(button->FadeTimerActive()) << "held: the pressed look stays, the timer stops";
    EXPECT_EQ(100, button->PressLevel());
}

TEST_F(ButtonTest, GradientBorderKeepsARingAroundThePressedGradient) {
    button->SetGradientBorder(true);
    button->show();
    QTest::mousePress(button.get(), Qt::LeftButton, {}, QPoint(10, 10));
    button->FadeTick();
    const QImage image = button->Compose();
    EXPECT_PIXEL(image, 30, 3, "#D6CFC6");  // pressed row 0 at the inset corner
    EXPECT_PIXEL(image, 30, 2, vertical(1, 25, kWhite, kNormalTo));
    EXPECT_PIXEL(image, 30, 21, vertical(18, 25, kClickedFrom, kClickedTo));
    EXPECT_PIXEL(image, 30, 22, vertical(21, 25, kWhite, kNormalTo));
}

TEST_F(ButtonTest, ReleasingOutsideFadesOutWithoutAClick) {
    int clicks = 0;
    QObject::connect(button.get(), &TRbButton::OnClick, [&] { ++clicks; });
    button->show();
    enter(*button);
    QTest::mousePress(button.get(), Qt::LeftButton, {}, QPoint(10, 10));
    button->FadeTick();
    leave(*button);
    QTest::mouseRelease(button.get(), Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(0, clicks);
    EXPECT_FALSE(button->Pressed());
    button->FadeTick();
    EXPECT_EQ(0, button->PressLevel());
    EXPECT_FALSE(button->FadeTimerActive());
}

TEST_F(ButtonTest, ReleasingOverTheButtonClicks) {
    int clicks = 0;
    QObject::connect(button.get(), &TRbButton::OnClick, [&] { ++clicks; });
    button->show();
    QTest::mouseClick(button.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(1, clicks);
}

TEST_F(ButtonTest, DisabledGlyphIsATintedGreyAndCaptionEmbossed) {
    QImage glyph(4, 4, QImage::Format_RGB32);
    glyph.fill(qRgb(255, 0, 255));
    glyph.setPixel(1, 0, qRgb(200, 100, 0));
    button->SetGlyph(glyph);
    // No caption: x = (cr.left + cr.right - Spacing) / 2 - gw with cr.left =
    // 4 + 2: (6 + 75 - 2) / 2 - 4 = 35; y = (25 - 4) / 2 = 10.
    QImage image = button->Compose();
    EXPECT_PIXEL(image, 36, 10, "#C86400");
    button->setEnabled(false);
    image = button->Compose();
    EXPECT_PIXEL(image, 36, 10, "#A4A4A4");                            // grey 100 + 64
    EXPECT_PIXEL(image, 35, 13, vertical(12, 25, kWhite, kNormalTo));  // transparent
    QFont font = designFont("MS Sans Serif", 11);
    font.setStyleStrategy(QFont::NoAntialias);
    button->setFont(font);
    button->SetCaption("Exit");
    image = button->Compose();
    EXPECT_FALSE(rbtest::pixelsOf(image, rbtest::kTestBtnShadow).empty());
    EXPECT_TRUE(rbtest::pixelsOf(image, 0x000000).empty());
}

TEST_F(ButtonTest, GlyphRightOfTheCaptionPlace) {
    QImage glyph(4, 4, QImage::Format_RGB32);
    glyph.fill(qRgb(0, 0, 0));
    glyph.setPixel(0, 3, qRgb(255, 0, 255));
    button->SetGlyph(glyph);
    button->SetLayout(blGlyphRight);
    // No caption: cr.left = -(4 + 2); x = (-6 + 75) / 2 + 2 = 36.
    QImage image = button->Compose();
    EXPECT_PIXEL(image, 36, 10, "#000000");
    EXPECT_NE("#000000", testsupport::pixelHex(image, 35, 10));
    // With a caption: x = (cr.left + cr.right + tw) / 2 + Spacing.
    button->SetCaption("Next");
    const int tw = QFontMetrics(button->font()).horizontalAdvance("Next");
    const int x = (-6 + 75 + tw) / 2 + 2;
    image = button->Compose();
    EXPECT_PIXEL(image, x, 10, "#000000");
    EXPECT_PIXEL(image, x + 3, 12, "#000000");
}

TEST_F(ButtonTest, SpaceClicksButNotWithModifiers) {
    int clicks = 0;
    QObject::connect(button.get(), &TRbButton::OnClick, [&] { ++clicks; });
    QTest::keyClick(button.get(), Qt::Key_Space);
    EXPECT_EQ(1, clicks);
    QTest::keyClick(button.get(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(1, clicks);
}

namespace {

struct KeyDialog {
    QDialog dialog;
    QLineEdit* edit = new QLineEdit(&dialog);
    TRbButton* ok = new TRbButton(&dialog, "btnOK");
    TRbButton* cancel = new TRbButton(&dialog, "btnCancel");
    TRbButton* other = new TRbButton(&dialog, "btnOther");
    int okClicks = 0;
    int cancelClicks = 0;
    int otherClicks = 0;

    KeyDialog() {
        ok->move(0, 30);
        cancel->move(80, 30);
        other->move(160, 30);
        ok->SetDefault(true);
        cancel->SetCancel(true);
        QObject::connect(ok, &TRbButton::OnClick, [this] { ++okClicks; });
        QObject::connect(cancel, &TRbButton::OnClick, [this] { ++cancelClicks; });
        QObject::connect(other, &TRbButton::OnClick, [this] { ++otherClicks; });
        dialog.show();
        dialog.activateWindow();
        edit->setFocus();
    }
};

}  // namespace

TEST(ButtonKeys, EscapeClicksCancelButNotWithShift) {
    rbtest::ensureApp();
    KeyDialog d;
    QTest::keyClick(d.edit, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(0, d.cancelClicks);
    QTest::keyClick(d.edit, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_EQ(0, d.cancelClicks);
    QTest::keyClick(d.edit, Qt::Key_Escape);
    EXPECT_EQ(1, d.cancelClicks);
    EXPECT_TRUE(d.dialog.isVisible()) << "a button without a result leaves the dialog open";
}

TEST(ButtonKeys, EnterClicksTheDefaultWhenNoButtonHasTheFocus) {
    rbtest::ensureApp();
    KeyDialog d;
    QTest::keyClick(d.edit, Qt::Key_Return);
    EXPECT_EQ(1, d.okClicks);
    EXPECT_EQ(0, d.otherClicks);
}

TEST(ButtonKeys, EnterClicksTheFocusedButton) {
    rbtest::ensureApp();
    KeyDialog d;
    d.other->setFocus();
    QTest::keyClick(d.other, Qt::Key_Return);
    EXPECT_EQ(1, d.otherClicks);
    EXPECT_EQ(0, d.okClicks);
}

TEST(ButtonKeys, DisabledDefaultIgnoresEnter) {
    rbtest::ensureApp();
    KeyDialog d;
    d.ok->setEnabled(false);
    QTest::keyClick(d.edit, Qt::Key_Return);
    EXPECT_EQ(0, d.okClicks);
}

TEST(ButtonModalResult, ClosesTheModalDialogWithItsResultAfterOnClick) {
    rbtest::ensureApp();
    QDialog dialog;
    auto* button = new TRbButton(&dialog, "btnOK");
    button->SetModalResult(1);
    bool visibleDuringClick = false;
    QObject::connect(button, &TRbButton::OnClick, [&] { visibleDuringClick = dialog.isVisible(); });
    QTimer::singleShot(0, button,
                       [button] { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10)); });
    QTimer::singleShot(3000, &dialog, [&dialog] { dialog.done(99); });  // safety net
    EXPECT_EQ(1, dialog.exec());
    EXPECT_TRUE(visibleDuringClick);
}

TEST(ButtonModalResult, OnClickMayKeepTheDialogOpen) {
    rbtest::ensureApp();
    QDialog dialog;
    auto* button = new TRbButton(&dialog, "btnOK");
    button->SetModalResult(2);
    QObject::connect(button, &TRbButton::OnClick, [&] { dialog.setResult(0); });
    bool stillOpen = false;
    QTimer::singleShot(0, button, [&] {
        button->Click();
        stillOpen = dialog.isVisible();
        dialog.done(7);
    });
    EXPECT_EQ(7, dialog.exec());
    EXPECT_TRUE(stillOpen);
}

TEST(ButtonModalResult, NonModalWindowStaysOpen) {
    rbtest::ensureApp();
    QDialog dialog;
    auto* button = new TRbButton(&dialog, "btnOK");
    button->SetModalResult(1);
    dialog.show();
    button->Click();
    EXPECT_TRUE(dialog.isVisible());
}

TEST(ButtonGroups, ActLikeRadioButtons) {
    rbtest::ensureApp();
    QWidget parent;
    TRbButton* a = new TRbButton(&parent, "a");
    TRbButton* b = new TRbButton(&parent, "b");
    TRbButton* loose = new TRbButton(&parent, "loose");
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->Click();
    EXPECT_TRUE(a->Down());
    b->Click();
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down()) << "nominal: the other button of the group goes up";
    b->Click();
    EXPECT_TRUE(b->Down()) << "robustness: the last down button cannot go up alone";
    b->SetAllowAllUp(true);
    b->Click();
    EXPECT_FALSE(b->Down());
    loose->SetDown(true);
    EXPECT_FALSE(loose->Down()) << "no group: SetDown is ignored";
}

TEST(ButtonGroups, DownButtonKeepsItsLookWhenTheMouseLeaves) {
    rbtest::ensureApp();
    QWidget parent;
    TRbButton* a = new TRbButton(&parent, "a");
    a->SetGroupIndex(3);
    a->SetDown(true);
    EXPECT_TRUE(a->Pressed());
    EXPECT_TRUE(a->MouseOver());
    leave(*a);
    EXPECT_TRUE(a->MouseOver());
    EXPECT_TRUE(a->Pressed());
}

TEST(StyleManager, ListsItsControlsAndIsForgottenWhenDestroyed) {
    rbtest::ensureApp();
    auto manager = std::make_unique<TRbStyleManager>();
    TRbButton a;
    auto b = std::make_unique<TRbButton>();
    a.SetRbStyleManager(manager.get());
    a.SetRbStyleManager(manager.get());
    b->SetRbStyleManager(manager.get());
    EXPECT_EQ(2, manager->Controls().size()) << "a control joins once";
    b.reset();
    EXPECT_EQ(1, manager->Controls().size()) << "a destroyed control leaves";
    a.SetRbStyleManager(nullptr);
    EXPECT_TRUE(manager->Controls().isEmpty());
    a.SetRbStyleManager(manager.get());
    manager.reset();
    EXPECT_EQ(nullptr, a.RbStyleManager());
}

TEST(StyleManager, StoresValuesAndAssignCopiesThemWithoutTouchingControls) {
    rbtest::ensureApp();
    TRbStyleManager first;
    EXPECT_TRUE(first.ShowFocusRect());
    EXPECT_EQ(32768u, first.CheckColor());
    EXPECT_EQ(14933983u, first.PanelColor());
    EXPECT_EQ(clBtnFace, first.SplitterColors().DefaultFrom());
    EXPECT_EQ(12489846u, first.SplitterColors().OverTo());
    TRbButton button;
    button.SetRbStyleManager(&first);
    first.SetFadeSpeed(fsSlow);
    first.Colors().SetDefaultTo(0x112233);
    first.SetHotTrack(true);
    EXPECT_EQ(fsMedium, button.FadeSpeed());
    EXPECT_EQ(13745839u, button.Colors().DefaultTo());
    TRbStyleManager second;
    second.Assign(first);
    EXPECT_EQ(fsSlow, second.FadeSpeed());
    EXPECT_EQ(0x112233u, second.Colors().DefaultTo());
    EXPECT_TRUE(second.HotTrack());
    EXPECT_TRUE(second.Controls().isEmpty());
}

TEST(ControlColors, AssignCopiesAllNineAndRebuildsOnce) {
    rbtest::ensureApp();
    int rebuilds = 0;
    int repaints = 0;
    TRbControlColors target([&](bool rebuild) { rebuild ? ++rebuilds : ++repaints; });
    TRbControlColors source;
    source.SetDefaultFrom(1);
    source.SetDefaultTo(2);
    source.SetOverFrom(3);
    source.SetOverTo(4);
    source.SetClickedFrom(5);
    source.SetClickedTo(6);
    source.SetBorderColor(7);
    source.SetHotTrack(8);
    source.SetTextShadow(9);
    target.Assign(source);
    EXPECT_EQ(1, rebuilds);
    EXPECT_EQ(9u, target.TextShadow());
    EXPECT_EQ(8u, target.HotTrack());
    EXPECT_EQ(5u, target.ClickedFrom());
    target.SetHotTrack(10);
    EXPECT_EQ(1, repaints) << "the hot-track colour only repaints";
}

// --- Focus mark ----------------------------------------------------------------

namespace {

struct FocusMarkCase {
    const char* label;
    Qt::FocusReason reason;
    bool marked;
};

class FocusMarkTest : public ::testing::TestWithParam<FocusMarkCase> {};

}  // namespace

// The program's buttons have no focus rectangle in their design; the mark
// shows only when the keyboard brought the focus, so the mouse sees the
// design's look.
TEST_P(FocusMarkTest, ShownOnlyWhenTheKeyboardBroughtTheFocus) {
    const FocusMarkCase& c = GetParam();
    rbtest::ensureApp();
    KeyDialog d;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.dialog));
    d.ok->SetCaption("");
    d.ok->SetShowFocusRect(false);
    const QImage atRest = d.ok->Compose();
    d.ok->setFocus(c.reason);
    ASSERT_TRUE(d.ok->hasFocus()) << c.label;
    const QImage focused = d.ok->Compose();
    EXPECT_EQ(c.marked, focused != atRest) << c.label;
    if (c.marked) {
        // The dotted rectangle runs 2 pixels inside the border.
        EXPECT_NE(atRest.pixel(2, 2), focused.pixel(2, 2)) << c.label;
        // A mouse press on the button takes the mark away again.
        QTest::mousePress(d.ok, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(atRest, d.ok->Compose()) << c.label;
        QTest::mouseRelease(d.ok, Qt::LeftButton, {}, QPoint(-5, -5));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, FocusMarkTest,
    ::testing::Values(FocusMarkCase{"nominal: Tab", Qt::TabFocusReason, true},
                      FocusMarkCase{"nominal: Shift+Tab", Qt::BacktabFocusReason, true},
                      FocusMarkCase{"nominal: a shortcut", Qt::ShortcutFocusReason, true},
                      FocusMarkCase{"nominal: the mouse", Qt::MouseFocusReason, false},
                      FocusMarkCase{"robustness: the program's own focus", Qt::OtherFocusReason,
                                    false}));
