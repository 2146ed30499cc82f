#include "controls/rb_button.h"

#include "controls/rb_fonts.h"

#include <QDialog>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quillmere {

namespace {

constexpr TColor kDisabledGlyphTint = 4210752;  // #404040

bool isEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

TRbButton::TRbButton(QWidget* parent, const QString& name)
    : TRbCustomControl(parent, name), colors_([this](bool rebuild) {
          if (rebuild) {
              RebuildImages();
          } else {
              update();
          }
      }) {
    setFont(designFont(QStringLiteral("MS Sans Serif"), 11));
    resize(75, 25);
    RebuildImages();
}

TRbButton::~TRbButton() {
    if (watchedWindow_ != nullptr) {
        watchedWindow_->removeEventFilter(this);
    }
}

void TRbButton::SetGlyph(const QImage& glyph) {
    if (glyph.isNull()) {
        glyph_ = QImage();
    } else {
        glyph_ = glyph.convertToFormat(glyph.hasAlphaChannel() ? QImage::Format_ARGB32
                                                               : QImage::Format_RGB32);
    }
    update();
}

void TRbButton::SetLayout(TButtonLayout layout) {
    layout_ = layout;
    update();
}

void TRbButton::SetColor(TColor color) {
    color_ = color;
    update();
}

void TRbButton::SetShowFocusRect(bool on) {
    showFocusRect_ = on;
    update();
}

void TRbButton::SetHotTrack(bool on) {
    hotTrack_ = on;
    update();
}

void TRbButton::SetDefault(bool on) {
    default_ = on;
    watchWindow();
}

void TRbButton::SetCancel(bool on) {
    cancel_ = on;
    watchWindow();
}

void TRbButton::SetGradientType(TGradientType type) {
    gradientType_ = type;
    RebuildImages();
}

void TRbButton::SetDown(bool value) {
    if (groupIndex_ <= 0) {
        return;
    }
    const QList<TRbButton*> group =
        parentWidget() != nullptr
            ? parentWidget()->findChildren<TRbButton*>(QString(), Qt::FindDirectChildrenOnly)
            : QList<TRbButton*>{};
    auto otherDown = [&] {
        for (TRbButton* b : group) {
            if (b != this && b->groupIndex_ == groupIndex_ && b->down_) {
                return true;
            }
        }
        return false;
    };
    if (!value && !allowAllUp_ && !otherDown()) {
        return;
    }
    down_ = value;
    if (value) {
        for (TRbButton* b : group) {
            if (b != this && b->groupIndex_ == groupIndex_ && b->down_) {
                b->SetDown(false);
            }
        }
        SetPressedState(true);
        SetMouseOverState(true);
        ChooseFadeStep(FadeStepKind::In);
    } else {
        SetPressedState(false);
        ChooseFadeStep(FadeStepKind::Out);
    }
    StartFadeTimer();
}

void TRbButton::RebuildImages() {
    normal_ = NewBitmap(size());
    hover_ = NewBitmap(size());
    pressed_ = NewBitmap(size());
    FillGradient(normal_, normal_.rect(), colors_.DefaultFrom(), nullptr, gradientType_,
                 colors_.DefaultTo());
    FillGradient(hover_, hover_.rect(), colors_.OverFrom(), nullptr, gradientType_,
                 colors_.OverTo());
    FillGradient(pressed_, pressed_.rect(), colors_.ClickedFrom(), nullptr, gradientType_,
                 colors_.ClickedTo());
    update();
}

void TRbButton::Click() {
    const QPointer<TRbButton> self(this);
    auto* dialog = qobject_cast<QDialog*>(window());
    const bool givesResult = dialog != nullptr && modalResult_ != 0;
    if (givesResult) {
        dialog->setResult(modalResult_);
    }
    if (groupIndex_ > 0) {
        SetDown(!down_);
    }
    emit OnClick();
    // The dialog closes once the click is handled, as a modal loop that
    // checks the result after each message would; OnClick may still have
    // cleared the result to keep it open.
    if (self != nullptr && givesResult && dialog->isModal() && dialog->isVisible() &&
        dialog->result() != 0) {
        dialog->done(dialog->result());
    }
}

QRect TRbButton::captionRect() const {
    QRect cr = rect();
    if (glyph_.isNull()) {
        return cr;
    }
    const int shift = glyph_.width() + spacing_;
    switch (layout_) {
        case blGlyphLeft:
            cr.setLeft(cr.left() + shift);
            break;
        case blGlyphRight:
            cr.setLeft(cr.left() - shift);
            break;
        case blGlyphTop:
            cr.setTop(cr.top() + glyph_.height() + spacing_);
            break;
        case blGlyphBottom:
            cr.setBottom(cr.bottom() - glyph_.height() - spacing_);
            break;
    }
    return cr;
}

void TRbButton::drawBorder(QImage& image) const {
    // A rectangle in the button's colour, then the rounded border over it:
    // with a 5 x 5 corner ellipse the border leaves out just the corner pixel.
    DrawRoundRect(image, image.rect(), 0, 1, color_, false, 0);
    const int w = image.width();
    const int h = image.height();
    if (w < 3 || h < 3) {
        return;
    }
    const QRgb border = toQRgb(colors_.BorderColor());
    for (int x = 1; x < w - 1; ++x) {
        image.setPixel(x, 0, border);
        image.setPixel(x, h - 1, border);
    }
    for (int y = 1; y < h - 1; ++y) {
        image.setPixel(0, y, border);
        image.setPixel(w - 1, y, border);
    }
}

void TRbButton::drawGlyph(QImage& image, const QRect& cr, bool captionVisible) const {
    QImage picture = glyph_;
    if (!isEnabled()) {
        TintImage(picture, kDisabledGlyphTint);
    }
    const int gw = glyph_.width();
    const int gh = glyph_.height();
    const int crRight = cr.x() + cr.width();
    const int crBottom = cr.y() + cr.height();
    const QFontMetrics metrics(font());
    const int tw = captionVisible ? metrics.horizontalAdvance(Caption()) : 0;
    const int th = captionVisible ? metrics.height() : 0;
    int x = (width() - gw) / 2;
    int y = (height() - gh) / 2;
    switch (layout_) {
        case blGlyphLeft:
            x = captionVisible ? (cr.left() + crRight - tw) / 2 - spacing_ - gw
                               : (cr.left() + crRight - spacing_) / 2 - gw;
            break;
        case blGlyphRight:
            x = captionVisible ? (cr.left() + crRight + tw) / 2 + spacing_
                               : (cr.left() + crRight) / 2 + spacing_;
            break;
        case blGlyphTop:
            y = captionVisible ? (cr.top() + crBottom - th) / 2 - spacing_ - gh
                               : (height() - gh) / 2;
            break;
        case blGlyphBottom:
            y = captionVisible ? (cr.top() + crBottom + th) / 2 + spacing_ : (height() - gh) / 2;
            break;
    }
    DrawTransparent(image, QPoint(x, y), picture, glyph_);
}

QImage TRbButton::Compose() const {
    QImage image = NewBitmap(size());
    const QRect r = rect();
    BlendImage(image, normal_, hover_, 1, r, HoverLevel());
    if (PressLevel() > 0) {
        MixImage(image, pressed_, gradientBorder_ ? r.adjusted(3, 3, -3, -3) : r, 100);
    }
    drawBorder(image);
    const QRect cr = captionRect();
    const bool captionVisible = !Caption().isEmpty() && ShowCaption();
    if (ShowCaption()) {
        QPainter painter(&image);
        const TColor fontColor = hotTrack_ && MouseOver() ? colors_.HotTrack() : FontColor();
        DrawCaptionText(painter, Caption(), font(), fontColor, colors_.TextShadow(), TextShadow(),
                        TextFormatFlags(2, false), cr, isEnabled());
    }
    if (!glyph_.isNull()) {
        drawGlyph(image, cr, captionVisible);
    }
    if (hasFocus() && (showFocusRect_ || FocusFromKeyboard())) {
        DrawFocusRect(image, r.adjusted(2, 2, -2, -2));
    }
    return image;
}

void TRbButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Compose());
}

