// The journal session without any window: navigation and storing, the
// recovery log replayed after a run that was killed, the folder lock, the
// merge with a "Journal.cds" another program changed, and the backup copy.
#include "store/journal_session.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"

#include "failing_files.h"
#include "test_support.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>

#include <memory>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

double march(int day) {
    return dayFromDate(QDate(2024, 3, day));
}

QByteArray rtf(const char* text) {
    return QByteArray("{\\rtf1 ") + text + "}";
}

constexpr char kClosed[] = "tblJournal: Cannot perform this operation on a closed dataset";

class SessionTest : public ::testing::Test {
protected:
    // A session over the folder, opened the way the program opens it.
    std::unique_ptr<JournalSession> open() {
        auto session = std::make_unique<JournalSession>(dir_.path());
        session->OpenJournal();
        session->OpenSettings();
        recovered_ = session->recover();
        QObject::connect(session.get(), &JournalSession::errorOccurred,
                         [this](const QString& m) { errors_.push_back(m); });
        return session;
    }
    // Writes "Journal.cds" with these days, as another program would.
    void writeJournal(const std::vector<std::pair<double, const char*>>& entries) {
        JournalTable table;
        table.OpenJournal(dir_.file(kJournalFileName));
        for (const auto& [day, text] : entries) {
            table.StoreEntry(day, rtf(text));
        }
        table.close();
    }
    // The journal file's entries (day, RTF), in date order.
    std::vector<std::pair<double, QByteArray>> fileEntries(const char* name = kJournalFileName) {
        JournalTable table;
        table.OpenJournal(dir_.file(name));
        std::vector<std::pair<double, QByteArray>> entries;
        for (int i = 0; i < table.recordCount(); ++i) {
            entries.emplace_back(table.dayAt(i), DecodeEntryContent(table.entryAt(i)));
        }
        table.abandon();
        return entries;
    }
    static void store(JournalSession& s, double day, const char* text) {
        s.setCurrentDay(day);
        ASSERT_TRUE(s.storeEntry([text] { return rtf(text); }));
    }
    static QByteArray load(JournalSession& s, double day) {
        s.setCurrentDay(day);
        const JournalSession::LoadedEntry entry = s.loadEntry();
        return entry.found ? entry.rtf : QByteArray("<none>");
    }
    bool exists(const char* name) const { return QFile::exists(dir_.file(name)); }

    TempFolder dir_;
    JournalSession::Recovered recovered_;
    std::vector<QString> errors_;
};

// --- Navigation and storing ---------------------------------------------------------

TEST_F(SessionTest, StoringTheSameDayTwiceKeepsOneRecordAndLoadsTheLatest) {
    auto s = open();
    store(*s, march(5), "first");
    store(*s, march(5), "second");
    EXPECT_EQ(1, s->journal().recordCount());
    EXPECT_EQ(rtf("second"), load(*s, march(5)));
    EXPECT_EQ(QByteArray("<none>"), load(*s, march(6)));
    EXPECT_EQ((std::set<double>{march(5)}), s->storedDays());
}

TEST_F(SessionTest, EmptyTableLoadsNothingAndSkipSearchesStay) {
    auto s = open();
    s->setCurrentDay(march(20));
    EXPECT_TRUE(s->loadEntry().tableEmpty);
    EXPECT_EQ(march(20), s->findPreviousEntryDay());
    EXPECT_EQ(march(20), s->findNextEntryDay());
}

struct SkipCase {
    const char* label;
    double from;  // already moved one day, as the commands do
    bool next;
    double to;
    int walked;  // days passed through setCurrentDay
};

