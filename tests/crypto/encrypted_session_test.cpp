// An encrypted diary through the journal session: every file that holds
// entry text round-trips in its encrypted form, a wrong password opens and
// writes nothing, no file ever holds a word typed into an entry, turning
// encryption off gives back the plain files, and a changed journal of
// another password is kept rather than overwritten.
#include "crypto/journal_cipher.h"
#include "crypto/sealed_file.h"
#include "store/data_location.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/file_cipher.h"
#include "store/journal_session.h"
#include "store/journal_table.h"
#include "store/recovery_log.h"

#include "test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <zlib.h>

#include <map>
#include <memory>

using namespace quillmere;
using namespace quillmere::crypto;
using testsupport::TempFolder;

namespace {

constexpr KdfParams kCheap{1, kMinMemlimit};
const QString kPassword = QStringLiteral("tangerine sky");

double may(int day) {
    return dayFromDate(QDate(2025, 5, day));
}

QByteArray rtf(const QByteArray& text) {
    return "{\\rtf1\\ansi " + text + "}";
}

// Whether `bytes` hold `marker`, as they are or inside any zlib stream they
// contain (an entry is compressed, so a plain journal shows its words only
// inflated).
bool holds(const QByteArray& bytes, const QByteArray& marker) {
    if (bytes.contains(marker)) {
        return true;
    }
    for (qsizetype at = bytes.indexOf("\x78\x01"); at >= 0;
         at = bytes.indexOf("\x78\x01", at + 1)) {
        z_stream z{};
        if (inflateInit(&z) != Z_OK) {
            continue;
        }
        QByteArray out(1 << 16, '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData() + at));
        z.avail_in = static_cast<uInt>(bytes.size() - at);
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        inflate(&z, Z_FINISH);
        out.truncate(static_cast<qsizetype>(z.total_out));
        inflateEnd(&z);
        if (out.contains(marker)) {
            return true;
        }
    }
    return false;
}

class EncryptedSessionTest : public ::testing::Test {
protected:
    std::unique_ptr<JournalSession> open() {
        auto session = std::make_unique<JournalSession>(dir_.path());
        session->OpenJournal();
        session->OpenSettings();
        QObject::connect(session.get(), &JournalSession::errorOccurred,
                         [this](const QString& m) { errors_.push_back(m); });
        return session;
    }
    // Opens an encrypted diary the way the login does.
    std::unique_ptr<JournalSession> openWith(const QString& password) {
        auto session = open();
        EXPECT_TRUE(session->journalLocked());
        session->unlock(JournalCipher::unlock(session->lockedJournalHead(), password,
                                              dir_.file(kJournalFileName)));
        recovered_ = session->recover();
        return session;
    }
    static void store(JournalSession& s, double day, const QByteArray& text) {
        s.setCurrentDay(day);
        ASSERT_TRUE(s.storeEntry([text] { return rtf(text); }));
    }
    static QByteArray load(JournalSession& s, double day) {
        s.setCurrentDay(day);
        const JournalSession::LoadedEntry entry = s.loadEntry();
        return entry.found ? entry.rtf : QByteArray("<none>");
    }
    // The end of a run; `logRemoved` is false for a run whose journal was
    // never read (locked, damaged), which keeps the log for a later run.
    static void endRun(JournalSession& s, bool logRemoved = true) {
        s.writeSettings();
        s.writeJournal();
        EXPECT_EQ(logRemoved, s.finishRun());
    }
    // Gives the diary a settings record with `password`.
    static void setPassword(JournalSession& s, const QString& password) {
        if (s.settings().isEmpty()) {
            s.settings().insert();
        } else {
            s.settings().edit();
        }
        s.settings().setPassword(password);
        s.postSettings();
    }
    // Every file of the folder that holds `marker`.
    QStringList filesHolding(const QByteArray& marker) const {
        QStringList found;
        QDirIterator it(dir_.path(), QDir::Files | QDir::Hidden);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            if (holds(file.readAll(), marker)) {
                found << QFileInfo(path).fileName();
            }
        }
        return found;
    }
    QByteArray read(const char* name) const { return dir_.read(QString::fromLatin1(name)); }

    TempFolder dir_;
    JournalSession::Recovered recovered_;
    std::vector<QString> errors_;
};

TEST_F(EncryptedSessionTest, EveryFileRoundTripsEncryptedThroughAKilledRunAndANormalEnd) {
    {
        auto s = open();
        store(*s, may(1), "first day");
        endRun(*s);  // a plain journal
    }
    const QByteArray plainJournal = read(kJournalFileName);
    {
        auto s = open();
        store(*s, may(2), "second day");
        s->changeCipher(JournalCipher::create(kPassword, kCheap));
        store(*s, may(3), "third day");
        s->saveDraft(rtf("a draft of the third"));
        s->waitForDrafts();
        // Killed here: no end of run.
    }
    EXPECT_TRUE(IsSealedDataFile(read(kJournalFileName)));
    EXPECT_TRUE(IsSealedDataFile(read(kJournalBackupFileName)));
    EXPECT_TRUE(IsSealedRecoveryLog(read(kRecoveryFileName)));
    {
        auto s = openWith(kPassword);
        // The backup is the plain journal of the run before, now encrypted.
        EXPECT_EQ(plainJournal, s->cipher()->openFile(read(kJournalBackupFileName), "bak"));
        // The killed run's log, written again encrypted, holds its days.
        EXPECT_EQ(std::vector<double>({may(2), may(3)}), recovered_.days);
        EXPECT_EQ(rtf("first day"), load(*s, may(1)));
        EXPECT_EQ(rtf("second day"), load(*s, may(2)));
        EXPECT_EQ(rtf("a draft of the third"), load(*s, may(3)));
        endRun(*s);
    }
    EXPECT_FALSE(QFile::exists(dir_.file(kRecoveryFileName)));
    auto s = openWith(kPassword);
    EXPECT_EQ(rtf("a draft of the third"), load(*s, may(3)));
    EXPECT_EQ(3, s->journal().recordCount());
    EXPECT_TRUE(errors_.empty()) << errors_.front().toStdString();
}

TEST_F(EncryptedSessionTest, AWrongPasswordOpensNothingAndWritesNothing) {
    {
        auto s = open();
        store(*s, may(1), "kept");
        s->changeCipher(JournalCipher::create(kPassword, kCheap));
        endRun(*s);
    }
    const QByteArray before = read(kJournalFileName);
    const QDateTime modified = QFileInfo(dir_.file(kJournalFileName)).lastModified();
    auto s = open();
    ASSERT_TRUE(s->journalLocked());
    EXPECT_FALSE(s->journal().isOpen());
    EXPECT_THROW_MSG(JournalCipher::unlock(s->lockedJournalHead(), QStringLiteral("tangerine"),
                                           dir_.file(kJournalFileName)),
                     WrongKeyError,
                     QStringLiteral("\"%1\" is encrypted with another password")
                         .arg(dir_.file(kJournalFileName))
                         .toStdString());
    // A cipher of another password refused by the session itself as well.
    EXPECT_THROW(s->unlock(JournalCipher::create(kPassword, kCheap)), WrongKeyError);
    EXPECT_TRUE(s->journalLocked());
    endRun(*s, false);  // ends as a program whose login was cancelled
    EXPECT_EQ(before, read(kJournalFileName));
    EXPECT_EQ(modified, QFileInfo(dir_.file(kJournalFileName)).lastModified());
    EXPECT_FALSE(QFile::exists(dir_.file(kRecoveryFileName)));
}

TEST_F(EncryptedSessionTest, NoFileEverHoldsAWordTypedIntoAnEntryOrThePassword) {
    const QByteArray marker = "xylophonequartz";
    {
        // The check itself finds the word in a plain diary's files.
        auto s = open();
        store(*s, may(1), "plain " + marker);
        s->waitForDrafts();
        EXPECT_EQ(QStringList{QString::fromLatin1(kRecoveryFileName)}, filesHolding(marker));
        endRun(*s);
        EXPECT_EQ(QStringList{QString::fromLatin1(kJournalFileName)}, filesHolding(marker));
    }
    auto s = open();
    setPassword(*s, kPassword);
    s->changeCipher(JournalCipher::create(kPassword, kCheap));
    EXPECT_TRUE(filesHolding(marker).isEmpty()) << filesHolding(marker).join(' ').toStdString();
    store(*s, may(2), "encrypted " + marker);
    s->setCurrentDay(may(3));
    s->saveDraft(rtf("draft " + marker));
    s->settings().edit();
    s->settings().setFontName(QStringLiteral("Liberation Serif"));
    s->postSettings();
    s->waitForDrafts();
    EXPECT_TRUE(filesHolding(marker).isEmpty()) << filesHolding(marker).join(' ').toStdString();
    EXPECT_TRUE(filesHolding(kPassword.toUtf8()).isEmpty());
    // The previous plain journal went to the backup encrypted.
    endRun(*s);
    EXPECT_TRUE(filesHolding(marker).isEmpty()) << filesHolding(marker).join(' ').toStdString();
    EXPECT_TRUE(filesHolding(kPassword.toUtf8()).isEmpty());
    EXPECT_TRUE(filesHolding("plain").isEmpty());
}

TEST_F(EncryptedSessionTest, TurningEncryptionOffGivesBackFilesThePlainReaderReads) {
    {
        auto s = open();
        store(*s, may(1), "one");
        setPassword(*s, kPassword);
        s->changeCipher(JournalCipher::create(kPassword, kCheap));
        endRun(*s);
    }
    auto s = openWith(kPassword);
    EXPECT_EQ(QString(), s->settingsRecord().password);
    store(*s, may(2), "two");
    s->changeCipher(nullptr, QStringLiteral("plain again"));
    store(*s, may(3), "three");
    s->waitForDrafts();
    EXPECT_FALSE(s->encrypted());
    // The design's reader, without any cipher, reads every file.
    for (const char* name : {kJournalFileName, kJournalBackupFileName}) {
        JournalTable plain;
        plain.OpenJournal(dir_.file(name));
        EXPECT_GE(plain.recordCount(), 1) << name;
        plain.abandon();
    }
    const RecoveryContents log = DecodeRecoveryLog(read(kRecoveryFileName));
    EXPECT_FALSE(log.damaged);
    ASSERT_FALSE(log.records.empty());
    EXPECT_EQ(rtf("three"), DecodeEntryContent(log.records.back().content));
    SettingsTable settings;
    settings.OpenSettings(dir_.file(kSettingsFileName));
    EXPECT_EQ(QStringLiteral("plain again"), settings.Password());
    settings.abandon();
    endRun(*s);
    JournalTable plain;
    plain.OpenJournal(dir_.file(kJournalFileName));
    EXPECT_EQ(3, plain.recordCount());
}

TEST_F(EncryptedSessionTest, AJournalChangedMeanwhileUnderAnotherPasswordIsKeptAsTheBackup) {
    {
        auto s = open();
        store(*s, may(1), "mine");
        s->changeCipher(JournalCipher::create(kPassword, kCheap));
        endRun(*s);
    }
    auto s = openWith(kPassword);
    store(*s, may(2), "mine too");
    // A sync tool brings a journal encrypted elsewhere with another password.
    const auto other = JournalCipher::create(QStringLiteral("someone else"), kCheap);
    const QByteArray theirs = other->sealFile(
        read(kJournalFileName).size() > 0 ? QByteArray("not even a packet") : QByteArray());
    dir_.write(QString::fromLatin1(kJournalFileName), theirs);
    s->writeSettings();
    const JournalSession::JournalWrite written = s->writeJournal();
    EXPECT_TRUE(written.written);
    EXPECT_EQ(QStringLiteral("\"%1\" is encrypted with another password")
                  .arg(dir_.file(kJournalFileName)),
              written.keptAsBackup);
    EXPECT_EQ(theirs, read(kJournalBackupFileName));
    auto again = openWith(kPassword);
    EXPECT_EQ(rtf("mine too"), load(*again, may(2)));
}

TEST_F(EncryptedSessionTest, ADamagedJournalOpensAfterTheRightPasswordAsUnreadableAndIsNotWritten) {
    {
        auto s = open();
        store(*s, may(1), "soon damaged");
        s->changeCipher(JournalCipher::create(kPassword, kCheap));
        endRun(*s);
    }
    QByteArray bytes = read(kJournalFileName);
    bytes[bytes.size() - 3] = static_cast<char>(bytes[bytes.size() - 3] ^ 0x20);
    dir_.write(QString::fromLatin1(kJournalFileName), bytes);
    auto s = open();
    const auto cipher =
        JournalCipher::unlock(s->lockedJournalHead(), kPassword, dir_.file(kJournalFileName));
    EXPECT_THROW(s->unlock(cipher), SealedDataError);
    EXPECT_FALSE(s->journal().isOpen());
    EXPECT_FALSE(s->journalLocked());
    endRun(*s, false);
    EXPECT_EQ(bytes, read(kJournalFileName));
}

TEST_F(EncryptedSessionTest, LockingWipesTheKeyAndOnlyThePasswordBringsItBack) {
    auto s = open();
    s->changeCipher(JournalCipher::create(kPassword, kCheap));
    store(*s, may(1), "before the lock");
    const QByteArray check = s->lock();
    EXPECT_TRUE(s->locked());
    EXPECT_EQ(nullptr, s->cipher());
    // The stored entry reached the journal file before the key went.
    EXPECT_FALSE(s->journal().isModified());
    s->setCurrentDay(may(2));
    EXPECT_THROW(s->storeEntry([] { return rtf("while locked"); }), Error);
    EXPECT_THROW(JournalCipher::unlockLog(check, QStringLiteral("guess"), "log"), WrongKeyError);
    s->resume(JournalCipher::unlockLog(check, kPassword, "log"));
    store(*s, may(2), "after the lock");
    endRun(*s);
    auto again = openWith(kPassword);
    EXPECT_EQ(rtf("after the lock"), load(*again, may(2)));
}

// --- A damaged encrypted journal, a journal changed meanwhile, a copied diary ---------

// Day `i` of a diary begun on 1 January 2000.
double dayOfBigDiary(int i) {
    return dayFromDate(QDate(2000, 1, 1).addDays(i));
}

// About 1500 letters that hardly compress, different for every day.
QByteArray bigEntry(int i) {
    QByteArray text = QByteArray::number(i) + ' ';
    uint32_t x = 2463534242u + uint32_t(i) * 7919u;
    for (int k = 0; k < 1500; ++k) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        text += char('a' + x % 26);
    }
    return rtf(text);
}

