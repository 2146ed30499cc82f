#include "shell/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace quillmere {

namespace {

MessageHook& hook() {
    static MessageHook instance;
    return instance;
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
    present(parent, MessageKind::Error, QStringLiteral("Error"), message);
}

void ShowInformationBox(QWidget* parent, const QString& message) {
    present(parent, MessageKind::Information, QStringLiteral("Information"), message);
}

bool ShowConfirmBox(QWidget* parent, const QString& question) {
    return present(parent, MessageKind::Confirmation, QStringLiteral("Confirm"), question);
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

}  // namespace quillmere
