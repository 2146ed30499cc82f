// The journal tool refuses paths it must not read: missing journals, folders,
// FIFOs, devices and files beyond its size limit are refused before anything
// is read, with one line and exit 1; size arguments are range-checked.
#include "store/day.h"
#include "store/file_access.h"
#include "store/journal_table.h"
#include "tools/journal/commands.h"

#include "journal_tool_run.h"
#include "test_support.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

using tooltest::tool;
using tooltest::ToolRun;

// A folder holding a journal, a folder, a FIFO and an entry source.
struct Paths {
    TempFolder dir;
    QString journal, folder, fifo, missing, source;

    Paths() {
        journal = dir.file("Journal.cds");
        JournalTable t;
        t.OpenJournal(journal);
        t.StoreEntry(dayFromDate(QDate(2010, 5, 1)), "{\\rtf1 one}");
        t.close();
        folder = dir.file("folder");
        QDir().mkpath(folder);
        fifo = dir.file("fifo");
        EXPECT_EQ(0, ::mkfifo(QFile::encodeName(fifo).constData(), 0600));
        missing = dir.file("missing.cds");
        source = dir.write("entry.rtf", "{\\rtf1 two}");
    }

    QStringList expand(QStringList args) const {
        args.replaceInStrings(QStringLiteral("JOURNAL"), journal);
        args.replaceInStrings(QStringLiteral("FOLDER"), folder);
        args.replaceInStrings(QStringLiteral("FIFO"), fifo);
        args.replaceInStrings(QStringLiteral("MISSING"), missing);
        args.replaceInStrings(QStringLiteral("SOURCE"), source);
        args.replaceInStrings(QStringLiteral("OUT"), dir.file("out"));
        return args;
    }
};

struct PathCase {
    const char* name;
    QStringList args;
    const char* refused;  // the path argument refused
    const char* reason;
};

class ToolPaths : public ::testing::TestWithParam<PathCase> {};

}  // namespace

