// What a screen reader finds in the program's windows: every bottom-bar
// button and the "Skip empty entries" check box with its name and role, the
// date header with the day, and the press and toggle actions working.
#include "shell_fixture.h"

#include "controls/rb_accessible.h"
#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"
#include "editor/format/find_dialog.h"
#include "editor/format/format_commands.h"
#include "editor/pickers/char_map_window.h"
#include "editor/pickers/emoticons_window.h"
#include "editor/rich_editor.h"
#include "export/progress_window.h"
#include "search/date_field.h"
#include "search/db_search_form.h"
#include "shell/about_box.h"
#include "shell/calendar_window.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/day_caption.h"
#include "store/journal_session.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <map>

namespace quillmere {
namespace {

struct Node {
    QAccessible::Role role;
    QAccessibleInterface* iface;
};

// Every node of the accessibility tree below `root`, by name (the first of
// each name), walked through the interfaces as an assistive tool does.
std::multimap<QString, Node> accessibleTree(QWidget* root) {
    std::multimap<QString, Node> nodes;
    std::vector<QAccessibleInterface*> pending{QAccessible::queryAccessibleInterface(root)};
    while (!pending.empty()) {
        QAccessibleInterface* node = pending.back();
        pending.pop_back();
        if (node == nullptr) {
            continue;
        }
        nodes.emplace(node->text(QAccessible::Name), Node{node->role(), node});
        for (int i = 0; i < node->childCount(); ++i) {
            pending.push_back(node->child(i));
        }
    }
    return nodes;
}

class AccessibilityTest : public ShellTest {};

TEST_F(AccessibilityTest, MainWindowNamesEveryBottomBarButtonAsAButton) {
    start();
    const auto tree = accessibleTree(&main());
    const std::pair<const char*, QWidget*> buttons[] = {
        {"Previous", main().btnPrevious},
        {"Today", main().btnToday},
        {"Next", main().btnNext},
        {"Export", main().btnExport},
        {"Calendar", main().btnCalendar},
        {"Settings...", main().btnSettings},
        {"Exit", main().btnExit},
        {"Change Header Font..", main().btnHeaderFont},
        {"On This Day", main().btnOnThisDay},
    };
    for (const auto& [name, widget] : buttons) {
        const auto found = tree.equal_range(QString::fromLatin1(name));
        ASSERT_EQ(1, std::distance(found.first, found.second)) << name;
        EXPECT_EQ(QAccessible::Button, found.first->second.role) << name;
        EXPECT_EQ(widget, found.first->second.iface->object()) << name;
        EXPECT_TRUE(found.first->second.iface->state().focusable) << name;
    }
    // The date header is a group named by the day it shows.
    const auto header = tree.find(DayCaption(QDate(2024, 3, 20)));
    ASSERT_NE(tree.end(), header);
    EXPECT_EQ(QAccessible::Grouping, header->second.role);
    EXPECT_EQ(main().RbPanel1, header->second.iface->object());
}

// The tool bar's buttons show only pictures; each still has a name to read.
TEST_F(AccessibilityTest, EveryToolBarButtonHasAName) {
    createProgram();
    int buttons = 0;
    for (QToolButton* button : main().ToolBar1->findChildren<QToolButton*>()) {
        if (button->objectName() == QStringLiteral("qt_toolbar_ext_button")) {
            continue;
        }
        ++buttons;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(button);
        EXPECT_FALSE(iface->text(QAccessible::Name).isEmpty())
            << button->objectName().toStdString();
    }
    EXPECT_EQ(25, buttons);
    const std::pair<QToolButton*, const char*> names[] = {
        {main().Commands->ToolButton13, "Print..."},
        {main().Commands->btnDBSearch, "Full Database Text Search..."},
        {main().Commands->btnBold, "Bold"},
        {main().Commands->btnJustify, "Justify"},
    };
    for (const auto& [button, name] : names) {
        EXPECT_EQ(QString::fromLatin1(name),
                  QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name));
    }
}

TEST_F(AccessibilityTest, DescriptionsCarryTheHintsAndKeys) {
    createProgram();
    QAccessibleInterface* next = QAccessible::queryAccessibleInterface(main().btnNext);
    EXPECT_EQ(QStringLiteral("Next (Alt+Right)"), next->text(QAccessible::Description));
    QAccessibleActionInterface* actions = next->actionInterface();
    ASSERT_NE(nullptr, actions);
    EXPECT_EQ(QStringList{QStringLiteral("Alt+Right")},
              actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()));
    QAccessibleInterface* exportButton = QAccessible::queryAccessibleInterface(main().btnExport);
    EXPECT_EQ(QStringLiteral("Export All..."), exportButton->text(QAccessible::Description));
}

