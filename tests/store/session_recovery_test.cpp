// The session when a data file is not what it should be: opening errors that
// name the file, a damaged journal whose readable days are rescued (written
// only when the user keeps them, the damaged file kept beside them), and a
// journal another program changed meanwhile, where a day both sides changed
// keeps both texts.
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/journal_session.h"

#include "failing_files.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cstdio>
#include <memory>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

double march(int day) {
    return dayFromDate(QDate(2024, 3, day));
}

QByteArray rtf(const QByteArray& text) {
    return "{\\rtf1 " + text + "}";
}

class SessionRecoveryTest : public ::testing::Test {
protected:
    // A session opened the way the program opens it; an opening error is
    // kept in openError_.
    std::unique_ptr<JournalSession> open() {
        auto session = std::make_unique<JournalSession>(dir_.path());
        session->setEntryMerger(
            [](const QByteArray& ours, const QByteArray& theirs) { return ours + "|" + theirs; });
        openError_.clear();
        try {
            session->OpenJournal();
        } catch (const Error& e) {
            openError_ = e.message();
        }
        session->OpenSettings();
        return session;
    }
    void writeJournal(const std::vector<std::pair<double, QByteArray>>& entries,
                      const char* name = kJournalFileName) {
        QFile::remove(dir_.file(name));
        JournalTable table;
        table.OpenJournal(dir_.file(name));
        for (const auto& [day, text] : entries) {
            table.StoreEntry(day, rtf(text));
        }
        table.close();
    }
    std::vector<std::pair<double, QByteArray>> fileEntries(const QString& name = kJournalFileName) {
        JournalTable table;
        table.OpenJournal(dir_.file(name));
        std::vector<std::pair<double, QByteArray>> entries;
        for (int i = 0; i < table.recordCount(); ++i) {
            entries.emplace_back(table.dayAt(i), DecodeEntryContent(table.entryAt(i)));
        }
        table.abandon();
        return entries;
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
    bool exists(const QString& name) const { return QFile::exists(dir_.file(name)); }
    QStringList damagedCopies() const {
        return QDir(dir_.path())
            .entryList({QString::fromLatin1(kDamagedJournalPrefix) + QLatin1Char('*')},
                       QDir::Files);
    }

    TempFolder dir_;
    QString openError_;
};

// --- Opening errors name the file ---------------------------------------------------

// Fails every read of one file name the way an unreadable file fails.
class UnreadableFile : public FileAccess {
public:
    explicit UnreadableFile(QString name) : name_(std::move(name)) {}
    QByteArray readAll(const QString& path) const override {
        if (QFileInfo(path).fileName() == name_) {
            throw FileError(QStringLiteral("Cannot open \"%1\": Permission denied").arg(path));
        }
        return FileAccess::readAll(path);
    }
    // The journal is opened, not read whole, when its entries stay on disk.
    std::shared_ptr<const OpenFile> openForReading(const QString& path) const override {
        if (QFileInfo(path).fileName() == name_) {
            throw FileError(QStringLiteral("Cannot open \"%1\": Permission denied").arg(path));
        }
        return FileAccess::openForReading(path);
    }

private:
    QString name_;
};

struct OpenFailure {
    const char* label;
    const char* file;      // the file written with `bytes`
    QByteArray bytes;      // its content; empty with `unreadable`
    bool unreadable;       // reading it fails instead
    const char* expected;  // %1: its path, %2: the table's own message
    bool damaged;          // journalDamaged() afterwards
};

class OpenFailureTest : public SessionRecoveryTest,
                        public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(OpenFailureTest, TheMessageNamesTheFile) {
    const OpenFailure& c = GetParam();
    const QString path = dir_.write(QString::fromLatin1(c.file), c.bytes);
    // The table's own message for these bytes.
    QString tableMessage;
    try {
        if (QString::fromLatin1(c.file) == kJournalFileName) {
            JournalTable().OpenJournal(path);
        } else {
            SettingsTable().OpenSettings(path);
        }
    } catch (const Error& e) {
        tableMessage = e.message();
    }
    UnreadableFile unreadable(QString::fromLatin1(c.file));
    std::optional<ScopedFileAccess> seam;
    if (c.unreadable) {
        seam.emplace(&unreadable);
    }
    JournalSession s(dir_.path());
    QString message;
    try {
        if (QString::fromLatin1(c.file) == kJournalFileName) {
            s.OpenJournal();
        } else {
            s.OpenSettings();
        }
    } catch (const Error& e) {
        message = e.message();
    }
    const QString expected = QString::fromLatin1(c.expected)
                                 .replace(QStringLiteral("%1"), path)
                                 .replace(QStringLiteral("%2"), tableMessage);
    EXPECT_EQ(expected, message) << c.label;
    EXPECT_EQ(c.damaged, s.journalDamaged()) << c.label;
}

constexpr char kDamagedDiary[] =
    "Cannot read the diary \"%1\": %2\n\nIts intact days can be rescued into a new file with "
    "the journal tool: quillmere-journal salvage \"%1\" Rescued.cds";
constexpr char kDamagedSettings[] =
    "Cannot read the settings \"%1\": %2\n\nUntil it can be read, no password is asked and new "
    "entries take no default font. The file is left as it is.";

INSTANTIATE_TEST_SUITE_P(
    Files, OpenFailureTest,
    ::testing::Values(OpenFailure{"robustness: journal that is no packet", kJournalFileName,
                                  "not a packet", false, kDamagedDiary, true},
                      OpenFailure{"robustness: empty journal file", kJournalFileName, "", false,
                                  kDamagedDiary, true},
                      OpenFailure{"robustness: unreadable journal, the file error as it is",
                                  kJournalFileName, "x", true,
                                  "Cannot open \"%1\": Permission denied", false},
                      OpenFailure{"robustness: settings that are no packet", kSettingsFileName,
                                  "not a packet", false, kDamagedSettings, false},
                      OpenFailure{"robustness: unreadable settings, the file error as it is",
                                  kSettingsFileName, "x", true,
                                  "Cannot open \"%1\": Permission denied", false}));

// --- A damaged journal, rescued ---------------------------------------------------------

class RescueTest : public SessionRecoveryTest {
protected:
    // Thirty days, then the file cut in half; `intact` gets the days whose
    // rows lie wholly before the cut.
    void writeDamagedJournal() {
        std::vector<std::pair<double, QByteArray>> entries;
        for (int d = 1; d <= 30; ++d) {
            entries.emplace_back(march(d), "day " + QByteArray::number(d) + " " +
                                               QByteArray(d * 7, char('a' + d % 26)));
        }
        writeJournal(entries);
        const QByteArray whole = dir_.read(kJournalFileName);
        damaged_ = whole.left(whole.size() / 2);
        qsizetype end = 88;  // rows start after the journal's metadata
        for (const auto& [day, text] : entries) {
            end += 1 + 1 + 8 + 4 + EncodeEntryContent(rtf(text)).size();
            if (end <= damaged_.size()) {
                intact_.emplace_back(day, rtf(text));
            }
        }
        dir_.write(kJournalFileName, damaged_);
    }
    // The log a killed run left: a stored entry of 3 March and a draft of
    // 31 March.
    void leaveLog() {
        RecoveryLog log(dir_.file(kRecoveryFileName));
        log.append(
            {RecoveryKind::kStored, march(3), EncodeEntryContent(rtf("3, typed later")), {}});
        log.append({RecoveryKind::kDraft, march(31), EncodeEntryContent(rtf("31, a draft")), {}});
    }
    std::unique_ptr<JournalSession> openRescued() {
        auto s = open();
        EXPECT_TRUE(s->journalDamaged());
        const JournalSession::RescueOffer offer = s->prepareRescue();
        EXPECT_EQ(static_cast<int>(intact_.size()), offer.days);
        EXPECT_FALSE(offer.restUnreadable) << "a plain journal is read past its damage";
        EXPECT_EQ((std::vector<double>{march(3), march(31)}), offer.logDays);
        s->openRescuedJournal();
        const JournalSession::Recovered recovered = s->recover();
        EXPECT_EQ((std::vector<double>{march(3), march(31)}), recovered.days);
        EXPECT_TRUE(s->rescueOpen());
        return s;
    }
    // What the rescued diary holds: the intact days, the log over them.
    std::vector<std::pair<double, QByteArray>> expectedDiary(
        const std::vector<std::pair<double, QByteArray>>& typed) const {
        std::map<double, QByteArray> days(intact_.begin(), intact_.end());
        days[march(3)] = rtf("3, typed later");
        days[march(31)] = rtf("31, a draft");
        for (const auto& [day, text] : typed) {
            days[day] = text;
        }
        return {days.begin(), days.end()};
    }

