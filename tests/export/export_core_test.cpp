// The window-free export loop: file names, byte-exact files, overwrite
// questions, failures that must not stop the loop, cancellation and the order
// in which the loop reports its progress.
#include "export/core/export_core.h"

#include "export_test_journal.h"
#include "failing_files.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <limits>

namespace {

using exporttest::filesIn;
using exporttest::Recorder;
using exporttest::sampleRtf;
using exporttest::TestJournal;
using quillmere::dayFromDate;
using quillmere::EncodeEntryContent;
using quillmere::EntryFileName;
using quillmere::EntryFilePath;
using quillmere::ExportEnd;
using quillmere::ExportEntries;
using quillmere::ExportSummary;
using testsupport::TempFolder;

struct NameCase {
    const char* label;
    double day;
    const char* expected;
};

class EntryFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(EntryFileNameTest, NamesTheDay) {
    EXPECT_EQ(GetParam().expected, EntryFileName(GetParam().day).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Days, EntryFileNameTest,
    ::testing::Values(
        NameCase{"nominal_8_september_2010", dayFromDate(QDate(2010, 9, 8)), "2010-09-08.rtf"},
        NameCase{"nominal_last_day_of_year", dayFromDate(QDate(1999, 12, 31)), "1999-12-31.rtf"},
        NameCase{"nominal_day_zero", 0.0, "1899-12-30.rtf"},
        NameCase{"nominal_before_day_zero", dayFromDate(QDate(1850, 1, 2)), "1850-01-02.rtf"},
        NameCase{"robustness_time_of_day_dropped", dayFromDate(QDate(2010, 9, 8)) + 0.75,
                 "2010-09-08.rtf"},
        NameCase{"robustness_year_below_1000_padded", dayFromDate(QDate(999, 3, 4)),
                 "0999-03-04.rtf"},
        NameCase{"robustness_leap_day", dayFromDate(QDate(2012, 2, 29)), "2012-02-29.rtf"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(EntryFileName, RefusesValuesThatAreNoDate) {
    EXPECT_THROW_MSG(EntryFileName(std::numeric_limits<double>::quiet_NaN()), quillmere::Error,
                     "The day value nan is not a calendar date");
    EXPECT_THROW_MSG(EntryFileName(1e12), quillmere::Error,
                     "The day value 1e+12 is not a calendar date");
}

TEST(EntryFilePath, AlwaysInsertsTheSeparator) {
    const double day = dayFromDate(QDate(2010, 9, 8));
    EXPECT_EQ("/tmp/out/2010-09-08.rtf", EntryFilePath("/tmp/out", day).toStdString());
    EXPECT_EQ("/tmp/out//2010-09-08.rtf", EntryFilePath("/tmp/out/", day).toStdString());
    EXPECT_EQ("//2010-09-08.rtf", EntryFilePath("/", day).toStdString());
    EXPECT_EQ("Overwrite existing file /a/b.rtf?",
              quillmere::OverwriteQuestion("/a/b.rtf").toStdString());
}

TEST(ExportEntries, WritesTheDecodedBytesUnderTheDaysName) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    const QByteArray rtf = sampleRtf("September");
    journal.store(QDate(2010, 9, 8), rtf);
    journal.store(QDate(2010, 9, 10), sampleRtf("later"));
    journal.store(QDate(2009, 1, 1), sampleRtf("earlier"));

    Recorder recorder;
    const ExportSummary summary = ExportEntries(journal.table(), out.path(), recorder.callbacks());

    EXPECT_EQ(QStringList({"2009-01-01.rtf", "2010-09-08.rtf", "2010-09-10.rtf"}),
              filesIn(out.path()));
    EXPECT_EQ(testsupport::hexDump(rtf), testsupport::hexDump(out.read("2010-09-08.rtf")));
    EXPECT_EQ(sampleRtf("earlier"), out.read("2009-01-01.rtf"));
    EXPECT_EQ(3, summary.written);
    EXPECT_EQ(3, summary.counted);
    EXPECT_EQ(quillmere::ExportEnd::kCompleted, summary.end);
    EXPECT_EQ(3, recorder.written);
    EXPECT_TRUE(recorder.questions.isEmpty());
    EXPECT_TRUE(recorder.errors.isEmpty());
}

TEST(ExportEntries, ReportsEachStepInTheOrderTheWindowNeeds) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    journal.store(QDate(2010, 9, 8), sampleRtf("a"));
    journal.store(QDate(2010, 9, 9), sampleRtf("b"));
    out.write("2010-09-09.rtf", "old");

    Recorder recorder;
    ExportEntries(journal.table(), out.path(), recorder.callbacks());

    const QString second = out.path() + "/2010-09-09.rtf";
    EXPECT_EQ(QStringList({"bar", "events", "counter", "events", "ask " + second, "bar", "events",
                           "counter", "events"}),
              recorder.log);
}

TEST(ExportEntries, EntryEmptiedByTheUserIsStillWritten) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    journal.store(QDate(2011, 5, 6), exporttest::emptyDocumentRtf());
    journal.store(QDate(2011, 5, 7), QByteArray());  // not even a document

    Recorder recorder;
    ExportEntries(journal.table(), out.path(), recorder.callbacks());

    EXPECT_EQ(exporttest::emptyDocumentRtf(), out.read("2011-05-06.rtf"));
    ASSERT_TRUE(QFile::exists(out.file("2011-05-07.rtf")));
    EXPECT_EQ(0, QFileInfo(out.file("2011-05-07.rtf")).size());
    EXPECT_TRUE(recorder.errors.isEmpty());
}

// Two records of one day (a file written elsewhere) share one file name: the
// second brings the question; Yes replaces what the first just wrote.
struct SameDayCase {
    const char* label;
    bool answer;
    const char* expectedTag;
    int written;
    int skipped;
};

class SameDayTest : public ::testing::TestWithParam<SameDayCase> {};

TEST_P(SameDayTest, SecondRecordAsksToOverwriteTheFirst) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    journal.insertRaw(QDate(2010, 9, 8), EncodeEntryContent(sampleRtf("first")));
    journal.insertRaw(QDate(2010, 9, 8), EncodeEntryContent(sampleRtf("second")));