class EncryptedDamageTest : public EncryptedSessionTest {
protected:
    // A journal of `days` such entries under `cipher`: more than one chunk.
    void writeBigJournal(const std::shared_ptr<const FileCipher>& cipher, int days) {
        JournalTable table;
        table.setCipher(cipher);
        table.OpenJournal(dir_.file(kJournalFileName));
        for (int i = 0; i < days; ++i) {
            table.StoreEntry(dayOfBigDiary(i), bigEntry(i));
        }
        table.close();
    }
    // The entries of the journal file `name` opened with `cipher`.
    std::map<double, QByteArray> entriesOf(const char* name,
                                           const std::shared_ptr<const FileCipher>& cipher) const {
        JournalTable table;
        table.setCipher(cipher);
        table.OpenJournal(dir_.file(name));
        std::map<double, QByteArray> entries;
        for (int i = 0; i < table.recordCount(); ++i) {
            entries[table.dayAt(i)] = DecodeEntryContent(table.entryAt(i));
        }
        table.abandon();
        return entries;
    }
};

TEST_F(EncryptedDamageTest, TheIntactChunksAreRescuedWithTheLoginsKeyAndWrittenEncrypted) {
    constexpr int kDays = 1500;
    const auto cipher = JournalCipher::create(kPassword, kCheap);
    writeBigJournal(cipher, kDays);
    ASSERT_GT(read(kJournalFileName).size(), 1 << 20) << "two chunks at least";
    {
        // A killed run typed into a day the damage will take and a new one.
        auto s = openWith(kPassword);
        store(*s, dayOfBigDiary(kDays - 1), "typed before the crash");
        store(*s, may(1), "a new day");
        s->waitForDrafts();
    }
    ASSERT_TRUE(IsSealedRecoveryLog(read(kRecoveryFileName)));
    QByteArray damaged = read(kJournalFileName);
    damaged[damaged.size() - 100] = static_cast<char>(damaged[damaged.size() - 100] ^ 0x01);
    dir_.write(QString::fromLatin1(kJournalFileName), damaged);

    auto s = open();
    const QString path = QDir::toNativeSeparators(dir_.file(kJournalFileName));
    try {
        s->unlock(JournalCipher::unlock(s->lockedJournalHead(), kPassword, path));
        ADD_FAILURE() << "a damaged journal opened";
    } catch (const SealedDataError& e) {
        EXPECT_TRUE(
            e.message().startsWith(QStringLiteral("Cannot read the diary \"%1\": it ").arg(path)))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(
            QStringLiteral("quillmere-journal salvage \"%1\" Rescued.cds\nThe diary is "
                           "encrypted: the tool asks for its password on standard input, or "
                           "reads it from the first line of a file named with --password-file")
                .arg(path)))
            << e.message().toStdString();
    }
    ASSERT_TRUE(s->journalDamaged());
    const JournalSession::RescueOffer offer = s->prepareRescue();
    EXPECT_GT(offer.days, 100);
    EXPECT_LT(offer.days, kDays);
    // The days of the chunks after the damage are lost too, unnamed.
    EXPECT_TRUE(offer.restUnreadable);
    EXPECT_EQ(kDays, offer.diaryDays);
    EXPECT_EQ(std::vector<double>({dayOfBigDiary(kDays - 1), may(1)}), offer.logDays);
    s->openRescuedJournal();
    s->recover();
    EXPECT_EQ(rtf("typed before the crash"), load(*s, dayOfBigDiary(kDays - 1)));
    EXPECT_EQ(bigEntry(0), load(*s, dayOfBigDiary(0)));
    EXPECT_EQ(damaged, read(kJournalFileName)) << "nothing written before the user keeps it";
    s->keepRescuedJournal(true);
    s->writeSettings();
    const JournalSession::JournalWrite written = s->writeJournal();
    EXPECT_TRUE(s->finishRun());
    ASSERT_TRUE(written.written);
    EXPECT_TRUE(written.keptAsBackup.isEmpty());
    // The damaged file is kept byte for byte, still encrypted.
    EXPECT_EQ(damaged, read(written.damagedKeptAs.toLatin1().constData()));
    EXPECT_FALSE(QFile::exists(dir_.file(kRecoveryFileName)));
    // The rescued diary is encrypted with the same key: the intact days, the
    // log's two days, nothing else.
    const QByteArray rescued = read(kJournalFileName);
    EXPECT_TRUE(IsSealedDataFile(rescued));
    EXPECT_FALSE(holds(rescued, "a new day"));
    const std::map<double, QByteArray> entries = entriesOf(kJournalFileName, s->cipher());
    EXPECT_EQ(size_t(offer.days) + 2, entries.size());
    for (int i = 0; i < offer.days; ++i) {
        EXPECT_EQ(bigEntry(i), entries.at(dayOfBigDiary(i))) << i;
    }
    EXPECT_EQ(rtf("a new day"), entries.at(may(1)));
    EXPECT_TRUE(errors_.empty()) << errors_.front().toStdString();
}

