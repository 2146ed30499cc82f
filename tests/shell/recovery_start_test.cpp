// The program when a start or an end meets trouble: an end request while the
// login shows "Invalid Password.", a damaged journal whose readable days are
// offered, recovered settings that the settings window shows and saves, a day
// both this run and a sync tool changed, and a diary left in a program folder
// that can no longer be written.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"
#include "shell/entry_merge.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/journal_salvage.h"
#include "store/journal_session.h"
#include "store/recovery_log.h"

#include "failing_files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace quillmere {
namespace {

const QDate kToday(2024, 3, 20);
using Entries = std::vector<std::pair<QDate, QString>>;

class RecoveryStartTest : public ShellTest {
protected:
    bool exists(const QString& name) const { return QFile::exists(dataPath(name)); }
};

// --- An end request during the login ----------------------------------------------------

TEST_F(RecoveryStartTest, EndRequestWhileInvalidPasswordIsShownEndsLikeExit) {
    writeSettings({QStringLiteral("pw")});
    const QByteArray settingsBefore = data_.read(QStringLiteral("Settings.cds"));
    createProgram(kToday);
    ScopedMessageHook realBoxes{MessageHook()};  // the real "Invalid Password." box
    TfrmLogin* login = program().login();
    QString shown;
    QTimer signalArrives;  // what SIGTERM does while the box is up
    signalArrives.setInterval(20);
    QObject::connect(&signalArrives, &QTimer::timeout, login, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && shown.isEmpty()) {
            shown = box->text();
            main().requestEnd();
        }
    });
    signalArrives.start();
    bool loginOpenAfterTheRequest = true;
    bool passed = true;
    whileModal(
        login, [&] { passed = program().start(); },
        [&] {
            login->edtPassword->setText(QStringLiteral("wrong"));
            click(login->btnLogin);
            loginOpenAfterTheRequest = login->isVisible();
        });
    EXPECT_EQ(QStringLiteral("Invalid Password."), shown);
    EXPECT_FALSE(loginOpenAfterTheRequest) << "the login closes with the box";
    EXPECT_FALSE(passed);
    EXPECT_TRUE(main().closed());
    program().destroyWindows();
    EXPECT_EQ(settingsBefore, data_.read(QStringLiteral("Settings.cds")));
    EXPECT_FALSE(exists(QStringLiteral("Journal.cds")));
    EXPECT_FALSE(exists(QStringLiteral("FontSettings.Ini"))) << "as after the login's Exit";
}

// --- A damaged journal ----------------------------------------------------------------------

class DamagedJournalTest : public RecoveryStartTest {
protected:
    // Thirty days of March, then the file cut in half.
    void writeDamagedJournal() {
        Entries entries;
        for (int d = 1; d <= 30; ++d) {
            entries.emplace_back(QDate(2024, 3, d), QStringLiteral("day %1 ").arg(d) +
                                                        QString(d * 5, QLatin1Char('x')));
        }
        writeJournal(entries);
        const QByteArray whole = data_.read(QStringLiteral("Journal.cds"));
        damaged_ = whole.left(whole.size() / 2);
        data_.write(QStringLiteral("Journal.cds"), damaged_);
    }
    QString openErrorText() const {
        const QString path = dataPath(QStringLiteral("Journal.cds"));
        QString tableMessage;
        try {
            JournalTable().OpenJournal(path);
        } catch (const Error& e) {
            tableMessage = e.message();
        }
        return QStringLiteral(
                   "Cannot read the diary \"%1\": %2\n\nIts intact days can be rescued into a new "
                   "file with the journal tool: quillmere-journal salvage \"%1\" Rescued.cds")
            .arg(path, tableMessage);
    }
    QString offerText() const {
        const SalvageResult salvaged = salvageJournalPacket(damaged_);
        int lost = 0;
        for (const SalvageLoss& loss : salvaged.losses) {
            lost += loss.storedDate ? 1 : 0;
        }
        return RescueOfferText(static_cast<int>(salvaged.entries.size()), lost, 0);
    }
    QStringList damagedCopies() const {
        return QDir(data_.path()).entryList({QStringLiteral("Journal.damaged-*")}, QDir::Files);
    }

    QByteArray damaged_;
};

