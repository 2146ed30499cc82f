// The main window's import, save-as and print buttons: enabled and wired,
// an import stored when the day is left, rich mode back on another day, the
// job title from the date header, and where each command's errors are shown.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_panel.h"
#include "editor/entry_files.h"
#include "editor/format/format_commands.h"
#include "editor/print/entry_print.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTest>
#include <QToolButton>

namespace quillmere {
namespace {

class EntryFilesShellTest : public ShellTest {
protected:
    void importOnClick(const QString& path) {
        main().EntryFiles->setOpenDialog([path](QWidget*) { return std::optional<QString>(path); });
    }
    void clickTool(QToolButton* button) {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

TEST_F(EntryFilesShellTest, ButtonsAreEnabledWithTheirHints) {
    start();
    const FormatCommands& c = *main().Commands;
    const std::pair<QToolButton*, const char*> rows[] = {{c.btnNoteBookOpen, "Import..."},
                                                         {c.btnNoteBookSaveAs, "Export..."},
                                                         {c.ToolButton13, "Print... (Ctrl+P)"}};
    for (const auto& [button, hint] : rows) {
        EXPECT_TRUE(button->isEnabled()) << hint;
        EXPECT_EQ(hint, button->toolTip().toStdString());
    }
    quit();
}

TEST_F(EntryFilesShellTest, ImportIsStoredWhenTheDayIsLeftAndTheNextDayIsRich) {
    writeJournal({{QDate(2024, 3, 21), QStringLiteral("tomorrow")}});
    start(QDate(2024, 3, 20));
    importOnClick(data_.write("notes.TXT", "caf\xE9 imported"));
    clickTool(main().Commands->btnNoteBookOpen);
    EXPECT_EQ(QString::fromUtf16(u"caf\u00E9 imported"), main().Editor->toPlainText());
    EXPECT_FALSE(main().Editor->isPlainTextMode()) << "the imported text is edited as rich text";
    EXPECT_TRUE(main().Editor->isModified());

    click(main().btnNext);
    EXPECT_EQ(QStringLiteral("tomorrow"), main().Editor->toPlainText());
    EXPECT_FALSE(main().Editor->isPlainTextMode()) << "another day is shown in rich mode";
    click(main().btnNext);
    EXPECT_FALSE(main().Editor->isPlainTextMode()) << "also a day without an entry";
    quit();
    const auto stored = storedEntries();
    ASSERT_EQ(2u, stored.size());
    EXPECT_EQ(QDate(2024, 3, 20), stored[0].first);
    EXPECT_EQ(QString::fromUtf16(u"caf\u00E9 imported"), stored[0].second);
}

TEST_F(EntryFilesShellTest, ImportErrorReachesTheDefaultErrorDisplay) {
    start();
    const QString missing = data_.file("gone.rtf");
    importOnClick(missing);
    clickTool(main().Commands->btnNoteBookOpen);
    EXPECT_EQ(std::vector<QString>{"Cannot open file " + missing + "."},
              messages_.texts(MessageKind::Unhandled));
    quit();
}

TEST_F(EntryFilesShellTest, SaveAsErrorGoesToTheErrorBox) {
    start();
    typeIntoEditor(QStringLiteral("some words"));
    const QString path = data_.file("no/folder/entry.rtf");
    main().EntryFiles->setSaveDialog(
        [path](QWidget*, const QString&) { return std::optional<QString>(path); });
    clickTool(main().Commands->btnNoteBookSaveAs);
    EXPECT_EQ(std::vector<QString>{"Cannot create file " + path},
              messages_.texts(MessageKind::Error));
    EXPECT_TRUE(messages_.texts(MessageKind::Unhandled).empty());
    quit();
}

TEST_F(EntryFilesShellTest, PrintTitleIsTheHeaderCaptionAndFocusReturnsToTheEditor) {
    start(QDate(2024, 3, 5));
    typeIntoEditor(QStringLiteral("printed words"));
    const QString path = data_.file("entry.pdf");
    main().EntryPrint->setPrintDialog([path](QWidget*, QPrinter& printer, bool) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        return PrintDialogResult::Print;
    });
    main().btnPrevious->setFocus();
    clickTool(main().Commands->ToolButton13);
    EXPECT_EQ("My Journal Entry For " + main().RbPanel1->Caption(),
              main().EntryPrint->printer().docName());
    EXPECT_TRUE(main().RbPanel1->Caption().startsWith(QStringLiteral("05 ")));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(main().Editor, main().focusWidget());
    EXPECT_TRUE(messages_.calls.empty());
    quit();
}

TEST_F(EntryFilesShellTest, SaveAsAndPrintToFileOfferTheDaysName) {
    start(QDate(2026, 12, 10));
    typeIntoEditor(QStringLiteral("some words"));
    QString offered;
    main().EntryFiles->setSaveDialog([&offered](QWidget*, const QString& proposedName) {
        offered = proposedName;
        return std::optional<QString>();
    });
    clickTool(main().Commands->btnNoteBookSaveAs);
    EXPECT_EQ("2026-12-10.rtf", offered.toStdString());
    main().EntryPrint->setPrintDialog([&offered](QWidget*, QPrinter& printer, bool) {
        offered = printer.docName();
        return PrintDialogResult::Cancelled;
    });
    clickTool(main().Commands->ToolButton13);
    EXPECT_EQ("2026-12-10", offered.toStdString()) << "the name print to file offers";
    quit();
}

TEST_F(EntryFilesShellTest, PrinterErrorReachesTheDefaultErrorDisplay) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        GTEST_SKIP() << "this machine has a printer";
    }
    start();
    main().EntryPrint->setPrintDialog([](QWidget*, QPrinter& printer, bool) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        return PrintDialogResult::Print;
    });
    clickTool(main().Commands->ToolButton13);
    EXPECT_EQ(std::vector<QString>{"There is no default printer currently selected."},
              messages_.texts(MessageKind::Unhandled));
    quit();
}

}  // namespace
}  // namespace quillmere
