// Import and save-as of the current entry: the dialogs' filters, the text
// format by extension, the import of every kind of file with its fallbacks
// and errors, and saves that never leave a damaged file.
#include "editor/entry_files.h"

#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"
#include "failing_files.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using testsupport::TempFolder;

TEST(EntryFileNames, DialogFiltersInQtForm) {
    EXPECT_EQ((QStringList{"All Supported Documents (*.rtf *.txt)", "Rich Text File (*.rtf)",
                           "Plain Text File (*.txt)"}),
              documentNameFilters(QString::fromLatin1(kImportFilter)));
    EXPECT_EQ(QStringList{"Rich Text Format (*.rtf)"},
              documentNameFilters(QString::fromLatin1(kSaveFilter)));
}

TEST(EntryFileNames, FormatAndDefaultExtension) {
    const std::pair<const char*, bool> plain[] = {
        {"notes.txt", true},  {"notes.TXT", true},         {"notes.Txt", true},
        {"notes.rtf", false}, {"notes.txt.rtf", false},    {"notes", false},
        {"txt", false},       {"/a.txt/notes.doc", false},
    };
    for (const auto& [name, isPlain] : plain) {
        EXPECT_EQ(isPlain, isPlainTextFile(QString::fromLatin1(name))) << name;
    }
    const std::pair<const char*, const char*> named[] = {
        {"/tmp/entry", "/tmp/entry.rtf"},           {"/tmp/entry.rtf", "/tmp/entry.rtf"},
        {"/tmp/entry.txt", "/tmp/entry.txt"},       {"/tmp/entry.", "/tmp/entry.rtf"},
        {"/tmp/v1.2/entry", "/tmp/v1.2/entry.rtf"},
    };
    for (const auto& [typed, saved] : named) {
        EXPECT_EQ(saved, withDefaultExtension(QString::fromLatin1(typed)).toStdString()) << typed;
    }
}

// --- Import -----------------------------------------------------------------------

struct ImportCase {
    const char* label;
    const char* file;
    QByteArray bytes;
    const char16_t* text;
};

void PrintTo(const ImportCase& c, std::ostream* os) {
    *os << c.label;
}

// What a deeply nested, unreadable RTF file shows as plain text.
const std::u16string kBrokenRtfText = u"{\\rtf1" + std::u16string(3000, u'{');

class ImportTest : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ImportTest, ReadsTheFileInTheFormatOfItsExtension) {
    const ImportCase& row = GetParam();
    TempFolder folder;
    RichEditor editor;
    editor.replaceSelection(QStringLiteral("old text"));
    editor.setModified(false);
    importEntryFile(editor, folder.write(QString::fromLatin1(row.file), row.bytes));
    EXPECT_EQ(QString::fromUtf16(row.text).toStdU16String(), editor.toPlainText().toStdU16String());
    EXPECT_FALSE(editor.isPlainTextMode()) << "the imported text is edited as rich text";
    EXPECT_TRUE(editor.isModified()) << "an import is stored when the day is left";
    EXPECT_EQ(0, editor.textCursor().position());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Files, ImportTest,
    ::testing::Values(
        ImportCase{"nominal: notes.TXT is plain text, whatever it holds", "notes.TXT",
                   "{\\rtf1 {\\b bold}}", u"{\\rtf1 {\\b bold}}"},
        ImportCase{"nominal: UTF-8 Cyrillic and emoji", "utf8.txt",
                   "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xF0\x9F\x98\x80\r\n\xE6\x97\xA5\xE8\xA8\x98",
                   u"\u041F\u0440\u0438\u0432\u0435\u0442 \U0001F600\n\u65E5\u8A18"},
        ImportCase{"nominal: UTF-8 with a byte-order mark", "marked.txt",
                   "\xEF\xBB\xBF" "caf\xC3\xA9", u"caf\u00E9"},
        ImportCase{"nominal: Windows-1252 with e-acute and euro", "windows.txt",
                   "caf\xE9 \x80 5", u"caf\u00E9 \u20AC 5"},
        ImportCase{"nominal: rich text", "entry.rtf", "{\\rtf1\\ansi {\\b Bold} caf\\'e9}",
                   u"Bold caf\u00E9"},
        ImportCase{"nominal: another extension is rich text", "entry.doc", "{\\rtf1 Rich}",
                   u"Rich"},
        ImportCase{"robustness: broken .rtf is shown as plain text", "broken.rtf",
                   "{\\rtf1" + QByteArray(3000, '{'),
                   kBrokenRtfText.c_str()},
        ImportCase{"robustness: .rtf that is not RTF at all", "words.rtf",
                   "just words", u"just words"},
        ImportCase{"robustness: .txt that is not text but RTF", "odd.txt",
                   QByteArray("{\\rtf1 rich}\0", 13), u"rich"},
        ImportCase{"robustness: empty file", "empty.txt", "", u""}));
// clang-format on