void TRbButton::resizeEvent(QResizeEvent* event) {
    TRbCustomControl::resizeEvent(event);
    RebuildImages();
}

void TRbButton::mouseEntered() {
    emit OnMouseEnter();
    SetMouseOverState(true);
    ChooseFadeStep(FadeStepKind::In);
    StartFadeTimer();
}

void TRbButton::mouseLeft() {
    emit OnMouseLeave();
    if (down_) {
        return;
    }
    SetMouseOverState(false);
    ChooseFadeStep(FadeStepKind::Out);
    StartFadeTimer();
}

void TRbButton::enterEvent(QEnterEvent*) {
    mouseEntered();
}

void TRbButton::leaveEvent(QEvent*) {
    mouseLeft();
}

void TRbButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (!hasFocus() && CanFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
    SetPressedState(true);
    SetMouseOverState(true);
    ChooseFadeStep(FadeStepKind::In);
    StartFadeTimer();
}

void TRbButton::mouseMoveEvent(QMouseEvent* event) {
    // While the button is held the pointer is grabbed; crossing the edge
    // counts as leaving or entering.
    if (!(event->buttons() & Qt::LeftButton) || !Pressed()) {
        return;
    }
    const bool inside = rect().contains(event->position().toPoint());
    if (inside && !MouseOver()) {
        mouseEntered();
    } else if (!inside && MouseOver()) {
        mouseLeft();
    }
}

void TRbButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const bool wasPressed = Pressed();
    if (wasPressed && !down_) {
        SetPressedState(false);
    }
    if (MouseOver()) {
        ChooseFadeStep(FadeStepKind::In);
    }
    StartFadeTimer();
    if (wasPressed && rect().contains(event->position().toPoint())) {
        Click();
    }
}

void TRbButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        Click();
        return;
    }
    if (isEnterKey(event->key()) && CanFocus()) {
        Click();
        return;
    }
    if (event->key() == Qt::Key_Escape && handleDialogKey(event)) {
        return;
    }
    event->ignore();
}

bool TRbButton::handleDialogKey(const QKeyEvent* key) {
    if (!CanFocus()) {
        return false;
    }
    if (isEnterKey(key->key()) && (default_ || hasFocus())) {
        Click();
        return true;
    }
    const auto blocking = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (key->key() == Qt::Key_Escape && cancel_ && !(key->modifiers() & blocking)) {
        Click();
        return true;
    }
    return false;
}

bool TRbButton::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show) {
        watchWindow();
    }
    return TRbCustomControl::event(event);
}

void TRbButton::watchWindow() {
    QWidget* wanted = (default_ || cancel_) ? window() : nullptr;
    if (wanted == this) {
        wanted = nullptr;
    }
    if (wanted == watchedWindow_) {
        return;
    }
    if (watchedWindow_ != nullptr) {
        watchedWindow_->removeEventFilter(this);
    }
    watchedWindow_ = wanted;
    if (watchedWindow_ != nullptr) {
        watchedWindow_->installEventFilter(this);
    }
}

bool TRbButton::eventFilter(QObject* watched, QEvent* event) {
    // Keys no control of the window took travel up to the window; Enter and
    // Escape there are the window's dialog keys.
    if (watched == watchedWindow_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((isEnterKey(key->key()) || key->key() == Qt::Key_Escape) && handleDialogKey(key)) {
            return true;
        }
    }
    return TRbCustomControl::eventFilter(watched, event);
}

}  // namespace quillmere
