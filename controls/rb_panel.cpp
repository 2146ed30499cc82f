#include "controls/rb_panel.h"

#include "controls/contrast.h"

#include "controls/rb_fonts.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace quillmere {

TRbPanel::TRbPanel(QWidget* parent, const QString& name) : TRbCustomControl(parent, name) {
    setFont(designFont(QStringLiteral("MS Sans Serif"), 11));
    SetFontColor(13500416);  // #0000CE
    // Panels frame other controls and show no focus of their own, so the
    // focus passes them by, with Tab as with a click.
    setFocusPolicy(Qt::NoFocus);
    resize(185, 105);
    updateMargins();
}

void TRbPanel::SetCaptionPosition(TRbCaptionPos position) {
    if (position == captionPosition_) {
        return;
    }
    const bool groupBoxChange = position == cpGroupBox || captionPosition_ == cpGroupBox;
    captionPosition_ = position;
    if (groupBoxChange) {
        updateMargins();
        backgroundChanged();
    } else {
        update();
    }
}

void TRbPanel::SetCornerWidth(int width) {
    if (width < 0 || width == cornerWidth_) {
        return;
    }
    cornerWidth_ = width;
    backgroundChanged();
}

void TRbPanel::SetBorderWidth(int width) {
    if (width <= 0 || width == borderWidth_) {
        return;
    }
    borderWidth_ = width;
    updateMargins();
    backgroundChanged();
}

void TRbPanel::SetBorderColor(TColor color) {
    borderColor_ = color;
    backgroundChanged();
}

void TRbPanel::SetOuterColor(TColor color) {
    outerColor_ = color;
    backgroundChanged();
}

void TRbPanel::SetColor(TColor color) {
    color_ = color;
    backgroundChanged();
    for (TRbPanel* child : findChildren<TRbPanel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->parentColor_) {
            child->takeParentColor();
        }
    }
}

void TRbPanel::SetParentColor(bool on) {
    parentColor_ = on;
    if (on) {
        takeParentColor();
    }
}

void TRbPanel::takeParentColor() {
    QWidget* parent = parentWidget();
    if (parent == nullptr) {
        return;
    }
    if (auto* panel = qobject_cast<TRbPanel*>(parent)) {
        SetOuterColor(panel->Color());
    } else {
        SetOuterColor(fromQColor(parent->palette().color(QPalette::Window)));
    }
}

void TRbPanel::SetTextShadowColor(TColor color) {
    textShadowColor_ = color;
    update();
}

void TRbPanel::SetAntialiased(bool on) {
    antialiased_ = on;
    if (on) {
        gradient_ = false;
    }
    backgroundChanged();
}

void TRbPanel::SetGradient(bool on) {
    if (on && antialiased_) {
        return;
    }
    gradient_ = on;
    backgroundChanged();
}

void TRbPanel::SetDefaultFrom(TColor color) {
    defaultFrom_ = color;
    backgroundChanged();
}

void TRbPanel::SetDefaultTo(TColor color) {
    defaultTo_ = color;
    backgroundChanged();
}

void TRbPanel::SetGradientType(TGradientType type) {
    gradientType_ = type;
    backgroundChanged();
}

void TRbPanel::EndLoad() {
    loading_ = false;
    backgroundChanged();
}

void TRbPanel::setTextColours() {
    const bool twoColours = gradient_;
    const TColor face[] = {twoColours ? defaultFrom_ : color_, twoColours ? defaultTo_ : color_};
    for (TColor c : face) {
        if (c & kSystemColorFlag) {
            return;
        }
    }
    const QColor from = toQColor(face[0]);
    const QColor to = toQColor(face[1]);
    const QColor middle((from.red() + to.red()) / 2, (from.green() + to.green()) / 2,
                        (from.blue() + to.blue()) / 2);
    const QColor text = ReadableTextOn(middle);
    QPalette colours = palette();
    if (colours.color(QPalette::Active, QPalette::WindowText) == text &&
        colours.color(QPalette::Active, QPalette::Window) == middle &&
        colours.isBrushSet(QPalette::Active, QPalette::WindowText)) {
        return;
    }
    colours.setColor(QPalette::WindowText, text);
    colours.setColor(QPalette::Window, middle);
    // Disabled text: halfway between the text and the face.
    colours.setColor(QPalette::Disabled, QPalette::WindowText,
                     QColor((text.red() + middle.red()) / 2, (text.green() + middle.green()) / 2,
                            (text.blue() + middle.blue()) / 2));
    setPalette(colours);
}

void TRbPanel::backgroundChanged() {
    setTextColours();
    stale_ = true;
    if (!loading_ && isVisible()) {
        RebuildBackground();
    }
}

int TRbPanel::groupBoxDrop() const {
    return captionPosition_ == cpGroupBox ? QFontMetrics(font()).height() / 2 : 0;
}

void TRbPanel::drawFrame(QImage& image, int scale, const QRegion* clip) const {
    if (clip == nullptr) {
        image.fill(toQRgb(outerColor_));
    }
    const int pen = scale * borderWidth_ - 1;
    const int inset = (scale * borderWidth_ - 1) / 2;
    const int ellipse = scale * cornerWidth_;
    const QRect frame = RectFromEdges(inset, inset + scale * groupBoxDrop(), image.width() - inset,
                                      image.height() - inset);
    if (gradient_) {
        const QRegion inside = RoundRectRegion(frame, ellipse, ellipse);
        FillGradient(image, image.rect(), defaultFrom_, &inside, gradientType_, defaultTo_);
    }
    DrawRoundRect(image, frame, ellipse, pen, borderColor_, !gradient_, color_, clip);
}

