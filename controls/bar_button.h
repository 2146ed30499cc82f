// The program's push-button look, shared by the main window's bars and every
// dialog: MS Sans Serif 11 pixels, no focus rectangle, no hot tracking, no
// gradient border, no text shadow, an optional icon-font glyph beside the
// caption.
#pragma once

#include "controls/system_colors.h"

#include <QRect>
#include <QString>

class QWidget;

namespace quillmere {

class TRbButton;

// The colour of the buttons' glyphs (#303030).
inline constexpr TColor kBarGlyphColor = 0x00303030;

// A push button with the program's look in colour `color` at `geometry`, its
// glyph (none for code 0) left of the caption, or right of it. The button
// belongs to `parent`.
TRbButton* MakeBarButton(QWidget* parent, const QString& name, const QString& caption,
                         const QRect& geometry, char32_t glyphCode, bool glyphRight, TColor color);

}  // namespace quillmere