class SkipTest : public SessionTest, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(SkipTest, FindsTheNearestDayWithAnEntry) {
    const SkipCase& c = GetParam();
    writeJournal({{march(1), "first"}, {march(10), "tenth"}});
    auto s = open();
    s->setCurrentDay(c.from);
    std::vector<double> days;
    QObject::connect(s.get(), &JournalSession::currentDayChanged,
                     [&days](double day) { days.push_back(day); });
    const double found = c.next ? s->findNextEntryDay() : s->findPreviousEntryDay();
    EXPECT_EQ(c.to, found) << c.label;
    EXPECT_EQ(c.walked, static_cast<int>(days.size())) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Walks, SkipTest,
    ::testing::Values(
        SkipCase{"nominal: walk back 9 March to 1 March", march(9), false, march(1), 8},
        SkipCase{"nominal: all earlier, latest at once", march(19), false, march(10), 0},
        SkipCase{"nominal: none later, stays", march(21), true, march(21), 0},
        SkipCase{"nominal: all later, earliest at once", march(1) - 9, true, march(1), 0},
        SkipCase{"nominal: none earlier, stays", march(1) - 11, false, march(1) - 11, 0},
        SkipCase{"nominal: walk forward 8 to 10 March", march(8), true, march(10), 2}));

TEST_F(SessionTest, ClosedJournalThrowsOnStoreAndReportsTheSearch) {
    dir_.write(kJournalFileName, "damaged");
    auto s = std::make_unique<JournalSession>(dir_.path());
    EXPECT_THROW(s->OpenJournal(), Error);
    QObject::connect(s.get(), &JournalSession::errorOccurred,
                     [this](const QString& m) { errors_.push_back(m); });
    s->setCurrentDay(march(3));
    EXPECT_THROW_MSG(s->storeEntry([] { return rtf("x"); }), Error, kClosed);
    EXPECT_EQ(march(3), s->findPreviousEntryDay());
    EXPECT_EQ(std::vector<QString>{kClosed}, errors_);
    EXPECT_FALSE(exists(kRecoveryFileName)) << "nothing was stored";
    EXPECT_FALSE(s->finishRun()) << "a journal never read leaves any log alone";
}

TEST_F(SessionTest, FailedEncodingStoresNothingAndReportsTheMessage) {
    auto s = open();
    store(*s, march(2), "kept");
    s->setCurrentDay(march(2));
    EXPECT_FALSE(s->storeEntry([]() -> QByteArray { throw ZlibError(-4, "insufficient memory"); }));
    EXPECT_EQ(std::vector<QString>{"insufficient memory"}, errors_);
    EXPECT_EQ(rtf("kept"), load(*s, march(2)));
    s.reset();
    auto again = open();
    EXPECT_EQ(rtf("kept"), load(*again, march(2))) << "the log holds no failed entry";
}

TEST_F(SessionTest, PasswordAndBusyState) {
    auto s = open();
    EXPECT_TRUE(s->checkPassword(QStringLiteral("anything"))) << "no record asks for nothing";
    s->settings().insert();
    s->settings().setPassword(QStringLiteral("secret  "));
    s->postSettings();
    EXPECT_TRUE(s->checkPassword(QStringLiteral("secret")));
    EXPECT_FALSE(s->checkPassword(QStringLiteral("secret  ")));
    std::vector<bool> flips;
    QObject::connect(s.get(), &JournalSession::busyChanged,
                     [&flips](bool b) { flips.push_back(b); });
    s->beginBusy();
    s->beginBusy();
    s->endBusy();
    EXPECT_TRUE(s->busy());
    s->endBusy();
    s->endBusy();  // unpaired: ignored
    EXPECT_FALSE(s->busy());
    EXPECT_EQ((std::vector<bool>{true, false}), flips);
}

// --- Recovery after a killed run --------------------------------------------------------

