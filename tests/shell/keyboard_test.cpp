// The main window without the mouse: keys for the day commands, the search and
// printing, their hints, and Tab through the window.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_panel.h"
#include "editor/format/format_commands.h"
#include "editor/print/entry_print.h"
#include "editor/rich_editor.h"
#include "export/progress_window.h"
#include "search/db_search_form.h"
#include "shell/calendar_window.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/day.h"
#include "store/day_caption.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace quillmere {
namespace {

QDate march(int day) {
    return QDate(2024, 3, day);
}

class KeyboardTest : public ShellTest {
protected:
    // Entries on 1 and 10 March; today is 20 March.
    void startOn(const QDate& day, bool skip) {
        writeJournal({{march(1), QStringLiteral("first")}, {march(10), QStringLiteral("tenth")}});
        start(march(20));
        program().settings()->setSkipEmptyEntries(skip);
        main().ShowDay(dayFromDate(day));
        main().Editor->setFocus();
    }
    // The key as the user presses it, with the focus in the entry.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    FormatCommands& commands() { return *main().Commands; }
};

struct DayKeyCase {
    const char* label;
    QDate from;
    bool skip;
    Qt::Key key;
    QDate to;
};

class DayKeyTest : public KeyboardTest, public ::testing::WithParamInterface<DayKeyCase> {};

TEST_P(DayKeyTest, MovesAsItsButtonDoes) {
    const DayKeyCase& c = GetParam();
    startOn(c.from, c.skip);
    press(c.key, Qt::AltModifier);
    EXPECT_EQ(c.to, main().currentDate()) << c.label;
    EXPECT_EQ(DayCaption(c.to), main().RbPanel1->Caption()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DayKeyTest,
    ::testing::Values(
        DayKeyCase{"nominal: Alt+Right moves one day", march(1), false, Qt::Key_Right, march(2)},
        DayKeyCase{"nominal: Alt+Right skips to the next entry", march(1), true, Qt::Key_Right,
                   march(10)},
        DayKeyCase{"nominal: Alt+Left moves one day", march(10), false, Qt::Key_Left, march(9)},
        DayKeyCase{"nominal: Alt+Left skips to the previous entry", march(10), true, Qt::Key_Left,
                   march(1)},
        DayKeyCase{"nominal: Alt+Right without a later entry moves one day", march(10), true,
                   Qt::Key_Right, march(11)},
        DayKeyCase{"nominal: Alt+Home goes to today", march(1), false, Qt::Key_Home, march(20)}));

TEST_F(KeyboardTest, AltRightStoresTheEditedEntryFirst) {
    startOn(march(5), false);
    typeIntoEditor(QStringLiteral("typed on the fifth"));
    press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(march(6), main().currentDate());
    EXPECT_FALSE(main().Editor->toPlainText().contains(QStringLiteral("fifth")));
    press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(QStringLiteral("typed on the fifth"), main().Editor->toPlainText());
    quit();
    const auto stored = storedEntries();
    ASSERT_EQ(3u, stored.size());
    EXPECT_EQ(march(5), stored[1].first);
    EXPECT_EQ(QStringLiteral("typed on the fifth"), stored[1].second);
}

TEST_F(KeyboardTest, DayKeysRestWhileTheJournalCommandsAreOff) {
    startOn(march(5), false);
    main().setJournalCommandsEnabled(false);
    press(Qt::Key_Right, Qt::AltModifier);
    press(Qt::Key_Left, Qt::AltModifier);
    press(Qt::Key_Home, Qt::AltModifier);
    EXPECT_EQ(march(5), main().currentDate());
    main().setJournalCommandsEnabled(true);
    press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(march(6), main().currentDate());
}

TEST_F(KeyboardTest, CtrlShiftFOpensTheSearchWindow) {
    startOn(march(5), false);
    TfrmDBSearch* search = program().search();
    ASSERT_FALSE(search->isVisible());
    press(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(search->isVisible());
    search->hide();
}

TEST_F(KeyboardTest, CtrlPPressesThePrintButtonOnlyWhenItIsEnabled) {
    startOn(march(5), false);
    QToolButton* print = commands().ToolButton13;
    QSignalSpy clicks(print, &QToolButton::clicked);
    int dialogs = 0;
    main().EntryPrint->setPrintDialog([&](QWidget*, QPrinter&, bool) {
        ++dialogs;
        return PrintDialogResult::Cancelled;
    });
    print->setEnabled(false);
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(0, clicks.count()) << "no printing before it exists";
    print->setEnabled(true);
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(1, clicks.count());
    EXPECT_EQ(1, dialogs) << "the print dialog was asked for";
    EXPECT_TRUE(main().Editor->toPlainText().isEmpty()) << "the key is not typed into the entry";
}

TEST_F(KeyboardTest, HintsNameTheirKeys) {
    createProgram();
    const std::pair<QWidget*, const char*> hints[] = {
        {main().btnPrevious, "Previous (Alt+Left)"},
        {main().btnNext, "Next (Alt+Right)"},
        {main().btnToday, "Today (Alt+Home)"},
        {main().Commands->btnDBSearch, "Full Database Text Search... (Ctrl+Shift+F)"},
        {main().Commands->ToolButton13, "Print... (Ctrl+P)"},
    };
    for (const auto& [widget, hint] : hints) {
        EXPECT_EQ(QString::fromLatin1(hint), widget->toolTip())
            << widget->objectName().toStdString();
    }
}

TEST_F(KeyboardTest, TabRunsThroughTheWindowInVisualOrder) {
    startOn(march(5), false);
    main().btnHeaderFont->setFocus();
    std::vector<QString> visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 9; ++i) {
        // The entry keeps Tab for its text; Ctrl+Tab leaves it.
        const bool inEntry = QApplication::focusWidget() == main().Editor;
        press(Qt::Key_Tab, inEntry ? Qt::ControlModifier : Qt::NoModifier);
        visited.push_back(QApplication::focusWidget()->objectName());
    }
    const std::vector<QString> expected{
        "btnHeaderFont", "Editor",      "btnPrevious", "btnToday", "btnNext",
        "btnExport",     "btnCalendar", "btnSettings", "btnExit",  "btnHeaderFont"};
    EXPECT_EQ(expected, visited);
    EXPECT_TRUE(main().Editor->toPlainText().isEmpty()) << "no tab typed on the way";
}

TEST_F(KeyboardTest, TabInTheEntryTypesATabAndCtrlShiftTabGoesBack) {
    startOn(march(5), false);
    press(Qt::Key_Tab, Qt::NoModifier);
    EXPECT_EQ(main().Editor, QApplication::focusWidget());
    EXPECT_EQ(QStringLiteral("\t"), main().Editor->toPlainText());
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(main().btnHeaderFont, QApplication::focusWidget());
}

// Panels frame the controls and show no focus, so Tab never stops on one in
// any of the program's windows.
TEST_F(KeyboardTest, TabNeverStopsOnAPanel) {
    createProgram();
    Program& p = program();
    const std::pair<const char*, QWidget*> windows[] = {
        {"main", p.main()},         {"login", p.login()},   {"calendar", p.calendar()},
        {"settings", p.settings()}, {"search", p.search()}, {"progress", p.progress()}};
    for (const auto& [name, window] : windows) {
        int focusable = 0;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (qobject_cast<TRbPanel*>(w) != nullptr) {
                EXPECT_FALSE(w->focusPolicy() & Qt::TabFocus)
                    << name << ": " << w->objectName().toStdString();
            } else if (w->focusPolicy() & Qt::TabFocus) {
                ++focusable;
            }
        }
        EXPECT_GT(focusable, 0) << name << " can be reached from the keyboard";
    }
}

}  // namespace
}  // namespace quillmere
