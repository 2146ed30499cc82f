#include "editor/format/image_list.h"

#include "controls/rb_fonts.h"

#include <QPainter>
#include <QPixmap>

#include <array>

namespace quillmere {

namespace {

// The palette of the pictures (0x00BBGGRR): one ink for commands, a red for
// deleting and text colour, amber for the highlighter, green for what leaves
// or enters the entry as a file.
constexpr quint32 kInk = 0x8C5224;        // #24528C
constexpr quint32 kRed = 0x2828C6;        // #C62828
constexpr quint32 kAmber = 0x00A0E6;      // #E6A000
constexpr quint32 kGreen = 0x3C8E2E;      // #2E8E3C
constexpr quint32 kEntryBlue = 0xC06515;  // #1565C0

// Which symbol each index shows. Indices not used by the tool bar or the
// menu still hold a picture, so the list is complete.
constexpr std::array<ImageSymbol, ImageList::kImageCount> kImageSymbols = {{
    {"description", kInk},           // 0
    {"note_add", kGreen},            // 1
    {"save", kGreen},                // 2
    {"format_strikethrough", kInk},  // 3
    {"format_bold", kInk},           // 4  Bold
    {"format_italic", kInk},         // 5  Italic
    {"format_underlined", kInk},     // 6  Underline
    {"format_align_left", kInk},     // 7  Align Left
    {"format_align_center", kInk},   // 8  Align Center
    {"format_align_right", kInk},    // 9  Align Right
    {"content_cut", kInk},           // 10 Cut
    {"content_copy", kInk},          // 11 Copy
    {"content_paste", kInk},         // 12 Paste
    {"print", kInk},                 // 13 Print...
    {"format_list_bulleted", kInk},  // 14 Bullets
    {"text_fields", kInk},           // 15 Font...
    {"redo", kInk},                  // 16 Redo
    {"undo", kInk},                  // 17 Undo
    {"select_all", kInk},            // 18
    {"delete", kRed},                // 19 Clear Selection, Clear All
    {"event_note", kEntryBlue},      // 20 a day's entry (search results)
    {"save_alt", kGreen},            // 21 Export...
    {"format_color_text", kRed},     // 22 Font Colour...
    {"border_color", kAmber},        // 23 Highlight Colour...
    {"insert_emoticon", kAmber},     // 24 Insert Emoticon...
    {"functions", kInk},             // 25 Insert Special Characters...
    {"folder_open", kGreen},         // 26 Import...
    {"search", kInk},                // 27 Find Text...
    {"find_in_page", kEntryBlue},    // 28 Full Database Text Search...
    {"image", kGreen},               // 29 Insert Picture...
    {"link", kEntryBlue},            // 30 Insert Link...
    {"format_align_justify", kInk},  // 31 justify
}};

// The icon font keeps a margin of 1/12 around every symbol; drawing it at 18
// pixels and keeping the middle 16 x 16 lets the symbol fill the picture.
constexpr int kDrawnSize = 18;

QImage drawSymbol(const ImageSymbol& row) {
    const QImage drawn = materialGlyph(QString::fromLatin1(row.ligature), kDrawnSize, row.color);
    if (drawn.isNull()) {
        QImage blank(ImageList::kImageSize, ImageList::kImageSize, QImage::Format_ARGB32);
        blank.fill(Qt::transparent);
        return blank;
    }
    const int margin = (kDrawnSize - ImageList::kImageSize) / 2;
    return drawn.copy(margin, margin, ImageList::kImageSize, ImageList::kImageSize)
        .convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

ImageList::ImageList(QObject* parent) : QObject(parent) {
    glyphs_.reserve(kImageCount);
    for (const ImageSymbol& row : kImageSymbols) {
        glyphs_.push_back(drawSymbol(row));
    }
}

const ImageSymbol& ImageList::symbol(int index) {
    return kImageSymbols.at(static_cast<size_t>(index));
}

void ImageList::setBackgroundColor(std::optional<QColor> color) {
    if (color == background_) {
        return;
    }
    background_ = color;
    emit changed();
}

QImage ImageList::image(int index) const {
    if (index < 0 || index >= kImageCount) {
        return {};
    }
    if (!background_) {
        return glyphs_[index];
    }
    QImage onBackground(kImageSize, kImageSize, QImage::Format_ARGB32);
    onBackground.fill(*background_);
    QPainter painter(&onBackground);
    painter.drawImage(0, 0, glyphs_[index]);
    return onBackground;
}

QIcon ImageList::icon(int index) const {
    if (index < 0 || index >= kImageCount) {
        return {};
    }
    return QIcon(QPixmap::fromImage(image(index)));
}

QList<QIcon> ImageList::icons() const {
    QList<QIcon> all;
    all.reserve(kImageCount);
    for (int i = 0; i < kImageCount; ++i) {
        all.push_back(icon(i));
    }
    return all;
}

}  // namespace quillmere
