// The journal tool's search command: output, ranges and exit codes.
#include "search_fixture.h"

#include "tools/journal/search_command.h"

#include <gtest/gtest.h>

namespace {

using searchtest::kBaseDay;  // 15 June 2010

struct CommandResult {
    int code;
    QString out;
    QString err;
};

CommandResult run(const QStringList& args) {
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int code = quillmere::runSearchCommand(args, outStream, errStream);
    return {code, out, err};
}

class SearchCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        journal_.addText(kBaseDay - 1, QStringLiteral("Rain all day"));
        journal_.addText(kBaseDay, QStringLiteral("Sunny, a walk by the river"));
        journal_.addText(kBaseDay + 1, QStringLiteral("RIVERSIDE picnic"));
        journal_.addText(kBaseDay + 31, QStringLiteral("river again"));
        journal_.save();
    }
    searchtest::TestJournal journal_;
};

struct CommandCase {
    const char* label;
    QStringList options;
    const char* text;
    const char* out;
};

class SearchCommandOutputTest : public SearchCommandTest,
                                public ::testing::WithParamInterface<CommandCase> {};

TEST_P(SearchCommandOutputTest, PrintsTheMatchingDaysInOrder) {
    const CommandCase& c = GetParam();
    const CommandResult result =
        run(QStringList{journal_.path(), QString::fromUtf8(c.text)} + c.options);
    EXPECT_EQ(0, result.code) << c.label << result.err.toStdString();
    EXPECT_EQ(QString::fromLatin1(c.out), result.out) << c.label;
    EXPECT_TRUE(result.err.isEmpty()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchCommandOutputTest,
    ::testing::Values(
        CommandCase{"nominal: whole journal", {}, "river", "2010-06-15\n2010-06-16\n2010-07-16\n"},
        CommandCase{"nominal: from", {"--from", "2010-06-16"}, "river", "2010-06-16\n2010-07-16\n"},
        CommandCase{"nominal: to", {"--to", "2010-06-15"}, "river", "2010-06-15\n"},
        CommandCase{"nominal: both inclusive",
                    {"--from", "2010-06-14", "--to", "2010-06-16"},
                    "RIVER",
                    "2010-06-15\n2010-06-16\n"},
        CommandCase{"nominal: a single day", {}, "rain", "2010-06-14\n"},
        CommandCase{"robustness: no match prints nothing", {}, "snow", ""},
        CommandCase{"robustness: font names are not text", {}, "tahoma", ""},
        CommandCase{"robustness: From after To",
                    {"--from", "2010-07-01", "--to", "2010-06-01"},
                    "river",
                    ""}));

struct UsageCase {
    const char* label;
    QStringList args;  // "FILE" stands for the journal's path
    const char* firstLine;
};

class SearchCommandUsageTest : public SearchCommandTest,
                               public ::testing::WithParamInterface<UsageCase> {};

TEST_P(SearchCommandUsageTest, RejectsWrongArgumentsWithExitCodeTwo) {
    const UsageCase& c = GetParam();
    QStringList args = c.args;
    args.replaceInStrings(QStringLiteral("FILE"), journal_.path());
    const CommandResult result = run(args);
    EXPECT_EQ(2, result.code) << c.label;
    EXPECT_TRUE(result.out.isEmpty()) << c.label;
    EXPECT_EQ(QString::fromLatin1(c.firstLine) + "\n" + quillmere::kSearchCommandUsage + "\n",
              result.err)
        << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchCommandUsageTest,
    ::testing::Values(
        UsageCase{"robustness: nothing", {}, "search: expected FILE and TEXT"},
        UsageCase{"robustness: no text", {"FILE"}, "search: expected FILE and TEXT"},
        UsageCase{"robustness: too many", {"FILE", "a", "b"}, "search: expected FILE and TEXT"},
        UsageCase{"robustness: empty text", {"FILE", ""}, "search: the search text is empty"},
        UsageCase{"robustness: bad day",
                  {"FILE", "a", "--from", "2010-13-01"},
                  "search: not a day (yyyy-mm-dd): 2010-13-01"},
        UsageCase{"robustness: missing day", {"FILE", "a", "--to"}, "search: --to needs a day"},
        UsageCase{"robustness: unknown option",
                  {"FILE", "a", "--case"},
                  "search: unknown option: --case"}));

TEST_F(SearchCommandTest, OptionsMayComeFirst) {
    const CommandResult result =
        run({"--from", "2010-06-16", journal_.path(), "river", "--to", "2010-06-30"});
    EXPECT_EQ(0, result.code);
    EXPECT_EQ(QStringLiteral("2010-06-16\n"), result.out);
}

TEST(SearchCommandFailureTest, AMissingFileIsAnErrorAndIsNotCreated) {
    testsupport::TempFolder folder;
    const QString path = folder.file(QStringLiteral("Journal.cds"));
    const CommandResult result = run({path, "x"});
    EXPECT_EQ(1, result.code);
    EXPECT_EQ(QStringLiteral("search: %1: no such file\n").arg(path), result.err);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(SearchCommandFailureTest, AFileThatIsNoJournalIsAnError) {
    testsupport::TempFolder folder;
    const QString path = folder.write(QStringLiteral("Journal.cds"), QByteArray("not a packet"));
    const CommandResult result = run({path, "x"});
    EXPECT_EQ(1, result.code);
    EXPECT_TRUE(result.err.startsWith(QStringLiteral("search: "))) << result.err.toStdString();
    EXPECT_EQ(1, result.err.count(u'\n'));
    EXPECT_EQ(QByteArray("not a packet"), folder.read(QStringLiteral("Journal.cds")));
}

// Every day is searched past a damaged one; the damaged days follow on
// standard error, one line each, and the exit code says the search missed
// them.
TEST(SearchCommandFailureTest, ADamagedEntryIsNamedAfterEveryDayFound) {
    searchtest::TestJournal journal;
    journal.addText(kBaseDay, QStringLiteral("found"));
    journal.addRawBlob(kBaseDay + 1, QByteArray("damaged"));
    journal.addText(kBaseDay + 2, QStringLiteral("found"));
    journal.addRawBlob(kBaseDay + 3, QByteArray("damaged too"));
    journal.save();
    const QByteArray before = [&] {
        QFile file(journal.path());
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    const CommandResult result = run({journal.path(), "FOUND"});
    EXPECT_EQ(1, result.code);
    EXPECT_EQ(QStringLiteral("2010-06-15\n2010-06-17\n"), result.out);
    EXPECT_EQ(QStringLiteral("search: 2010-06-16: could not read the entry (data error)\n"
                             "search: 2010-06-18: could not read the entry (data error)\n"),
              result.err);
    QFile file(journal.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(before, file.readAll());
}

}  // namespace