TEST_F(DamagedJournalTest, RescuedDaysAreShownAndWrittenWhenKept) {
    writeDamagedJournal();
    // The error, then the offer (Open), then at the end Keep.
    messages_.answers = {false, true, true};
    createProgram(QDate(2024, 3, 2));
    ASSERT_GE(messages_.calls.size(), 2u);
    EXPECT_EQ(MessageKind::Error, messages_.calls[0].kind);
    EXPECT_EQ(openErrorText(), messages_.calls[0].text);
    EXPECT_EQ(MessageKind::Confirmation, messages_.calls[1].kind);
    EXPECT_EQ(offerText(), messages_.calls[1].text);
    ASSERT_TRUE(startProgram());
    EXPECT_TRUE(main().Editor->toPlainText().startsWith(QStringLiteral("day 2 ")));
    click(main().btnNext);
    EXPECT_TRUE(main().Editor->toPlainText().startsWith(QStringLiteral("day 3 ")))
        << "no closed-table error: the rescued diary is open";
    typeIntoEditor(QStringLiteral("added "));
    EXPECT_EQ(damaged_, data_.read(QStringLiteral("Journal.cds")));
    messages_.calls.clear();
    quit();

    ASSERT_EQ(2u, messages_.calls.size());
    EXPECT_EQ(KeepRescueText(), messages_.calls[0].text);
    ASSERT_EQ(1, damagedCopies().size());
    EXPECT_EQ(RescueKeptText(damagedCopies()[0]), messages_.calls[1].text);
    EXPECT_EQ(damaged_, data_.read(damagedCopies()[0]));
    const Entries stored = storedEntries();
    EXPECT_EQ(salvageJournalPacket(damaged_).entries.size(), stored.size());
    EXPECT_TRUE(stored.at(2).second.startsWith(QStringLiteral("added day 3 ")));
    EXPECT_FALSE(exists(QString::fromLatin1(kRecoveryFileName)));
}

TEST_F(DamagedJournalTest, NotKeptThisRunsTextComesBackOverTheRescueNextTime) {
    writeDamagedJournal();
    messages_.answers = {false, true, false};  // error, Open, Not Now
    createProgram(QDate(2024, 3, 2));
    ASSERT_TRUE(startProgram());
    typeIntoEditor(QStringLiteral("kept in the log "));
    quit();
    EXPECT_EQ(damaged_, data_.read(QStringLiteral("Journal.cds")));
    EXPECT_TRUE(damagedCopies().isEmpty());
    ASSERT_TRUE(exists(QString::fromLatin1(kRecoveryFileName)));

    messages_.calls.clear();
    messages_.answers = {false, true};  // error, Open
    createProgram(QDate(2024, 3, 2));
    ASSERT_GE(messages_.calls.size(), 2u);
    EXPECT_TRUE(messages_.calls[1].text.contains(
        QStringLiteral("The text of 1 day typed in earlier runs and kept in \"Journal.recovery\" "
                       "is put over them.")))
        << messages_.calls[1].text.toStdString();
    ASSERT_TRUE(startProgram());
    EXPECT_TRUE(main().Editor->toPlainText().startsWith(QStringLiteral("kept in the log day 2 ")));
    EXPECT_EQ(std::vector<QString>{RecoveredText({dayFromDate(QDate(2024, 3, 2))}, false)},
              messages_.texts(MessageKind::Information));
}

TEST_F(DamagedJournalTest, QuitAtTheOfferEndsBeforeTheLoginAndChangesNothing) {
    writeDamagedJournal();
    messages_.answers = {false, false};  // error, Quit
    createProgram(kToday);
    EXPECT_TRUE(program().ended());
    EXPECT_FALSE(program().start());
    program().destroyWindows();
    EXPECT_EQ(damaged_, data_.read(QStringLiteral("Journal.cds")));
    for (const char* untouched :
         {"Settings.cds", "FontSettings.Ini", "Journal.recovery", "Journal.cds.bak"}) {
        EXPECT_FALSE(exists(QString::fromLatin1(untouched))) << untouched;
    }
    EXPECT_TRUE(damagedCopies().isEmpty());
}

// --- Recovered settings -------------------------------------------------------------------

TEST_F(RecoveryStartTest, RecoveredSettingsAreWhatTheSettingsWindowShowsAndSaves) {
    writeSettings({QString(), QStringLiteral("Arial"), 200, 0});
    RecoveryRecord record;
    record.kind = RecoveryKind::kSettings;
    record.settings = {true, QString(), QStringLiteral("Arial"), 30, 255};
    RecoveryLog(dataPath(QString::fromLatin1(kRecoveryFileName))).append(record);
    start(kToday);
    TfrmSettings* settings = program().settings();
    EXPECT_EQ(30, settings->SpinEdit1->value());
    whileModal(
        settings, [&] { click(main().btnSettings); }, [&] { click(settings->btnSave); });
    quit();
    ASSERT_TRUE(storedSettings().has_value());
    EXPECT_EQ(30, storedSettings()->fontSize);
    EXPECT_EQ(255, storedSettings()->fontColor);
}

// --- A day both sides changed ----------------------------------------------------------------

