// The Export button's whole run with a scripted main window: the order of its
// steps, the worker thread's one synchronised call, the progress window's bar
// and counter, cancelling, the pause and the closing of the window.
#include "export/exporter.h"

#include "controls/progress_cyl.h"
#include "controls/rb_button.h"
#include "export/export_host.h"
#include "export/progress_window.h"
#include "export_test_journal.h"
#include "failing_files.h"
#include "store/errors.h"
#include "test_support.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace {

using exporttest::filesIn;
using exporttest::sampleRtf;
using exporttest::TestJournal;
using quillmere::TExporter;
using quillmere::TfrmProgress;
using testsupport::TempFolder;

class FakeHost : public quillmere::ExportHost {
public:
    explicit FakeHost(quillmere::JournalTable& table) : table_(table) {}

    quillmere::JournalTable& journal() override {
        log << "journal";
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        if (onJournal) {
            onJournal();
        }
        return table_;
    }
    void saveIfModified() override {
        log << "save";
        if (!saveError.isEmpty()) {
            throw quillmere::Error(saveError);
        }
    }
    bool confirm(const QString& question) override {
        log << "confirm";
        questions << question;
        if (onConfirm) {
            onConfirm();
        }
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    quillmere::OverwriteAnswer askOverwrite(const QString& question,
                                            QWidget* keepVisible) override {
        if (overwriteAnswers.empty()) {
            return ExportHost::askOverwrite(question, keepVisible);
        }
        log << "ask";
        questions << question;
        keptVisible << keepVisible;
        const quillmere::OverwriteAnswer answer = overwriteAnswers.front();
        overwriteAnswers.pop_front();
        return answer;
    }
    void showError(const QString& message) override {
        log << "error";
        errors << message;
        boxOverProgress = boxOverProgress || (progress != nullptr && progress->isVisible());
    }
    quillmere::FailureChoice askAfterFailure(const QString& message,
                                             QWidget* keepVisible) override {
        log << "failure";
        failures << message;
        keptVisible << keepVisible;
        progressShownAtFailure << (progress != nullptr && progress->isVisible());
        if (failureChoices.empty()) {
            return quillmere::FailureChoice::kContinue;
        }
        const quillmere::FailureChoice choice = failureChoices.front();
        failureChoices.pop_front();
        return choice;
    }
    void showInformation(const QString& message) override {
        log << "information";
        informations << message;
        boxOverProgress = boxOverProgress || (progress != nullptr && progress->isVisible());
    }
    std::optional<QString> chooseFolder() override {
        log << "choose";
        return folder;
    }
    void setJournalCommandsEnabled(bool enabled) override {
        log << (enabled ? "enable" : "disable");
        commandsEnabled = enabled;
    }
    QWidget* ownerWindow() override { return nullptr; }

    std::optional<QString> folder;
    QString saveError;
    std::deque<bool> answers;
    // Scripted answers to the overwrite question with its five buttons; when
    // empty the question goes to confirm (Yes and No).
    std::deque<quillmere::OverwriteAnswer> overwriteAnswers;
    QList<QWidget*> keptVisible;
    // Answers to the box of a failed entry; Continue when empty.
    std::deque<quillmere::FailureChoice> failureChoices;
    QStringList failures;
    QList<bool> progressShownAtFailure;
    QStringList informations;
    // The progress window; an error or information box shown while it is
    // visible sets boxOverProgress (such a box hides behind it).
    QWidget* progress = nullptr;
    bool boxOverProgress = false;
    std::function<void()> onJournal;
    std::function<void()> onConfirm;
    QStringList log;
    QStringList questions;
    QStringList errors;
    bool commandsEnabled = true;
    bool onGuiThread = true;

private:
    quillmere::JournalTable& table_;
};

class ExporterTest : public ::testing::Test {
protected:
    ExporterTest() : journal_(data_.path()), host_(journal_.table()), exporter_(host_, window_) {
        host_.folder = out_.path();
        host_.progress = &window_;
        exporter_.setPause([this](int ms) { pauses_ << ms; });
    }
    ~ExporterTest() override { window_.hide(); }

    void addEntries(int count) {
        for (int i = 1; i <= count; ++i) {
            journal_.store(QDate(2010, 9, i), sampleRtf(QString::number(i)));
        }
    }

