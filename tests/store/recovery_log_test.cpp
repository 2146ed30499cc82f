// The recovery log's bytes: records round-trip, every truncation of a log
// keeps exactly the records before the cut, and damage ends the replay at
// the damaged record.
#include "store/recovery_log.h"
#include "store/coding.h"
#include "store/errors.h"

#include "failing_files.h"
#include "test_support.h"

#include <QFile>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

RecoveryRecord stored(double day, const QByteArray& content) {
    return RecoveryRecord{RecoveryKind::kStored, day, content, {}};
}

RecoveryRecord draft(double day, const QByteArray& content) {
    return RecoveryRecord{RecoveryKind::kDraft, day, content, {}};
}

RecoveryRecord settingsRecord() {
    RecoveryRecord r;
    r.kind = RecoveryKind::kSettings;
    r.settings = SettingsValues{true, QStringLiteral("pässwörd"), QStringLiteral("Courier New"),
                                200, 0x00FF8040};
    return r;
}

QByteArray logOf(const std::vector<RecoveryRecord>& records) {
    QByteArray bytes(kRecoveryMagic, kRecoveryHeaderSize);
    for (const RecoveryRecord& r : records) {
        bytes += EncodeRecoveryRecord(r);
    }
    return bytes;
}

}  // namespace

TEST(RecoveryRecordBytes, StoredEntryHasTheDocumentedLayout) {
    const QByteArray bytes = EncodeRecoveryRecord(stored(45371.0, "\x78\x01zz"));
    // length 12 (8 day bytes + 4 content bytes), CRC, kind 1, day, content
    ASSERT_EQ(9 + 12, bytes.size());
    EXPECT_EQ(12u, DecodeFixed32(bytes.constData()));
    EXPECT_EQ(1, bytes[8]);
    EXPECT_EQ(45371.0, DoubleFromBits(DecodeFixed64(bytes.constData() + 9)));
    EXPECT_EQ(QByteArray("\x78\x01zz"), bytes.mid(17));
    EXPECT_EQ(QByteArray("QMRLOG\x01\x00", 8), QByteArray(kRecoveryMagic, kRecoveryHeaderSize));
}

TEST(RecoveryRecordBytes, EveryKindRoundTrips) {
    const std::vector<RecoveryRecord> records = {
        stored(0.0, QByteArray()), draft(-693593.0, QByteArray(70000, 'x')), settingsRecord(),
        stored(2958465.0, QByteArray("\0\xff", 2))};
    const RecoveryContents read = DecodeRecoveryLog(logOf(records));
    EXPECT_FALSE(read.damaged);
    EXPECT_EQ(records, read.records);
    EXPECT_EQ(logOf(records).size(), read.validSize);
}

TEST(RecoveryRecordBytes, EveryTruncationKeepsTheCompleteRecordsBeforeIt) {
    const std::vector<RecoveryRecord> records = {stored(1.0, "one"), draft(2.0, "two"),
                                                 settingsRecord()};
    const QByteArray whole = logOf(records);
    std::vector<qsizetype> ends = {kRecoveryHeaderSize};
    for (const RecoveryRecord& r : records) {
        ends.push_back(ends.back() + EncodeRecoveryRecord(r).size());
    }
    for (qsizetype cut = kRecoveryHeaderSize; cut < whole.size(); ++cut) {
        const RecoveryContents read = DecodeRecoveryLog(whole.left(cut));
        size_t complete = 0;
        while (complete + 1 < ends.size() && ends[complete + 1] <= cut) {
            ++complete;
        }
        ASSERT_EQ(complete, read.records.size()) << "cut at " << cut;
        EXPECT_EQ(ends[complete], read.validSize) << "cut at " << cut;
        EXPECT_EQ(cut != ends[complete], read.damaged) << "cut at " << cut;
    }
}

TEST(RecoveryRecordBytes, AFlippedByteAnywhereInARecordEndsTheReplayThere) {
    const QByteArray first = EncodeRecoveryRecord(stored(1.0, "first"));
    const QByteArray second = EncodeRecoveryRecord(draft(2.0, "second"));
    const QByteArray whole = logOf({stored(1.0, "first"), draft(2.0, "second")});
    const qsizetype secondStart = kRecoveryHeaderSize + first.size();
    for (qsizetype at = secondStart; at < whole.size(); ++at) {
        QByteArray damaged = whole;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
        const RecoveryContents read = DecodeRecoveryLog(damaged);
        ASSERT_EQ(1u, read.records.size()) << "flip at " << at;
        EXPECT_EQ(QByteArray("first"), read.records[0].content);
        EXPECT_TRUE(read.damaged);
        EXPECT_EQ(secondStart, read.validSize);
    }
}

TEST(RecoveryRecordBytes, ForeignFilesGiveNothing) {
    struct Case {
        const char* label;
        QByteArray bytes;
    };
    for (const Case& c : {Case{"robustness: empty", QByteArray()},
                          Case{"robustness: short header", QByteArray("QMRL")},
                          Case{"robustness: other magic", QByteArray("QMRLOG\x02\x00xxxx", 12)},
                          Case{"robustness: unknown kind", [] {
                                   QByteArray b = logOf({stored(1.0, "x")});
                                   b[kRecoveryHeaderSize + 8] = 9;
                                   return b;
                               }()}}) {
        const RecoveryContents read = DecodeRecoveryLog(c.bytes);
        EXPECT_TRUE(read.records.empty()) << c.label;
    }
}

