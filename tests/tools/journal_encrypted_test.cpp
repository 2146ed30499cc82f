// The journal tool on encrypted journals: passwords from --password-file or
// standard input (never an argument), encrypt / decrypt / passwd, the
// messages for a wrong or missing password, and salvage of a damaged
// encrypted journal.
#include "crypto/sealed_file.h"
#include "store/day.h"
#include "store/file_cipher.h"
#include "store/journal_table.h"
#include "tools/journal/passwords.h"

#include "journal_tool_run.h"
#include "test_support.h"

#include <QDate>
#include <QProcess>

using namespace quillmere;
using testsupport::TempFolder;
using tooltest::tool;
using tooltest::ToolRun;

namespace {

QString makeJournal(const TempFolder& dir) {
    const QString path = dir.file("Journal.cds");
    JournalTable t;
    t.OpenJournal(path);
    t.StoreEntry(dayFromDate(QDate(2010, 5, 3)), "{\\rtf1 three}");
    t.StoreEntry(dayFromDate(QDate(2010, 5, 1)), "{\\rtf1 one}");
    t.close();
    return path;
}

// A password file of these lines.
QString passwords(const TempFolder& dir, const QByteArray& lines) {
    return dir.write("passwords", lines);
}

// The file encrypted with "first" by the tool itself.
QString encryptedJournal(const TempFolder& dir) {
    const QString path = makeJournal(dir);
    const ToolRun r = tool({"--password-file", passwords(dir, "first\n"), "encrypt", path});
    EXPECT_EQ(0, r.code) << r.err.toStdString();
    return path;
}

}  // namespace

TEST(EncryptedJournalTool, EncryptThenDecryptGivesBackThePacketByteForByte) {
    TempFolder dir;
    const QString path = makeJournal(dir);
    const QByteArray plain = dir.read("Journal.cds");
    const ToolRun e = tool({"encrypt", path, "--password-file", passwords(dir, "first\n")});
    ASSERT_EQ(0, e.code) << e.err.toStdString();
    EXPECT_TRUE(IsSealedDataFile(dir.read("Journal.cds")));

    const ToolRun list = tool({"--password-file", passwords(dir, "first\n"), "list", path});
    EXPECT_EQ(0, list.code) << list.err.toStdString();
    EXPECT_TRUE(list.out.startsWith("2010-05-01\t"));

    const ToolRun p = tool({"--password-file", passwords(dir, "first\nsecond\n"), "passwd", path});
    ASSERT_EQ(0, p.code) << p.err.toStdString();
    const ToolRun d = tool({"--password-file", passwords(dir, "second\n"), "decrypt", path});
    ASSERT_EQ(0, d.code) << d.err.toStdString();
    EXPECT_EQ(plain, dir.read("Journal.cds"));
}

struct RefusalCase {
    const char* label;
    QByteArray passwordLines;  // empty: no password file, standard input at its end
    QStringList command;       // FILE is appended
    const char* message;       // after "COMMAND: ", with FILE for %1
};

class EncryptedJournalRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(EncryptedJournalRefusal, SaysWhyNamingTheFileAndChangesNothing) {
    const RefusalCase& c = GetParam();
    TempFolder dir;
    const QString path = encryptedJournal(dir);
    const QByteArray before = dir.read("Journal.cds");
    QStringList args = c.command;
    args << path;
    if (!c.passwordLines.isEmpty()) {
        args << "--password-file" << passwords(dir, c.passwordLines);
    }
    journaltool::standardInputReader() = [](const QString&) { return std::nullopt; };
    const ToolRun r = tool(args);
    journaltool::standardInputReader() = journaltool::readStandardInputLine;
    EXPECT_EQ(1, r.code) << c.label;
    EXPECT_EQ((c.command.front() + ": " + QString::fromUtf8(c.message).arg(path) + "\n").toUtf8(),
              r.err)
        << c.label;
    EXPECT_EQ(before, dir.read("Journal.cds")) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, EncryptedJournalRefusal,
    ::testing::Values(
        RefusalCase{"robustness: wrong password", "firsT\n", {"list"}, "wrong password for \"%1\""},
        RefusalCase{"robustness: no password at all",
                    "",
                    {"check"},
                    "\"%1\" is encrypted: give its password on standard input or with "
                    "--password-file FILE"},
        RefusalCase{"robustness: passwd without a new password",
                    "first\n",
                    {"passwd"},
                    "no new password for \"%1\": give it on standard input or with "
                    "--password-file FILE"},
        RefusalCase{"robustness: encrypting twice",
                    "x\n",
                    {"encrypt"},
                    "\"%1\" is encrypted already; passwd changes its password"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(EncryptedJournalTool, ANewerFormIsRefusedBeforeAnyPasswordIsAsked) {
    TempFolder dir;
    const QString path = encryptedJournal(dir);
    QByteArray bytes = dir.read("Journal.cds");
    bytes[crypto::fileheader::kVersion] = 2;
    dir.write("Journal.cds", bytes);
    const ToolRun r = tool({"--password-file", passwords(dir, "first\n"), "check", path});
    EXPECT_EQ(1, r.code);
    EXPECT_EQ(QStringLiteral("check: \"%1\" was encrypted by a newer version of Quillmere (form "
                             "2); this version reads form 1\n")
                  .arg(path)
                  .toUtf8(),
              r.err);
}

TEST(EncryptedJournalTool, SalvageRescuesTheRowsOfTheIntactChunksIntoAnEncryptedJournal) {
    TempFolder dir;
    const QString path = dir.file("Journal.cds");
    ASSERT_EQ(0, tool({"generate", path, "--days", "2000", "--size", "2000"}).code);
    ASSERT_EQ(0, tool({"--password-file", passwords(dir, "first\n"), "encrypt", path}).code);
    QByteArray bytes = dir.read("Journal.cds");
    const qsizetype second =
        crypto::kSealedFileHeaderSize + crypto::kDefaultChunkSize + crypto::kChunkOverhead;
    ASSERT_GT(bytes.size(), second + 100);
    bytes[second + 50] = static_cast<char>(bytes[second + 50] ^ 0x01);
    dir.write("Journal.cds", bytes);

    const ToolRun r = tool(
        {"--password-file", passwords(dir, "first\n"), "salvage", path, dir.file("Rescued.cds")});
    ASSERT_EQ(0, r.code) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Encrypted chunks: 1 opened; the rest, from byte "
                                                "%1, does not open and is lost\n")
                                     .arg(second)
                                     .toUtf8()))
        << r.out.toStdString();
    EXPECT_TRUE(IsSealedDataFile(dir.read("Rescued.cds")));
    const ToolRun check =
        tool({"--password-file", passwords(dir, "first\n"), "check", dir.file("Rescued.cds")});
    EXPECT_EQ(0, check.code) << check.err.toStdString();
    // The first mebibyte holds a few hundred whole days of 2 KB entries.
    const int rescued = check.out.split(' ').value(1).toInt();  // "OK: N entries"
    EXPECT_GT(rescued, 300) << check.out.toStdString();
    EXPECT_LT(rescued, 2000);
}

TEST(EncryptedJournalTool, TheExecutableReadsThePasswordFromStandardInput) {
    TempFolder dir;
    const QString path = encryptedJournal(dir);
    QProcess process;
    process.start(QStringLiteral(QUILLMERE_JOURNAL_TOOL), {"cat", path, "2010-05-03"});
    ASSERT_TRUE(process.waitForStarted());
    process.write("first\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(0, process.exitCode()) << process.readAllStandardError().toStdString();
    EXPECT_EQ(QByteArray("{\\rtf1 three}"), process.readAllStandardOutput());
}
