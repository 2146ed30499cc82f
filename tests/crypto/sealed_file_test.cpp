// The encrypted file form: its bytes, round trips, and that every change,
// cut or reordering of an encrypted file is detected instead of read.
#include "crypto/sealed_file.h"
#include "crypto/journal_cipher.h"
#include "store/coding.h"
#include "store/file_cipher.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quillmere;
using namespace quillmere::crypto;

namespace {

// Argon2id at its cheapest: the format is the same, the tests stay quick.
constexpr KdfParams kCheap{1, kMinMemlimit};
const QString kPath = QStringLiteral("/diary/Journal.cds");

std::unique_ptr<SecretKey> cheapKey(const QString& password = QStringLiteral("secret")) {
    Salt salt;
    salt.fill(0x5A);
    return std::make_unique<SecretKey>(password, salt, kCheap);
}

QByteArray patterned(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    }
    return bytes;
}

// Opening must fail with one of the two errors that name the file.
void expectRefused(const SecretKey& key, const QByteArray& sealed, const std::string& what) {
    try {
        OpenDataFile(key, sealed, kPath);
        ADD_FAILURE() << "opened despite " << what;
    } catch (const WrongKeyError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Journal.cds"))) << what;
    } catch (const SealedDataError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Journal.cds"))) << what;
    }
}

struct RoundTripCase {
    const char* label;
    qsizetype plainSize;
    uint32_t chunkSize;
    int chunks;  // chunks in the file, the final one included
};

class SealedFileRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(SealedFileRoundTrip, OpensToTheSameBytesWithTheDocumentedLayout) {
    const RoundTripCase& c = GetParam();
    const auto key = cheapKey();
    const QByteArray plain = patterned(c.plainSize);
    const QByteArray sealed = SealDataFile(*key, plain, c.chunkSize);

    EXPECT_EQ(kSealedFileHeaderSize + c.plainSize + c.chunks * kChunkOverhead, sealed.size());
    EXPECT_EQ(QByteArray("QMCRYPT\x1A", 8), sealed.first(8));
    EXPECT_EQ(1, DecodeFixed16(sealed.constData() + fileheader::kVersion));
    EXPECT_EQ(2, sealed[fileheader::kKdf]);
    EXPECT_EQ(0, sealed[fileheader::kReserved]);
    EXPECT_EQ(c.chunkSize, DecodeFixed32(sealed.constData() + fileheader::kChunkSize));
    EXPECT_EQ(kCheap.opslimit, DecodeFixed64(sealed.constData() + fileheader::kOpslimit));
    EXPECT_EQ(kCheap.memlimit, DecodeFixed64(sealed.constData() + fileheader::kMemlimit));
    EXPECT_EQ(QByteArray(kSaltSize, 0x5A), sealed.sliced(fileheader::kSalt, kSaltSize));
    EXPECT_TRUE(IsSealedDataFile(sealed));
    EXPECT_FALSE(sealed.contains(plain.first(std::min<qsizetype>(plain.size(), 16))) &&
                 plain.size() >= 16);

