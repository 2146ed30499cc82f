// After a command of the bottom bar, typing goes into the entry: the drawn
// buttons take the keyboard focus when pressed, and the command gives it
// back, also when the day it moved to has no entry to load and after the
// calendar, settings and export windows have closed.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/rich_editor.h"
#include "export/exporter.h"
#include "shell/calendar_window.h"
#include "shell/main_hosts.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace quillmere {
namespace {

class FocusTest : public ShellTest {
protected:
    // An empty journal: every day loads nothing.
    void startActive() {
        start();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    }
    // Types as the user does: into whatever has the keyboard focus.
    static void typeAtFocus(const QString& text) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(nullptr, focus);
        QTest::keyClicks(focus, text);
    }
};

struct DayCommandCase {
    const char* label;
    TRbButton* TfrmMain::*button;
};

void PrintTo(const DayCommandCase& c, std::ostream* os) {
    *os << c.label;
}

class DayCommandFocusTest : public FocusTest,
                            public ::testing::WithParamInterface<DayCommandCase> {};

TEST_P(DayCommandFocusTest, TypedTextLandsInTheEntryAfterTheCommand) {
    startActive();
    const QDate before = main().currentDate();
    click(main().*GetParam().button);
    EXPECT_EQ(main().Editor, QApplication::focusWidget());
    typeAtFocus(QStringLiteral("typed after"));
    EXPECT_EQ(QStringLiteral("typed after"), main().Editor->toPlainText());
    // A Space that reached the button would have pressed it once more.
    typeAtFocus(QStringLiteral(" "));
    const int moved = static_cast<int>(before.daysTo(main().currentDate()));
    EXPECT_LE(std::abs(moved), 1) << "the command ran again";
}

INSTANTIATE_TEST_SUITE_P(Buttons, DayCommandFocusTest,
                         ::testing::Values(DayCommandCase{"Previous", &TfrmMain::btnPrevious},
                                           DayCommandCase{"Today", &TfrmMain::btnToday},
                                           DayCommandCase{"Next", &TfrmMain::btnNext}),
                         [](const ::testing::TestParamInfo<DayCommandCase>& info) {
                             return std::string(info.param.label);
                         });

TEST_F(FocusTest, AfterSettingsAndSaveTypingGoesToTheEntryNotThePassword) {
    startActive();
    TfrmSettings* settings = program().settings();
    whileModal(
        settings, [&] { click(main().btnSettings); }, [&] { click(settings->btnSave); });
    // The window's own focus widget: the one that has the keyboard as soon
    // as the window is active again.
    EXPECT_EQ(main().Editor, main().focusWidget());
    QTest::keyClicks(main().focusWidget(), QStringLiteral("secret words"));
    QTest::keyClick(main().focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(main().Editor->toPlainText().startsWith(QStringLiteral("secret words")));
    EXPECT_FALSE(settings->isVisible());
    EXPECT_TRUE(settings->DBEdit1->text().isEmpty());
}

TEST_F(FocusTest, AfterTheCalendarTypingGoesToTheEntry) {
    startActive();
    TfrmCalendar* calendar = program().calendar();
    whileModal(
        calendar, [&] { click(main().btnCalendar); }, [&] { calendar->reject(); });
    EXPECT_EQ(main().Editor, main().focusWidget());
}

TEST_F(FocusTest, AfterAnExportOrItsCancelledFolderChoiceTypingGoesToTheEntry) {
    startActive();
    program().exportHost()->setFolderChooser([] { return std::optional<QString>(); });
    click(main().btnExport);
    EXPECT_EQ(main().Editor, QApplication::focusWidget()) << "folder choice cancelled";

    testsupport::TempFolder target;
    program().exportHost()->setFolderChooser([&] { return std::optional<QString>(target.path()); });
    bool finished = false;
    QObject::connect(program().exporter(), &TExporter::exportFinished, &main(),
                     [&] { finished = true; });
    click(main().btnExport);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 20000));
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    EXPECT_EQ(main().Editor, QApplication::focusWidget()) << "after the export";
}

}  // namespace
}  // namespace quillmere
