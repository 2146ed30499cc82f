// ImageList1: 32 pictures of 16 x 16, drawn from the icon font, and the
// background colour rule.
#include "editor/format/image_list.h"

#include "test_support.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <set>

namespace quillmere {
namespace {

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return count;
}

TEST(ImageListTest, HoldsThirtyTwoPicturesOfSixteenBySixteen) {
    ImageList list;
    EXPECT_EQ(32, list.count());
    EXPECT_EQ(QSize(16, 16), list.imageSize());
    for (int i = 0; i < 32; ++i) {
        const QImage image = list.image(i);
        EXPECT_EQ(QSize(16, 16), image.size()) << "image " << i;
        EXPECT_TRUE(image.hasAlphaChannel()) << "image " << i;
        EXPECT_EQ(QSize(16, 16), list.icon(i).actualSize(QSize(16, 16))) << "image " << i;
    }
    EXPECT_EQ(32, list.icons().size());
}

TEST(ImageListTest, EveryPictureIsDrawnFromItsOwnSymbol) {
    ImageList list;
    std::set<QByteArray> distinct;
    for (int i = 0; i < 32; ++i) {
        const QImage image = list.image(i);
        // A symbol the icon font lacks would leave the picture blank.
        EXPECT_GT(opaquePixels(image), 10) << "image " << i << " " << ImageList::symbol(i).ligature;
        EXPECT_LT(opaquePixels(image), 256) << "image " << i;
        distinct.insert(
            QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(32u, distinct.size());
}

struct SymbolCase {
    int index;
    const char* ligature;
};

class ImageSymbolTest : public ::testing::TestWithParam<SymbolCase> {};

TEST_P(ImageSymbolTest, IndexShowsTheChosenSymbol) {
    EXPECT_STREQ(GetParam().ligature, ImageList::symbol(GetParam().index).ligature);
}

INSTANTIATE_TEST_SUITE_P(Symbols, ImageSymbolTest,
                         ::testing::Values(SymbolCase{4, "format_bold"},
                                           SymbolCase{8, "format_align_center"},
                                           SymbolCase{10, "content_cut"},
                                           SymbolCase{20, "event_note"}, SymbolCase{27, "search"},
                                           SymbolCase{29, "image"}, SymbolCase{30, "link"},
                                           SymbolCase{31, "format_align_justify"}));

TEST(ImageListTest, WithoutABackgroundThePicturesAreTransparent) {
    ImageList list;
    EXPECT_FALSE(list.backgroundColor().has_value());
    const QImage bold = list.image(4);
    EXPECT_EQ(0, qAlpha(bold.pixel(0, 0)));
    EXPECT_EQ(0, qAlpha(bold.pixel(15, 15)));
}

TEST(ImageListTest, ABackgroundColourIsUnderEveryPixel) {
    ImageList list;
    const QImage transparent = list.image(20);
    QSignalSpy changed(&list, &ImageList::changed);
    list.setBackgroundColor(QColor(Qt::white));
    EXPECT_EQ(1, changed.count());
    const QImage onWhite = list.image(20);
    EXPECT_PIXEL(onWhite, 0, 0, "#FFFFFF");
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(255, qAlpha(onWhite.pixel(x, y))) << x << "," << y;
            // The symbol's own pixels are the same colour as before wherever
            // they were fully opaque.
            if (qAlpha(transparent.pixel(x, y)) == 255) {
                EXPECT_EQ(transparent.pixel(x, y), onWhite.pixel(x, y)) << x << "," << y;
            }
        }
    }
    list.setBackgroundColor(QColor(Qt::white));  // unchanged: no report
    EXPECT_EQ(1, changed.count());
    list.setBackgroundColor(std::nullopt);
    EXPECT_EQ(2, changed.count());
    EXPECT_EQ(transparent, list.image(20));
}

TEST(ImageListTest, IndicesOutsideTheListGiveNothing) {
    ImageList list;
    for (int index : {-1, 32, 1000}) {
        EXPECT_TRUE(list.image(index).isNull()) << index;
        EXPECT_TRUE(list.icon(index).isNull()) << index;
    }
}

}  // namespace
}  // namespace quillmere
