// Reading the journal ahead: the table takes the preloaded content only when
// it is the same file, unchanged, read through the same file access; in every
// other case it reads the file itself and reports what it always reports.
#include "store/packet_preload.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include "test_support.h"

#include <QFile>
#include <QThread>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

constexpr double kDay = 45000;

// The real file system, counting the times a file is read whole or opened
// for reading its parts.
class CountingReads : public FileAccess {
public:
    QByteArray readAll(const QString& path) const override {
        ++reads;
        return FileAccess::readAll(path);
    }
    std::shared_ptr<const OpenFile> openForReading(const QString& path) const override {
        ++reads;
        return FileAccess::openForReading(path);
    }
    mutable std::atomic<int> reads{0};
};

// Reads that fail, as a file locked by another program does.
class FailingReads : public FileAccess {
public:
    QByteArray readAll(const QString& path) const override {
        throw FileError(QStringLiteral("Cannot open \"%1\": locked").arg(path));
    }
    std::shared_ptr<const OpenFile> openForReading(const QString& path) const override {
        readAll(path);
        return nullptr;
    }
};

QString makeJournal(const TempFolder& dir, int entries) {
    const QString path = dir.file("Journal.cds");
    JournalTable t;
    t.OpenJournal(path);
    for (int i = 0; i < entries; ++i) {
        t.StoreEntry(kDay + i, QByteArray("{\\rtf1 entry ") + QByteArray::number(i) + "}");
    }
    t.close();
    return path;
}

QByteArray entryText(const JournalTable& t, int index) {
    return DecodeEntryContent(t.entryAt(index));
}

}  // namespace

TEST(PacketPreload, TheTableTakesThePreloadedJournalWithoutReadingAgain) {
    TempFolder dir;
    const QString path = makeJournal(dir, 50);
    CountingReads counting;
    ScopedFileAccess inject(&counting);
    PreloadDataFile(path);
    JournalTable t;
    t.OpenJournal(path);
    EXPECT_EQ(1, counting.reads.load());
    ASSERT_EQ(50, t.recordCount());
    EXPECT_EQ(kDay + 49, t.dayAt(49));
    EXPECT_EQ(QByteArray("{\\rtf1 entry 49}"), entryText(t, 49));
    EXPECT_FALSE(t.isModified());
    // Used up: a second opening reads the file.
    JournalTable again;
    again.OpenJournal(path);
    EXPECT_EQ(2, counting.reads.load());
    EXPECT_EQ(50, again.recordCount());
    t.abandon();
    again.abandon();
}

TEST(PacketPreload, AFileChangedSinceThePreloadIsReadAgain) {
    TempFolder dir;
    const QString path = makeJournal(dir, 3);
    TempFolder elsewhere;
    const QString later = elsewhere.file("Journal.cds");
    {
        JournalTable writer;
        writer.OpenJournal(later);
        writer.StoreEntry(kDay + 7, "{\\rtf1 written later}");
        writer.close();
    }
    PreloadDataFile(path);
    QThread::msleep(20);  // a later modification time, whatever the clock
    // Another program replaces the file between the preload and the opening.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::copy(later, path));
    JournalTable t;
    t.OpenJournal(path);
    ASSERT_EQ(1, t.recordCount());
    EXPECT_EQ(QByteArray("{\\rtf1 written later}"), entryText(t, 0));
    t.abandon();
}

struct DeclineCase {
    const char* label;
    QByteArray content;  // the file's bytes
    const char* error;   // what opening throws, with or without a preload
};

class PreloadDeclineTest : public ::testing::TestWithParam<DeclineCase> {};

TEST_P(PreloadDeclineTest, AFailedPreloadLeavesTheErrorToTheOpening) {
    const DeclineCase& c = GetParam();
    TempFolder dir;
    const QString path = dir.write("Journal.cds", c.content);
    std::string withoutPreload;
    try {
        JournalTable t;
        t.OpenJournal(path);
    } catch (const Error& e) {
        withoutPreload = e.message().toStdString();
    }
    EXPECT_EQ(std::string(c.error), withoutPreload) << c.label;
    PreloadDataFile(path);
    JournalTable t;
    EXPECT_THROW_MSG(t.OpenJournal(path), Error, c.error);
    EXPECT_FALSE(t.isOpen()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Cases, PreloadDeclineTest,
                         ::testing::Values(DeclineCase{"robustness: empty file", QByteArray(),
                                                       "Missing data provider or data packet"},
                                           DeclineCase{"robustness: not a data packet",
                                                       QByteArray("damaged"),
                                                       "Not a valid data packet [$4005]"}));

TEST(PacketPreload, AReplacedFileAccessReadsThroughTheNewOne) {
    TempFolder dir;
    const QString path = makeJournal(dir, 2);
    PreloadDataFile(path);
    FailingReads failing;
    ScopedFileAccess inject(&failing);
    JournalTable t;
    EXPECT_THROW_MSG(t.OpenJournal(path), FileError,
                     QStringLiteral("Cannot open \"%1\": locked").arg(path).toStdString());
}

TEST(PacketPreload, APreloadOfAnotherFileOrOfNoFileIsNotTaken) {
    TempFolder dir;
    const QString path = makeJournal(dir, 2);
    TempFolder other;
    const QString otherPath = makeJournal(other, 5);
    PreloadDataFile(otherPath);
    JournalTable t;
    t.OpenJournal(path);
    EXPECT_EQ(2, t.recordCount());
    t.abandon();
    // The other preload is still there for its own file.
    {
        JournalTable o;
        o.OpenJournal(otherPath);
        EXPECT_EQ(5, o.recordCount());
        o.abandon();
    }
    // No file: nothing is preloaded, the opening makes an empty table.
    const QString missing = dir.file("Missing.cds");
    PreloadDataFile(missing);
    JournalTable m;
    m.OpenJournal(missing);
    EXPECT_TRUE(m.isOpen());
    EXPECT_EQ(0, m.recordCount());
    m.abandon();
    EXPECT_FALSE(QFile::exists(missing));
}

// The table keeps the fingerprint of the file it loaded (which file, its size
// and modification time), whether it read it itself or took it from the
// preload; a table made new has none.
TEST(PacketPreload, TheTableKnowsWhatItReadEitherWay) {
    TempFolder dir;
    const QString path = makeJournal(dir, 20);
    const FileFingerprint file = FileFingerprint::ofStatus(fileAccess().status(path));
    for (const bool preload : {true, false}) {
        if (preload) {
            PreloadDataFile(path);
        }
        JournalTable t;
        t.OpenJournal(path);
        EXPECT_TRUE(t.readFingerprint() == file) << (preload ? "preloaded" : "read");
        t.abandon();
        EXPECT_FALSE(t.readFingerprint().existed);
    }
    JournalTable fresh;
    fresh.OpenJournal(dir.file("Other.cds"));
    EXPECT_FALSE(fresh.readFingerprint().existed);
    fresh.abandon();
}