    // Clicks Export and lets the event loop run until the export has ended.
    void exportAll() {
        bool finished = false;
        QMetaObject::Connection c =
            QObject::connect(&exporter_, &TExporter::exportFinished, [&] { finished = true; });
        exporter_.btnExportClick();
        EXPECT_TRUE(QTest::qWaitFor([&] { return finished; }, 20000)) << "export did not end";
        QObject::disconnect(c);
    }

    TempFolder data_;
    TempFolder out_;
    TestJournal journal_;
    FakeHost host_;
    TfrmProgress window_;
    TExporter exporter_;
    QList<int> pauses_;
};

TEST_F(ExporterTest, ExportsEveryEntryAndClosesAfterThePause) {
    addEntries(3);
    exportAll();

    EXPECT_EQ(QStringList({"2010-09-01.rtf", "2010-09-02.rtf", "2010-09-03.rtf"}),
              filesIn(out_.path()));
    EXPECT_EQ(sampleRtf("2"), out_.read("2010-09-02.rtf"));
    EXPECT_EQ("3", window_.lblCount->text().toStdString());
    EXPECT_EQ(3, window_.xipZip->max());
    EXPECT_EQ(3, window_.xipZip->position());
    EXPECT_EQ(100, window_.xipZip->percent());
    EXPECT_EQ("Exporting...", window_.Label1->text().toStdString());
    EXPECT_EQ(QList<int>({1000}), pauses_);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_FALSE(exporter_.isExporting());
    EXPECT_TRUE(host_.commandsEnabled);
    EXPECT_EQ(QStringList({"save", "choose", "journal", "disable", "journal", "enable"}),
              host_.log);
}

TEST_F(ExporterTest, ClickReturnsBeforeTheLoopAndTheThreadHandsItToTheGuiThread) {
    addEntries(2);
    bool workerWaiting = false;
    host_.onJournal = [&] {
        if (exporter_.isExporting()) {  // the loop's own look at the table
            workerWaiting = exporter_.hasWorker();
        }
    };
    bool finished = false;
    QObject::connect(&exporter_, &TExporter::exportFinished, [&] { finished = true; });

    exporter_.btnExportClick();
    // The click has shown the window and started the thread, nothing more.
    EXPECT_TRUE(window_.isVisible());
    EXPECT_TRUE(exporter_.isExporting());
    EXPECT_FALSE(host_.commandsEnabled);
    EXPECT_TRUE(filesIn(out_.path()).isEmpty());
    EXPECT_EQ("0", window_.lblCount->text().toStdString());

    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 20000));
    EXPECT_TRUE(host_.onGuiThread);
    EXPECT_TRUE(workerWaiting);
    EXPECT_EQ(2, filesIn(out_.path()).size());
    // The thread ends and deletes itself.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !exporter_.hasWorker(); }, 20000));
}

TEST_F(ExporterTest, CancelStopsAfterTheCurrentEntryWithoutPause) {
    addEntries(4);
    int looks = 0;
    host_.onJournal = [&] {
        if (++looks == 2) {  // the loop starts: the user clicks Cancel at once
            QMetaObject::invokeMethod(window_.btnCancel, &quillmere::TRbButton::Click,
                                      Qt::QueuedConnection);
        }
    };
    exportAll();

    EXPECT_TRUE(exporter_.ExportCancelled());
    EXPECT_EQ(QStringList({"2010-09-01.rtf"}), filesIn(out_.path()));
    EXPECT_EQ(1, window_.xipZip->position());                // the bar advanced for it
    EXPECT_EQ("0", window_.lblCount->text().toStdString());  // the counter did not
    EXPECT_EQ("Finalizing...", window_.Label1->text().toStdString());
    EXPECT_TRUE(pauses_.isEmpty());
    EXPECT_FALSE(window_.isVisible());
    EXPECT_TRUE(host_.commandsEnabled);
    EXPECT_EQ(quillmere::ExportEnd::kCancelled, exporter_.lastSummary().end);

    // The next export starts afresh.
    host_.onJournal = nullptr;
    host_.answers = {false};
    exportAll();
    EXPECT_FALSE(exporter_.ExportCancelled());
    EXPECT_EQ("3", window_.lblCount->text().toStdString()) << "files written; one was kept";
    EXPECT_EQ("Exporting...", window_.Label1->text().toStdString());
    EXPECT_EQ(4, filesIn(out_.path()).size());
}

