// The editor's render call: which characters fit into a rectangle of a
// device, where they are drawn, the cache between calls of a page loop, and
// pictures at their size or scaled down to the rectangle.
#include "editor/rich_editor.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/rtf.h"
#include "print_recorder.h"
#include "test_support.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using testing::RecordingDevice;

constexpr int kDpi = 300;
// A page of 8.5 x 11 inches at 300 dpi.
const QSize kPage(2550, 3300);
// The rectangle starts an inch from the left and top.
constexpr int kLeftTwips = 1440;
constexpr int kTopTwips = 1440;
constexpr int kLeftPixels = 300;
constexpr int kTopPixels = 300;

QString lines(int count) {
    QStringList all;
    for (int i = 0; i < count; ++i) {
        all << QStringLiteral("Line %1").arg(i);
    }
    return all.join(u'\n');
}

int blockStart(const RichEditor& editor, int block) {
    return editor.document()->findBlockByNumber(block).position();
}

// Line spacing of the editor's font on the device, in device pixels.
qreal lineSpacing(const RecordingDevice& device) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(11);
    return QFontMetricsF(font, &device).lineSpacing();
}

class RenderCallTest : public ::testing::Test {
protected:
    RenderCallTest() : device(kPage, kDpi) { painter.begin(&device); }
    ~RenderCallTest() override { painter.end(); }

    // A range whose rectangle is `heightPixels` tall and 6 inches wide.
    FormatRange range(int cpMin, int cpMax, qreal heightPixels) {
        const int bottomTwips = kTopTwips + static_cast<int>(heightPixels * 1440 / kDpi);
        return {&painter,
                &device,
                {kLeftTwips, kTopTwips, kLeftTwips + 6 * 1440, bottomTwips},
                {0, 0, kPage.width() * 1440 / kDpi, kPage.height() * 1440 / kDpi},
                cpMin,
                cpMax};
    }

    RecordingDevice device;
    QPainter painter;
    RichEditor editor;
};

TEST_F(RenderCallTest, ReturnsTheFirstCharacterThatDidNotFitAndGoesOnFromThere) {
    editor.replaceSelection(lines(10));
    // Room for three lines and a half.
    const qreal height = 3.5 * lineSpacing(device);

    FormatRange r = range(0, -1, height);
    EXPECT_EQ(blockStart(editor, 3), editor.formatRange(true, r));
    EXPECT_EQ("Line 0Line 1Line 2", device.pageText(0).toStdString());
    ASSERT_EQ(3u, device.texts.size());
    // The first line's text starts at the rectangle's left edge, its top at
    // the rectangle's top.
    EXPECT_EQ(kLeftPixels, device.texts[0].baseline.x());
    EXPECT_GT(device.texts[0].baseline.y(), kTopPixels);
    EXPECT_LT(device.texts[0].baseline.y(), kTopPixels + lineSpacing(device));
    EXPECT_LT(device.texts[0].baseline.y(), device.texts[1].baseline.y());

    // The page loop's next calls start where the last one stopped.
    const int expected[] = {blockStart(editor, 6), blockStart(editor, 9), editor.renderLength()};
    const char* pageText[] = {"Line 3Line 4Line 5", "Line 6Line 7Line 8", "Line 9"};
    int from = blockStart(editor, 3);
    for (int page = 1; page <= 3; ++page) {
        device.page = page;
        r.cpMin = from;
        from = editor.formatRange(true, r);
        EXPECT_EQ(expected[page - 1], from) << "page " << page;
        EXPECT_EQ(pageText[page - 1], device.pageText(page).toStdString()) << "page " << page;
    }
    // Each page starts at the top of the rectangle again.
    for (const auto& run : device.texts) {
        if (run.text == "Line 3" || run.text == "Line 9") {
            EXPECT_EQ(device.texts[0].baseline, run.baseline) << run.text.toStdString();
        }
    }
    editor.releaseFormatRange();
}

struct RangeCase {
    const char* name;
    int cpMin;
    int cpMax;  // -1: to the end
    int expected;
    const char* drawn;
};

class RenderCallRanges : public RenderCallTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RenderCallRanges, RenderExactlyTheRange) {
    editor.replaceSelection(QStringLiteral("Line 0\nLine 1"));
    const RangeCase& row = GetParam();
    EXPECT_EQ(row.expected, editor.formatRange(true, range(row.cpMin, row.cpMax, 3000)));
    EXPECT_EQ(row.drawn, device.pageText(0).toStdString());
}

