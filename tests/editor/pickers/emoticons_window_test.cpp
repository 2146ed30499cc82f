// The emoticon picker window: its layout, the hover texts, a click handing
// the picture over the clipboard, Close leaving the clipboard alone, and
// moving the borderless window by its title panel only.
#include "editor/pickers/emoticons_window.h"

#include "controls/rb_button.h"
#include "controls/rb_panel.h"
#include "editor/pickers/emoticon_art.h"
#include "test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace quillmere {
namespace {

// A mouse move without buttons, as the window system sends while hovering.
void hover(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QImage clipboardImage() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasImage()) {
        return {};
    }
    return qvariant_cast<QImage>(data->imageData());
}

class EmoticonsWindowTest : public ::testing::Test {
protected:
    EmoticonsWindowTest() { QGuiApplication::clipboard()->setText(QStringLiteral("kept text")); }

    // Runs `action` while the picker is shown modally; returns exec's result.
    int whileShown(const std::function<void()>& action) {
        QTimer::singleShot(0, &window_, [&] {
            if (!window_.isVisible()) {
                ADD_FAILURE() << "the picker was not shown";
                return;
            }
            action();
            if (window_.isVisible()) {
                window_.done(-1);  // a failing test must not hang in the loop
            }
        });
        return window_.exec();
    }

    TfrmEmoticons window_;
};

// --- Layout -------------------------------------------------------------------

