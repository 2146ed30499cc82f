// The journal tool refuses paths it must not read: missing journals, folders,
// FIFOs, devices and entry sources beyond their size limit are refused before
// anything is read, with one line and exit 1; size arguments are
// range-checked. A journal of any size is read, over 4 GiB included.
#include "store/coding.h"
#include "store/dataset.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/file_access.h"
#include "store/journal_table.h"
#include "store/timestamp.h"
#include "tools/journal/commands.h"

#include "journal_tool_run.h"
#include "test_support.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
        // A journal has no size limit: one reported as over 4 GiB is read.
        HugeFiles huge(qint64(4) << 30 | 1);
        ScopedFileAccess scope(&huge);
        const ToolRun r = tool(paths.expand({"check", "JOURNAL"}));
        EXPECT_EQ(0, r.code) << r.err.toStdString();
        EXPECT_EQ("OK: 1 entries\n", r.out.toStdString());
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

// A journal of over 6 GiB (three entries of almost 2 GiB each, kept as holes
// of a sparse file, then a real one): the tool lists it and reads the entry
// that lies beyond every 32-bit offset.
TEST(ToolPaths, AJournalOver4GiBIsRead) {
    TempFolder dir;
    const QString path = dir.file("Journal.cds");
    DSBASE layout;
    layout.createTable(
        {FieldDeclaration::dateTime("JournalDate"), FieldDeclaration::blob("JournalEntry")});
    QByteArray metadata = layout.savePacket();
    constexpr uint32_t kHuge = 0x7FFFFFF0;
    EncodeFixed32(metadata.data() + 14, 4);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    const auto put = [fd](const QByteArray& bytes) {
        ASSERT_EQ(bytes.size(), ::write(fd, bytes.constData(), size_t(bytes.size())));
    };
    put(metadata);
    const auto row = [](int day, uint32_t length) {
        QByteArray r(2, '\0');
        PutFixed64(&r, DoubleBits(DateTimeToStored(dayFromDate(QDate(2010, 5, day)))));
        PutFixed32(&r, length);
        return r;
    };
    for (int day = 1; day <= 3; ++day) {
        put(row(day, kHuge));
        ASSERT_GE(::lseek(fd, kHuge, SEEK_CUR), 0);
    }
    const QByteArray last = EncodeEntryContent("{\\rtf1 beyond four gibibytes}");
    put(row(4, uint32_t(last.size())) + last);
    ::close(fd);
    ASSERT_GT(QFileInfo(path).size(), qint64(6) << 30);

    const ToolRun list = tool({"list", path});
    EXPECT_EQ(0, list.code) << list.err.toStdString();
    EXPECT_EQ(QStringLiteral("2010-05-01\t%1\n2010-05-02\t%1\n2010-05-03\t%1\n2010-05-04\t%2\n")
                  .arg(kHuge)
                  .arg(last.size())
                  .toStdString(),
              list.out.toStdString());
    const ToolRun cat = tool({"cat", path, "2010-05-04"});
    EXPECT_EQ(0, cat.code) << cat.err.toStdString();
    EXPECT_EQ("{\\rtf1 beyond four gibibytes}", cat.out.toStdString());
    const ToolRun info = tool({"info", path});
    EXPECT_EQ(0, info.code) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains("Rows: 4\n")) << info.out.toStdString();
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
