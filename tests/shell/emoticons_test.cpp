// The tool bar's emoticon command in the running program: the picked picture
// lands at the caret (over the selection), stays on the clipboard for Paste,
// is stored with the entry and comes back with it; Close changes nothing.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/format/format_commands.h"
#include "editor/pickers/emoticons_window.h"
#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"
#include "shell/main_window.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/journal_table.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>

#include <vector>

namespace quillmere {
namespace {

constexpr int kBigSmile = 14;

struct PlacedPicture {
    int position;  // character position in the document
    QImage image;  // as the document shows it
};

std::vector<PlacedPicture> picturesIn(const QTextDocument& doc) {
    std::vector<PlacedPicture> found;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat()) {
                const QTextImageFormat format = fragment.charFormat().toImageFormat();
                for (int i = 0; i < fragment.length(); ++i) {
                    found.push_back({fragment.position() + i, rtf::pictureImage(doc, format)});
                }
            }
        }
    }
    return found;
}

// The picture as an entry shows it: transparent parts over white.
QImage overWhite(const QImage& picture) {
    QImage result(picture.size(), QImage::Format_RGB32);
    result.fill(Qt::white);
    QPainter painter(&result);
    painter.drawImage(0, 0, picture);
    return result;
}

class EmoticonCommandTest : public ShellTest {
protected:
    void SetUp() override {
        start();
        QGuiApplication::clipboard()->setText(QStringLiteral("on the clipboard before"));
    }

    TfrmEmoticons* picker() const { return program().emoticons(); }
    RichEditor* editor() const { return main().Editor; }
    QImage bigSmileShown() const { return overWhite(picker()->imageOfTag(kBigSmile)->Picture()); }

    // Clicks the tool bar button and, in the picker, the picture of `tag`
    // (or Close for tag 0).
    void pick(int tag) {
        QToolButton* button = main().Commands->btnInsertEmoticon;
        ASSERT_TRUE(button->isEnabled());
        whileModal(
            picker(), [&] { QTest::mouseClick(button, Qt::LeftButton); },
            [&] {
                if (tag == 0) {
                    click(picker()->btnClose);
                } else {
                    QTest::mouseClick(picker()->imageOfTag(tag), Qt::LeftButton);
                }
            });
        EXPECT_FALSE(picker()->isVisible());
        EXPECT_FALSE(picker()->EmoticonPicked) << "cleared after every use";
    }
};

TEST_F(EmoticonCommandTest, BigSmileLandsAtTheCaretAndPasteInsertsItAgain) {
    typeIntoEditor(QStringLiteral("abcd"));
    editor()->setSelection(2, 0);
    pick(kBigSmile);

    std::vector<PlacedPicture> pictures = picturesIn(*editor()->document());
    ASSERT_EQ(1u, pictures.size());
    EXPECT_EQ(2, pictures[0].position);
    EXPECT_EQ(bigSmileShown(), overWhite(pictures[0].image));
    EXPECT_EQ(QStringLiteral("ab\uFFFCcd"), editor()->toPlainText());
    EXPECT_EQ(3, editor()->textCursor().position()) << "the caret follows the picture";
    EXPECT_TRUE(editor()->isModified());
    EXPECT_EQ(editor(), main().focusWidget()) << "typing goes on in the entry";

    // The same picture waits on the clipboard: Paste puts it in once more.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(nullptr, data);
    ASSERT_TRUE(data->hasImage());
    QTest::mouseClick(main().Commands->btnPaste, Qt::LeftButton);
    pictures = picturesIn(*editor()->document());
    ASSERT_EQ(2u, pictures.size());
    EXPECT_EQ(3, pictures[1].position);
    EXPECT_EQ(bigSmileShown(), overWhite(pictures[1].image));
    EXPECT_EQ(QStringLiteral("ab\uFFFC\uFFFCcd"), editor()->toPlainText());
}