    QByteArray damaged_;
    std::vector<std::pair<double, QByteArray>> intact_;
};

TEST_F(RescueTest, RescuedDaysWithTheLogOverThemAreShownAndKeptWhenTheUserKeepsThem) {
    writeDamagedJournal();
    leaveLog();
    ASSERT_GT(intact_.size(), 5u);
    ASSERT_LT(intact_.size(), 30u);
    auto s = openRescued();
    EXPECT_EQ(intact_.front().second, load(*s, intact_.front().first));
    EXPECT_EQ(rtf("3, typed later"), load(*s, march(3)));
    EXPECT_EQ(QByteArray("<none>"), load(*s, march(30))) << "lost in the damage";
    store(*s, march(20), "typed in the rescued diary");
    EXPECT_EQ(damaged_, dir_.read(kJournalFileName)) << "nothing on disk changes before the end";

    s->keepRescuedJournal(true);
    s->writeSettings();
    const JournalSession::JournalWrite written = s->writeJournal();
    EXPECT_TRUE(written.written);
    EXPECT_EQ(QString::fromLatin1(kDamagedJournalPrefix) +
                  QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) +
                  QStringLiteral(".cds"),
              written.damagedKeptAs);
    EXPECT_EQ(damaged_, dir_.read(written.damagedKeptAs)) << "the damaged file, byte for byte";
    EXPECT_FALSE(exists(kJournalBackupFileName)) << "a backup copy may hold the last good diary";
    EXPECT_EQ(expectedDiary({{march(20), rtf("typed in the rescued diary")}}), fileEntries());
    EXPECT_TRUE(s->finishRun());
    EXPECT_FALSE(exists(kRecoveryFileName));
}