TEST(RecoveryLogFile, AppendsSurviveAndRecordsAfterATornTailAreReadAgain) {
    TempFolder dir;
    const QString path = dir.file(kRecoveryFileName);
    {
        RecoveryLog log(path);
        EXPECT_TRUE(log.recover().records.empty());
        log.append(stored(1.0, "one"));
        log.append(draft(2.0, "two"));
    }
    // A crash in the middle of a third record.
    const QByteArray torn = EncodeRecoveryRecord(stored(3.0, "three")).left(7);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(torn);
    file.close();

    RecoveryLog again(path);
    const RecoveryContents read = again.recover();
    EXPECT_TRUE(read.damaged);
    ASSERT_EQ(2u, read.records.size());
    again.append(stored(4.0, "four"));
    const RecoveryContents last = DecodeRecoveryLog(dir.read(kRecoveryFileName));
    // The torn bytes stay (the user has not been told yet); the record
    // appended after them is found behind them.
    EXPECT_TRUE(last.damaged);
    ASSERT_EQ(3u, last.records.size());
    EXPECT_EQ(4.0, last.records[2].day);
    again.remove();
    EXPECT_FALSE(QFile::exists(path));
}

TEST(RecoveryLogFile, FailedAppendThrowsNamingTheFileAndLeavesNoTornRecord) {
    TempFolder dir;
    const QString path = dir.file(kRecoveryFileName);
    RecoveryLog log(path);
    log.append(stored(1.0, "one"));
    testsupport::FailingFiles failing({kRecoveryFileName});
    {
        ScopedFileAccess seam(&failing);
        EXPECT_THROW_MSG(log.append(stored(2.0, "two")), FileError,
                         "Cannot write \"" + path.toStdString() + "\": No space left on device");
    }
    log.append(stored(3.0, "three"));
    const RecoveryContents read = DecodeRecoveryLog(dir.read(kRecoveryFileName));
    ASSERT_EQ(2u, read.records.size());
    EXPECT_EQ(3.0, read.records[1].day);
}

// A damaged record whose length is sound costs that record only; a torn
// record followed by records of a later run costs the torn one only; a
// damaged header costs nothing but itself.
TEST(RecoveryRecordBytes, DamageCostsTheDamagedRecordOnly) {
    const std::vector<RecoveryRecord> records = {stored(1.0, "first"), draft(2.0, "second"),
                                                 settingsRecord(), stored(4.0, "fourth")};
    std::vector<qsizetype> starts = {kRecoveryHeaderSize};
    for (const RecoveryRecord& r : records) {
        starts.push_back(starts.back() + EncodeRecoveryRecord(r).size());
    }
    const QByteArray whole = logOf(records);
    struct Case {
        const char* label;
        QByteArray bytes;
        std::vector<double> days;  // of the records read, settings as -1
    };
    const auto flipped = [&](qsizetype at) {
        QByteArray b = whole;
        b[at] = static_cast<char>(b[at] ^ 0x10);
        return b;
    };
    const QByteArray torn = whole.left(starts[2]) +
                            EncodeRecoveryRecord(stored(9.0, "torn")).left(12) +
                            whole.mid(starts[2]);
    const Case cases[] = {
        {"robustness: a payload byte of the second record",
         flipped(starts[1] + 12),
         {1.0, -1, 4.0}},
        {"robustness: the checksum of the first record", flipped(starts[0] + 5), {2.0, -1, 4.0}},
        {"robustness: the kind of the third record", flipped(starts[2] + 8), {1.0, 2.0, 4.0}},
        {"robustness: the length of the second record", flipped(starts[1] + 1), {1.0, -1, 4.0}},
        {"robustness: a torn record before a later run's records", torn, {1.0, 2.0, -1, 4.0}},
        {"robustness: the header", flipped(2), {1.0, 2.0, -1, 4.0}},
    };
    for (const Case& c : cases) {
        const RecoveryContents read = DecodeRecoveryLog(c.bytes);
        std::vector<double> days;
        for (const RecoveryRecord& r : read.records) {
            days.push_back(r.kind == RecoveryKind::kSettings ? -1 : r.day);
        }
        EXPECT_EQ(c.days, days) << c.label;
        EXPECT_TRUE(read.damaged) << c.label;
        EXPECT_EQ(1, read.damagedStretches) << c.label;
    }
}

// recover() reads without cutting anything, and never removes what it could
// not read; an append after a torn tail is found again.
TEST(RecoveryLogFile, RecoverChangesNothingOnDisk) {
    TempFolder dir;
    const QByteArray damaged = logOf({stored(1.0, "one")}) + QByteArray("\x05\x00\x00\x00torn", 8);
    dir.write(kRecoveryFileName, damaged);
    RecoveryLog log(dir.file(kRecoveryFileName));
    const RecoveryContents read = log.recover();
    EXPECT_EQ(1u, read.records.size());
    EXPECT_TRUE(read.damaged);
    EXPECT_EQ(damaged, dir.read(kRecoveryFileName));
    log.append(stored(2.0, "two"));
    EXPECT_EQ(2u, DecodeRecoveryLog(dir.read(kRecoveryFileName)).records.size());
}
