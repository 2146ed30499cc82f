#include "shell/login_window.h"

#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"
#include "crypto/journal_cipher.h"
#include "shell/dialog_frame.h"
#include "shell/glyphs.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "shell/wait_cursor.h"
#include "store/errors.h"
#include "store/file_cipher.h"
#include "store/handler_guard.h"
#include "store/journal_session.h"
#include "store/settings_table.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QProxyStyle>

namespace quillmere {

namespace {

// Shows every character of the password box as "*".
class StarPasswordStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter) {
            return '*';
        }
        if (hint == QStyle::SH_LineEdit_PasswordMaskDelay) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

TfrmLogin::TfrmLogin(TfrmMain* main, JournalSession& session, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint), main_(main), session_(session) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(tr("Login Window"));
    setFixedSize(250, 138);
    RbPanel8 = MakeContentFrame(this, tr("Enter Password"));

    edtPassword = new QLineEdit(RbPanel8);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    edtPassword->setGeometry(25, 45, 202, 30);
    auto* style = new StarPasswordStyle();
    style->setParent(edtPassword);
    edtPassword->setStyle(style);
    edtPassword->setEchoMode(QLineEdit::Password);
    edtPassword->setAccessibleName(tr("Password"));
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(19);
    font.setBold(true);
    edtPassword->setFont(font);
    edtPassword->setStyleSheet(QStringLiteral("QLineEdit { color: black; background: white; }"));
    connect(edtPassword, &QLineEdit::returnPressed, this,
            guardSlot(this, &TfrmLogin::btnLoginClick));

    btnLogin = MakeDialogButton(RbPanel8, QStringLiteral("btnLogin"), tr("Login"),
                                QRect(24, 90, 75, 25), glyph::kLockOpen);
    connect(btnLogin, &TRbButton::OnClick, this, guardSlot(this, &TfrmLogin::btnLoginClick));
    btnExit = MakeDialogButton(RbPanel8, QStringLiteral("btnExit"), tr("Exit"),
                               QRect(152, 90, 75, 25), glyph::kExitToApp);
    connect(btnExit, &TRbButton::OnClick, this, guardSlot(this, &TfrmLogin::btnExitClick));

    OpenSettings();
}

TfrmLogin::~TfrmLogin() = default;

SettingsTable& TfrmLogin::settingsTable() {
    return session_.settings();
}

void TfrmLogin::OpenSettings() {
    try {
        session_.OpenSettings();
    } catch (const Error& e) {
        ShowErrorBox(this, e.message());
    }
}

void TfrmLogin::showEvent(QShowEvent* event) {
    CentreOn(*this, nullptr);
    QDialog::showEvent(event);
    FormActivate();
}

void TfrmLogin::FormActivate() {
    if (main_ != nullptr) {
        main_->LoggedIn = false;
    }
    edtPassword->setFocus();
}

void TfrmLogin::btnLoginClick() {
    try {
        if (!passwordOpens(edtPassword->text())) {
            ShowInformationBox(this, tr("Invalid Password."));
            edtPassword->setFocus();
            return;
        }
        if (main_ != nullptr) {
            main_->LoggedIn = true;
        }
        accept();
    } catch (const Error& e) {
        ShowErrorBox(this, e.message());
    }
}

bool TfrmLogin::passwordOpens(const QString& typed) {
    if (!session_.journalLocked()) {
        return session_.checkPassword(typed);
    }
    // An encrypted diary: the password is right when it gives the key.
    const WaitCursor wait;
    const QString path = session_.filePath(kJournalFileName);
    std::shared_ptr<const FileCipher> cipher;
    try {
        cipher = session_.locked()
                     ? crypto::JournalCipher::unlockLog(session_.lockCheck(), typed, path)
                     : crypto::JournalCipher::unlock(session_.lockedJournalHead(), typed, path);
    } catch (const WrongKeyError&) {
        return false;
    }
    if (session_.locked()) {
        session_.resume(std::move(cipher));
        return true;
    }
    try {
        session_.unlock(std::move(cipher));
    } catch (const WrongKeyError&) {
        return false;
    } catch (const Error& e) {
        // The password is right but the journal cannot be read (damaged):
        // the diary opens as one whose journal cannot be read, writes
        // nothing over it, and offers its intact days after the login.
        ShowErrorBox(this, e.message());
    }
    return true;
}

void TfrmLogin::btnExitClick() {
    reject();
}

void TfrmLogin::keyPressEvent(QKeyEvent* event) {
    // The login has no cancel key: Escape does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace quillmere