TEST(Import, PlainTextTakesOneCharacterFormatAndRichTextKeepsItsOwn) {
    TempFolder folder;
    RichEditor editor;
    editor.applyDefaultFont(QStringLiteral("Courier New"), 14, QColor(Qt::blue));
    importEntryFile(editor, folder.write("notes.txt", "one\ntwo"));
    QTextCursor cursor(editor.document());
    for (int position : {1, 3, 5, 7}) {
        cursor.setPosition(position);
        EXPECT_EQ(QStringLiteral("Courier New"),
                  cursor.charFormat().fontFamilies().toStringList().value(0));
        EXPECT_EQ(14, cursor.charFormat().fontPointSize());
    }
    importEntryFile(editor, folder.write("rich.rtf", "{\\rtf1 {\\b Bold}plain}"));
    EXPECT_FALSE(editor.isPlainTextMode()) << "a rich import brings rich mode back";
    cursor = QTextCursor(editor.document());
    cursor.setPosition(1);
    EXPECT_EQ(QFont::Bold, cursor.charFormat().fontWeight());
    cursor.setPosition(6);
    EXPECT_NE(QFont::Bold, cursor.charFormat().fontWeight());
}

// After a .txt import the entry is edited like any other: a format applies to
// the selection only, and a picture can be inserted.
TEST(Import, TextFileIsEditedAsRichTextAfterwards) {
    // Opens the paste of pictures to the test.
    struct PastingEditor : RichEditor {
        using RichEditor::insertFromMimeData;
    };
    TempFolder folder;
    PastingEditor editor;
    importEntryFile(editor, folder.write("notes.txt", "one two"));
    editor.setSelection(0, 3);
    editor.setSelectionStyles({true, false, false, false});
    QTextCursor cursor(editor.document());
    cursor.setPosition(1);
    EXPECT_EQ(QFont::Bold, cursor.charFormat().fontWeight());
    cursor.setPosition(6);
    EXPECT_NE(QFont::Bold, cursor.charFormat().fontWeight()) << "only the selection is bold";

    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    editor.setSelection(7, 0);
    QMimeData data;
    data.setImageData(picture);
    editor.insertFromMimeData(&data);
    EXPECT_EQ(QStringLiteral("one two") + QChar::ObjectReplacementCharacter, editor.toPlainText());
    EXPECT_TRUE(editor.saveRtf().contains("\\pngblip"));
}

TEST(Import, ErrorsKeepTheEntryAsItWas) {
    TempFolder folder;
    RichEditor editor;
    editor.replaceSelection(QStringLiteral("kept"));
    editor.setModified(false);
    const QString missing = folder.file("missing.rtf");
    EXPECT_THROW_MSG(importEntryFile(editor, missing), Error,
                     ("Cannot open file " + missing).toStdString());
    const QString binary = folder.write("binary.txt", QByteArray("\0\1\2", 3));
    EXPECT_THROW_MSG(importEntryFile(editor, binary), rtf::RtfError, "Failed to Load Stream");
    EXPECT_EQ("kept", editor.toPlainText().toStdString());
    EXPECT_FALSE(editor.isPlainTextMode());
    EXPECT_FALSE(editor.isModified());
}

TEST(Import, CommandDoesNothingWhenCancelled) {
    RichEditor editor;
    editor.replaceSelection(QStringLiteral("kept"));
    EntryFileCommands commands;
    commands.setOpenDialog([](QWidget*) { return std::optional<QString>(); });
    commands.btnNoteBookOpenClick(editor, nullptr);
    EXPECT_EQ("kept", editor.toPlainText().toStdString());
}

// --- Save-as ----------------------------------------------------------------------

class SaveAsTest : public ::testing::Test {
protected:
    SaveAsTest() {
        editor.replaceSelection(QString::fromUtf16(u"Dear diary \u20AC\nsecond"));
        commands.showError = [this](const QString& message) { errors << message; };
        commands.confirm = [this](const QString& question) {
            questions << question;
            return answer;
        };
    }
    void choose(const QString& path) {
        commands.setSaveDialog([this, path](QWidget*, const QString& proposedName) {
            ++dialogs;
            proposed << proposedName;
            return std::optional<QString>(path);
        });
    }
    QStringList files() const {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    TempFolder folder;
    RichEditor editor;
    EntryFileCommands commands;
    QStringList errors;
    QStringList questions;
    QStringList proposed;
    bool answer = false;
    int dialogs = 0;
};

TEST_F(SaveAsTest, DialogOffersTheDaysName) {
    choose(folder.file("chosen.rtf"));
    commands.btnNoteBookSaveAsClick(editor, nullptr, QStringLiteral("2026-12-10"));
    commands.saveContentAs(editor, nullptr);
    EXPECT_EQ((QStringList{"2026-12-10.rtf", ""}), proposed);
}

// The dialog itself: its name box holds the offered name.
TEST(SaveDialog, NameBoxHoldsTheOfferedName) {
    TempFolder folder;
    QWidget parent;
    QString shown;
    QTimer::singleShot(0, [&shown] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            if (dialog != nullptr && dialog->isVisible()) {
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                    shown = name->text();
                }
                dialog->reject();
            }
        }
    });
    EXPECT_FALSE(platformSaveDialog()(&parent, QStringLiteral("2026-12-10.rtf")).has_value());
    EXPECT_EQ("2026-12-10.rtf", shown.toStdString());
}