TEST_F(EncryptedDamageTest, AJournalOfTheSameKeyChangedMeanwhileIsMergedDayByDay) {
    const auto cipher = JournalCipher::create(kPassword, kCheap);
    {
        JournalTable table;
        table.setCipher(cipher);
        table.OpenJournal(dir_.file(kJournalFileName));
        for (int d = 1; d <= 3; ++d) {
            table.StoreEntry(may(d), rtf("day " + QByteArray::number(d)));
        }
        table.close();
    }
    auto s = openWith(kPassword);
    s->setEntryMerger(
        [](const QByteArray& ours, const QByteArray& theirs) { return ours + "|" + theirs; });
    store(*s, may(2), "mine 2");
    store(*s, may(3), "mine 3");
    // A sync tool brings the journal as another computer of the same diary
    // wrote it: day 1 and day 3 changed there.
    const QString copy = dir_.file(QStringLiteral("theirs.cds"));
    QFile::copy(dir_.file(kJournalFileName), copy);
    {
        JournalTable table;
        table.setCipher(cipher);
        table.OpenJournal(copy);
        table.StoreEntry(may(1), rtf("theirs 1"));
        table.StoreEntry(may(3), rtf("theirs 3"));
        table.close();
    }
    const QByteArray theirs = dir_.read(QStringLiteral("theirs.cds"));
    ASSERT_TRUE(IsSealedDataFile(theirs));
    dir_.write(QString::fromLatin1(kJournalFileName), theirs);
    s->writeSettings();
    const JournalSession::JournalWrite written = s->writeJournal();
    EXPECT_TRUE(written.written);
    EXPECT_TRUE(written.keptAsBackup.isEmpty()) << written.keptAsBackup.toStdString();
    EXPECT_EQ(std::vector<double>({may(1)}), written.fromFile);
    EXPECT_EQ(std::vector<double>({may(3)}), written.bothChanged);
    EXPECT_EQ(theirs, read(kJournalBackupFileName));
    EXPECT_TRUE(IsSealedDataFile(read(kJournalFileName)));
    EXPECT_EQ((std::map<double, QByteArray>{{may(1), rtf("theirs 1")},
                                            {may(2), rtf("mine 2")},
                                            {may(3), rtf("mine 3") + "|" + rtf("theirs 3")}}),
              entriesOf(kJournalFileName, s->cipher()));
}

