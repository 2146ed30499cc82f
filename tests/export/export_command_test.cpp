// The journal tool's export command: arguments, the three rules for existing
// files, exit codes and what it prints.
#include "tools/journal/export_command.h"

#include "export_test_journal.h"
#include "store/entry_codec.h"
#include "store/file_access.h"
#include "store/journal_table.h"
#include "test_support.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using exporttest::filesIn;
using exporttest::sampleRtf;
using testsupport::TempFolder;

struct RunResult {
    int code;
    QString out;
    QString err;
};

RunResult run(const QStringList& args) {
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int code = quillmere::runExportCommand(args, outStream, errStream);
    return {code, out, err};
}

// A "Journal.cds" on disk with three entries, the middle one damaged when
// asked for.
QString writeJournal(const TempFolder& folder, bool withDamagedEntry = false) {
    const QString path = folder.file("Journal.cds");
    {
        exporttest::TestJournal journal(folder.path());
        journal.store(QDate(2010, 9, 7), sampleRtf("a"));
        if (withDamagedEntry) {
            journal.insertRaw(QDate(2010, 9, 8), testsupport::hexBytes("78 01 FF FF"));
        } else {
            journal.store(QDate(2010, 9, 8), sampleRtf("b"));
        }
        journal.store(QDate(2010, 9, 9), sampleRtf("c"));
        journal.table().close();
    }
    return path;
}

struct UsageCase {
    const char* label;
    QStringList args;
};

class ExportCommandUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(ExportCommandUsageTest, WrongArgumentsGiveTheUsageAndCode2) {
    const RunResult result = run(GetParam().args);
    EXPECT_EQ(2, result.code);
    EXPECT_EQ(
        "usage: export FILE OUT [--format rtf|html|md|pdf] [--from DAY] [--to DAY] "
        "[--overwrite|--skip-existing]\n",
        result.err.toStdString());
    EXPECT_TRUE(result.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ExportCommandUsageTest,
    ::testing::Values(
        UsageCase{"robustness_nothing", {}}, UsageCase{"robustness_journal_only", {"Journal.cds"}},
        UsageCase{"robustness_three_paths", {"a", "b", "c"}},
        UsageCase{"robustness_both_flags", {"a", "b", "--overwrite", "--skip-existing"}},
        UsageCase{"robustness_flag_twice", {"a", "b", "--overwrite", "--overwrite"}},
        UsageCase{"robustness_unknown_flag", {"a", "b", "--force"}},
        UsageCase{"robustness_empty_folder", {"a", ""}},
        UsageCase{"robustness_unknown_format", {"a", "b", "--format", "docx"}},
        UsageCase{"robustness_format_without_value", {"a", "b", "--format"}},
        UsageCase{"robustness_format_twice", {"a", "b", "--format", "md", "--format", "md"}},
        UsageCase{"robustness_day_not_a_date", {"a", "b", "--from", "2010-02-30"}},
        UsageCase{"robustness_range_backwards",
                  {"a", "b", "--from", "2010-09-09", "--to", "2010-09-08"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ExportCommand, WritesEveryEntryAndSaysSo) {
    TempFolder data;
    TempFolder out;
    const QString journal = writeJournal(data);
    const QByteArray journalBytes = data.read("Journal.cds");

    const RunResult result = run({journal, out.path()});

    EXPECT_EQ(0, result.code) << result.err.toStdString();
    EXPECT_EQ(journalBytes, data.read("Journal.cds"));  // read only
    EXPECT_EQ(QStringList({"2010-09-07.rtf", "2010-09-08.rtf", "2010-09-09.rtf"}),
              filesIn(out.path()));
    EXPECT_EQ(sampleRtf("b"), out.read("2010-09-08.rtf"));
    EXPECT_EQ(("Exported 3 of 3 entries to " + out.path() + " (0 kept, 0 failed)\n").toStdString(),
              result.out.toStdString());
    EXPECT_TRUE(result.err.isEmpty());
}

// The flag decides what becomes of a file that exists already.
struct ExistingCase {
    const char* label;
    QStringList flags;
    int code;
    QByteArray expectedContent;
    int errorLines;
};

class ExportCommandExistingTest : public ::testing::TestWithParam<ExistingCase> {};

TEST_P(ExportCommandExistingTest, AppliesTheRuleToEveryExistingFile) {
    TempFolder data;
    TempFolder out;
    const QString journal = writeJournal(data);
    out.write("2010-09-07.rtf", "kept");
    out.write("2010-09-09.rtf", "kept");

    const RunResult result = run(QStringList({journal, out.path()}) + GetParam().flags);

    EXPECT_EQ(GetParam().code, result.code);
    EXPECT_EQ(GetParam().expectedContent, out.read("2010-09-07.rtf"));
    EXPECT_EQ(GetParam().expectedContent == "kept" ? QByteArray("kept") : sampleRtf("c"),
              out.read("2010-09-09.rtf"));
    EXPECT_EQ(sampleRtf("b"), out.read("2010-09-08.rtf"));
    EXPECT_EQ(GetParam().errorLines, result.err.count('\n')) << result.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ExportCommandExistingTest,
    ::testing::Values(ExistingCase{"nominal_overwrite", {"--overwrite"}, 0, sampleRtf("a"), 0},
                      ExistingCase{"nominal_skip_existing", {"--skip-existing"}, 0, "kept", 0},
                      ExistingCase{"nominal_no_flag_fails_those_entries", {}, 1, "kept", 3}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ExportCommand, WithoutFlagNamesEachRefusedEntry) {
    TempFolder data;
    TempFolder out;
    const QString journal = writeJournal(data);
    out.write("2010-09-07.rtf", "kept");

    const RunResult result = run({journal, out.path()});

    const QString path = out.path() + QDir::separator() + "2010-09-07.rtf";
    EXPECT_EQ(("2010-09-07: The file \"" + path +
               "\" exists already (use --overwrite or --skip-existing)\n"
               "export: 1 of 3 entries failed\n")
                  .toStdString(),
              result.err.toStdString());
    EXPECT_EQ(1, result.code);
}

TEST(ExportCommand, DamagedEntryFailsTheRunButNotTheOthers) {
    TempFolder data;
    TempFolder out;
    const QString journal = writeJournal(data, true);

    const RunResult result = run({journal, out.path()});

    EXPECT_EQ(1, result.code);
    EXPECT_EQ("2010-09-08: data error\nexport: 1 of 3 entries failed\n", result.err.toStdString());
    EXPECT_EQ(QStringList({"2010-09-07.rtf", "2010-09-09.rtf"}), filesIn(out.path()));
}

struct MissingCase {
    const char* label;
    bool journalMissing;
    const char* messageStart;
};

class ExportCommandMissingTest : public ::testing::TestWithParam<MissingCase> {};

TEST_P(ExportCommandMissingTest, MissingInputIsOneLineAndCode1) {
    TempFolder data;
    const QString journal = GetParam().journalMissing ? data.file("none.cds") : writeJournal(data);
    const QString folder = GetParam().journalMissing ? data.path() : data.file("no-such-folder");

    const RunResult result = run({journal, folder});

    EXPECT_EQ(1, result.code);
    EXPECT_TRUE(result.err.startsWith(GetParam().messageStart)) << result.err.toStdString();
    EXPECT_EQ(1, result.err.count('\n'));
    EXPECT_FALSE(QFileInfo::exists(data.file("none.cds")));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ExportCommandMissingTest,
    ::testing::Values(MissingCase{"robustness_no_journal", true, "export: no journal file"},
                      MissingCase{"robustness_no_folder", false, "export: no folder"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ExportCommand, FileThatIsNoJournalIsOneLineAndCode1) {
    TempFolder data;
    TempFolder out;
    const QString bogus = data.write("Journal.cds", "not a data packet");
    const RunResult result = run({bogus, out.path()});
    EXPECT_EQ(1, result.code);
    EXPECT_TRUE(result.err.startsWith("export: ")) << result.err.toStdString();
    EXPECT_EQ(1, result.err.count('\n'));
    EXPECT_EQ("not a data packet", data.read("Journal.cds"));
}

// A folder where no file can be created is one line, not one per entry.
TEST(ExportCommand, FolderThatTakesNoFileIsOneLineAndCode1) {
    TempFolder data;
    TempFolder out;
    const QString journal = writeJournal(data);
    class ReadOnlyFolder : public quillmere::FileAccess {
    public:
        bool folderWritable(const QString&) const override { return false; }
    } readOnly;
    quillmere::ScopedFileAccess scoped(&readOnly);

    const RunResult result = run({journal, out.path()});

    EXPECT_EQ(1, result.code);
    EXPECT_EQ(("export: Cannot export to \"" + out.path() +
               "\": no file can be created in this folder (it may be read-only or belong to "
               "another user). Please choose another folder.\n")
                  .toStdString(),
              result.err.toStdString());
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(filesIn(out.path()).isEmpty());
}

// --format and the range: what each form writes where, and what it says.
TEST(ExportCommandFormats, EachFormWritesItsFilesForTheRange) {
    struct Row {
        const char* label;
        QStringList options;
        const char* out;  // relative to the folder; a folder for rtf
        QStringList files;
        int code;
        const char* said;
    };
    const Row rows[] = {
        {"nominal: rtf of a range",
         {"--format", "rtf", "--from", "2010-09-08"},
         "out",
         {"2010-09-08.rtf", "2010-09-09.rtf"},
         0,
         "Exported 2 of 2 entries to "},
        {"nominal: html of every day",
         {"--format", "html"},
         "Diary.html",
         {"Diary.html"},
         0,
         "Wrote 3 of 3 entries to "},
        {"nominal: md up to a day",
         {"--format", "md", "--to", "2010-09-08"},
         "Diary.md",
         {"Diary.md"},
         0,
         "Wrote 2 of 2 entries to "},
        {"nominal: pdf of one day",
         {"--format", "pdf", "--from", "2010-09-09", "--to", "2010-09-09"},
         "One.pdf",
         {"One.pdf"},
         0,
         "Wrote 1 of 1 entries to "},
        {"robustness: a book needs a file name, not a folder",
         {"--format", "html"},
         "out",
         {},
         1,
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        TempFolder folder;
        const QString journal = writeJournal(folder);
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("out")));
        const QString out = folder.file(QString::fromLatin1(row.out));
        const RunResult result = run(QStringList{journal, out} + row.options);
        EXPECT_EQ(row.code, result.code) << result.err.toStdString();
        if (*row.said != '\0') {
            EXPECT_TRUE(result.out.startsWith(QString::fromLatin1(row.said)))
                << result.out.toStdString();
        }
        QStringList written = filesIn(folder.path()) + filesIn(folder.file(QStringLiteral("out")));
        written.removeAll(QStringLiteral("Journal.cds"));
        EXPECT_EQ(row.files.join(u' ').toStdString(), written.join(u' ').toStdString());
        if (row.code == 1) {
            EXPECT_TRUE(result.err.contains(QStringLiteral("is a folder; name the html file")))
                << result.err.toStdString();
        }
    }
}

}  // namespace
