// The login window: the gate of the program, shown modally before anything
// of the diary is shown. It opens the settings record (`tblPassword`, held by
// the journal session) when it is made and asks the session to check the
// password.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QLineEdit;

namespace quillmere {

class TRbButton;
class TRbPanel;
class TfrmMain;
class SettingsTable;
class JournalSession;

class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    // Builds the window and opens "Settings.cds" through `session`; an error
    // is shown in the error box and leaves the table closed (counting as
    // having no record). `main` receives LoggedIn. `session` must outlive
    // the window.
    TfrmLogin(TfrmMain* main, JournalSession& session, QWidget* parent = nullptr);
    ~TfrmLogin() override;

    // Reads "Settings.cds", or makes an empty table when there is none.
    // Errors go to the error box; the table then stays closed.
    void OpenSettings();

    // The settings record table (the settings window edits its record).
    SettingsTable& settingsTable();

    // Login: passes (LoggedIn := true, the window closes) when there is no
    // record or the typed text equals the stored password exactly; for an
    // encrypted diary when the typed text opens "Journal.cds" (or, after an
    // idle lock, gives the key back). Otherwise "Invalid Password." in the
    // information box, nothing is written, the text and the focus stay in
    // the box.
    void btnLoginClick();
    // Exit: the window closes, LoggedIn stays false.
    void btnExitClick();

    TRbPanel* RbPanel8 = nullptr;
    QLineEdit* edtPassword = nullptr;
    TRbButton* btnLogin = nullptr;
    TRbButton* btnExit = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormActivate();
    bool passwordOpens(const QString& typed);

    TfrmMain* main_;
    JournalSession& session_;
};

}  // namespace quillmere