TEST_F(EmoticonsWindowTest, WindowIsBorderlessOfTheDesignSizeWithThreePanels) {
    EXPECT_EQ(QSize(427, 312), window_.size());
    EXPECT_TRUE(window_.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(QStringLiteral("Emotional Icons"), window_.windowTitle());
    EXPECT_FALSE(window_.EmoticonPicked);

    EXPECT_EQ(QRect(0, 0, 427, 45), window_.RbPanel3->geometry());
    EXPECT_EQ(QStringLiteral("Emotional Icons"), window_.RbPanel3->Caption());
    EXPECT_TRUE(window_.RbPanel3->ShowCaption());
    EXPECT_EQ(clWhite, window_.RbPanel3->FontColor());
    EXPECT_TRUE(window_.RbPanel3->font().bold());
    EXPECT_EQ(29, window_.RbPanel3->font().pixelSize());
    EXPECT_EQ(cpMiddleCenter, window_.RbPanel3->CaptionPosition());

    EXPECT_EQ(QRect(0, 45, 427, 222), window_.RbPanel1->geometry());
    EXPECT_FALSE(window_.RbPanel1->ShowCaption());
    EXPECT_EQ(clWhite, window_.RbPanel1->Color());
    EXPECT_EQ(25, window_.RbPanel1->CornerWidth());
    EXPECT_EQ(7, window_.RbPanel1->BorderWidth());
    EXPECT_EQ(TColor(12632256), window_.RbPanel1->BorderColor());  // silver

    EXPECT_EQ(QRect(0, 267, 427, 45), window_.RbPanel2->geometry());
    EXPECT_FALSE(window_.RbPanel2->ShowCaption());
    ASSERT_EQ(window_.RbPanel2, window_.btnClose->parentWidget());
    EXPECT_EQ(QRect(328, 10, 75, 25), window_.btnClose->geometry());
    EXPECT_EQ(QStringLiteral("Close"), window_.btnClose->Caption());

    ASSERT_EQ(window_.RbPanel1, window_.Label1->parentWidget());
    EXPECT_EQ(QRect(10, 184, 405, 22), window_.Label1->geometry());
    EXPECT_EQ(Qt::AlignCenter, window_.Label1->alignment());
    EXPECT_EQ(19, window_.Label1->font().pixelSize());
    EXPECT_FALSE(window_.Label1->font().bold());
    EXPECT_EQ(QColor(Qt::black), window_.Label1->palette().color(QPalette::WindowText));
    EXPECT_TRUE(window_.Label1->text().isEmpty());
}

struct PlacedPicture {
    int tag;
    const char* component;
    QRect geometry;
};

// clang-format off
const PlacedPicture kPlaced[] = {
    { 1, "Image2",  {24, 24, 21, 21}},  { 2, "Image23", {56, 24, 21, 21}},
    { 3, "Image5",  {88, 24, 21, 21}},  { 4, "Image7",  {120, 24, 21, 21}},
    { 5, "Image26", {152, 24, 20, 20}}, { 6, "Image9",  {184, 24, 21, 21}},
    { 7, "Image10", {216, 24, 21, 21}}, { 8, "Image11", {248, 24, 21, 21}},
    { 9, "Image13", {280, 24, 21, 21}}, {10, "Image27", {344, 24, 20, 22}},
    {11, "Image29", {312, 24, 21, 21}}, {12, "Image28", {376, 24, 20, 20}},
    {13, "Image3",  {24, 72, 22, 26}},  {14, "Image4",  {56, 72, 22, 26}},
    {15, "Image6",  {88, 72, 23, 22}},  {16, "Image8",  {120, 72, 22, 26}},
    {17, "Image12", {152, 72, 22, 30}}, {18, "Image14", {184, 72, 22, 26}},
    {19, "Image15", {216, 72, 23, 25}}, {20, "Image16", {252, 72, 31, 26}},
    {21, "Image25", {285, 72, 40, 27}}, {22, "Image24", {333, 72, 36, 26}},
    {23, "Image1",  {376, 72, 22, 26}}, {24, "Image17", {48, 128, 45, 27}},
    {25, "Image18", {104, 128, 54, 30}}, {26, "Image20", {168, 128, 43, 26}},
    {27, "Image22", {224, 128, 27, 25}}, {28, "Image21", {264, 128, 34, 24}},
    {29, "Image19", {320, 128, 51, 45}},
};
// clang-format on

TEST_F(EmoticonsWindowTest, EveryPictureSitsAtItsPlaceWithItsSizeAndAHandCursor) {
    for (const PlacedPicture& placed : kPlaced) {
        auto* image =
            window_.RbPanel1->findChild<EmoticonImage*>(QString::fromLatin1(placed.component));
        ASSERT_NE(nullptr, image) << placed.component;
        EXPECT_EQ(image, window_.imageOfTag(placed.tag));
        EXPECT_EQ(placed.tag, image->Tag()) << placed.component;
        EXPECT_EQ(placed.geometry, image->geometry()) << placed.component;
        EXPECT_EQ(placed.geometry.size(), image->Picture().size()) << placed.component;
        EXPECT_EQ(Qt::PointingHandCursor, image->cursor().shape()) << placed.component;
    }
    EXPECT_EQ(size_t(kEmoticonCount), window_.RbPanel1->findChildren<EmoticonImage*>().size());
}

TEST_F(EmoticonsWindowTest, PicturesAreDrawnTransparentlyOverTheWhitePanel) {
    window_.show();
    const QImage shot = window_.grab().toImage();
    for (const PlacedPicture& placed : kPlaced) {
        const EmoticonImage* image = window_.imageOfTag(placed.tag);
        const QImage picture = image->Picture().convertToFormat(QImage::Format_ARGB32);
        const QPoint origin = image->mapTo(&window_, QPoint(0, 0));
        int checked = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb p = picture.pixel(x, y);
                if (qAlpha(p) == 0) {
                    EXPECT_PIXEL(shot, origin.x() + x, origin.y() + y, "#FFFFFF")
                        << placed.component;
                    ++checked;
                } else if (qAlpha(p) == 255) {
                    const std::string expected =
                        QColor(p).name(QColor::HexRgb).toUpper().toStdString();
                    EXPECT_PIXEL(shot, origin.x() + x, origin.y() + y, expected)
                        << placed.component;
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 0) << placed.component;
        if (HasFailure()) {
            return;  // one picture's failures are enough to read
        }
    }
}

// --- Hover ------------------------------------------------------------------------

struct HoverCase {
    int tag;
    const char* text;
};

// clang-format off
const HoverCase kHoverTexts[] = {
    { 1, "Angry   :x"},             { 2, "Smiley   :)"},
    { 3, "Tongue   :p or :P"},      { 4, "Laugh out Loud   :lol:"},
    { 5, "Puke or Sick   +o("},     { 6, "Oh My!   :o"},
    { 7, "Unsure or Confused   :s or :?"}, { 8, "Wacko   x)"},
    { 9, "ph34r"},                  {10, "Crying   :'("},
    {11, "Mellow or Uninterested   :|"}, {12, "Question"},
    {13, "Sad   :("},               {14, "Big Smile!   :D"},
    {15, "Cool   8)"},              {16, "Wink   ;)"},
    {17, "Crazy   8x)"},            {18, "Nea"},
    {19, "Sarcastic"},              {20, "Bye-Bye"},
    {21, "Dancing"},                {22, "Pardon"},
    {23, "Happy Smile   :)"},       {24, "Hello"},
    {25, "Let's drink on that"},    {26, "Praise"},
    {27, "Bomb"},                   {28, "Yahoo!"},
    {29, "Truce or Surrender"},
};
// clang-format on

class HoverTextTest : public EmoticonsWindowTest,
                      public ::testing::WithParamInterface<HoverCase> {};

TEST_P(HoverTextTest, MovingTheMouseOverAPictureShowsItsTextExactly) {
    const HoverCase& c = GetParam();
    window_.show();
    EmoticonImage* image = window_.imageOfTag(c.tag);
    ASSERT_NE(nullptr, image);
    hover(image, QPoint(image->width() / 2, image->height() / 2));
    EXPECT_EQ(std::string(c.text), window_.Label1->text().toStdString());
}

INSTANTIATE_TEST_SUITE_P(Tags, HoverTextTest, ::testing::ValuesIn(kHoverTexts),
                         [](const auto& info) { return "tag" + std::to_string(info.param.tag); });

TEST_F(EmoticonsWindowTest, TagsElevenAndTenStandInThatOrderInTheFirstRow) {
    EXPECT_LT(window_.imageOfTag(11)->x(), window_.imageOfTag(10)->x());
    EXPECT_EQ(window_.imageOfTag(11)->y(), window_.imageOfTag(10)->y());
}

TEST_F(EmoticonsWindowTest, LeavingThePicturesKeepsTheLastTextAlsoForTheNextShowing) {
    window_.show();
    EmoticonImage* crying = window_.imageOfTag(10);
    hover(crying, QPoint(3, 3));
    ASSERT_EQ(QStringLiteral("Crying   :'("), window_.Label1->text());

    // Off the picture onto the white panel, the label, the title, and away.
    hover(window_.RbPanel1, QPoint(5, 5));
    hover(window_.RbPanel1, QPoint(200, 110));
    hover(window_.Label1, QPoint(100, 10));
    hover(window_.RbPanel3, QPoint(100, 20));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(crying, &leave);
    EXPECT_EQ(QStringLiteral("Crying   :'("), window_.Label1->text());

    window_.hide();
    window_.show();
    EXPECT_EQ(QStringLiteral("Crying   :'("), window_.Label1->text());
}

TEST_F(EmoticonsWindowTest, APictureWithATagOutsideTheTableLeavesTheLabelAsItIs) {
    window_.Image2MouseMove(window_.imageOfTag(14), Qt::NoModifier, 1, 1);
    ASSERT_EQ(QStringLiteral("Big Smile!   :D"), window_.Label1->text());
    for (int tag : {0, 30, -4}) {
        EmoticonImage stray(window_.RbPanel1, tag, QImage(4, 4, QImage::Format_ARGB32));
        window_.Image2MouseMove(&stray, Qt::NoModifier, 1, 1);
        EXPECT_EQ(QStringLiteral("Big Smile!   :D"), window_.Label1->text()) << tag;
    }
}

// --- Click and Close ------------------------------------------------------------------

TEST_F(EmoticonsWindowTest, ClickingAPicturePutsItOnTheClipboardAndCloses) {
    EmoticonImage* bigSmile = window_.imageOfTag(14);
    const int result =
        whileShown([&] { QTest::mouseClick(bigSmile, Qt::LeftButton, {}, QPoint(11, 13)); });
    EXPECT_EQ(QDialog::Accepted, result);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_TRUE(window_.EmoticonPicked);
    const QImage onClipboard = clipboardImage();
    ASSERT_FALSE(onClipboard.isNull()) << "no picture on the clipboard";
    EXPECT_EQ(bigSmile->Picture().convertToFormat(QImage::Format_ARGB32),
              onClipboard.convertToFormat(QImage::Format_ARGB32));
}

TEST_F(EmoticonsWindowTest, PressingOnAPictureAndReleasingElsewhereIsNoClick) {
    EmoticonImage* bigSmile = window_.imageOfTag(14);
    whileShown([&] {
        QTest::mousePress(bigSmile, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(bigSmile, Qt::LeftButton, {}, QPoint(40, 5));
        EXPECT_TRUE(window_.isVisible());
        QTest::mouseClick(bigSmile, Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_TRUE(window_.isVisible());
    });
    EXPECT_FALSE(window_.EmoticonPicked);
    EXPECT_EQ(QStringLiteral("kept text"), QGuiApplication::clipboard()->text());
}

// Ways to close the picker without picking: its button and the Escape key.
class CloseWithoutPickingTest : public EmoticonsWindowTest,
                                public ::testing::WithParamInterface<const char*> {};

TEST_P(CloseWithoutPickingTest, LeavesTheClipboardAloneAndPicksNothing) {
    const std::string how = GetParam();
    const int result = whileShown([&] {
        if (how == "Close") {
            QTest::mouseClick(window_.btnClose, Qt::LeftButton);
        } else {
            QTest::keyClick(&window_, Qt::Key_Escape);
        }
    });
    EXPECT_EQ(QDialog::Rejected, result);
    EXPECT_FALSE(window_.EmoticonPicked);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(nullptr, data);
    EXPECT_FALSE(data->hasImage());
    EXPECT_EQ(QStringLiteral("kept text"), data->text());
}

INSTANTIATE_TEST_SUITE_P(Ways, CloseWithoutPickingTest, ::testing::Values("Close", "Escape"));

// --- Placement and moving --------------------------------------------------------------------

TEST_F(EmoticonsWindowTest, ShownCentredOnItsOwner) {
    QWidget owner;
    owner.setGeometry(100, 80, 1000, 600);
    owner.show();
    TfrmEmoticons picker(&owner);
    picker.show();
    const QRect frame = picker.frameGeometry();
    EXPECT_EQ(QPoint(100 + (1000 - frame.width()) / 2, 80 + (600 - frame.height()) / 2),
              frame.topLeft());
}

// Presses the left button at `from` in `widget`, moves by `by` and releases.
void drag(QWidget* widget, QPoint from, QPoint by) {
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QTest::mouseMove(widget, from + by);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, from + by);
}

TEST_F(EmoticonsWindowTest, DraggingTheTitlePanelMovesTheWindow) {
    window_.show();
    window_.move(200, 150);
    drag(window_.RbPanel3, QPoint(30, 20), QPoint(57, 33));
    EXPECT_EQ(QPoint(257, 183), window_.pos());
    // Moving the mouse after the release moves nothing.
    hover(window_.RbPanel3, QPoint(100, 30));
    EXPECT_EQ(QPoint(257, 183), window_.pos());
    // A second drag moves it on from there.
    drag(window_.RbPanel3, QPoint(300, 10), QPoint(-20, 5));
    EXPECT_EQ(QPoint(237, 188), window_.pos());
    EXPECT_TRUE(window_.isVisible());
}

TEST_F(EmoticonsWindowTest, DraggingThePicturePanelOrAPictureDoesNotMoveTheWindow) {
    window_.show();
    window_.move(200, 150);
    drag(window_.RbPanel1, QPoint(200, 200), QPoint(57, 33));
    EXPECT_EQ(QPoint(200, 150), window_.pos());
    drag(window_.RbPanel2, QPoint(20, 20), QPoint(40, 10));
    EXPECT_EQ(QPoint(200, 150), window_.pos());
    drag(window_.imageOfTag(3), QPoint(5, 5), QPoint(60, 60));
    EXPECT_EQ(QPoint(200, 150), window_.pos());
    EXPECT_FALSE(window_.EmoticonPicked) << "released off the picture: no click";
}

}  // namespace
}  // namespace quillmere
