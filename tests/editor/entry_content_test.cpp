// StoreEditorContent and the load step of LoadEntry.
#include "editor/entry_content.h"

#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "test_support.h"

#include <ostream>

#include <QTest>

namespace quillmere {
namespace {

void writeFormattedEntry(RichEditor& editor) {
    editor.replaceSelection("Dear diary,\nit rained www.weather.example all day\tlong.");
    editor.setSelection(0, 4);
    editor.setSelectionStyles({true, false, true, false});
    editor.setSelection(12, 10);
    editor.setSelectionTextColor(QColor(0x80, 0, 0));
    editor.setParagraphAlignment(ParagraphAlignment::Center);
}

TEST(EntryContentTest, StoresTheEditorRtfCompressed) {
    RichEditor editor;
    writeFormattedEntry(editor);
    const QByteArray blob = StoreEditorContent(editor);
    ASSERT_GE(blob.size(), 2);
    EXPECT_EQ("78 01", testsupport::hexDump(blob.left(2)));
    EXPECT_EQ(editor.saveRtf(), DecodeEntryContent(blob));
}

TEST(EntryContentTest, StoresRtfAlsoInPlainTextMode) {
    RichEditor editor;
    editor.setPlainTextMode(true);
    editor.loadContent("imported text");
    EXPECT_EQ(editor.saveRtf(), DecodeEntryContent(StoreEditorContent(editor)));
}

TEST(EntryContentTest, RoundTripLeavesTheDocumentUnchanged) {
    RichEditor editor;
    writeFormattedEntry(editor);
    const QByteArray rtf = editor.saveRtf();

    RichEditor loaded;
    QTest::keyClicks(&loaded, "old day");
    LoadEditorContent(loaded, StoreEditorContent(editor));
    EXPECT_EQ(rtf, loaded.saveRtf());
    EXPECT_EQ(editor.toPlainText(), loaded.toPlainText());
    EXPECT_FALSE(loaded.isModified());
    EXPECT_FALSE(loaded.canUndo());
    EXPECT_EQ(0, loaded.selectionStart());
    EXPECT_EQ(0, loaded.selectionLength());
}

TEST(EntryContentTest, EmptyEntryIsStoredAndLoaded) {
    RichEditor editor;
    const QByteArray blob = StoreEditorContent(editor);
    RichEditor loaded;
    QTest::keyClicks(&loaded, "x");
    LoadEditorContent(loaded, blob);
    EXPECT_TRUE(loaded.toPlainText().isEmpty());
    EXPECT_FALSE(loaded.isModified());
}

TEST(EntryContentTest, LoadSwitchesBackToRichMode) {
    RichEditor editor;
    writeFormattedEntry(editor);
    RichEditor loaded;
    loaded.setPlainTextMode(true);
    LoadEditorContent(loaded, StoreEditorContent(editor));
    EXPECT_FALSE(loaded.isPlainTextMode());
    loaded.setSelection(0, 4);
    EXPECT_TRUE(loaded.selectionStyles().bold);
}

struct FallbackCase {
    const char* label;
    QByteArray stored;
    QString text;
};

void PrintTo(const FallbackCase& c, std::ostream* os) {
    *os << c.label;
}

class LoadFallbackTest : public ::testing::TestWithParam<FallbackCase> {};

TEST_P(LoadFallbackTest, NonRtfIsReadAsPlainText) {
    const FallbackCase& c = GetParam();
    RichEditor editor;
    QTest::keyClicks(&editor, "previous");
    LoadEditorContent(editor, EncodeEntryContent(c.stored));
    EXPECT_EQ(c.text, editor.toPlainText()) << c.label;
    EXPECT_FALSE(editor.isModified()) << c.label;
    EXPECT_EQ(0, editor.selectionStart()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    PlainText, LoadFallbackTest,
    ::testing::Values(FallbackCase{"nominal: words", "just plain text", "just plain text"},
                      FallbackCase{"robustness: braces that are no RTF", "{not rtf}", "{not rtf}"},
                      FallbackCase{"robustness: empty", "", ""}));

TEST(LoadFallbackTest, UnreadableBytesFailAndKeepTheEditor) {
    RichEditor editor;
    QTest::keyClicks(&editor, "previous");
    const QByteArray binary("\x01\x00\x02\x00", 4);
    EXPECT_THROW_MSG(LoadEditorContent(editor, EncodeEntryContent(binary)), rtf::RtfError,
                     "Failed to Load Stream");
    EXPECT_EQ("previous", editor.toPlainText());
    EXPECT_TRUE(editor.isModified());
}

TEST(LoadFallbackTest, DamagedBlobReportsZlibAndKeepsTheEditor) {
    RichEditor editor;
    QTest::keyClicks(&editor, "previous");
    QByteArray blob = EncodeEntryContent("{\\rtf1 hello}");
    blob[2] = char(0xFF);
    blob[3] = char(0xFF);
    EXPECT_THROW(LoadEditorContent(editor, blob), ZlibError);
    EXPECT_EQ("previous", editor.toPlainText());
    EXPECT_TRUE(editor.isModified());
}

}  // namespace
}  // namespace quillmere
