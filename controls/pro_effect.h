// Named looks of the cylinder progress bar. Assigning one to
// TProgressCyl::setProEffect fills the shading depth, text effect, colours
// and both shading parameter sets at once; peCustom applies nothing.
#pragma once

#include "controls/progress_cyl_types.h"
#include "controls/system_colors.h"

#include <cstdint>
#include <optional>

namespace quillmere {

// In this order (ordinal values 0 to 35); stored files and callers may rely
// on the ordinals.
enum TProEffect : std::uint8_t {
    demoSystem,
    demoMetal,
    demoSunken,
    peCustom,
    peGlassRed,
    peGlassOrange,
    peGlassYellow,
    peGlassGreen,
    peGlassCyan,
    peGlassBlue,
    peGlassViolet,
    peGlassPurple,
    peSystem1,
    peSystem2,
    peSystem3,
    peSystem4,
    peSystem5,
    peSystem6,
    peSystem7,
    peSystem8,
    peUpLoad1,
    peUpLoad2,
    peMetalRed,
    peMetalOrange,
    peMetalYellow,
    peMetalCyan,
    peMetalGreen,
    peMetalLightBlue,
    peMetalBlue,
    peMetalViolet,
    peMetalDarkGray,
    peMetalGold,
    peStdRed,
    peStdYellow,
    peStdGreen,
    peStdBlue,
};

inline constexpr int kProEffectCount = 36;

// The frame a demonstration preset sets as well.
struct PresetFrame {
    TBevelCut BevelOuter;
    TBevelCut BevelInner;
    int BorderWidth;
    bool ShowText;
};

// Everything one preset assigns besides the values every preset shares
// (black font and frame, button-face margins and bevel base).
struct PresetLook {
    TCylinderEffect CylinderEffect;
    TFontEffect FontEffect;
    std::optional<TColor> FontShadowColor;  // absent: left as it is
    TColor ForeColor;
    TColor BackColor;
    TColor ForeLineColor;
    StyleValues BackStyle;
    StyleValues ForeStyle;
    std::optional<PresetFrame> Frame;  // demonstration presets only
};

// The look of a preset; peCustom (and any value out of range) has none.
std::optional<PresetLook> presetLook(TProEffect effect);

}  // namespace quillmere
