#include "controls/system_colors.h"

#include <QGuiApplication>

#include <array>

namespace quillmere {

namespace {

constexpr QPalette::ColorGroup kActive = QPalette::Active;
constexpr QPalette::ColorGroup kInactive = QPalette::Inactive;
constexpr QPalette::ColorGroup kDisabled = QPalette::Disabled;

// Indexed by the system colour index. The 3D colours follow the usual mapping
// of the window system's button colours onto QPalette: highlight -> Light,
// 3D light -> Midlight, shadow -> Dark, dark shadow -> Shadow.
constexpr std::array<PaletteSlot, 31> kSlots = {{
    {kActive, QPalette::Button},             // 0 scroll bar
    {kActive, QPalette::Window},             // 1 desktop
    {kActive, QPalette::Highlight},          // 2 active caption
    {kInactive, QPalette::Highlight},        // 3 inactive caption
    {kActive, QPalette::Window},             // 4 menu
    {kActive, QPalette::Base},               // 5 window background
    {kActive, QPalette::Shadow},             // 6 window frame
    {kActive, QPalette::WindowText},         // 7 menu text
    {kActive, QPalette::Text},               // 8 window text
    {kActive, QPalette::HighlightedText},    // 9 caption text
    {kActive, QPalette::Button},             // 10 active border
    {kInactive, QPalette::Button},           // 11 inactive border
    {kActive, QPalette::Mid},                // 12 application work space
    {kActive, QPalette::Highlight},          // 13 selection highlight
    {kActive, QPalette::HighlightedText},    // 14 highlighted text
    {kActive, QPalette::Button},             // 15 button face
    {kActive, QPalette::Dark},               // 16 button shadow
    {kDisabled, QPalette::Text},             // 17 grey text
    {kActive, QPalette::ButtonText},         // 18 button text
    {kInactive, QPalette::HighlightedText},  // 19 inactive caption text
    {kActive, QPalette::Light},              // 20 button highlight
    {kActive, QPalette::Shadow},             // 21 3D dark shadow
    {kActive, QPalette::Midlight},           // 22 3D light
    {kActive, QPalette::ToolTipText},        // 23 tool tip text
    {kActive, QPalette::ToolTipBase},        // 24 tool tip background
    {kActive, QPalette::Button},             // 25 (not defined)
    {kActive, QPalette::Link},               // 26 hot-tracked item
    {kActive, QPalette::Highlight},          // 27 active caption gradient
    {kInactive, QPalette::Highlight},        // 28 inactive caption gradient
    {kActive, QPalette::Highlight},          // 29 menu highlight
    {kActive, QPalette::Window},             // 30 menu bar
}};

}  // namespace

PaletteSlot paletteSlotOf(int systemIndex) {
    if (systemIndex < 0 || systemIndex >= static_cast<int>(kSlots.size())) {
        return {kActive, QPalette::Button};
    }
    return kSlots[static_cast<std::size_t>(systemIndex)];
}

TColor colorToRGB(TColor color, const QPalette& palette) {
    if (!isSystemColor(color)) {
        return color & 0x00FFFFFFu;
    }
    const PaletteSlot slot = paletteSlotOf(static_cast<int>(color & 0xFF));
    return fromQRgb(palette.color(slot.group, slot.role).rgb());
}

TColor colorToRGB(TColor color) {
    if (!isSystemColor(color)) {
        return color & 0x00FFFFFFu;
    }
    if (qGuiApp == nullptr) {
        return colorToRGB(color, QPalette());
    }
    return colorToRGB(color, QGuiApplication::palette());
}

QRgb toQRgb(TColor color) {
    const TColor rgb = colorToRGB(color);
    return qRgb(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

QColor toQColor(TColor color) {
    return QColor::fromRgb(toQRgb(color));
}

TColor fromQColor(const QColor& color) {
    return fromQRgb(color.rgb());
}

}  // namespace quillmere
