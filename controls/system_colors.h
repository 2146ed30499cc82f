// Colour values of the drawn controls and the one place where the window
// system's named colours are turned into numbers.
//
// A colour value is a 32-bit integer. With the high bit clear it is a 24-bit
// colour 0x00BBGGRR (red in the low byte, blue in the high byte); with the
// high bit set, its low byte is the index of a system colour (clBtnFace is
// 0x80000000 | 15). System colours stand for roles of the application's
// QPalette and are resolved to 0x00BBGGRR by colorToRGB before any arithmetic.
#pragma once

#include <QColor>
#include <QPalette>
#include <QRgb>

#include <cstdint>

namespace quillmere {

using TColor = std::uint32_t;

// Marks a system colour identifier; the low byte holds the system index.
inline constexpr TColor kSystemColorFlag = 0x80000000u;

// System colour indices of the window system, with their identifiers.
inline constexpr TColor clScrollBar = kSystemColorFlag | 0;
inline constexpr TColor clBackground = kSystemColorFlag | 1;
inline constexpr TColor clActiveCaption = kSystemColorFlag | 2;
inline constexpr TColor clInactiveCaption = kSystemColorFlag | 3;
inline constexpr TColor clMenu = kSystemColorFlag | 4;
inline constexpr TColor clWindow = kSystemColorFlag | 5;
inline constexpr TColor clWindowFrame = kSystemColorFlag | 6;
inline constexpr TColor clMenuText = kSystemColorFlag | 7;
inline constexpr TColor clWindowText = kSystemColorFlag | 8;
inline constexpr TColor clCaptionText = kSystemColorFlag | 9;
inline constexpr TColor clActiveBorder = kSystemColorFlag | 10;
inline constexpr TColor clInactiveBorder = kSystemColorFlag | 11;
inline constexpr TColor clAppWorkSpace = kSystemColorFlag | 12;
inline constexpr TColor clHighlight = kSystemColorFlag | 13;
inline constexpr TColor clHighlightText = kSystemColorFlag | 14;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;
inline constexpr TColor clBtnShadow = kSystemColorFlag | 16;
inline constexpr TColor clGrayText = kSystemColorFlag | 17;
inline constexpr TColor clBtnText = kSystemColorFlag | 18;
inline constexpr TColor clInactiveCaptionText = kSystemColorFlag | 19;
inline constexpr TColor clBtnHighlight = kSystemColorFlag | 20;
inline constexpr TColor cl3DDkShadow = kSystemColorFlag | 21;
inline constexpr TColor cl3DLight = kSystemColorFlag | 22;
inline constexpr TColor clInfoText = kSystemColorFlag | 23;
inline constexpr TColor clInfoBk = kSystemColorFlag | 24;
inline constexpr TColor clHotLight = kSystemColorFlag | 26;
inline constexpr TColor clGradientActiveCaption = kSystemColorFlag | 27;
inline constexpr TColor clGradientInactiveCaption = kSystemColorFlag | 28;
inline constexpr TColor clMenuHighlight = kSystemColorFlag | 29;
inline constexpr TColor clMenuBar = kSystemColorFlag | 30;

// Plain colours the drawn controls name often (0x00BBGGRR).
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;

// True for a system colour identifier (high bit set).
constexpr bool isSystemColor(TColor color) {
    return (color & kSystemColorFlag) != 0;
}

// The palette group and role a system colour stands for.
struct PaletteSlot {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Palette slot of a system colour index (the low byte of the identifier).
// Indices the window system does not define map to the button face role.
PaletteSlot paletteSlotOf(int systemIndex);

// Resolves a colour value to 0x00BBGGRR. A system colour is looked up in
// `palette`; a plain colour loses anything above its low 24 bits.
TColor colorToRGB(TColor color, const QPalette& palette);

// As above, with the application's current palette (QGuiApplication must exist
// for system colours; without one, the default QPalette is used).
TColor colorToRGB(TColor color);

// Channel access and composition of 0x00BBGGRR values.
constexpr int redOf(TColor rgb) {
    return static_cast<int>(rgb & 0xFF);
}
constexpr int greenOf(TColor rgb) {
    return static_cast<int>((rgb >> 8) & 0xFF);
}
constexpr int blueOf(TColor rgb) {
    return static_cast<int>((rgb >> 16) & 0xFF);
}
constexpr TColor rgbColor(int red, int green, int blue) {
    return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

// Conversions between 0x00BBGGRR and Qt's colour types. System colours are
// resolved with the application's palette first.
QRgb toQRgb(TColor color);
QColor toQColor(TColor color);
constexpr TColor fromQRgb(QRgb rgb) {
    return rgbColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
TColor fromQColor(const QColor& color);

}  // namespace quillmere
