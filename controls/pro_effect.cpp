// The 35 ready-made looks of the cylinder progress bar and their application.
#include "controls/pro_effect.h"

#include "controls/progress_cyl.h"

#include <array>

namespace quillmere {

namespace {

// Shading parameter sets the presets share (IntensityRGB, Intensity,
// IntensityFactor, RangeRGB, ColorRGB, ColorFactor, LightAngle).
constexpr StyleValues kA{255, 4.0f, -1.0f, 255, 255, -1.0f, -3.0f};
constexpr StyleValues kB{255, 4.0f, -1.0f, 255, 255, 1.0f, -3.0f};
constexpr StyleValues kC{-100, 4.0f, -1.7f, -100, -100, -1.0f, -1.5f};
constexpr StyleValues kD{-100, 4.0f, -1.7f, -100, -100, -1.0f, -1.6f};
constexpr StyleValues kE{255, 2.0f, -1.0f, 153, 0, 1.0f, -3.0f};
constexpr StyleValues kF{255, 4.0f, -1.5f, 153, 0, 1.0f, -3.0f};
constexpr StyleValues kG{255, 4.0f, -1.5f, 153, 0, 1.0f, -3.2f};
constexpr StyleValues kH{255, 3.0f, -0.8f, 255, 200, 1.0f, -3.0f};
constexpr StyleValues kI{-50, 8.0f, -1.5f, -150, -80, -1.0f, -1.5f};
constexpr StyleValues kJ{200, 4.0f, -0.5f, 200, 200, -1.2f, -3.0f};
constexpr StyleValues kK{-100, 4.0f, -1.5f, -80, -100, -1.0f, -1.5f};
constexpr StyleValues kL{-100, 4.0f, -1.5f, -80, -100, -1.5f, -1.5f};

constexpr std::optional<TColor> kNoShadow = std::nullopt;
constexpr std::optional<PresetFrame> kNoFrame = std::nullopt;

PresetLook look(TCylinderEffect ce, TFontEffect fe, std::optional<TColor> shadow, TColor fore,
                TColor back, TColor line, const StyleValues& backStyle,
                const StyleValues& foreStyle, std::optional<PresetFrame> frame = kNoFrame) {
    return {ce, fe, shadow, fore, back, line, backStyle, foreStyle, frame};
}

// Metal looks: white background, black edge line, shading set C on both parts.
PresetLook metal(TColor fore) {
    return look(ceMaximum, feShadowBottomRight, clBtnFace, fore, clWhite, clBlack, kC, kC);
}

PresetLook glass(TColor fore, TColor back, TColor line, const StyleValues& foreStyle) {
    return look(ceMaximum, feNone, kNoShadow, fore, back, line, kB, foreStyle);
}

PresetLook standard(TColor fore, TColor back) {
    return look(ceMaximum, feInvert, kNoShadow, fore, back, clWhite, kE, kA);
}

std::array<std::optional<PresetLook>, kProEffectCount> buildTable() {
    std::array<std::optional<PresetLook>, kProEffectCount> t{};
    const auto bsr = feShadowBottomRight;
    t[demoSystem] = look(ceMaximum, bsr, clBtnFace, clBtnFace, clWhite, clHighlight, kA, kA,
                         PresetFrame{bvLowered, bvRaised, 2, true});
    t[demoMetal] = look(ceMaximum, bsr, clWhite, 16766079, clWhite, clBlack, kD, kD,
                        PresetFrame{bvNone, bvLowered, 2, false});
    t[demoSunken] = look(ceMaximum, feInvert, clBlack, clWhite, 128, 255, kE, kA,
                         PresetFrame{bvNone, bvRaised, 2, true});
    t[peGlassRed] = glass(204, 8421504, clWhite, kH);
    t[peGlassOrange] = glass(33023, 12632256, 128, kB);
    t[peGlassYellow] = glass(52942, 12632256, clBlack, kH);
    t[peGlassGreen] = glass(32768, 8421504, clWhite, kB);
    t[peGlassCyan] = glass(8421376, 12632256, 65535, kB);
    t[peGlassBlue] = glass(14117632, 8421504, clWhite, kH);
    t[peGlassViolet] = glass(11757158, 12632256, clBlack, kB);
    t[peGlassPurple] = glass(8388736, 8421504, clWhite, kB);
    t[peSystem1] = look(ceMaximum, bsr, clBtnFace, clBtnFace, clWindow, clHighlight, kA, kA);
    t[peSystem2] = look(ceMaximum, bsr, clBtnFace, clBtnFace, clWindow, clHighlight, kC, kI);
    t[peSystem3] = look(ceMaximum, bsr, clBtnFace, clBtnShadow, clBtnFace, clWindow, kA, kA);
    t[peSystem4] = look(ceMaximum, bsr, clBtnFace, clBtnShadow, clBtnFace, clWindow, kC, kC);
    t[peSystem5] = look(ceMaximum, feInvert, kNoShadow, clWindow, clHighlight, clHighlight, kE, kA);
    t[peSystem6] = look(ceMaximum, feInvert, kNoShadow, clWindow, clHighlight, clHighlight, kF, kC);
    t[peSystem7] = look(ceMaximum, feInvert, kNoShadow, clHighlight, clBtnShadow, clWindow, kE, kJ);
    t[peSystem8] =
        look(ceMaximum, feInvert, kNoShadow, clHighlight, clBtnShadow, clBtnFace, kG, kK);
    t[peUpLoad1] = look(ceHigh, feInvert, kNoShadow, 185, clWindow, clBlack, kA, kE);
    t[peUpLoad2] = look(ceHigh, feInvert, kNoShadow, clBtnShadow, clBtnFace, clBlack, kL, kG);
    t[peMetalRed] = metal(255);
    t[peMetalOrange] = metal(38655);
    t[peMetalYellow] = metal(65535);
    t[peMetalCyan] = metal(16776960);
    t[peMetalGreen] = metal(4259584);
    t[peMetalLightBlue] = metal(16766079);
    t[peMetalBlue] = metal(15112960);
    t[peMetalViolet] = metal(13540251);
    t[peMetalDarkGray] = metal(9997193);
    t[peMetalGold] = metal(8506623);
    t[peStdRed] = standard(204, 102);
    t[peStdYellow] = standard(65535, 39321);
    t[peStdGreen] = standard(3407616, 4227072);
    t[peStdBlue] = standard(14117632, 6500381);
    return t;
}

}  // namespace

std::optional<PresetLook> presetLook(TProEffect effect) {
    static const auto table = buildTable();
    const auto index = static_cast<std::size_t>(effect);
    return index < table.size() ? table[index] : std::nullopt;
}

void TProgressCyl::setProEffect(TProEffect value) {
    if (static_cast<int>(value) >= kProEffectCount) {
        return;  // not a look this control knows
    }
    proEffect_ = value;
    const std::optional<PresetLook> preset = presetLook(value);
    if (!preset) {
        applyingPreset_ = false;
        return;
    }
    applyingPreset_ = true;
    // A control without a parent would become a window of its own if shown,
    // so only a child control is hidden while the preset is applied.
    const bool child = parentWidget() != nullptr;
    if (child) {
        hide();
    }
    setCylinderEffect(preset->CylinderEffect);
    if (preset->Frame) {
        setBevelOuter(preset->Frame->BevelOuter);
        setBevelInner(preset->Frame->BevelInner);
        setBorderWidth(preset->Frame->BorderWidth);
        setShowText(preset->Frame->ShowText);
    }
    setFontColor(clBlack);
    if (preset->FontShadowColor) {
        setFontShadowColor(*preset->FontShadowColor);
    }
    setFontEffect(preset->FontEffect);
    setForeColor(preset->ForeColor);
    setBackColor(preset->BackColor);
    setForeLineColor(preset->ForeLineColor);
    setBackBorderColor(clBlack);
    setColor(clBtnFace);
    setBevelColor(clBtnFace);
    backStyle_.assign(preset->BackStyle);
    foreStyle_.assign(preset->ForeStyle);
    if (child) {
        show();
    }
    applyingPreset_ = false;
}

}  // namespace quillmere
