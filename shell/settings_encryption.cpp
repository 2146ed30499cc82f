// The settings window's "Encrypt the diary" box: turning encryption on, off,
// and changing the password on Save.
#include "shell/settings_window.h"

#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"
#include "crypto/journal_cipher.h"
#include "shell/dialog_frame.h"
#include "shell/encryption_dialogs.h"
#include "shell/end_of_run.h"
#include "shell/message_boxes.h"
#include "shell/wait_cursor.h"
#include "store/errors.h"
#include "store/file_cipher.h"
#include "store/journal_session.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace quillmere {

void TfrmSettings::buildEncryptionBox() {
    chkEncrypt = new TRbCheckBox(RbPanel8, QStringLiteral("chkEncrypt"));
    // Between the password box and the line under it.
    chkEncrypt->setGeometry(32, 75, 169, 17);
    chkEncrypt->SetCaption(tr("Encrypt the diary"));
    chkEncrypt->setFont(ArialPixels(13));
    chkEncrypt->SetCheckColor(32768);  // #008000, as "Skip empty entries"
    chkEncrypt->SetGradientBorder(true);
    chkEncrypt->SetShowFocusRect(true);
    chkEncrypt->SetTextShadow(true);
    chkEncrypt->SetHotTrack(false);
    chkEncrypt->SetSpacing(3);
    chkEncrypt->SetColor(clWhite);
    chkEncrypt->setToolTip(tr("Encrypt every file that holds your entries with the password "
                              "above. ") +
                           ForgottenPasswordWarning());
}

TfrmSettings::EncryptionStep TfrmSettings::encryptionStep() const {
    const bool wanted = chkEncrypt->Checked();
    if (wanted && !session_.encrypted()) {
        return EncryptionStep::kTurnOn;
    }
    if (!wanted && session_.encrypted()) {
        return EncryptionStep::kTurnOff;
    }
    if (wanted && !DBEdit1->text().isEmpty()) {
        return EncryptionStep::kChangePassword;
    }
    return EncryptionStep::kNone;
}

bool TfrmSettings::prepareEncryption(EncryptionStep step,
                                     std::shared_ptr<const FileCipher>* cipher) {
    const QString typed = DBEdit1->text();
    switch (step) {
        case EncryptionStep::kNone:
            return true;
        case EncryptionStep::kTurnOn:
        case EncryptionStep::kChangePassword: {
            if (typed.isEmpty()) {
                ShowErrorBox(this, tr("Type the password that is to encrypt the diary."));
                DBEdit1->setFocus();
                return false;
            }
            const std::optional<QString> again = AskPassword(this, PasswordQuestion::kConfirmNew);
            if (!again) {
                return false;
            }
            if (*again != typed) {
                ShowErrorBox(this, tr("The two passwords differ; nothing was changed."));
                DBEdit1->setFocus();
                return false;
            }
            const WaitCursor wait;
            *cipher = crypto::JournalCipher::create(typed);
            return true;
        }
        case EncryptionStep::kTurnOff: {
            const std::optional<QString> current = AskPassword(this, PasswordQuestion::kCurrent);
            if (!current) {
                return false;
            }
            const WaitCursor wait;
            try {
                // Derived again from the current key's salt and parameters.
                crypto::JournalCipher::unlockLog(session_.cipher()->logHeader(), *current,
                                                 session_.filePath(kJournalFileName));
            } catch (const WrongKeyError&) {
                ShowInformationBox(this, QCoreApplication::translate("quillmere::SettingsEncryption", "Invalid Password."));
                return false;
            }
            return true;
        }
    }
    return false;
}

void TfrmSettings::applyEncryption(std::shared_ptr<const FileCipher> cipher) {
    JournalSession::JournalWrite written;
    {
        const WaitCursor wait;
        written = session_.changeCipher(std::move(cipher), DBEdit1->text());
    }
    if (!written.fromFile.empty() || !written.bothChanged.empty()) {
        ShowInformationBox(this, MergedDaysText(written.fromFile, written.bothChanged));
    }
    if (!written.keptAsBackup.isEmpty()) {
        ShowErrorBox(this, KeptAsBackupText(written.keptAsBackup));
    }
}

}  // namespace quillmere