TEST_F(EncryptedDamageTest, AJournalOfTheSameKeyDamagedMeanwhileIsKeptAsTheBackup) {
    const auto cipher = JournalCipher::create(kPassword, kCheap);
    writeBigJournal(cipher, 3);
    auto s = openWith(kPassword);
    store(*s, may(2), "mine");
    QByteArray theirs = read(kJournalFileName);
    theirs[theirs.size() - 5] = static_cast<char>(theirs[theirs.size() - 5] ^ 0x40);
    dir_.write(QString::fromLatin1(kJournalFileName), theirs);
    s->writeSettings();
    const JournalSession::JournalWrite written = s->writeJournal();
    EXPECT_TRUE(written.written);
    EXPECT_TRUE(
        written.keptAsBackup.contains(QDir::toNativeSeparators(dir_.file(kJournalFileName))))
        << written.keptAsBackup.toStdString();
    EXPECT_EQ(theirs, read(kJournalBackupFileName)) << "never overwritten silently";
    const std::map<double, QByteArray> entries = entriesOf(kJournalFileName, s->cipher());
    EXPECT_EQ(4u, entries.size());
    EXPECT_EQ(rtf("mine"), entries.at(may(2)));
}

TEST_F(EncryptedDamageTest, ADiaryCopiedFromAnUnwritableFolderKeepsItsEncryptedBytes) {
    {
        auto s = open();
        store(*s, may(1), "one");
        s->changeCipher(JournalCipher::create(kPassword, kCheap));
        store(*s, may(2), "two");
        s->waitForDrafts();
        // Killed: the log holds both days.
    }
    const TempFolder target;
    const QStringList copied = adoptDiaryFrom(dir_.path(), target.path());
    EXPECT_TRUE(copied.contains(QString::fromLatin1(kJournalFileName)));
    ASSERT_TRUE(IsSealedDataFile(read(kJournalFileName)));
    ASSERT_TRUE(IsSealedRecoveryLog(read(kRecoveryFileName)));
    for (const char* name : {kJournalFileName, kRecoveryFileName}) {
        EXPECT_EQ(read(name), target.read(QString::fromLatin1(name))) << name;
    }
    JournalSession s(target.path());
    s.OpenJournal();
    s.OpenSettings();
    ASSERT_TRUE(s.journalLocked());
    s.unlock(JournalCipher::unlock(s.lockedJournalHead(), kPassword, "copied"));
    EXPECT_EQ(std::vector<double>({may(1), may(2)}), s.recover().days);
    EXPECT_EQ(rtf("two"), load(s, may(2)));
}

