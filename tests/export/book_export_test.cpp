// The diary as one book: each form read back by a program that knows it
// (html5lib, cmark, poppler's pdfinfo and pdftotext), and every path that
// could leave half a book or lose an entry.
#include "export_test_journal.h"

#include "../support/failing_files.h"
#include "editor/rtf/rtf.h"
#include "export/core/book_export.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <gtest/gtest.h>

namespace {

using exporttest::Recorder;
using exporttest::TestJournal;
using quillmere::ExportBook;
using quillmere::ExportEnd;
using quillmere::ExportForm;
using quillmere::ExportSummary;

// An entry with every kind of formatting the books carry, a picture and a
// link, made by the editor's own RTF writer.
QByteArray showcaseRtf() {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(11);
    cursor.insertText(QStringLiteral("Plain "), plain);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("bold"), bold);
    cursor.insertText(QStringLiteral(" "), plain);
    QTextCharFormat italic = plain;
    italic.setFontItalic(true);
    cursor.insertText(QStringLiteral("italic"), italic);
    cursor.insertText(QStringLiteral(" "), plain);
    QTextCharFormat underline = plain;
    underline.setFontUnderline(true);
    cursor.insertText(QStringLiteral("underlined"), underline);
    cursor.insertText(QStringLiteral(" "), plain);
    QTextCharFormat red = plain;
    red.setForeground(QColor(0xFF, 0x00, 0x00));
    red.setFontPointSize(18);
    cursor.insertText(QStringLiteral("big red"), red);
    cursor.insertText(QStringLiteral(" see https://example.org/page now"), plain);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred);
    cursor.insertText(QStringLiteral("Centred line"), plain);
    cursor.insertBlock(QTextBlockFormat());
    cursor.createList(QTextListFormat::ListDisc);
    cursor.insertText(QStringLiteral("first item"), plain);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second item"), plain);
    // A block format of its own: the next paragraph is not in the list.
    cursor.insertBlock(QTextBlockFormat());
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(0x20, 0x80, 0x40));
    quillmere::rtf::insertPicture(cursor, picture);
    return quillmere::rtf::writeRtf(doc);
}

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed (install it with scripts/setup.sh): "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

constexpr char kHtmlProbe[] = R"(
import html5lib, json, sys
parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
doc = parser.parse(open(sys.argv[1], 'rb'))
text = lambda e: ''.join(e.itertext())
print(json.dumps({
  'h2': [text(e) for e in doc.iter('h2')],
  'b': [text(e) for e in doc.iter('b')],
  'i': [text(e) for e in doc.iter('i')],
  'u': [text(e) for e in doc.iter('u')],
  'span': [e.get('style') + '|' + text(e) for e in doc.iter('span')],
  'p': [(e.get('style') or '') + '|' + text(e) for e in doc.iter('p')],
  'li': [text(e) for ul in doc.iter('ul') for e in ul.iter('li')],
  'img': [e.get('src')[:22] for e in doc.iter('img')],
  'a': [e.get('href') + '|' + text(e) for e in doc.iter('a')],
}))
)";

QStringList listOf(const QJsonObject& object, const char* key) {
    QStringList out;
    for (const QJsonValue& value : object.value(QLatin1String(key)).toArray()) {
        out << value.toString();
    }
    return out;
}

// One line per element, for readable comparisons.
std::string lines(const QStringList& list) {
    return list.join(QLatin1Char('\n')).toStdString();
}

class BookExportTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder;
    TestJournal journal{folder.path()};
    Recorder recorder;

    ExportSummary exportAs(ExportForm form, const QString& name,
                           const quillmere::DayRange& days = {}) {
        return ExportBook(journal.table(), folder.file(name), form, recorder.callbacks(), days);
    }
};

