// text, convert, search and export of the journal tool, run as a process the
// way a script would run them.
#include "store/day.h"
#include "store/journal_table.h"

#include "test_support.h"

#include <QDate>
#include <QFile>
#include <QProcess>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

struct ToolRun {
    int code;
    QByteArray out;
    QByteArray err;
};

ToolRun journalTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(QUILLMERE_JOURNAL_TOOL), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// A journal with three entries: one with formatting codes around the text,
// one whose only "text" is a font name, one emptied to no text.
QString makeJournal(const TempFolder& dir) {
    const QString path = dir.file("Journal.cds");
    JournalTable t;
    t.OpenJournal(path);
    t.StoreEntry(dayFromDate(QDate(2010, 9, 8)),
                 "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Walked to the "
                 "{\\b Lighthouse}\\par Caf\\'e9 after.}");
    t.StoreEntry(dayFromDate(QDate(2010, 9, 9)),
                 "{\\rtf1\\ansi{\\fonttbl{\\f0 Lighthouse Sans;}}\\f0 Rain all day.}");
    t.StoreEntry(dayFromDate(QDate(2010, 9, 10)), "{\\rtf1\\ansi }");
    t.close();
    return path;
}

}  // namespace

TEST(JournalContentTool, TextPrintsOnlyTheDisplayedText) {
    TempFolder dir;
    const ToolRun r = journalTool({"text", makeJournal(dir), "2010-09-08"});
    ASSERT_EQ(0, r.code) << r.err.toStdString();
    EXPECT_EQ(QByteArray("Walked to the Lighthouse\nCaf\xC3\xA9 after.\n"), r.out);
}

// An entry another word processor wrote: a bulleted and a numbered list, a
// picture, a shape with its properties and a text box, Shift-JIS text with
// a '}' trail byte. "text" and "convert" to .txt print the same text.
TEST(JournalContentTool, TextAndConvertShowWhatTheEditorShows) {
    TempFolder dir;
    const QByteArray entry =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset128 Gothic;}}"
        "{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt}\\fi-200\\li200 milk\\par\\pard"
        "{\\*\\pn\\pnlvlbody\\pndec}one\\par two\\par\\pard "
        "A picture {\\pict\\pngblip 00} here"
        "{\\shp{\\sp{\\sn fFilled}{\\sv 0}}{\\*\\shpinst{\\shptxt Box text\\par}}}"
        "{\\f1 \x84\x7d}}";
    const QString journal = dir.file("Journal.cds");
    {
        JournalTable t;
        t.OpenJournal(journal);
        t.StoreEntry(dayFromDate(QDate(2011, 1, 2)), entry);
        t.close();
    }
    const QByteArray expected =
        "\xE2\x80\xA2 milk\n1. one\n2. two\nA picture  here\nBox text\n\xD0\xBC\n";
    const ToolRun text = journalTool({"text", journal, "2011-01-02"});
    ASSERT_EQ(0, text.code) << text.err.toStdString();
    EXPECT_EQ(expected, text.out);
    const QString in = dir.write("entry.rtf", entry);
    const ToolRun convert = journalTool({"convert", in, dir.file("entry.txt")});
    ASSERT_EQ(0, convert.code) << convert.err.toStdString();
    EXPECT_EQ(expected, dir.read("entry.txt") + "\n");
}

TEST(JournalContentTool, TextOfAMissingDayFails) {
    TempFolder dir;
    const ToolRun r = journalTool({"text", makeJournal(dir), "2010-09-11"});
    EXPECT_EQ(1, r.code);
    EXPECT_EQ(QByteArray("text: no entry for 2010-09-11"), r.err.trimmed());
}

TEST(JournalContentTool, SearchMatchesDisplayedTextCaseInsensitively) {
    TempFolder dir;
    const QString journal = makeJournal(dir);
    struct Row {
        QStringList args;
        QByteArray days;
    } rows[] = {
        {{"lighthouse"}, "2010-09-08\n"},  // not the font name of the 9th
        {{"ghth"}, "2010-09-08\n"},        // inside a word
        {{"RAIN"}, "2010-09-09\n"},
        {{"a", "--from", "2010-09-09"}, "2010-09-09\n"},
        {{"a", "--to", "2010-09-08"}, "2010-09-08\n"},
        {{"a", "--from", "2010-09-10", "--to", "2010-09-08"}, ""},
        {{"Arial"}, ""},  // only in the font table
    };
    for (const Row& row : rows) {
        const ToolRun r = journalTool(QStringList{"search", journal} + row.args);
        EXPECT_EQ(0, r.code) << row.args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(row.days, r.out) << row.args.join(' ').toStdString();
    }
}

TEST(JournalContentTool, ExportWritesDecodedEntriesAndHonoursSkipExisting) {
    TempFolder dir;
    const QString journal = makeJournal(dir);
    const QString folder = dir.file("out");
    ASSERT_TRUE(QDir().mkpath(folder));
    ToolRun r = journalTool({"export", journal, folder});
    ASSERT_EQ(0, r.code) << r.err.toStdString();
    QFile first(folder + "/2010-09-08.rtf");
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_TRUE(first.readAll().startsWith("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"));
    EXPECT_TRUE(QFile::exists(folder + "/2010-09-10.rtf"));

    // A second run without a policy refuses the existing files; with
    // --skip-existing it keeps them and succeeds.
    r = journalTool({"export", journal, folder});
    EXPECT_EQ(1, r.code);
    r = journalTool({"export", journal, folder, "--skip-existing"});
    EXPECT_EQ(0, r.code) << r.err.toStdString();
}

TEST(JournalContentTool, ConvertRoundTripsPlainTextThroughRtf) {
    TempFolder dir;
    const QString txt = dir.write("in.txt", "first line\nsecond \xE9 line\n");
    const QString rtf = dir.file("mid.rtf");
    const QString back = dir.file("back.txt");
    ToolRun r = journalTool({"convert", txt, rtf});
    ASSERT_EQ(0, r.code) << r.err.toStdString();
    EXPECT_TRUE(dir.read("mid.rtf").startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    EXPECT_TRUE(dir.read("mid.rtf").contains("\\'e9"));
    r = journalTool({"convert", rtf, back});
    ASSERT_EQ(0, r.code) << r.err.toStdString();
    // Windows-1252 in, UTF-8 with LF line ends out, as the editor saves it.
    EXPECT_EQ(QByteArray("first line\nsecond \xC3\xA9 line\n"), dir.read("back.txt"));
}

TEST(JournalContentTool, WrongUsageExitsTwo) {
    EXPECT_EQ(2, journalTool({"text", "only-one-argument"}).code);
    EXPECT_EQ(2, journalTool({"convert"}).code);
    EXPECT_EQ(2, journalTool({"search"}).code);
}
