// Copy and paste: RTF first, then pictures, then text; never foreign HTML.
#include "editor/rich_editor.h"

#include "editor/pictures/picture_clipboard.h"
#include "editor/rtf/rtf.h"
#include "test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

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

// Text typed straight after a picture looks like the text before it, also
// in the stored entry: a picture put in with a bare format made it 12 points
// in the automatic colour.
struct PictureWayCase {
    const char* label;
    std::function<QMimeData*(const QString& folder)> data;
};

void PrintTo(const PictureWayCase& c, std::ostream* os) {
    *os << c.label;
}

QImage redSquare() {
    QImage image(6, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

class TextAfterPicture : public ::testing::TestWithParam<PictureWayCase> {};

TEST_P(TextAfterPicture, TakesTheLookOfTheTextBeforeIt) {
    testsupport::TempFolder folder;
    ClipboardEditor editor;
    editor.show();
    editor.setFocus();
    QTest::keyClicks(&editor, "ab");
    std::unique_ptr<QMimeData> data(GetParam().data(folder.path()));
    editor.insertFromMimeData(data.get());
    ASSERT_EQ(1, pictureCount(editor));
    QTest::keyClicks(&editor, "x");

    RichEditor stored;
    stored.loadEntryRtf(editor.saveRtf());
    ASSERT_EQ(QStringLiteral("ab") + QChar::ObjectReplacementCharacter + "x", stored.toPlainText());
    QTextCursor cursor(stored.document());
    for (int position : {1, 4}) {
        cursor.setPosition(position);
        const QTextCharFormat format = cursor.charFormat();
        EXPECT_EQ(11, format.fontPointSize()) << "at " << position;
        EXPECT_TRUE(format.hasProperty(QTextFormat::ForegroundBrush)) << "at " << position;
        EXPECT_EQ(QColor(Qt::black), format.foreground().color()) << "at " << position;
        EXPECT_FALSE(format.isImageFormat()) << "at " << position;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, TextAfterPicture,
    ::testing::Values(
        PictureWayCase{"nominal: Insert Picture and emoticons (the stored form as RTF)",
                       [](const QString&) { return pictureMimeData(redSquare()); }},
        PictureWayCase{"nominal: a pasted bitmap",
                       [](const QString&) {
                           auto* data = new QMimeData;
                           data->setImageData(redSquare());
                           return data;
                       }},
        PictureWayCase{"nominal: a dropped picture file", [](const QString& folder) {
                           const QString path = folder + QStringLiteral("/red.png");
                           redSquare().save(path, "PNG");
                           auto* data = new QMimeData;
                           data->setUrls({QUrl::fromLocalFile(path)});
                           return data;
                       }}));

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
