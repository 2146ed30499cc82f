// The journal table: opening, storing a day, the skip searches, and writing
// the file only when something changed, safely.
#include "store/journal_table.h"
#include "store/dataset.h"
#include "store/dataset_error.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/timestamp.h"

#include "failing_files.h"
#include "packet_bytes.h"
#include "test_support.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

using namespace quillmere;
using testsupport::hexDump;
using testsupport::TempFolder;

namespace {

const char kClosed[] = "tblJournal: Cannot perform this operation on a closed dataset";

double march(int day) {
    return dayFromDate(QDate(2010, 3, day));
}

// A FileAccess whose atomic writes fail, as a full disk would.
// Root ignores folder permissions; drop to an ordinary user while the
// read-only folder is written to, so the test means the same for everyone.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() : wasRoot_(geteuid() == 0) {
        if (wasRoot_) {
            EXPECT_EQ(0, seteuid(65534));
        }
    }
    ~AsOrdinaryUser() {
        if (wasRoot_) {
            EXPECT_EQ(0, seteuid(0));
        }
    }

private:
    bool wasRoot_;
};

// The journal of the skip-search cases: entries on 1 and 10 March 2010.
void storeMarchEntries(JournalTable& t) {
    t.StoreEntry(march(10), "{\\rtf1 ten}");
    t.StoreEntry(march(1), "{\\rtf1 one}");
}

QDateTime lastModified(const QString& path) {
    return QFileInfo(path).lastModified();
}

}  // namespace

