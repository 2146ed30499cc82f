// Spell checking in the editor: the underlines follow loaded and typed
// text, the word being typed waits until it is left, switching off takes
// them away, and the underline never reaches the stored entry, the
// clipboard or the printed page.
#include "editor/rtf/rtf.h"
#include "spelling_fixture.h"

#include <QScrollBar>

#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QTextFragment>

#include <memory>

namespace quillmere {
namespace {

class SpellCheckingTest : public SpellingFixture {};

// Three paragraphs with misspelt words, one bold, one in a link's paragraph.
const char kEntry[] =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs22 I recieve teh mail\\par "
    "my \\b diarry\\b0  today\\par see www.exampel.com and teh notes\\par}";

TEST_F(SpellCheckingTest, LoadedTextIsMarkedParagraphByParagraph) {
    editor.loadEntryRtf(kEntry);
    choose(QStringLiteral("en_US"));
    EXPECT_EQ(QStringLiteral("en_US"), checking.language());
    EXPECT_EQ((QStringList{"recieve", "teh", "diarry", "teh"}), marked());
    editor.loadEntryRtf("{\\rtf1\\ansi hello world\\par walkd\\par}");
    settle();
    EXPECT_EQ(QStringList{"walkd"}, marked()) << "another day's entry";
}

TEST_F(SpellCheckingTest, TheWordBeingTypedIsMarkedWhenItIsLeft) {
    choose(QStringLiteral("en_US"));
    editor.setFocus();
    QTest::keyClicks(&editor, QStringLiteral("I recieve teh"));
    settle();
    EXPECT_EQ(QStringList{"recieve"}, marked()) << "the caret is still on \"teh\"";
    QTest::keyClick(&editor, Qt::Key_Space);
    settle();
    EXPECT_EQ((QStringList{"recieve", "teh"}), marked());
    QTest::keyClick(&editor, Qt::Key_Left);
    QTest::keyClick(&editor, Qt::Key_Left);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    settle();
    EXPECT_EQ(QStringList{"recieve"}, marked()) << "\"th\" is being edited";
    QTest::keyClick(&editor, Qt::Key_End);
    settle();
    EXPECT_EQ((QStringList{"recieve", "th"}), marked());
}

TEST_F(SpellCheckingTest, AnEditedParagraphKeepsTheMarksOfItsOtherWords) {
    editor.loadEntryRtf("{\\rtf1\\ansi teh day and recieve\\par}");
    choose(QStringLiteral("en_US"));
    QTextCursor cursor(editor.document());
    cursor.setPosition(0);
    cursor.insertText(QStringLiteral("I "));
    // Drawn at once, before the thread answers: the marks moved with the text.
    EXPECT_EQ((QStringList{"teh", "recieve"}), marked());
    settle();
    EXPECT_EQ((QStringList{"teh", "recieve"}), marked());
}

// One answer of the spelling thread serves every paragraph of the same text.
TEST_F(SpellCheckingTest, ParagraphsOfTheSameTextAreAllMarked) {
    editor.replaceSelection(QStringLiteral("teh day\n").repeated(5) + QStringLiteral("the day"));
    choose(QStringLiteral("en_US"));
    EXPECT_EQ(QStringList(5, QStringLiteral("teh")), marked());
}

TEST_F(SpellCheckingTest, UnderlinesArePaintedUnderTheWordsInViewAfterScrolling) {
    QStringList lines;
    for (int i = 0; i < 300; ++i) {
        lines << QStringLiteral("%1 rain on teh harbour").arg(i);
    }
    editor.replaceSelection(lines.join(QLatin1Char('\n')));
    choose(QStringLiteral("en_US"));
    editor.verticalScrollBar()->setValue(editor.verticalScrollBar()->maximum() / 2);
    // The paragraphs wholly in view, each with its one misspelt word.
    int inView = 0;
    for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next()) {
        const QRect line = editor.cursorRect(QTextCursor(b));
        inView += line.top() >= 0 && line.bottom() + 4 < editor.viewport()->height() ? 1 : 0;
    }
    ASSERT_GT(inView, 5);
    const QStringList painted = drawn();
    EXPECT_GE(painted.size(), inView);
    EXPECT_LE(painted.size(), inView + 2);  // the partly visible ones at the edges
    EXPECT_EQ(QStringList(painted.size(), QStringLiteral("teh")), painted);
}

// A window repaints only what changed, often a band of a few lines of a
// paragraph: the waves of the lines in the band are painted with it.
TEST_F(SpellCheckingTest, ARepaintedBandPaintsTheWavesOfItsLines) {
    QString paragraph;
    for (int i = 0; i < 12; ++i) {
        paragraph += QStringLiteral("rain fell on teh harbour all day long ");
    }
    // Far down the entry, scrolled into view.
    const QString before = QStringLiteral("a quiet day\n").repeated(60);
    editor.replaceSelection(before + paragraph.trimmed());
    choose(QStringLiteral("en_US"));
    editor.verticalScrollBar()->setValue(editor.verticalScrollBar()->maximum());
    const QTextBlock block = editor.document()->lastBlock();
    const QTextLayout* layout = block.layout();
    ASSERT_GE(layout->lineCount(), 4);
    const auto wave = [this](int word, const QRect& band) {
        QTextCursor cursor(editor.document());
        cursor.setPosition(word);
        const QRect start = editor.cursorRect(cursor);
        cursor.setPosition(word + 3);
        const QRect end = editor.cursorRect(cursor);
        const QImage shot = editor.viewport()->grab(band).toImage();
        return redUnder(shot, start.left() + 1, end.left() - 1, start.center().y() - band.top(),
                        start.bottom() + 4 - band.top());
    };
    for (const int row : {1, 2, layout->lineCount() - 1}) {
        const QTextLine line = layout->lineAt(row);
        const int offset = int(paragraph.indexOf(QStringLiteral("teh"), line.textStart()));
        ASSERT_LT(offset, line.textStart() + line.textLength()) << "line " << row;
        const int word = block.position() + offset;
        QTextCursor cursor(editor.document());
        cursor.setPosition(word);
        const QRect caret = editor.cursorRect(cursor);
        const QRect band(0, caret.top(), editor.viewport()->width(), caret.height() + 4);
        EXPECT_TRUE(wave(word, band)) << "line " << row;
    }
}

TEST_F(SpellCheckingTest, OffTakesEveryMarkAway) {
    editor.loadEntryRtf(kEntry);
    choose(QStringLiteral("en_US"));
    ASSERT_FALSE(marked().isEmpty());
    choose(QStringLiteral("Off"));
    EXPECT_EQ(QString(), readyTag);
    EXPECT_EQ(QString(), checking.language());
    EXPECT_TRUE(marked().isEmpty());
}

TEST_F(SpellCheckingTest, NoDictionaryMarksNothingAndDoesNotFail) {
    editor.loadEntryRtf(kEntry);
    choose(QString(), QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(QString(), readyTag);
    EXPECT_EQ(QStringLiteral("No spelling dictionary for Japanese is installed"), readyError);
    EXPECT_TRUE(marked().isEmpty());
    editor.show();
    rightClickAt(3);
    EXPECT_TRUE(checking.menuItems().isEmpty());
    EXPECT_EQ(QStringLiteral("Cut"), menu.actions().value(0)->text());
}

// What leaves the editor, as bytes and pixels.
struct Outputs {
    QByteArray stored;
    QByteArray clipboardRtf;
    QString clipboardText;
    QImage printed;
};

Outputs outputsOf(RichEditor& editor) {
    Outputs out;
    out.stored = editor.saveRtf();
    editor.selectAll();
    class Clipboard : public RichEditor {
    public:
        static QMimeData* copy(const RichEditor& e) {
            return (e.*(&Clipboard::createMimeDataFromSelection))();
        }
    };
    std::unique_ptr<QMimeData> data(Clipboard::copy(editor));
    out.clipboardRtf = data->data(QStringLiteral("text/rtf"));
    out.clipboardText = data->text();
    out.printed = QImage(600, 300, QImage::Format_RGB32);
    out.printed.fill(Qt::white);
    QPainter painter(&out.printed);
    FormatRange range;
    range.render = &painter;
    range.target = &out.printed;
    range.rc = {0, 0, 600 * kTwipsPerInch / 96, 300 * kTwipsPerInch / 96};
    range.rcPage = range.rc;
    editor.formatRange(true, range);
    editor.releaseFormatRange();
    return out;
}

TEST_F(SpellCheckingTest, TheUnderlineNeverLeavesTheEditor) {
    editor.loadEntryRtf(kEntry);
    choose(QStringLiteral("en_US"));
    ASSERT_EQ(4, marked().size());
    RichEditor unchecked;
    unchecked.resize(editor.size());
    unchecked.loadEntryRtf(kEntry);

    const Outputs checked = outputsOf(editor);
    const Outputs plain = outputsOf(unchecked);
    EXPECT_EQ(plain.stored, checked.stored) << "the stored entry";
    EXPECT_EQ(plain.clipboardRtf, checked.clipboardRtf) << "the clipboard's rich text";
    EXPECT_EQ(plain.clipboardText, checked.clipboardText) << "the clipboard's text";
    EXPECT_TRUE(plain.printed == checked.printed) << "the printed page";
    EXPECT_FALSE(editor.isModified()) << "drawing marks is no edit";
    EXPECT_FALSE(editor.canUndo());
    for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            EXPECT_NE(QTextCharFormat::SpellCheckUnderline,
                      it.fragment().charFormat().underlineStyle());
        }
    }
}

}  // namespace
}  // namespace quillmere
