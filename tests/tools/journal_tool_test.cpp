// The journal tool's commands, run in-process, and the built executable's
// exit codes.
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/journal_table.h"
#include "tools/journal/commands.h"
#include "tools/journal/journal_generate.h"

#include "journal_tool_run.h"
#include "test_support.h"

#include <QBuffer>
#include <QDate>
#include <QProcess>

#include <cctype>
#include <string>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

using tooltest::tool;
using tooltest::ToolRun;

QString makeJournal(const TempFolder& dir) {
    const QString path = dir.file("Journal.cds");
    JournalTable t;
    t.OpenJournal(path);
    t.StoreEntry(dayFromDate(QDate(2010, 5, 3)), "{\\rtf1 three}");
    t.StoreEntry(dayFromDate(QDate(2010, 5, 1)), "{\\rtf1 one}");
    t.close();
    return path;
}

}  // namespace

TEST(JournalTool, InfoListsColumnsAndRows) {
    TempFolder dir;
    const ToolRun r = tool({"info", makeJournal(dir)});
    ASSERT_EQ(0, r.code) << r.err.toStdString();
    EXPECT_TRUE(
        r.out.contains("Signature: 0xBDE01996  Version: 1.0  Flags: 0x00000003  Row offset: 88"))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("JournalDate       dateTime (0x00080008)  flags 0x0000\n"));
    EXPECT_TRUE(
        r.out.contains("JournalEntry      bin.hex (0x004B0004)  flags 0x0000  subtype Binary"));
    EXPECT_TRUE(r.out.endsWith("Rows: 2\n"));
}

TEST(JournalTool, ListIsInDateOrderWithStoredSizes) {
    TempFolder dir;
    const QString path = makeJournal(dir);
    const ToolRun r = tool({"list", path});
    ASSERT_EQ(0, r.code);
    const QByteArray one = QByteArray::number(EncodeEntryContent("{\\rtf1 one}").size());
    const QByteArray three = QByteArray::number(EncodeEntryContent("{\\rtf1 three}").size());
    EXPECT_EQ(QByteArray("2010-05-01\t" + one + "\n2010-05-03\t" + three + "\n"), r.out);
}

TEST(JournalTool, PutThenCatRoundTripsAndUpdatesInPlace) {
    TempFolder dir;
    const QString journal = dir.file("New.cds");
    const QString source = dir.write("entry.rtf", "{\\rtf1 first}");
    EXPECT_EQ(0, tool({"put", journal, "2011-02-28", source}).code);
    dir.write("entry.rtf", "{\\rtf1 second}");
    EXPECT_EQ(0, tool({"put", journal, "2011-02-28", source}).code);
    const ToolRun r = tool({"cat", journal, "2011-02-28"});
    ASSERT_EQ(0, r.code) << r.err.toStdString();
    EXPECT_EQ(QByteArray("{\\rtf1 second}"), r.out);
    EXPECT_EQ(QByteArray("2011-02-28\t") +
                  QByteArray::number(EncodeEntryContent("{\\rtf1 second}").size()) + "\n",
              tool({"list", journal}).out);
}

TEST(JournalTool, CheckFindsDamagedEntries) {
    TempFolder dir;
    const QString path = dir.file("Journal.cds");
    {
        JournalTable t;
        t.OpenJournal(path);
        t.StoreEntry(dayFromDate(QDate(2010, 5, 1)), "{\\rtf1 fine}");
        t.StoreDay(dayFromDate(QDate(2010, 5, 2)), [] { return QByteArray("not zlib"); });
        t.close();
    }
    const ToolRun r = tool({"check", path});
    EXPECT_EQ(1, r.code);
    EXPECT_EQ(QByteArray("2010-05-02: data error\n"), r.out);
    EXPECT_EQ(QByteArray("check: 1 of 2 entries damaged\n"), r.err);

    TempFolder good;
    const ToolRun ok = tool({"check", makeJournal(good)});
    EXPECT_EQ(0, ok.code);
    EXPECT_EQ(QByteArray("OK: 2 entries\n"), ok.out);
}

