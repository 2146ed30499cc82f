// The start of an encrypted diary reads "Journal.cds" once and decrypts it
// once: the opening that finds it encrypted (which needs only its header)
// and the opening with the key after the login take the bytes read ahead at
// start, or read by the first opening, unless the file was replaced
// meanwhile; then the file on disk is what opens.
#include "crypto/journal_cipher.h"
#include "store/entry_codec.h"
#include "store/file_access.h"
#include "store/file_cipher.h"
#include "store/journal_session.h"
#include "store/journal_table.h"
#include "store/packet_preload.h"

#include "test_support.h"

#include <atomic>
#include <memory>

using namespace quillmere;
using namespace quillmere::crypto;
using testsupport::TempFolder;

namespace {

constexpr KdfParams kCheap{1, kMinMemlimit};
constexpr double kDay = 45000;

// The real file system, counting the whole-file reads of the journal.
class CountingReads : public FileAccess {
public:
    QByteArray readAll(const QString& path) const override {
        if (path.endsWith(QLatin1String(kJournalFileName))) {
            ++reads;
        }
        return FileAccess::readAll(path);
    }
    mutable std::atomic<int> reads{0};
};

// The diary's cipher, counting the whole files it decrypts.
class CountingCipher : public FileCipher {
public:
    explicit CountingCipher(std::shared_ptr<const JournalCipher> inner)
        : inner_(std::move(inner)) {}
    QByteArray sealFile(QByteArrayView plain) const override { return inner_->sealFile(plain); }
    QByteArray openFile(QByteArrayView sealed, const QString& path) const override {
        ++opened;
        return inner_->openFile(sealed, path);
    }
    IntactPlain openIntact(QByteArrayView sealed, const QString& path) const override {
        ++opened;
        return inner_->openIntact(sealed, path);
    }
    QByteArray logHeader() const override { return inner_->logHeader(); }
    bool ownsLog(QByteArrayView bytes, qsizetype* headerSize) const override {
        return inner_->ownsLog(bytes, headerSize);
    }
    QByteArray sealRecord(QByteArrayView plain, uint64_t offset) const override {
        return inner_->sealRecord(plain, offset);
    }
    std::optional<QByteArray> openRecord(QByteArrayView sealed, uint64_t offset) const override {
        return inner_->openRecord(sealed, offset);
    }
    mutable int opened = 0;

private:
    std::shared_ptr<const JournalCipher> inner_;
};

void writeJournal(const QString& path, const std::shared_ptr<const FileCipher>& cipher,
                  const QByteArray& word, int days) {
    JournalTable t;
    t.setCipher(cipher);
    t.OpenJournal(QString());
    for (int i = 0; i < days; ++i) {
        t.StoreEntry(kDay + i, "{\\rtf1 " + word + " " + QByteArray::number(i) + "}");
    }
    fileAccess().writeAtomic(path, cipher->sealFile(t.dataset().savePacket()));
    t.abandon();
}

struct StartCase {
    const char* label;
    bool readAhead;  // the program's read ahead started first
    bool replaced;   // the file replaced between the two openings
    int reads;       // whole reads of the journal
};

class EncryptedStartTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(EncryptedStartTest, TheJournalIsReadOnceAndDecryptedOnce) {
    const StartCase& c = GetParam();
    TempFolder dir;
    const QString path = dir.file(QString::fromLatin1(kJournalFileName));
    const auto key = JournalCipher::create(QStringLiteral("four winds"), kCheap);
    writeJournal(path, key, "first", 40);
    CountingReads counting;
    ScopedFileAccess inject(&counting);
    if (c.readAhead) {
        PreloadDataFile(path);
    }
    JournalSession s(dir.path());
    s.OpenJournal();
    ASSERT_TRUE(s.journalLocked()) << c.label;
    EXPECT_TRUE(IsSealedDataFile(s.lockedJournalHead())) << c.label;
    if (c.replaced) {
        // A sync tool puts another copy of the diary in place meanwhile.
        writeJournal(path, key, "other", 41);
    }
    auto cipher = std::make_shared<CountingCipher>(key);
    s.unlock(cipher);
    EXPECT_EQ(c.reads, counting.reads.load()) << c.label;
    EXPECT_EQ(1, cipher->opened) << c.label << ": decrypted once";
    ASSERT_EQ(c.replaced ? 41 : 40, s.journal().recordCount()) << c.label;
    EXPECT_EQ(QByteArray(c.replaced ? "{\\rtf1 other 39}" : "{\\rtf1 first 39}"),
              DecodeEntryContent(s.journal().entryAt(39)))
        << c.label;
    // What was read is what the end of the run compares the file with.
    EXPECT_TRUE(s.journal().readFingerprint() ==
                FileFingerprint::of(dir.read(QString::fromLatin1(kJournalFileName))))
        << c.label;
    s.journal().abandon();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncryptedStartTest,
    ::testing::Values(StartCase{"nominal: read ahead at start", true, false, 1},
                      StartCase{"nominal: no read ahead", false, false, 1},
                      StartCase{"robustness: replaced after the read ahead", true, true, 2},
                      StartCase{"robustness: replaced after the first opening", false, true, 2}));

}  // namespace