TEST_F(AccessibilityTest, PressingNextThroughTheScreenReaderMovesOneDay) {
    start();
    QAccessibleInterface* next = QAccessible::queryAccessibleInterface(main().btnNext);
    ASSERT_NE(nullptr, next->actionInterface());
    EXPECT_EQ(QStringList{QAccessibleActionInterface::pressAction()},
              next->actionInterface()->actionNames());
    next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(QDate(2024, 3, 21), main().currentDate());
    main().setJournalCommandsEnabled(false);
    EXPECT_TRUE(next->state().disabled);
    next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(QDate(2024, 3, 21), main().currentDate()) << "a disabled button is not pressed";
    main().setJournalCommandsEnabled(true);
}

TEST_F(AccessibilityTest, SettingsWindowShowsTheSkipCheckBoxWithItsState) {
    start();
    TfrmSettings* settings = program().settings();
    settings->setSkipEmptyEntries(true);
    const auto tree = accessibleTree(settings);
    const auto found = tree.equal_range(QStringLiteral("Skip empty entries"));
    ASSERT_EQ(1, std::distance(found.first, found.second));
    QAccessibleInterface* box = found.first->second.iface;
    EXPECT_EQ(QAccessible::CheckBox, found.first->second.role);
    EXPECT_EQ(settings->chkSkip, box->object());
    EXPECT_TRUE(box->state().checkable);
    EXPECT_TRUE(box->state().checked);
    ASSERT_NE(nullptr, box->actionInterface());
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(settings->chkSkip->Checked());
    EXPECT_FALSE(box->state().checked);
    EXPECT_FALSE(settings->skipEmptyEntries());
}

// Roles a user acts on: each needs a name that a screen reader can speak.
bool isInteractive(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Button:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::SpinBox:
        case QAccessible::Slider:
        case QAccessible::List:
        case QAccessible::Table:
        case QAccessible::PageTab:
        case QAccessible::Link:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::ToolBar:
            return true;
        default:
            return false;
    }
}

// "objectName (role)" of every interactive control of `window` that is shown
// and has no name, walked through the interfaces as an assistive tool does.
std::vector<std::string> namelessControls(QWidget* window) {
    std::vector<std::string> nameless;
    std::vector<QAccessibleInterface*> pending{QAccessible::queryAccessibleInterface(window)};
    while (!pending.empty()) {
        QAccessibleInterface* node = pending.back();
        pending.pop_back();
        if (node == nullptr || !node->isValid()) {
            continue;
        }
        auto* widget = qobject_cast<QWidget*>(node->object());
        if (widget != nullptr && widget != window && !widget->isVisibleTo(window)) {
            continue;  // never shown in this window (the hidden editor)
        }
        if (widget != nullptr && isInteractive(node->role()) &&
            node->text(QAccessible::Name).trimmed().isEmpty()) {
            nameless.push_back(widget->objectName().toStdString() + " (" +
                               widget->metaObject()->className() + ", role " +
                               std::to_string(node->role()) + ")");
        }
        for (int i = 0; i < node->childCount(); ++i) {
            pending.push_back(node->child(i));
        }
    }
    return nameless;
}

struct WindowCase {
    const char* label;
    std::function<QWidget*(Program&)> window;
};

class EveryWindowTest : public AccessibilityTest,
                        public ::testing::WithParamInterface<WindowCase> {};

