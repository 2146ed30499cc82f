// The windows of an encrypted diary: the login checks the password by opening
// the journal (a wrong one writes nothing), and the settings window turns
// encryption on (the password typed twice) and off (the current password
// asked first).
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "crypto/journal_cipher.h"
#include "editor/rich_editor.h"
#include "shell/encryption_dialogs.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/file_cipher.h"
#include "store/journal_session.h"
#include "store/settings_table.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

namespace quillmere {
namespace {

class EncryptionWindowTest : public ShellTest {
protected:
    void TearDown() override { SetPasswordHook(nullptr); }
    TfrmSettings& settings() { return *program().settings(); }
    bool withSettings(const std::function<void()>& action) {
        bool shown = false;
        whileModal(
            &settings(), [&] { click(main().btnSettings); },
            [&] {
                shown = true;
                action();
            });
        return shown;
    }
    // Encrypts "Journal.cds" as a diary with `password` would hold it (with
    // the cheapest key derivation, so the test stays quick).
    void encryptJournal(const QString& password) {
        QFile file(dataPath(kJournalFileName));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray plain = file.readAll();
        file.close();
        const auto cipher = crypto::JournalCipher::create(password, {1, crypto::kMinMemlimit});
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(cipher->sealFile(plain));
    }
    QByteArray bytesOf(const char* name) const {
        QFile file(dataPath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(EncryptionWindowTest, TheLoginOpensTheJournalWithThePasswordAndAWrongOneWritesNothing) {
    writeJournal({{QDate(2024, 3, 20), QStringLiteral("hidden text")}});
    encryptJournal(QStringLiteral("open sesame"));
    const QByteArray before = bytesOf(kJournalFileName);
    createProgram();
    EXPECT_TRUE(program().session()->journalLocked());

    EXPECT_FALSE(startProgram(QStringLiteral("open Sesame")));
    ASSERT_EQ(1u, messages_.calls.size());
    EXPECT_EQ(QStringLiteral("Invalid Password."), messages_.calls[0].text);
    EXPECT_EQ(before, bytesOf(kJournalFileName));
    EXPECT_FALSE(QFile::exists(dataPath(kRecoveryFileName)));
    program().destroyWindows();
    EXPECT_EQ(before, bytesOf(kJournalFileName));
    EXPECT_FALSE(QFile::exists(dataPath(kSettingsFileName)));

    createProgram();
    EXPECT_TRUE(startProgram(QStringLiteral("open sesame")));
    EXPECT_TRUE(main().LoggedIn);
    EXPECT_TRUE(program().session()->encrypted());
    EXPECT_EQ(QStringLiteral("hidden text"), main().Editor->toPlainText());
    quit();
}

TEST_F(EncryptionWindowTest, TurningEncryptionOnAsksThePasswordTwiceAndOffAsksTheCurrentOne) {
    writeJournal({{QDate(2024, 3, 19), QStringLiteral("yesterday")}});
    start();
    std::vector<PasswordQuestion> asked;
    std::optional<QString> answer = QStringLiteral("Tw0 words");
    SetPasswordHook([&](PasswordQuestion q) {
        asked.push_back(q);
        return answer;
    });
    // A second password that differs changes nothing.
    answer = QStringLiteral("Two words");
    EXPECT_TRUE(withSettings([&] {
        settings().DBEdit1->setText(QStringLiteral("Tw0 words"));
        click(settings().chkEncrypt);
        click(settings().btnSave);
        EXPECT_TRUE(settings().isVisible());
        click(settings().btnCancel);
    }));
    ASSERT_EQ(1u, messages_.calls.size());
    EXPECT_EQ(QStringLiteral("The two passwords differ; nothing was changed."),
              messages_.calls[0].text);
    EXPECT_FALSE(program().session()->encrypted());

    answer = QStringLiteral("Tw0 words");
    EXPECT_TRUE(withSettings([&] {
        settings().DBEdit1->setText(QStringLiteral("Tw0 words"));
        click(settings().chkEncrypt);
        click(settings().btnSave);
    }));
    EXPECT_EQ(std::vector<PasswordQuestion>(2, PasswordQuestion::kConfirmNew), asked);
    EXPECT_TRUE(program().session()->encrypted());
    EXPECT_TRUE(IsSealedDataFile(bytesOf(kJournalFileName)));
    EXPECT_FALSE(bytesOf(kSettingsFileName).contains("Tw0 words"));

    // Off: a wrong current password is refused, the right one writes plain files.
    answer = QStringLiteral("two words");
    EXPECT_TRUE(withSettings([&] {
        EXPECT_TRUE(settings().chkEncrypt->Checked());
        click(settings().chkEncrypt);
        click(settings().btnSave);
        click(settings().btnCancel);
    }));
    EXPECT_EQ(QStringLiteral("Invalid Password."), messages_.calls.back().text);
    EXPECT_TRUE(program().session()->encrypted());
    answer = QStringLiteral("Tw0 words");
    EXPECT_TRUE(withSettings([&] {
        click(settings().chkEncrypt);
        click(settings().btnSave);
    }));
    EXPECT_EQ(PasswordQuestion::kCurrent, asked.back());
    EXPECT_FALSE(program().session()->encrypted());
    EXPECT_FALSE(IsSealedDataFile(bytesOf(kJournalFileName)));
    quit();
    const auto entries = storedEntries();
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(QStringLiteral("yesterday"), entries[0].second);
}

}  // namespace
}  // namespace quillmere
