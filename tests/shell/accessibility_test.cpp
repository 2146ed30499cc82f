// What a screen reader finds in the program's windows: every bottom-bar
// button and the "Skip empty entries" check box with its name and role, the
// date header with the day, and the press and toggle actions working.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"
#include "editor/format/format_commands.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/day_caption.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QToolBar>
#include <QToolButton>

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
        {"Previous", main().btnPrevious}, {"Today", main().btnToday},
        {"Next", main().btnNext},         {"Export", main().btnExport},
        {"Calendar", main().btnCalendar}, {"Settings...", main().btnSettings},
        {"Exit", main().btnExit},         {"Change Header Font..", main().btnHeaderFont},
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

}  // namespace
}  // namespace quillmere