    Recorder recorder;
    recorder.answers = {GetParam().answer};
    const ExportSummary summary = ExportEntries(journal.table(), out.path(), recorder.callbacks());

    const QString path = out.path() + QDir::separator() + "2010-09-08.rtf";
    EXPECT_EQ(QStringList({"Overwrite existing file " + path + "?"}), recorder.questions);
    EXPECT_EQ(sampleRtf(GetParam().expectedTag), out.read("2010-09-08.rtf"));
    EXPECT_EQ(GetParam().written, summary.written);
    EXPECT_EQ(GetParam().skipped, summary.skipped);
    EXPECT_EQ(2, summary.counted);
}

INSTANTIATE_TEST_SUITE_P(Answers, SameDayTest,
                         ::testing::Values(SameDayCase{"nominal_yes_replaces", true, "second", 2,
                                                       0},
                                           SameDayCase{"nominal_no_keeps", false, "first", 1, 1}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ExportEntries, SecondExportAsksOncePerEntryAndNoKeepsTheFiles) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    journal.store(QDate(2010, 1, 1), sampleRtf("1"));
    journal.store(QDate(2010, 1, 2), sampleRtf("2"));
    journal.store(QDate(2010, 1, 3), sampleRtf("3"));
    Recorder first;
    ExportEntries(journal.table(), out.path(), first.callbacks());
    out.write("2010-01-02.rtf", "edited by hand");

    Recorder second;
    second.answers = {false, false, true};
    journal.store(QDate(2010, 1, 3), sampleRtf("3 changed"));
    const ExportSummary summary = ExportEntries(journal.table(), out.path(), second.callbacks());

    EXPECT_EQ(3, second.questions.size());
    EXPECT_EQ("edited by hand", out.read("2010-01-02.rtf"));
    EXPECT_EQ(sampleRtf("1"), out.read("2010-01-01.rtf"));
    EXPECT_EQ(sampleRtf("3 changed"), out.read("2010-01-03.rtf"));
    EXPECT_EQ(2, summary.skipped);
    EXPECT_EQ(1, summary.written);
    EXPECT_EQ(3, summary.counted);  // kept files count as handled
    EXPECT_EQ(3, second.bars);
    EXPECT_EQ(1, second.written) << "the counter shows files written, not the ones kept";
}

// A damaged entry is reported with zlib's text and gets no file; the entries
// around it are written.
struct DamageCase {
    const char* label;
    QByteArray blob;
    const char* message;
};

class DamagedEntryTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedEntryTest, IsReportedAndCreatesNoFile) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    journal.store(QDate(2010, 9, 7), sampleRtf("before"));
    journal.insertRaw(QDate(2010, 9, 8), GetParam().blob);
    journal.store(QDate(2010, 9, 9), sampleRtf("after"));

    Recorder recorder;
    const ExportSummary summary = ExportEntries(journal.table(), out.path(), recorder.callbacks());

    EXPECT_EQ(QStringList({GetParam().message}), recorder.errors);
    EXPECT_EQ(QStringList({"2010-09-07.rtf", "2010-09-09.rtf"}), filesIn(out.path()));
    EXPECT_EQ(1, summary.failed);
    EXPECT_EQ(3, summary.counted);
}

