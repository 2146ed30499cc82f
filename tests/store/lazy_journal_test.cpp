// A journal whose entries stay in the file until they are asked for: the
// exact bytes come back, a file cut behind the table's back costs the lost
// entries only, and the streamed write at the end gives the bytes a write
// from memory gives, copying the unchanged rows and keeping the previous file
// as "Journal.cds.bak" without a copy.
#include "store/dataset.h"
#include "store/dataset_error.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include "failing_files.h"
#include "packet_bytes.h"
#include "test_support.h"

#include <QRandomGenerator>

#include <sys/stat.h>

#include <cerrno>
#include <functional>
#include <vector>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

double june(int day) {
    return dayFromDate(QDate(2010, 6, day));
}

// A blob that does not compress: `size` random bytes (the stored form of a
// photograph is as dense).
QByteArray denseBlob(quint32 seed, int size) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

struct Day {
    double day;
    QByteArray blob;  // empty: a record without an entry
};

// Writes a journal of these days, in this order, as the program does.
QString writeJournal(const TempFolder& dir, const std::vector<Day>& days,
                     const char* name = "Journal.cds") {
    JournalTable t;
    const QString path = dir.file(name);
    t.OpenJournal(path);
    for (const Day& d : days) {
        t.StoreDay(d.day, [&d] { return d.blob; });
    }
    t.close();
    return path;
}

std::vector<FieldDeclaration> journalFields() {
    return {FieldDeclaration::dateTime("JournalDate"), FieldDeclaration::blob("JournalEntry")};
}

// The packet of these days built wholly in memory, the reference for every
// write.
QByteArray packetFromMemory(const std::vector<Day>& days) {
    DSBASE t;
    t.createTable(journalFields());
    t.setLogChanges(false);
    for (const Day& d : days) {
        RecordBuffer r = t.blankRecord();
        t.setDateTime(r, 0, d.day);
        t.setBytes(r, 1, d.blob);
        t.insertRecord(t.recordCount(), std::move(r));
    }
    return t.savePacket();
}

const std::vector<Day> kSample = {
    {june(3), denseBlob(1, 700 * 1024)},
    {june(1), EncodeEntryContent("{\\rtf1 short}")},
    {june(2), QByteArray()},
    {june(5), denseBlob(2, 1200 * 1024)},
    {june(4), denseBlob(3, 40)},
};

}  // namespace

// Reopened, every entry gives its exact bytes, a record without an entry
// stays blank, and the table writes the file back byte for byte.
TEST(LazyJournal, EntriesReadLazilyAreTheExactBytes) {
    TempFolder dir;
    const QString path = writeJournal(dir, kSample);
    const QByteArray file = dir.read("Journal.cds");
    ASSERT_EQ(packetFromMemory(kSample), file);
    JournalTable t;
    t.OpenJournal(path);
    ASSERT_EQ(5, t.recordCount());
    for (int i = 0; i < t.recordCount(); ++i) {
        const auto it = std::find_if(kSample.begin(), kSample.end(),
                                     [&](const Day& d) { return d.day == t.dayAt(i); });
        ASSERT_NE(kSample.end(), it);
        EXPECT_EQ(it->blob.size(), t.entrySizeAt(i)) << i;
        EXPECT_EQ(it->blob, t.entryAt(i)) << i;
        EXPECT_EQ(it->blob, t.storedEntryAt(i).read()) << i;
    }
    EXPECT_EQ(file, t.dataset().savePacket());
    t.abandon();
}

// Another program cuts the file while the diary is open: the entries it cut
// off give the store's error, the others still read, and nothing crashes.
TEST(LazyJournal, AFileCutBehindTheTableCostsTheLostEntriesOnly) {
    TempFolder dir;
    const std::vector<Day> days = {{june(1), denseBlob(4, 30000)},
                                   {june(2), denseBlob(5, 30000)},
                                   {june(3), denseBlob(6, 30000)}};
    const QString path = writeJournal(dir, days);
    JournalTable t;
    t.OpenJournal(path);
    fileAccess().truncate(path, dir.read("Journal.cds").size() - 40000);
    const std::string lost = "Cannot read \"" + path.toStdString() +
                             "\": the file was cut short or changed by " + "another program";
    EXPECT_EQ(days[0].blob, t.entryAt(0));
    EXPECT_THROW_MSG(t.entryAt(1), FileError, lost);
    EXPECT_THROW_MSG(t.entryAt(2), FileError, lost);
    ASSERT_TRUE(t.Locate(june(3)));
    EXPECT_THROW_MSG(t.JournalEntry(), FileError, lost);
    // Writing it now would lose the cut entries: the write fails instead and
    // the cut file stays as it is.
    t.StoreDay(june(1), [] { return QByteArray("changed"); });
    EXPECT_THROW(t.close(), FileError);
    EXPECT_EQ(3 * 30000 + 88 + 3 * 14 - 40000, dir.read("Journal.cds").size());
    t.abandon();
}

