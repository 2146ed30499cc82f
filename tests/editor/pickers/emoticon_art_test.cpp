// The emoticon pictures: each of its listed size with something drawn in it,
// drawn from the emoji font, and plain circle faces (reported once) when the
// font is missing.
#include "editor/pickers/emoticon_art.h"

#include "test_support.h"

#include <QColor>
#include <QSet>

#include <gtest/gtest.h>

#include <string>

namespace quillmere {
namespace {

struct PictureStats {
    int opaque = 0;   // pixels not fully transparent
    int colours = 0;  // distinct colours among them
};

PictureStats statsOf(const QImage& picture) {
    PictureStats stats;
    QSet<QRgb> colours;
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb pixel = argb.pixel(x, y);
            if (qAlpha(pixel) != 0) {
                ++stats.opaque;
                colours.insert(pixel);
            }
        }
    }
    stats.colours = int(colours.size());
    return stats;
}

class EmoticonPictureTest : public ::testing::TestWithParam<int> {};

TEST_P(EmoticonPictureTest, HasItsListedSizeAndShowsTheEmojiOverATransparentBackground) {
    const EmoticonRow* row = EmoticonRowOf(GetParam());
    ASSERT_NE(nullptr, row);
    ASSERT_TRUE(EmojiAvailable(*row)) << "the emoji font lacks " << row->hoverText;
    const QImage picture = DrawEmoticon(*row);
    EXPECT_EQ(row->geometry.size(), picture.size()) << row->hoverText;
    EXPECT_TRUE(picture.hasAlphaChannel());

    const PictureStats stats = statsOf(picture);
    const int area = picture.width() * picture.height();
    // An emoji fills a good part of its box with many colours; a blank or a
    // one-colour box would be a failed drawing.
    EXPECT_GT(stats.opaque, area / 5) << row->hoverText;
    EXPECT_GT(stats.colours, 8) << row->hoverText;
    // It is the emoji, not the plain face drawn without the font.
    EXPECT_NE(DrawCircleFace(picture.size()), picture) << row->hoverText;
    // Scaled to fit: the drawing touches two opposite sides of its box.
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    auto columnUsed = [&](int x) {
        for (int y = 0; y < argb.height(); ++y) {
            if (qAlpha(argb.pixel(x, y)) != 0) {
                return true;
            }
        }
        return false;
    };
    auto rowUsed = [&](int y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(argb.pixel(x, y)) != 0) {
                return true;
            }
        }
        return false;
    };
    const bool fillsWidth = columnUsed(0) && columnUsed(argb.width() - 1);
    const bool fillsHeight = rowUsed(0) && rowUsed(argb.height() - 1);
    EXPECT_TRUE(fillsWidth || fillsHeight) << row->hoverText;
}

INSTANTIATE_TEST_SUITE_P(Tags, EmoticonPictureTest, ::testing::Range(1, kEmoticonCount + 1),
                         [](const auto& info) { return "tag" + std::to_string(info.param); });

TEST(EmoticonTable, TagsRunFromOneToTwentyNineInOrderWithOneEmojiEach) {
    ASSERT_EQ(size_t(kEmoticonCount), EmoticonRows().size());
    QSet<QString> emoji;
    QSet<QString> components;
    for (int tag = 1; tag <= kEmoticonCount; ++tag) {
        const EmoticonRow* row = EmoticonRowOf(tag);
        ASSERT_NE(nullptr, row);
        EXPECT_EQ(tag, row->tag);
        emoji.insert(EmojiText(*row));
        components.insert(QString::fromLatin1(row->component));
    }
    EXPECT_EQ(kEmoticonCount, emoji.size()) << "every picture has its own emoji";
    EXPECT_EQ(kEmoticonCount, components.size());
    EXPECT_EQ(nullptr, EmoticonRowOf(0));
    EXPECT_EQ(nullptr, EmoticonRowOf(30));
    EXPECT_EQ(nullptr, EmoticonRowOf(-1));
}

// Sizes a plain face is drawn at: square, tall, wide, the largest, and
// smaller than anything drawable.
class CircleFaceTest : public ::testing::TestWithParam<QSize> {};

TEST_P(CircleFaceTest, IsAYellowFaceOfExactlyTheSizeOnTransparentCorners) {
    const QSize size = GetParam();
    const QImage face = DrawCircleFace(size);
    ASSERT_EQ(size, face.size());
    const QImage argb = face.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(0, qAlpha(argb.pixel(0, 0)));
    EXPECT_EQ(0, qAlpha(argb.pixel(size.width() - 1, 0)));
    EXPECT_EQ(0, qAlpha(argb.pixel(0, size.height() - 1)));
    EXPECT_EQ(0, qAlpha(argb.pixel(size.width() - 1, size.height() - 1)));
    if (std::min(size.width(), size.height()) < 4) {
        EXPECT_EQ(0, statsOf(face).opaque) << "too small to draw";
        return;
    }
    // Between the eyes, above the mouth: the face's yellow.
    const int cx = size.width() / 2;
    const int cy = size.height() / 2;
    EXPECT_PIXEL(argb, cx, cy, "#FFD42A");
    EXPECT_EQ(255, qAlpha(argb.pixel(cx, cy)));
    // The eyes are dark, left and right of the centre.
    const int side = std::min(size.width(), size.height());
    const int eyeY = cy - side * 14 / 100;
    EXPECT_LT(qGray(argb.pixel(cx - side / 5, eyeY)), 128) << "left eye";
    EXPECT_LT(qGray(argb.pixel(cx + side / 5, eyeY)), 128) << "right eye";
}

INSTANTIATE_TEST_SUITE_P(Sizes, CircleFaceTest,
                         ::testing::Values(QSize(21, 21), QSize(22, 30), QSize(54, 30),
                                           QSize(51, 45), QSize(3, 20)));

TEST(EmoticonFallback, MissingFontDrawsPlainFacesAndSaysSoOnceOnStandardError) {
    const QString missing = QStringLiteral("No Such Emoji Family Q7");
    ::testing::internal::CaptureStderr();
    for (const EmoticonRow& row : EmoticonRows()) {
        const QImage picture = DrawEmoticonFrom(missing, row);
        EXPECT_EQ(DrawCircleFace(row.geometry.size()), picture) << row.hoverText;
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(
        "Quillmere: the font \"No Such Emoji Family Q7\" is not installed or lacks an emoji; "
        "the emoticons are drawn as plain faces.\n",
        said);
}

}  // namespace
}  // namespace quillmere