QByteArray truncatedBlob() {
    QByteArray blob = EncodeEntryContent(sampleRtf("cut short"));
    blob.chop(6);
    return blob;
}

QByteArray flippedChecksum() {
    QByteArray blob = EncodeEntryContent(sampleRtf("checksum"));
    blob[blob.size() - 1] = static_cast<char>(blob[blob.size() - 1] ^ 0x01);
    return blob;
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedEntryTest,
    ::testing::Values(DamageCase{"robustness_bad_deflate_data",
                                 testsupport::hexBytes("78 01 FF FF FF FF 00 00"), "data error"},
                      DamageCase{"robustness_not_zlib_at_all", QByteArray("{\\rtf1 plain}"),
                                 "data error"},
                      DamageCase{"robustness_bad_checksum", flippedChecksum(), "data error"},
                      DamageCase{"robustness_truncated_stream", truncatedBlob(), "buffer error"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ExportEntries, DamagedEntryLeavesAnExistingFileAlone) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    journal.insertRaw(QDate(2010, 9, 8), testsupport::hexBytes("78 01 FF FF"));
    out.write("2010-09-08.rtf", "earlier export");

    Recorder recorder;
    ExportEntries(journal.table(), out.path(), recorder.callbacks());

    EXPECT_EQ(1, recorder.questions.size());
    EXPECT_EQ(QStringList({"data error"}), recorder.errors);
    EXPECT_EQ("earlier export", out.read("2010-09-08.rtf"));
    EXPECT_EQ(QStringList({"2010-09-08.rtf"}), filesIn(out.path()));
}

TEST(ExportEntries, RefusedWritesAreReportedPerEntryAndTheLoopGoesOn) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    journal.store(QDate(2010, 9, 8), sampleRtf("a"));
    journal.store(QDate(2010, 9, 9), sampleRtf("b"));
    journal.store(QDate(2010, 9, 10), sampleRtf("c"));
    auto refusing = testsupport::FailingFiles::everyFile(QStringLiteral("Permission denied"));
    quillmere::ScopedFileAccess scoped(&refusing);

    Recorder recorder;
    const ExportSummary summary = ExportEntries(journal.table(), out.path(), recorder.callbacks());

    const QString sep = QDir::separator();
    EXPECT_EQ(QStringList({refusing.messageFor(out.path() + sep + "2010-09-08.rtf"),
                           refusing.messageFor(out.path() + sep + "2010-09-09.rtf"),
                           refusing.messageFor(out.path() + sep + "2010-09-10.rtf")}),
              recorder.errors);
    EXPECT_EQ(3, summary.failed);
    EXPECT_EQ(3, summary.counted);
    EXPECT_EQ(3, recorder.bars);
    EXPECT_TRUE(filesIn(out.path()).isEmpty());
}

TEST(ExportEntries, ReadOnlyFolderOnTheRealFileSystem) {
    if (geteuid() == 0) {
        GTEST_SKIP()
            << "the superuser ignores folder permissions; the failing file system covers this";
    }
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    journal.store(QDate(2010, 9, 8), sampleRtf("a"));
    journal.store(QDate(2010, 9, 9), sampleRtf("b"));
    ASSERT_TRUE(QFile::setPermissions(out.path(), QFile::ReadOwner | QFile::ExeOwner));

    Recorder recorder;
    const ExportSummary summary = ExportEntries(journal.table(), out.path(), recorder.callbacks());
    QFile::setPermissions(out.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // One message for the folder, not one error per entry.
    EXPECT_TRUE(recorder.errors.isEmpty()) << recorder.errors.join('|').toStdString();
    EXPECT_EQ(quillmere::ExportEnd::kFolderFailed, summary.end);
    EXPECT_TRUE(summary.folderError.contains("no file can be created"))
        << summary.folderError.toStdString();
    EXPECT_EQ(0, summary.handled);
    EXPECT_TRUE(filesIn(out.path()).isEmpty());
}

// A question answered by an error (the journal tool's "no overwrite" rule)
// fails that entry only.
TEST(ExportEntries, QuestionThatThrowsFailsOnlyThatEntry) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    journal.store(QDate(2010, 9, 8), sampleRtf("a"));
    journal.store(QDate(2010, 9, 9), sampleRtf("b"));
    out.write("2010-09-08.rtf", "keep me");

    Recorder recorder;
    quillmere::ExportCallbacks callbacks = recorder.callbacks();
    callbacks.confirmOverwrite = [](const QString&) -> bool {
        throw quillmere::FileError("exists already");
    };
    const ExportSummary summary = ExportEntries(journal.table(), out.path(), callbacks);

    EXPECT_EQ(QStringList({"exists already"}), recorder.errors);
    EXPECT_EQ("keep me", out.read("2010-09-08.rtf"));
    EXPECT_EQ(sampleRtf("b"), out.read("2010-09-09.rtf"));
    EXPECT_EQ(1, summary.failed);
    EXPECT_EQ(1, summary.written);
}

