#include "shell/encryption_dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillmere {

namespace {

PasswordHook& hook() {
    static PasswordHook h;
    return h;
}

}  // namespace

QString ForgottenPasswordWarning() {
    return QCoreApplication::translate("EncryptionDialogs",
        "A forgotten password cannot be recovered: without it nobody, not even you, can "
        "read this diary again.");
}

void SetPasswordHook(PasswordHook h) {
    hook() = std::move(h);
}

std::optional<QString> AskPassword(QWidget* parent, PasswordQuestion question) {
    if (hook()) {
        return hook()(question);
    }
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgPassword"));
    const bool confirm = question == PasswordQuestion::kConfirmNew;
    dialog.setWindowTitle(confirm ? QCoreApplication::translate("EncryptionDialogs", "Encrypt the Diary") : QCoreApplication::translate("EncryptionDialogs", "Turn Encryption Off"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(
        confirm ? QCoreApplication::translate("EncryptionDialogs", "Type the password again. Every file of the diary will be encrypted with "
                     "it.\n\n") +
                      ForgottenPasswordWarning()
                : QCoreApplication::translate("EncryptionDialogs", "Type the diary's password. Its files will be written back without "
                     "encryption, readable by anyone who copies them."),
        &dialog);
    text->setWordWrap(true);
    text->setMinimumWidth(320);
    layout->addWidget(text);
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("edtPasswordAgain"));
    edit->setEchoMode(QLineEdit::Password);
    layout->addWidget(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    edit->setFocus();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return edit->text();
}

}  // namespace quillmere
