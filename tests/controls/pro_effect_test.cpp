// The look presets of the cylinder progress bar and the peCustom rule.
#include "controls/pro_effect.h"

#include "controls/progress_cyl.h"

#include "test_support.h"

#include <QWidget>

namespace quillmere {
namespace {

TEST(ProEffect, presetReadsBackUntilALookPropertyChanges) {
    TProgressCyl bar;
    bar.setProEffect(peMetalGold);
    EXPECT_EQ(peMetalGold, bar.proEffect());
    EXPECT_EQ(TColor{8506623}, bar.foreColor());  // #FFCC81
    EXPECT_EQ(clWhite, bar.backColor());
    EXPECT_EQ(clBlack, bar.foreLineColor());
    EXPECT_EQ(clBtnFace, bar.fontShadowColor());
    EXPECT_EQ(feShadowBottomRight, bar.fontEffect());
    // Set C on both parts.
    const StyleValues c{-100, 4.0f, -1.7f, -100, -100, -1.0f, -1.5f};
    EXPECT_EQ(c, bar.foreStyle().values());
    EXPECT_EQ(c, bar.backStyle().values());

    bar.setForeColor(255);
    EXPECT_EQ(peCustom, bar.proEffect());
    EXPECT_EQ(TColor{255}, bar.foreColor());
    EXPECT_EQ(clWhite, bar.backColor());
    EXPECT_EQ(c, bar.foreStyle().values());
}

// Every look property, and every style value, switches a preset to peCustom.
struct CustomCase {
    const char* label;
    void (*change)(TProgressCyl&);
};

void PrintTo(const CustomCase& c, std::ostream* os) {
    *os << c.label;
}

class ProEffectCustom : public testing::TestWithParam<CustomCase> {};

TEST_P(ProEffectCustom, directChangeReadsPeCustom) {
    TProgressCyl bar;
    bar.setProEffect(peGlassBlue);
    GetParam().change(bar);
    EXPECT_EQ(peCustom, bar.proEffect());
}

INSTANTIATE_TEST_SUITE_P(
    Properties, ProEffectCustom,
    testing::Values(
        CustomCase{"ForeColor", [](TProgressCyl& b) { b.setForeColor(1); }},
        CustomCase{"ForeLineColor", [](TProgressCyl& b) { b.setForeLineColor(1); }},
        CustomCase{"BackColor", [](TProgressCyl& b) { b.setBackColor(1); }},
        CustomCase{"BackBorderColor", [](TProgressCyl& b) { b.setBackBorderColor(1); }},
        CustomCase{"FontShadowColor", [](TProgressCyl& b) { b.setFontShadowColor(1); }},
        CustomCase{"BevelColor", [](TProgressCyl& b) { b.setBevelColor(1); }},
        CustomCase{"CylinderEffect", [](TProgressCyl& b) { b.setCylinderEffect(ceLow); }},
        CustomCase{"FontEffect", [](TProgressCyl& b) { b.setFontEffect(feShadowTopLeft); }},
        CustomCase{"ForeStyle.ColorFactor",
                   [](TProgressCyl& b) { b.foreStyle().setColorFactor(2.0f); }},
        CustomCase{"BackStyle.IntensityRGB",
                   [](TProgressCyl& b) { b.backStyle().setIntensityRGB(7); }},
        CustomCase{"BackStyle.LightAngle",
                   [](TProgressCyl& b) { b.backStyle().setLightAngle(-2.0f); }}));

TEST(ProEffect, positionTextAndFrameChangesKeepThePreset) {
    TProgressCyl bar;
    bar.setProEffect(peStdGreen);
    bar.setPosition(40);
    bar.setText(QStringLiteral(" pct"));
    bar.setTextDone(QStringLiteral("ok"));
    bar.setBevelInner(bvLowered);
    bar.setOrientation(pbVertical);
    bar.setColor(clWhite);
    bar.setMax(200);
    EXPECT_EQ(peStdGreen, bar.proEffect());
}

TEST(ProEffect, styleValuesEqualToThePresentOrZeroAreIgnored) {
    TProgressCyl bar;
    bar.setProEffect(peSystem1);
    bar.foreStyle().setIntensity(4.0f);  // equal
    bar.foreStyle().setIntensity(0.0f);  // zero
    bar.foreStyle().setRangeRGB(0);
    bar.backStyle().setLightAngle(0.0f);
    EXPECT_EQ(peSystem1, bar.proEffect());
    EXPECT_EQ(kDefaultStyleValues, bar.foreStyle().values());
    EXPECT_EQ(-3.0f, bar.backStyle().lightAngle());
}

TEST(ProEffect, systemColourChangeKeepsThePreset) {
    TProgressCyl bar;
    bar.setProEffect(peSystem3);
    bar.RecomputeColors();
    EXPECT_EQ(peSystem3, bar.proEffect());
}

TEST(ProEffect, unknownValuesAreIgnored) {
    TProgressCyl bar;
    bar.setProEffect(peMetalBlue);
    bar.setProEffect(static_cast<TProEffect>(kProEffectCount));
    EXPECT_EQ(peMetalBlue, bar.proEffect());
}

TEST(ProEffect, customChangesNothing) {
    TProgressCyl bar;
    bar.setProEffect(peGlassCyan);
    bar.setPosition(30);
    const QImage before = bar.paintBuffer().copy();
    bar.setProEffect(peCustom);
    EXPECT_EQ(peCustom, bar.proEffect());
    EXPECT_EQ(before, bar.paintBuffer());
    EXPECT_EQ(TColor{8421376}, bar.foreColor());
}

TEST(ProEffect, hiddenChildControlIsShownByAPreset) {
    QWidget window;
    auto* bar = new TProgressCyl(&window);
    bar->hide();
    ASSERT_TRUE(bar->isHidden());
    bar->setProEffect(peGlassRed);
    EXPECT_FALSE(bar->isHidden());
    bar->setProEffect(peCustom);  // applies nothing, shows nothing new
    EXPECT_FALSE(bar->isHidden());
}

TEST(ProEffect, demoMetalSwitchesTheTextOffAndOthersLeaveIt) {
    TProgressCyl bar;
    bar.setProEffect(demoMetal);
    EXPECT_FALSE(bar.showText());
    EXPECT_EQ(bvNone, bar.bevelOuter());
    EXPECT_EQ(bvLowered, bar.bevelInner());
    bar.setProEffect(peMetalRed);
    EXPECT_FALSE(bar.showText());
    bar.setProEffect(demoSunken);
    EXPECT_TRUE(bar.showText());
    EXPECT_TRUE(bar.hasInvertBitmap());  // feInvert with text on
    bar.setShowText(false);
    bar.setProEffect(peStdBlue);
    EXPECT_FALSE(bar.showText());
}

TEST(ProEffect, everyPresetSetsTheSharedValuesAndItsShadingLevel) {
    for (int i = 0; i < kProEffectCount; ++i) {
        const auto effect = static_cast<TProEffect>(i);
        if (effect == peCustom) {
            EXPECT_FALSE(presetLook(effect).has_value());
            continue;
        }
        TProgressCyl bar;
        bar.setFontColor(0x123456);
        bar.setColor(clWhite);
        bar.setBackBorderColor(clWhite);
        bar.setBevelColor(clWhite);
        bar.setProEffect(effect);
        SCOPED_TRACE(i);
        EXPECT_EQ(effect, bar.proEffect());
        EXPECT_EQ(clBlack, bar.fontColor());
        EXPECT_EQ(clBlack, bar.backBorderColor());
        EXPECT_EQ(clBtnFace, bar.color());
        EXPECT_EQ(clBtnFace, bar.bevelColor());
        const bool upload = effect == peUpLoad1 || effect == peUpLoad2;
        EXPECT_EQ(upload ? 204 : 255, bar.cylinderLevel());
        EXPECT_EQ(bar.fontEffect() == feInvert, bar.hasInvertBitmap() && bar.showText());
    }
}

struct PresetRow {
    TProEffect effect;
    TFontEffect fontEffect;
    TColor fore;
    TColor back;
    TColor line;
    StyleValues backStyle;
    StyleValues foreStyle;
};

void PrintTo(const PresetRow& r, std::ostream* os) {
    *os << "preset " << static_cast<int>(r.effect);
}

class ProEffectRows : public testing::TestWithParam<PresetRow> {};

TEST_P(ProEffectRows, presetAssignsItsColoursAndStyles) {
    const PresetRow& r = GetParam();
    TProgressCyl bar;
    bar.setProEffect(r.effect);
    EXPECT_EQ(r.fontEffect, bar.fontEffect());
    EXPECT_EQ(r.fore, bar.foreColor());
    EXPECT_EQ(r.back, bar.backColor());
    EXPECT_EQ(r.line, bar.foreLineColor());
    EXPECT_EQ(r.backStyle, bar.backStyle().values());
    EXPECT_EQ(r.foreStyle, bar.foreStyle().values());
}

constexpr StyleValues kSetA{255, 4, -1, 255, 255, -1, -3};
constexpr StyleValues kSetB{255, 4, -1, 255, 255, 1, -3};
constexpr StyleValues kSetD{-100, 4, -1.7f, -100, -100, -1, -1.6f};
constexpr StyleValues kSetE{255, 2, -1, 153, 0, 1, -3};
constexpr StyleValues kSetG{255, 4, -1.5f, 153, 0, 1, -3.2f};
constexpr StyleValues kSetH{255, 3, -0.8f, 255, 200, 1, -3};
constexpr StyleValues kSetJ{200, 4, -0.5f, 200, 200, -1.2f, -3};
constexpr StyleValues kSetL{-100, 4, -1.5f, -80, -100, -1.5f, -1.5f};

INSTANTIATE_TEST_SUITE_P(
    Table, ProEffectRows,
    testing::Values(
        PresetRow{demoSystem, feShadowBottomRight, clBtnFace, clWhite, clHighlight, kSetA, kSetA},
        PresetRow{demoMetal, feShadowBottomRight, 16766079, clWhite, clBlack, kSetD, kSetD},
        PresetRow{demoSunken, feInvert, clWhite, 128, 255, kSetE, kSetA},
        PresetRow{peGlassYellow, feNone, 52942, 12632256, clBlack, kSetB, kSetH},
        PresetRow{peSystem7, feInvert, clHighlight, clBtnShadow, clWindow, kSetE, kSetJ},
        PresetRow{peUpLoad2, feInvert, clBtnShadow, clBtnFace, clBlack, kSetL, kSetG},
        PresetRow{peStdBlue, feInvert, 14117632, 6500381, clWhite, kSetE, kSetA}));

}  // namespace
}  // namespace quillmere