TEST_F(SessionTest, KilledRunIsReplayedAndJournalFileIsUntouched) {
    writeJournal({{march(1), "from the last normal end"}});
    const QByteArray before = dir_.read(kJournalFileName);
    {
        auto s = open();
        store(*s, march(2), "stored");
        store(*s, march(1), "changed");
        s->settings().insert();
        s->settings().setPassword(QStringLiteral("pw"));
        s->settings().setFontName(QStringLiteral("Courier New"));
        s->settings().setFontSize(14);
        s->settings().setFontColor(255);
        s->postSettings();
        // Destroyed without endRun(): a kill.
    }
    EXPECT_EQ(before, dir_.read(kJournalFileName));
    EXPECT_FALSE(exists(kSettingsFileName));
    ASSERT_TRUE(exists(kRecoveryFileName));

    auto s = open();
    EXPECT_EQ((std::vector<double>{march(1), march(2)}), recovered_.days);
    EXPECT_TRUE(recovered_.settings);
    EXPECT_EQ(rtf("changed"), load(*s, march(1)));
    EXPECT_EQ(rtf("stored"), load(*s, march(2)));
    EXPECT_EQ((SettingsValues{true, "pw", "Courier New", 14, 255}), s->settingsRecord());
    EXPECT_TRUE(s->journal().isModified()) << "the next normal end writes the file";

    s->writeSettings();
    EXPECT_TRUE(s->writeJournal().written);
    EXPECT_TRUE(s->finishRun());
    EXPECT_FALSE(exists(kRecoveryFileName));
    EXPECT_EQ((std::vector<std::pair<double, QByteArray>>{{march(1), rtf("changed")},
                                                          {march(2), rtf("stored")}}),
              fileEntries());
}

struct LogDamage {
    const char* label;
    // Changes the log after two stored records (2 and 3 March) and a draft
    // of 3 March were written.
    std::function<void(QByteArray*)> damage;
    QByteArray third;  // what 3 March holds after the replay
};

class DamagedLogTest : public SessionTest, public ::testing::WithParamInterface<LogDamage> {};

TEST_P(DamagedLogTest, CompleteRecordsBeforeTheDamageAreReplayed) {
    const LogDamage& c = GetParam();
    {
        auto s = open();
        store(*s, march(2), "second");
        store(*s, march(3), "third");
        s->setCurrentDay(march(3));
        s->saveDraft(rtf("third, typed on"));
        s->waitForDrafts();
    }
    QByteArray bytes = dir_.read(kRecoveryFileName);
    c.damage(&bytes);
    dir_.write(kRecoveryFileName, bytes);
    auto s = open();
    EXPECT_EQ(rtf("second"), load(*s, march(2))) << c.label;
    EXPECT_EQ(c.third, load(*s, march(3))) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedLogTest,
    ::testing::Values(
        LogDamage{"nominal: intact, the newer draft wins", [](QByteArray*) {},
                  rtf("third, typed on")},
        LogDamage{"robustness: torn last record", [](QByteArray* b) { b->chop(5); }, rtf("third")},
        LogDamage{"robustness: last record's checksum damaged",
                  [](QByteArray* b) {
                      const RecoveryContents log = DecodeRecoveryLog(*b);
                      const qsizetype last =
                          b->size() - EncodeRecoveryRecord(log.records.back()).size();
                      (*b)[last + 4] = static_cast<char>((*b)[last + 4] ^ 0x01);
                  },
                  rtf("third")},
        LogDamage{"robustness: garbage after the last record",
                  [](QByteArray* b) { b->append("\x05\x00\x00", 3); }, rtf("third, typed on")}));

TEST_F(SessionTest, DraftOlderThanTheStoredEntryLoses) {
    {
        auto s = open();
        s->setCurrentDay(march(4));
        s->saveDraft(rtf("draft"));
        s->waitForDrafts();
        store(*s, march(4), "stored after the draft");
    }
    auto s = open();
    EXPECT_EQ(rtf("stored after the draft"), load(*s, march(4)));
}

