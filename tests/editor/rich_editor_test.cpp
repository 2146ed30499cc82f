// The editor control's document, modified flag, default font, selection and
// undo.
#include "editor/rich_editor.h"

#include "editor/rtf/rtf.h"
#include "test_support.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <functional>
#include <ostream>
#include <utility>

namespace quillmere {
namespace {

QTextCharFormat formatOfCharacter(const RichEditor& editor, int position) {
    QTextCursor cursor(editor.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

// --- Modified flag ----------------------------------------------------------

struct ModifiedCase {
    const char* label;
    std::function<void(RichEditor&)> action;
    bool modified;
};

void PrintTo(const ModifiedCase& c, std::ostream* os) {
    *os << c.label;
}

class ModifiedFlagTest : public ::testing::TestWithParam<ModifiedCase> {};

TEST_P(ModifiedFlagTest, FollowsTheRules) {
    RichEditor editor;
    editor.replaceSelection("some text\nmore");
    editor.setModified(GetParam().modified ? false : true);
    GetParam().action(editor);
    EXPECT_EQ(GetParam().modified, editor.isModified()) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ModifiedFlagTest,
    ::testing::Values(
        ModifiedCase{"typing sets it", [](RichEditor& e) { QTest::keyClicks(&e, "abc"); }, true},
        ModifiedCase{"deleting with the keyboard sets it",
                     [](RichEditor& e) { QTest::keyClick(&e, Qt::Key_Backspace); }, true},
        ModifiedCase{"typing Enter sets it",
                     [](RichEditor& e) { QTest::keyClick(&e, Qt::Key_Return); }, true},
        ModifiedCase{"replacing the selection sets it",
                     [](RichEditor& e) { e.replaceSelection("x"); }, true},
        ModifiedCase{"a format change sets it",
                     [](RichEditor& e) {
                         e.setSelection(0, 4);
                         e.setSelectionStyles({true, false, false, false});
                     },
                     true},
        ModifiedCase{"setting it sets it", [](RichEditor& e) { e.setModified(true); }, true},
        ModifiedCase{"clearing it clears it", [](RichEditor& e) { e.setModified(false); }, false},
        ModifiedCase{"loading RTF clears it",
                     [](RichEditor& e) { e.loadContent(RichEditor().saveRtf()); }, false},
        ModifiedCase{"loading plain text clears it",
                     [](RichEditor& e) { e.loadContent("plain words"); }, false},
        ModifiedCase{"Clear All clears it", [](RichEditor& e) { e.clearAll(); }, false},
        ModifiedCase{"the default font clears it",
                     [](RichEditor& e) { e.applyDefaultFont("Arial", 20, QColor(Qt::red)); },
                     false},
        ModifiedCase{"moving the caret leaves it clear",
                     [](RichEditor& e) {
                         e.setModified(false);
                         QTest::keyClick(&e, Qt::Key_Left);
                         e.setSelection(1, 3);
                     },
                     false}));

TEST(RichEditorTest, ReportsModificationChanges) {
    RichEditor editor;
    QSignalSpy changed(&editor, &RichEditor::modifiedChanged);
    QTest::keyClicks(&editor, "a");
    ASSERT_GE(changed.count(), 1);
    EXPECT_TRUE(changed.last().at(0).toBool());
    editor.setModified(false);
    EXPECT_FALSE(changed.last().at(0).toBool());
}

TEST(RichEditorTest, ReportsTextChangesAlsoAfterALoad) {
    RichEditor editor;
    editor.loadContent("loaded www.link.example text");
    QSignalSpy changed(&editor, &QTextEdit::textChanged);
    QSignalSpy replaced(&editor, &RichEditor::documentReplaced);
    QTest::keyClicks(&editor, "x");
    EXPECT_GE(changed.count(), 1);
    EXPECT_TRUE(editor.canUndo());
    changed.clear();
    editor.loadContent("again");
    EXPECT_GE(changed.count(), 1);  // so the undo button can follow
    EXPECT_EQ(1, replaced.count());
    EXPECT_FALSE(editor.canUndo());
}

// --- Loading ----------------------------------------------------------------

TEST(RichEditorTest, LoadReplacesContentAndDropsTheUndoHistory) {
    RichEditor editor;
    QTest::keyClicks(&editor, "before");
    editor.loadContent("after");
    EXPECT_EQ("after", editor.toPlainText());
    EXPECT_FALSE(editor.canUndo());
    EXPECT_EQ(0, editor.selectionStart());
    EXPECT_EQ(0, editor.selectionLength());
}

TEST(RichEditorTest, FailedLoadKeepsThePreviousContent) {
    RichEditor editor;
    QTest::keyClicks(&editor, "kept");
    EXPECT_THROW_MSG(editor.loadContent(QByteArray("bin\0ary", 7)), rtf::RtfError,
                     "Failed to Load Stream");
    EXPECT_EQ("kept", editor.toPlainText());
    EXPECT_TRUE(editor.isModified());
    EXPECT_TRUE(editor.canUndo());
}

TEST(RichEditorTest, PlainTextModeReadsAndWritesPlainTextInOneFormat) {
    RichEditor editor;
    editor.applyDefaultFont("Courier New", 14, QColor(Qt::blue));
    editor.setPlainTextMode(true);
    editor.loadContent("one\r\ntwo");
    EXPECT_EQ("one\ntwo", editor.toPlainText());
    EXPECT_EQ(QByteArray("one\ntwo"), editor.saveContent());
    EXPECT_FALSE(editor.acceptRichText());

    editor.setSelection(0, 2);
    editor.setSelectionStyles({true, false, false, false});
    for (int position : {0, 2, 5, 6}) {
        EXPECT_EQ(QFont::Bold, formatOfCharacter(editor, position).fontWeight()) << position;
        EXPECT_EQ(QColor(Qt::blue), formatOfCharacter(editor, position).foreground().color());
    }

    editor.loadEntryRtf(RichEditor().saveRtf());
    EXPECT_FALSE(editor.isPlainTextMode());
}

TEST(RichEditorTest, PlainTextModeFallsBackToRtf) {
    RichEditor editor;
    editor.setPlainTextMode(true);
    // Not text (it holds a NUL byte), but readable as rich text.
    editor.loadContent(QByteArray("{\\rtf1\\ansi {\\b rich}}\0", 23));
    EXPECT_EQ("rich", editor.toPlainText());
    EXPECT_THROW_MSG(editor.loadContent(QByteArray("\0\1", 2)), rtf::RtfError,
                     "Failed to Load Stream");
    EXPECT_EQ("rich", editor.toPlainText());
}

// --- Default font -----------------------------------------------------------

TEST(RichEditorTest, StartsWithTheDesignFont) {
    RichEditor editor;
    QTest::keyClicks(&editor, "x");
    const QTextCharFormat typed = formatOfCharacter(editor, 0);
    EXPECT_EQ(QStringList{"Arial"}, typed.fontFamilies().toStringList());
    EXPECT_EQ(11, typed.fontPointSize());
    EXPECT_EQ(QColor(Qt::black), typed.foreground().color());
    EXPECT_EQ(QFont::Normal, typed.fontWeight());
    // 11 points is the design's 15 pixels at 96 dots per inch.
    EXPECT_EQ(15, qRound(11 * 96 / 72.0));
}

TEST(RichEditorTest, DefaultFontIsTakenByTypedText) {
    RichEditor editor;
    editor.applyDefaultFont("Courier New", 14, quint32(0x000000FF));
    EXPECT_FALSE(editor.isModified());
    EXPECT_FALSE(editor.canUndo());
    QTest::keyClicks(&editor, "ab");
    for (int position : {0, 1}) {
        const QTextCharFormat typed = formatOfCharacter(editor, position);
        EXPECT_EQ(QStringList{"Courier New"}, typed.fontFamilies().toStringList());
        EXPECT_EQ(14, typed.fontPointSize());
        EXPECT_EQ(QColor(255, 0, 0), typed.foreground().color());
    }
    editor.setSelection(0, 1);
    EXPECT_EQ("Courier New", editor.selectionFontName());
    EXPECT_EQ(14, editor.selectionFontSize());
}

TEST(RichEditorTest, DefaultFontSurvivesClearAllAndAClickIntoTheText) {
    RichEditor editor;
    editor.applyDefaultFont("Courier New", 16, QColor(Qt::darkGreen));
    editor.clearAll();
    editor.moveCaretToStart();
    QTest::keyClicks(&editor, "z");
    const QTextCharFormat typed = formatOfCharacter(editor, 0);
    EXPECT_EQ(16, typed.fontPointSize());
    EXPECT_EQ(QColor(Qt::darkGreen), typed.foreground().color());
}

TEST(RichEditorTest, DefaultFontSizeOfADamagedRecordIsBroughtIntoRange) {
    for (const auto& [stored, used] :
         {std::pair{0, 1}, {-12, 1}, {6, 6}, {200, 200}, {99999, 1638}}) {
        RichEditor editor;
        editor.applyDefaultFont("Arial", stored, QColor(Qt::black));
        EXPECT_EQ(used, editor.defaultCharFormat().fontPointSize()) << stored;
        EXPECT_EQ(used, editor.selectionFontSize()) << stored;
    }
}

TEST(RichEditorTest, FaceNamesAreCutToThirtyOneCharacters) {
    RichEditor editor;
    editor.replaceSelection("abc");
    editor.setSelection(0, 3);
    const QString longName(40, QLatin1Char('F'));
    editor.setSelectionFontName(longName);
    EXPECT_EQ(QStringList{longName.left(31)},
              formatOfCharacter(editor, 1).fontFamilies().toStringList());
}

// --- Selection --------------------------------------------------------------

TEST(RichEditorTest, SelectionOperations) {
    RichEditor editor;
    editor.replaceSelection("first line\nsecond");
    editor.setSelection(6, 9);
    EXPECT_EQ(6, editor.selectionStart());
    EXPECT_EQ(9, editor.selectionLength());
    EXPECT_EQ("line\nseco", editor.selectedPlainText());

    editor.replaceSelection("X\r\nY");
    EXPECT_EQ("first X\nYnd", editor.toPlainText());
    EXPECT_EQ(9, editor.selectionStart());
    EXPECT_EQ(2, editor.document()->blockCount());
    editor.setSelection(6, 3);
    editor.replaceSelection("X");
    EXPECT_EQ("first Xnd", editor.toPlainText());
    EXPECT_EQ(7, editor.selectionStart());
    EXPECT_EQ(0, editor.selectionLength());

    editor.setSelection(0, 6);
    editor.deleteSelection();
    EXPECT_EQ("Xnd", editor.toPlainText());

    editor.setSelection(-4, 100);
    EXPECT_EQ(0, editor.selectionStart());
    EXPECT_EQ(3, editor.selectionLength());
    editor.selectAll();
    EXPECT_EQ(3, editor.selectionLength());
}

TEST(RichEditorTest, SelectionChangesAreReported) {
    RichEditor editor;
    editor.replaceSelection("abcdef");
    QSignalSpy moved(&editor, &RichEditor::editorSelectionChanged);
    editor.setSelection(1, 0);
    EXPECT_GE(moved.count(), 1);
    moved.clear();
    editor.setSelection(1, 3);
    EXPECT_GE(moved.count(), 1);
}

TEST(RichEditorTest, SelectionStaysVisibleWithoutFocus) {
    RichEditor editor;
    const QPalette look = editor.palette();
    EXPECT_EQ(look.color(QPalette::Active, QPalette::Highlight),
              look.color(QPalette::Inactive, QPalette::Highlight));
    EXPECT_EQ(look.color(QPalette::Active, QPalette::HighlightedText),
              look.color(QPalette::Inactive, QPalette::HighlightedText));
    EXPECT_EQ(QColor(Qt::white), look.color(QPalette::Base));
    EXPECT_EQ(Qt::ScrollBarAlwaysOn, editor.verticalScrollBarPolicy());
}

// --- Undo -------------------------------------------------------------------

TEST(RichEditorTest, UndoesAndRedoesAHundredSteps) {
    constexpr int kSteps = 120;
    RichEditor editor;
    QStringList states{editor.toPlainText()};
    for (int i = 0; i < kSteps; ++i) {
        // Each edit goes to the start, so no two merge into one step.
        editor.setSelection(0, 0);
        editor.replaceSelection(QString::number(i % 10));
        states << editor.toPlainText();
    }
    EXPECT_FALSE(editor.canRedo());
    for (int step = kSteps; step > kSteps - 100; --step) {
        ASSERT_TRUE(editor.canUndo()) << step;
        editor.undo();
        ASSERT_EQ(states[step - 1], editor.toPlainText()) << step;
    }
    EXPECT_TRUE(editor.canUndo());
    for (int step = kSteps - 100; step < kSteps; ++step) {
        ASSERT_TRUE(editor.canRedo()) << step;
        editor.redo();
        ASSERT_EQ(states[step + 1], editor.toPlainText()) << step;
    }
    EXPECT_FALSE(editor.canRedo());
}

TEST(RichEditorTest, UndoRestoresAFormatChange) {
    RichEditor editor;
    editor.replaceSelection("abc");
    editor.setSelection(0, 3);
    editor.setSelectionStyles({false, true, false, false});
    EXPECT_TRUE(formatOfCharacter(editor, 1).fontItalic());
    editor.undo();
    EXPECT_FALSE(formatOfCharacter(editor, 1).fontItalic());
    EXPECT_EQ("abc", editor.toPlainText());
}

// --- Find -------------------------------------------------------------------

TEST(RichEditorTest, FindNextWalksForwardAndBackwardFromTheSelection) {
    RichEditor editor;
    editor.replaceSelection("Note note\nNOTE notes");
    editor.setSelection(0, 0);
    const FindOptions forward{true, false, false};
    EXPECT_EQ((TextRange{0, 4}), editor.findNext("note", forward));
    EXPECT_EQ((TextRange{5, 4}), editor.findNext("note", forward));
    EXPECT_EQ(5, editor.selectionStart());
    EXPECT_EQ(4, editor.selectionLength());
    EXPECT_EQ((TextRange{10, 4}), editor.findNext("note", forward));
    EXPECT_EQ((TextRange{15, 4}), editor.findNext("note", forward));
    EXPECT_FALSE(editor.findNext("note", forward).has_value());
    EXPECT_EQ(15, editor.selectionStart());  // no hit leaves the selection

    const FindOptions backWholeWordCase{false, true, true};
    EXPECT_EQ((TextRange{5, 4}), editor.findNext("note", backWholeWordCase));
    EXPECT_FALSE(editor.findNext("note", backWholeWordCase).has_value());
    EXPECT_EQ(19, editor.findText("s", 0, 20, {true, false, false}));
    EXPECT_EQ(-1, editor.findText("s", 0, 19, {true, false, false}));
}

// --- Paragraphs in view ---------------------------------------------------------

// The halving over the laid-out paragraphs finds what the text edit's hit
// test finds, at the top, in the middle and at the end of a long entry, with
// a table (where it asks the hit test) and with no text.
TEST(RichEditorTest, BlocksInViewAreThoseTheHitTestFinds) {
    RichEditor editor;
    editor.resize(300, 200);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    const auto hitTest = [&editor] {
        const QWidget* view = editor.viewport();
        return std::pair{
            editor.cursorForPosition(QPoint(0, 0)).blockNumber(),
            editor.cursorForPosition(QPoint(view->width() - 1, view->height() - 1)).blockNumber()};
    };
    const auto inView = [&editor] {
        const auto [first, last] = editor.blocksInView();
        return std::pair{first.blockNumber(), last.blockNumber()};
    };
    EXPECT_EQ((std::pair{0, 0}), inView()) << "no text";
    QStringList lines;
    for (int i = 0; i < 400; ++i) {
        lines << QStringLiteral("paragraph %1 of a long day").arg(i);
    }
    editor.replaceSelection(lines.join(QLatin1Char('\n')));
    QScrollBar* bar = editor.verticalScrollBar();
    for (const int at : {0, 1, bar->maximum() / 3, bar->maximum() / 2 + 7, bar->maximum()}) {
        bar->setValue(at);
        EXPECT_EQ(hitTest(), inView()) << "scrolled to " << at;
    }
    QTextCursor end(editor.document());
    end.movePosition(QTextCursor::End);
    end.insertTable(2, 2);
    bar->setValue(bar->maximum());
    EXPECT_EQ(hitTest(), inView()) << "with a table";
}

}  // namespace
}  // namespace quillmere
