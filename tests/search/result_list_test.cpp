// Drawing of the result items, pixel by pixel, and the text of an item.
#include "search_fixture.h"

#include "controls/rb_fonts.h"
#include "search/db_search_form.h"
#include "search/result_list.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using quillmere::ListBox1DrawItem;
using quillmere::ResultItemState;

constexpr int kWidth = 225;
constexpr int kHeight = 25;

// A 16 x 16 picture on white with a red square from (4, 4) to (11, 11).
QImage testPicture() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 4; y < 12; ++y) {
        for (int x = 4; x < 12; ++x) {
            image.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    return image;
}

// One item drawn on a magenta surface (so that undrawn pixels show).
QImage drawItem(ResultItemState state, const QString& text = QStringLiteral("15 June 2010"),
                const QImage& picture = testPicture()) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    QPainter painter(&image);
    painter.setFont(quillmere::designFont(QStringLiteral("Arial"), 13));
    ListBox1DrawItem(painter, QRect(0, 0, kWidth, kHeight), text, picture, state);
    return image;
}

struct PixelCase {
    const char* label;
    int x;
    int y;
    const char* hex;
};

class SelectedItemPixelTest : public ::testing::TestWithParam<PixelCase> {};

TEST_P(SelectedItemPixelTest, DrawsTheRoundedGradientWithItsOutline) {
    static const QImage image = drawItem({true, false});
    const PixelCase& c = GetParam();
    EXPECT_PIXEL(image, c.x, c.y, c.hex) << c.label;
}

// Extent 25 with three colours: the first band (lines 0..12) is flat
// #FFF5DD, the second (len 12) blends to #FFD25E at line 24.
INSTANTIATE_TEST_SUITE_P(
    Cases, SelectedItemPixelTest,
    ::testing::Values(PixelCase{"nominal: top row inside the outline", 200, 1, "#FFF5DD"},
                      PixelCase{"nominal: flat first half", 200, 12, "#FFF5DD"},
                      PixelCase{"nominal: blend, line 18 (t = 6/12)", 200, 18, "#FFE39D"},
                      PixelCase{"nominal: blend, line 22 (t = 10/12)", 200, 22, "#FFD773"},
                      PixelCase{"nominal: last line below the outline", 200, 24, "#FFD25E"},
                      PixelCase{"nominal: right column beside the outline", 224, 12, "#FFF5DD"},
                      PixelCase{"nominal: outline top", 100, 0, "#C5C5C5"},
                      PixelCase{"nominal: outline left", 0, 12, "#C5C5C5"},
                      PixelCase{"nominal: outline right at R - 2", 223, 12, "#C5C5C5"},
                      PixelCase{"nominal: outline bottom at B - 2", 100, 23, "#C5C5C5"},
                      PixelCase{"nominal: white of the picture is transparent", 4, 4, "#FFF5DD"},
                      PixelCase{"nominal: picture at (L + 4, T + 4)", 8, 8, "#FF0000"},
                      PixelCase{"nominal: picture's last red pixel", 15, 15, "#FF0000"},
                      PixelCase{"nominal: beyond the picture, line 16 (t = 4/12)", 16, 16,
                                "#FFE9B2"},
                      PixelCase{"robustness: corner outside the rounded region", 0, 0, "#FF00FF"},
                      PixelCase{"robustness: bottom right corner outside", 224, 24, "#FF00FF"}));

class UnselectedItemPixelTest : public ::testing::TestWithParam<PixelCase> {};

TEST_P(UnselectedItemPixelTest, DrawsWhiteWithThePicture) {
    static const QImage image = drawItem({false, false});
    const PixelCase& c = GetParam();
    EXPECT_PIXEL(image, c.x, c.y, c.hex) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Cases, UnselectedItemPixelTest,
                         ::testing::Values(PixelCase{"nominal: corner", 0, 0, "#FFFFFF"},
                                           PixelCase{"nominal: top", 100, 0, "#FFFFFF"},
                                           PixelCase{"nominal: bottom", 200, 24, "#FFFFFF"},
                                           PixelCase{"nominal: right", 224, 12, "#FFFFFF"},
                                           PixelCase{"nominal: transparent picture white", 4, 4,
                                                     "#FFFFFF"},
                                           PixelCase{"nominal: picture", 8, 8, "#FF0000"}));