TEST(EncryptedRecoveryLog, EveryFlippedByteIsDetectedAndNoChangedRecordIsRead) {
    Salt salt;
    salt.fill(3);
    const JournalCipher cipher(std::make_unique<SecretKey>(kPassword, salt, kCheap));
    std::vector<RecoveryRecord> records = {
        {RecoveryKind::kStored, may(1), EncodeEntryContent(rtf("one")), {}},
        {RecoveryKind::kDraft, may(2), EncodeEntryContent(rtf("two")), {}},
    };
    QByteArray log = cipher.logHeader();
    for (const RecoveryRecord& r : records) {
        log += EncodeSealedRecoveryRecord(r, cipher, uint64_t(log.size()));
    }
    const RecoveryContents whole = DecodeSealedRecoveryLog(log, cipher);
    ASSERT_FALSE(whole.damaged);
    ASSERT_EQ(records, whole.records);
    for (qsizetype i = 0; i < log.size(); ++i) {
        QByteArray damaged = log;
        damaged[i] = static_cast<char>(damaged[i] ^ 0x08);
        const RecoveryContents read = DecodeSealedRecoveryLog(damaged, cipher);
        EXPECT_TRUE(read.damaged) << "flip at " << i;
        // The changed record is skipped; what is read is unchanged records,
        // in their order.
        EXPECT_LT(read.records.size(), records.size()) << "flip at " << i;
        size_t next = 0;
        for (const RecoveryRecord& r : read.records) {
            while (next < records.size() && !(records[next] == r)) {
                ++next;
            }
            EXPECT_LT(next, records.size()) << "a changed record was read, flip at " << i;
            ++next;
        }
    }
    // A record moved to another place does not open there.
    const QByteArray second =
        log.sliced(log.size() - (log.size() - cipher.logHeader().size() -
                                 EncodeSealedRecoveryRecord(records[0], cipher, 72).size()));
    QByteArray moved = cipher.logHeader() + second;
    EXPECT_TRUE(DecodeSealedRecoveryLog(moved, cipher).records.empty());
}

}  // namespace