// Without a mouse: Tab reaches the pictures, the arrows move between them and
// Enter picks one, as a click does.
TEST_F(EmoticonCommandTest, APictureIsPickedByKeys) {
    typeIntoEditor(QStringLiteral("ab"));
    EmoticonImage* target = picker()->imageOfTag(kBigSmile);
    whileModal(
        picker(), [&] { QTest::mouseClick(main().Commands->btnInsertEmoticon, Qt::LeftButton); },
        [&] {
            // The modal picker as the active window, as a window manager
            // makes it.
            QApplication::setActiveWindow(picker());
            ASSERT_EQ(picker(), QApplication::activeWindow());
            EmoticonImage* first = picker()->imageOfTag(1);
            first->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(first->hasFocus());
            for (int i = 0; i < 40 && !target->hasFocus(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            }
            ASSERT_TRUE(target->hasFocus());
            EXPECT_TRUE(picker()->Label1->text().startsWith(target->accessibleName()))
                << "the picture's name shows as on hovering";
            QTest::keyClick(target, Qt::Key_Return);
        });
    EXPECT_FALSE(picker()->isVisible());
    const std::vector<PlacedPicture> pictures = picturesIn(*editor()->document());
    ASSERT_EQ(1u, pictures.size());
    EXPECT_EQ(bigSmileShown(), overWhite(pictures[0].image));
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(target);
    EXPECT_EQ(QAccessible::Button, button->role());
    EXPECT_FALSE(button->text(QAccessible::Name).isEmpty());
}

// The focus the window gives its first picture on opening shows no mark (a
// mouse user sees the window as designed); the first key shows the mark and
// picks nothing, the next Enter picks that picture.
TEST_F(EmoticonCommandTest, TheFirstKeyShowsWhereTheFocusIsBeforeActing) {
    whileModal(
        picker(), [&] { QTest::mouseClick(main().Commands->btnInsertEmoticon, Qt::LeftButton); },
        [&] {
            // The modal picker as the active window, as a window manager
            // makes it.
            QApplication::setActiveWindow(picker());
            ASSERT_EQ(picker(), QApplication::activeWindow());
            EmoticonImage* first = picker()->imageOfTag(1);
            picker()->btnClose->setFocus(Qt::OtherFocusReason);
            const QImage unmarked = first->grab().toImage();
            first->setFocus(Qt::ActiveWindowFocusReason);
            ASSERT_TRUE(first->hasFocus());
            EXPECT_EQ(unmarked, first->grab().toImage())
                << "no mark for the focus that came with the window";
            EXPECT_TRUE(picker()->Label1->text().isEmpty());
            QTest::keyClick(first, Qt::Key_Return);
            EXPECT_TRUE(picker()->isVisible()) << "the first key picks nothing";
            EXPECT_TRUE(first->hasFocus());
            EXPECT_NE(unmarked, first->grab().toImage()) << "the mark shows";
            QTest::keyClick(first, Qt::Key_Return);
        });
    EXPECT_FALSE(picker()->isVisible());
    EXPECT_EQ(1u, picturesIn(*editor()->document()).size());
}

TEST_F(EmoticonCommandTest, ClosingThePickerInsertsNothingAndLeavesTheClipboard) {
    typeIntoEditor(QStringLiteral("unchanged"));
    editor()->setModified(false);
    editor()->setSelection(2, 3);
    pick(0);
    EXPECT_EQ(QStringLiteral("unchanged"), editor()->toPlainText());
    EXPECT_TRUE(picturesIn(*editor()->document()).empty());
    EXPECT_FALSE(editor()->isModified());
    EXPECT_EQ(2, editor()->selectionStart()) << "the selection stays";
    EXPECT_EQ(3, editor()->selectionLength());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(nullptr, data);
    EXPECT_FALSE(data->hasImage());
    EXPECT_EQ(QStringLiteral("on the clipboard before"), data->text());
}

TEST_F(EmoticonCommandTest, ThePickedPictureReplacesTheSelection) {
    typeIntoEditor(QStringLiteral("hello world!"));
    editor()->setSelection(6, 5);  // "world"
    pick(kBigSmile);
    EXPECT_EQ(QStringLiteral("hello \uFFFC!"), editor()->toPlainText());
    const std::vector<PlacedPicture> pictures = picturesIn(*editor()->document());
    ASSERT_EQ(1u, pictures.size());
    EXPECT_EQ(6, pictures[0].position);
    EXPECT_EQ(0, editor()->selectionLength());
}

TEST_F(EmoticonCommandTest, EachPickedPictureIsTheOneClicked) {
    for (int tag : {1, 10, 29}) {
        pick(tag);
    }
    const std::vector<PlacedPicture> pictures = picturesIn(*editor()->document());
    ASSERT_EQ(3u, pictures.size());
    EXPECT_EQ(overWhite(picker()->imageOfTag(1)->Picture()), overWhite(pictures[0].image));
    EXPECT_EQ(overWhite(picker()->imageOfTag(10)->Picture()), overWhite(pictures[1].image));
    EXPECT_EQ(overWhite(picker()->imageOfTag(29)->Picture()), overWhite(pictures[2].image));
    EXPECT_EQ(QSize(51, 45), pictures[2].image.size());
}

TEST_F(EmoticonCommandTest, TheStoredEntryReloadsWithTheEmoticon) {
    typeIntoEditor(QStringLiteral("day "));
    pick(kBigSmile);
    const QImage expected = bigSmileShown();

    // Away and back: stored by the navigation, loaded again.
    click(main().btnNext);
    EXPECT_TRUE(picturesIn(*editor()->document()).empty());
    click(main().btnPrevious);
    std::vector<PlacedPicture> pictures = picturesIn(*editor()->document());
    ASSERT_EQ(1u, pictures.size());
    EXPECT_EQ(4, pictures[0].position);
    EXPECT_EQ(expected, overWhite(pictures[0].image));

    // Into "Journal.cds" at the end, and back in the next run.
    quit();
    {
        JournalTable table;
        table.OpenJournal(dataPath(QStringLiteral("Journal.cds")));
        ASSERT_EQ(1, table.recordCount());
        EXPECT_EQ(QDate(2024, 3, 20), dateFromDay(table.dayAt(0)));
        QTextDocument stored;
        rtf::readRtf(DecodeEntryContent(table.entryAt(0)), stored);
        table.abandon();
        pictures = picturesIn(stored);
        ASSERT_EQ(1u, pictures.size());
        EXPECT_EQ(expected, overWhite(pictures[0].image));
    }
    start();
    pictures = picturesIn(*editor()->document());
    ASSERT_EQ(1u, pictures.size());
    EXPECT_EQ(4, pictures[0].position);
    EXPECT_EQ(expected, overWhite(pictures[0].image));
    EXPECT_EQ(QStringLiteral("day \uFFFC"), editor()->toPlainText());
}

}  // namespace
}  // namespace quillmere
