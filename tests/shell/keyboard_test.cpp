// The main window without the mouse: keys for the day commands, the search and
// printing, their hints, and Tab through the window.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_panel.h"
#include "editor/format/find_dialog.h"
#include "editor/format/format_commands.h"
#include "editor/print/entry_print.h"
#include "editor/rich_editor.h"
#include "export/progress_window.h"
#include "search/db_search_form.h"
#include "shell/about_box.h"
#include "shell/calendar_window.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/day.h"
#include "store/day_caption.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

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
        {main().Commands->btnFind, "Find Text... (Ctrl+F)"},
        {main().Commands->btnRedo, "Redo (Ctrl+Y)"},
        {main().btnAbout, "About Quillmere (F1)"},
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
    for (int i = 0; i < 10; ++i) {
        // The entry keeps Tab for its text; Ctrl+Tab leaves it.
        const bool inEntry = QApplication::focusWidget() == main().Editor;
        press(Qt::Key_Tab, inEntry ? Qt::ControlModifier : Qt::NoModifier);
        visited.push_back(QApplication::focusWidget()->objectName());
    }
    const std::vector<QString> expected{"btnHeaderFont", "Editor",    "btnPrevious",  "btnToday",
                                        "btnNext",       "btnExport", "btnCalendar",  "btnSettings",
                                        "btnOnThisDay",  "btnExit",   "btnAbout"};
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

// --- The tool bar from the keyboard -----------------------------------------

// F10 puts the focus on the tool bar; the arrows walk its enabled buttons.
TEST_F(KeyboardTest, F10AndTheArrowsWalkTheToolBar) {
    startOn(march(10), false);
    press(Qt::Key_F10, Qt::NoModifier);
    auto* first = qobject_cast<QToolButton*>(QApplication::focusWidget());
    ASSERT_NE(nullptr, first) << "F10 reaches the tool bar";
    EXPECT_EQ(main().ToolBar1, first->parentWidget());
    std::vector<QToolButton*> visited{first};
    for (int i = 0; i < 40; ++i) {
        press(Qt::Key_Right, Qt::NoModifier);
        auto* now = qobject_cast<QToolButton*>(QApplication::focusWidget());
        ASSERT_NE(nullptr, now);
        if (now == first) {
            break;  // wrapped round
        }
        EXPECT_TRUE(now->isEnabled()) << now->objectName().toStdString();
        EXPECT_GT(now->x(), visited.back()->x()) << "left to right";
        visited.push_back(now);
    }
    int enabled = 0;
    for (QToolButton* b : main().ToolBar1->findChildren<QToolButton*>()) {
        enabled += b->isEnabled() && b->objectName() != QLatin1String("qt_toolbar_ext_button");
    }
    EXPECT_EQ(static_cast<size_t>(enabled), visited.size()) << "every enabled button once";
    press(Qt::Key_Left, Qt::NoModifier);
    EXPECT_EQ(visited.back(), QApplication::focusWidget()) << "Left wraps to the last";
    press(Qt::Key_Home, Qt::NoModifier);
    EXPECT_EQ(first, QApplication::focusWidget());
    press(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(main().Editor, QApplication::focusWidget()) << "Escape returns to the entry";
    EXPECT_EQ(QStringLiteral("tenth"), main().Editor->toPlainText()) << "no key was typed";
}

struct RunKeyCase {
    const char* label;
    Qt::Key key;
};

class ToolBarRunKeyTest : public KeyboardTest, public ::testing::WithParamInterface<RunKeyCase> {};

// Enter or Space on Bold makes the selection bold and hands the focus back to
// the entry; F10 then comes back to the button used last.
TEST_P(ToolBarRunKeyTest, RunsTheFocusedCommandAndReturnsToTheEntry) {
    startOn(march(10), false);
    main().Editor->selectAll();
    press(Qt::Key_F10, Qt::NoModifier);
    for (int i = 0; i < 40 && QApplication::focusWidget() != commands().btnBold; ++i) {
        press(Qt::Key_Right, Qt::NoModifier);
    }
    ASSERT_EQ(commands().btnBold, QApplication::focusWidget());
    press(GetParam().key, Qt::NoModifier);
    EXPECT_TRUE(commands().btnBold->isChecked()) << GetParam().label;
    EXPECT_EQ(QFont::Bold, main().Editor->textCursor().charFormat().fontWeight())
        << GetParam().label;
    EXPECT_EQ(main().Editor, QApplication::focusWidget()) << GetParam().label;
    EXPECT_EQ(QStringLiteral("tenth"), main().Editor->toPlainText()) << GetParam().label;
    press(Qt::Key_F10, Qt::NoModifier);
    EXPECT_EQ(commands().btnBold, QApplication::focusWidget()) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(Keys, ToolBarRunKeyTest,
                         ::testing::Values(RunKeyCase{"nominal: Enter", Qt::Key_Return},
                                           RunKeyCase{"nominal: Space", Qt::Key_Space}));

TEST_F(KeyboardTest, CtrlFOpensFindWithTheSelection) {
    startOn(march(10), false);
    main().Editor->selectAll();
    press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_NE(nullptr, commands().findDialog());
    EXPECT_TRUE(commands().findDialog()->isVisible());
    EXPECT_EQ(QStringLiteral("tenth"), commands().findDialog()->findText());
    commands().findDialog()->hide();
}

TEST_F(KeyboardTest, CtrlYRedoesWhatCtrlZUndid) {
    startOn(march(5), false);
    typeIntoEditor(QStringLiteral("abc"));
    press(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_NE(QStringLiteral("abc"), main().Editor->toPlainText());
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(QStringLiteral("abc"), main().Editor->toPlainText());
}

TEST_F(KeyboardTest, ShiftF10OpensTheContextMenuAtTheCaret) {
    startOn(march(10), false);
    press(Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = commands().PopupMenu1;
    ASSERT_TRUE(menu->isVisible());
    const QRect caret(main().Editor->viewport()->mapToGlobal(main().Editor->cursorRect().topLeft()),
                      main().Editor->cursorRect().size());
    EXPECT_LE(std::abs(menu->pos().y() - caret.bottom()), caret.height())
        << "the menu opens at the caret";
    EXPECT_LE(std::abs(menu->pos().x() - caret.left()), caret.height());
    menu->hide();
    EXPECT_EQ(QStringLiteral("tenth"), main().Editor->toPlainText());
}

TEST_F(KeyboardTest, F1OpensTheAboutBox) {
    startOn(march(10), false);
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget())) {
            shown = box->title->text();
            box->reject();
        }
    });
    press(Qt::Key_F1, Qt::NoModifier);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Quillmere "))) << shown.toStdString();
}

// Every library the program is built on is named with the version it runs
// with; an empty version means the name was listed without asking the library.
TEST(AboutBoxLibraries, EachIsNamedWithItsVersion) {
    const QStringList libraries = AboutBox::libraries();
    for (const char* name : {"Qt ", "zlib ", "libdeflate ", "libjpeg", "libsodium ", "Enchant "}) {
        const auto listed = std::find_if(libraries.begin(), libraries.end(), [&](const QString& l) {
            return l.startsWith(QLatin1String(name));
        });
        ASSERT_NE(listed, libraries.end()) << name;
        EXPECT_TRUE(listed->contains(QRegularExpression(QStringLiteral("\\d"))))
            << listed->toStdString();
    }
}

}  // namespace
}  // namespace quillmere
