// Printing the entry: the page rectangle and title, the two page loops on a
// recording device (pages, positions, nothing lost or printed twice), the
// same loops into PDF files, and the print command with scripted dialogs.
#include "editor/print/entry_print.h"

#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"
#include "print_recorder.h"
#include "store/errors.h"
#include "test_support.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QTimer>

#include <map>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using testing::RecordingPrinter;

// Enough lines of 11-point text for three A4 pages (55 to 65 lines a page).
constexpr int kThreePageLines = 145;

QString paragraphs(int count) {
    QStringList all;
    for (int i = 0; i < count; ++i) {
        all << QStringLiteral("Paragraph %1").arg(i);
    }
    return all.join(u'\n');
}

// An A4 printer writing a PDF file at 600 dpi, as the print command sets it up.
std::unique_ptr<QPrinter> pdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setResolution(600);
    return printer;
}

// A recording printer of the same page and resolution.
RecordingPrinter recordingA4() {
    QPrinter model(QPrinter::HighResolution);
    model.setOutputFormat(QPrinter::PdfFormat);
    model.setPageSize(QPageSize(QPageSize::A4));
    model.setResolution(600);
    return RecordingPrinter(QSize(model.width(), model.height()), 600);
}

int pdfPageCount(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page") - pdf.count("/Type /Pages"));
}

// The document title of a PDF written by Qt (a UTF-16 string with a mark).
QString pdfTitle(const QByteArray& pdf) {
    const qsizetype start = pdf.indexOf("/Title (");
    if (start < 0) {
        return {};
    }
    QByteArray raw;
    for (qsizetype i = start + 8; i < pdf.size() && pdf[i] != ')'; ++i) {
        if (pdf[i] == '\\' && i + 1 < pdf.size()) {
            ++i;
        }
        raw += pdf[i];
    }
    if (raw.startsWith("\xFE\xFF")) {
        QString text;
        for (qsizetype i = 2; i + 1 < raw.size(); i += 2) {
            text += QChar(static_cast<char16_t>((static_cast<unsigned char>(raw[i]) << 8) |
                                                static_cast<unsigned char>(raw[i + 1])));
        }
        return text;
    }
    return QString::fromLatin1(raw);
}

void noRepaint() {}

// --- Values ---------------------------------------------------------------------

struct RectCase {
    int width;
    int height;
    int dpiX;
    int dpiY;
    PageRect pixels;
    PageRect twips;
};

TEST(PrintValues, PageRectangleAndTwipsTruncate) {
    const RectCase rows[] = {
        {4960, 7016, 600, 600, {190, 150, 4780, 6916}, {456, 360, 11472, 16598}},
        {2480, 3508, 300, 300, {190, 150, 2300, 3408}, {912, 720, 11040, 16358}},
        // 190 × 1440 / 1200 = 228; 150 × 1440 / 600 = 360; 4780 × 1440 / 1200 = 5736
        {4960, 7016, 1200, 600, {190, 150, 4780, 6916}, {228, 360, 5736, 16598}},
        // 2300 × 1440 / 7 = 473142.86 and 150 × 1440 / 7 = 30857.14: truncated
        {2480, 3508, 7, 7, {190, 150, 2300, 3408}, {39085, 30857, 473142, 701074}},
    };
    for (const RectCase& row : rows) {
        const PageRect pixels = printPageRectangle(row.width, row.height);
        EXPECT_EQ(row.pixels, pixels) << row.width << " x " << row.height;
        EXPECT_EQ(row.twips, toTwips(pixels, row.dpiX, row.dpiY)) << row.dpiX << " dpi";
    }
    EXPECT_EQ("My Journal Entry For 05 March 2024",
              printJobTitle(QStringLiteral("05 March 2024")).toStdString());
}

// --- The page loops on a recording device ------------------------------------------

class PrintLoopTest : public ::testing::Test {
protected:
    PrintLoopTest() : printer(recordingA4()) {}

    // Paragraph numbers in the order they were printed, with their page.
    std::vector<std::pair<int, int>> printedParagraphs() {
        std::vector<std::pair<int, int>> printed;
        static const QRegularExpression number(QStringLiteral("^Paragraph (\\d+)$"));
        for (const auto& run : printer.pages().texts) {
            const auto match = number.match(run.text);
            EXPECT_TRUE(match.hasMatch()) << run.text.toStdString();
            printed.emplace_back(run.page, match.captured(1).toInt());
        }
        return printed;
    }

