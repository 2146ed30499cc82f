// Value types of the cylinder progress bar, shared with its look presets.
#pragma once

#include <cstdint>

namespace quillmere {

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TCylinderEffect : std::uint8_t { ceFlat, ceUltraLow, ceLow, ceMedium, ceHigh, ceMaximum };
enum TFontEffect : std::uint8_t { feNone, feInvert, feShadowTopLeft, feShadowBottomRight };
enum TFontOrientation : std::uint8_t { foLeftToRight, foTopToBottom, foBottomToTop };
enum TProgressBarOrientation : std::uint8_t { pbHorizontal, pbVertical };

// The seven shading parameters of one TPCColorStyle. The float members are
// 32-bit floats (-1.7 is the float nearest to -1.7).
struct StyleValues {
    std::int32_t IntensityRGB;
    float Intensity;
    float IntensityFactor;
    std::int32_t RangeRGB;
    std::int32_t ColorRGB;
    float ColorFactor;
    float LightAngle;

    friend bool operator==(const StyleValues&, const StyleValues&) = default;
};

// The values a new style starts with: the lit-tube look, brightest a third of
// the way across the bar.
inline constexpr StyleValues kDefaultStyleValues{255, 4.0f, -1.0f, 255, 255, -1.0f, -3.0f};

}  // namespace quillmere
