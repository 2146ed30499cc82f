// The gradient-drawn check box: a 13 x 13 box with a diagonal gradient that
// fades toward the hover gradient, the "CHECK" mark tinted in CheckColor, and
// a caption right of the box. Space toggles it.
#pragma once

#include "controls/rb_control_colors.h"
#include "controls/rb_custom_control.h"
#include "controls/rb_draw_core.h"

#include <QImage>

namespace quillmere {

// Edges of the control along which lines are drawn.
enum TBorderLine : unsigned { blTop = 1, blBottom = 2, blLeft = 4, blRight = 8 };
using TBorderLines = unsigned;

// Side of the box pictures.
inline constexpr int kCheckBoxSize = 13;

// The 8 x 8 check mark kept with the program (":/controls/CHECK"): black
// strokes on magenta. Null when the resource is missing.
QImage CheckMarkPicture();

class TRbCheckBox : public TRbCustomControl {
    Q_OBJECT

public:
    // A check box of 130 x 17 with the default colours; its caption is `name`.
    explicit TRbCheckBox(QWidget* parent = nullptr, const QString& name = {});

    bool Checked() const { return checked_; }
    void SetChecked(bool on);
    TColor CheckColor() const { return checkColor_; }
    void SetCheckColor(TColor color);
    TRbControlColors& Colors() { return colors_; }
    const TRbControlColors& Colors() const { return colors_; }
    // Background of the control.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // Gap between box area and caption: the caption starts at Spacing + 16.
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    bool ShowFocusRect() const { return showFocusRect_; }
    void SetShowFocusRect(bool on);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool on);
    bool GradientBorder() const { return gradientBorder_; }
    void SetGradientBorder(bool on) { gradientBorder_ = on; }
    TBorderLines BorderLines() const { return borderLines_; }
    void SetBorderLines(TBorderLines lines);
    TColor BorderLinesColor() const { return borderLinesColor_; }
    void SetBorderLinesColor(TColor color);

    // Draws the three box pictures; the normal and hover ones get a border.
    void RebuildImages();
    // The click action: Checked := not Checked, then OnClick.
    void Toggle();
    // Where the box is drawn within the composed picture.
    QRect BoxRect() const;
    // The picture a paint puts on the screen.
    QImage Compose() const;

    const QImage& NormalImage() const { return normal_; }
    const QImage& HoverImage() const { return hover_; }
    const QImage& PressedImage() const { return pressed_; }

    QSize sizeHint() const override { return {130, 17}; }

signals:
    void OnClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage composeBox() const;
    void drawBorderLines(QImage& image) const;

    TRbControlColors colors_;
    bool checked_ = false;
    TColor checkColor_ = 32768;  // #008000
    TColor color_ = clBtnFace;
    int spacing_ = 3;
    bool showFocusRect_ = true;
    bool hotTrack_ = false;
    bool gradientBorder_ = true;
    TBorderLines borderLines_ = 0;
    TColor borderLinesColor_ = 8421504;  // #808080
    QImage normal_;
    QImage hover_;
    QImage pressed_;
};

}  // namespace quillmere