TEST_F(BookExportTest, HtmlParsesWithHeadingsFormattingPictureAndLink) {
    journal.store(QDate(2010, 6, 15), showcaseRtf());
    journal.store(QDate(2010, 6, 16), exporttest::sampleRtf(QStringLiteral("second")));
    ASSERT_EQ(ExportEnd::kCompleted, exportAs(ExportForm::kHtml, QStringLiteral("Diary.html")).end);

    const QString json =
        // Debian's python3, which python3-html5lib serves.
        run(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QLatin1String(kHtmlProbe),
                                                 folder.file(QStringLiteral("Diary.html"))});
    const QJsonObject got = QJsonDocument::fromJson(json.toUtf8()).object();
    EXPECT_EQ(lines(QStringList({QStringLiteral("15 June 2010"), QStringLiteral("16 June 2010")})),
              lines(listOf(got, "h2")));
    EXPECT_EQ(lines(QStringList{QStringLiteral("bold")}), lines(listOf(got, "b")));
    EXPECT_EQ(lines(QStringList{QStringLiteral("italic")}), lines(listOf(got, "i")));
    EXPECT_EQ(lines(QStringList{QStringLiteral("underlined")}), lines(listOf(got, "u")));
    EXPECT_TRUE(
        listOf(got, "span")
            .contains(QStringLiteral("font-family:'Arial';font-size:18pt;color:#ff0000|big red")))
        << listOf(got, "span").join(u'\n').toStdString();
    EXPECT_TRUE(listOf(got, "p").contains(QStringLiteral("text-align:center|Centred line")));
    EXPECT_EQ(lines(QStringList({QStringLiteral("first item"), QStringLiteral("second item")})),
              lines(listOf(got, "li")));
    EXPECT_EQ(QStringList{QStringLiteral("data:image/png;base64,")}, listOf(got, "img"));
    EXPECT_EQ(
        lines(QStringList{QStringLiteral("https://example.org/page|https://example.org/page")}),
        lines(listOf(got, "a")));
}

TEST_F(BookExportTest, MarkdownRendersBackThroughCmarkWithItsPictureFolder) {
    journal.store(QDate(2010, 6, 15), showcaseRtf());
    journal.store(QDate(2010, 6, 16),
                  "{\\rtf1\\ansi\\pard # not a heading, 1. not a list, *stars* and [brackets]"
                  "\\par\r\n}");
    ASSERT_EQ(ExportEnd::kCompleted,
              exportAs(ExportForm::kMarkdown, QStringLiteral("Diary.md")).end);
    EXPECT_EQ("2010-06-15-1.png",
              lines(exporttest::filesIn(folder.file(QStringLiteral("Diary_pictures")))));

    const QString html = run(QStringLiteral("cmark"), {folder.file(QStringLiteral("Diary.md"))});
    const QStringList expected = {
        QStringLiteral("<h1>Quillmere diary</h1>"),
        QStringLiteral("<h2>15 June 2010</h2>"),
        QStringLiteral("<p>Plain <strong>bold</strong> <em>italic</em> underlined big red see "
                       "<a href=\"https://example.org/page\">https://example.org/page</a> now</p>"),
        QStringLiteral("<li>first item</li>"),
        QStringLiteral("<img src=\"Diary_pictures/2010-06-15-1.png\" alt=\"\" />"),
        // Text that looks like markup stays text.
        QStringLiteral("<p># not a heading, 1. not a list, *stars* and [brackets]</p>"),
    };
    for (const QString& line : expected) {
        EXPECT_TRUE(html.contains(line)) << line.toStdString() << "\nin\n" << html.toStdString();
    }
}

TEST_F(BookExportTest, PdfHasItsPagesAndStartsWithTheFirstDate) {
    for (int i = 0; i < 40; ++i) {
        journal.store(QDate(2010, 6, 1).addDays(i), showcaseRtf());
    }
    const quillmere::DayRange june{quillmere::dayFromDate(QDate(2010, 6, 3)),
                                   quillmere::dayFromDate(QDate(2010, 6, 30))};
    const ExportSummary summary = exportAs(ExportForm::kPdf, QStringLiteral("June.pdf"), june);
    ASSERT_EQ(ExportEnd::kCompleted, summary.end);
    EXPECT_EQ(28, summary.written);

    const QString info = run(QStringLiteral("pdfinfo"), {folder.file(QStringLiteral("June.pdf"))});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+[3-9]\\n"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595"))))
        << "A4 by default: " << info.toStdString();
    const QString text = run(
        QStringLiteral("pdftotext"),
        {QStringLiteral("-layout"), folder.file(QStringLiteral("June.pdf")), QStringLiteral("-")});
    const qsizetype first = text.indexOf(QStringLiteral("03 June 2010"));
    EXPECT_GE(first, 0);
    EXPECT_LT(first, text.indexOf(QStringLiteral("04 June 2010")));
    EXPECT_FALSE(text.contains(QStringLiteral("02 June 2010")));
    EXPECT_FALSE(text.contains(QStringLiteral("01 July 2010")));
    // Page numbers stand alone at the foot of the pages.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n\\s+2\\s*\\n"))));
}