// Pixels darker than mid grey: the black text.
QRect darkPixels(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) < 100 && qGreen(p) < 100 && qBlue(p) < 100) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

TEST(ResultItemTextTest, TextIsBlackFromLeft25Top4OnBothLooks) {
    for (bool selected : {false, true}) {
        const QRect text = darkPixels(drawItem({selected, false}));
        ASSERT_FALSE(text.isNull()) << selected;
        EXPECT_GE(text.left(), 25) << selected;
        EXPECT_LE(text.left(), 27) << selected;
        EXPECT_GE(text.top(), 4) << selected;
        EXPECT_LT(text.bottom(), 24) << selected;
        EXPECT_LT(text.right(), 140) << selected;
    }
}

TEST(ResultItemTextTest, LongTextIsCutWithDotsAtTheRightEdge) {
    const QString longText = QStringLiteral("Wednesday 15 September 2010 and many more words");
    const QRect text = darkPixels(drawItem({false, false}, longText));
    EXPECT_LT(text.right(), kWidth);
    const QFontMetrics metrics(quillmere::designFont(QStringLiteral("Arial"), 13));
    const QString cut = quillmere::elideWithDots(longText, metrics, kWidth - 25);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("..."))) << cut.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(cut), kWidth - 25);
    EXPECT_TRUE(longText.startsWith(cut.chopped(3)));
    EXPECT_EQ(QStringLiteral("short"),
              quillmere::elideWithDots(QStringLiteral("short"), metrics, 200));
}

TEST(ResultItemTextTest, ANullPictureDrawsNoPicture) {
    const QImage image = drawItem({false, false}, QString(), QImage());
    EXPECT_PIXEL(image, 8, 8, "#FFFFFF");
}

TEST(ResultItemFocusTest, TheFocusRectangleInvertsEveryOtherBorderPixel) {
    const QImage image = drawItem({false, true});
    EXPECT_PIXEL(image, 0, 0, "#000000");
    EXPECT_PIXEL(image, 1, 0, "#FFFFFF");
    EXPECT_PIXEL(image, 2, 0, "#000000");
    EXPECT_PIXEL(image, 0, 2, "#000000");
    EXPECT_PIXEL(image, 200, 12, "#FFFFFF");
}

struct DayTextCase {
    double day;
    const char* text;
};

class ResultDayTextTest : public ::testing::TestWithParam<DayTextCase> {};

TEST_P(ResultDayTextTest, FormatsTwoDigitDayFullMonthFourDigitYear) {
    EXPECT_EQ(QString::fromLatin1(GetParam().text),
              quillmere::TfrmDBSearch::formatResultDay(GetParam().day));
}

INSTANTIATE_TEST_SUITE_P(Cases, ResultDayTextTest,
                         ::testing::Values(DayTextCase{40429, "08 September 2010"},
                                           DayTextCase{40344, "15 June 2010"},
                                           DayTextCase{2, "01 January 1900"},
                                           DayTextCase{40543, "31 December 2010"},
                                           DayTextCase{-657434, "01 January 0100"}));

}  // namespace

namespace {

// 131 results and more in the window's 225 x 105 list: the vertical scroll
// bar appears, and every item is exactly as wide as what is left of the list,
// so there is nothing to scroll sideways.
TEST(ResultListLayoutTest, ManyResultsFitTheListWidthWithNothingToScrollSideways) {
    for (int count : {5, 131, 400}) {
        quillmere::TResultListBox list;
        list.resize(225, 105);
        for (int i = 0; i < count; ++i) {
            list.addItem(QStringLiteral("Wednesday, 15 September 2010 number %1").arg(i));
        }
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        QCoreApplication::processEvents();

        EXPECT_EQ(0, list.horizontalScrollBar()->maximum()) << count;
        EXPECT_FALSE(list.horizontalScrollBar()->isVisible()) << count;
        EXPECT_EQ(count > 4, list.verticalScrollBar()->isVisible()) << count;
        for (int row : {0, count - 1}) {
            const QRect rect = list.visualItemRect(list.item(row));
            EXPECT_EQ(list.viewport()->width(), rect.width()) << count << " row " << row;
            EXPECT_EQ(quillmere::kResultItemHeight, rect.height()) << count;
        }
    }
}

}  // namespace
