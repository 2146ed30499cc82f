#include "controls/rb_custom_control.h"

#include "controls/rb_accessible.h"
#include "controls/rb_style_manager.h"

#include <QEvent>
#include <QFocusEvent>

namespace quillmere {

int FadeInterval(TFadeSpeed speed) {
    switch (speed) {
        case fsSlow:
            return 40;
        case fsMedium:
            return 20;
        case fsFast:
            return 12;
        case fsVeryFast:
            return 8;
    }
    return 20;
}

TRbCustomControl::TRbCustomControl(QWidget* parent, const QString& name) : QWidget(parent) {
    InstallDrawnControlsAccessibility();
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    fadeTimer_.setTimerType(Qt::PreciseTimer);
    connect(&fadeTimer_, &QTimer::timeout, this, &TRbCustomControl::FadeTick);
    connect(this, &QObject::objectNameChanged, this, [this] {
        if (!captionSet_) {
            update();
        }
    });
}

TRbCustomControl::~TRbCustomControl() {
    SetRbStyleManager(nullptr);
}

void TRbCustomControl::SetCaption(const QString& caption) {
    if (captionSet_ && caption_ == caption) {
        return;
    }
    caption_ = caption;
    captionSet_ = true;
    update();
    NotifyAccessibleNameChanged(this);
}

void TRbCustomControl::SetTextShadow(bool on) {
    textShadow_ = on;
    update();
}

void TRbCustomControl::SetShowCaption(bool on) {
    showCaption_ = on;
    update();
}

void TRbCustomControl::SetFontColor(TColor color) {
    fontColor_ = color;
    update();
}

void TRbCustomControl::SetRbStyleManager(TRbStyleManager* manager) {
    if (manager == styleManager_) {
        return;
    }
    if (styleManager_ != nullptr) {
        styleManager_->RemoveControl(this);
    }
    styleManager_ = manager;
    if (styleManager_ != nullptr) {
        styleManager_->AddControl(this);
    }
}

void TRbCustomControl::StartFadeTimer() {
    fadeTimer_.stop();
    fadeTimer_.start(FadeInterval(fadeSpeed_));
}

void TRbCustomControl::FadeInStep() {
    if (pressed_ && mouseOver_) {
        if (pressLevel_ == 100) {
            repaint();
            fadeTimer_.stop();
            return;
        }
        pressLevel_ += 100;
        repaint();
        return;
    }
    if (pressLevel_ > 0) {
        pressLevel_ -= 100;
    }
    hoverLevel_ = hoverLevel_ < 100 ? hoverLevel_ + 10 : 100;
    repaint();
    if (pressLevel_ <= 0 && hoverLevel_ >= 100) {
        fadeTimer_.stop();
    }
}

void TRbCustomControl::FadeOutStep() {
    if (pressLevel_ > 0) {
        pressLevel_ -= 100;
    }
    if (hoverLevel_ > 0 || pressLevel_ > 0) {
        hoverLevel_ -= 10;
    } else {
        hoverLevel_ = 0;
        pressLevel_ = 0;
        fadeTimer_.stop();
    }
    repaint();
}

void TRbCustomControl::FadeTick() {
    try {
        if (fadeStep_ == FadeStepKind::In) {
            FadeInStep();
        } else {
            FadeOutStep();
        }
    } catch (...) {
        // A failing repaint must not stop the event loop; the next tick retries.
    }
}

bool TRbCustomControl::CanFocus() const {
    return isVisible() && isEnabled() && focusPolicy() != Qt::NoFocus;
}

void TRbCustomControl::focusInEvent(QFocusEvent* event) {
    switch (event->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            keyboardFocus_ = true;
            break;
        case Qt::MouseFocusReason:
            keyboardFocus_ = false;
            break;
        default:
            // Coming back to the window, or focus given by the program: the
            // mark stays as it was.
            break;
    }
    QWidget::focusInEvent(event);
    update();
}

void TRbCustomControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

bool TRbCustomControl::event(QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && keyboardFocus_) {
        keyboardFocus_ = false;
        update();
    }
    return QWidget::event(event);
}

void TRbCustomControl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) {
        update();
    }
}

}  // namespace quillmere
