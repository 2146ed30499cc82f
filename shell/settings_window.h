// The settings window: edits the settings record (the password and the
// default font of new entries) and holds the "Skip empty entries" check box
// that switches the skip mode of the day navigation.
#pragma once

#include "spelling/spelling_languages.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace quillmere {

class FileCipher;
class SettingsTable;
class JournalSession;
class TRbButton;
class TRbCheckBox;
class TRbPanel;

// One entry of the colour list: its name and the stored 0x00BBGGRR value.
struct NamedColor {
    const char* name;
    uint32_t value;
};

// The 20 colours of the colour list, in order.
extern const NamedColor kFontColors[20];

// The size box: whole numbers 6 to 200; a typed number outside the range
// becomes the nearest bound when the box is left, text that is not a whole
// number counts as 6.
int ClampFontSize(const QString& text);

class TfrmSettings : public QDialog {
    Q_OBJECT
public:
    // Builds the window and fills the font controls from the settings
    // record of `session` (Arial, 11, clBlack when there is none). The
    // controls are filled only here and by fillFontControls. `session` must
    // outlive the window.
    explicit TfrmSettings(JournalSession& session, QWidget* parent = nullptr);

    // Fills the font controls from the settings record again (after an
    // encrypted diary's recovery log, replayed once the login gave the key,
    // changed it). A closed table counts as having no record.
    void fillFontControls();

    // "Skip empty entries": the check box is a view of the session's option
    // (read by the navigation, stored in "FontSettings.Ini"). Setting it
    // does not store it.
    bool skipEmptyEntries() const;
    void setSkipEmptyEntries(bool on);

    // Save: the font controls and the password box into the record, post,
    // close. Errors are shown in the error box and the window stays open.
    // With "Encrypt the diary" newly checked, or checked with a new password
    // typed, the password is asked again (with the warning that it cannot be
    // recovered) and every file of the diary is written encrypted with it;
    // unchecked on an encrypted diary, the current password is asked and the
    // files are written back plain, the typed password becoming the plain
    // login password again. An encrypted diary's password box is empty
    // ("unchanged") and no file holds its password.
    void btnSaveClick();
    // Cancel: the record's pending changes are dropped and the window
    // closes. Errors are shown in the error box.
    void btnCancelClick();

    TRbPanel* RbPanel8 = nullptr;
    QLineEdit* DBEdit1 = nullptr;
    QComboBox* FontComboBox1 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    TRbButton* btnSave = nullptr;
    TRbButton* btnCancel = nullptr;
    TRbCheckBox* chkSkip = nullptr;
    QComboBox* ColorBox1 = nullptr;
    // "Encrypt the diary", under the password box.
    TRbCheckBox* chkEncrypt = nullptr;

signals:
    // The user switched "Skip empty entries" (the session's option already
    // follows); the main window stores it.
    void skipEmptyEntriesClicked(bool on);
    // The user chose a spelling language (a dictionary tag, or "Off"); the
    // session's font settings already hold it, the main window stores it
    // and checks in it. Like "Skip empty entries", it takes effect at once,
    // whether the window is then saved or cancelled.
    void spellingChosen(const QString& choice);

public:
    // "Spelling" (settings_spelling.cpp), below "Skip empty entries": the
    // installed dictionaries by language name, and "Off". Filled each time
    // the window opens, with the language in use selected. Without a
    // dictionary it holds "Off" only, and its tooltip names the package to
    // install.
    QLabel* lblSpelling = nullptr;
    QComboBox* cmbSpelling = nullptr;
    // Where the list of dictionaries comes from (tests put theirs).
    std::function<QList<spelling::DictionaryLanguage>()> dictionaryList =
        spelling::installedDictionaries;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void buildControls();
    void buildLabels();
    void FormActivate();
    void commitPassword();
    void buildSpellingChoice();
    void fillSpellingChoice();
    void commitSize();
    uint32_t selectedColor() const;

    // What Save does to the diary's encryption (settings_encryption.cpp).
    enum class EncryptionStep { kNone, kTurnOn, kChangePassword, kTurnOff };
    EncryptionStep encryptionStep() const;
    // Asks what the step needs (the password again, or the current one).
    // False when the user cancelled or a check failed (already told);
    // `cipher` gets the new key for kTurnOn and kChangePassword.
    bool prepareEncryption(EncryptionStep step, std::shared_ptr<const FileCipher>* cipher);
    // Writes the diary in its new form and tells what a merge did.
    void applyEncryption(std::shared_ptr<const FileCipher> cipher);
    void buildEncryptionBox();

    JournalSession& session_;
    SettingsTable& table_;
    uint32_t unlistedColor_ = 0;
};

}  // namespace quillmere