// The reader that leaves entries in the file agrees with the one that reads
// the packet whole about every cut and every damaged byte.
TEST(LazyJournal, EveryDamageIsReportedAsWhenReadWhole) {
    TempFolder dir;
    const QByteArray packet =
        packetFromMemory({{june(1), "abc"}, {june(2), QByteArray(300, 'x')}, {june(3), "z"}});
    const auto outcome = [](const std::function<void(DSBASE&)>& load) {
        DSBASE t;
        try {
            load(t);
        } catch (const Error& e) {
            return e.message().toStdString();
        }
        return std::to_string(t.recordCount()) + " rows";
    };
    const auto compare = [&](const QByteArray& bytes, const std::string& label) {
        const QString path = dir.write("Damaged.cds", bytes);
        EXPECT_EQ(outcome([&](DSBASE& t) { t.loadPacket(bytes); }),
                  outcome([&](DSBASE& t) { t.loadPacketFile(fileAccess().openForReading(path)); }))
            << label;
    };
    for (qsizetype length = 1; length < packet.size(); ++length) {
        compare(packet.first(length), "robustness: cut to " + std::to_string(length));
    }
    for (qsizetype at = 0; at < packet.size(); ++at) {
        QByteArray flipped = packet;
        flipped[at] = static_cast<char>(flipped[at] ^ 0x80);
        compare(flipped, "robustness: byte " + std::to_string(at) + " flipped");
    }
}

struct EndWriteCase {
    const char* label;
    // Changes the table read from the sample file.
    std::function<void(DSBASE&)> change;
    std::vector<Day> expected;  // the days the new file holds, in file order
};

void PrintTo(const EndWriteCase& c, std::ostream* os) {
    *os << c.label;
}

class StreamedEndWrite
    : public ::testing::TestWithParam<std::tuple<EndWriteCase, bool /*system copies*/>> {};

// The end's streamed write gives exactly the bytes of the same table written
// from memory, whether the system copies the unchanged rows or they pass
// through memory (another file system), and keeps the previous file as the
// backup: a second name of it, not a copy.
TEST_P(StreamedEndWrite, GivesTheBytesOfAWriteFromMemory) {
    const auto& [c, systemCopies] = GetParam();
    TempFolder dir;
    const QString path = writeJournal(dir, kSample);
    const QByteArray previous = dir.read("Journal.cds");
    struct stat before {};
    ASSERT_EQ(0, ::stat(QFile::encodeName(path).constData(), &before));

    struct NoSystemCopy : FileAccess {
        qint64 copySome(int, qint64, int, qint64) const override {
            errno = EXDEV;
            return -1;
        }
    } noCopy;
    ScopedFileAccess seam(systemCopies ? nullptr : &noCopy);
    DSBASE t;
    t.loadPacketFile(fileAccess().openForReading(path));
    t.setLogChanges(false);
    c.change(t);
    const QString backup = dir.file("Journal.cds.bak");
    fileAccess().writeAtomicStreamed(
        path, [&t](FileSink& sink) { t.writePacket(sink); }, backup);

    // Compared whole, not as a hex dump: the packets are megabytes long.
    EXPECT_TRUE(packetFromMemory(c.expected) == dir.read("Journal.cds")) << c.label;
    EXPECT_EQ(previous, dir.read("Journal.cds.bak")) << c.label;
    struct stat kept {};
    ASSERT_EQ(0, ::stat(QFile::encodeName(backup).constData(), &kept));
    EXPECT_EQ(before.st_ino, kept.st_ino) << c.label;
}

