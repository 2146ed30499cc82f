// Salvage of damaged journals: truncated, with a damaged entry, with a
// damaged row count, length or metadata. Every intact day must come back
// with its bytes unchanged, and every day lost must be reported.
#include "store/journal_salvage.h"
#include "store/coding.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/journal_table.h"
#include "store/timestamp.h"
#include "tools/journal/commands.h"

#include "test_support.h"

#include <QBuffer>
#include <QDate>

#include <map>

using namespace quillmere;
using namespace quillmere::journaltool;
using testsupport::TempFolder;

namespace {

constexpr int kDays = 5;
constexpr qsizetype kFirstRow = 88;

double dayOf(int i) {
    return dayFromDate(QDate(2010, 5, 1 + i));
}

// Five days with entries of different lengths, and where each row starts.
struct SampleJournal {
    QByteArray packet;
    std::vector<qsizetype> rowStarts;
    std::map<double, QByteArray> blobs;  // by stored date-time
};

SampleJournal sampleJournal() {
    TempFolder dir;
    const QString path = dir.file("Journal.cds");
    SampleJournal sample;
    {
        JournalTable t;
        t.OpenJournal(path);
        for (int i = 0; i < kDays; ++i) {
            t.StoreEntry(dayOf(i), "{\\rtf1 day " + QByteArray(20 * (i + 1), char('a' + i)) + "}");
        }
        t.close();
    }
    sample.packet = dir.read("Journal.cds");
    JournalTable t;
    t.OpenJournal(path);
    qsizetype at = kFirstRow;
    for (int i = 0; i < kDays; ++i) {
        sample.rowStarts.push_back(at);
        sample.blobs[DateTimeToStored(dayOf(i))] = t.entryAt(t.find(dayOf(i)));
        at += 1 + 1 + 8 + 4 + t.entryAt(t.find(dayOf(i))).size();
    }
    EXPECT_EQ(sample.packet.size(), at);
    return sample;
}

// The days (as indexes 0..4) an outcome rescued with their exact bytes.
std::vector<int> rescuedDays(const SampleJournal& sample, const SalvageResult& result) {
    std::vector<int> days;
    for (const SalvagedEntry& e : result.entries) {
        for (int i = 0; i < kDays; ++i) {
            if (e.storedDate == DateTimeToStored(dayOf(i)) &&
                e.blob == sample.blobs.at(e.storedDate)) {
                days.push_back(i);
            }
        }
    }
    return days;
}

std::vector<int> allBut(std::initializer_list<int> lost) {
    std::vector<int> days;
    for (int i = 0; i < kDays; ++i) {
        if (std::find(lost.begin(), lost.end(), i) == lost.end()) {
            days.push_back(i);
        }
    }
    return days;
}

}  // namespace

TEST(JournalSalvage, IntactJournalIsRescuedWhole) {
    const SampleJournal sample = sampleJournal();
    const SalvageResult result = salvageJournalPacket(sample.packet);
    EXPECT_EQ(allBut({}), rescuedDays(sample, result));
    EXPECT_TRUE(result.losses.empty());
    EXPECT_FALSE(result.layoutAssumed);
    EXPECT_EQ("Rescued 5 entries; 0 days known lost; the header counts 5 rows\n",
              salvageReport(result).toStdString());
}

TEST(JournalSalvage, TruncatedInTheMiddleOfARow) {
    const SampleJournal sample = sampleJournal();
    const qsizetype cut = sample.rowStarts[2] + 20;
    const SalvageResult result = salvageJournalPacket(sample.packet.left(cut));
    EXPECT_EQ(allBut({2, 3, 4}), rescuedDays(sample, result));
    EXPECT_EQ(QStringLiteral("2010-05-03: lost, the row is cut off (at byte %1)\n"
                             "bytes %1 to %2: damaged, passed over (any day recorded there is "
                             "lost)\n"
                             "Rescued 2 entries; 1 day known lost; the header counts 5 rows\n")
                  .arg(sample.rowStarts[2])
                  .arg(cut - 1),
              salvageReport(result));
}

TEST(JournalSalvage, FlippedByteInsideOneEntrysZlibStream) {
    const SampleJournal sample = sampleJournal();
    QByteArray damaged = sample.packet;
    const qsizetype blobStart = sample.rowStarts[2] + 14;
    damaged[blobStart + 6] = char(damaged[blobStart + 6] ^ 0x5A);
    QString zlibMessage;
    try {
        DecodeEntryContent(damaged.mid(blobStart, sample.rowStarts[3] - blobStart));
    } catch (const ZlibError& e) {
        zlibMessage = e.message();
    }
    ASSERT_FALSE(zlibMessage.isEmpty()) << "the flip must damage the stream";

    const SalvageResult result = salvageJournalPacket(damaged);
    EXPECT_EQ(allBut({2}), rescuedDays(sample, result));
    EXPECT_EQ(QStringLiteral("2010-05-03: lost, the entry does not inflate (%1) (at byte %2)\n"
                             "Rescued 4 entries; 1 day known lost; the header counts 5 rows\n")
                  .arg(zlibMessage)
                  .arg(sample.rowStarts[2]),
              salvageReport(result));
}

class DamagedRowCount : public ::testing::TestWithParam<quint32> {};

TEST_P(DamagedRowCount, EveryRowIsRescuedWhateverTheHeaderSays) {
    const SampleJournal sample = sampleJournal();
    QByteArray damaged = sample.packet;
    EncodeFixed32(damaged.data() + 14, GetParam());
    const SalvageResult result = salvageJournalPacket(damaged);
    EXPECT_EQ(allBut({}), rescuedDays(sample, result));
    EXPECT_TRUE(result.losses.empty());
    EXPECT_EQ(GetParam(), result.headerRows.value_or(12345));
}

