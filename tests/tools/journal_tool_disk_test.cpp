// The journal tool on a full disk and on damaged row statuses: every command
// that writes reports a full disk (exit 1, naming the file) and leaves what
// was there; `check` and `salvage` agree with the program about a row whose
// status byte is damaged.
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/journal_table.h"

#include "failing_files.h"
#include "journal_tool_run.h"
#include "test_support.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>

using namespace quillmere;
using testsupport::TempFolder;
using tooltest::tool;
using tooltest::ToolRun;

namespace {

double day(int d) {
    return dayFromDate(QDate(2010, 5, d));
}

// A journal of three days.
QString makeJournal(const QString& path) {
    JournalTable t;
    t.OpenJournal(path);
    for (int d = 1; d <= 3; ++d) {
        t.StoreEntry(day(d), "{\\rtf1 day " + QByteArray::number(d) + "}");
    }
    t.close();
    return path;
}

std::map<QString, QByteArray> contents(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            files[name] = file.readAll();
        }
    }
    return files;
}

struct ToolWriteCase {
    const char* label;
    QStringList args;  // "%1" is the folder
    const char* target;
};

class ToolOnAFullDisk : public ::testing::TestWithParam<std::tuple<ToolWriteCase, qint64>> {};

TEST_P(ToolOnAFullDisk, ReportsItAndLeavesEveryFileAsItWas) {
    const auto& [c, freeBytes] = GetParam();
    SCOPED_TRACE(c.label);
    TempFolder dir;
    makeJournal(dir.file(QStringLiteral("Journal.cds")));
    dir.write(QStringLiteral("entry.rtf"), "{\\rtf1 from a file}");
    ASSERT_TRUE(QDir().mkpath(dir.file(QStringLiteral("out"))));
    QStringList args;
    for (const QString& a : c.args) {
        args << (a.contains(QLatin1String("%1")) ? a.arg(dir.path()) : a);
    }
    const std::map<QString, QByteArray> before = contents(dir.path());
    auto full = testsupport::FailingFiles::fullDisk(freeBytes);
    ToolRun r{};
    {
        ScopedFileAccess seam(&full);
        r = tool(args);
    }
    EXPECT_EQ(1, r.code);
    const QString target = QString::fromLatin1(c.target).arg(dir.path());
    EXPECT_TRUE(r.err.contains("Cannot write \"" + target.toUtf8() + "\": the disk is full"))
        << r.err.toStdString();
    EXPECT_EQ(before, contents(dir.path()));
    EXPECT_TRUE(contents(dir.file(QStringLiteral("out"))).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ToolOnAFullDisk,
    ::testing::Combine(
        ::testing::Values(ToolWriteCase{"nominal: put into an existing journal",
                                        {"put", "%1/Journal.cds", "2010-05-04", "%1/entry.rtf"},
                                        "%1/Journal.cds"},
                          ToolWriteCase{"nominal: generate",
                                        {"generate", "%1/out/New.cds", "--days", "3"},
                                        "%1/out/New.cds"},
                          ToolWriteCase{"nominal: salvage",
                                        {"salvage", "%1/Journal.cds", "%1/out/Rescued.cds"},
                                        "%1/out/Rescued.cds"},
                          ToolWriteCase{"nominal: convert",
                                        {"convert", "%1/entry.rtf", "%1/out/entry.txt"},
                                        "%1/out/entry.txt"},
                          ToolWriteCase{"nominal: export",
                                        {"export", "%1/Journal.cds", "%1/out"},
                                        "%1/out/2010-05-01.rtf"}),
        ::testing::Values(qint64(0), qint64(1))));

// The torture run's `put` on a real full disk: exit 1, the journal intact.
TEST(ToolOnARealFullDisk, PutKeepsTheJournal) {
    TempFolder dir;
    const QString disk = dir.file(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkpath(disk));
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root): " << std::strerror(errno);
    }
    const QString journal = makeJournal(QDir(disk).filePath(QStringLiteral("Journal.cds")));
    const QString source = dir.write(QStringLiteral("entry.rtf"), "{\\rtf1 a new day}");
    QFile file(journal);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const int fd = ::open(QFile::encodeName(QDir(disk).filePath("filler")).constData(),
                          O_WRONLY | O_CREAT, 0600);
    const QByteArray block(4096, 'f');
    while (::write(fd, block.constData(), block.size()) > 0) {
    }
    while (::write(fd, block.constData(), 1) > 0) {
    }
    ::close(fd);
    const ToolRun r = tool({"put", journal, "2010-05-04", source});
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    file.close();
    ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH);
    EXPECT_EQ(1, r.code);
    EXPECT_EQ("put: Cannot write \"" + journal.toStdString() + "\": the disk is full\n",
              r.err.toStdString());
    EXPECT_EQ(before, after);
}

// --- A damaged row status ------------------------------------------------------------

// The journal of three days with the status byte of the 2 May row flipped to
// `status`: rows are written in the order stored, each row starting with its
// status.
QString journalWithStatus(const TempFolder& dir, uint8_t status) {
    const QString path = makeJournal(dir.file(QStringLiteral("Journal.cds")));
    QByteArray bytes = dir.read(QStringLiteral("Journal.cds"));
    const qsizetype firstRow = 88;
    const qsizetype secondRow = firstRow + 2 + 8 + 4 + EncodeEntryContent("{\\rtf1 day 1}").size();
    EXPECT_EQ(0, bytes[secondRow]);
    bytes[secondRow] = static_cast<char>(status);
    dir.write(QStringLiteral("Journal.cds"), bytes);
    return path;
}

class StrayRowStatus : public ::testing::TestWithParam<uint8_t> {};

TEST_P(StrayRowStatus, IsDamageThatCheckReportsAndSalvageAndTheProgramKeep) {
    const uint8_t status = GetParam();
    TempFolder dir;
    const QString path = journalWithStatus(dir, status);
    const QString problem = QStringLiteral("the row's status byte is damaged (0x%1)")
                                .arg(QString::number(status, 16).toUpper().rightJustified(2, '0'));

    JournalTable program;
    program.OpenJournal(path);
    EXPECT_EQ(3, program.recordCount()) << "the program keeps the day";
    ASSERT_EQ(1u, program.rowsWithStrayStatus().size());
    EXPECT_EQ(day(2), program.rowsWithStrayStatus()[0].day);
    program.abandon();

    const ToolRun check = tool({"check", path});
    EXPECT_EQ(1, check.code);
    EXPECT_EQ("2010-05-02: " + problem.toStdString() + "\n", check.out.toStdString());
    EXPECT_EQ("check: 1 of 3 entries damaged\n", check.err.toStdString());

    const ToolRun salvage = tool({"salvage", path, dir.file(QStringLiteral("Rescued.cds"))});
    ASSERT_EQ(0, salvage.code) << salvage.err.toStdString();
    EXPECT_TRUE(salvage.out.startsWith("2010-05-02: kept, " + problem.toUtf8() + "\n"))
        << salvage.out.toStdString();
    const ToolRun rescued = tool({"check", dir.file(QStringLiteral("Rescued.cds"))});
    EXPECT_EQ(0, rescued.code);
    EXPECT_EQ("OK: 3 entries\n", rescued.out.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Bytes, StrayRowStatus,
                         ::testing::Values(uint8_t(0x01), uint8_t(0x02), uint8_t(0x20),
                                           uint8_t(0x08), uint8_t(0x80)));

}  // namespace