// Cancel is noticed after the entry being written: that entry advanced the
// bar but not the counter, and every file written so far stays.
struct CancelCase {
    const char* label;
    int cancelAfterBar;
    int expectedFiles;
};

class CancelTest : public ::testing::TestWithParam<CancelCase> {};

TEST_P(CancelTest, StopsAfterTheCurrentEntry) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    for (int day = 1; day <= 4; ++day) {
        journal.store(QDate(2010, 9, day), sampleRtf(QString::number(day)));
    }
    Recorder recorder;
    recorder.cancelAfterBar = GetParam().cancelAfterBar;

    const ExportSummary summary = ExportEntries(journal.table(), out.path(), recorder.callbacks());

    EXPECT_EQ(quillmere::ExportEnd::kCancelled, summary.end);
    EXPECT_EQ(GetParam().expectedFiles, filesIn(out.path()).size());
    EXPECT_EQ(GetParam().cancelAfterBar, recorder.bars);
    EXPECT_EQ(GetParam().cancelAfterBar - 1, recorder.counters);
    EXPECT_EQ("events", recorder.log.last().toStdString());
    EXPECT_EQ("bar", recorder.log[recorder.log.size() - 2].toStdString());
}

INSTANTIATE_TEST_SUITE_P(Points, CancelTest,
                         ::testing::Values(CancelCase{"nominal_first_entry", 1, 1},
                                           CancelCase{"nominal_middle", 2, 2},
                                           CancelCase{"nominal_last_entry", 4, 4}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ExportEntries, EmptyOrClosedJournalExportsNothing) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    Recorder recorder;
    ExportSummary summary = ExportEntries(journal.table(), out.path(), recorder.callbacks());
    EXPECT_TRUE(recorder.log.isEmpty());
    EXPECT_EQ(0, summary.handled);

    quillmere::JournalTable closed;
    summary = ExportEntries(closed, out.path(), recorder.callbacks());
    EXPECT_TRUE(recorder.log.isEmpty());
    EXPECT_TRUE(filesIn(out.path()).isEmpty());
}

TEST(ExportEntries, LeavesNoTemporaryFilesBehind) {
    TempFolder data;
    TempFolder out;
    TestJournal journal(data.path());
    journal.store(QDate(2010, 9, 7), sampleRtf("a"));
    journal.insertRaw(QDate(2010, 9, 8), testsupport::hexBytes("78 01 FF FF"));
    journal.store(QDate(2010, 9, 9), sampleRtf("c"));
    out.write("2010-09-09.rtf", "old");

    Recorder replace;
    ExportEntries(journal.table(), out.path(), replace.callbacks());
    Recorder cancel;
    cancel.cancelAfterBar = 2;
    ExportEntries(journal.table(), out.path(), cancel.callbacks());

    EXPECT_EQ(QStringList({"2010-09-07.rtf", "2010-09-09.rtf"}), filesIn(out.path()));
    EXPECT_EQ(sampleRtf("c"), out.read("2010-09-09.rtf"));
}

// A file system on which no file can be created in any folder (a folder
// made read-only or belonging to another user).
class NoFileCreated : public quillmere::FileAccess {
public:
    bool folderWritable(const QString&) const override { return false; }
};

QString readOnlyMessage(const QString& folder) {
    return "Cannot export to \"" + folder +
           "\": no file can be created in this folder (it may be read-only or belong to "
           "another user). Please choose another folder.";
}

// A folder that cannot take a single file ends the run before any entry,
// question or error, with one message.
struct FolderCase {
    const char* label;
    // The folder to export to, made inside a scratch folder.
    QString (*make)(const TempFolder& scratch);
    bool readOnly;  // the file system refuses to create files in it
    QString (*message)(const QString& folder);
};

class UnusableFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(UnusableFolderTest, EndsTheRunAtOnceWithOneMessage) {
    TempFolder data;
    TempFolder scratch;
    TestJournal journal(data.path());
    journal.store(QDate(2010, 9, 8), sampleRtf("a"));
    journal.store(QDate(2010, 9, 9), sampleRtf("b"));
    const QString folder = GetParam().make(scratch);
    NoFileCreated readOnly;
    quillmere::FileAccess real;
    quillmere::ScopedFileAccess scoped(GetParam().readOnly ? &readOnly : &real);

    Recorder recorder;
    const ExportSummary summary = ExportEntries(journal.table(), folder, recorder.callbacks());

    EXPECT_EQ(ExportEnd::kFolderFailed, summary.end);
    EXPECT_EQ(GetParam().message(folder), summary.folderError);
    EXPECT_EQ(summary.folderError, quillmere::FolderFailureText(summary));
    EXPECT_THROW_MSG(quillmere::CheckExportFolder(folder), quillmere::FileError,
                     GetParam().message(folder).toStdString());
    EXPECT_TRUE(recorder.log.isEmpty()) << recorder.log.join('|').toStdString();
    EXPECT_EQ(0, summary.handled);
    EXPECT_EQ(QStringList(), filesIn(scratch.path()).filter(".rtf"));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, UnusableFolderTest,
    ::testing::Values(
        FolderCase{"robustness_missing", [](const TempFolder& t) { return t.file("gone"); }, false,
                   [](const QString& f) {
                       return "Cannot export to \"" + f + "\": the folder does not exist.";
                   }},
        FolderCase{
            "robustness_a_file", [](const TempFolder& t) { return t.write("plain.txt", "x"); },
            false,
            [](const QString& f) { return "Cannot export to \"" + f + "\": it is not a folder."; }},
        FolderCase{"robustness_read_only", [](const TempFolder& t) { return t.path(); }, true,
                   readOnlyMessage}),
    [](const auto& info) { return std::string(info.param.label); });

// What the user reads after a completed export that did not write every
// entry; nothing when it did, or when the run ended early.
struct ResultCase {
    const char* label;
    ExportSummary summary;
    const char* expected;
};

ExportSummary summaryOf(int handled, int written, int skipped, std::vector<QDate> failed,
                        ExportEnd end = ExportEnd::kCompleted) {
    ExportSummary s;
    s.handled = handled;
    s.written = written;
    s.skipped = skipped;
    s.failed = int(failed.size());
    for (const QDate& d : failed) {
        s.failedDays.push_back(dayFromDate(d));
    }
    s.end = end;
    return s;
}

class ExportResultTextTest : public ::testing::TestWithParam<ResultCase> {};

TEST_P(ExportResultTextTest, SaysHowManyFilesWereWritten) {
    EXPECT_EQ(GetParam().expected,
              quillmere::ExportResultText(GetParam().summary, "/home/me/diary").toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Summaries, ExportResultTextTest,
    ::testing::Values(
        ResultCase{"nominal_all_written", summaryOf(3, 3, 0, {}), ""},
        ResultCase{"nominal_kept_and_failed", summaryOf(10, 7, 2, {QDate(2010, 6, 18)}),
                   "Exported 7 of 10 entries to \"/home/me/diary\".\n"
                   "2 existing files were kept.\n"
                   "1 entry could not be exported: 18 June 2010."},
        ResultCase{"nominal_one_entry_kept", summaryOf(1, 0, 1, {}),
                   "Exported 0 of 1 entry to \"/home/me/diary\".\n1 existing file was kept."},
        ResultCase{"robustness_many_failed_days_are_summed_up",
                   summaryOf(12, 0, 0,
                             {QDate(2010, 1, 1), QDate(2010, 1, 2), QDate(2010, 1, 3),
                              QDate(2010, 1, 4), QDate(2010, 1, 5), QDate(2010, 1, 6),
                              QDate(2010, 1, 7), QDate(2010, 1, 8), QDate(2010, 1, 9),
                              QDate(2010, 1, 10), QDate(2010, 1, 11), QDate(2010, 1, 12)}),
                   "Exported 0 of 12 entries to \"/home/me/diary\".\n"
                   "12 entries could not be exported: 01 January 2010, 02 January 2010, "
                   "03 January 2010, 04 January 2010, 05 January 2010, 06 January 2010, "
                   "07 January 2010, 08 January 2010, 09 January 2010, 10 January 2010, "
                   "and 2 more."},
        ResultCase{"robustness_cancelled_run_says_nothing",
                   summaryOf(4, 1, 1, {}, ExportEnd::kCancelled), ""}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
