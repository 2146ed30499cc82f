// The settings window's "Spelling" choice: the installed dictionaries by
// name and "Off", the one in use selected, "Off" only with the package to
// install when there is no dictionary, and a choice that checks the entry in
// it and is kept in "FontSettings.Ini" at once (never written by a diary
// that did not choose).
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/spelling/spell_checking.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"

#include <QComboBox>
#include <QTest>

namespace quillmere {
namespace {

class SpellingSettingsTest : public ShellTest {
protected:
    SpellingSettingsTest() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~SpellingSettingsTest() override { QLocale::setDefault(QLocale::system()); }

    TfrmSettings& settings() { return *program().settings(); }
    // Opens the settings window, runs `action` in it and cancels it.
    void inSettings(const std::function<void()>& action) {
        whileModal(
            &settings(), [&] { click(main().btnSettings); },
            [&] {
                action();
                click(settings().btnCancel);
            });
    }
    // Picks the entry of `data` in the choice as the user does.
    void pick(const QString& data) {
        QComboBox* box = settings().cmbSpelling;
        const int index = box->findData(data);
        ASSERT_GE(index, 0) << data.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // Waits until the editor is checked in `tag` ("" for off) and drawn.
    void waitForLanguage(const QString& tag) {
        SpellChecking* spelling = main().Spelling;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return spelling->language() == tag && spelling->isSettled(); }, 10000))
            << tag.toStdString();
    }
    QByteArray fontSettingsFile() const { return data_.read(QStringLiteral("FontSettings.Ini")); }
};

TEST_F(SpellingSettingsTest, ListsTheDictionariesByNameAndOffWithTheOneInUse) {
    start();
    waitForLanguage(QStringLiteral("en_US"));
    inSettings([&] {
        QComboBox* box = settings().cmbSpelling;
        EXPECT_EQ(QStringLiteral("Off"), box->itemText(0));
        const int english = box->findData(QStringLiteral("en_US"));
        ASSERT_GE(english, 1);
        EXPECT_EQ(QStringLiteral("English (United States)"), box->itemText(english));
        EXPECT_EQ(english, box->currentIndex()) << "the locale's language is in use";
    });
    quit();
    EXPECT_FALSE(fontSettingsFile().contains("Spelling")) << "nothing was chosen";
}

TEST_F(SpellingSettingsTest, NoDictionaryShowsOffOnlyAndNamesThePackage) {
    createProgram();
    settings().dictionaryList = [] { return QList<spelling::DictionaryLanguage>(); };
    ASSERT_TRUE(startProgram());
    inSettings([&] {
        QComboBox* box = settings().cmbSpelling;
        ASSERT_EQ(1, box->count());
        EXPECT_EQ(QStringLiteral("Off"), box->currentText());
        EXPECT_TRUE(box->toolTip().contains(QStringLiteral("hunspell-en-us")))
            << box->toolTip().toStdString();
    });
}

TEST_F(SpellingSettingsTest, AChoiceChecksTheEntryInItAndIsKeptAtOnce) {
    start();
    typeIntoEditor(QStringLiteral("teh day "));
    waitForLanguage(QStringLiteral("en_US"));
    EXPECT_EQ(1, main().Spelling->markedRanges().size());

    inSettings([&] { pick(QStringLiteral("Off")); });
    EXPECT_TRUE(fontSettingsFile().contains("\nSpelling=Off\n")) << fontSettingsFile().data();
    waitForLanguage(QString());
    EXPECT_TRUE(main().Spelling->markedRanges().isEmpty());

    inSettings([&] {
        EXPECT_EQ(QStringLiteral("Off"), settings().cmbSpelling->currentText());
        pick(QStringLiteral("en_US"));
    });
    EXPECT_TRUE(fontSettingsFile().contains("\nSpelling=en_US\n")) << fontSettingsFile().data();
    waitForLanguage(QStringLiteral("en_US"));
    EXPECT_EQ(1, main().Spelling->markedRanges().size());
}

TEST_F(SpellingSettingsTest, TheStoredChoiceIsUsedFromTheStart) {
    data_.write(QStringLiteral("FontSettings.Ini"), "[Settings]\nSkip=0\nSpelling=Off\n");
    start();
    waitForLanguage(QString());
    typeIntoEditor(QStringLiteral("teh day "));
    waitForLanguage(QString());
    EXPECT_TRUE(main().Spelling->markedRanges().isEmpty());
}

}  // namespace
}  // namespace quillmere
