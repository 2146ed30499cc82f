#include "failing_files.h"
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"
#include "search/db_search_form.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/file_access.h"
#include "store/profile_file.h"
#include "store/settings_table.h"

#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include <memory>

namespace quillmere {
namespace {

class SettingsWindowTest : public ShellTest {
protected:
    TfrmSettings& settings() { return *program().settings(); }
    SettingsTable& table() { return program().login()->settingsTable(); }
    void typeSize(const QString& text) {
        settings().SpinEdit1->selectAll();
        QTest::keyClicks(settings().SpinEdit1, text);
    }
};

TEST_F(SettingsWindowTest, FirstUseShowsTheDesignDefaultsAndSaveCreatesTheRecord) {
    start();
    EXPECT_TRUE(withSettings([&] {
        EXPECT_EQ(QStringLiteral("Arial"), settings().FontComboBox1->currentText());
        EXPECT_EQ(11, settings().SpinEdit1->value());
        EXPECT_EQ(QStringLiteral("clBlack"), settings().ColorBox1->currentText());
        EXPECT_EQ(QString(), settings().DBEdit1->text());
        click(settings().btnSave);
    }));
    EXPECT_FALSE(settings().isVisible());
    ASSERT_EQ(1, table().recordCount());
    quit();
    const auto stored = storedSettings();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(QString(), stored->password);
    EXPECT_EQ(QStringLiteral("Arial"), stored->fontName);
    EXPECT_EQ(11, stored->fontSize);
    EXPECT_EQ(0, stored->fontColor);
}

struct SizeCase {
    const char* label;
    const char* typed;
    int stored;
};

class FontSizeTest : public SettingsWindowTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(FontSizeTest, TypedSizeIsClampedWhenSaved) {
    const SizeCase& c = GetParam();
    start();
    withSettings([&] {
        typeSize(QString::fromUtf8(c.typed));
        click(settings().btnSave);
    });
    EXPECT_EQ(c.stored, table().FontSize()) << c.label;
    EXPECT_EQ(c.stored, settings().SpinEdit1->value()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Sizes, FontSizeTest,
                         ::testing::Values(SizeCase{"nominal: in range", "42", 42},
                                           SizeCase{"nominal: lowest", "6", 6},
                                           SizeCase{"nominal: highest", "200", 200},
                                           SizeCase{"robustness: above the range", "500", 200},
                                           SizeCase{"robustness: below the range", "3", 6},
                                           SizeCase{"robustness: not a number", "abc", 6}));

TEST(ClampFontSize, RulesOfTheSizeBox) {
    EXPECT_EQ(6, ClampFontSize(QStringLiteral("")));
    EXPECT_EQ(6, ClampFontSize(QStringLiteral("-4")));
    EXPECT_EQ(6, ClampFontSize(QStringLiteral("1.5")));
    EXPECT_EQ(200, ClampFontSize(QStringLiteral("99999999999")));
    EXPECT_EQ(12, ClampFontSize(QStringLiteral(" 12 ")));
}

TEST_F(SettingsWindowTest, CancelKeepsTheRecordButTheControlsKeepTheChoice) {
    writeSettings({QStringLiteral("pw"), QStringLiteral("Arial"), 11, 0});
    createProgram();
    ASSERT_TRUE(startProgram(QStringLiteral("pw")));
    withSettings([&] {
        typeSize(QStringLiteral("20"));
        settings().DBEdit1->setText(QStringLiteral("changed"));
        click(settings().btnCancel);
    });
    EXPECT_EQ(11, table().FontSize());
    EXPECT_EQ(QStringLiteral("pw"), table().Password());
    withSettings([&] {
        EXPECT_EQ(20, settings().SpinEdit1->value()) << "controls are filled only at creation";
        EXPECT_EQ(QStringLiteral("pw"), settings().DBEdit1->text()) << "stored password shown";
        click(settings().btnSave);
    });
    EXPECT_EQ(20, table().FontSize());
    EXPECT_EQ(QStringLiteral("pw"), table().Password());
}

TEST_F(SettingsWindowTest, UnknownStoredFontShowsNoSelectionAndSavesEmpty) {
    writeSettings({QString(), QStringLiteral("No Such Font Family 77"), 12, 255});
    start();
    EXPECT_EQ(-1, settings().FontComboBox1->currentIndex());
    EXPECT_EQ(QStringLiteral("clRed"), settings().ColorBox1->currentText());
    withSettings([&] { click(settings().btnSave); });
    EXPECT_EQ(QString(), table().FontName());
    EXPECT_EQ(255, table().FontColor());
}

TEST_F(SettingsWindowTest, StoredFontIsFoundIgnoringLetterCase) {
    writeSettings({QString(), QStringLiteral("liberation serif"), 12, 0});
    start();
    EXPECT_EQ(QStringLiteral("Liberation Serif"), settings().FontComboBox1->currentText());
}

TEST_F(SettingsWindowTest, PasswordBoxTakesTwentyCharactersAndLosesTrailingBlanks) {
    start();
    withSettings([&] {
        QTest::keyClicks(settings().DBEdit1, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
        EXPECT_EQ(QStringLiteral("abcdefghijklmnopqrst"), settings().DBEdit1->text());
        settings().DBEdit1->setText(QStringLiteral("secret  "));
        QTest::keyClick(settings().DBEdit1, Qt::Key_Return);
        EXPECT_FALSE(settings().isVisible()) << "Enter in the password box saves";
    });
    EXPECT_EQ(QStringLiteral("secret"), table().Password());
}

TEST_F(SettingsWindowTest, EscapeInThePasswordBoxRestoresTheFieldAndSelectsIt) {
    writeSettings({QStringLiteral("stored")});
    createProgram();
    ASSERT_TRUE(startProgram(QStringLiteral("stored")));
    withSettings([&] {
        settings().DBEdit1->setText(QStringLiteral("typed"));
        QTest::keyClick(settings().DBEdit1, Qt::Key_Escape);
        EXPECT_EQ(QStringLiteral("stored"), settings().DBEdit1->text());
        EXPECT_EQ(QStringLiteral("stored"), settings().DBEdit1->selectedText());
        EXPECT_TRUE(settings().isVisible()) << "Escape does not close the window";
        click(settings().btnCancel);
    });
}

TEST_F(SettingsWindowTest, SkipBoxActsAtOnceAndIsStoredOnlyInTheFontSettings) {
    start();
    withSettings([&] {
        click(settings().chkSkip);
        EXPECT_TRUE(settings().skipEmptyEntries());
        click(settings().btnCancel);
    });
    EXPECT_TRUE(settings().skipEmptyEntries()) << "Cancel leaves skip mode on";
    quit();
    EXPECT_FALSE(QFileInfo::exists(dataPath(QStringLiteral("Settings.cds"))));
    ProfileFile fonts(dataPath(QStringLiteral("FontSettings.Ini")));
    EXPECT_EQ(QStringLiteral("1"),
              fonts.readString(QStringLiteral("Settings"), QStringLiteral("Skip"), QString()));
}

struct SkipStoreCase {
    const char* label;
    bool diskFull;
    const char* storedRightAway;  // "Settings"/"Skip" after the click ("": no key)
};

class SkipStoreTest : public SettingsWindowTest,
                      public ::testing::WithParamInterface<SkipStoreCase> {};

TEST_P(SkipStoreTest, ClickIsStoredAtOnceAndSurvivesComingBackFromTheSearch) {
    const SkipStoreCase& c = GetParam();
    start();
    const QString ini = dataPath(QStringLiteral("FontSettings.Ini"));
    testsupport::FailingFiles failing({QStringLiteral("FontSettings.Ini")});
    std::unique_ptr<ScopedFileAccess> guard;
    if (c.diskFull) {
        guard = std::make_unique<ScopedFileAccess>(&failing);
    }
    messages_.calls.clear();
    withSettings([&] {
        click(settings().chkSkip);
        click(settings().btnCancel);
    });
    EXPECT_EQ(
        QString::fromLatin1(c.storedRightAway),
        ProfileFile(ini).readString(QStringLiteral("Settings"), QStringLiteral("Skip"), QString()))
        << c.label;
    const std::vector<QString> errors = messages_.texts(MessageKind::Error);
    if (c.diskFull) {
        EXPECT_EQ(std::vector<QString>{failing.messageFor(ini)}, errors) << c.label;
    } else {
        EXPECT_TRUE(errors.empty()) << c.label;
    }

    // The main window reads the file again when the user comes back to it
    // from the search window.
    QDialog* search = program().search();
    search->show();
    search->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(search));
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    QCoreApplication::processEvents();
    search->hide();
    EXPECT_TRUE(settings().skipEmptyEntries()) << c.label;

    guard.reset();
    quit();
    EXPECT_EQ(QStringLiteral("1"), ProfileFile(ini).readString(QStringLiteral("Settings"),
                                                               QStringLiteral("Skip"), QString()))
        << c.label << ": Exit stores it";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkipStoreTest,
    ::testing::Values(SkipStoreCase{"nominal: written when clicked", false, "1"},
                      SkipStoreCase{"robustness: disk full keeps it in memory", true, ""}),
    [](const ::testing::TestParamInfo<SkipStoreCase>& info) {
        return info.param.diskFull ? std::string("DiskFull") : std::string("Written");
    });

TEST_F(SettingsWindowTest, ClosedSettingsTableShowsTheErrorAndNoWindow) {
    data_.write(QStringLiteral("Settings.cds"), "broken");
    start();
    messages_.calls.clear();
    EXPECT_FALSE(withSettings([] {}));
    EXPECT_EQ(std::vector<QString>{QStringLiteral(
                  "tblPassword: Cannot perform this operation on a closed dataset")},
              messages_.texts(MessageKind::Error));
}

TEST_F(SettingsWindowTest, ColourListHoldsTheTwentyColoursInOrder) {
    start();
    QComboBox* box = settings().ColorBox1;
    ASSERT_EQ(20, box->count());
    const char* names[] = {"clBlack",  "clMaroon",     "clGreen",   "clOlive",   "clNavy",
                           "clPurple", "clTeal",       "clGray",    "clSilver",  "clRed",
                           "clLime",   "clYellow",     "clBlue",    "clFuchsia", "clAqua",
                           "clWhite",  "clMoneyGreen", "clSkyBlue", "clCream",   "clMedGray"};
    const uint32_t values[] = {0,        128,      32768,    32896,    8388608,  8388736,  8421376,
                               8421504,  12632256, 255,      65280,    65535,    16711680, 16711935,
                               16776960, 16777215, 12639424, 15780518, 15793151, 10789024};
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(QString::fromLatin1(names[i]), box->itemText(i)) << i;
        EXPECT_EQ(values[i], box->itemData(i).value<uint32_t>()) << i;
    }
}

// The design's places, but for the "Spelling" row below "Skip empty
// entries": the window is one row (48 pixels) taller and Save and Cancel
// stand that much lower.
TEST_F(SettingsWindowTest, LayoutFollowsTheDesign) {
    start();
    TfrmSettings& s = settings();
    EXPECT_EQ(QSize(231, 405 + 48), s.size());
    EXPECT_TRUE(s.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(QRect(32, 48, 169, 24), s.DBEdit1->geometry());
    EXPECT_EQ(QRect(32, 144, 169, 23), s.FontComboBox1->geometry());
    EXPECT_EQ(QRect(32, 192, 75, 26), s.SpinEdit1->geometry());
    EXPECT_EQ(QRect(32, 346 + 48, 75, 25), s.btnSave->geometry());
    EXPECT_EQ(QRect(125, 346 + 48, 75, 25), s.btnCancel->geometry());
    EXPECT_EQ(QPoint(32, 330), s.lblSpelling->pos());
    EXPECT_EQ(QRect(32, 346, 169, 22), s.cmbSpelling->geometry());
    EXPECT_EQ(QRect(32, 304, 169, 17), s.chkSkip->geometry());
    EXPECT_EQ(QRect(32, 244, 169, 22), s.ColorBox1->geometry());
    EXPECT_EQ(QStringLiteral("Skip empty entries"), s.chkSkip->Caption());
    EXPECT_EQ(QStringLiteral("Enter Password"), s.RbPanel8->Caption());
    EXPECT_EQ(6, s.SpinEdit1->minimum());
    EXPECT_EQ(200, s.SpinEdit1->maximum());
    EXPECT_FALSE(s.FontComboBox1->isEditable());
}

}  // namespace
}  // namespace quillmere
