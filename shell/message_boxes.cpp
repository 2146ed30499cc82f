#include "shell/message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <utility>

namespace quillmere {

namespace {

MessageHook& hook() {
    static MessageHook instance;
    return instance;
}

ChoiceHook& choiceHook() {
    static ChoiceHook instance;
    return instance;
}

QRect centredOn(const QRect& avoid, const QSize& size, const QPoint& corner, bool vertical) {
    QRect placed(corner, size);
    if (vertical) {
        placed.moveLeft(avoid.center().x() - size.width() / 2);
    } else {
        placed.moveTop(avoid.center().y() - size.height() / 2);
    }
    return placed;
}

QRect keptOn(QRect placed, const QRect& screen) {
    placed.moveLeft(qBound(screen.left(), placed.left(),
                           qMax(screen.left(), screen.right() + 1 - placed.width())));
    placed.moveTop(qBound(screen.top(), placed.top(),
                          qMax(screen.top(), screen.bottom() + 1 - placed.height())));
    return placed;
}

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
        case MessageKind::Unhandled:
            return QMessageBox::Critical;
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Shows the box (or hands it to the installed hook). True for "Yes".
bool present(QWidget* parent, MessageKind kind, const QString& title, const QString& text) {
    if (hook()) {
        return hook()(MessageRequest{kind, title, text});
    }
    const bool question = kind == MessageKind::Confirmation;
    QMessageBox box(iconOf(kind), title, text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    if (question) {
        box.setDefaultButton(QMessageBox::Yes);
    }
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

void ShowErrorBox(QWidget* parent, const QString& message) {
    present(parent, MessageKind::Error, QCoreApplication::translate("quillmere::MessageBoxes", "Error"), message);
}

void ShowInformationBox(QWidget* parent, const QString& message) {
    present(parent, MessageKind::Information, QCoreApplication::translate("quillmere::MessageBoxes", "Information"), message);
}

bool ShowConfirmBox(QWidget* parent, const QString& question) {
    return present(parent, MessageKind::Confirmation, QCoreApplication::translate("quillmere::MessageBoxes", "Confirm"), question);
}

namespace {

// A box of `kind` whose buttons carry `buttons`, left to right; the first is
// the default, the last answers Escape and the window's close.
int showButtonsBox(QWidget* parent, MessageKind kind, const QString& title, const QString& text,
                   const QStringList& buttons, QWidget* keepVisible) {
    if (choiceHook()) {
        return choiceHook()(MessageRequest{kind, title, text}, buttons);
    }
    if (hook()) {
        // Only the Yes/No hook is installed: it answers the first two buttons.
        return hook()(MessageRequest{kind, title, text}) ? 0 : 1;
    }
    QMessageBox box(iconOf(kind), title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> made;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        const bool last = i + 1 == buttons.size() && i > 0;
        made << box.addButton(buttons[i], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    }
    if (!made.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(made.first()));
        box.setEscapeButton(made.last());
    }
    if (keepVisible != nullptr && keepVisible->isVisible()) {
        box.adjustSize();
        const QScreen* screen = keepVisible->screen();
        const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
        box.move(PositionClearOf(keepVisible->frameGeometry(), box.sizeHint(), area));
    }
    box.exec();
    const qsizetype chosen = made.indexOf(box.clickedButton());
    return chosen >= 0 ? static_cast<int>(chosen) : static_cast<int>(buttons.size()) - 1;
}

}  // namespace

int ShowChoiceBox(QWidget* parent, const QString& question, const QStringList& buttons,
                  QWidget* keepVisible) {
    return showButtonsBox(parent, MessageKind::Confirmation, QCoreApplication::translate("quillmere::MessageBoxes", "Confirm"), question,
                          buttons, keepVisible);
}

int ShowErrorChoiceBox(QWidget* parent, const QString& message, const QStringList& buttons,
                       QWidget* keepVisible) {
    return showButtonsBox(parent, MessageKind::Error, QCoreApplication::translate("quillmere::MessageBoxes", "Error"), message, buttons,
                          keepVisible);
}

QPoint PositionClearOf(const QRect& avoid, const QSize& size, const QRect& screen) {
    const int gap = 8;
    const QRect candidates[] = {
        centredOn(avoid, size, QPoint(0, avoid.bottom() + 1 + gap), true),
        centredOn(avoid, size, QPoint(0, avoid.top() - gap - size.height()), true),
        centredOn(avoid, size, QPoint(avoid.right() + 1 + gap, 0), false),
        centredOn(avoid, size, QPoint(avoid.left() - gap - size.width(), 0), false),
    };
    for (const QRect& candidate : candidates) {
        const QRect kept = keptOn(candidate, screen);
        if (screen.contains(kept) && !kept.intersects(avoid)) {
            return kept.topLeft();
        }
    }
    return keptOn(candidates[0], screen).topLeft();
}

void ShowUnhandledError(const QString& message) {
    QString title = QApplication::applicationName();
    if (title.isEmpty()) {
        title = QStringLiteral("Quillmere");
    }
    present(QApplication::activeWindow(), MessageKind::Unhandled, title,
            UnhandledErrorText(message));
}

QString UnhandledErrorText(const QString& message) {
    if (message.isEmpty() || message.back() <= QLatin1Char('.')) {
        return message;
    }
    return message + QLatin1Char('.');
}

ScopedMessageHook::ScopedMessageHook(MessageHook newHook) : previous_(std::move(hook())) {
    hook() = std::move(newHook);
}

ScopedMessageHook::~ScopedMessageHook() {
    hook() = std::move(previous_);
}

ScopedChoiceHook::ScopedChoiceHook(ChoiceHook newHook) : previous_(std::move(choiceHook())) {
    choiceHook() = std::move(newHook);
}

ScopedChoiceHook::~ScopedChoiceHook() {
    choiceHook() = std::move(previous_);
}

}  // namespace quillmere