// "Line 0\nLine 1": 13 characters, the paragraph end at 6.
INSTANTIATE_TEST_SUITE_P(
    Ranges, RenderCallRanges,
    ::testing::Values(RangeCase{"nominal_whole_text", 0, -1, 13, "Line 0Line 1"},
                      RangeCase{"nominal_inside_a_paragraph", 2, 4, 4, "ne"},
                      RangeCase{"nominal_across_the_paragraph_end", 4, 9, 9, " 0Li"},
                      RangeCase{"nominal_second_paragraph", 7, 13, 13, "Line 1"},
                      RangeCase{"robustness_end_beyond_the_text", 7, 500, 13, "Line 1"},
                      RangeCase{"robustness_empty_range", 5, 5, 5, ""},
                      RangeCase{"robustness_reversed_range", 9, 4, 9, ""},
                      RangeCase{"robustness_start_beyond_the_text", 50, -1, 13, ""},
                      RangeCase{"robustness_negative_start", -5, 4, 4, "Line"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RenderCallTest, MeasuringDrawsNothing) {
    editor.replaceSelection(lines(10));
    const qreal height = 3.5 * lineSpacing(device);
    EXPECT_EQ(blockStart(editor, 3), editor.formatRange(false, range(0, -1, height)));
    EXPECT_TRUE(device.texts.empty());
    // Without any device there is nothing to lay out for.
    FormatRange none = range(0, -1, height);
    none.render = nullptr;
    none.target = nullptr;
    EXPECT_EQ(0, editor.formatRange(true, none));
}

TEST_F(RenderCallTest, TakesALineTallerThanTheRectangleSoALoopMovesOn) {
    editor.replaceSelection(lines(3));
    EXPECT_EQ(blockStart(editor, 1), editor.formatRange(true, range(0, -1, 1)));
    EXPECT_EQ("Line 0", device.pageText(0).toStdString());
}

TEST_F(RenderCallTest, LaysOutTheTextAsItIsNowAfterAnEdit) {
    editor.replaceSelection(lines(10));
    const qreal height = 3.5 * lineSpacing(device);
    editor.formatRange(false, range(0, -1, height));
    editor.setSelection(0, blockStart(editor, 2));
    editor.deleteSelection();
    EXPECT_EQ(blockStart(editor, 3), editor.formatRange(true, range(0, -1, height)));
    EXPECT_EQ("Line 2Line 3Line 4", device.pageText(0).toStdString());
}

TEST_F(RenderCallTest, PicturesKeepTheirSizeOrAreScaledDownToTheRectangle) {
    QTextCursor cursor(editor.document());
    // One inch by half an inch at 96 pixels per inch.
    QImage small(96, 48, QImage::Format_RGB32);
    small.fill(Qt::red);
    rtf::insertPicture(cursor, small);
    cursor.insertBlock();
    // Ten inches wide: more than the rectangle's six.
    QImage wide(960, 96, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    rtf::insertPicture(cursor, wide);

    EXPECT_EQ(editor.renderLength(), editor.formatRange(true, range(0, -1, 3000)));
    ASSERT_EQ(2u, device.pictures.size());
    EXPECT_EQ(QSizeF(300, 150), device.pictures[0].rect.size());
    EXPECT_EQ(kLeftPixels, device.pictures[0].rect.left());
    EXPECT_NEAR(6 * kDpi, device.pictures[1].rect.width(), 1.0);
    // Stored at most a page's text wide (9638 twips), the picture is shown at
    // 643 x 64 whole screen pixels, a hair off its 10:1; printed, it keeps
    // the shown proportion within the layout's rounding.
    EXPECT_NEAR(6.0 * kDpi * 64 / 643, device.pictures[1].rect.height(), 1.5);
}

TEST_F(RenderCallTest, APictureTallerThanThePageFitsOnOnePage) {
    QTextCursor cursor(editor.document());
    // Twenty inches tall.
    QImage tall(96, 1920, QImage::Format_RGB32);
    tall.fill(Qt::green);
    rtf::insertPicture(cursor, tall);
    EXPECT_EQ(editor.renderLength(), editor.formatRange(true, range(0, -1, 2 * kDpi)));
    ASSERT_EQ(1u, device.pictures.size());
    EXPECT_NEAR(2 * kDpi, device.pictures[0].rect.height(), 1.0);
    EXPECT_NEAR(kDpi / 10, device.pictures[0].rect.width(), 1.0);
}

// A phone photo prints upright, at its upright size; the entry keeps the
// camera's pixels.
TEST_F(RenderCallTest, PhotoPrintsUprightAsItsCameraRecorded) {
    const QByteArray jpeg = testsupport::exifPhoto(64, 32, 6);
    QTextCursor cursor(editor.document());
    rtf::insertPicture(cursor, rtf::decodeJpeg(jpeg), jpeg);
    EXPECT_EQ(editor.renderLength(), editor.formatRange(true, range(0, -1, 3000)));
    ASSERT_EQ(1u, device.pictures.size());
    // 32 x 64 pixels at 96 dpi on a 300 dpi device.
    EXPECT_EQ(QSizeF(100, 200), device.pictures[0].rect.size());
    const QImage drawn = device.pictures[0].image;
    ASSERT_FALSE(drawn.isNull());
    EXPECT_GT(drawn.height(), drawn.width());
    // Upright, the camera's bottom left (blue) is at the top left.
    const QColor topLeft = drawn.pixelColor(drawn.width() / 4, drawn.height() / 4);
    EXPECT_GT(topLeft.blue(), 200) << topLeft.name().toStdString();
    EXPECT_LT(topLeft.red(), 60) << topLeft.name().toStdString();
    // The camera's own bytes, stored as binary data.
    EXPECT_TRUE(editor.saveRtf().contains(jpeg));
}

}  // namespace
}  // namespace quillmere