TEST_P(EveryWindowTest, NoInteractiveControlIsNameless) {
    start();
    QWidget* window = GetParam().window(program());
    const bool wasShown = window->isVisible();
    if (!wasShown) {
        window->show();  // not modally: the walk needs no answer
    }
    EXPECT_EQ(std::vector<std::string>{}, namelessControls(window)) << GetParam().label;
    if (!wasShown) {
        window->hide();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, EveryWindowTest,
    ::testing::Values(
        WindowCase{"nominal: main window", [](Program& p) -> QWidget* { return p.main(); }},
        WindowCase{"nominal: login", [](Program& p) -> QWidget* { return p.login(); }},
        WindowCase{"nominal: emoticons", [](Program& p) -> QWidget* { return p.emoticons(); }},
        WindowCase{"nominal: character map",
                   [](Program& p) -> QWidget* { return p.characterMap(); }},
        WindowCase{"nominal: calendar", [](Program& p) -> QWidget* { return p.calendar(); }},
        WindowCase{"nominal: settings", [](Program& p) -> QWidget* { return p.settings(); }},
        WindowCase{"nominal: search", [](Program& p) -> QWidget* { return p.search(); }},
        WindowCase{"nominal: export progress", [](Program& p) -> QWidget* { return p.progress(); }},
        WindowCase{"nominal: find",
                   [](Program& p) -> QWidget* {
                       p.main()->Commands->btnFindClick();
                       return p.main()->Commands->findDialog();
                   }},
        WindowCase{"nominal: About box",
                   [](Program& p) -> QWidget* { return new AboutBox(p.main()); }}),
    [](const ::testing::TestParamInfo<WindowCase>& info) { return std::to_string(info.index); });

// The fields are read by their own labels, not by the group around them.
// Qt on Linux names a drop-down list by the value it shows, as AT-SPI
// expects, and tells its label through the "labelled by" relation, which
// Orca speaks before the value: there the label must come by the relation.
TEST_F(AccessibilityTest, FieldsAreNamedByTheirLabels) {
    start();
    struct Field {
        QWidget* widget;
        const char* name;
        bool byRelation;
    };
    const Field fields[] = {
        {program().search()->DateEdit1, "From Date", false},
        {program().search()->DateEdit2, "To Date", false},
        {program().search()->edtText, "Text to search for", false},
        {program().settings()->DBEdit1, "Password", false},
        {program().settings()->FontComboBox1, "Font Name", true},
        {program().settings()->SpinEdit1, "Font Size", false},
        {program().settings()->ColorBox1, "Font Color", true},
        {program().login()->edtPassword, "Password", false},
    };
    for (const Field& f : fields) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(f.widget);
        if (!f.byRelation) {
            EXPECT_EQ(QString::fromLatin1(f.name), iface->text(QAccessible::Name))
                << f.widget->objectName().toStdString();
            continue;
        }
        QStringList labels;
        for (const auto& [other, relation] : iface->relations(QAccessible::Label)) {
            labels << other->text(QAccessible::Name);
        }
        EXPECT_EQ(QStringList{QString::fromLatin1(f.name)}, labels)
            << f.widget->objectName().toStdString();
    }
}

TEST_F(AccessibilityTest, MainWindowIsAFrameAndTheEntryIsNamedAfterItsDay) {
    start();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&main());
    EXPECT_EQ(QAccessible::Window, window->role());
    QAccessibleInterface* entry = QAccessible::queryAccessibleInterface(main().Editor);
    EXPECT_EQ(QStringLiteral("Entry for 20 March 2024"), entry->text(QAccessible::Name));
    click(main().btnNext);
    EXPECT_EQ(QStringLiteral("Entry for 21 March 2024"), entry->text(QAccessible::Name));
}

// What assistive tools were told, recorded through the notice sink.
std::vector<std::pair<QObject*, QAccessible::Event>> notices;
std::vector<QAccessible::State> stateNotices;

void recordNotice(QAccessibleEvent* event) {
    notices.emplace_back(event->object(), event->type());
    if (event->type() == QAccessible::StateChanged) {
        stateNotices.push_back(static_cast<QAccessibleStateChangeEvent*>(event)->changedStates());
    }
}

TEST_F(AccessibilityTest, BusyAndTheDayChangeAreAnnounced) {
    start();
    notices.clear();
    stateNotices.clear();
    const AccessibleNoticeSink previous = SetAccessibleNoticeSink(recordNotice);
    click(main().btnNext);
    main().session().beginBusy();
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&main())->state().busy);
    main().session().endBusy();
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(&main())->state().busy);
    SetAccessibleNoticeSink(previous);
    const auto told = [](QObject* object, QAccessible::Event type) {
        return std::count(notices.begin(), notices.end(), std::make_pair(object, type));
    };
    EXPECT_EQ(1, told(main().Editor, QAccessible::NameChanged));
    EXPECT_EQ(2, told(&main(), QAccessible::StateChanged));
    ASSERT_EQ(2u, stateNotices.size());
    EXPECT_TRUE(stateNotices[0].busy);
}

}  // namespace
}  // namespace quillmere
