// The font dialog `FontDialog1` and the colour dialog `ColorDialog1` of the
// formatting commands, behind small function types so that a test (or a
// later command) can put a scripted choice in their place.
#pragma once

#include <QColor>
#include <QFont>

#include <functional>
#include <optional>

class QColorDialog;
class QFontDialog;
class QWidget;

namespace quillmere {

// What a font dialog is loaded with and gives back: the font (face, size,
// styles, weight, pitch), the text colour and the Windows character set
// number.
struct FontChoice {
    QFont font;
    QColor color;
    int charset = 1;
};

// Shows a font dialog loaded with `initial` over `parent`; the choice on OK,
// nothing when cancelled.
using FontDialogFn = std::function<std::optional<FontChoice>(QWidget* parent, const FontChoice&)>;
// Shows a colour dialog starting at `initial`; the colour on OK, nothing
// when cancelled.
using ColorDialogFn = std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)>;

// The font as the screen really shows it, for loading a font dialog: the
// family the name resolves to (a stand-in family when the named one is not
// installed, such as Liberation Sans for Arial), the weight, slant and the
// size in points (from a pixel size at the screen's resolution when the font
// was given in pixels); underline and strike-out as given.
QFont resolvedDialogFont(const QFont& font);

// The platform's font dialog, one instance made on first use and kept (the
// commands share it). It opens on resolvedDialogFont of the initial font. Qt's dialog chooses no
// colour or character set: those come back as they were loaded.
FontDialogFn platformFontDialog();
// The platform's colour dialog, fully expanded, any colour; one instance.
ColorDialogFn platformColorDialog();

}  // namespace quillmere