TEST(JournalTable, MissingFileGivesAnEmptyTableAndWritesNothing) {
    TempFolder dir;
    const QString path = dir.file("Journal.cds");
    {
        JournalTable t;
        t.OpenJournal(path);
        EXPECT_TRUE(t.isOpen());
        EXPECT_TRUE(t.isEmpty());
        EXPECT_EQ(-1, t.find(march(1)));
        t.close();
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(JournalTable, FileKeepsInsertionOrderWhileTheIndexGivesDateOrder) {
    TempFolder dir;
    const QString path = dir.file("Journal.cds");
    const double may3 = dayFromDate(QDate(2010, 5, 3));
    {
        JournalTable t;
        t.OpenJournal(path);
        t.StoreEntry(may3, "three");
        t.StoreEntry(may3 - 2, "one");
        t.StoreEntry(may3 - 1, "two");
        EXPECT_EQ(may3 - 2, t.dayAt(0));
        t.close();
    }
    DSBASE file;
    file.loadPacket(dir.read("Journal.cds"));
    ASSERT_EQ(3, file.recordCount());
    const double expectedFileOrder[] = {may3, may3 - 2, may3 - 1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(expectedFileOrder[i],
                  StoredToDateTime(file.storedDateTime(file.cell(file.recordId(i), 0))));
    }
    JournalTable again;
    again.OpenJournal(path);
    const char* expectedText[] = {"one", "two", "three"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(may3 - 2 + i, again.dayAt(i));
        EXPECT_EQ(QByteArray(expectedText[i]), DecodeEntryContent(again.entryAt(i)));
    }
}

TEST(JournalTable, StoringADayTwiceKeepsOneRecord) {
    TempFolder dir;
    JournalTable t;
    t.OpenJournal(dir.file("Journal.cds"));
    t.StoreEntry(march(5), "first");
    t.StoreEntry(march(5), "second");
    ASSERT_EQ(1, t.recordCount());
    EXPECT_EQ(QByteArray("second"), DecodeEntryContent(t.entryAt(0)));
    t.close();
    JournalTable again;
    again.OpenJournal(dir.file("Journal.cds"));
    EXPECT_EQ(1, again.recordCount());
}

TEST(JournalTable, JournalRowBytesOf15June2010) {
    TempFolder dir;
    JournalTable t;
    t.OpenJournal(dir.file("Journal.cds"));
    t.StoreDay(40344.0, [] { return QByteArray("abc"); });
    t.close();
    EXPECT_EQ(hexDump(storetest::withRowCount(storetest::emptyJournalPacket(), 1) +
                      storetest::june15Row()),
              hexDump(dir.read("Journal.cds")));
}

TEST(JournalTable, EmptyDocumentIsStillAnEntry) {
    TempFolder dir;
    JournalTable t;
    t.OpenJournal(dir.file("Journal.cds"));
    t.StoreEntry(march(1), "{\\rtf1 one}");
    t.StoreEntry(march(10), "{\\rtf1 ten}");
    t.StoreEntry(march(4), QByteArray());
    const int at = t.find(march(4));
    ASSERT_GE(at, 0);
    EXPECT_TRUE(t.entryAt(at).startsWith("\x78\x01"));
    EXPECT_EQ(QByteArray(), DecodeEntryContent(t.entryAt(at)));
    std::vector<double> walked;
    EXPECT_EQ(march(4), t.FindPreviousEntryDay(march(6), [&](double d) { walked.push_back(d); }));
    EXPECT_EQ(std::vector<double>({march(5), march(4)}), walked);
}

TEST(JournalTable, LookupMatchesWholeMilliseconds) {
    TempFolder dir;
    JournalTable t;
    t.OpenJournal(dir.file("Journal.cds"));
    t.StoreEntry(march(1), "x");
    EXPECT_EQ(0, t.find(march(1) + 0.4 / 86400000.0));
    EXPECT_EQ(-1, t.find(march(1) + 1.0 / 86400000.0));
    EXPECT_TRUE(t.Locate(march(1)));
    EXPECT_EQ(march(1), t.JournalDate());
}

TEST(JournalTable, FailedEncodingLeavesNothing) {
    TempFolder dir;
    JournalTable t;
    t.OpenJournal(dir.file("Journal.cds"));
    const auto failing = []() -> QByteArray { throw ZlibError(-4, "insufficient memory"); };
    EXPECT_THROW_MSG(t.StoreDay(march(2), failing), ZlibError, "insufficient memory");
    EXPECT_TRUE(t.isEmpty());
    EXPECT_FALSE(t.isModified());
    EXPECT_EQ(TableMode::kBrowse, t.mode());

    t.StoreEntry(march(2), "kept");
    EXPECT_THROW(t.StoreDay(march(2), failing), ZlibError);
    ASSERT_EQ(1, t.recordCount());
    EXPECT_EQ(QByteArray("kept"), DecodeEntryContent(t.entryAt(0)));
    EXPECT_EQ(TableMode::kBrowse, t.mode());
}

TEST(JournalTable, EditInsertPostCancel) {
    TempFolder dir;
    JournalTable t;
    t.OpenJournal(dir.file("Journal.cds"));
    EXPECT_THROW_MSG(t.post(), Error, "tblJournal: Dataset not in edit or insert mode");
    EXPECT_THROW_MSG(t.edit(), Error, "tblJournal: Cannot modify an empty dataset");
    t.insert();
    t.setJournalDate(march(3));
    t.setJournalEntry(EncodeEntryContent("a"));
    t.cancel();
    EXPECT_TRUE(t.isEmpty());
    EXPECT_THROW_MSG(t.setJournalDate(march(3)), Error,
                     "tblJournal: Dataset not in edit or insert mode");
    t.insert();
    EXPECT_THROW_MSG(t.setJournalDate(-693594.0), DatasetError, "'0.0' is not a valid timestamp");
    t.setJournalDate(march(3));
    EXPECT_EQ(march(3), t.JournalDate());
    t.post();
    EXPECT_EQ(1, t.recordCount());
    // Editing the date moves the record in the index.
    t.StoreEntry(march(9), "nine");
    ASSERT_TRUE(t.First());
    t.edit();
    t.setJournalDate(march(20));
    t.post();
    EXPECT_EQ(march(9), t.dayAt(0));
    EXPECT_EQ(march(20), t.dayAt(1));
}

struct SkipCase {
    const char* name;
    bool previous;
    int current;  // day of March 2010, the caller having moved already
    int result;
    std::vector<int> walked;  // SetCurrentDay calls
};

class SkipSearch : public ::testing::TestWithParam<SkipCase> {};

TEST_P(SkipSearch, EntriesOnFirstAndTenthOfMarch) {
    const SkipCase& c = GetParam();
    TempFolder dir;
    JournalTable t;
    t.OpenJournal(dir.file("Journal.cds"));
    storeMarchEntries(t);
    std::vector<double> walked;
    const auto set = [&](double d) { walked.push_back(d); };
    const double got = c.previous ? t.FindPreviousEntryDay(march(c.current), set)
                                  : t.FindNextEntryDay(march(c.current), set);
    EXPECT_EQ(march(c.result), got);
    std::vector<double> expected;
    for (const int d : c.walked) {
        expected.push_back(march(d));
    }
    EXPECT_EQ(expected, walked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkipSearch,
    ::testing::Values(SkipCase{"previousWalksNineDownToOne", true, 9, 1, {8, 7, 6, 5, 4, 3, 2, 1}},
                      SkipCase{"previousAfterLatestJumps", true, 20, 10, {}},
                      SkipCase{"previousBeforeEarliestStays", true, 0, 0, {}},
                      SkipCase{"previousOnAnEntry", true, 10, 10, {}},
                      SkipCase{"nextWalksTwoUpToTen", false, 2, 10, {3, 4, 5, 6, 7, 8, 9, 10}},
                      SkipCase{"nextBeforeEarliestJumps", false, -8, 1, {}},
                      SkipCase{"nextAfterLatestStays", false, 11, 11, {}},
                      SkipCase{"nextOnAnEntry", false, 1, 1, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JournalTable, SkipSearchesOnAnEmptyOrClosedTable) {
    TempFolder dir;
    JournalTable t;
    int calls = 0;
    const auto set = [&](double) { ++calls; };
    EXPECT_EQ(march(5), t.FindNextEntryDay(march(5), set));
    EXPECT_THROW_MSG(t.FindPreviousEntryDay(march(5), set), Error, kClosed);
    t.OpenJournal(dir.file("Journal.cds"));
    EXPECT_EQ(march(5), t.FindNextEntryDay(march(5), set));
    EXPECT_EQ(march(5), t.FindPreviousEntryDay(march(5), set));
    EXPECT_EQ(0, calls);
}

TEST(JournalTable, WalkStopsOnDatesWithATimeOfDay) {
    // A file written elsewhere, with times of day on its dates.
    TempFolder dir;
    JournalTable t;
    t.OpenJournal(dir.file("Journal.cds"));
    for (const double d : {march(1) + 0.25, march(5) + 0.5, march(10) + 0.25}) {
        t.insert();
        t.setJournalDate(d);
        t.setJournalEntry(EncodeEntryContent("x"));
        t.post();
    }
    std::vector<double> walked;
    const auto set = [&](double d) { walked.push_back(d); };
    EXPECT_EQ(march(5) + 0.5, t.FindPreviousEntryDay(march(9), set));
    EXPECT_EQ(std::vector<double>({march(8), march(7), march(6), march(5) + 0.5}), walked);
    walked.clear();
    EXPECT_EQ(march(10) + 0.25, t.FindNextEntryDay(march(6), set));
    EXPECT_EQ(std::vector<double>({march(7), march(8), march(9), march(10), march(10) + 0.25}),
              walked);
    EXPECT_EQ(march(10) + 0.25, t.JournalDate());
}

TEST(JournalTable, ARunThatStoresNothingLeavesTheFileUntouched) {
    TempFolder dir;
    const QString path = dir.file("Journal.cds");
    {
        JournalTable t;
        t.OpenJournal(path);
        storeMarchEntries(t);
        t.close();
    }
    const QByteArray before = dir.read("Journal.cds");
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QDateTime stamped = lastModified(path);
    {
        JournalTable t;
        t.OpenJournal(path);
        EXPECT_GE(t.find(march(1)), 0);
        t.FindNextEntryDay(march(2), [](double) {});
        for (int i = 0; i < t.recordCount(); ++i) {
            DecodeEntryContent(t.entryAt(i));
        }
        EXPECT_FALSE(t.isModified());
        t.close();
    }
    EXPECT_EQ(hexDump(before), hexDump(dir.read("Journal.cds")));
    EXPECT_EQ(stamped, lastModified(path));
}

TEST(JournalTable, DestructorWritesChangesItWasNotClosedWith) {
    TempFolder dir;
    {
        JournalTable t;
        t.OpenJournal(dir.file("Journal.cds"));
        t.StoreEntry(march(1), "kept at exit");
    }
    JournalTable again;
    again.OpenJournal(dir.file("Journal.cds"));
    ASSERT_EQ(1, again.recordCount());
    EXPECT_EQ(QByteArray("kept at exit"), DecodeEntryContent(again.entryAt(0)));
}

TEST(JournalTable, FailedWriteKeepsTheOldFileAndTheChanges) {
    TempFolder dir;
    const QString path = dir.file("Journal.cds");
    {
        JournalTable t;
        t.OpenJournal(path);
        t.StoreEntry(march(1), "old");
        t.close();
    }
    const QByteArray before = dir.read("Journal.cds");
    auto failing = testsupport::FailingFiles::everyFile();
    JournalTable t;
    t.OpenJournal(path);
    t.StoreEntry(march(2), "new");
    {
        ScopedFileAccess inject(&failing);
        EXPECT_THROW_MSG(
            t.close(), FileError,
            QStringLiteral("Cannot write \"%1\": No space left on device").arg(path).toStdString());
        EXPECT_EQ(1, failing.failures());
    }
    EXPECT_EQ(hexDump(before), hexDump(dir.read("Journal.cds")));
    // Still open with its changes: a second close writes them.
    EXPECT_TRUE(t.isOpen());
    EXPECT_TRUE(t.isModified());
    t.close();
    JournalTable again;
    again.OpenJournal(path);
    EXPECT_EQ(2, again.recordCount());
}

TEST(JournalTable, ReadOnlyFolderKeepsTheOldFile) {
    TempFolder dir;
    const QString path = dir.file("Journal.cds");
    {
        JournalTable t;
        t.OpenJournal(path);
        t.StoreEntry(march(1), "old");
        t.close();
    }
    const QByteArray before = dir.read("Journal.cds");
    JournalTable t;
    t.OpenJournal(path);
    t.StoreEntry(march(2), "new");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                          QFileDevice::ReadOther | QFileDevice::ExeOther);
    bool failed = false;
    {
        AsOrdinaryUser user;
        try {
            t.close();
        } catch (const FileError& e) {
            failed = true;
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QFileInfo(path).fileName()))
                << e.what();
        }
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(failed);
    EXPECT_EQ(hexDump(before), hexDump(dir.read("Journal.cds")));
    EXPECT_EQ(QStringList({"Journal.cds"}), QDir(dir.path()).entryList(QDir::Files | QDir::Hidden));
    t.abandon();
}

struct BadFileCase {
    const char* name;
    QByteArray bytes;
    const char* message;  // exact text, or nullptr to check only the type
};

class UnreadableJournal : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(UnreadableJournal, StaysClosedAndWritesNothing) {
    const BadFileCase& c = GetParam();
    TempFolder dir;
    const QString path = dir.write("Journal.cds", c.bytes);
    JournalTable t;
    if (c.message) {
        EXPECT_THROW_MSG(t.OpenJournal(path), Error, c.message);
    } else {
        EXPECT_THROW(t.OpenJournal(path), DatasetError);
    }
    EXPECT_FALSE(t.isOpen());
    EXPECT_EQ(0, t.recordCount());
    EXPECT_THROW_MSG(t.find(march(1)), Error, kClosed);
    EXPECT_THROW_MSG(t.StoreEntry(march(1), "x"), Error, kClosed);
    EXPECT_THROW_MSG(t.First(), Error, kClosed);
    t.close();
    EXPECT_EQ(hexDump(c.bytes), hexDump(dir.read("Journal.cds")));
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableJournal,
    ::testing::Values(
        BadFileCase{"emptyFile", QByteArray(), "Missing data provider or data packet"},
        BadFileCase{"notAPacket", QByteArray("hello"), "Not a valid data packet [$4005]"},
        BadFileCase{"truncated", storetest::emptyJournalPacket().left(50), nullptr},
        BadFileCase{"settingsFileInstead", storetest::emptySettingsPacket(),
                    "tblJournal: Field 'JournalDate' not found"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JournalTable, XmlFileNameWritesXmlThatReadsBack) {
    TempFolder dir;
    const QString path = dir.file("Journal.XML");
    {
        JournalTable t;
        t.OpenJournal(path);
        storeMarchEntries(t);
        t.close();
    }
    EXPECT_TRUE(dir.read("Journal.XML").startsWith("<?xml"));
    JournalTable again;
    again.OpenJournal(path);
    ASSERT_EQ(2, again.recordCount());
    EXPECT_EQ(QByteArray("{\\rtf1 ten}"), DecodeEntryContent(again.entryAt(1)));
}

TEST(JournalTable, UnreadableFileLeavesTheTableClosed) {
    // Another program holding the file, or a permission problem.
    class LockedFile : public FileAccess {
    public:
        bool exists(const QString&) const override { return true; }
        FileStatus status(const QString&) const override { return {FileKind::kRegular, 88}; }
        QByteArray readAll(const QString& path) const override {
            throw FileError(QStringLiteral("Cannot open \"%1\": Permission denied").arg(path));
        }
        std::shared_ptr<const OpenFile> openForReading(const QString& path) const override {
            readAll(path);
            return nullptr;
        }
    };
    LockedFile locked;
    ScopedFileAccess inject(&locked);
    JournalTable t;
    EXPECT_THROW_MSG(t.OpenJournal("/data/Journal.cds"), FileError,
                     "Cannot open \"/data/Journal.cds\": Permission denied");
    EXPECT_FALSE(t.isOpen());
    EXPECT_TRUE(t.isEmpty());
    EXPECT_EQ(march(3), t.FindNextEntryDay(march(3), [](double) {}));
}
