// The emoticon picker's 29 pictures: where each sits in the picker, the text
// shown while the mouse is over it, the emoji it is drawn from, and the
// drawing itself. Window-free: everything here works on QImage only.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <span>

namespace quillmere {

// Number of pictures; their tags run from 1 to this.
inline constexpr int kEmoticonCount = 29;

// Family the pictures are drawn from.
inline constexpr const char* kEmojiFamily = "Noto Color Emoji";

// One picture of the picker.
struct EmoticonRow {
    int tag;                        // 1..29, selects the hover text
    const char* component;          // the image component's name ("Image2")
    QRect geometry;                 // top-left inside the picture panel, and size
    const char* hoverText;          // name and shortcut, three blanks apart
    std::array<char32_t, 2> emoji;  // code points drawn (0: unused)
};

// The 29 rows, in tag order (row i has tag i + 1).
std::span<const EmoticonRow> EmoticonRows();

// The row of a tag; null for a tag outside 1..29.
const EmoticonRow* EmoticonRowOf(int tag);

// The emoji of a row as text.
QString EmojiText(const EmoticonRow& row);

// True when the emoji font is installed and holds the row's emoji.
bool EmojiAvailable(const EmoticonRow& row);

// The picture of a row: an ARGB image of exactly the row's size with a
// transparent background, the emoji scaled to fit and centred. When the emoji
// font is missing (or lacks this emoji) a plain circle face of that size is
// drawn instead, and the first such picture of the run says so once on
// standard error. Never returns a null image.
QImage DrawEmoticon(const EmoticonRow& row);

// As DrawEmoticon, drawn from the font `family` (tests name a family that is
// not installed to see the plain faces).
QImage DrawEmoticonFrom(const QString& family, const EmoticonRow& row);

// A yellow circle face (two eyes and a smile) as large as fits in `size`,
// centred on a transparent background.
QImage DrawCircleFace(QSize size);

}  // namespace quillmere
