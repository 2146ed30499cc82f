// System colour identifiers and the substitute fonts.
#include "controls/rb_fonts.h"
#include "controls/system_colors.h"

#include "rb_test_app.h"

#include <QFontInfo>

#include <gtest/gtest.h>
#include <QImage>

using namespace quillmere;

TEST(SystemColors, IdentifiersCarryTheWindowSystemIndex) {
    EXPECT_EQ(0x8000000Fu, clBtnFace);
    EXPECT_EQ(0x8000000Du, clHighlight);
    EXPECT_EQ(0x80000005u, clWindow);
    EXPECT_EQ(0x80000010u, clBtnShadow);
    EXPECT_EQ(0x80000014u, clBtnHighlight);
    EXPECT_TRUE(isSystemColor(clMenuText));
    EXPECT_FALSE(isSystemColor(0xFFFFFF));
}

TEST(SystemColors, ResolveThroughThePalette) {
    rbtest::ensureApp();
    EXPECT_EQ(rbtest::kTestBtnFace, colorToRGB(clBtnFace));
    EXPECT_EQ(rbtest::kTestBtnShadow, colorToRGB(clBtnShadow));
    EXPECT_EQ(rbtest::kTestBtnHighlight, colorToRGB(clBtnHighlight));
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(0x302010u, colorToRGB(clHighlight, palette));
    EXPECT_EQ(0x123456u, colorToRGB(0x7F123456u)) << "plain colours keep 24 bits";
}

TEST(SystemColors, ByteOrderIsRedInTheLowByte) {
    EXPECT_EQ(QColor(255, 0, 0), toQColor(0x0000FF));
    EXPECT_EQ(qRgb(0x10, 0x84, 0xD0), toQRgb(13665296));
    EXPECT_EQ(13665296u, fromQRgb(qRgb(0x10, 0x84, 0xD0)));
    EXPECT_EQ(0x00D08410u, fromQColor(QColor("#1084D0")));
    EXPECT_EQ(0x10, redOf(13665296));
    EXPECT_EQ(0xD0, blueOf(13665296));
}

// The settings record's colour values, both ways.
struct ColorRefCase {
    quint32 colorRef;
    QColor color;
};

void PrintTo(const ColorRefCase& c, std::ostream* os) {
    *os << std::hex << c.colorRef;
}

class ColorRefTest : public ::testing::TestWithParam<ColorRefCase> {};

TEST_P(ColorRefTest, ConvertsBothWays) {
    EXPECT_EQ(GetParam().color, toQColor(static_cast<TColor>(GetParam().colorRef)));
    EXPECT_EQ(GetParam().colorRef, fromQColor(GetParam().color));
}

INSTANTIATE_TEST_SUITE_P(RedInTheLowByte, ColorRefTest,
                         ::testing::Values(ColorRefCase{0x000000FF, QColor(255, 0, 0)},
                                           ColorRefCase{0x0000FF00, QColor(0, 255, 0)},
                                           ColorRefCase{0x00FF0000, QColor(0, 0, 255)},
                                           ColorRefCase{0x00E3DFDF, QColor(0xDF, 0xDF, 0xE3)},
                                           ColorRefCase{0, QColor(0, 0, 0)}));

TEST(Fonts, DesignFontsUseLiberationSans) {
    rbtest::ensureApp();
    EXPECT_EQ("Liberation Sans", QFontInfo(designFont("Arial", 13, true)).family());
    EXPECT_EQ("Liberation Sans", QFontInfo(designFont("MS Sans Serif", 11)).family());
    EXPECT_EQ(29, QFontInfo(designFont("Arial", 29, true)).pixelSize());
}

TEST(Fonts, MaterialGlyphsByLigatureAndCodePoint) {
    rbtest::ensureApp();
    ASSERT_FALSE(materialIconFamily().isEmpty());
    for (const QImage& glyph : {materialGlyph(QStringLiteral("arrow_back"), 16, clBlack),
                                materialGlyph(char32_t(0xE5C4), 16, clBlack)}) {
        ASSERT_FALSE(glyph.isNull());
        EXPECT_EQ(QSize(16, 16), glyph.size());
        int opaque = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                opaque += qAlpha(glyph.pixel(x, y)) > 128 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 10);
        EXPECT_LT(opaque, 200);
    }
    EXPECT_TRUE(materialGlyph(QStringLiteral("no_such_icon_at_all"), 16, clBlack).isNull());
}
