// `ImageList1`: the 32 pictures of 16 x 16 pixels that the formatting tool bar,
// the editor's context menu and the search result list show, by index.
//
// The pictures are drawn once, when the list is made, from the Material Icons
// font; kImageSymbols (image_list.cpp) is the one table of which symbol each
// index shows. Like a platform image list, the list has a background colour:
// with none the pictures are transparent, with a colour every picture is
// rendered on that colour (the search result list asks for white, the
// context menu for none).
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>

#include <optional>

namespace quillmere {

// One row of the picture table: the Material Icons ligature and its colour
// (0x00BBGGRR).
struct ImageSymbol {
    const char* ligature;
    quint32 color;
};

class ImageList : public QObject {
    Q_OBJECT
public:
    static constexpr int kImageCount = 32;
    static constexpr int kImageSize = 16;

    // Draws the pictures. A missing icon font leaves every picture blank
    // (transparent, or the background colour) but the list keeps its 32
    // entries, so indices stay valid.
    explicit ImageList(QObject* parent = nullptr);

    int count() const { return kImageCount; }
    QSize imageSize() const { return {kImageSize, kImageSize}; }

    // The background the pictures are rendered on; none (nullopt) draws them
    // transparently. Changing it reports changed().
    std::optional<QColor> backgroundColor() const { return background_; }
    void setBackgroundColor(std::optional<QColor> color);

    // Picture `index` (0 to 31) rendered on the background colour, 16 x 16,
    // ARGB32; a null image for an index outside the list.
    QImage image(int index) const;
    // The same picture as an icon (a null icon outside the list).
    QIcon icon(int index) const;
    // Every picture as an icon, in index order (what MenuLook::setImage takes).
    QList<QIcon> icons() const;

    // The symbol table row of `index`, for the list's own drawing and tests.
    static const ImageSymbol& symbol(int index);

signals:
    // The background colour changed: pictures handed out before are stale.
    void changed();

private:
    QList<QImage> glyphs_;  // transparent pictures, as drawn from the font
    std::optional<QColor> background_;
};

}  // namespace quillmere
