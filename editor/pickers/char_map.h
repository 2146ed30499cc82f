// The character map's window-free core: which code each cell of the 20 x 13
// grid holds, which character a code stands for in a font, the keyboard-code
// label and the large preview picture.
//
// Codes are 8-bit: for an ordinary font the character of Windows code page
// 1252 (128 is the euro sign, 233 is e acute); for a symbol font the font's
// own symbol at that code. Symbol fonts come in two kinds: those whose
// symbols sit in the private-use block at U+F000 + code (Windows' symbol
// encoding), and those that key their symbols on the Latin-1 character of
// the code. Control codes (0 to 31, 127, and 128 to 159 where they are
// Latin-1's) and the five codes 1252 leaves undefined (129, 141, 143, 144,
// 157) stand for no character. This file is the one place that mapping
// lives.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>

#include <functional>

namespace quillmere {

inline constexpr int kCharMapColumns = 20;
inline constexpr int kCharMapRows = 13;
inline constexpr int kCharMapCodes = 256;
// Start of the private-use block symbol fonts map their 8-bit codes to.
inline constexpr char16_t kSymbolFontBase = 0xF000;
// Size of the preview picture and the point size of its character.
inline constexpr int kPreviewWidth = 121;
inline constexpr int kPreviewHeight = 129;
inline constexpr int kPreviewPointSize = 70;

// The code of the cell in `column` (0 to 19) and `row` (0 to 12): (20 x row +
// column) mod 256. Cells outside the grid give -1.
int charMapCode(int column, int row);

// How a face's 8-bit codes become characters.
enum class CodeMapping {
    CodePage1252,      // an ordinary font
    SymbolPrivateUse,  // a symbol font with its symbols at U+F000 + code
    SymbolLatin1,      // a symbol font keyed on the Latin-1 characters
};

// The character `code` (0 to 255) stands for, as a one-character string, or
// an empty string for a code that stands for none (and for codes outside
// 0 to 255).
QString charMapText(int code, CodeMapping mapping);

// The code of a cell's text as charMapText made it, or -1 for a text it
// cannot have made (empty, longer than one character, or not a map
// character).
int charMapCodeOfText(const QString& text, CodeMapping mapping);

// The label that reads, after "ALT + ", as the keyboard code: "0" followed by
// the code in decimal (65 gives "065", 200 gives "0200", 0 gives "00").
QString altCodeLabel(int code);

// The mapping of an installed face: CodePage1252 unless its writing systems
// include Symbol; then SymbolPrivateUse when it has glyphs in U+F020 to
// U+F0FF, else SymbolLatin1.
CodeMapping codeMappingOf(const QString& family);

// The preview: kPreviewWidth x kPreviewHeight, white, a one-pixel black
// outline along its edges and `text` drawn as one line in `font` and
// `color`, centred in the area inside the outline. Never throws.
QImage renderCharPreview(const QString& text, const QFont& font,
                         const QColor& color = QColor(0, 0, 128));

}  // namespace quillmere
