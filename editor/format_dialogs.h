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

// The platform's font dialog, one instance made on first use and kept (the
// commands share it). Qt's dialog chooses no colour or character set: those
// come back as they were loaded.
FontDialogFn platformFontDialog();
// The platform's colour dialog, fully expanded, any colour; one instance.
ColorDialogFn platformColorDialog();

}  // namespace quillmere