TEST_F(SessionTest, DraftOfADayWithoutStoredEntryIsRecoveredAndRepeatsAreWrittenOnce) {
    {
        auto s = open();
        s->setCurrentDay(march(7));
        s->saveDraft(rtf("typed"));
        s->saveDraft(rtf("typed"));
        s->waitForDrafts();
    }
    const RecoveryContents log = DecodeRecoveryLog(dir_.read(kRecoveryFileName));
    EXPECT_EQ(1u, log.records.size());
    auto s = open();
    EXPECT_EQ(std::vector<double>{march(7)}, recovered_.days);
    EXPECT_EQ(rtf("typed"), load(*s, march(7)));
}

TEST_F(SessionTest, NormalEndWithNothingChangedWritesNothingAndRemovesTheLog) {
    writeJournal({{march(1), "one"}});
    const QDateTime modified = QFileInfo(dir_.file(kJournalFileName)).lastModified();
    auto s = open();
    EXPECT_EQ(rtf("one"), load(*s, march(1)));
    s->writeSettings();
    EXPECT_FALSE(s->writeJournal().written);
    EXPECT_TRUE(s->finishRun());
    EXPECT_EQ(modified, QFileInfo(dir_.file(kJournalFileName)).lastModified());
    EXPECT_FALSE(exists(kJournalBackupFileName));
    EXPECT_FALSE(exists(kSettingsFileName));
}

TEST_F(SessionTest, FailedLogAppendKeepsTheEntryAndIsToldOnce) {
    auto s = open();
    testsupport::FailingFiles failing({kRecoveryFileName});
    ScopedFileAccess seam(&failing);
    store(*s, march(1), "one");
    store(*s, march(2), "two");
    s->waitForDrafts();
    ASSERT_EQ(1u, errors_.size());
    EXPECT_EQ("Cannot write \"" + dir_.file(kRecoveryFileName) + "\": No space left on device",
              errors_[0]);
    EXPECT_EQ(rtf("two"), load(*s, march(2)));
}

// A record the log lost is lost until its day is in the log again: a later
// record of another day does not bring it back.
TEST_F(SessionTest, ALostLogRecordIsRememberedUntilItsDayIsStoredAgain) {
    auto s = open();
    testsupport::FailingFiles failing({kRecoveryFileName});
    {
        ScopedFileAccess seam(&failing);
        store(*s, march(1), "one");
        s->waitForDrafts();
    }
    store(*s, march(2), "two");
    EXPECT_FALSE(s->recoveryLogHoldsRun());
    EXPECT_EQ(std::vector<double>{march(1)}, s->daysMissingFromLog());
    s->setCurrentDay(march(1));
    s->saveDraft(rtf("one, typed on"));
    EXPECT_TRUE(s->recoveryLogHoldsRun());
    EXPECT_TRUE(s->daysMissingFromLog().empty());
}

TEST_F(SessionTest, ALostSettingsRecordIsRememberedUntilTheSettingsAreLoggedAgain) {
    auto s = open();
    testsupport::FailingFiles failing({kRecoveryFileName});
    {
        ScopedFileAccess seam(&failing);
        s->settings().insert();
        s->settings().setPassword(QStringLiteral("secret"));
        s->postSettings();
    }
    store(*s, march(2), "two");
    EXPECT_FALSE(s->recoveryLogHoldsRun());
    s->settings().edit();
    s->postSettings();
    EXPECT_TRUE(s->recoveryLogHoldsRun());
}