    // Every run lies inside the page rectangle; each page's first line starts
    // at its top.
    void expectInsideTheMargins() {
        const int width = printer.device().width();
        const int height = printer.device().height();
        std::map<int, qreal> firstBaseline;
        for (const auto& run : printer.pages().texts) {
            EXPECT_EQ(190, run.baseline.x()) << run.text.toStdString();
            EXPECT_GT(run.baseline.y(), 150) << run.text.toStdString();
            EXPECT_LE(run.baseline.y(), height - 100) << run.text.toStdString();
            EXPECT_LT(run.baseline.x(), width - 180);
            if (!firstBaseline.count(run.page)) {
                firstBaseline[run.page] = run.baseline.y();
            }
        }
        for (const auto& [page, y] : firstBaseline) {
            EXPECT_LT(y, 150 + 120) << "page " << page << " starts at the top margin";
        }
    }

    RecordingPrinter printer;
    RichEditor editor;
};

TEST_F(PrintLoopTest, AllOfAThreePageEntryFillsThreePagesInsideTheMargins) {
    editor.replaceSelection(paragraphs(kThreePageLines));
    printEntry(editor, printer, QStringLiteral("title"), false, noRepaint);
    EXPECT_EQ(3, printer.pageCount());
    EXPECT_EQ(1, printer.begins);
    EXPECT_EQ(1, printer.ends);
    // Every paragraph once, in order, none lost at a page break.
    const auto printed = printedParagraphs();
    ASSERT_EQ(static_cast<size_t>(kThreePageLines), printed.size());
    for (int i = 0; i < kThreePageLines; ++i) {
        EXPECT_EQ(i, printed[i].second);
    }
    EXPECT_EQ(0, printed.front().first);
    EXPECT_EQ(2, printed.back().first);
    expectInsideTheMargins();
    EXPECT_EQ(printPageRectangle(printer.device().width(), printer.device().height()),
              editor.printRectangle());
}