TEST_F(RescueTest, NotKeptLeavesEveryFileAndOffersTheSameAndMoreNextTime) {
    writeDamagedJournal();
    leaveLog();
    {
        auto s = openRescued();
        store(*s, march(20), "typed in the rescued diary");
        s->keepRescuedJournal(false);
        s->writeSettings();
        const JournalSession::JournalWrite written = s->writeJournal();
        EXPECT_FALSE(written.written);
        EXPECT_FALSE(s->finishRun()) << "the log keeps the text of the run";
    }
    EXPECT_EQ(damaged_, dir_.read(kJournalFileName));
    EXPECT_TRUE(damagedCopies().isEmpty());

    auto again = open();
    ASSERT_TRUE(again->journalDamaged());
    const JournalSession::RescueOffer offer = again->prepareRescue();
    EXPECT_EQ((std::vector<double>{march(3), march(20), march(31)}), offer.logDays);
    again->openRescuedJournal();
    again->recover();
    EXPECT_EQ(rtf("typed in the rescued diary"), load(*again, march(20)));
    EXPECT_EQ(rtf("31, a draft"), load(*again, march(31)));
}

TEST_F(RescueTest, FailedWriteOfTheKeptDiaryIsRetriedWithOneDamagedCopy) {
    writeDamagedJournal();
    leaveLog();
    auto s = openRescued();
    s->keepRescuedJournal(true);
    s->writeSettings();
    testsupport::FailingFiles failing({kJournalFileName});
    {
        ScopedFileAccess seam(&failing);
        EXPECT_THROW_MSG(s->writeJournal(), FileError,
                         failing.messageFor(dir_.file(kJournalFileName)).toStdString());
        EXPECT_FALSE(s->finishRun());
    }
    EXPECT_EQ(damaged_, dir_.read(kJournalFileName)) << "the failed write left it alone";
    const JournalSession::JournalWrite written = s->writeJournal();
    EXPECT_TRUE(written.written);
    EXPECT_EQ(QStringList{written.damagedKeptAs}, damagedCopies());
    EXPECT_EQ(damaged_, dir_.read(written.damagedKeptAs));
    EXPECT_EQ(expectedDiary({}), fileEntries());
    EXPECT_TRUE(s->finishRun());
}

TEST_F(RescueTest, NothingToRescueAndNoLogOffersNothing) {
    dir_.write(kJournalFileName, "damaged");
    auto s = open();
    ASSERT_TRUE(s->journalDamaged());
    EXPECT_FALSE(s->prepareRescue().worthOpening());
    EXPECT_FALSE(s->journal().isOpen());
}

