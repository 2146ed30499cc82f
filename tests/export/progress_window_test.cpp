// The progress window as built from its layout table, its cancel button, the
// progress bar's settings and the looping picture.
#include "export/progress_window.h"

#include "controls/progress_cyl.h"
#include "controls/rb_button.h"
#include "controls/system_colors.h"
#include "export/frame_animator.h"
#include "test_support.h"

#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using quillmere::TFrameAnimator;
using quillmere::TfrmProgress;

TEST(TfrmProgress, IsAStayOnTopDialogOfTheGivenClientSize) {
    TfrmProgress window;
    EXPECT_EQ("Progress", window.windowTitle().toStdString());
    EXPECT_EQ(QSize(290, 201), window.size());
    EXPECT_EQ(QSize(290, 201), window.minimumSize());
    EXPECT_EQ(QSize(290, 201), window.maximumSize());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(window.isModal());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(QColor(Qt::white), window.palette().color(QPalette::Window));
}

struct ControlCase {
    const char* name;
    QRect geometry;
};

class ControlLayoutTest : public ::testing::TestWithParam<ControlCase> {};

TEST_P(ControlLayoutTest, SitsWhereTheLayoutPutsIt) {
    TfrmProgress window;
    const QWidget* control = window.findChild<QWidget*>(GetParam().name);
    ASSERT_NE(nullptr, control) << GetParam().name;
    EXPECT_EQ(window.Panel1, control->parentWidget());
    const QRect expected = GetParam().geometry;
    if (expected.width() > 0) {
        EXPECT_EQ(expected, control->geometry());
    } else {
        EXPECT_EQ(expected.topLeft(), control->pos());
    }
}

