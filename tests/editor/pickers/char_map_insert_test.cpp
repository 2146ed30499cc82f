// Inserting from the character map into the editor: which text goes in,
// where, in which format, and what is left alone.
#include "editor/pickers/char_map_insert.h"
#include "controls/rb_button.h"
#include "editor/pickers/char_map.h"
#include "editor/pickers/char_map_window.h"
#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace quillmere {
namespace {

class CharMapInsert : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        window_->setGeometry(60, 60, 900, 600);
        editor_ = new RichEditor(window_.get());
        editor_->setGeometry(0, 0, 900, 600);
        map_ = new TDLLForm(window_.get());
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    void TearDown() override { window_.reset(); }

    // Puts `text` in the editor in `format` (merged over the default one),
    // not modified, caret at the start.
    void setText(const QString& text, const QTextCharFormat& format = {}) {
        editor_->clearAll();
        QTextCursor cursor(editor_->document());
        QTextCharFormat merged = editor_->defaultCharFormat();
        merged.merge(format);
        cursor.insertText(text, merged);
        editor_->setModified(false);
        editor_->moveCaretToStart();
    }

    QTextCharFormat formatAt(int position) const {
        QTextCursor cursor(editor_->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }

    QString text() const { return editor_->toPlainText(); }

    // Runs the command, the window shown by `script` instead of modally.
    bool run(const std::function<void(TDLLForm&)>& script) {
        return InsertFromCharacterMap(*editor_, *map_, [&](TDLLForm& map) {
            map.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&map));
            script(map);
            return map.result();
        });
    }

    void clickCell(TDLLForm& map, int column, int row) {
        QTableWidget* grid = map.StringGrid1;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(row, column)).center());
    }

    std::unique_ptr<QWidget> window_;
    RichEditor* editor_ = nullptr;
    TDLLForm* map_ = nullptr;
};

TEST_F(CharMapInsert, MapOpensWithTheSelectionsFace) {
    QTextCharFormat serif;
    serif.setFontFamilies({QStringLiteral("DejaVu Serif")});
    setText(QStringLiteral("word"), serif);
    editor_->setSelection(1, 2);
    QString shown;
    run([&](TDLLForm& map) {
        shown = map.fontName();
        map.RbButton1->Click();
    });
    EXPECT_EQ(QStringLiteral("DejaVu Serif"), shown);
    EXPECT_EQ(QStringLiteral("DejaVu Serif"), map_->gridFont().family());
}

TEST_F(CharMapInsert, FirstUseWithArialShowsAAndAnEmptyLine) {
    setText(QStringLiteral("Arial text"));
    QString labels;
    QString line = QStringLiteral("not emptied");
    run([&](TDLLForm& map) {
        labels = map.Label2->text() + map.Label4->text();
        line = map.Edit1->text();
        map.RbButton1->Click();
    });
    EXPECT_EQ(QStringLiteral("Arial"), map_->fontName());
    EXPECT_EQ(QStringLiteral("ALT + 065"), labels);
    EXPECT_TRUE(line.isEmpty());
}

TEST_F(CharMapInsert, EuroSignGoesInAtTheCaretAndIsStoredAsItsCodePageByte) {
    setText(QStringLiteral("ab"));
    editor_->setSelection(1, 0);
    ASSERT_TRUE(run([&](TDLLForm& map) {
        clickCell(map, 8, 6);  // 128
        map.btnInsert->Click();
    }));
    EXPECT_EQ(QStringLiteral("a\u20ACb"), text());
    EXPECT_TRUE(editor_->isModified());
    EXPECT_TRUE(editor_->saveRtf().contains("a\\'80b")) << editor_->saveRtf().constData();
}

TEST_F(CharMapInsert, AddThreeTimesAfter233ThenInsertLineInsertsThree) {
    setText(QStringLiteral("caf"));
    editor_->setSelection(3, 0);
    ASSERT_TRUE(run([&](TDLLForm& map) {
        clickCell(map, 13, 11);
        map.btnAdd->Click();
        map.btnAdd->Click();
        map.btnAdd->Click();
        map.btnInsertLine->Click();
    }));
    EXPECT_EQ(QStringLiteral("caf\u00E9\u00E9\u00E9"), text());
}

