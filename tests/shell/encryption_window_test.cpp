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
#include "shell/main_hosts.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "shell/settings_window.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/file_cipher.h"
#include "store/journal_session.h"
#include "store/journal_table.h"
#include "store/recovery_log.h"
#include "store/settings_table.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSpinBox>

namespace quillmere {
namespace {

class EncryptionWindowTest : public ShellTest {
protected:
    void TearDown() override { SetPasswordHook(nullptr); }
    TfrmSettings& settings() { return *program().settings(); }
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

// Every way of choosing an export (the folder dialog and the dialog with the
// form and the days) first asks, once in a run, whether an encrypted diary's
// entries may leave as plain files; No exports nothing.
TEST_F(EncryptionWindowTest, ExportAsksOnceBeforeAnEncryptedDiaryLeavesAsPlainFiles) {
    writeJournal({{QDate(2024, 3, 20), QStringLiteral("hidden text")}});
    encryptJournal(QStringLiteral("open sesame"));
    createProgram();
    ASSERT_TRUE(startProgram(QStringLiteral("open sesame")));
    MainExportHost& host = *program().exportHost();
    int chosen = 0;
    host.setExportChooser([&]() -> std::optional<ExportChoice> {
        ++chosen;
        return std::nullopt;
    });
    messages_.calls.clear();
    messages_.answers = {false};
    EXPECT_FALSE(host.chooseExport());
    EXPECT_EQ(0, chosen) << "No must not open the export dialog";
    ASSERT_EQ(std::vector<QString>{PlainExportQuestion()},
              messages_.texts(MessageKind::Confirmation));

    messages_.answers = {true};
    host.chooseExport();
    host.chooseExport();
    EXPECT_EQ(2, chosen);
    EXPECT_EQ(2u, messages_.texts(MessageKind::Confirmation).size()) << "asked once after Yes";
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

// A diary of 1200 days from 1 January 2000 whose letters hardly compress:
// its encrypted journal spans two chunks.
std::vector<std::pair<QDate, QString>> BigDiary() {
    std::vector<std::pair<QDate, QString>> entries;
    uint32_t x = 2463534242u;
    for (int i = 0; i < 1200; ++i) {
        QString text = QStringLiteral("day %1 ").arg(i);
        for (int k = 0; k < 1500; ++k) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            text += QLatin1Char(char('a' + x % 26));
        }
        entries.emplace_back(QDate(2000, 1, 1).addDays(i), text);
    }
    return entries;
}

TEST_F(EncryptionWindowTest, ADamagedJournalsIntactDaysAreOfferedAfterTheLoginAndKeptEncrypted) {
    const QString password = QStringLiteral("open sesame");
    writeJournal(BigDiary());
    encryptJournal(password);
    QByteArray damaged = bytesOf(kJournalFileName);
    ASSERT_GT(damaged.size(), 1 << 20);
    damaged[damaged.size() - 100] = static_cast<char>(damaged[damaged.size() - 100] ^ 0x01);
    {
        QFile file(dataPath(kJournalFileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
    }
    // The error after the login, the offer (Open), at the end Keep.
    messages_.answers = {false, true, true};
    createProgram(QDate(2000, 1, 2));
    EXPECT_TRUE(messages_.calls.empty()) << "nothing is read before the login gives the key";
    ASSERT_TRUE(startProgram(password));
    ASSERT_GE(messages_.calls.size(), 2u);
    EXPECT_TRUE(messages_.calls[0].text.startsWith(
        QStringLiteral("Cannot read the diary \"%1\"").arg(dataPath(kJournalFileName))))
        << messages_.calls[0].text.toStdString();
    EXPECT_TRUE(messages_.calls[0].text.contains(QStringLiteral("--password-file")));
    EXPECT_EQ(MessageKind::Confirmation, messages_.calls[1].kind);
    EXPECT_TRUE(messages_.calls[1].text.startsWith(QStringLiteral("Quillmere can open the ")))
        << messages_.calls[1].text.toStdString();
    // The second chunk does not open: far more than the one day cut at the
    // damage is lost, and the offer says so.
    EXPECT_TRUE(messages_.calls[1].text.contains(
        QStringLiteral(" The rest of the encrypted diary, after the damaged part, cannot be read: "
                       "every day written there is lost. The diary held 1200 days in all.")))
        << messages_.calls[1].text.toStdString();
    EXPECT_TRUE(main().Editor->toPlainText().startsWith(QStringLiteral("day 1 ")));
    typeIntoEditor(QStringLiteral("added "));
    quit();

    const QStringList copies =
        QDir(data_.path()).entryList({QStringLiteral("Journal.damaged-*")}, QDir::Files);
    ASSERT_EQ(1, copies.size());
    EXPECT_EQ(damaged, data_.read(copies[0])) << "the damaged file kept as it was, encrypted";
    const QByteArray rescued = bytesOf(kJournalFileName);
    ASSERT_TRUE(IsSealedDataFile(rescued));
    JournalTable table;
    table.setCipher(crypto::JournalCipher::unlock(rescued, password, dataPath(kJournalFileName)));
    table.OpenJournal(dataPath(kJournalFileName));
    EXPECT_GT(table.recordCount(), 100);
    EXPECT_LT(table.recordCount(), 1200);
    ASSERT_TRUE(table.Locate(dayFromDate(QDate(2000, 1, 2))));
    EXPECT_TRUE(PlainTextOfRtf(DecodeEntryContent(table.JournalEntry()))
                    .startsWith(QStringLiteral("added day 1 ")));
    table.abandon();
}

TEST_F(EncryptionWindowTest, SettingsRecoveredAfterTheLoginAreWhatTheSettingsWindowShows) {
    const QString password = QStringLiteral("open sesame");
    writeJournal({{QDate(2024, 3, 20), QStringLiteral("today")}});
    encryptJournal(password);
    writeSettings({QString(), QStringLiteral("Arial"), 200, 0});
    {
        // A run killed after changing the font size: the encrypted log holds it.
        JournalSession killed(data_.path());
        killed.OpenJournal();
        killed.OpenSettings();
        killed.unlock(crypto::JournalCipher::unlock(killed.lockedJournalHead(), password,
                                                    dataPath(kJournalFileName)));
        killed.settings().edit();
        killed.settings().setFontSize(30);
        killed.postSettings();
        killed.waitForDrafts();
    }
    ASSERT_TRUE(IsSealedRecoveryLog(bytesOf(kRecoveryFileName)));
    createProgram();
    ASSERT_TRUE(startProgram(password));
    EXPECT_EQ(30, settings().SpinEdit1->value());
    EXPECT_TRUE(withSettings([&] { click(settings().btnSave); }));
    quit();
    ASSERT_TRUE(storedSettings().has_value());
    EXPECT_EQ(30, storedSettings()->fontSize);
}

}  // namespace
}  // namespace quillmere
