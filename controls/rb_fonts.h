// Fonts of the drawn controls: the substitutes for the font names the windows
// ask for, and glyph pictures drawn from the Material Icons font.
#pragma once

#include "controls/system_colors.h"

#include <QFont>
#include <QImage>
#include <QString>

namespace quillmere {

// Family that stands in for "Arial" and "MS Sans Serif".
inline constexpr const char* kSubstituteFamily = "Liberation Sans";

// Where the Material Icons font is installed on the system.
inline constexpr const char* kMaterialIconsFile =
    "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf";

// Makes "Arial" and "MS Sans Serif" resolve to Liberation Sans. Safe to call
// more than once; the drawn controls call it when the first one is made.
void installFontSubstitutes();

// A font of the family, `pixelHeight` pixels high (the character height),
// optionally bold.
QFont designFont(const QString& family, int pixelHeight, bool bold = false);

// Loads the Material Icons font into the application once and returns its
// family name; empty when the font file is missing or unreadable.
QString materialIconFamily();

// A size x size picture with an alpha channel of the Material Icons glyph
// named by its ligature (e.g. "arrow_back") in `color`, centred. Returns a null
// image when the font is missing or the name is not one of its glyphs.
QImage materialGlyph(const QString& ligature, int size, TColor color);

// As above for a glyph given by its code point (e.g. 0xE5C4).
QImage materialGlyph(char32_t codePoint, int size, TColor color);

}  // namespace quillmere