TEST(JournalTool, GenerateMakesConsecutiveDaysOfTheAskedSize) {
    TempFolder dir;
    const QString path = dir.file("Big.cds");
    ASSERT_EQ(0, tool({"generate", path, "--days", "30", "--seed", "7", "--size", "1500"}).code);
    JournalTable t;
    t.OpenJournal(path);
    ASSERT_EQ(30, t.recordCount());
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(journaltool::generatedFirstDay() + i, t.dayAt(i));
        const QByteArray rtf = DecodeEntryContent(t.entryAt(i));
        EXPECT_TRUE(rtf.startsWith("{\\rtf1")) << i;
        EXPECT_NEAR(1500, rtf.size(), 40) << i;
    }
    EXPECT_NE(DecodeEntryContent(t.entryAt(0)), DecodeEntryContent(t.entryAt(1)));
    // Generating over an existing journal is refused, leaving it alone.
    const ToolRun again = tool({"generate", path, "--days", "1"});
    EXPECT_EQ(1, again.code);
    EXPECT_TRUE(again.err.startsWith("generate: ")) << again.err.toStdString();
}

struct UsageCase {
    const char* name;
    QStringList args;
    int code;
};

class JournalToolUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(JournalToolUsage, ExitCodes) {
    TempFolder dir;
    const QString journal = makeJournal(dir);
    QStringList args = GetParam().args;
    args.replaceInStrings(QStringLiteral("JOURNAL"), journal);
    args.replaceInStrings(QStringLiteral("MISSING"), dir.file("missing.cds"));
    const ToolRun r = tool(args);
    EXPECT_EQ(GetParam().code, r.code) << r.err.toStdString();
    if (r.code == 1) {
        EXPECT_EQ(1, r.err.count('\n')) << "one line: " << r.err.toStdString();
    }
    if (r.code != 0) {
        EXPECT_FALSE(r.err.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JournalToolUsage,
    ::testing::Values(UsageCase{"noCommand", {}, 2}, UsageCase{"unknownCommand", {"frobnicate"}, 2},
                      UsageCase{"catWithoutDay", {"cat", "JOURNAL"}, 2},
                      UsageCase{"badDay", {"cat", "JOURNAL", "3 May 2010"}, 2},
                      UsageCase{"impossibleDay", {"cat", "JOURNAL", "2010-02-30"}, 2},
                      UsageCase{"dayWithoutEntry", {"cat", "JOURNAL", "2010-05-02"}, 1},
                      UsageCase{"catFound", {"cat", "JOURNAL", "2010-05-03"}, 0},
                      UsageCase{"listOfMissingFile", {"list", "MISSING"}, 1},
                      UsageCase{"infoOfMissingFile", {"info", "MISSING"}, 1},
                      UsageCase{"putMissingSource", {"put", "JOURNAL", "2010-05-02", "MISSING"}, 1},
                      UsageCase{"generateWithoutDays", {"generate", "MISSING", "--seed", "1"}, 2},
                      UsageCase{"generateBadOption", {"generate", "MISSING", "--dayz", "1"}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// Help and version asked for go to standard output with 0; wrong usage
// keeps standard error and 2, so scripts can tell the two apart.
struct HelpCase {
    const char* label;
    QStringList args;
    int code;
    const char* outStart;  // what standard output begins with
    const char* errStart;  // what standard error begins with ("": nothing)
};

class JournalToolHelp : public ::testing::TestWithParam<HelpCase> {};

TEST_P(JournalToolHelp, ChannelAndExitCode) {
    const HelpCase& c = GetParam();
    const ToolRun r = tool(c.args);
    EXPECT_EQ(c.code, r.code) << c.label << "\n" << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(c.outStart)) << c.label << ": " << r.out.toStdString();
    EXPECT_TRUE(r.err.startsWith(c.errStart)) << c.label << ": " << r.err.toStdString();
    if (*c.outStart == '\0') {
        EXPECT_TRUE(r.out.isEmpty()) << c.label << ": " << r.out.toStdString();
    }
    if (*c.errStart == '\0') {
        EXPECT_TRUE(r.err.isEmpty()) << c.label << ": " << r.err.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JournalToolHelp,
    ::testing::Values(
        HelpCase{"nominal: --help",
                 {"--help"},
                 0,
                 "usage: quillmere-journal [--password-file FILE] COMMAND ARGS...\n",
                 ""},
        HelpCase{"nominal: -h",
                 {"-h"},
                 0,
                 "usage: quillmere-journal [--password-file FILE] COMMAND ARGS...\n",
                 ""},
        HelpCase{"nominal: help, as a command",
                 {"help"},
                 0,
                 "usage: quillmere-journal [--password-file FILE] COMMAND ARGS...\n",
                 ""},
        HelpCase{"nominal: --version",
                 {"--version"},
                 0,
                 "quillmere-journal (Quillmere) " QUILLMERE_VERSION "\nCopyright (C) ",
                 ""},
        HelpCase{"nominal: a command's --help",
                 {"cat", "--help"},
                 0,
                 "usage: quillmere-journal cat FILE DAY\n  ",
                 ""},
        HelpCase{"robustness: no command",
                 {},
                 2,
                 "",
                 "usage: quillmere-journal [--password-file FILE] COMMAND ARGS...\n"},
        HelpCase{"robustness: unknown command",
                 {"--helpme"},
                 2,
                 "",
                 "unknown command \"--helpme\"\nusage: quillmere-journal [--password-file FILE] "
                 "COMMAND ARGS...\n"},
        HelpCase{"robustness: --help among a command's arguments",
                 {"cat", "FILE", "--help"},
                 2,
                 "",
                 "DAY must be written yyyy-mm-dd: \"--help\"\nusage: quillmere-journal cat "}),
    [](const auto& info) { return testsupport::labelTestName(info.param.label); });

TEST(JournalTool, HelpListsEveryCommandAndBothOptions) {
    const ToolRun r = tool({"--help"});
    for (const journaltool::Command& command : journaltool::commands()) {
        EXPECT_TRUE(r.out.contains(QByteArray("\n  ") + command.name + ' ' + command.usage + '\n'))
            << command.name;
    }
    EXPECT_TRUE(r.out.contains("\n  --help\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\n  --version\n")) << r.out.toStdString();
}

TEST(JournalTool, ExecutableReportsThroughExitCodes) {
    TempFolder dir;
    const QString journal = makeJournal(dir);
    QProcess p;
    p.start(QStringLiteral(QUILLMERE_JOURNAL_TOOL), {"cat", journal, "2010-05-01"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(0, p.exitCode());
    EXPECT_EQ(QByteArray("{\\rtf1 one}"), p.readAllStandardOutput());

    p.start(QStringLiteral(QUILLMERE_JOURNAL_TOOL), {"check", dir.file("nothing.cds")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(1, p.exitCode()) << "a missing journal is not an empty one";
    EXPECT_EQ(QStringLiteral("check: cannot read \"%1\": no such file\n")
                  .arg(dir.file("nothing.cds"))
                  .toUtf8(),
              p.readAllStandardError());

    dir.write("broken.cds", "garbage");
    p.start(QStringLiteral(QUILLMERE_JOURNAL_TOOL), {"list", dir.file("broken.cds")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(1, p.exitCode());
    EXPECT_EQ(QByteArray("list: Not a valid data packet [$4005]\n"), p.readAllStandardError());

    p.start(QStringLiteral(QUILLMERE_JOURNAL_TOOL), {});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(2, p.exitCode());
}