void TRbPanel::RebuildBackground() {
    rebuildNow();
    update();
}

void TRbPanel::rebuildNow() const {
    stale_ = false;
    ++rebuildCount_;
    background_ = NewBitmap(size(), outerColor_);
    if (width() > 0 && height() > 0) {
        if (antialiased_) {
            constexpr int kScale = 3;
            const int edgeWidth = cornerWidth_ + 20;
            // Only the edge band is averaged; the inside is filled flat after,
            // so the big picture is drawn in the band alone.
            QImage big(size() * kScale, QImage::Format_RGB32);
            const int band = edgeWidth / 2;
            const QRegion needed = QRegion(big.rect())
                                       .subtracted(RectFromEdges(
                                           kScale * (band + 1), kScale * (band + 1),
                                           kScale * (width() - band), kScale * (height() - band)));
            FillRegion(big, needed, outerColor_);
            drawFrame(big, kScale, &needed);
            DownsampleEdges(background_, big, kScale, color_, edgeWidth);
        } else {
            drawFrame(background_, 1, nullptr);
        }
    }
}

const QImage& TRbPanel::Background() const {
    if (stale_ || background_.size() != size()) {
        rebuildNow();
    }
    return background_;
}

void TRbPanel::updateMargins() {
    const int inset = borderWidth_ + 1;
    int top = inset;
    if (captionPosition_ == cpGroupBox) {
        const int textHeight = QFontMetrics(font()).height();
        top = std::max(textHeight, textHeight / 2 + borderWidth_) + 1;
    }
    setContentsMargins(inset, top, inset, inset);
}

QRect TRbPanel::ClientArea() const {
    return contentsRect();
}

QRect TRbPanel::CaptionRect() const {
    const int k = (cornerWidth_ + borderWidth_) / 2;
    QRect rect = RectFromEdges(k, borderWidth_, width() - k, height() - borderWidth_);
    const int shift = (cornerWidth_ - borderWidth_) / 2;
    if (captionPosition_ == cpMiddleLeft) {
        rect.setLeft(rect.left() - shift);
    } else if (captionPosition_ == cpMiddleRight) {
        rect.setRight(rect.right() + shift);
    }
    return rect;
}

unsigned TRbPanel::CaptionFormat() const {
    unsigned flags = dt::kSingleLine | dt::kEndEllipsis;
    switch (captionPosition_) {
        case cpGroupBox:
        case cpTopLeft:
            return flags | dt::kLeft | dt::kTop;
        case cpTopCenter:
            return flags | dt::kCenter | dt::kTop;
        case cpTopRight:
            return flags | dt::kRight | dt::kTop;
        case cpMiddleLeft:
            return flags | dt::kLeft | dt::kVCenter;
        case cpMiddleCenter:
            return flags | dt::kCenter | dt::kVCenter;
        case cpMiddleRight:
            return flags | dt::kRight | dt::kVCenter;
        case cpBottomLeft:
            return flags | dt::kLeft | dt::kBottom;
        case cpBottomCenter:
            return flags | dt::kCenter | dt::kBottom;
        case cpBottomRight:
            return flags | dt::kRight | dt::kBottom;
    }
    return flags;
}

void TRbPanel::drawGroupBoxCaption(QPainter& painter) {
    const QFontMetrics metrics(font());
    const int k = (cornerWidth_ + borderWidth_) / 2;
    const QString shown = metrics.elidedText(
        Caption(), Qt::ElideRight, std::max(0, width() - 2 * k - 8), Qt::TextShowMnemonic);
    const QRect patch(k + 4, 0, metrics.horizontalAdvance(shown) + 4, metrics.height());
    painter.fillRect(patch, toQColor(outerColor_));
    DrawCaptionText(painter, shown, font(), FontColor(), textShadowColor_, TextShadow(),
                    dt::kLeft | dt::kTop | dt::kSingleLine, patch.adjusted(2, 0, 0, 0),
                    isEnabled());
}

void TRbPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& frame = Background();
    painter.drawImage(0, 0, frame);
    if (!ShowCaption()) {
        return;
    }
    if (captionPosition_ == cpGroupBox) {
        drawGroupBoxCaption(painter);
        return;
    }
    DrawCaptionText(painter, Caption(), font(), FontColor(), textShadowColor_, TextShadow(),
                    CaptionFormat(), CaptionRect(), isEnabled());
}

void TRbPanel::resizeEvent(QResizeEvent* event) {
    TRbCustomControl::resizeEvent(event);
    stale_ = true;
    if (!loading_ && isVisible()) {
        RebuildBackground();
    }
}

void TRbPanel::showEvent(QShowEvent* event) {
    TRbCustomControl::showEvent(event);
    if (!loading_ && (stale_ || background_.size() != size())) {
        RebuildBackground();
    }
}

void TRbPanel::changeEvent(QEvent* event) {
    TRbCustomControl::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        // System colours resolve through the palette: redraw the frame.
        if (parentColor_) {
            takeParentColor();
        }
        backgroundChanged();
    }
    if (event->type() == QEvent::FontChange && captionPosition_ == cpGroupBox) {
        updateMargins();
        backgroundChanged();
    } else if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) {
        update();
    }
}

bool TRbPanel::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange && parentColor_) {
        takeParentColor();
    }
    return TRbCustomControl::event(event);
}

}  // namespace quillmere