// The paths that could leave half a book, replace a book the user kept, or
// lose an entry without a word, for every form.
TEST_F(BookExportTest, NoHalfBookAndNoEntryLostSilently) {
    struct Case {
        const char* label;
        std::function<void(Recorder&)> script;
        bool damagedEntry;
        bool failingWrite;
        ExportEnd end;
        bool oldFileKept;
        int failed;
    };
    const Case cases[] = {
        {"nominal: an existing book replaced on Yes", [](Recorder& r) { r.answers = {true}; },
         false, false, ExportEnd::kCompleted, false, 0},
        {"robustness: No keeps the existing book", [](Recorder& r) { r.answers = {false}; }, false,
         false, ExportEnd::kCompleted, true, 0},
        {"robustness: Cancel leaves the old book as it was",
         [](Recorder& r) { r.cancelAfterBar = 1; }, false, false, ExportEnd::kCancelled, true, 0},
        {"robustness: a damaged entry is named and left out, the book is written", [](Recorder&) {},
         true, false, ExportEnd::kCompleted, false, 1},
        {"robustness: Stop after a damaged entry writes nothing",
         [](Recorder& r) { r.stopAtError = 1; }, true, false, ExportEnd::kStopped, true, 1},
        {"robustness: a failed write leaves the old book and says which file", [](Recorder&) {},
         false, true, ExportEnd::kFolderFailed, true, 0},
    };
    const std::pair<ExportForm, const char*> forms[] = {{ExportForm::kHtml, "Diary.html"},
                                                        {ExportForm::kMarkdown, "Diary.md"},
                                                        {ExportForm::kPdf, "Diary.pdf"}};
    for (const auto& [form, name] : forms) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.label) + " (" + name + ")");
            testsupport::TempFolder out;
            TestJournal diary(out.path());
            diary.store(QDate(2010, 6, 15), exporttest::sampleRtf(QStringLiteral("first")));
            if (c.damagedEntry) {
                diary.insertRaw(QDate(2010, 6, 16), QByteArray("\x78\x01\xff\xff\xff", 5));
            }
            diary.store(QDate(2010, 6, 17), exporttest::sampleRtf(QStringLiteral("third")));
            const QString path = out.write(QString::fromLatin1(name), "old book");
            Recorder script;
            c.script(script);
            testsupport::FailingFiles failing = testsupport::FailingFiles::everyFile();
            ExportSummary summary;
            {
                // nullptr: the real file system.
                const quillmere::ScopedFileAccess seam(c.failingWrite ? &failing : nullptr);
                summary = ExportBook(diary.table(), path, form, script.callbacks());
            }
            EXPECT_EQ(c.end, summary.end);
            EXPECT_EQ(c.failed, summary.failed);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(c.oldFileKept, file.readAll() == "old book");
            if (c.damagedEntry) {
                EXPECT_EQ("data error", lines(script.errors));
            }
            if (c.failingWrite) {
                EXPECT_TRUE(summary.folderError.startsWith(QStringLiteral("Cannot write \"")))
                    << summary.folderError.toStdString();
            }
            // Nothing but the book (and a Markdown book's picture folder).
            EXPECT_EQ(name, lines(exporttest::filesIn(out.path())
                                      .filter(QRegularExpression(QStringLiteral("^Diary")))));
        }
    }
}