TEST_F(SaveAsTest, NameWithoutExtensionGetsRtf) {
    choose(folder.file("entry"));
    commands.btnNoteBookSaveAsClick(editor, nullptr);
    EXPECT_EQ(QStringList{"entry.rtf"}, files());
    const QByteArray saved = folder.read("entry.rtf");
    EXPECT_EQ(editor.saveRtf(), saved);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(SaveAsTest, TxtIsWrittenAsUtf8PlainText) {
    choose(folder.file("entry.TXT"));
    commands.btnNoteBookSaveAsClick(editor, nullptr);
    EXPECT_EQ(QByteArray("Dear diary \xE2\x82\xAC\nsecond"), folder.read("entry.TXT"));
}

TEST_F(SaveAsTest, EmptyEntryShowsNoDialog) {
    RichEditor empty;
    choose(folder.file("entry.rtf"));
    commands.btnNoteBookSaveAsClick(empty, nullptr);
    EXPECT_EQ(0, dialogs);
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(SaveAsTest, AddedExtensionOverAnExistingFileIsAskedAbout) {
    folder.write("entry.rtf", "old");
    choose(folder.file("entry"));
    commands.btnNoteBookSaveAsClick(editor, nullptr);
    ASSERT_EQ(1, questions.size());
    EXPECT_EQ(folder.file("entry.rtf") + " already exists.\nDo you want to replace it?",
              questions[0]);
    EXPECT_EQ(QByteArray("old"), folder.read("entry.rtf")) << "declined: kept";
    answer = true;
    commands.btnNoteBookSaveAsClick(editor, nullptr);
    EXPECT_EQ(editor.saveRtf(), folder.read("entry.rtf"));
}

TEST_F(SaveAsTest, UnwritableFolderLeavesNoFileAndShowsTheMessage) {
    // A folder that does not exist, and one "inside" a plain file: neither
    // can take a file, whoever runs the test.
    folder.write("plain", "x");
    for (const QString& name :
         {QStringLiteral("missing/entry.rtf"), QStringLiteral("plain/entry.rtf")}) {
        errors.clear();
        const QString path = folder.file(name);
        choose(path);
        commands.btnNoteBookSaveAsClick(editor, nullptr);
        EXPECT_EQ(QStringList{"Cannot create file " + path}, errors);
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_EQ(QStringList{"plain"}, files());
}

// Fails every whole-file write after writing half of it to a temporary file
// of its own, as a full disk would.
TEST_F(SaveAsTest, FailedWriteKeepsTheOldFileAndShowsTheMessage) {
    folder.write("entry.rtf", "old entry");
    auto failing = testsupport::FailingFiles::everyFile();
    ScopedFileAccess seam(&failing);
    choose(folder.file("entry.rtf"));
    commands.btnNoteBookSaveAsClick(editor, nullptr);
    EXPECT_EQ(QStringList{"Failed to Save Stream"}, errors);
    EXPECT_EQ(QByteArray("old entry"), folder.read("entry.rtf"));
    EXPECT_EQ(QStringList{"entry.rtf"}, files());
}

// A real full disk under the one safe write: nothing or one byte of the new
// file fits.
TEST_F(SaveAsTest, FullDiskKeepsTheOldFileAndShowsTheMessage) {
    folder.write("entry.rtf", "old entry");
    for (const qint64 freeBytes : {qint64(0), qint64(1)}) {
        auto full = testsupport::FailingFiles::fullDisk(freeBytes);
        ScopedFileAccess seam(&full);
        errors.clear();
        choose(folder.file("entry.rtf"));
        commands.btnNoteBookSaveAsClick(editor, nullptr);
        EXPECT_EQ(QStringList{"Failed to Save Stream"}, errors) << freeBytes;
        EXPECT_EQ(QByteArray("old entry"), folder.read("entry.rtf")) << freeBytes;
        EXPECT_EQ(QStringList{"entry.rtf"}, files()) << freeBytes;
    }
}

TEST_F(SaveAsTest, WithoutAnErrorBoxTheErrorPassesOn) {
    commands.showError = nullptr;
    const QString path = folder.file("missing/entry.rtf");
    EXPECT_THROW_MSG(saveEntryFile(editor, path), Error,
                     ("Cannot create file " + path).toStdString());
    choose(path);
    EXPECT_THROW(commands.btnNoteBookSaveAsClick(editor, nullptr), Error);
}

TEST_F(SaveAsTest, SavedEntryImportsBackUnchanged) {
    QTextCursor cursor(editor.document());
    cursor.setPosition(0);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(bold);
    const QString path = folder.file("entry.rtf");
    saveEntryFile(editor, path);
    RichEditor back;
    importEntryFile(back, path);
    EXPECT_EQ(editor.saveRtf(), back.saveRtf());
}

}  // namespace
}  // namespace quillmere
