// The special-character button of the running program: it opens the
// character map over the main window, and what the map inserts becomes part
// of the entry that is stored.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/format/format_commands.h"
#include "editor/pickers/char_map_window.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace quillmere {
namespace {

class CharMapCommandTest : public ShellTest {
protected:
    TDLLForm& map() const { return *program().characterMap(); }
    QToolButton* button() const { return main().Commands->btnInsertChar; }
    void pickCell(int column, int row) {
        QTableWidget* grid = map().StringGrid1;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(row, column)).center());
    }
};

TEST_F(CharMapCommandTest, ButtonIsEnabledAndOpensTheMapOverTheMainWindow) {
    start();
    ASSERT_TRUE(button()->isEnabled());
    QRect mapFrame;
    whileModal(
        &map(), [&] { QTest::mouseClick(button(), Qt::LeftButton); },
        [&] {
            mapFrame = map().frameGeometry();
            click(map().RbButton1);
        });
    EXPECT_LE(std::abs(main().frameGeometry().center().x() - mapFrame.center().x()), 1);
    EXPECT_LE(std::abs(main().frameGeometry().center().y() - mapFrame.center().y()), 1);
    EXPECT_FALSE(main().Editor->isModified());
}

TEST_F(CharMapCommandTest, InsertedCharacterIsStoredWithTheEntry) {
    start(QDate(2024, 3, 20));
    typeIntoEditor(QStringLiteral("caf"));
    whileModal(
        &map(), [&] { QTest::mouseClick(button(), Qt::LeftButton); },
        [&] {
            pickCell(13, 11);  // 233
            click(map().btnInsert);
        });
    EXPECT_EQ(QStringLiteral("caf\u00E9"), main().Editor->toPlainText());
    EXPECT_TRUE(main().Editor->isModified());
    EXPECT_EQ(main().Editor, main().focusWidget());
    quit();
    const auto entries = storedEntries();
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(QDate(2024, 3, 20), entries[0].first);
    EXPECT_EQ(QStringLiteral("caf\u00E9"), entries[0].second);
}

TEST_F(CharMapCommandTest, ClosingLeavesEntryAndClipboardAlone) {
    start();
    typeIntoEditor(QStringLiteral("text"));
    main().Editor->setSelection(0, 4);
    QApplication::clipboard()->setText(QStringLiteral("on the clipboard"));
    whileModal(
        &map(), [&] { QTest::mouseClick(button(), Qt::LeftButton); },
        [&] {
            pickCell(8, 6);
            QTest::keyClick(map().StringGrid1, Qt::Key_Escape);
        });
    EXPECT_EQ(QStringLiteral("text"), main().Editor->toPlainText());
    EXPECT_EQ(QStringLiteral("on the clipboard"), QApplication::clipboard()->text());
    EXPECT_EQ(4, main().Editor->selectionLength());
}

}  // namespace
}  // namespace quillmere
