// The program under a German locale: the translator for the locale makes the
// windows, the drawn controls' captions, the message boxes and the store's
// errors speak German, with Qt's own texts; without a translation for the
// locale every text stays the English original.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"
#include "editor/format/format_commands.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "shell/translations.h"
#include "store/errors.h"
#include "store/file_access.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace quillmere {
namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);

class GermanTest : public ShellTest {
protected:
    Translations german_{kGerman};
};

TEST_F(GermanTest, TheProgramAndQtTranslationsAreInstalled) {
    EXPECT_TRUE(german_.programTranslated());
    EXPECT_TRUE(german_.qtTranslated()) << "qtbase_de.qm from qt6-translations-l10n";
    // One of Qt's own texts: the standard Cancel button of its dialogs.
    EXPECT_EQ(QStringLiteral("Abbrechen"), QCoreApplication::translate("QPlatformTheme", "Cancel"));
}

TEST_F(GermanTest, MainWindowButtonsAndHintsSpeakGerman) {
    start();
    EXPECT_EQ(QStringLiteral("Zurück"), main().btnPrevious->Caption());
    EXPECT_EQ(QStringLiteral("Weiter"), main().btnNext->Caption());
    EXPECT_EQ(QStringLiteral("Kalender"), main().btnCalendar->Caption());
    EXPECT_TRUE(main().btnExport->toolTip().startsWith(QStringLiteral("Alles exportieren...")))
        << qPrintable(main().btnExport->toolTip());
    EXPECT_TRUE(main().btnSettings->toolTip().startsWith(QStringLiteral("Einstellungen...")))
        << qPrintable(main().btnSettings->toolTip());
    EXPECT_TRUE(main().Commands->btnBold->toolTip().startsWith(QStringLiteral("Fett")))
        << qPrintable(main().Commands->btnBold->toolTip());
    EXPECT_EQ(QStringLiteral("Fett"), main().Commands->btnBold->accessibleName());
    EXPECT_EQ(QStringLiteral("Rückblick"), main().btnOnThisDay->Caption());
    EXPECT_TRUE(main().btnOnThisDay->toolTip().startsWith(
        QStringLiteral("Frühere Jahre des gezeigten Tages")))
        << qPrintable(main().btnOnThisDay->toolTip());
}

TEST_F(GermanTest, LoginCaptionAndInvalidPasswordBoxSpeakGerman) {
    writeSettings({QStringLiteral("geheim")});
    createProgram();
    TfrmLogin* login = program().login();
    EXPECT_EQ(QStringLiteral("Passwort eingeben"), login->RbPanel8->Caption());
    EXPECT_EQ(QStringLiteral("Anmelden"), login->btnLogin->Caption());
    login->show();
    QTest::keyClicks(login->edtPassword, QStringLiteral("falsch"));
    click(login->btnLogin);
    ASSERT_EQ(1u, messages_.calls.size());
    EXPECT_EQ(QStringLiteral("Information"), messages_.calls[0].title);
    EXPECT_EQ(QStringLiteral("Falsches Passwort."), messages_.calls[0].text);
}

TEST_F(GermanTest, ErrorBoxAndStoreErrorsSpeakGerman) {
    const QString missing = data_.file(QStringLiteral("nicht-da.rtf"));
    QString message;
    try {
        fileAccess().readAll(missing);
    } catch (const Error& e) {
        message = e.message();
    }
    EXPECT_TRUE(message.startsWith(QStringLiteral("Öffnen nicht möglich: \"")))
        << qPrintable(message);
    ShowErrorBox(nullptr, message);
    ASSERT_EQ(1u, messages_.calls.size());
    EXPECT_EQ(QStringLiteral("Fehler"), messages_.calls[0].title);
}

TEST_F(GermanTest, SettingsCheckBoxAndColourNamesSpeakGerman) {
    createProgram();
    TfrmSettings* settings = program().settings();
    EXPECT_EQ(QStringLiteral("Leere Tage überspringen"), settings->chkSkip->Caption());
    EXPECT_EQ(QStringLiteral("Schwarz"), settings->ColorBox1->itemText(0));
}

class EnglishTest : public ShellTest {
protected:
    Translations english_{QLocale(QLocale::English, QLocale::UnitedStates)};
};

TEST_F(EnglishTest, NoTranslationIsInstalledAndTextsStayTheOriginals) {
    EXPECT_FALSE(english_.programTranslated());
    EXPECT_FALSE(english_.qtTranslated());
    start();
    EXPECT_EQ(QStringLiteral("Previous"), main().btnPrevious->Caption());
    EXPECT_TRUE(main().btnExport->toolTip().startsWith(QStringLiteral("Export All...")));
}

TEST(Translations, RemovedWhenTheyEnd) {
    {
        const Translations german(kGerman);
        ASSERT_TRUE(german.programTranslated());
        EXPECT_EQ(QStringLiteral("Fehler"),
                  QCoreApplication::translate("quillmere::MessageBoxes", "Error"));
    }
    EXPECT_EQ(QStringLiteral("Error"),
              QCoreApplication::translate("quillmere::MessageBoxes", "Error"));
}

}  // namespace
}  // namespace quillmere