// What a PDF holds, hidden or not: each line on its own page only, and a
// photo that starts a page nowhere else (no strip of it under the page
// before).
TEST_F(PrintLoopTest, EachPageDrawsOnlyItsOwnLines) {
    editor.replaceSelection(paragraphs(kThreePageLines));
    printEntry(editor, printer, QStringLiteral("title"), false, noRepaint);
    int firstOfPageTwo = -1;
    for (const auto& [page, paragraph] : printedParagraphs()) {
        if (page == 1 && firstOfPageTwo < 0) {
            firstOfPageTwo = paragraph;
        }
    }
    ASSERT_GT(firstOfPageTwo, 0);
    QTextCursor cursor(editor.document()->findBlockByNumber(firstOfPageTwo));
    QImage photo(96, 48, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    rtf::insertPicture(cursor, photo);

    for (bool selection : {false, true}) {
        SCOPED_TRACE(selection ? "selection" : "all");
        RecordingPrinter pages = recordingA4();
        editor.selectAll();
        printEntry(editor, pages, QStringLiteral("title"), selection, noRepaint);
        ASSERT_EQ(3, pages.pageCount());
        std::map<QString, std::vector<int>> pagesOfLine;
        for (const auto& run : pages.pages().allTexts) {
            pagesOfLine[run.text].push_back(run.page);
        }
        EXPECT_EQ(static_cast<size_t>(kThreePageLines), pagesOfLine.size());
        for (const auto& [text, onPages] : pagesOfLine) {
            EXPECT_EQ(1u, onPages.size()) << text.toStdString() << " is drawn on more pages";
        }
        ASSERT_EQ(1u, pages.pages().allPictures.size());
        EXPECT_EQ(1, pages.pages().allPictures[0].page);
        const QString first = QStringLiteral("Paragraph %1").arg(firstOfPageTwo);
        EXPECT_EQ(std::vector<int>{1}, pagesOfLine[first]);
    }
}

// A numbered paragraph that a page break splits has its number on the page
// where it starts only, and its words once each.
TEST_F(PrintLoopTest, SplitNumberedParagraphHasItsNumberOnItsFirstPageOnly) {
    editor.replaceSelection(QString(60, u'\n'));
    QTextCursor cursor(editor.document());
    cursor.movePosition(QTextCursor::End);
    QTextListFormat numbered;
    numbered.setStyle(QTextListFormat::ListDecimal);
    cursor.createList(numbered);
    QStringList words;
    for (int i = 0; i < 400; ++i) {
        words << QStringLiteral("w%1").arg(i);
    }
    cursor.insertText(words.join(u' '));
    printEntry(editor, printer, QStringLiteral("title"), false, noRepaint);
    ASSERT_EQ(2, printer.pageCount());
    std::vector<int> numberPages;
    std::map<QString, int> timesDrawn;
    for (const auto& run : printer.pages().allTexts) {
        if (run.text == u"1.") {
            numberPages.push_back(run.page);
        }
        for (const QString& word : run.text.split(u' ', Qt::SkipEmptyParts)) {
            ++timesDrawn[word];
        }
    }
    EXPECT_EQ(std::vector<int>{0}, numberPages);
    for (const QString& word : words) {
        EXPECT_EQ(1, timesDrawn[word]) << word.toStdString();
    }
}

TEST_F(PrintLoopTest, SelectionOfAMiddleParagraphPrintsOnlyItFromTheTopOfPageOne) {
    editor.replaceSelection(paragraphs(kThreePageLines));
    const QTextBlock middle = editor.document()->findBlockByNumber(72);
    editor.setSelection(middle.position(), middle.length() - 1);
    printEntry(editor, printer, QStringLiteral("title"), true, noRepaint);
    EXPECT_EQ(1, printer.pageCount());
    EXPECT_EQ("Paragraph 72", printer.pages().pageText(0).toStdString());
    expectInsideTheMargins();
    EXPECT_EQ(1, printer.ends);
}

TEST_F(PrintLoopTest, SelectionOverPagesPrintsEachSelectedParagraphOnce) {
    editor.replaceSelection(paragraphs(kThreePageLines));
    const int start = editor.document()->findBlockByNumber(5).position();
    const int end = editor.document()->findBlockByNumber(140).position();
    editor.setSelection(start, end - start);  // paragraphs 5 to 139 with their ends
    int repaints = 0;
    printEntry(editor, printer, QStringLiteral("title"), true, [&] { ++repaints; });
    const auto printed = printedParagraphs();
    ASSERT_EQ(135u, printed.size());
    for (size_t i = 0; i < printed.size(); ++i) {
        EXPECT_EQ(static_cast<int>(i) + 5, printed[i].second);
    }
    EXPECT_EQ(3, printer.pageCount());
    expectInsideTheMargins();
    EXPECT_GE(repaints, 5) << "the window repaints during the job";
}

TEST_F(PrintLoopTest, EmptyEntryAndEmptySelectionGiveOneEmptyPage) {
    printEntry(editor, printer, QStringLiteral("title"), false, noRepaint);
    EXPECT_EQ(1, printer.pageCount());
    EXPECT_TRUE(printer.pages().texts.empty());

    RecordingPrinter second = recordingA4();
    editor.replaceSelection(QStringLiteral("words"));
    editor.setSelection(2, 0);
    printEntry(editor, second, QStringLiteral("title"), true, noRepaint);
    EXPECT_EQ(1, second.pageCount());
    EXPECT_TRUE(second.pages().texts.empty());
    EXPECT_EQ(1, second.ends);
}

TEST_F(PrintLoopTest, BothLoopsSetTheTitleBeforeBeginning) {
    editor.replaceSelection(QStringLiteral("a"));
    const QString title = printJobTitle(QStringLiteral("20 March 2024"));
    for (bool selection : {false, true}) {
        RecordingPrinter p = recordingA4();
        editor.selectAll();
        printEntry(editor, p, title, selection, noRepaint);
        EXPECT_EQ(title, p.title()) << selection;
    }
}

TEST_F(PrintLoopTest, AFailureEndsTheDocumentAndPassesOn) {
    editor.replaceSelection(paragraphs(kThreePageLines));
    for (bool selection : {false, true}) {
        RecordingPrinter p = recordingA4();
        p.failAtPage = 2;
        editor.selectAll();
        EXPECT_THROW_MSG(printEntry(editor, p, QStringLiteral("t"), selection, noRepaint), Error,
                         "paper jam");
        EXPECT_EQ(1, p.ends) << selection;
        EXPECT_FALSE(p.printing());
    }
}

// --- The same loops into PDF files -------------------------------------------------

TEST(PrintToPdf, PagesAndTitleOfTheFile) {
    struct Case {
        const char* name;
        int lines;
        bool selection;
        int pages;
    };
    const Case rows[] = {
        {"three-page entry", kThreePageLines, false, 3},
        {"empty entry", 0, false, 1},
        {"middle paragraph", kThreePageLines, true, 1},
    };
    testsupport::TempFolder folder;
    const QString title = printJobTitle(QStringLiteral("05 March 2024"));
    for (const Case& row : rows) {
        RichEditor editor;
        editor.replaceSelection(paragraphs(row.lines));
        if (row.selection) {
            const QTextBlock middle = editor.document()->findBlockByNumber(72);
            editor.setSelection(middle.position(), middle.length() - 1);
        }
        const QString path = folder.file(QString::fromLatin1(row.name) + ".pdf");
        auto printer = pdfPrinter(path);
        {
            PrinterDevice device(*printer);
            printEntry(editor, device, title, row.selection, noRepaint);
            EXPECT_FALSE(device.printing());
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << row.name;
        const QByteArray pdf = file.readAll();
        EXPECT_EQ(row.pages, pdfPageCount(pdf)) << row.name;
        EXPECT_EQ(title.toStdString(), pdfTitle(pdf).toStdString()) << row.name;
        EXPECT_EQ(title, printer->docName());
    }
}

TEST(PrintToPdf, AFileThatCannotBeMadeIsReported) {
    testsupport::TempFolder folder;
    const QString path = folder.file("missing/entry.pdf");
    auto printer = pdfPrinter(path);
    RichEditor editor;
    editor.replaceSelection(QStringLiteral("text"));
    PrinterDevice device(*printer);
    EXPECT_THROW_MSG(printEntry(editor, device, QStringLiteral("t"), false, noRepaint), Error,
                     ("Cannot create file " + path).toStdString());
    EXPECT_FALSE(QFile::exists(path));
}

// --- The command with scripted dialogs --------------------------------------------

class PrintCommandTest : public ::testing::Test {
protected:
    PrintCommandTest() {
        editor.replaceSelection(paragraphs(kThreePageLines));
        command.setPrintPreview(
            [this](QWidget*, QPrinter&, const std::function<void(QPrinter&)>&) { ++previews; });
    }

    // A dialog that chooses a PDF file and the given range.
    void chooseFile(const QString& path, QPrinter::PrintRange range,
                    PrintDialogResult result = PrintDialogResult::Print) {
        command.setPrintDialog([=, this](QWidget*, QPrinter& printer, bool selectionAvailable) {
            offeredSelection.push_back(selectionAvailable);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPrintRange(range);
            return result;
        });
    }

    QByteArray read(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    testsupport::TempFolder folder;
    RichEditor editor;
    EntryPrintCommand command;
    std::vector<bool> offeredSelection;
    int previews = 0;
};

TEST_F(PrintCommandTest, PrintsAllToAPdfFileAt600Dpi) {
    const QString path = folder.file("all.pdf");
    chooseFile(path, QPrinter::AllPages);
    command.run(editor, nullptr, QStringLiteral("My Journal Entry For 20 March 2024"));
    EXPECT_EQ(3, pdfPageCount(read(path)));
    EXPECT_EQ(600, command.printer().resolution());
    EXPECT_EQ(std::vector<bool>{false}, offeredSelection) << "no selection, none offered";
    EXPECT_EQ("My Journal Entry For 20 March 2024", pdfTitle(read(path)).toStdString());
}

TEST_F(PrintCommandTest, OffersAndPrintsTheSelection) {
    const QTextBlock middle = editor.document()->findBlockByNumber(72);
    editor.setSelection(middle.position(), middle.length() - 1);
    const QString path = folder.file("selection.pdf");
    chooseFile(path, QPrinter::Selection);
    command.run(editor, nullptr, QStringLiteral("t"));
    EXPECT_EQ(std::vector<bool>{true}, offeredSelection);
    EXPECT_EQ(1, pdfPageCount(read(path)));
}

TEST_F(PrintCommandTest, CancelPrintsNothing) {
    const QString path = folder.file("cancelled.pdf");
    chooseFile(path, QPrinter::AllPages, PrintDialogResult::Cancelled);
    command.run(editor, nullptr, QStringLiteral("t"));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(0, previews);
}

TEST_F(PrintCommandTest, PreviewDrawsThroughTheSameLoop) {
    const QString path = folder.file("preview.pdf");
    chooseFile(path, QPrinter::AllPages, PrintDialogResult::Preview);
    command.setPrintPreview(
        [&](QWidget*, QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
            ++previews;
            EXPECT_EQ(&command.printer(), &printer);
            // The preview's own print button prints through the same loop.
            paint(printer);
        });
    command.run(editor, nullptr, QStringLiteral("title"));
    EXPECT_EQ(1, previews);
    EXPECT_EQ(3, pdfPageCount(read(path)));
}

TEST_F(PrintCommandTest, PreviewFailureIsReportedAfterItCloses) {
    const QString path = folder.file("no/such/folder/preview.pdf");
    chooseFile(path, QPrinter::AllPages, PrintDialogResult::Preview);
    command.setPrintPreview([&](QWidget*, QPrinter& printer,
                                const std::function<void(QPrinter&)>& paint) { paint(printer); });
    EXPECT_THROW_MSG(command.run(editor, nullptr, QStringLiteral("t")), Error,
                     ("Cannot create file " + path).toStdString());
}

TEST_F(PrintCommandTest, PrintToFileOffersTheDaysName) {
    QString offered;
    command.setPrintDialog([&offered](QWidget*, QPrinter& printer, bool) {
        offered = printer.docName();
        return PrintDialogResult::Cancelled;
    });
    command.run(editor, nullptr, QStringLiteral("My Journal Entry For 10 December 2026"),
                QStringLiteral("2026-12-10"));
    EXPECT_EQ("2026-12-10", offered.toStdString());
}

// Qt's own dialog: print to file offers the day's name, not "print.pdf", in
// the folder printed to last.
TEST(PrintDialog, PrintToFileOffersTheDocumentsName) {
    QPrinter printer(QPrinter::HighResolution);
    // Without an earlier file Qt's folder is the home or the working folder.
    const struct {
        QString outputFile;
        QString offered;
    } rows[] = {
        {QString(), QStringLiteral("2026-12-10.pdf")},
        {QStringLiteral("/tmp/prints/2026-12-09.pdf"),
         QStringLiteral("/tmp/prints/2026-12-10.pdf")},
    };
    for (const auto& row : rows) {
        printer.setOutputFileName(row.outputFile);
        printer.setDocName(QStringLiteral("2026-12-10"));
        QString shown;
        QTimer::singleShot(50, [&shown] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->objectName() == u"PrintDialog1" && window->isVisible()) {
                    if (auto* file = window->findChild<QLineEdit*>(QStringLiteral("filename"))) {
                        shown = file->text();
                    }
                    qobject_cast<QDialog*>(window)->reject();
                }
            }
        });
        EXPECT_EQ(PrintDialogResult::Cancelled, platformPrintDialog()(nullptr, printer, false));
        if (row.outputFile.isEmpty()) {
            const QString folder = QFileInfo(shown).absolutePath();
            EXPECT_TRUE(folder == QDir::homePath() || folder == QDir::currentPath())
                << shown.toStdString();
            EXPECT_EQ(row.offered.toStdString(), QFileInfo(shown).fileName().toStdString());
        } else {
            EXPECT_EQ(row.offered.toStdString(), shown.toStdString());
        }
    }
}

TEST_F(PrintCommandTest, WithoutAnyPrinterReportsNoDefaultPrinter) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        GTEST_SKIP() << "this machine has a printer";
    }
    command.setPrintDialog([](QWidget*, QPrinter& printer, bool) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        return PrintDialogResult::Print;
    });
    EXPECT_THROW_MSG(command.run(editor, nullptr, QStringLiteral("t")), Error,
                     "There is no default printer currently selected");
}

}  // namespace
}  // namespace quillmere
