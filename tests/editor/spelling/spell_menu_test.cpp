// The spelling items of the context menu: where they stand, a suggestion
// replacing the word as one undo step that keeps its formatting, "Add to
// Dictionary" and "Ignore All", and the keys that open the menu at the caret.
#include "spelling_fixture.h"

#include <QInputMethodEvent>
#include <QTextCharFormat>

namespace quillmere {
namespace {

class SpellMenuTest : public SpellingFixture {
protected:
    void SetUp() override { editor.show(); }
    // Formats the characters [start, start + length) with `format`.
    void format(int start, int length, const QTextCharFormat& format) {
        QTextCursor cursor(editor.document());
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    bool boldAt(int position) const {
        QTextCursor cursor(editor.document());
        cursor.setPosition(position + 1);
        return cursor.charFormat().fontWeight() >= QFont::Bold;
    }
    bool italicAt(int position) const {
        QTextCursor cursor(editor.document());
        cursor.setPosition(position + 1);
        return cursor.charFormat().fontItalic();
    }
    QString text() const { return editor.toPlainText(); }
};

QTextCharFormat bold() {
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    return f;
}

QTextCharFormat italic() {
    QTextCharFormat f;
    f.setFontItalic(true);
    return f;
}

TEST_F(SpellMenuTest, SuggestionsComeFirstThenTheWordsCommandsThenTheMenu) {
    editor.replaceSelection(QStringLiteral("I recieve mail"));
    choose(QStringLiteral("en_US"));
    rightClickAt(4);
    ASSERT_TRUE(menu.isVisible());
    const QStringList items = itemTexts();
    ASSERT_GE(items.size(), 4);
    EXPECT_LE(items.size(), SpellChecking::kMaxSuggestions + 3);
    EXPECT_TRUE(items.contains(QStringLiteral("receive")));
    EXPECT_EQ((QStringList{"Add to Dictionary", "Ignore All", "-"}), items.mid(items.size() - 3));
    const QList<QAction*> all = menu.actions();
    EXPECT_EQ(checking.menuItems(), all.mid(0, items.size()));
    EXPECT_EQ(QStringLiteral("Cut"), all.value(items.size())->text()) << "the menu unchanged";
    EXPECT_EQ(items.size() + 2, all.size());
}

TEST_F(SpellMenuTest, OverAWordSpeltRightTheMenuIsUnchanged) {
    editor.replaceSelection(QStringLiteral("I recieve mail"));
    choose(QStringLiteral("en_US"));
    rightClickAt(11);
    ASSERT_TRUE(menu.isVisible());
    EXPECT_TRUE(checking.menuItems().isEmpty());
    EXPECT_EQ(2, menu.actions().size());
}

TEST_F(SpellMenuTest, AnEntryThatCannotBeChangedOffersNoCorrections) {
    editor.replaceSelection(QStringLiteral("I recieve mail"));
    editor.setReadOnly(true);
    choose(QStringLiteral("en_US"));
    EXPECT_EQ(QStringList{"recieve"}, marked());
    rightClickAt(4);
    ASSERT_TRUE(menu.isVisible());
    EXPECT_TRUE(checking.menuItems().isEmpty());
}

struct ReplaceCase {
    const char* label;
    const char* text;
    int wordStart;
    const char* pick;
    const char* replaced;
    // Formatting put on before: bold [boldFrom, boldTo), italic [italicFrom, italicTo).
    int boldFrom, boldTo, italicFrom, italicTo;
};

class SuggestionTest : public SpellMenuTest, public ::testing::WithParamInterface<ReplaceCase> {
protected:
    void SetUp() override { SpellMenuTest::SetUp(); }
};

TEST_P(SuggestionTest, ReplacesTheWordInOneUndoStepKeepingItsFormat) {
    const ReplaceCase& c = GetParam();
    const QString original = QString::fromUtf8(c.text);
    editor.replaceSelection(original);
    format(c.boldFrom, c.boldTo - c.boldFrom, bold());
    format(c.italicFrom, c.italicTo - c.italicFrom, italic());
    editor.document()->clearUndoRedoStacks();
    editor.setModified(false);
    choose(QStringLiteral("en_US"));
    rightClickAt(c.wordStart + 1);
    QAction* pick = item(QString::fromUtf8(c.pick));
    ASSERT_NE(nullptr, pick) << c.label << ": " << itemTexts().join(u',').toStdString();
    pick->trigger();

    const QString replaced = QString::fromUtf8(c.replaced);
    EXPECT_EQ(replaced, text()) << c.label;
    EXPECT_TRUE(editor.isModified()) << c.label;
    const int shift = int(replaced.size() - original.size());
    for (int i = 0; i < replaced.size(); ++i) {
        // Characters after the word moved by the change of its length.
        const int before = i >= c.wordStart + int(QString::fromUtf8(c.pick).size()) ? i - shift : i;
        const bool wasBold = before >= c.boldFrom && before < c.boldTo;
        const bool wasItalic = before >= c.italicFrom && before < c.italicTo;
        EXPECT_EQ(wasBold, boldAt(i)) << c.label << " bold at " << i;
        EXPECT_EQ(wasItalic, italicAt(i)) << c.label << " italic at " << i;
    }
    editor.undo();
    EXPECT_EQ(original, text()) << c.label << ": one undo brings the word back";
    EXPECT_FALSE(editor.canUndo()) << c.label << ": and it was the only step";
    EXPECT_EQ(c.boldFrom < c.boldTo, boldAt(c.boldFrom)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Words, SuggestionTest,
    ::testing::Values(ReplaceCase{"nominal: plain word", "I recieve mail", 2, "receive",
                                  "I receive mail", 0, 0, 0, 0},
                      ReplaceCase{"nominal: a bold word stays bold", "I recieve mail", 2, "receive",
                                  "I receive mail", 2, 9, 0, 0},
                      ReplaceCase{"nominal: a word bold and italic in parts keeps each part",
                                  "I recieve mail", 2, "receive", "I receive mail", 2, 5, 5, 9},
                      ReplaceCase{"nominal: a longer word in a bold sentence", "my diry today", 3,
                                  "diary", "my diary today", 0, 13, 0, 0},
                      ReplaceCase{"nominal: a curly apostrophe stays curly", "I donn\u2019t see", 2,
                                  "don\u2019t", "I don\u2019t see", 0, 0, 0, 0}));

TEST_F(SpellMenuTest, AddToDictionaryAndIgnoreAllUnmarkTheWordEverywhere) {
    editor.replaceSelection(QStringLiteral("teh zorblax\nzorblax quux teh"));
    choose(QStringLiteral("en_US"));
    ASSERT_EQ((QStringList{"teh", "zorblax", "zorblax", "quux", "teh"}), marked());
    rightClickAt(5);
    ASSERT_NE(nullptr, item(QStringLiteral("Ignore All")));
    item(QStringLiteral("Ignore All"))->trigger();
    settle();
    EXPECT_EQ((QStringList{"teh", "quux", "teh"}), marked());

    menu.hide();
    rightClickAt(21);
    ASSERT_NE(nullptr, item(QStringLiteral("Add to Dictionary")));
    item(QStringLiteral("Add to Dictionary"))->trigger();
    settle();
    EXPECT_EQ((QStringList{"teh", "teh"}), marked());
    EXPECT_EQ(QStringLiteral("teh zorblax\nzorblax quux teh"), text()) << "the text is untouched";
}

TEST_F(SpellMenuTest, AWordAddedInOneLanguageIsDrawnMarkedInAnother) {
    editor.replaceSelection(QStringLiteral("mein freind"));
    choose(QStringLiteral("en_US"));
    ASSERT_EQ((QStringList{"mein", "freind"}), drawn());
    rightClickAt(6);
    ASSERT_NE(nullptr, item(QStringLiteral("Add to Dictionary")));
    item(QStringLiteral("Add to Dictionary"))->trigger();
    settle();
    ASSERT_EQ(QStringList{"mein"}, drawn());
    menu.hide();

    choose(QStringLiteral("de_DE"));
    EXPECT_EQ(QStringList{"freind"}, marked());
    EXPECT_EQ(QStringList{"freind"}, drawn()) << "the German dictionary does not know it";
    editor.setSelection(int(editor.toPlainText().size()), 0);
    QTest::keyClicks(&editor, QStringLiteral(" ist"));
    settle();
    EXPECT_EQ(QStringList{"freind"}, drawn()) << "typing in the paragraph";
    QInputMethodEvent typed(QString(), {});
    typed.setCommitString(QStringLiteral(" mit"));
    QCoreApplication::sendEvent(&editor, &typed);
    settle();
    EXPECT_EQ(QStringList{"freind"}, drawn()) << "typing through an input method";
}

struct KeyCase {
    const char* label;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

class MenuKeyTest : public SpellMenuTest, public ::testing::WithParamInterface<KeyCase> {
protected:
    void SetUp() override { SpellMenuTest::SetUp(); }
};

TEST_P(MenuKeyTest, OpensTheMenuAtTheCaretWithTheWordsItems) {
    const KeyCase& c = GetParam();
    editor.replaceSelection(QStringLiteral("I recieve mail"));
    choose(QStringLiteral("en_US"));
    editor.setSelection(5, 0);
    QTest::keyClick(&editor, c.key, c.modifiers);
    ASSERT_TRUE(menu.isVisible()) << c.label;
    EXPECT_TRUE(itemTexts().contains(QStringLiteral("receive"))) << c.label;
    const QPoint caret = editor.viewport()->mapToGlobal(editor.cursorRect().center());
    EXPECT_LE((menu.pos() - caret).manhattanLength(), 2) << c.label;
    EXPECT_EQ(QStringLiteral("I recieve mail"), text()) << c.label << ": the key typed nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MenuKeyTest,
    ::testing::Values(KeyCase{"nominal: Shift+F10", Qt::Key_F10, Qt::ShiftModifier},
                      KeyCase{"nominal: the Menu key", Qt::Key_Menu, Qt::NoModifier}));

}  // namespace
}  // namespace quillmere
