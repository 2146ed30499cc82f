#include "editor/format/format_dialogs.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QPointer>

#include <memory>

namespace quillmere {

namespace {

// The dialogs live as long as the window they were first shown over (or as
// long as the program, when made without one).
template <typename Dialog>
Dialog* sharedDialog(QPointer<Dialog>& slot, QWidget* parent, const char* name) {
    if (slot.isNull()) {
        slot = new Dialog(parent != nullptr ? parent->window() : nullptr);
        slot->setObjectName(QString::fromLatin1(name));
    }
    return slot.data();
}

}  // namespace

QFont resolvedDialogFont(const QFont& font) {
    const QFontInfo shown(font);
    QFont resolved(shown.family());
    resolved.setWeight(shown.weight() >= QFont::DemiBold ? QFont::Bold : QFont::Normal);
    resolved.setItalic(shown.italic());
    resolved.setUnderline(font.underline());
    resolved.setStrikeOut(font.strikeOut());
    int points = font.pointSize();
    if (points <= 0 && font.pixelSize() > 0) {
        // Pixels at the 96 dots per inch the program's sizes are made for.
        points = qRound(font.pixelSize() * 72 / 96.0);
    }
    if (points > 0) {
        resolved.setPointSize(points);
    }
    return resolved;
}

FontDialogFn platformFontDialog() {
    auto slot = std::make_shared<QPointer<QFontDialog>>();
    return [slot](QWidget* parent, const FontChoice& initial) -> std::optional<FontChoice> {
        QFontDialog* dialog = sharedDialog(*slot, parent, "FontDialog1");
        dialog->setCurrentFont(resolvedDialogFont(initial.font));
        if (dialog->exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        FontChoice chosen = initial;
        chosen.font = dialog->selectedFont();
        return chosen;
    };
}

ColorDialogFn platformColorDialog() {
    auto slot = std::make_shared<QPointer<QColorDialog>>();
    return [slot](QWidget* parent, const QColor& initial) -> std::optional<QColor> {
        QColorDialog* dialog = sharedDialog(*slot, parent, "ColorDialog1");
        dialog->setCurrentColor(initial);
        if (dialog->exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return dialog->selectedColor();
    };
}

}  // namespace quillmere