TEST_F(ExporterTest, EmptyJournalShowsZeroAndClosesAfterThePause) {
    exportAll();
    EXPECT_EQ("0", window_.lblCount->text().toStdString());
    EXPECT_EQ(0, window_.xipZip->position());
    EXPECT_EQ(1, window_.xipZip->max());  // never 0
    EXPECT_EQ(QList<int>({1000}), pauses_);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_TRUE(filesIn(out_.path()).isEmpty());
}

TEST_F(ExporterTest, ExistingFileBringsTheConfirmBox) {
    addEntries(2);
    out_.write("2010-09-02.rtf", "keep");
    host_.answers = {false};
    exportAll();

    const QString path = out_.path() + QDir::separator() + "2010-09-02.rtf";
    EXPECT_EQ(QStringList({"Overwrite existing file " + path + "?"}), host_.questions);
    EXPECT_EQ("keep", out_.read("2010-09-02.rtf"));
    // "Files exported:" counts the one file written, and the end says so.
    EXPECT_EQ("1", window_.lblCount->text().toStdString());
    EXPECT_EQ(QStringList({"Exported 1 of 2 entries to \"" + out_.path() +
                           "\".\n1 existing file was kept."}),
              host_.informations);
    EXPECT_FALSE(host_.boxOverProgress);
}

// Five entries, all of them with a file already in the folder, answered by
// the first answers; the rest of the answers are never asked for.
struct OverwriteCase {
    const char* name;
    std::deque<quillmere::OverwriteAnswer> answers;
    int questions;         // how many times the question was asked
    QList<bool> replaced;  // per day: the file holds the new entry
    int written;           // the counter at the end: files written
    bool cancelled;
};

void PrintTo(const OverwriteCase& c, std::ostream* os) {
    *os << c.name;
}

class ExporterOverwriteTest : public ExporterTest,
                              public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(ExporterOverwriteTest, AnswersForOneFileForAllFilesOrTheWholeExport) {
    const OverwriteCase& c = GetParam();
    addEntries(5);
    for (int i = 1; i <= 5; ++i) {
        out_.write(QStringLiteral("2010-09-0%1.rtf").arg(i), "old");
    }
    host_.overwriteAnswers = c.answers;
    exportAll();

    EXPECT_EQ(c.questions, host_.questions.size());
    for (QWidget* kept : host_.keptVisible) {
        EXPECT_EQ(&window_, kept) << "the question must keep the progress window in view";
    }
    for (int i = 1; i <= 5; ++i) {
        const QString name = QStringLiteral("2010-09-0%1.rtf").arg(i);
        const QByteArray expected =
            c.replaced[i - 1] ? sampleRtf(QString::number(i)) : QByteArray("old");
        EXPECT_EQ(expected, out_.read(name)) << name.toStdString();
    }
    EXPECT_EQ(QString::number(c.written), window_.lblCount->text());
    EXPECT_EQ(c.cancelled, exporter_.ExportCancelled());
    EXPECT_FALSE(window_.isVisible());
    EXPECT_TRUE(host_.commandsEnabled);
}

