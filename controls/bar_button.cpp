#include "controls/bar_button.h"

#include "controls/rb_button.h"
#include "controls/rb_fonts.h"

namespace quillmere {

TRbButton* MakeBarButton(QWidget* parent, const QString& name, const QString& caption,
                         const QRect& geometry, char32_t glyphCode, bool glyphRight, TColor color) {
    auto* button = new TRbButton(parent, name);
    button->setGeometry(geometry);
    button->SetCaption(caption);
    button->setFont(designFont(QStringLiteral("MS Sans Serif"), 11));
    button->SetColor(color);
    button->SetShowFocusRect(false);
    button->SetHotTrack(false);
    button->SetGradientBorder(false);
    button->SetTextShadow(false);
    if (glyphCode != 0) {
        button->SetGlyph(materialGlyph(glyphCode, 16, kBarGlyphColor));
        button->SetLayout(glyphRight ? blGlyphRight : blGlyphLeft);
        button->SetSpacing(5);
    }
    return button;
}

}  // namespace quillmere
