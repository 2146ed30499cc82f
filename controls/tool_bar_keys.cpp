#include "controls/tool_bar_keys.h"

#include <QApplication>
#include <QChildEvent>
#include <QKeyEvent>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace quillmere {

namespace {

bool plainKey(const QKeyEvent* key) {
    return (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

ToolBarKeys::ToolBarKeys(QToolBar* toolBar, std::function<QWidget*()> returnTo)
    : QObject(toolBar), toolBar_(toolBar), returnTo_(std::move(returnTo)) {
    for (QToolButton* button : toolBar_->findChildren<QToolButton*>()) {
        watch(button);
    }
    toolBar_->installEventFilter(this);
}

void ToolBarKeys::watch(QToolButton* button) {
    button->removeEventFilter(this);
    button->installEventFilter(this);
}

QList<QToolButton*> ToolBarKeys::usableButtons() const {
    QList<QToolButton*> buttons;
    for (QToolButton* button : toolBar_->findChildren<QToolButton*>()) {
        if (button->isVisible() && button->isEnabled() &&
            button->objectName() != QLatin1String("qt_toolbar_ext_button")) {
            buttons.append(button);
        }
    }
    // Left to right, as the user sees them.
    std::stable_sort(buttons.begin(), buttons.end(),
                     [](const QToolButton* a, const QToolButton* b) { return a->x() < b->x(); });
    return buttons;
}

bool ToolBarKeys::enter() {
    const QList<QToolButton*> buttons = usableButtons();
    if (buttons.isEmpty()) {
        return false;
    }
    QToolButton* target = buttons.contains(last_.data()) ? last_.data() : buttons.first();
    target->setFocus(Qt::ShortcutFocusReason);
    last_ = target;
    return true;
}

void ToolBarKeys::leave() {
    QWidget* target = returnTo_ ? returnTo_() : nullptr;
    if (target != nullptr) {
        target->setFocus(Qt::ShortcutFocusReason);
    } else if (QToolButton* button = focusedButton()) {
        button->clearFocus();
    }
}

QToolButton* ToolBarKeys::focusedButton() const {
    for (QToolButton* button : toolBar_->findChildren<QToolButton*>()) {
        if (button->hasFocus()) {
            return button;
        }
    }
    return nullptr;
}

void ToolBarKeys::focusButton(QToolButton* button) {
    button->setFocus(Qt::TabFocusReason);
    last_ = button;
}

void ToolBarKeys::step(QToolButton* from, int direction) {
    const QList<QToolButton*> buttons = usableButtons();
    if (buttons.isEmpty()) {
        leave();
        return;
    }
    const qsizetype at = buttons.indexOf(from);
    const qsizetype count = buttons.size();
    const qsizetype next = at < 0 ? 0 : ((at + direction) % count + count) % count;
    focusButton(buttons.at(next));
}

void ToolBarKeys::run(QToolButton* button) {
    last_ = button;
    QWidget* const window = toolBar_->window();
    button->click();
    // A command that opened another window leaves the focus there; otherwise
    // (also after a modal dialog has closed) the user goes on writing.
    QWidget* const active = QApplication::activeWindow();
    if (active == nullptr || active == window) {
        leave();
    }
}

bool ToolBarKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched == toolBar_) {
        if (event->type() == QEvent::ChildAdded) {
            if (auto* button =
                    qobject_cast<QToolButton*>(static_cast<QChildEvent*>(event)->child())) {
                watch(button);
            }
        }
        return false;
    }
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button == nullptr) {
        return false;
    }
    if (event->type() == QEvent::KeyRelease) {
        // Space runs on the press; its release must not click again.
        return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (!plainKey(key)) {
        return false;
    }
    switch (key->key()) {
        case Qt::Key_Left:
            step(button, -1);
            return true;
        case Qt::Key_Right:
            step(button, 1);
            return true;
        case Qt::Key_Home:
        case Qt::Key_End: {
            const QList<QToolButton*> buttons = usableButtons();
            if (!buttons.isEmpty()) {
                focusButton(key->key() == Qt::Key_Home ? buttons.first() : buttons.last());
            }
            return true;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (!key->isAutoRepeat()) {
                run(button);
            }
            return true;
        case Qt::Key_Escape:
            leave();
            return true;
        default:
            return false;
    }
}

}  // namespace quillmere