TEST_F(RecoveryStartTest, DayChangedHereAndBySyncKeepsBothTextsAndIsNamed) {
    writeJournal({{kToday, QStringLiteral("before")}, {QDate(2024, 3, 1), QStringLiteral("one")}});
    start(kToday);
    main().Editor->moveCursor(QTextCursor::End);
    typeIntoEditor(QStringLiteral(", mine"));
    click(main().btnNext);
    writeJournal(
        {{kToday, QStringLiteral("before, theirs")}, {QDate(2024, 3, 1), QStringLiteral("one")}});
    messages_.calls.clear();
    quit();
    EXPECT_EQ(std::vector<QString>{MergedDaysText({}, {dayFromDate(kToday)})},
              messages_.texts(MessageKind::Information));
    EXPECT_TRUE(messages_.texts(MessageKind::Information)
                    .at(0)
                    .contains(QStringLiteral(
                        "below the line \"--- Text of this day from the changed file ---\": 20 "
                        "March 2024.")));
    EXPECT_EQ((Entries{{QDate(2024, 3, 1), QStringLiteral("one")},
                       {kToday, QStringLiteral("before, mine\n--- Text of this day from the "
                                               "changed file ---\nbefore, theirs")}}),
              storedEntries());
}

TEST(EntryMerge, TheOtherTextKeepsItsFormattingAndPictures) {
    QTextDocument theirs;
    QTextCursor cursor(&theirs);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("bold"), bold);
    cursor.insertBlock();
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    rtf::insertPicture(cursor, picture);

    QTextDocument merged;
    rtf::readRtf(MergeEntryRtf(EntryRtf(QStringLiteral("ours")), rtf::writeRtf(theirs)), merged);
    ASSERT_EQ(4, merged.blockCount());
    EXPECT_EQ(QStringLiteral("ours"), merged.findBlockByNumber(0).text());
    EXPECT_EQ(ChangedFileMarkerLine(), merged.findBlockByNumber(1).text());
    const QTextCharFormat ourFormat = merged.findBlockByNumber(0).begin().fragment().charFormat();
    const QTextCharFormat markerFormat =
        merged.findBlockByNumber(1).begin().fragment().charFormat();
    EXPECT_EQ(QFont::Bold, markerFormat.fontWeight());
    EXPECT_EQ(ourFormat.fontPointSize(), markerFormat.fontPointSize()) << "the letters of ours";
    EXPECT_EQ(ourFormat.font().family(), markerFormat.font().family());
    const QTextBlock boldBlock = merged.findBlockByNumber(2);
    EXPECT_EQ(QStringLiteral("bold"), boldBlock.text());
    EXPECT_EQ(QFont::Bold, boldBlock.begin().fragment().charFormat().fontWeight());
    const QTextCharFormat pictureFormat =
        merged.findBlockByNumber(3).begin().fragment().charFormat();
    ASSERT_TRUE(rtf::isPicture(pictureFormat));
    EXPECT_EQ(picture.size(), rtf::pictureImage(merged, pictureFormat.toImageFormat()).size());
}

// --- A diary in a program folder that can no longer be written --------------------------------

TEST_F(RecoveryStartTest, DiaryBesideTheProgramIsCopiedOnceAndShown) {
    testsupport::TempFolder own;
    {
        JournalTable table;
        table.OpenJournal(own.file(QStringLiteral("Journal.cds")));
        table.StoreEntry(dayFromDate(kToday), EntryRtf(QStringLiteral("written years ago")));
        table.close();
    }
    const QByteArray ownJournal = own.read(QStringLiteral("Journal.cds"));
    dataFolderFallbackFrom_ = own.path();
    start(kToday);
    EXPECT_EQ(std::vector<QString>{DataFolderFallbackText(own.path(), data_.path(), true)},
              messages_.texts(MessageKind::Information));
    EXPECT_EQ(QStringLiteral("written years ago"), main().Editor->toPlainText());
    quit();
    EXPECT_EQ(ownJournal, data_.read(QStringLiteral("Journal.cds")));
    EXPECT_EQ(ownJournal, own.read(QStringLiteral("Journal.cds"))) << "left as it is";

    messages_.calls.clear();
    start(kToday);
    EXPECT_EQ(std::vector<QString>{DataFolderFallbackText(own.path(), data_.path(), false)},
              messages_.texts(MessageKind::Information))
        << "copied once";
}

TEST_F(RecoveryStartTest, DiaryThatCannotBeCopiedEndsTheProgramBeforeItSplits) {
    testsupport::TempFolder own;
    own.write(QStringLiteral("Journal.cds"), "the old diary");
    dataFolderFallbackFrom_ = own.path();
    testsupport::FailingFiles failing({QStringLiteral("Journal.cds")});
    ScopedFileAccess seam(&failing);
    createProgram(kToday);
    EXPECT_TRUE(program().ended());
    const std::vector<QString> errors = messages_.texts(MessageKind::Error);
    ASSERT_EQ(1u, errors.size());
    EXPECT_TRUE(errors[0].startsWith(failing.messageFor(dataPath(QStringLiteral("Journal.cds")))))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[0].endsWith(QStringLiteral("so that the diary is not split in two.")));
    EXPECT_EQ(0, program().run());
    program().destroyWindows();
    EXPECT_FALSE(exists(QStringLiteral("Journal.cds")));
}

}  // namespace
}  // namespace quillmere