INSTANTIATE_TEST_SUITE_P(Counts, DamagedRowCount, ::testing::Values(0u, 2u, 6u, 0xFFFFFFFFu));

TEST(JournalSalvage, DamagedBlobLengthCostsThatRowOnly) {
    const SampleJournal sample = sampleJournal();
    QByteArray damaged = sample.packet;
    EncodeFixed32(damaged.data() + sample.rowStarts[1] + 10, 0x00100000);
    const SalvageResult result = salvageJournalPacket(damaged);
    EXPECT_EQ(allBut({1}), rescuedDays(sample, result));
    ASSERT_EQ(1u, result.losses.size());
    EXPECT_EQ(DateTimeToStored(dayOf(1)), result.losses[0].storedDate.value_or(0));
    EXPECT_EQ(sample.rowStarts[2] - sample.rowStarts[1], result.losses[0].length);
}

TEST(JournalSalvage, DamagedMetadataFallsBackToTheJournalLayout) {
    const SampleJournal sample = sampleJournal();
    QByteArray damaged = sample.packet;
    damaged[26] = 'X';  // inside the first column's name
    const SalvageResult result = salvageJournalPacket(damaged);
    EXPECT_TRUE(result.layoutAssumed);
    EXPECT_EQ(allBut({}), rescuedDays(sample, result));
}

TEST(JournalSalvage, NotAJournalAtAllIsRefused) {
    EXPECT_THROW_MSG(salvageJournalPacket(QByteArray(200, 'x')), Error,
                     "not a binary journal packet");
    EXPECT_THROW_MSG(salvageJournalPacket(QByteArray()), Error, "not a binary journal packet");
}

// Any single damaged byte anywhere costs at most one day, and whatever is
// rescued is exactly as stored.
TEST(JournalSalvage, AnyFlippedByteCostsAtMostOneDay) {
    const SampleJournal sample = sampleJournal();
    for (qsizetype at = 0; at < sample.packet.size(); ++at) {
        for (const char mask : {char(0x01), char(0x80), char(0xFF)}) {
            QByteArray damaged = sample.packet;
            damaged[at] = char(damaged[at] ^ mask);
            const SalvageResult result = salvageJournalPacket(damaged);
            EXPECT_GE(rescuedDays(sample, result).size(), size_t(kDays - 1))
                << "byte " << at << " mask " << int(mask);
            for (const SalvagedEntry& e : result.entries) {
                EXPECT_NO_THROW(DecodeEntryContent(e.blob)) << "byte " << at;
            }
        }
    }
}

TEST(JournalSalvage, EveryTruncationKeepsTheRowsBeforeIt) {
    const SampleJournal sample = sampleJournal();
    for (qsizetype cut = kFirstRow + 1; cut <= sample.packet.size(); ++cut) {
        const SalvageResult result = salvageJournalPacket(sample.packet.left(cut));
        int complete = 0;
        while (complete < kDays && (complete + 1 < kDays ? sample.rowStarts[complete + 1]
                                                         : sample.packet.size()) <= cut) {
            ++complete;
        }
        std::vector<int> expected;
        for (int i = 0; i < complete; ++i) {
            expected.push_back(i);
        }
        EXPECT_EQ(expected, rescuedDays(sample, result)) << "cut at " << cut;
    }
}

TEST(JournalSalvage, CommandWritesAFreshJournalOfTheIntactDays) {
    const SampleJournal sample = sampleJournal();
    TempFolder dir;
    QByteArray damaged = sample.packet;
    damaged[sample.rowStarts[4] + 20] = char(damaged[sample.rowStarts[4] + 20] ^ 0x33);
    const QString in = dir.write("Journal.cds", damaged);
    const QString out = dir.file("Rescued.cds");

    QBuffer report, err;
    report.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    ASSERT_EQ(0, runTool({"salvage", in, out}, report, err)) << err.data().toStdString();
    EXPECT_TRUE(report.data().startsWith("2010-05-05: lost, the entry does not inflate"))
        << report.data().toStdString();
    EXPECT_TRUE(
        report.data().endsWith("Rescued 4 entries; 1 day known lost; the header counts 5 rows\n"))
        << report.data().toStdString();

    JournalTable rescued;
    rescued.OpenJournal(out);
    ASSERT_EQ(4, rescued.recordCount());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dayOf(i), rescued.dayAt(i));
        EXPECT_EQ(sample.blobs.at(DateTimeToStored(dayOf(i))), rescued.entryAt(i));
    }
    rescued.abandon();
    EXPECT_EQ(damaged, dir.read("Journal.cds")) << "the damaged file is left alone";

    // The rescued journal is never written over an existing file.
    QBuffer again, againErr;
    again.open(QIODevice::WriteOnly);
    againErr.open(QIODevice::WriteOnly);
    EXPECT_EQ(1, runTool({"salvage", in, out}, again, againErr));
    EXPECT_EQ(QStringLiteral("salvage: \"%1\" exists already; salvage writes new files only\n")
                  .arg(out)
                  .toUtf8(),
              againErr.data());
    QBuffer same, sameErr;
    same.open(QIODevice::WriteOnly);
    sameErr.open(QIODevice::WriteOnly);
    EXPECT_EQ(1, runTool({"salvage", in, in}, same, sameErr));
    EXPECT_EQ(QStringLiteral("salvage: the rescued journal must go to a new file, not over "
                             "\"%1\"\n")
                  .arg(in)
                  .toUtf8(),
              sameErr.data());
}