TEST(BookNames, FileNameAndTitleFollowTheRange) {
    const double from = quillmere::dayFromDate(QDate(2010, 1, 1));
    const double to = quillmere::dayFromDate(QDate(2010, 12, 31));
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        quillmere::DayRange days;
        ExportForm form;
        const char* name;
        const char* title;
    };
    const Row rows[] = {
        {{}, ExportForm::kHtml, "Diary.html", "Quillmere diary"},
        {{from, to},
         ExportForm::kMarkdown,
         "Diary_2010-01-01_2010-12-31.md",
         "Quillmere diary, 01 January 2010 to 31 December 2010"},
        {{from, inf},
         ExportForm::kPdf,
         "Diary_from_2010-01-01.pdf",
         "Quillmere diary, from 01 January 2010"},
        {{-inf, to},
         ExportForm::kHtml,
         "Diary_to_2010-12-31.html",
         "Quillmere diary, to 31 December 2010"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(QString::fromLatin1(row.name), quillmere::BookFileName(row.form, row.days));
        EXPECT_EQ(QString::fromLatin1(row.title), quillmere::BookTitle(row.days));
    }
    EXPECT_EQ(QPageSize(QPageSize::Letter),
              quillmere::BookPageSize(QLocale(QLocale::English, QLocale::UnitedStates)));
    EXPECT_EQ(QPageSize(QPageSize::A4),
              quillmere::BookPageSize(QLocale(QLocale::German, QLocale::Germany)));
}

}  // namespace

// A numbered list whose items begin with an underlined link, or plain.
QByteArray numberedListRtf(bool underlinedStart) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(11);
    QTextCharFormat underline = plain;
    underline.setFontUnderline(true);
    cursor.insertText(QStringLiteral("Things to do"), plain);
    cursor.insertBlock(QTextBlockFormat());
    cursor.createList(QTextListFormat::ListDecimal);
    cursor.insertText(QStringLiteral("https://example.org"), underlinedStart ? underline : plain);
    cursor.insertText(QStringLiteral(" first"), plain);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second"), underlinedStart ? underline : plain);
    return quillmere::rtf::writeRtf(doc);
}

// The list labels are drawn alike whether an item begins with an underlined
// link or not: the label never takes the underline or colour of the item's
// first characters. (pdftotext cannot see an underline, so the first page is
// rendered and the strip left of the items' text compared.)
TEST_F(BookExportTest, PdfListLabelsKeepTheirPlainLookBesideALink) {
    QImage pages[2];
    for (int i = 0; i < 2; ++i) {
        const QString diary = folder.file(QStringLiteral("diary%1").arg(i));
        QDir().mkpath(diary);
        TestJournal one{diary};
        one.store(QDate(2010, 6, 1), numberedListRtf(i == 0));
        const QString pdf = folder.file(QStringLiteral("list%1.pdf").arg(i));
        ASSERT_EQ(ExportEnd::kCompleted,
                  ExportBook(one.table(), pdf, ExportForm::kPdf, recorder.callbacks(), {}).end);
        const QString png = folder.file(QStringLiteral("list%1").arg(i));
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-singlefile"),
             QStringLiteral("-png"), pdf, png});
        pages[i] = QImage(png + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(pages[i].isNull());
    }
    ASSERT_EQ(pages[0].size(), pages[1].size());
    // The items' text starts 2 cm + the list's indent (40 of 96 dots per
    // inch) from the page's edge; at 100 dots per inch that is x = 120.
    const int textStart = int(100 * (2.0 / 2.54 + 40.0 / 96.0));
    int differing = 0;
    int firstDifferenceX = pages[0].width();
    for (int y = 0; y < pages[0].height(); ++y) {
        for (int x = 0; x < pages[0].width(); ++x) {
            if (pages[0].pixel(x, y) != pages[1].pixel(x, y)) {
                ++differing;
                firstDifferenceX = std::min(firstDifferenceX, x);
            }
        }
    }
    EXPECT_GT(differing, 0) << "the underlined, blue link is drawn";
    EXPECT_GE(firstDifferenceX, textStart - 2) << "a list label differs";
}
