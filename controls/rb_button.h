// The gradient-drawn push button: a vertical two-colour gradient that fades
// toward the hover gradient while the mouse is over it and shows the pressed
// gradient while held, with a rounded border, an optional glyph and a caption.
#pragma once

#include "controls/rb_control_colors.h"
#include "controls/rb_custom_control.h"
#include "controls/rb_draw_core.h"

#include <QImage>
#include <QPointer>

namespace quillmere {

// Where the glyph sits relative to the caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TRbButton : public TRbCustomControl {
    Q_OBJECT

public:
    // A button of 75 x 25 with the default colours; its caption is `name`.
    explicit TRbButton(QWidget* parent = nullptr, const QString& name = {});
    ~TRbButton() override;

    // Result given to the owning modal dialog when clicked (0: none).
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Picture beside the caption. Without an alpha channel, the colour of its
    // bottom-left pixel is transparent; with one, it is blended by its alpha.
    const QImage& Glyph() const { return glyph_; }
    void SetGlyph(const QImage& glyph);
    // Gap between glyph and caption; negative values become 0. No repaint.
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing) { spacing_ = spacing < 0 ? 0 : spacing; }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    TRbControlColors& Colors() { return colors_; }
    const TRbControlColors& Colors() const { return colors_; }
    // Colour of the four corner pixels outside the rounded border.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ShowFocusRect() const { return showFocusRect_; }
    void SetShowFocusRect(bool on);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool on);
    // Enter anywhere in the window clicks a Default button; Escape (without
    // Shift, Ctrl or Alt) clicks a Cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool on);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on);
    bool GradientBorder() const { return gradientBorder_; }
    void SetGradientBorder(bool on) { gradientBorder_ = on; }
    // Buttons of one positive group on one parent act as a radio group.
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index) { groupIndex_ = index; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool on) { allowAllUp_ = on; }
    bool Down() const { return down_; }
    // Ignored without a group, and when going up unless AllowAllUp is on or
    // another button of the group is down. Going down releases the others.
    void SetDown(bool value);
    TGradientType GradientType() const { return gradientType_; }
    void SetGradientType(TGradientType type);

    // Draws the normal, hover and pressed gradients at the button's size.
    void RebuildImages();
    // The click action: the dialog's result, the group toggle, OnClick; a
    // modal dialog given a result closes after OnClick.
    void Click();
    // The picture a paint puts on the screen, composed from the cached images.
    QImage Compose() const;

    const QImage& NormalImage() const { return normal_; }
    const QImage& HoverImage() const { return hover_; }
    const QImage& PressedImage() const { return pressed_; }

    QSize sizeHint() const override { return {75, 25}; }

signals:
    void OnClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mouseEntered();
    void mouseLeft();
    void watchWindow();
    bool handleDialogKey(const QKeyEvent* key);
    void drawBorder(QImage& image) const;
    void drawGlyph(QImage& image, const QRect& captionRect, bool captionVisible) const;
    QRect captionRect() const;

    TRbControlColors colors_;
    int modalResult_ = 0;
    QImage glyph_;
    int spacing_ = 2;
    TButtonLayout layout_ = blGlyphLeft;
    TColor color_ = clBtnFace;
    bool showFocusRect_ = true;
    bool hotTrack_ = false;
    bool default_ = false;
    bool cancel_ = false;
    bool gradientBorder_ = true;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    TGradientType gradientType_ = gtVertical;
    QImage normal_;
    QImage hover_;
    QImage pressed_;
    QPointer<QWidget> watchedWindow_;
};

}  // namespace quillmere
