#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "shell/login_window.h"
#include "shell/main_window.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QStyle>
#include <QTest>

namespace quillmere {
namespace {

struct LoginCase {
    const char* label;
    std::optional<const char*> storedPassword;  // no record when empty
    const char* typed;
    bool passes;
};

class LoginTest : public ShellTest, public ::testing::WithParamInterface<LoginCase> {};
class LoginWindowTest : public ShellTest {};

TEST_P(LoginTest, ComparesTheTypedTextExactly) {
    const LoginCase& c = GetParam();
    if (c.storedPassword) {
        writeSettings({QString::fromUtf8(*c.storedPassword)});
    }
    createProgram();
    TfrmLogin* login = program().login();
    login->show();
    EXPECT_FALSE(main().LoggedIn) << "activation resets LoggedIn";
    QTest::keyClicks(login->edtPassword, QString::fromUtf8(c.typed));
    click(login->btnLogin);

    EXPECT_EQ(c.passes, main().LoggedIn) << c.label;
    EXPECT_EQ(!c.passes, login->isVisible()) << c.label;
    if (c.passes) {
        EXPECT_TRUE(messages_.calls.empty()) << c.label;
        return;
    }
    ASSERT_EQ(1u, messages_.calls.size()) << c.label;
    EXPECT_EQ(MessageKind::Information, messages_.calls[0].kind);
    EXPECT_EQ(QStringLiteral("Information"), messages_.calls[0].title);
    EXPECT_EQ(QStringLiteral("Invalid Password."), messages_.calls[0].text);
    EXPECT_EQ(QString::fromUtf8(c.typed), login->edtPassword->text()) << "typed text kept";
    EXPECT_EQ(login->edtPassword, login->focusWidget()) << "focus back in the box";
    login->hide();
}

INSTANTIATE_TEST_SUITE_P(
    Passwords, LoginTest,
    ::testing::Values(
        LoginCase{"nominal: no record lets anything in", std::nullopt, "whatever", true},
        LoginCase{"nominal: no record lets an empty box in", std::nullopt, "", true},
        LoginCase{"nominal: exact text passes", "Secret", "Secret", true},
        LoginCase{"robustness: empty box against a password", "Secret", "", false},
        LoginCase{"robustness: one letter in another case", "Secret", "secret", false},
        LoginCase{"robustness: trailing blank", "Secret", "Secret ", false},
        LoginCase{"robustness: leading blank", "Secret", " Secret", false},
        LoginCase{"nominal: empty stored password, empty box", "", "", true},
        LoginCase{"robustness: empty stored password, text typed", "", "x", false}));

TEST_F(LoginWindowTest, EnterInThePasswordBoxLogsIn) {
    writeSettings({QStringLiteral("pw")});
    createProgram();
    TfrmLogin* login = program().login();
    login->show();
    QTest::keyClicks(login->edtPassword, QStringLiteral("pw"));
    QTest::keyClick(login->edtPassword, Qt::Key_Return);
    EXPECT_TRUE(main().LoggedIn);
    EXPECT_FALSE(login->isVisible());
}

TEST_F(LoginWindowTest, EscapeDoesNotCloseTheLogin) {
    writeSettings({QStringLiteral("pw")});
    createProgram();
    TfrmLogin* login = program().login();
    login->show();
    QTest::keyClick(login->edtPassword, Qt::Key_Escape);
    EXPECT_TRUE(login->isVisible());
    login->hide();
}

TEST_F(LoginWindowTest, PasswordIsShownAsStars) {
    createProgram();
    TfrmLogin* login = program().login();
    EXPECT_EQ(QLineEdit::Password, login->edtPassword->echoMode());
    EXPECT_EQ('*', login->edtPassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                          nullptr, login->edtPassword));
    EXPECT_EQ(QSize(250, 138), login->size());
    EXPECT_EQ(QRect(25, 45, 202, 30), login->edtPassword->geometry());
}

TEST_F(LoginWindowTest, ExitEndsTheProgramAndLeavesEveryFileUntouched) {
    writeJournal({{QDate(2024, 3, 1), QStringLiteral("first")}});
    writeSettings({QStringLiteral("pw"), QStringLiteral("Arial"), 12, 255});
    data_.write(QStringLiteral("FontSettings.Ini"),
                "[Font]\nName=Courier New\nCharset=0\n[Settings]\nSkip=1\n");
    const QByteArray journal = data_.read(QStringLiteral("Journal.cds"));
    const QByteArray settings = data_.read(QStringLiteral("Settings.cds"));
    const QByteArray fonts = data_.read(QStringLiteral("FontSettings.Ini"));
    const QDateTime journalTime = QFileInfo(dataPath(QStringLiteral("Journal.cds"))).lastModified();

    createProgram();
    EXPECT_FALSE(startProgram(QString(), /*pressExit=*/true));
    EXPECT_TRUE(main().closed());
    EXPECT_FALSE(main().isVisible());
    program().destroyWindows();

    EXPECT_EQ(journal, data_.read(QStringLiteral("Journal.cds")));
    EXPECT_EQ(settings, data_.read(QStringLiteral("Settings.cds")));
    EXPECT_EQ(fonts, data_.read(QStringLiteral("FontSettings.Ini")));
    EXPECT_EQ(journalTime, QFileInfo(dataPath(QStringLiteral("Journal.cds"))).lastModified());
    EXPECT_TRUE(messages_.calls.empty());
}

TEST_F(LoginWindowTest, ClosingTheLoginAnyOtherWayEndsTheProgram) {
    writeSettings({QStringLiteral("pw")});
    createProgram();
    TfrmLogin* login = program().login();
    bool passed = true;
    whileModal(
        login, [&] { passed = program().start(); }, [&] { login->close(); });
    EXPECT_FALSE(passed);
    EXPECT_TRUE(main().closed());
}

TEST_F(LoginWindowTest, WrongPasswordThenExitEndsTheProgram) {
    writeSettings({QStringLiteral("pw")});
    createProgram();
    TfrmLogin* login = program().login();
    bool passed = true;
    whileModal(
        login, [&] { passed = program().start(); },
        [&] {
            login->edtPassword->setText(QStringLiteral("PW"));
            click(login->btnLogin);
            EXPECT_TRUE(login->isVisible());
            click(login->btnExit);
        });
    EXPECT_FALSE(passed);
    EXPECT_EQ(std::vector<QString>{QStringLiteral("Invalid Password.")},
              messages_.texts(MessageKind::Information));
    program().destroyWindows();
    EXPECT_FALSE(QFileInfo::exists(dataPath(QStringLiteral("FontSettings.Ini"))))
        << "a failed login writes no font settings";
    EXPECT_FALSE(QFileInfo::exists(dataPath(QStringLiteral("Journal.cds"))));
}

TEST_F(LoginWindowTest, UnreadableSettingsFileLetsTheUserInAfterTheErrorBox) {
    data_.write(QStringLiteral("Settings.cds"), "not a data packet at all");
    createProgram();
    const std::vector<QString> errors = messages_.texts(MessageKind::Error);
    ASSERT_EQ(1u, errors.size());
    EXPECT_TRUE(startProgram(QStringLiteral("anything")));
}

}  // namespace
}  // namespace quillmere
