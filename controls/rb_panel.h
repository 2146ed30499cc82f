// The gradient-drawn panel that frames every window: a title bar, a button bar
// or a content frame, depending on its properties (see rb_panel_styles.h).
//
// The frame is drawn once into a cached 24-bit background picture of the
// panel's size; a paint only copies that picture and draws the caption.
#pragma once

#include "controls/rb_custom_control.h"
#include "controls/rb_draw_core.h"

#include <QImage>

namespace quillmere {

// Where the caption goes, in this order.
enum TRbCaptionPos {
    cpGroupBox,
    cpTopLeft,
    cpTopCenter,
    cpTopRight,
    cpMiddleLeft,
    cpMiddleCenter,
    cpMiddleRight,
    cpBottomLeft,
    cpBottomCenter,
    cpBottomRight
};

class TRbPanel : public TRbCustomControl {
    Q_OBJECT

public:
    // A panel of 185 x 105 with the default look; its caption is `name`.
    explicit TRbPanel(QWidget* parent = nullptr, const QString& name = {});

    TRbCaptionPos CaptionPosition() const { return captionPosition_; }
    void SetCaptionPosition(TRbCaptionPos position);
    // Corner ellipse width and height; negative values are ignored.
    int CornerWidth() const { return cornerWidth_; }
    void SetCornerWidth(int width);
    // Frame line width; values of 0 or less are ignored. Re-lays out children.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor color);
    TColor OuterColor() const { return outerColor_; }
    void SetOuterColor(TColor color);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // With ParentColor on, OuterColor follows the parent's colour: a parent
    // panel's Color, or the window colour of any other parent.
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);
    TColor TextShadowColor() const { return textShadowColor_; }
    void SetTextShadowColor(TColor color);
    // Switching antialiasing on switches the gradient off.
    bool Antialiased() const { return antialiased_; }
    void SetAntialiased(bool on);
    // Cannot be switched on while Antialiased is on.
    bool Gradient() const { return gradient_; }
    void SetGradient(bool on);
    // Gradient colours. Changing them rebuilds the background at once, so the
    // new colours show without waiting for another rebuild.
    TColor DefaultFrom() const { return defaultFrom_; }
    void SetDefaultFrom(TColor color);
    TColor DefaultTo() const { return defaultTo_; }
    void SetDefaultTo(TColor color);
    TGradientType GradientType() const { return gradientType_; }
    void SetGradientType(TGradientType type);

    // While loading, property changes do not rebuild the background; EndLoad
    // rebuilds it once (the panel being read from its window's layout).
    void BeginLoad() { loading_ = true; }
    void EndLoad();
    bool Loading() const { return loading_; }

    // Draws the frame into the background picture now and repaints.
    void RebuildBackground();
    // The cached frame, always of the panel's size (rebuilt first when a
    // change arrived while the panel was hidden).
    const QImage& Background() const;
    // How often the background has been drawn (for tests and benchmarks).
    int RebuildCount() const { return rebuildCount_; }

    // The area left to child controls: the panel inset by BorderWidth + 1
    // (below the caption line for cpGroupBox). Layouts keep to it.
    QRect ClientArea() const;
    // The caption rectangle and format flags for the current position.
    QRect CaptionRect() const;
    unsigned CaptionFormat() const;

    QSize sizeHint() const override { return {185, 105}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void backgroundChanged();
    // A panel drawn in fixed colours sets the colour of the text on it
    // (labels, group box titles) to black or white, whichever reads better
    // on its face, so that a dark desktop palette cannot put white text on
    // its white face. A face in system colours leaves the palette alone.
    void setTextColours();
    void takeParentColor();
    void rebuildNow() const;
    void updateMargins();
    int groupBoxDrop() const;
    void drawGroupBoxCaption(QPainter& painter);
    void drawFrame(QImage& image, int scale, const QRegion* clip) const;

    TRbCaptionPos captionPosition_ = cpTopLeft;
    int cornerWidth_ = 10;
    int borderWidth_ = 2;
    TColor borderColor_ = 8421504;  // #808080
    TColor outerColor_ = clBtnFace;
    TColor color_ = 14933983;  // #DFDFE3
    TColor textShadowColor_ = 16777215;
    bool antialiased_ = true;
    bool gradient_ = false;
    TColor defaultFrom_ = 16777215;
    TColor defaultTo_ = 14933983;
    TGradientType gradientType_ = gtVertical;
    bool parentColor_ = false;
    bool loading_ = false;
    mutable bool stale_ = true;
    mutable QImage background_;
    mutable int rebuildCount_ = 0;
};

}  // namespace quillmere
