// The tool bar's picture buttons, drawn in fixed colours so that they read the
// same on the white tool bar band under any desktop palette: nothing but the
// picture while idle, a light blue face with a dark blue border while checked
// or pressed (at least 4.5:1 against the band and against the picture's ink),
// a paler face while the pointer is over it, and a dotted focus mark while the
// keyboard is on it.
#pragma once

#include <QColor>
#include <QToolButton>

namespace quillmere {

class FlatToolButton : public QToolButton {
    Q_OBJECT
public:
    // The fixed colours of the looks above.
    static inline const QColor kCheckedFace{0xD6, 0xE6, 0xF7};    // #D6E6F7
    static inline const QColor kCheckedBorder{0x24, 0x52, 0x8C};  // #24528C
    static inline const QColor kHoverFace{0xEA, 0xF2, 0xFB};      // #EAF2FB
    static inline const QColor kHoverBorder{0x8F, 0xB0, 0xD6};    // #8FB0D6
    static inline const QColor kFocusMark{0x00, 0x00, 0x00};      // black dots

    explicit FlatToolButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace quillmere
