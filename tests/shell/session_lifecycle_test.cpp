// The program around its journal session: a recovery log left by a killed
// run is told after the login, a second program on the same folder is
// refused, an end request (logout, SIGTERM) ends like Exit, and typing
// reaches the log as a draft.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/entry_codec.h"
#include "store/journal_session.h"
#include "store/recovery_log.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

namespace quillmere {
namespace {

const QDate kToday(2024, 3, 20);

class SessionLifecycleTest : public ShellTest {
protected:
    // The log a run killed after storing `entries` leaves.
    void leaveLog(const std::vector<std::pair<QDate, QString>>& entries) {
        RecoveryLog log(dataPath(QString::fromLatin1(kRecoveryFileName)));
        for (const auto& [date, text] : entries) {
            log.append(
                {RecoveryKind::kStored, dayFromDate(date), EncodeEntryContent(EntryRtf(text)), {}});
        }
    }
    bool logExists() const { return QFileInfo::exists(dataPath(kRecoveryFileName)); }
    std::vector<RecoveryRecord> logRecords() const {
        return DecodeRecoveryLog(data_.read(kRecoveryFileName)).records;
    }
};

TEST_F(SessionLifecycleTest, RecoveredDaysAreToldOnceAfterTheLoginAndWrittenAtTheEnd) {
    writeJournal({{QDate(2024, 3, 1), QStringLiteral("old")}});
    leaveLog({{kToday, QStringLiteral("typed before the crash")},
              {QDate(2024, 3, 19), QStringLiteral("yesterday")}});
    start(kToday);
    EXPECT_EQ(std::vector<QString>{RecoveredText(
                  {dayFromDate(QDate(2024, 3, 19)), dayFromDate(kToday)}, false)},
              messages_.texts(MessageKind::Information));
    EXPECT_EQ(QStringLiteral("Quillmere did not end normally last time. The entries of these days "
                             "were recovered: 19 March 2024, 20 March 2024."),
              messages_.texts(MessageKind::Information).at(0));
    EXPECT_EQ(QStringLiteral("typed before the crash"), main().Editor->toPlainText());
    quit();
    EXPECT_FALSE(logExists());
    EXPECT_EQ((std::vector<std::pair<QDate, QString>>{
                  {QDate(2024, 3, 1), QStringLiteral("old")},
                  {QDate(2024, 3, 19), QStringLiteral("yesterday")},
                  {kToday, QStringLiteral("typed before the crash")}}),
              storedEntries());
}

// A run killed while typing, with one record of its log damaged: the day
// whose text was being typed is named, the damage is told, and the log goes
// only after that at a normal end.
TEST_F(SessionLifecycleTest, TheDayBeingTypedAndDamageOfTheLogAreTold) {
    leaveLog({{QDate(2024, 3, 19), QStringLiteral("yesterday")},
              {QDate(2024, 3, 18), QStringLiteral("lost to damage")}});
    RecoveryLog(dataPath(QString::fromLatin1(kRecoveryFileName)))
        .append({RecoveryKind::kDraft,
                 dayFromDate(kToday),
                 EncodeEntryContent(EntryRtf(QStringLiteral("typed until the kill"))),
                 {}});
    QByteArray log = data_.read(kRecoveryFileName);
    const qsizetype second =
        kRecoveryHeaderSize +
        EncodeRecoveryRecord({RecoveryKind::kStored,
                              dayFromDate(QDate(2024, 3, 19)),
                              EncodeEntryContent(EntryRtf(QStringLiteral("yesterday"))),
                              {}})
            .size();
    log[second + 30] = static_cast<char>(log[second + 30] ^ 0x01);
    data_.write(kRecoveryFileName, log);
    start(kToday);
    EXPECT_EQ(std::vector<QString>{QStringLiteral(
                  "Quillmere did not end normally last time. The entries of these days were "
                  "recovered: 19 March 2024, 20 March 2024. The text being typed for 20 March "
                  "2024 is as it was a few seconds before the end. Part of "
                  "\"Journal.recovery\" was damaged and could not be read, so a change made then "
                  "may be missing; the file is kept until Quillmere ends normally.")},
              messages_.texts(MessageKind::Information));
    EXPECT_EQ(QStringLiteral("typed until the kill"), main().Editor->toPlainText());
    EXPECT_EQ(log, data_.read(kRecoveryFileName));
    quit();
    EXPECT_FALSE(logExists());
}

// Where the diary is kept is told once, right after the login, and only when
// the program could not use its own folder.
struct FallbackCase {
    const char* label;
    const char* fellBackFrom;
    bool withRecovery;
    int paragraphs;  // of the one information box; 0: no box
};

class DataFolderFallbackTest : public SessionLifecycleTest,
                               public ::testing::WithParamInterface<FallbackCase> {};

TEST_P(DataFolderFallbackTest, ToldOnceAfterTheLogin) {
    const FallbackCase& c = GetParam();
    dataFolderFallbackFrom_ = QString::fromLatin1(c.fellBackFrom);
    if (c.withRecovery) {
        leaveLog({{kToday, QStringLiteral("typed before the crash")}});
    }
    start(kToday);
    const std::vector<QString> told = messages_.texts(MessageKind::Information);
    if (c.paragraphs == 0) {
        EXPECT_TRUE(told.empty()) << c.label;
        return;
    }
    ASSERT_EQ(1u, told.size()) << c.label;
    const QStringList paragraphs = told[0].split(QStringLiteral("\n\n"));
    ASSERT_EQ(c.paragraphs, paragraphs.size()) << c.label;
    EXPECT_EQ(QStringLiteral("Quillmere cannot write to its own folder \"/opt/quillmere/bin\", so "
                             "your diary is kept in \"") +
                  data_.path() + QStringLiteral("\"."),
              paragraphs[0])
        << c.label;
    if (c.withRecovery) {
        EXPECT_EQ(RecoveredText({dayFromDate(kToday)}, false), paragraphs[1]) << c.label;
    }
    messages_.calls.clear();
    click(main().btnToday);
    EXPECT_TRUE(messages_.texts(MessageKind::Information).empty()) << "told once";
}

INSTANTIATE_TEST_SUITE_P(
    Starts, DataFolderFallbackTest,
    ::testing::Values(FallbackCase{"nominal: no fallback, nothing told", "", false, 0},
                      FallbackCase{"nominal: the folder is told", "/opt/quillmere/bin", false, 1},
                      FallbackCase{"nominal: told before what was recovered", "/opt/quillmere/bin",
                                   true, 2}));

TEST_F(SessionLifecycleTest, FailedLoginTellsNothingAndStillWritesTheRecoveredEntries) {
    writeSettings({QStringLiteral("pw")});
    leaveLog({{kToday, QStringLiteral("typed before the crash")}});
    createProgram(kToday);
    EXPECT_FALSE(startProgram(QString(), true));
    EXPECT_TRUE(messages_.texts(MessageKind::Information).empty())
        << "nothing shown before the login";
    program().destroyWindows();
    using Entries = std::vector<std::pair<QDate, QString>>;
    EXPECT_EQ((Entries{{kToday, QStringLiteral("typed before the crash")}}), storedEntries())
        << "recovered entries are written even when the login failed";
    EXPECT_FALSE(logExists());
}

TEST_F(SessionLifecycleTest, SecondProgramOnTheSameFolderIsRefusedAndTouchesNothing) {
    start(kToday);
    typeIntoEditor(QStringLiteral("first copy"));
    ProgramPaths paths{data_.path(), placementPath()};
    const QStringList before = QDir(data_.path()).entryList(QDir::Files | QDir::Hidden);
    {
        Program second(paths);
        EXPECT_TRUE(second.refused());
        EXPECT_EQ(nullptr, second.main());
        EXPECT_EQ(0, second.run());
    }
    EXPECT_EQ(std::vector<QString>{QString::fromLatin1(kAlreadyRunningMessage)},
              messages_.texts(MessageKind::Information));
    EXPECT_EQ(before, QDir(data_.path()).entryList(QDir::Files | QDir::Hidden));
    quit();
    EXPECT_EQ((std::vector<std::pair<QDate, QString>>{{kToday, QStringLiteral("first copy")}}),
              storedEntries());
}

TEST_F(SessionLifecycleTest, EndRequestEndsLikeExit) {
    start(kToday);
    typeIntoEditor(QStringLiteral("written at logout"));
    main().requestEnd();
    EXPECT_TRUE(main().closed());
    program().destroyWindows();
    EXPECT_EQ(
        (std::vector<std::pair<QDate, QString>>{{kToday, QStringLiteral("written at logout")}}),
        storedEntries());
    EXPECT_TRUE(QFileInfo::exists(dataPath(QStringLiteral("FontSettings.Ini"))));
    EXPECT_FALSE(logExists());
}

TEST_F(SessionLifecycleTest, EndRequestWaitsForAScanOrExportToLetGo) {
    start(kToday);
    main().setJournalCommandsEnabled(false);
    main().requestEnd();
    EXPECT_FALSE(main().closed()) << "closing now would pull the journal from under the walk";
    main().setJournalCommandsEnabled(true);
    EXPECT_TRUE(main().closed());
}

TEST_F(SessionLifecycleTest, TypingReachesTheLogAsADraftAfterAPause) {
    start(kToday);
    typeIntoEditor(QStringLiteral("draft text"));
    EXPECT_FALSE(logExists()) << "nothing is written while the user types";
    QElapsedTimer clock;
    clock.start();
    while (!logExists() && clock.elapsed() < 20000) {
        QTest::qWait(100);
    }
    main().session().waitForDrafts();
    const std::vector<RecoveryRecord> records = logRecords();
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(RecoveryKind::kDraft, records[0].kind);
    EXPECT_EQ(dayFromDate(kToday), records[0].day);
    EXPECT_EQ(QStringLiteral("draft text"), PlainTextOfRtf(DecodeEntryContent(records[0].content)));
    EXPECT_TRUE(main().Editor->isModified()) << "a draft is not a stored entry";
    click(main().btnNext);
    // The stored entry follows the draft, written by the same log writer.
    main().session().waitForDrafts();
    ASSERT_EQ(2u, logRecords().size());
    EXPECT_EQ(RecoveryKind::kStored, logRecords()[1].kind);
}

TEST_F(SessionLifecycleTest, ChangedJournalFileIsMergedAndTheDaysAreTold) {
    writeJournal({{QDate(2024, 3, 1), QStringLiteral("one")}});
    start(kToday);
    typeIntoEditor(QStringLiteral("mine"));
    click(main().btnNext);
    writeJournal({{QDate(2024, 3, 1), QStringLiteral("one")},
                  {QDate(2024, 3, 5), QStringLiteral("theirs")}});
    messages_.calls.clear();
    quit();
    EXPECT_EQ(std::vector<QString>{MergedDaysText({dayFromDate(QDate(2024, 3, 5))})},
              messages_.texts(MessageKind::Information));
    EXPECT_EQ((std::vector<std::pair<QDate, QString>>{{QDate(2024, 3, 1), QStringLiteral("one")},
                                                      {QDate(2024, 3, 5), QStringLiteral("theirs")},
                                                      {kToday, QStringLiteral("mine")}}),
              storedEntries());
}

}  // namespace
}  // namespace quillmere
