// Closing with text that could not be stored (the journal could not be read):
// the error is shown as before, then the user is offered to save the text as a
// rich text file, and the program ends whatever the answer.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/entry_files.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/recovery_log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillmere {
namespace {

const QString kClosedTable =
    QStringLiteral("tblJournal: Cannot perform this operation on a closed dataset.");
const QString kOffer = QStringLiteral(
    "The text of 20 March 2024 could not be stored in the diary. Save it as a rich text file "
    "before Quillmere ends?");

struct RescueCase {
    const char* label;
    bool acceptOffer;
    // What the save dialog returns each time it is shown: a file name
    // relative to the rescue folder, or nothing (Cancel).
    std::vector<std::optional<QString>> dialogAnswers;
    int dialogsShown;
    std::vector<QString> errors;  // error boxes, "%1" is the rescue folder
    std::optional<QString> savedFile;
};

class UnstoredTextTest : public ShellTest, public ::testing::WithParamInterface<RescueCase> {};

TEST_P(UnstoredTextTest, ClosedJournalShowsTheErrorThenOffersToSaveTheText) {
    const RescueCase& c = GetParam();
    testsupport::TempFolder rescue;
    data_.write(QStringLiteral("Journal.cds"), "damaged");
    createProgram(QDate(2024, 3, 20));
    ASSERT_TRUE(startProgram());
    messages_.calls.clear();
    typeIntoEditor(QStringLiteral("words worth keeping"));

    int dialogsShown = 0;
    main().EntryFiles->setSaveDialog([&](QWidget*, const QString&) -> std::optional<QString> {
        EXPECT_TRUE(main().isVisible()) << "the dialog comes while the window is still there";
        if (dialogsShown >= int(c.dialogAnswers.size())) {
            ADD_FAILURE() << "the dialog came once more than expected";
            return std::nullopt;
        }
        const std::optional<QString> answer = c.dialogAnswers[std::size_t(dialogsShown++)];
        if (!answer) {
            return std::nullopt;
        }
        return QDir(rescue.path()).filePath(*answer);
    });
    // The recorder answers every box in turn: the error first, then the offer.
    messages_.answers = {false, c.acceptOffer};
    click(main().btnExit);

    EXPECT_TRUE(main().closed()) << c.label;
    EXPECT_EQ(c.dialogsShown, dialogsShown) << c.label;
    // The design's error comes first, then the offer, then what the save said.
    ASSERT_GE(messages_.calls.size(), 2u) << c.label;
    EXPECT_EQ(MessageKind::Unhandled, messages_.calls[0].kind);
    EXPECT_EQ(kClosedTable, messages_.calls[0].text);
    EXPECT_EQ(MessageKind::Confirmation, messages_.calls[1].kind);
    EXPECT_EQ(kOffer, messages_.calls[1].text);
    std::vector<QString> expectedErrors;
    for (const QString& error : c.errors) {
        expectedErrors.push_back(error.arg(rescue.path()));
    }
    EXPECT_EQ(expectedErrors, messages_.texts(MessageKind::Error)) << c.label;

    if (c.savedFile) {
        const QString saved = QDir(rescue.path()).filePath(*c.savedFile);
        ASSERT_TRUE(QFileInfo::exists(saved)) << c.label;
        EXPECT_TRUE(rescue.read(*c.savedFile).startsWith("{\\rtf1")) << c.label;
        EXPECT_EQ(QStringLiteral("words worth keeping"), PlainTextOfRtf(rescue.read(*c.savedFile)))
            << c.label;
    }
    EXPECT_EQ(c.savedFile ? QStringList{*c.savedFile} : QStringList(),
              QDir(rescue.path()).entryList(QDir::Files))
        << c.label;
    program().destroyWindows();
    EXPECT_EQ(QByteArray("damaged"), data_.read(QStringLiteral("Journal.cds")))
        << "the unreadable journal is left as it was";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UnstoredTextTest,
    ::testing::Values(
        RescueCase{"nominal: saved, the extension added",
                   true,
                   {QStringLiteral("kept")},
                   1,
                   {},
                   QStringLiteral("kept.rtf")},
        RescueCase{"nominal: offer declined", false, {}, 0, {}, std::nullopt},
        RescueCase{"nominal: cancelled in the dialog", true, {std::nullopt}, 1, {}, std::nullopt},
        RescueCase{"robustness: a failed save offers the dialog again",
                   true,
                   {QStringLiteral("missing/kept.rtf"), QStringLiteral("kept.rtf")},
                   2,
                   {QStringLiteral("Cannot create file %1/missing/kept.rtf")},
                   QStringLiteral("kept.rtf")},
        RescueCase{"robustness: a failed save, then cancelled",
                   true,
                   {QStringLiteral("missing/kept.rtf"), std::nullopt},
                   2,
                   {QStringLiteral("Cannot create file %1/missing/kept.rtf")},
                   std::nullopt}));

TEST_F(UnstoredTextTest, NothingIsOfferedWhenTheEntryWasStoredOrHasNoText) {
    // A readable journal: the text is stored and nothing is asked.
    createProgram(QDate(2024, 3, 20));
    ASSERT_TRUE(startProgram());
    messages_.calls.clear();
    typeIntoEditor(QStringLiteral("stored normally"));
    click(main().btnExit);
    EXPECT_TRUE(messages_.calls.empty());
    program().destroyWindows();
    program_.reset();

    // A closed journal and an editor without text: only the error.
    data_.write(QStringLiteral("Journal.cds"), "damaged");
    QFile::remove(dataPath(QStringLiteral("Journal.recovery")));
    createProgram(QDate(2024, 3, 20));
    ASSERT_TRUE(startProgram());
    messages_.calls.clear();
    typeIntoEditor(QStringLiteral("x"));
    main().Editor->clearAll();
    main().Editor->setModified(true);
    click(main().btnExit);
    EXPECT_EQ(std::vector<QString>{kClosedTable}, messages_.texts(MessageKind::Unhandled));
    EXPECT_TRUE(messages_.texts(MessageKind::Confirmation).empty());
}

TEST_F(UnstoredTextTest, AnEndRequestedByTheDesktopKeepsTheTextInTheRecoveryLog) {
    data_.write(QStringLiteral("Journal.cds"), "damaged");
    createProgram(QDate(2024, 3, 20));
    ASSERT_TRUE(startProgram());
    messages_.calls.clear();
    typeIntoEditor(QStringLiteral("typed before the logout"));
    main().requestEnd();
    EXPECT_TRUE(main().closed());
    EXPECT_TRUE(messages_.texts(MessageKind::Confirmation).empty()) << "nobody may answer";
    program().destroyWindows();

    const RecoveryContents log =
        RecoveryLog(dataPath(QString::fromLatin1(kRecoveryFileName))).recover();
    ASSERT_FALSE(log.records.empty());
    const RecoveryRecord& last = log.records.back();
    EXPECT_EQ(RecoveryKind::kDraft, last.kind);
    EXPECT_EQ(dayFromDate(QDate(2024, 3, 20)), last.day);
    EXPECT_EQ(QStringLiteral("typed before the logout"),
              PlainTextOfRtf(DecodeEntryContent(last.content)));
}

}  // namespace
}  // namespace quillmere