INSTANTIATE_TEST_SUITE_P(Layout, ControlLayoutTest,
                         ::testing::Values(ControlCase{"Label1", QRect(8, 16, 270, 24)},
                                           ControlCase{"RxGIFAnimator1", QRect(120, 64, 32, 32)},
                                           ControlCase{"btnCancel", QRect(219, 64, 41, 41)},
                                           ControlCase{"xipZip", QRect(19, 120, 246, 41)},
                                           ControlCase{"Label4", QRect(96, 168, 0, 0)},
                                           ControlCase{"lblCount", QRect(184, 168, 0, 0)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TfrmProgress, PanelFillsTheWindow) {
    TfrmProgress window;
    EXPECT_EQ(QRect(0, 0, 290, 201), window.Panel1->geometry());
}

TEST(TfrmProgress, LabelsCarryTheirTextsAndFonts) {
    TfrmProgress window;
    EXPECT_EQ("Exporting", window.Label1->text().toStdString());
    EXPECT_TRUE(window.Label1->alignment().testFlag(Qt::AlignHCenter));
    const QFont heading = window.Label1->font();
    EXPECT_EQ("Arial", heading.family().toStdString());
    EXPECT_EQ(21, heading.pixelSize());
    EXPECT_TRUE(heading.bold());
    EXPECT_TRUE(heading.italic());
    EXPECT_EQ(QColor(Qt::black), window.Label1->palette().color(QPalette::WindowText));

    EXPECT_EQ("Files exported:", window.Label4->text().toStdString());
    EXPECT_EQ("Liberation Sans", window.Label4->font().family().toStdString());
    EXPECT_EQ(11, window.Label4->font().pixelSize());
    EXPECT_TRUE(window.Label4->font().bold());
    EXPECT_EQ("0", window.lblCount->text().toStdString());
    EXPECT_GE(window.lblCount->width(), window.lblCount->fontMetrics().horizontalAdvance("99999"));
}

TEST(TfrmProgress, CancelButtonShowsOnlyItsPictureAndHint) {
    TfrmProgress window;
    EXPECT_EQ("Stop Copying", window.btnCancel->toolTip().toStdString());
    EXPECT_TRUE(window.btnCancel->Caption().isEmpty());
    EXPECT_FALSE(window.btnCancel->Glyph().isNull());
    EXPECT_EQ(QSize(24, 24), window.btnCancel->Glyph().size());
}

TEST(TfrmProgress, ProgressBarHasTheExportLook) {
    TfrmProgress window;
    const quillmere::TProgressCyl& bar = *window.xipZip;
    const quillmere::StyleValues style{255, 4.0f, -1.0f, 255, 255, 1.0f, -3.0f};
    EXPECT_EQ(quillmere::clBlack, bar.backBorderColor());
    EXPECT_EQ(12632256u, bar.backColor());
    EXPECT_EQ(style, bar.backStyle().values());
    EXPECT_EQ(style, bar.foreStyle().values());
    EXPECT_EQ(quillmere::clWhite, bar.bevelColor());
    EXPECT_EQ(quillmere::bvNone, bar.bevelInner());
    EXPECT_EQ(quillmere::bvNone, bar.bevelOuter());
    EXPECT_EQ(1, bar.bevelWidth());
    EXPECT_EQ(2, bar.borderWidth());
    EXPECT_EQ(quillmere::clWhite, bar.color());
    EXPECT_EQ(quillmere::ceMaximum, bar.cylinderEffect());
    EXPECT_EQ("Arial", bar.font().family().toStdString());
    EXPECT_EQ(12, bar.font().pixelSize());
    EXPECT_TRUE(bar.font().bold());
    EXPECT_EQ(quillmere::clBlack, bar.fontColor());
    EXPECT_EQ(quillmere::feNone, bar.fontEffect());
    EXPECT_EQ(quillmere::foLeftToRight, bar.fontOrientation());
    EXPECT_EQ(quillmere::clBlack, bar.fontShadowColor());
    EXPECT_EQ(33023u, bar.foreColor());
    EXPECT_EQ(128u, bar.foreLineColor());
    EXPECT_EQ(0, bar.min());
    EXPECT_EQ(100, bar.max());
    EXPECT_EQ(0, bar.position());
    EXPECT_EQ(quillmere::pbHorizontal, bar.orientation());
    EXPECT_EQ(quillmere::peCustom, bar.proEffect());
    EXPECT_TRUE(bar.showText());
    EXPECT_EQ("%", bar.text().toStdString());
    EXPECT_EQ("Export Complete", bar.textDone().toStdString());
    EXPECT_EQ(1, bar.step());
    EXPECT_TRUE(bar.stopAtMax());
    EXPECT_EQ(7.0f, bar.shadeStepY());  // 255 div 33
}

// With 201 entries the rounded percentage reaches 100 one entry early; from
// then on the bar reads "Export Complete" instead of "100%".
TEST(TfrmProgress, BarSwitchesToExportCompleteAtTheRounded100) {
    TfrmProgress window;
    TfrmProgress plain;
    plain.xipZip->setTextDone(QString());  // would show "n%" throughout
    for (TfrmProgress* w : {&window, &plain}) {
        w->xipZip->setMax(201);
    }
    for (int position : {199, 200, 201}) {
        window.xipZip->setPosition(position);
        plain.xipZip->setPosition(position);
        const bool done = position >= 200;
        EXPECT_EQ(done ? 100 : 99, window.xipZip->percent()) << position;
        const QImage shown = window.xipZip->paintBuffer();
        const QImage percentOnly = plain.xipZip->paintBuffer();
        EXPECT_EQ(!done, shown == percentOnly) << "at position " << position;
    }
}

TEST(TfrmProgress, CancelClickSaysFinalizingAndAsksToStop) {
    TfrmProgress window;
    QSignalSpy spy(&window, &TfrmProgress::cancelRequested);
    window.Label1->setText("Exporting...");
    window.btnCancel->Click();
    EXPECT_EQ("Finalizing...", window.Label1->text().toStdString());
    EXPECT_EQ(1, spy.count());
}

TEST(TfrmProgress, CloseBoxHidesWithoutCancelling) {
    TfrmProgress window;
    QSignalSpy spy(&window, &TfrmProgress::cancelRequested);
    window.show();
    ASSERT_TRUE(window.isVisible());
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(0, spy.count());
    window.show();  // shown again for the next export
    EXPECT_TRUE(window.isVisible());
    window.hide();
}

TEST(TfrmProgress, ShowsCentredOnItsOwner) {
    QWidget owner;
    owner.setGeometry(100, 80, 800, 600);
    owner.show();
    TfrmProgress window(&owner);
    window.showCentredOn(&owner);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(owner.frameGeometry().center() - QPoint(145, 100), window.pos());
    window.hide();
}

TEST(TProgressPanel, DrawsASunkenBorderAndARaisedBevelOnWhite) {
    TfrmProgress window;
    const QImage image = window.Panel1->grab().toImage();
    using quillmere::toQColor;
    EXPECT_PIXEL(image, 0, 0, toQColor(quillmere::clBtnShadow).name().toUpper().toStdString());
    EXPECT_PIXEL(image, 289, 200,
                 toQColor(quillmere::clBtnHighlight).name().toUpper().toStdString());
    EXPECT_PIXEL(image, 1, 1, toQColor(quillmere::cl3DDkShadow).name().toUpper().toStdString());
    EXPECT_PIXEL(image, 3, 3, toQColor(quillmere::clBtnHighlight).name().toUpper().toStdString());
    EXPECT_PIXEL(image, 287, 198, toQColor(quillmere::clBtnShadow).name().toUpper().toStdString());
    EXPECT_PIXEL(image, 286, 197, toQColor(quillmere::clBtnShadow).name().toUpper().toStdString());
    EXPECT_PIXEL(image, 285, 196, "#FFFFFF");
    EXPECT_PIXEL(image, 60, 100, "#FFFFFF");
}

TEST(TFrameAnimator, PlaysTwelveDistinctFramesInALoop) {
    TFrameAnimator animator;
    EXPECT_TRUE(animator.playing());
    EXPECT_EQ(80, animator.interval());
    ASSERT_EQ(12, animator.frameCount());
    for (int i = 0; i < animator.frameCount(); ++i) {
        EXPECT_EQ(QSize(32, 32), animator.frame(i).size());
        EXPECT_NE(animator.frame(i), animator.frame((i + 1) % 12)) << "frame " << i;
    }
    EXPECT_EQ(0, animator.currentFrame());
    for (int tick = 1; tick <= 12; ++tick) {
        animator.advanceFrame();
        EXPECT_EQ(tick % 12, animator.currentFrame());
    }
    EXPECT_EQ(TFrameAnimator::drawFrames()[5], animator.frame(5));
}

TEST(TFrameAnimator, HeadSpokeRunsRoundClockwise) {
    const std::vector<QImage> frames = TFrameAnimator::drawFrames();
    // Frame 0: head pointing up; frame 3: right; frame 6: down; frame 9: left.
    EXPECT_PIXEL(frames[0], 16, 5, "#FF8000");
    EXPECT_PIXEL(frames[3], 27, 16, "#FF8000");
    EXPECT_PIXEL(frames[6], 16, 27, "#FF8000");
    EXPECT_PIXEL(frames[9], 5, 16, "#FF8000");
    EXPECT_NE("#FF8000", testsupport::pixelHex(frames[6], 16, 5));
    EXPECT_EQ(0, qAlpha(frames[0].pixel(16, 16)));  // the hub is left open
}

}  // namespace