// One damaged record in the middle of the log costs that record only; the
// log stays on disk until the user was told and the run ended normally.
TEST_F(SessionTest, DamagedLogRecordIsSkippedAndTheLogKeptUntilTheUserWasTold) {
    {
        JournalSession killed(dir_.path());
        killed.OpenJournal();
        killed.OpenSettings();
        store(killed, march(1), "one");
        store(killed, march(2), "two");
        store(killed, march(3), "three");
        killed.waitForDrafts();
    }
    QByteArray log = dir_.read(kRecoveryFileName);
    const qsizetype second =
        kRecoveryHeaderSize +
        EncodeRecoveryRecord({RecoveryKind::kStored, march(1), EncodeEntryContent(rtf("one")), {}})
            .size();
    log[second + 20] = static_cast<char>(log[second + 20] ^ 0x40);  // inside the entry
    dir_.write(kRecoveryFileName, log);

    auto s = open();
    EXPECT_EQ((std::vector<double>{march(1), march(3)}), recovered_.days);
    EXPECT_TRUE(recovered_.logDamaged);
    EXPECT_EQ(rtf("three"), load(*s, march(3)));
    EXPECT_EQ(log, dir_.read(kRecoveryFileName)) << "nothing cut before the user was told";
    s->writeSettings();
    EXPECT_TRUE(s->writeJournal().written);
    EXPECT_FALSE(s->finishRun()) << "the user was not told";
    EXPECT_TRUE(exists(kRecoveryFileName));
    s->userToldOfRecovery();
    EXPECT_TRUE(s->finishRun());
    EXPECT_FALSE(exists(kRecoveryFileName));
}

// A log the run could not read is never removed: it holds a run nobody
// replayed.
TEST_F(SessionTest, UnreadableLogIsKeptAtTheEnd) {
    dir_.write(kRecoveryFileName, QByteArray("QMRLOG\x01\x00", 8) + "a killed run");
    struct Unreadable : FileAccess {
        QByteArray readAll(const QString& path) const override {
            if (path.endsWith(QLatin1String(kRecoveryFileName))) {
                throw FileError(QStringLiteral("Cannot open \"%1\": Permission denied").arg(path));
            }
            return FileAccess::readAll(path);
        }
    } unreadable;
    std::unique_ptr<JournalSession> s;
    {
        ScopedFileAccess seam(&unreadable);
        s = std::make_unique<JournalSession>(dir_.path());
        s->OpenJournal();
        s->OpenSettings();
        EXPECT_THROW(s->recover(), FileError);
    }
    store(*s, march(1), "one");
    s->writeSettings();
    EXPECT_TRUE(s->writeJournal().written);
    EXPECT_FALSE(s->finishRun());
    EXPECT_TRUE(
        dir_.read(kRecoveryFileName).startsWith(QByteArray("QMRLOG\x01\x00", 8) + "a killed run"));
}

// --- Writing at the end ------------------------------------------------------------

TEST_F(SessionTest, EveryWriteKeepsThePreviousFileAsBackup) {
    writeJournal({{march(1), "old"}});
    const QByteArray previous = dir_.read(kJournalFileName);
    auto s = open();
    store(*s, march(2), "new");
    s->writeSettings();
    EXPECT_TRUE(s->writeJournal().written);
    EXPECT_EQ(previous, dir_.read(kJournalBackupFileName));
    EXPECT_EQ(2u, fileEntries().size());
}

TEST_F(SessionTest, FirstWriteMakesNoBackup) {
    auto s = open();
    store(*s, march(2), "new");
    EXPECT_TRUE(s->writeJournal().written);
    EXPECT_FALSE(exists(kJournalBackupFileName));
}

TEST_F(SessionTest, FileChangedBehindTheSessionIsMergedNotOverwritten) {
    writeJournal({{march(1), "one"}, {march(2), "two"}});
    auto s = open();
    store(*s, march(1), "one, mine");
    store(*s, march(3), "three, mine");
    // Another copy or a sync tool rewrites the file meanwhile.
    writeJournal(
        {{march(1), "one, theirs"}, {march(2), "two, theirs"}, {march(4), "four, theirs"}});
    const QByteArray theirs = dir_.read(kJournalFileName);

    const JournalSession::JournalWrite written = s->writeJournal();
    EXPECT_TRUE(written.written);
    EXPECT_EQ((std::vector<double>{march(2), march(4)}), written.fromFile);
    EXPECT_EQ((std::vector<std::pair<double, QByteArray>>{{march(1), rtf("one, mine")},
                                                          {march(2), rtf("two, theirs")},
                                                          {march(3), rtf("three, mine")},
                                                          {march(4), rtf("four, theirs")}}),
              fileEntries());
    EXPECT_EQ(theirs, dir_.read(kJournalBackupFileName));
}