using A = quillmere::OverwriteAnswer;
INSTANTIATE_TEST_SUITE_P(
    Answers, ExporterOverwriteTest,
    ::testing::Values(
        OverwriteCase{
            "YesThenYesToAll", {A::Yes, A::YesToAll}, 2, {true, true, true, true, true}, 5, false},
        OverwriteCase{
            "NoThenNoToAll", {A::No, A::NoToAll}, 2, {false, false, false, false, false}, 0, false},
        OverwriteCase{"NoToAllAfterAYes",
                      {A::Yes, A::No, A::NoToAll},
                      3,
                      {true, false, false, false, false},
                      1,
                      false},
        OverwriteCase{"CancelAtTheThirdEndsTheExport",
                      {A::Yes, A::No, A::Cancel},
                      3,
                      {true, false, false, false, false},
                      1,
                      true},
        OverwriteCase{
            "CancelAtOnce", {A::Cancel}, 1, {false, false, false, false, false}, 0, true}),
    [](const ::testing::TestParamInfo<OverwriteCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(ExporterTest, OverwriteYesToAllIsForgottenWhenTheNextExportStarts) {
    addEntries(2);
    out_.write("2010-09-01.rtf", "old");
    out_.write("2010-09-02.rtf", "old");
    host_.overwriteAnswers = {A::YesToAll};
    exportAll();
    EXPECT_EQ(1, host_.questions.size());

    host_.overwriteAnswers = {A::No, A::No};
    exportAll();
    EXPECT_EQ(3, host_.questions.size());  // asked again for both files
}

// Every failed entry is named by its day, as the date header names it, in a
// box kept clear of the progress window; going on, the export goes on.
TEST_F(ExporterTest, FailedFilesGoToTheErrorBoxAndTheExportGoesOn) {
    addEntries(2);
    journal_.insertRaw(QDate(2010, 9, 3), testsupport::hexBytes("78 01 FF FF"));
    auto refusing = testsupport::FailingFiles::everyFile(QStringLiteral("Permission denied"));
    quillmere::ScopedFileAccess scoped(&refusing);
    exportAll();

    const QString sep = QDir::separator();
    EXPECT_EQ(
        QStringList(
            {"01 September 2010: " + refusing.messageFor(out_.path() + sep + "2010-09-01.rtf"),
             "02 September 2010: " + refusing.messageFor(out_.path() + sep + "2010-09-02.rtf"),
             "03 September 2010: data error"}),
        host_.failures);
    EXPECT_EQ((QList<QWidget*>{&window_, &window_, &window_}), host_.keptVisible);
    EXPECT_EQ("0", window_.lblCount->text().toStdString());
    EXPECT_EQ(QStringList({"Exported 0 of 3 entries to \"" + out_.path() +
                           "\".\n3 entries could not be exported: 01 September 2010, "
                           "02 September 2010, 03 September 2010."}),
              host_.informations);
    EXPECT_TRUE(host_.errors.isEmpty());
    EXPECT_FALSE(window_.isVisible());
}

TEST_F(ExporterTest, ClosingTheWindowDoesNotCancel) {
    addEntries(3);
    out_.write("2010-09-01.rtf", "old");
    host_.onConfirm = [&] { window_.close(); };  // the user closes it meanwhile
    exportAll();

    EXPECT_FALSE(exporter_.ExportCancelled());
    EXPECT_EQ(3, filesIn(out_.path()).size());
    EXPECT_EQ("3", window_.lblCount->text().toStdString());
    EXPECT_EQ(QList<int>({1000}), pauses_);
}

TEST_F(ExporterTest, SecondClickDuringAnExportIsIgnored) {
    addEntries(2);
    int looks = 0;
    host_.onJournal = [&] {
        if (++looks == 2) {
            exporter_.btnExportClick();
        }
    };
    exportAll();
    EXPECT_EQ(1, host_.log.count("choose"));
    EXPECT_EQ(1, host_.log.count("disable"));
    EXPECT_EQ(2, filesIn(out_.path()).size());
}

// The program ending right after the click, before the worker's call was
// served, must neither hang nor write anything.
TEST_F(ExporterTest, ExporterGoneBeforeTheCallIsServedReleasesTheWorker) {
    addEntries(2);
    auto early = std::make_unique<TExporter>(host_, window_);
    early->setPause([](int) {});
    early->btnExportClick();
    ASSERT_TRUE(early->hasWorker());
    early.reset();    // waits for the worker, which gives up its call
    QTest::qWait(0);  // the finished worker deletes itself
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(filesIn(out_.path()).isEmpty());
}

// The three ways a click ends before any export starts.
struct NoStartCase {
    const char* label;
    std::optional<QString> folder;
    QString saveError;
    QStringList log;
    QStringList errors;
};

class ExporterNoStartTest : public ExporterTest,
                            public ::testing::WithParamInterface<NoStartCase> {};

TEST_P(ExporterNoStartTest, NothingIsShownOrWritten) {
    addEntries(1);
    host_.folder = GetParam().folder;
    host_.saveError = GetParam().saveError;
    exporter_.btnExportClick();
    QCoreApplication::processEvents();

    EXPECT_EQ(GetParam().log, host_.log);
    EXPECT_EQ(GetParam().errors, host_.errors);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_FALSE(exporter_.isExporting());
    EXPECT_FALSE(exporter_.hasWorker());
    EXPECT_TRUE(host_.commandsEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, ExporterNoStartTest,
    ::testing::Values(
        NoStartCase{"nominal_dialog_cancelled", std::nullopt, {}, {"save", "choose"}, {}},
        NoStartCase{"robustness_item_without_path",
                    QString(),
                    {},
                    {"save", "choose", "error"},
                    {"The chosen item is not a folder of the file system. Please choose a folder "
                     "on a disk to export the entries to."}},
        NoStartCase{"robustness_folder_cannot_take_files",
                    QString("/nonexistent/quillmere-export"),
                    {},
                    {"save", "choose", "error"},
                    {"Cannot export to \"/nonexistent/quillmere-export\": the folder does not "
                     "exist."}},
        NoStartCase{"robustness_entry_cannot_be_stored",
                    QString("/tmp"),
                    "tblJournal: Cannot perform this operation on a closed dataset",
                    {"save", "error"},
                    {"tblJournal: Cannot perform this operation on a closed dataset"}}),
    [](const auto& info) { return std::string(info.param.label); });

// After a failed entry the box offers to stop: four entries whose first three
// files are refused in a folder that still takes files.
struct FailureCase {
    const char* name;
    std::deque<quillmere::FailureChoice> choices;
    int boxes;          // boxes shown
    QStringList files;  // written in the end
    bool paused;        // the export ran to its end
    bool summarized;    // how many were written is said after the window closed
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

using F = quillmere::FailureChoice;
const char kThreeFailed[] =
    "Exported 1 of 4 entries to \"%1\".\n3 entries could not be exported: 01 September 2010, "
    "02 September 2010, 03 September 2010.";

class ExporterFailureTest : public ExporterTest,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExporterFailureTest, TheBoxOffersToGoOnOrToStop) {
    const FailureCase& c = GetParam();
    addEntries(4);
    testsupport::FailingFiles refusing({"2010-09-01.rtf", "2010-09-02.rtf", "2010-09-03.rtf"},
                                       QStringLiteral("Input/output error"));
    quillmere::ScopedFileAccess scoped(&refusing);
    host_.failureChoices = c.choices;
    exportAll();

    EXPECT_EQ(c.boxes, host_.failures.size());
    for (int i = 0; i < host_.keptVisible.size(); ++i) {
        EXPECT_EQ(&window_, host_.keptVisible[i]) << "the box must keep the progress window clear";
        EXPECT_TRUE(host_.progressShownAtFailure[i]);
    }
    EXPECT_EQ(c.files, filesIn(out_.path()));
    EXPECT_EQ(c.paused ? QList<int>({1000}) : QList<int>(), pauses_);
    EXPECT_EQ(QString::number(c.files.size()), window_.lblCount->text());
    EXPECT_EQ(c.summarized ? QStringList({QString::fromLatin1(kThreeFailed).arg(out_.path())})
                           : QStringList(),
              host_.informations);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_TRUE(host_.commandsEnabled);
    EXPECT_FALSE(host_.boxOverProgress);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ExporterFailureTest,
    ::testing::Values(
        FailureCase{"ContinueAsksForEach", {}, 3, {"2010-09-04.rtf"}, true, true},
        FailureCase{"ContinueWithoutAskingAsksOnce",
                    {F::kContinueWithoutAsking},
                    1,
                    {"2010-09-04.rtf"},
                    true,
                    true},
        FailureCase{"StopEndsTheExportAtTheFirstFailure", {F::kStop}, 1, {}, false, false},
        FailureCase{"StopAtTheSecondFailure", {F::kContinue, F::kStop}, 2, {}, false, false}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// The folder stops taking files midway: no box per entry, but one error
// after the progress window has gone.
TEST_F(ExporterTest, AFolderLostMidwayIsOneMessageAfterTheWindowCloses) {
    addEntries(5);
    class LosingFolder : public testsupport::FailingFiles {
    public:
        LosingFolder() : FailingFiles({"2010-09-03.rtf"}, QStringLiteral("Permission denied")) {}
        bool folderWritable(const QString&) const override { return failures() == 0; }
    } losing;
    quillmere::ScopedFileAccess scoped(&losing);
    exportAll();

    EXPECT_TRUE(host_.failures.isEmpty());
    EXPECT_EQ(QStringList({"Cannot export to \"" + out_.path() +
                           "\": no file can be created in this folder (it may be read-only or "
                           "belong to another user). Please choose another folder.\n\n"
                           "2 files were written before the export stopped."}),
              host_.errors);
    EXPECT_FALSE(host_.boxOverProgress) << "the message must not wait behind the progress window";
    EXPECT_EQ(2, filesIn(out_.path()).size());
    EXPECT_TRUE(pauses_.isEmpty());
    EXPECT_TRUE(host_.commandsEnabled);
}

}  // namespace