TEST_F(CharMapInsert, InsertedTextTakesTheMapsFaceAndTheSelectionsSizeAndColour) {
    QTextCharFormat redBold;
    redBold.setFontPointSize(14);
    redBold.setForeground(QColor(255, 0, 0));
    redBold.setFontWeight(QFont::Bold);
    redBold.setFontItalic(true);
    redBold.setFontUnderline(true);
    setText(QStringLiteral("red bold"), redBold);
    editor_->setSelection(3, 0);
    ASSERT_TRUE(run([&](TDLLForm& map) {
        ASSERT_TRUE(map.setFontName(QStringLiteral("DejaVu Serif")));
        clickCell(map, 13, 11);
        map.btnInsert->Click();
    }));
    ASSERT_EQ(QStringLiteral("red\u00E9 bold"), text());
    const QTextCharFormat inserted = formatAt(3);
    EXPECT_EQ(QStringList{QStringLiteral("DejaVu Serif")}, inserted.fontFamilies().toStringList());
    EXPECT_EQ(14.0, inserted.fontPointSize());
    EXPECT_EQ(QColor(255, 0, 0), inserted.foreground().color());
    EXPECT_NE(QFont::Bold, inserted.fontWeight());
    EXPECT_FALSE(inserted.fontItalic());
    EXPECT_FALSE(inserted.fontUnderline());
    // The text around it keeps its own format.
    EXPECT_EQ(QFont::Bold, formatAt(2).fontWeight());
    EXPECT_EQ(QFont::Bold, formatAt(4).fontWeight());
    // The editor reports the new format at the inserted character.
    editor_->setSelection(3, 1);
    EXPECT_EQ(QStringLiteral("DejaVu Serif"), editor_->selectionFontName());
    EXPECT_EQ(14, editor_->selectionFontSize());
    EXPECT_FALSE(editor_->selectionStyles().bold);
    EXPECT_EQ(QColor(255, 0, 0), editor_->selectionTextColor());
}

TEST_F(CharMapInsert, CaretInTheMiddleOfAWordRemovesNothing) {
    setText(QStringLiteral("window"));
    editor_->setSelection(3, 0);
    ASSERT_TRUE(run([&](TDLLForm& map) {
        clickCell(map, 5, 3);
        map.btnInsert->Click();
    }));
    EXPECT_EQ(QStringLiteral("winAdow"), text());
    EXPECT_EQ(4, editor_->selectionStart());
    EXPECT_EQ(0, editor_->selectionLength());
}

TEST_F(CharMapInsert, ASelectionIsReplacedWholeAndUndoneInOneStep) {
    setText(QStringLiteral("one two three"));
    editor_->setSelection(4, 3);
    ASSERT_TRUE(run([&](TDLLForm& map) {
        map.Edit1->setText(QStringLiteral("\u00E9\u00E8"));
        map.btnInsertLine->Click();
    }));
    EXPECT_EQ(QStringLiteral("one \u00E9\u00E8 three"), text());
    editor_->undo();
    EXPECT_EQ(QStringLiteral("one two three"), text());
}

TEST_F(CharMapInsert, CloseInsertsNothingAndNextShowingPreviewsTheHighlightedCell) {
    setText(QStringLiteral("keep"));
    editor_->setSelection(1, 2);
    QApplication::clipboard()->setText(QStringLiteral("clipboard"));
    EXPECT_FALSE(run([&](TDLLForm& map) {
        clickCell(map, 0, 10);  // 200
        map.RbButton1->Click();
    }));
    EXPECT_EQ(QStringLiteral("keep"), text());
    EXPECT_FALSE(editor_->isModified());
    EXPECT_EQ(QStringLiteral("clipboard"), QApplication::clipboard()->text());
    QString labels;
    QImage shown;
    run([&](TDLLForm& map) {
        labels = map.Label2->text() + map.Label4->text();
        shown = map.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        map.RbButton1->Click();
    });
    EXPECT_EQ(QStringLiteral("ALT + 0200"), labels);
    EXPECT_EQ(renderCharPreview(QString(QChar(0x00C8)), map_->gridFont()), shown);
}

