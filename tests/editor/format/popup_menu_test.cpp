// PopupMenu1: its items, titled separators and submenu, the shortcuts that act
// in the editor before the editor's own keys, and its showing on a right
// press or the context-menu key.
#include "editor/format/format_commands.h"

#include "controls/menu_style.h"
#include "editor/format/image_list.h"
#include "format_commands_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>

namespace quillmere::testing_commands {
namespace {

struct ExpectedItem {
    const char* name;
    const char* caption;  // a separator's title
    const char* shortcut;
    int image;
    bool separator;
};

// clang-format off
const ExpectedItem kMenu[] = {
    {"Cut1", "Cut", "Ctrl+X", 10, false},
    {"Copy1", "Copy", "Ctrl+C", 11, false},
    {"Paste1", "Paste", "Ctrl+V", 12, false},
    {"N1", "Text Selection", "", -1, true},
    {"SelectAll1", "Select All", "Ctrl+A", -1, false},
    {"N2", "Text Deletion", "", -1, true},
    {"ClearSelection1", "Clear Selection", "Ctrl+D", 19, false},
    {"ClearAll1", "Clear All", "", 19, false},
    {"N3", "Text Formatting", "", -1, true},
    {"Formatting1", "Formatting", "", -1, false},
};
const ExpectedItem kSubmenu[] = {
    {"Bold1", "Bold", "Ctrl+B", 4, false},
    {"Italic1", "Italic", "Ctrl+I", 5, false},
    {"Underline1", "Underline", "Ctrl+U", 6, false},
};
// clang-format on

void expectItems(const QList<QAction*>& actions, const ExpectedItem* expected, size_t count,
                 const ImageList& images) {
    ASSERT_EQ(count, size_t(actions.size()));
    for (size_t i = 0; i < count; ++i) {
        const ExpectedItem& e = expected[i];
        const QAction* a = actions[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.name, a->objectName().toStdString());
        EXPECT_EQ(e.separator, a->isSeparator());
        EXPECT_EQ(e.caption, a->text().toStdString());
        EXPECT_TRUE(a->isEnabled());
        if (e.separator) {
            EXPECT_EQ(e.caption, a->statusTip().toStdString());  // the title is the hint
            continue;
        }
        EXPECT_EQ(e.shortcut, a->shortcut().toString(QKeySequence::PortableText).toStdString());
        EXPECT_FALSE(a->statusTip().isEmpty());  // every item has its second line
        if (e.image < 0) {
            EXPECT_TRUE(a->icon().isNull());
        } else {
            EXPECT_TRUE(samePicture(images.image(e.image), pictureOf(a->icon())));
        }
    }
}

class PopupMenuTest : public CommandsFixture {
protected:
    void TearDown() override {
        commands_->PopupMenu1->hide();
        CommandsFixture::TearDown();
    }
};

TEST_F(PopupMenuTest, ItemsSeparatorsAndSubmenuAreThoseOfTheDesign) {
    QMenu* menu = commands_->PopupMenu1;
    expectItems(menu->actions(), kMenu, std::size(kMenu), *commands_->ImageList1);
    ASSERT_NE(nullptr, commands_->Formatting1->menu());
    expectItems(commands_->Formatting1->menu()->actions(), kSubmenu, std::size(kSubmenu),
                *commands_->ImageList1);
    EXPECT_TRUE(commands_->Bold1->isCheckable());
    EXPECT_EQ(MenuLook::instance(), menu->style());
    EXPECT_EQ(MenuLook::instance(), commands_->Formatting1->menu()->style());
}

TEST_F(PopupMenuTest, RightPressShowsTheMenuAtTheMouseCursorWithoutBlocking) {
    showWindow();
    setText("some text");
    commands_->ImageList1->setBackgroundColor(QColor(Qt::white));
    const QPoint inEditor = editor_->viewport()->rect().center();
    QCursor::setPos(editor_->viewport()->mapToGlobal(inEditor));
    QTest::mousePress(editor_->viewport(), Qt::RightButton, {}, inEditor);
    // Reaching this line means the press handler returned with the menu open.
    QMenu* menu = commands_->PopupMenu1;
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(QCursor::pos(), menu->pos());
    EXPECT_FALSE(commands_->ImageList1->backgroundColor().has_value());
    // The open menu works from the keyboard: Escape closes it.
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(PopupMenuTest, OtherButtonsShowNoMenu) {
    showWindow();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
        QTest::mouseClick(editor_->viewport(), button, {}, QPoint(5, 5));
        EXPECT_FALSE(commands_->PopupMenu1->isVisible());
    }
}

TEST_F(PopupMenuTest, ContextMenuKeyShowsTheMenu) {
    showWindow();
    const QPoint at = editor_->mapToGlobal(QPoint(20, 20));
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(20, 20), at);
    QApplication::sendEvent(editor_, &event);
    EXPECT_TRUE(commands_->PopupMenu1->isVisible());
    // The editor puts a keyboard menu at its caret.
    const QPoint caret = editor_->viewport()->mapToGlobal(editor_->cursorRect().center());
    EXPECT_EQ(caret, commands_->PopupMenu1->pos());
}

TEST_F(PopupMenuTest, TriggeringAnItemFromTheOpenMenuRunsItsCommand) {
    showWindow();
    setText("select me");
    commands_->showPopupMenu(editor_->mapToGlobal(QPoint(10, 10)));
    QMenu* menu = commands_->PopupMenu1;
    ASSERT_TRUE(menu->isVisible());
    menu->setActiveAction(commands_->SelectAll1);
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(9, editor_->selectionLength());
}

// --- Shortcuts in the editor --------------------------------------------------

struct ShortcutCase {
    const char* label;
    Qt::Key key;
    const char* text;  // before
    int selStart, selLength;
    const char* textAfter;  // after the key
    int lengthAfter;        // selection length after the key
    const char* clipboard;  // after the key
};

class ShortcutTest : public PopupMenuTest, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(ShortcutTest, KeyRunsTheMenuCommandInsteadOfTheEditorsOwn) {
    const ShortcutCase& c = GetParam();
    showWindow();
    setText(QString::fromLatin1(c.text));
    QApplication::clipboard()->setText("clip");
    editor_->setSelection(c.selStart, c.selLength);
    int triggered = 0;
    for (QAction* a : {commands_->Cut1, commands_->Copy1, commands_->Paste1, commands_->SelectAll1,
                       commands_->ClearSelection1}) {
        QObject::connect(a, &QAction::triggered, a, [&triggered] { ++triggered; });
    }
    QTest::keyClick(editor_, c.key, Qt::ControlModifier);
    EXPECT_EQ(1, triggered);
    EXPECT_EQ(c.textAfter, editor_->toPlainText().toStdString());
    EXPECT_EQ(c.lengthAfter, editor_->selectionLength());
    EXPECT_EQ(c.clipboard, QApplication::clipboard()->text().toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ShortcutTest,
    ::testing::Values(ShortcutCase{"cut", Qt::Key_X, "abcdef", 1, 2, "adef", 0, "bc"},
                      ShortcutCase{"cut_nothing", Qt::Key_X, "abcdef", 3, 0, "abcdef", 0, "clip"},
                      ShortcutCase{"copy", Qt::Key_C, "abcdef", 0, 3, "abcdef", 3, "abc"},
                      ShortcutCase{"paste", Qt::Key_V, "abcdef", 1, 4, "aclipf", 0, "clip"},
                      ShortcutCase{"select_all", Qt::Key_A, "abcdef", 2, 0, "abcdef", 6, "clip"},
                      ShortcutCase{"clear_selection", Qt::Key_D, "abcdef", 0, 2, "cdef", 0,
                                   "clip"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(PopupMenuTest, StyleShortcutsTogglePerKey) {
    showWindow();
    setText("styled");
    editor_->setSelection(0, 6);
    QTest::keyClick(editor_, Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(editor_, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ((CharStyles{false, true, true, false}), editor_->selectionStyles());
    EXPECT_TRUE(commands_->btnItalic->isChecked());
    EXPECT_TRUE(commands_->btnUnderline->isChecked());
    EXPECT_FALSE(commands_->btnBold->isChecked());
}

TEST_F(PopupMenuTest, OtherKeysStillReachTheEditor) {
    showWindow();
    setText("");
    QTest::keyClick(editor_, Qt::Key_Q);
    QTest::keyClick(editor_, Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ("q", editor_->toPlainText().toStdString());
}

}  // namespace
}  // namespace quillmere::testing_commands