// Small unchanged entries are read ahead in one piece; a cut that takes
// only the entry being replaced still costs nothing, and the write gives the
// bytes of the same table written from memory.
TEST(StreamedEndWriteOfACutFile, ACutThatTakesOnlyAReplacedEntryDoesNotStopTheWrite) {
    TempFolder dir;
    std::vector<Day> days = {{june(1), denseBlob(4, 30000)},
                             {june(2), denseBlob(5, 30000)},
                             {june(3), denseBlob(6, 30000)}};
    const QString path = writeJournal(dir, days);
    DSBASE t;
    t.loadPacketFile(fileAccess().openForReading(path));
    t.setLogChanges(false);
    fileAccess().truncate(path, dir.read("Journal.cds").size() - 20000);
    RecordBuffer last = t.readRecord(t.recordId(2));
    t.setBytes(last, 1, QByteArray("changed"));
    t.writeRecord(t.recordId(2), std::move(last));
    fileAccess().writeAtomicStreamed(path, [&t](FileSink& sink) { t.writePacket(sink); }, {});
    days[2].blob = "changed";
    EXPECT_TRUE(packetFromMemory(days) == dir.read("Journal.cds"));
}

namespace {

// The sample with the blob of day `index` (file order) replaced.
std::vector<Day> sampleWith(std::size_t index, const QByteArray& blob) {
    std::vector<Day> days = kSample;
    days[index].blob = blob;
    return days;
}

void setEntry(DSBASE& t, int position, const QByteArray& blob) {
    RecordBuffer r = t.readRecord(t.recordId(position));
    t.setBytes(r, 1, blob);
    t.writeRecord(t.recordId(position), std::move(r));
}

const EndWriteCase kEndWrites[] = {
    {"nominal: nothing changed", [](DSBASE&) {}, kSample},
    {"nominal: one day changed between two photographs",
     [](DSBASE& t) { setEntry(t, 1, EncodeEntryContent("{\\rtf1 changed}")); },
     sampleWith(1, EncodeEntryContent("{\\rtf1 changed}"))},
    {"nominal: a photograph replaced by a larger one",
     [](DSBASE& t) { setEntry(t, 3, denseBlob(9, 1500 * 1024)); },
     sampleWith(3, denseBlob(9, 1500 * 1024))},
    {"nominal: a day added",
     [](DSBASE& t) {
         RecordBuffer r = t.blankRecord();
         t.setDateTime(r, 0, june(6));
         t.setBytes(r, 1, denseBlob(10, 5000));
         t.insertRecord(t.recordCount(), std::move(r));
     },
     [] {
         std::vector<Day> days = kSample;
         days.push_back({june(6), denseBlob(10, 5000)});
         return days;
     }()},
    {"nominal: a day deleted", [](DSBASE& t) { t.deleteRecord(t.recordId(0)); },
     std::vector<Day>(kSample.begin() + 1, kSample.end())},
    {"nominal: changed, added and deleted together",
     [](DSBASE& t) {
         t.deleteRecord(t.recordId(4));
         setEntry(t, 0, QByteArray("first"));
         RecordBuffer r = t.blankRecord();
         t.setDateTime(r, 0, june(7));
         t.setBytes(r, 1, QByteArray("added"));
         t.insertRecord(t.recordCount(), std::move(r));
     },
     [] {
         std::vector<Day> days = sampleWith(0, "first");
         days.erase(days.begin() + 4);
         days.push_back({june(7), "added"});
         return days;
     }()},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Cases, StreamedEndWrite,
                         ::testing::Combine(::testing::ValuesIn(kEndWrites), ::testing::Bool()));

// A journal read with a damaged row status byte: that row cannot be copied as
// it stands (it is written with status 0), so its entry is read from the file
// and written again; every other row is copied.
TEST(LazyJournal, ARowWithADamagedStatusIsRewrittenFromTheFile) {
    TempFolder dir;
    const QByteArray blob = denseBlob(11, 2000);
    const QByteArray clean = packetFromMemory({{june(1), "one"}, {june(2), blob}});
    QByteArray damaged = clean;
    damaged[88 + 1 + 1 + 8 + 4 + 3] = 0x08;  // the second row's status byte
    const QString path = dir.write("Journal.cds", damaged);
    DSBASE t;
    t.loadPacketFile(fileAccess().openForReading(path));
    ASSERT_EQ(1u, t.strayStatuses().size());
    t.setLogChanges(false);
    fileAccess().writeAtomicStreamed(
        dir.file("Out.cds"), [&t](FileSink& sink) { t.writePacket(sink); }, QString());
    EXPECT_EQ(clean, dir.read("Out.cds"));
}