// The file as the session read it is recognised at the end without reading
// it again, neither for merging nor for the backup copy (a second name of it).
TEST_F(SessionTest, UnchangedFileIsNotMerged) {
    writeJournal({{march(1), "one"}, {march(2), "two"}});
    auto s = open();
    store(*s, march(3), "three");
    struct CountingReads : FileAccess {
        QByteArray readAll(const QString& path) const override {
            ++reads;
            return FileAccess::readAll(path);
        }
        std::shared_ptr<const OpenFile> openForReading(const QString& path) const override {
            ++reads;
            return FileAccess::openForReading(path);
        }
        mutable int reads = 0;
    } counting;
    ScopedFileAccess inject(&counting);
    const JournalSession::JournalWrite written = s->writeJournal();
    EXPECT_TRUE(written.written);
    EXPECT_TRUE(written.fromFile.empty());
    EXPECT_EQ(0, counting.reads);
    EXPECT_EQ(3u, fileEntries().size());
}

TEST_F(SessionTest, FileCreatedBehindTheSessionIsMergedToo) {
    auto s = open();
    store(*s, march(3), "mine");
    writeJournal({{march(4), "theirs"}});
    EXPECT_EQ(std::vector<double>{march(4)}, s->writeJournal().fromFile);
    EXPECT_EQ(2u, fileEntries().size());
}

TEST_F(SessionTest, FailedWriteKeepsTheLogAndCanBeRetriedOrSavedElsewhere) {
    writeJournal({{march(1), "old"}});
    const QByteArray before = dir_.read(kJournalFileName);
    auto s = open();
    store(*s, march(2), "new");
    s->writeSettings();
    testsupport::FailingFiles failing({kJournalFileName});
    {
        ScopedFileAccess seam(&failing);
        EXPECT_THROW_MSG(s->writeJournal(), FileError,
                         "Cannot write \"" + dir_.file(kJournalFileName).toStdString() +
                             "\": No space left on device");
        EXPECT_FALSE(s->finishRun());
    }
    TempFolder elsewhere;
    s->saveJournalCopy(elsewhere.path());
    JournalTable copy;
    copy.OpenJournal(elsewhere.file(kJournalFileName));
    EXPECT_EQ(2, copy.recordCount());
    EXPECT_EQ(before, dir_.read(kJournalFileName));
    EXPECT_TRUE(exists(kRecoveryFileName));
    EXPECT_TRUE(s->writeJournal().written) << "retry";
    EXPECT_TRUE(s->finishRun());
    EXPECT_EQ(2u, fileEntries().size());
}

// --- One program per diary -------------------------------------------------------

TEST_F(SessionTest, SecondLockIsRefusedUntilTheFirstEnds) {
    auto first = std::make_unique<JournalSession>(dir_.path());
    EXPECT_EQ(JournalSession::LockResult::kLocked, first->lockFolder());
    JournalSession second(dir_.path());
    EXPECT_EQ(JournalSession::LockResult::kHeldByAnother, second.lockFolder());
    first.reset();
    EXPECT_EQ(JournalSession::LockResult::kLocked, second.lockFolder());
}

TEST_F(SessionTest, LockOfAProcessThatEndedIsTakenOver) {
    QProcess gone;
    gone.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 0")});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 pid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    dir_.write(kLockFileName, QByteArray::number(pid) + "\nquillmere\n" +
                                  QSysInfo::machineHostName().toUtf8() + "\n");
    JournalSession s(dir_.path());
    EXPECT_EQ(JournalSession::LockResult::kLocked, s.lockFolder());
}

TEST_F(SessionTest, FolderWithoutRoomForALockStillRuns) {
    JournalSession s(dir_.file("no-such-folder"));
    EXPECT_EQ(JournalSession::LockResult::kUnavailable, s.lockFolder());
}

}  // namespace