    EXPECT_EQ(plain, OpenDataFile(*key, sealed, kPath));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SealedFileRoundTrip,
    ::testing::Values(RoundTripCase{"nominal: empty packet, one empty final chunk", 0, 64, 1},
                      RoundTripCase{"nominal: one byte", 1, 64, 1},
                      RoundTripCase{"nominal: one byte short of a chunk", 63, 64, 1},
                      RoundTripCase{"nominal: exactly one chunk, then an empty final", 64, 64, 2},
                      RoundTripCase{"nominal: a chunk and a byte", 65, 64, 2},
                      RoundTripCase{"nominal: three whole chunks", 192, 64, 4},
                      RoundTripCase{"nominal: the default chunk size", 3 * 1024 * 1024 + 5,
                                    kDefaultChunkSize, 4}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(SealedFile, TheRightPasswordUnlocksAndAWrongOneIsRefused) {
    const auto cipher = JournalCipher::create(QStringLiteral("correct horse"), kCheap);
    const QByteArray sealed = cipher->sealFile(QByteArray("packet bytes"));

    const auto again = JournalCipher::unlock(sealed, QStringLiteral("correct horse"), kPath);
    EXPECT_EQ(QByteArray("packet bytes"), again->openFile(sealed, kPath));

    EXPECT_THROW_MSG(JournalCipher::unlock(sealed, QStringLiteral("correct horsE"), kPath),
                     WrongKeyError, "\"/diary/Journal.cds\" is encrypted with another password");
    const auto other = JournalCipher::create(QStringLiteral("correct horse"), kCheap);
    EXPECT_THROW_MSG(other->openFile(sealed, kPath), WrongKeyError,
                     "\"/diary/Journal.cds\" is encrypted with another password");
}

TEST(SealedFile, EveryFlippedByteOfASmallFileIsDetected) {
    const auto key = cheapKey();
    const QByteArray sealed = SealDataFile(*key, patterned(200), 64);
    for (qsizetype i = 0; i < sealed.size(); ++i) {
        for (const int bit : {0x01, 0x80}) {
            QByteArray damaged = sealed;
            damaged[i] = static_cast<char>(damaged[i] ^ bit);
            expectRefused(*key, damaged, "a flip at byte " + std::to_string(i));
        }
    }
}

TEST(SealedFile, ACutAtEveryLengthIsDetectedAndAtAChunkBoundaryToldAsSuch) {
    const auto key = cheapKey();
    const QByteArray sealed = SealDataFile(*key, patterned(200), 64);
    for (qsizetype size = 0; size < sealed.size(); ++size) {
        expectRefused(*key, sealed.first(size), "a cut at " + std::to_string(size));
    }
    for (int chunks = 1; chunks <= 3; ++chunks) {
        const qsizetype boundary = kSealedFileHeaderSize + chunks * (64 + kChunkOverhead);
        EXPECT_THROW_MSG(OpenDataFile(*key, sealed.first(boundary), kPath), SealedDataError,
                         "\"/diary/Journal.cds\" is cut short: it ends after " +
                             std::to_string(chunks) + " encrypted chunks without its final chunk");
    }
}

TEST(SealedFile, ReorderedChunksAndBytesAfterTheEndAreDetected) {
    const auto key = cheapKey();
    const QByteArray sealed = SealDataFile(*key, patterned(200), 64);
    const qsizetype step = 64 + kChunkOverhead;
    QByteArray swapped = sealed;
    swapped.replace(kSealedFileHeaderSize, step, sealed.sliced(kSealedFileHeaderSize + step, step));
    swapped.replace(kSealedFileHeaderSize + step, step, sealed.sliced(kSealedFileHeaderSize, step));
    EXPECT_THROW_MSG(OpenDataFile(*key, swapped, kPath), SealedDataError,
                     "\"/diary/Journal.cds\" is damaged: encrypted chunk 1 (at byte 104) was "
                     "changed or cut short");
    expectRefused(*key, sealed + QByteArray(1, '\0'), "a byte appended");
}

TEST(SealedFile, HeadersOfANewerVersionOrWithAbsurdParametersAreRefusedBeforeDeriving) {
    const auto key = cheapKey();
    const QByteArray sealed = SealDataFile(*key, QByteArray("x"), 64);
    QByteArray newer = sealed;
    EncodeFixed16(newer.data() + fileheader::kVersion, 2);
    EXPECT_THROW_MSG(JournalCipher::unlock(newer, QStringLiteral("secret"), kPath), SealedDataError,
                     "\"/diary/Journal.cds\" was encrypted by a newer version of Quillmere "
                     "(form 2); this version reads form 1");
    QByteArray greedy = sealed;
    EncodeFixed64(greedy.data() + fileheader::kMemlimit, uint64_t(1) << 40);
    EXPECT_THROW_MSG(JournalCipher::unlock(greedy, QStringLiteral("secret"), kPath),
                     SealedDataError,
                     "\"/diary/Journal.cds\" has an unreadable encryption header: its key would "
                     "take 1 passes over 1073741824 KiB of memory to derive");
    QByteArray slow = sealed;
    EncodeFixed64(slow.data() + fileheader::kOpslimit, 1000000);
    EXPECT_THROW(JournalCipher::unlock(slow, QStringLiteral("secret"), kPath), SealedDataError);
    EXPECT_THROW_MSG(JournalCipher::unlock(sealed.first(50), QStringLiteral("secret"), kPath),
                     SealedDataError,
                     "\"/diary/Journal.cds\" is not a readable encrypted file: its header is cut "
                     "short");
}

TEST(SealedFile, SalvageGivesTheChunksBeforeTheFirstDamagedOne) {
    const auto key = cheapKey();
    const QByteArray plain = patterned(200);
    QByteArray sealed = SealDataFile(*key, plain, 64);
    const qsizetype thirdChunk = kSealedFileHeaderSize + 2 * (64 + kChunkOverhead);
    sealed[thirdChunk + 5] = static_cast<char>(sealed[thirdChunk + 5] ^ 0x10);
    const IntactChunks intact = OpenIntactChunks(*key, sealed, kPath);
    EXPECT_EQ(2, intact.chunks);
    EXPECT_FALSE(intact.complete);
    EXPECT_EQ(thirdChunk, intact.damagedAt);
    EXPECT_EQ(plain.first(128), intact.plain);
}

struct RecordCase {
    const char* label;
    qsizetype flipAt;     // -1: no flip
    uint64_t openOffset;  // sealed at offset 72
    bool opens;
};

class SealedRecord : public ::testing::TestWithParam<RecordCase> {};

TEST_P(SealedRecord, OpensOnlyUnchangedAtItsOwnOffset) {
    const RecordCase& c = GetParam();
    const auto key = cheapKey();
    const QByteArray plain("\x01 a stored entry");
    QByteArray sealed = SealRecord(*key, plain, 72);
    EXPECT_EQ(plain.size() + kRecordOverhead, sealed.size());
    if (c.flipAt >= 0) {
        sealed[c.flipAt] = static_cast<char>(sealed[c.flipAt] ^ 0x01);
    }
    const std::optional<QByteArray> opened = OpenRecord(*key, sealed, c.openOffset);
    EXPECT_EQ(c.opens, opened.has_value()) << c.label;
    if (c.opens) {
        EXPECT_EQ(plain, *opened);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Records, SealedRecord,
    ::testing::Values(RecordCase{"nominal: unchanged", -1, 72, true},
                      RecordCase{"robustness: moved to another offset", -1, 73, false},
                      RecordCase{"robustness: nonce changed", 0, 72, false},
                      RecordCase{"robustness: text changed", 30, 72, false},
                      RecordCase{"robustness: tag changed", 24 + 16 + 16 - 1, 72, false}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(SealedLog, TheHeaderBelongsToItsKeyOnly) {
    const auto key = cheapKey();
    const QByteArray header = SealedLogHeaderBytes(*key);
    ASSERT_EQ(kSealedLogHeaderSize, header.size());
    EXPECT_TRUE(IsSealedRecoveryLog(header));
    EXPECT_TRUE(LogHeaderMatches(*key, header));
    EXPECT_FALSE(LogHeaderMatches(*cheapKey(QStringLiteral("other")), header));
    for (qsizetype i = 0; i < header.size(); ++i) {
        QByteArray damaged = header;
        damaged[i] = static_cast<char>(damaged[i] ^ 0x04);
        EXPECT_FALSE(LogHeaderMatches(*key, damaged)) << "flip at " << i;
    }
    const auto unlocked = JournalCipher::unlockLog(header, QStringLiteral("secret"), kPath);
    qsizetype size = 0;
    EXPECT_TRUE(unlocked->ownsLog(header, &size));
    EXPECT_EQ(kSealedLogHeaderSize, size);
}

}  // namespace