TEST_P(ToolPaths, RefusedBeforeReadingWithOneLine) {
    const PathCase& c = GetParam();
    Paths paths;
    const QStringList args = paths.expand(c.args);
    const QString refused = paths.expand({QString::fromLatin1(c.refused)}).front();
    const ToolRun r = tool(args);
    EXPECT_EQ(1, r.code);
    EXPECT_EQ(QStringLiteral("%1: cannot read \"%2\": %3\n")
                  .arg(args.front(), refused, QString::fromLatin1(c.reason))
                  .toStdString(),
              r.err.toStdString());
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(paths.dir.file("out")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolPaths,
    ::testing::Values(
        PathCase{"listMissing", {"list", "MISSING"}, "MISSING", "no such file"},
        PathCase{"checkMissing", {"check", "MISSING"}, "MISSING", "no such file"},
        PathCase{"catMissing", {"cat", "MISSING", "2010-05-01"}, "MISSING", "no such file"},
        PathCase{"textMissing", {"text", "MISSING", "2010-05-01"}, "MISSING", "no such file"},
        PathCase{"infoMissing", {"info", "MISSING"}, "MISSING", "no such file"},
        PathCase{"searchMissing", {"search", "MISSING", "one"}, "MISSING", "no such file"},
        PathCase{"exportMissing", {"export", "MISSING", "OUT"}, "MISSING", "no such file"},
        PathCase{"salvageMissing", {"salvage", "MISSING", "OUT"}, "MISSING", "no such file"},
        PathCase{"listFolder", {"list", "FOLDER"}, "FOLDER", "a folder, not a file"},
        PathCase{"checkFolder", {"check", "FOLDER"}, "FOLDER", "a folder, not a file"},
        PathCase{"catFolder", {"cat", "FOLDER", "2010-05-01"}, "FOLDER", "a folder, not a file"},
        PathCase{"putIntoFolder",
                 {"put", "FOLDER", "2010-05-01", "SOURCE"},
                 "FOLDER",
                 "a folder, not a file"},
        PathCase{"listFifo", {"list", "FIFO"}, "FIFO", "not a regular file"},
        PathCase{"checkFifo", {"check", "FIFO"}, "FIFO", "not a regular file"},
        PathCase{"salvageFifo", {"salvage", "FIFO", "OUT"}, "FIFO", "not a regular file"},
        PathCase{"putFifoJournal",
                 {"put", "FIFO", "2010-05-01", "SOURCE"},
                 "FIFO",
                 "not a regular file"},
        PathCase{"putFifoSource",
                 {"put", "JOURNAL", "2010-05-01", "FIFO"},
                 "FIFO",
                 "not a regular file"},
        PathCase{"putMissingSource",
                 {"put", "JOURNAL", "2010-05-01", "MISSING"},
                 "MISSING",
                 "no such file"},
        PathCase{"listDevice", {"list", "/dev/zero"}, "/dev/zero", "not a regular file"},
        PathCase{"checkDevice", {"check", "/dev/zero"}, "/dev/zero", "not a regular file"},
        PathCase{"putDeviceSource",
                 {"put", "JOURNAL", "2010-05-01", "/dev/zero"},
                 "/dev/zero",
                 "not a regular file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolPaths, PutAloneCreatesAMissingJournal) {
    Paths paths;
    const ToolRun r = tool(paths.expand({"put", "MISSING", "2010-05-02", "SOURCE"}));
    ASSERT_EQ(0, r.code) << r.err.toStdString();
    JournalTable t;
    t.OpenJournal(paths.missing);
    EXPECT_EQ(1, t.recordCount());
    t.abandon();
}

namespace {

// Reports every regular file as one byte over a given size, without any
// such file on the disk.
class HugeFiles : public FileAccess {
public:
    explicit HugeFiles(qint64 size) : size_(size) {}
    FileStatus status(const QString& path) const override {
        FileStatus s = FileAccess::status(path);
        if (s.kind == FileKind::kRegular) {
            s.size = size_;
        }
        return s;
    }
    QByteArray readAll(const QString& path) const override {
        ADD_FAILURE() << "read " << path.toStdString();
        return FileAccess::readAll(path);
    }

private:
    qint64 size_;
};

}  // namespace

TEST(ToolPaths, FilesBeyondTheLimitAreRefusedUnread) {
    Paths paths;
    {
        HugeFiles huge(journaltool::kMaxJournalBytes + 1);
        ScopedFileAccess scope(&huge);
        const ToolRun r = tool(paths.expand({"check", "JOURNAL"}));
        EXPECT_EQ(1, r.code);
        EXPECT_EQ(QStringLiteral("check: cannot read \"%1\": larger than 4294967296 bytes\n")
                      .arg(paths.journal)
                      .toStdString(),
                  r.err.toStdString());
    }
    {
        HugeFiles huge(journaltool::kMaxEntrySourceBytes + 1);
        ScopedFileAccess scope(&huge);
        const ToolRun r = tool(paths.expand({"put", "MISSING", "2010-05-01", "SOURCE"}));
        EXPECT_EQ(1, r.code);
        EXPECT_EQ(QStringLiteral("put: cannot read \"%1\": larger than 1073741824 bytes\n")
                      .arg(paths.source)
                      .toStdString(),
                  r.err.toStdString());
    }
}

struct SizeCase {
    const char* name;
    QStringList options;
    const char* message;
};

class GenerateSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(GenerateSizes, OutOfRangeIsWrongUsage) {
    TempFolder dir;
    QStringList args{"generate", dir.file("New.cds")};
    args += GetParam().options;
    const ToolRun r = tool(args);
    EXPECT_EQ(2, r.code);
    EXPECT_TRUE(r.err.startsWith(QByteArray(GetParam().message) + "\n")) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.file("New.cds")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GenerateSizes,
    ::testing::Values(
        SizeCase{"sizeIntMax",
                 {"--days", "1", "--size", "2147483647"},
                 "--size needs a whole number from 1 to 16777216"},
        SizeCase{"sizeZero",
                 {"--days", "1", "--size", "0"},
                 "--size needs a whole number from 1 to 16777216"},
        SizeCase{"sizeNotANumber",
                 {"--days", "1", "--size", "big"},
                 "--size needs a whole number from 1 to 16777216"},
        SizeCase{"daysNegative", {"--days", "-1"}, "--days needs a whole number from 0 to 100000"},
        SizeCase{
            "daysTooMany", {"--days", "100001"}, "--days needs a whole number from 0 to 100000"},
        SizeCase{"daysBeyondInt",
                 {"--days", "4294967297"},
                 "--days needs a whole number from 0 to 100000"},
        SizeCase{"seedBeyondU32",
                 {"--days", "1", "--seed", "4294967296"},
                 "--seed needs a whole number from 0 to 4294967295"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GenerateSizes, LargestSeedAndSmallestSizeWork) {
    TempFolder dir;
    const ToolRun r = tool(
        {"generate", dir.file("New.cds"), "--days", "2", "--seed", "4294967295", "--size", "1"});
    ASSERT_EQ(0, r.code) << r.err.toStdString();
    JournalTable t;
    t.OpenJournal(dir.file("New.cds"));
    EXPECT_EQ(2, t.recordCount());
    t.abandon();
}
