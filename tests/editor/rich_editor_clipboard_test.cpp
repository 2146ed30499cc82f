// Copy and paste: RTF first, then pictures, then text; never foreign HTML.
#include "editor/rich_editor.h"

#include "editor/rtf/rtf.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>

#include <gtest/gtest.h>

#include <memory>

namespace quillmere {
namespace {

// Opens the clipboard hooks to the tests.
class ClipboardEditor : public RichEditor {
public:
    using RichEditor::canInsertFromMimeData;
    using RichEditor::createMimeDataFromSelection;
    using RichEditor::insertFromMimeData;
};

bool isBoldAt(const RichEditor& editor, int position) {
    QTextCursor cursor(editor.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().fontWeight() >= QFont::DemiBold;
}

int pictureCount(const RichEditor& editor) {
    int count = 0;
    for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            count += it.fragment().charFormat().isImageFormat() ? 1 : 0;
        }
    }
    return count;
}

TEST(ClipboardTest, CopyCarriesRtfAndText) {
    ClipboardEditor editor;
    editor.replaceSelection("one bold word");
    editor.setSelection(4, 4);
    editor.setSelectionStyles({true, false, false, false});
    std::unique_ptr<QMimeData> data(editor.createMimeDataFromSelection());
    EXPECT_EQ("bold", data->text());
    ASSERT_TRUE(data->hasFormat("text/rtf"));
    EXPECT_TRUE(data->data("text/rtf").startsWith("{\\rtf"));
    EXPECT_FALSE(data->hasHtml());
}

TEST(ClipboardTest, PastedRtfKeepsItsFormats) {
    ClipboardEditor source;
    source.replaceSelection("one bold word");
    source.setSelection(4, 4);
    source.setSelectionStyles({true, false, false, false});
    source.setSelection(0, 13);
    std::unique_ptr<QMimeData> data(source.createMimeDataFromSelection());

    ClipboardEditor target;
    target.replaceSelection("[]");
    target.setSelection(1, 0);
    target.insertFromMimeData(data.get());
    EXPECT_EQ("[one bold word]", target.toPlainText());
    EXPECT_FALSE(isBoldAt(target, 2));
    EXPECT_TRUE(isBoldAt(target, 6));
    EXPECT_EQ(14, target.selectionStart());
    EXPECT_TRUE(target.isModified());
}

TEST(ClipboardTest, ForeignHtmlIsPastedAsTextOnly) {
    ClipboardEditor editor;
    QMimeData data;
    data.setHtml("<table><tr><td><b>cell</b></td></tr></table>");
    data.setText("cell");
    editor.insertFromMimeData(&data);
    EXPECT_EQ("cell", editor.toPlainText());
    EXPECT_TRUE(editor.document()->rootFrame()->childFrames().isEmpty());
    EXPECT_FALSE(isBoldAt(editor, 1));
}

TEST(ClipboardTest, DamagedRtfFallsBackToTheText) {
    ClipboardEditor editor;
    QMimeData data;
    data.setData("text/rtf", "this is no rich text");
    data.setText("plain form");
    editor.insertFromMimeData(&data);
    EXPECT_EQ("plain form", editor.toPlainText());
}

TEST(ClipboardTest, PastedBitmapBecomesAnEmbeddedPicture) {
    ClipboardEditor editor;
    editor.replaceSelection("ab");
    editor.setSelection(1, 0);
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QMimeData data;
    data.setImageData(image);
    ASSERT_TRUE(editor.canInsertFromMimeData(&data));
    editor.insertFromMimeData(&data);
    EXPECT_EQ(1, pictureCount(editor));
    EXPECT_EQ(3, editor.document()->characterCount() - 1);
}

TEST(ClipboardTest, PlainTextModePastesTextOnly) {
    ClipboardEditor source;
    source.replaceSelection("bold");
    source.selectAll();
    source.setSelectionStyles({true, false, false, false});
    std::unique_ptr<QMimeData> data(source.createMimeDataFromSelection());

    ClipboardEditor target;
    target.setPlainTextMode(true);
    target.insertFromMimeData(data.get());
    EXPECT_EQ("bold", target.toPlainText());
    EXPECT_FALSE(isBoldAt(target, 1));
    std::unique_ptr<QMimeData> copied(target.createMimeDataFromSelection());
    EXPECT_FALSE(copied->hasFormat("text/rtf"));
}

TEST(ClipboardTest, CutAndPasteThroughTheSystemClipboard) {
    RichEditor editor;
    editor.replaceSelection("move me here");
    editor.setSelection(0, 8);
    editor.cut();
    EXPECT_EQ("here", editor.toPlainText());
    editor.setSelection(4, 0);
    editor.paste();
    EXPECT_EQ("heremove me ", editor.toPlainText());
    EXPECT_EQ("move me ", QApplication::clipboard()->text());
}

}  // namespace
}  // namespace quillmere
