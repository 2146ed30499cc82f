#include "shell/activation_source.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace quillmere {

ActivationSource::ActivationSource(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

ActivationSource::~ActivationSource() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->removeEventFilter(this);
    }
}

bool ActivationSource::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::WindowActivate && type != QEvent::WindowDeactivate) {
        return false;
    }
    auto* window = qobject_cast<QWidget*>(watched);
    // The events are passed on to every child as well; only windows count.
    if (window == nullptr || !window->isWindow()) {
        return false;
    }
    if (type == QEvent::WindowActivate) {
        // Seen before the window's own handler, so previous() tells it
        // where the activation came from. The old window's deactivation may
        // come before or after; either way it does not touch current_ then,
        // because the application's active window is not null.
        if (window != current_) {
            previous_ = current_;
            previousModal_ = currentModal_;
            current_ = window;
            currentModal_ = window->isModal();
        }
    } else if (window == current_ && QApplication::activeWindow() == nullptr &&
               !window->isHidden()) {
        // The program lost the focus to another program. A window that was
        // closed hands the focus on to the next window of the program: it
        // stays the one that next activation comes from.
        current_ = nullptr;
        currentModal_ = false;
    }
    return false;
}

}  // namespace quillmere