TEST_F(CharMapInsert, NothingToInsertKeepsTheSelection) {
    setText(QStringLiteral("selected"));
    editor_->setSelection(0, 8);
    QApplication::clipboard()->setText(QStringLiteral("clipboard"));
    EXPECT_FALSE(run([&](TDLLForm& map) { map.btnInsertLine->Click(); }));  // empty line
    EXPECT_FALSE(run([&](TDLLForm& map) {
        clickCell(map, 0, 0);  // code 0
        map.btnInsert->Click();
    }));
    EXPECT_EQ(QStringLiteral("selected"), text());
    EXPECT_FALSE(editor_->isModified());
    EXPECT_EQ(QStringLiteral("clipboard"), QApplication::clipboard()->text());
}

TEST_F(CharMapInsert, SymbolFontTextCarriesTheSymbolCharacterSet) {
    map_->setCodeMappingTest([](const QString& face) {
        return face == QStringLiteral("DejaVu Sans") ? CodeMapping::SymbolPrivateUse
                                                     : CodeMapping::CodePage1252;
    });
    setText(QStringLiteral("x"));
    editor_->setSelection(1, 0);
    ASSERT_TRUE(run([&](TDLLForm& map) {
        ASSERT_TRUE(map.setFontName(QStringLiteral("DejaVu Sans")));
        clickCell(map, 5, 3);
        map.btnInsert->Click();
    }));
    EXPECT_EQ(QStringLiteral("x\uF041"), text());
    EXPECT_EQ(2, formatAt(1).intProperty(rtf::kCharsetProperty));
    EXPECT_TRUE(editor_->saveRtf().contains("\\fcharset2 DejaVu Sans;"))
        << editor_->saveRtf().constData();
}

TEST_F(CharMapInsert, Latin1SymbolFontTextIsStoredAsItsCodeByte) {
    map_->setCodeMappingTest([](const QString& face) {
        return face == QStringLiteral("DejaVu Serif") ? CodeMapping::SymbolLatin1
                                                      : CodeMapping::CodePage1252;
    });
    setText(QStringLiteral("x"));
    editor_->setSelection(1, 0);
    ASSERT_TRUE(run([&](TDLLForm& map) {
        ASSERT_TRUE(map.setFontName(QStringLiteral("DejaVu Serif")));
        clickCell(map, 13, 11);  // 233
        map.btnInsert->Click();
    }));
    EXPECT_EQ(QStringLiteral("x\u00E9"), text());
    const QByteArray rtf = editor_->saveRtf();
    EXPECT_TRUE(rtf.contains("{\\f1\\fnil\\fcharset2 DejaVu Serif;}")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\'e9")) << rtf.constData();
}

TEST_F(CharMapInsert, PlainTextModeKeepsItsOneFormat) {
    editor_->setPlainTextMode(true);
    setText(QStringLiteral("plain"));
    editor_->setSelection(5, 0);
    ASSERT_TRUE(run([&](TDLLForm& map) {
        ASSERT_TRUE(map.setFontName(QStringLiteral("DejaVu Serif")));
        clickCell(map, 8, 6);
        map.btnInsert->Click();
    }));
    EXPECT_EQ(QStringLiteral("plain\u20AC"), text());
    EXPECT_EQ(formatAt(0).fontFamilies(), formatAt(5).fontFamilies());
    EXPECT_EQ(formatAt(0).fontPointSize(), formatAt(5).fontPointSize());
}

TEST_F(CharMapInsert, RunsModallyWhenNoScriptIsGiven) {
    setText(QStringLiteral("ab"));
    editor_->setSelection(2, 0);
    QTimer::singleShot(0, map_, [this] {
        clickCell(*map_, 17, 3);  // 77, M
        QTest::keyClick(map_->StringGrid1, Qt::Key_Return);
    });
    EXPECT_TRUE(InsertFromCharacterMap(*editor_, *map_));
    EXPECT_EQ(QStringLiteral("abM"), text());
    EXPECT_EQ(editor_, window_->focusWidget());
}

}  // namespace
}  // namespace quillmere
