#include "controls/rb_check_box.h"

#include "controls/rb_accessible.h"
#include "controls/rb_fonts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quillmere {

namespace {

constexpr TColor kDisabledCheckTint = 8421504;  // #808080

}  // namespace

QImage CheckMarkPicture() {
    static const QImage picture =
        QImage(QStringLiteral(":/controls/CHECK")).convertToFormat(QImage::Format_RGB32);
    return picture;
}

TRbCheckBox::TRbCheckBox(QWidget* parent, const QString& name)
    : TRbCustomControl(parent, name), colors_([this](bool rebuild) {
          if (rebuild) {
              RebuildImages();
          } else {
              update();
          }
      }) {
    setFont(designFont(QStringLiteral("MS Sans Serif"), 11));
    resize(130, 17);
    RebuildImages();
}

void TRbCheckBox::SetChecked(bool on) {
    const bool changed = checked_ != on;
    checked_ = on;
    update();
    if (changed) {
        NotifyAccessibleCheckedChanged(this);
    }
}

void TRbCheckBox::SetCheckColor(TColor color) {
    checkColor_ = color;
    update();
}

void TRbCheckBox::SetColor(TColor color) {
    color_ = color;
    update();
}

void TRbCheckBox::SetSpacing(int spacing) {
    spacing_ = spacing;
    update();
}

void TRbCheckBox::SetShowFocusRect(bool on) {
    showFocusRect_ = on;
    update();
}

void TRbCheckBox::SetHotTrack(bool on) {
    hotTrack_ = on;
    update();
}

void TRbCheckBox::SetBorderLines(TBorderLines lines) {
    borderLines_ = lines;
    update();
}

void TRbCheckBox::SetBorderLinesColor(TColor color) {
    borderLinesColor_ = color;
    update();
}

void TRbCheckBox::RebuildImages() {
    const QSize box(kCheckBoxSize, kCheckBoxSize);
    normal_ = NewBitmap(box);
    hover_ = NewBitmap(box);
    pressed_ = NewBitmap(box);
    FillGradient(normal_, normal_.rect(), colors_.DefaultFrom(), nullptr, gtFromTopLeft,
                 colors_.DefaultTo());
    FillGradient(hover_, hover_.rect(), colors_.OverFrom(), nullptr, gtFromTopLeft,
                 colors_.OverTo());
    FillGradient(pressed_, pressed_.rect(), colors_.ClickedFrom(), nullptr, gtFromTopLeft,
                 colors_.ClickedTo());
    DrawRoundRect(normal_, normal_.rect(), 0, 1, colors_.BorderColor(), false, 0);
    DrawRoundRect(hover_, hover_.rect(), 0, 1, colors_.BorderColor(), false, 0);
    update();
}

void TRbCheckBox::Toggle() {
    SetChecked(!checked_);
    emit OnClick();
}

QRect TRbCheckBox::BoxRect() const {
    return QRect(1, (height() - kCheckBoxSize) / 4, kCheckBoxSize, kCheckBoxSize);
}

QImage TRbCheckBox::composeBox() const {
    QImage image = NewBitmap(size(), color_);
    const QRect box = BoxRect();
    BlendImage(image, normal_, hover_, 0, box, HoverLevel());
    if (PressLevel() > 0) {
        const int inset = gradientBorder_ ? 2 : 1;
        MixImage(image, pressed_, box.adjusted(inset, inset, -inset, -inset), 100);
    }
    if (checked_) {
        const QImage original = CheckMarkPicture();
        QImage mark = original;
        TintImage(mark, isEnabled() ? checkColor_ : kDisabledCheckTint);
        DrawTransparent(image, box.topLeft() + QPoint(2, 2), mark, original);
    }
    return image;
}

void TRbCheckBox::drawBorderLines(QImage& image) const {
    const QRgb line = toQRgb(borderLinesColor_);
    const int w = image.width();
    const int h = image.height();
    for (int x = 0; x < w; ++x) {
        if (borderLines_ & blTop) {
            image.setPixel(x, 0, line);
        }
        if (borderLines_ & blBottom) {
            image.setPixel(x, h - 1, line);
        }
    }
    for (int y = 0; y < h; ++y) {
        if (borderLines_ & blLeft) {
            image.setPixel(0, y, line);
        }
        if (borderLines_ & blRight) {
            image.setPixel(w - 1, y, line);
        }
    }
}

QImage TRbCheckBox::Compose() const {
    // The box picture lands with its own top-left on the box corner, so the
    // box shows one pixel right of and (height - 13) / 4 below where it was
    // composed; the strip it leaves uncovered keeps the control's colour.
    QImage image = NewBitmap(size(), color_);
    if (width() <= 0 || height() <= 0) {
        return image;
    }
    QPainter painter(&image);
    painter.drawImage(BoxRect().topLeft(), composeBox());
    if (ShowCaption()) {
        const TColor fontColor = hotTrack_ && MouseOver() ? colors_.HotTrack() : FontColor();
        QRect cr = rect();
        cr.setLeft(cr.left() + spacing_ + 16);
        DrawCaptionText(painter, Caption(), font(), fontColor, colors_.TextShadow(), TextShadow(),
                        TextFormatFlags(0, false), cr, isEnabled());
    }
    painter.end();
    drawBorderLines(image);
    if (hasFocus() && (showFocusRect_ || FocusFromKeyboard())) {
        DrawFocusRect(image, rect());
    }
    return image;
}

void TRbCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Compose());
}

void TRbCheckBox::enterEvent(QEnterEvent*) {
    emit OnMouseEnter();
    SetMouseOverState(true);
    ChooseFadeStep(FadeStepKind::In);
    StartFadeTimer();
}

void TRbCheckBox::leaveEvent(QEvent*) {
    emit OnMouseLeave();
    SetMouseOverState(false);
    SetPressedState(false);
    ChooseFadeStep(FadeStepKind::Out);
    StartFadeTimer();
}

void TRbCheckBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (!hasFocus() && CanFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
    SetPressedState(true);
    ChooseFadeStep(FadeStepKind::In);
    StartFadeTimer();
}

void TRbCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const bool wasPressed = Pressed();
    if (wasPressed) {
        SetPressedState(false);
        ChooseFadeStep(FadeStepKind::In);
        StartFadeTimer();
    }
    if (wasPressed && rect().contains(event->position().toPoint())) {
        Toggle();
    }
}

void TRbCheckBox::keyPressEvent(QKeyEvent* event) {
    // Space toggles the box, as on every desktop check box, so that it can
    // be used without a mouse; other keys go on to the window.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        !event->isAutoRepeat()) {
        Toggle();
        return;
    }
    event->ignore();
}

}  // namespace quillmere