// --- A journal changed by another program meanwhile -------------------------------------

struct SyncCase {
    const char* label;
    const char* atOpen;  // 1 March in the file when the session read it (null: none)
    const char* ours;    // what this run stored for 1 March
    const char* theirs;  // 1 March in the file written meanwhile
    QByteArray written;  // 1 March in the file written at the end
    bool fromFile;       // listed as taken from the file
    bool bothChanged;    // listed as holding both texts
};

class SyncConflictTest : public SessionRecoveryTest,
                         public ::testing::WithParamInterface<SyncCase> {};

TEST_P(SyncConflictTest, ADayBothSidesChangedKeepsBothTexts) {
    const SyncCase& c = GetParam();
    if (c.atOpen != nullptr) {
        writeJournal({{march(1), c.atOpen}, {march(2), "two"}});
    }
    auto s = open();
    store(*s, march(1), c.ours);
    writeJournal({{march(1), c.theirs}, {march(2), "two"}});
    // The first write fails and is tried again: the merge happens once.
    testsupport::FailingFiles failing({kJournalFileName});
    {
        ScopedFileAccess seam(&failing);
        EXPECT_THROW(s->writeJournal(), FileError) << c.label;
    }
    const JournalSession::JournalWrite written = s->writeJournal();
    EXPECT_EQ(c.written, fileEntries().front().second) << c.label;
    const auto lists = [](const std::vector<double>& days) {
        return std::find(days.begin(), days.end(), march(1)) != days.end();
    };
    EXPECT_EQ(c.fromFile, lists(written.fromFile)) << c.label;
    EXPECT_EQ(c.bothChanged, lists(written.bothChanged)) << c.label;
    EXPECT_EQ(c.bothChanged ? 1u : 0u, written.bothChanged.size()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Days, SyncConflictTest,
    ::testing::Values(SyncCase{"nominal: both changed the day", "one", "mine", "theirs",
                               rtf("mine") + "|" + rtf("theirs"), false, true},
                      SyncCase{"nominal: a day new on both sides", nullptr, "mine", "theirs",
                               rtf("mine") + "|" + rtf("theirs"), false, true},
                      SyncCase{"nominal: only the other side changed it", "one", "one", "theirs",
                               rtf("theirs"), true, false},
                      SyncCase{"nominal: only this run changed it", "one", "mine", "one",
                               rtf("mine"), false, false},
                      SyncCase{"nominal: both wrote the same text", "one", "same", "same",
                               rtf("same"), false, false}));

// --- A photo diary read lazily while a sync tool changes its file ------------------------

// A blob that does not compress, as dense as a photograph's stored form.
QByteArray photoBlob(quint32 seed, int size) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

struct LazySyncCase {
    const char* label;
    bool inPlace;  // the sync tool rewrites the open file instead of renaming a new one over it
};

class LazySyncTest : public SessionRecoveryTest,
                     public ::testing::WithParamInterface<LazySyncCase> {
protected:
    // Days large enough for the end write to copy the unchanged ones from
    // the file they were read from.
    std::vector<std::pair<double, QByteArray>> atOpen() const {
        return {{march(1), EncodeEntryContent(rtf("one"))},
                {march(2), photoBlob(2, 700 * 1024)},
                {march(3), photoBlob(3, 800 * 1024)},
                {march(4), photoBlob(4, 300 * 1024)}};
    }
    // The other computer's file: 2 March changed, 4 March gone, 5 March new.
    std::vector<std::pair<double, QByteArray>> theirs() const {
        return {{march(1), EncodeEntryContent(rtf("one"))},
                {march(2), photoBlob(22, 650 * 1024)},
                {march(3), photoBlob(3, 800 * 1024)},
                {march(5), photoBlob(5, 500 * 1024)}};
    }
    QByteArray journalBytes(const std::vector<std::pair<double, QByteArray>>& days) {
        const QString path = dir_.file(QStringLiteral("packet.tmp"));
        QFile::remove(path);
        JournalTable table;
        table.OpenJournal(path);
        for (const auto& [day, blob] : days) {
            table.StoreDay(day, [&entry = blob] { return entry; });
        }
        table.close();
        const QByteArray bytes = dir_.read(QStringLiteral("packet.tmp"));
        QFile::remove(path);
        return bytes;
    }
    std::vector<std::pair<double, QByteArray>> rawEntries() {
        JournalTable table;
        table.OpenJournal(dir_.file(kJournalFileName));
        std::vector<std::pair<double, QByteArray>> entries;
        for (int i = 0; i < table.recordCount(); ++i) {
            entries.emplace_back(table.dayAt(i), table.entryAt(i));
        }
        table.abandon();
        return entries;
    }
};

// Renamed over the open file, the sync tool's file is merged day by day and
// the days only this run's file still holds are copied from that file, at
// their own places; rewritten in place, the open file no longer holds what
// its rows point at, so the end write is refused (never a copy of the wrong
// bytes), the sync tool's file stays as it is and the log keeps the run.
TEST_P(LazySyncTest, TheEndWriteNeverCopiesFromAChangedFile) {
    const LazySyncCase& c = GetParam();
    dir_.write(QString::fromLatin1(kJournalFileName), journalBytes(atOpen()));
    auto s = open();
    ASSERT_TRUE(openError_.isEmpty()) << c.label;
    store(*s, march(1), "mine");
    const QByteArray other = journalBytes(theirs());
    if (c.inPlace) {
        QFile file(dir_.file(kJournalFileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(other.size(), file.write(other));
        file.close();
        const std::string changed = "Cannot read \"" + dir_.file(kJournalFileName).toStdString() +
                                    "\": the file was cut short or changed by another program";
        EXPECT_THROW_MSG(s->writeJournal(), FileError, changed);
        EXPECT_EQ(other, dir_.read(kJournalFileName)) << c.label;
        s.reset();
        auto next = open();
        next->recover();
        EXPECT_EQ(rtf("mine"), load(*next, march(1))) << c.label;
        return;
    }
    dir_.write(QStringLiteral("sync.tmp"), other);
    // Renamed over it as sync tools do (QFile::rename never replaces a file).
    ASSERT_EQ(0, ::rename(QFile::encodeName(dir_.file(QStringLiteral("sync.tmp"))).constData(),
                          QFile::encodeName(dir_.file(kJournalFileName)).constData()));
    const JournalSession::JournalWrite written = s->writeJournal();
    EXPECT_TRUE(written.written) << c.label;
    EXPECT_EQ(other, dir_.read(kJournalBackupFileName)) << c.label;
    const std::vector<std::pair<double, QByteArray>> mine = atOpen();
    const std::vector<std::pair<double, QByteArray>> other_ = theirs();
    const std::vector<std::pair<double, QByteArray>> expected = {
        {march(1), EncodeEntryContent(rtf("mine"))}, other_[1], mine[2], mine[3], other_[3]};
    const auto entries = rawEntries();
    ASSERT_EQ(expected.size(), entries.size()) << c.label;
    EXPECT_EQ(rtf("mine"), DecodeEntryContent(entries[0].second)) << c.label;
    for (size_t i = 1; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].first, entries[i].first) << c.label << " " << i;
        EXPECT_EQ(expected[i].second, entries[i].second) << c.label << " " << i;
    }
    EXPECT_EQ((std::vector<double>{march(2), march(5)}), written.fromFile) << c.label;
}

// A day whose entry was cut off the open file behind the program's back is
// still stored when the user writes it, and kept by the log for the next run
// when the end write must be refused.
TEST_F(LazySyncTest, ADayCutFromTheOpenFileIsStillStored) {
    dir_.write(QString::fromLatin1(kJournalFileName), journalBytes(atOpen()));
    auto s = open();
    ASSERT_TRUE(openError_.isEmpty());
    const QString path = dir_.file(kJournalFileName);
    ASSERT_TRUE(QFile::resize(path, QFileInfo(path).size() - 400 * 1024));
    store(*s, march(4), "new");
    EXPECT_THROW(s->writeJournal(), FileError);
    s.reset();
    // The cut file is damaged for the next start, which offers the log's days
    // with the rescue of the intact ones.
    auto next = open();
    EXPECT_TRUE(next->journalDamaged());
    const std::vector<double> logDays = next->prepareRescue().logDays;
    EXPECT_NE(logDays.end(), std::find(logDays.begin(), logDays.end(), march(4)));
}

INSTANTIATE_TEST_SUITE_P(
    Files, LazySyncTest,
    ::testing::Values(LazySyncCase{"nominal: a new file renamed over the open one", false},
                      LazySyncCase{"robustness: the open file rewritten in place", true}));

}  // namespace
