// A full disk and files that are not regular files must never cost the
// diary anything: every writer of the store reports a full disk naming its
// file and leaves the old file as it was (through the seam's full disk, and
// on a real 64 KiB tmpfs when one can be mounted); a FIFO, a folder or a
// device under a data file's name is refused naming it, without hanging.
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/font_settings.h"
#include "store/journal_session.h"
#include "store/profile_file.h"

#include "failing_files.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

double may(int day) {
    return dayFromDate(QDate(2024, 5, day));
}

QByteArray rtf(const char* text) {
    return QByteArray("{\\rtf1 ") + text + "}";
}

// An entry whose stored form is about `bytes` long (hex digits of random
// bytes compress to about half).
QByteArray largeRtf(int bytes) {
    QByteArray random(bytes, Qt::Uninitialized);
    QRandomGenerator generator(7);
    generator.fillRange(reinterpret_cast<quint32*>(random.data()), bytes / 4);
    return "{\\rtf1 " + random.toHex() + "}";
}

// The diary of the torture run: three days and a password, left by an
// earlier normal end, then a run that stored a day and changed the settings
// and font settings. A large diary's first day holds a picture-sized entry,
// so that its journal is streamed at the end.
struct Diary {
    explicit Diary(const QString& folder, bool large = false) : folder_(folder) {
        {
            JournalSession earlier(folder);
            earlier.OpenJournal();
            earlier.OpenSettings();
            for (int day = 1; day <= 3; ++day) {
                earlier.setCurrentDay(may(day));
                earlier.storeEntry([day, large] {
                    return day == 1 && large ? largeRtf(1500 * 1024) : rtf("an earlier day");
                });
            }
            earlier.settings().insert();
            earlier.settings().setPassword(QStringLiteral("secret"));
            earlier.postSettings();
            earlier.writeSettings();
            earlier.writeJournal();
            earlier.writeFontSettings();
            earlier.finishRun();
        }
        session = std::make_unique<JournalSession>(folder);
        session->OpenJournal();
        session->OpenSettings();
        session->recover();
        session->setCurrentDay(may(4));
        session->storeEntry([] { return rtf("today's page"); });
        session->settings().edit();
        session->settings().setPassword(QStringLiteral("new secret"));
        session->postSettings();
        session->setFontSettings(FontSettings{QStringLiteral("Courier New"), 0, true});
        session->waitForDrafts();
    }
    QString path(const char* name) const { return QDir(folder_).filePath(QLatin1String(name)); }

    QString folder_;
    std::unique_ptr<JournalSession> session;
};

// The files of a folder with their bytes.
std::map<QString, QByteArray> contents(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            files[name] = file.readAll();
        }
    }
    return files;
}

struct WriterCase {
    const char* label;
    const char* file;  // the file written, in the data folder
    std::function<void(Diary&)> write;
    bool large = false;  // the diary's journal is streamed when written
};

const WriterCase kWriters[] = {
    {"nominal: the journal at the end of a run", kJournalFileName,
     [](Diary& d) { d.session->writeJournal(); }},
    {"nominal: the settings at the end of a run", kSettingsFileName,
     [](Diary& d) { d.session->writeSettings(); }},
    {"nominal: the font settings", kFontSettingsFileName,
     [](Diary& d) { d.session->writeFontSettings(); }},
    {"nominal: a profile key (the window placement file)", kFontSettingsFileName,
     [](Diary& d) {
         ProfileFile(d.path(kFontSettingsFileName))
             .writeString(QStringLiteral("TfrmMain"), QStringLiteral("NormPos"),
                          QStringLiteral("1,2,3,4"));
     }},
    {"nominal: the journal saved into another folder", kJournalFileName,
     [](Diary& d) { d.session->saveJournalCopy(d.folder_); }},
    {"nominal: a large journal at the end of a run, unchanged days copied by the system",
     kJournalFileName, [](Diary& d) { d.session->writeJournal(); }, true},
    {"nominal: a large journal saved into another folder", kJournalFileName,
     [](Diary& d) { d.session->saveJournalCopy(d.folder_); }, true},
    {"nominal: a file the user asked for (export, save as)", kJournalFileName,
     [](Diary& d) { fileAccess().writeReplacing(d.path(kJournalFileName), QByteArray(500, 'x')); }},
    {"nominal: a journal table closed on its own (the journal tool)", kJournalFileName,
     [](Diary& d) {
         JournalTable table;
         table.OpenJournal(d.path(kJournalFileName));
         table.StoreEntry(may(9), rtf("put"));
         table.close();
     }},
};

class FullDiskWriters : public ::testing::TestWithParam<std::tuple<WriterCase, qint64>> {};

// Every writer on a disk with no or a few bytes free: FileError naming the
// file and saying the disk is full; every file of the folder as it was, no
// temporary file left, and the recovery log still there.
TEST_P(FullDiskWriters, ReportTheFullDiskAndLeaveEveryFileAsItWas) {
    const auto& [c, freeBytes] = GetParam();
    SCOPED_TRACE(c.label);
    TempFolder dir;
    Diary diary(dir.path(), c.large);
    const std::map<QString, QByteArray> before = contents(dir.path());
    ASSERT_TRUE(before.count(QString::fromLatin1(kRecoveryFileName))) << c.label;
    auto full = testsupport::FailingFiles::fullDisk(freeBytes);
    {
        ScopedFileAccess seam(&full);
        EXPECT_THROW_MSG(
            c.write(diary), FileError,
            "Cannot write \"" + diary.path(c.file).toStdString() + "\": the disk is full");
    }
    EXPECT_FALSE(diary.session->finishRun()) << c.label;
    EXPECT_EQ(before, contents(dir.path())) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Writers, FullDiskWriters,
                         ::testing::Combine(::testing::ValuesIn(kWriters),
                                            ::testing::Values(qint64(0), qint64(40))));

// The end of the torture run: nothing can be written, so the recovery log
// must stay, and nothing may claim success.
TEST(FullDisk, EndOfRunOnAFullDiskKeepsEveryFileAndTheRecoveryLog) {
    TempFolder dir;
    Diary diary(dir.path());
    const std::map<QString, QByteArray> before = contents(dir.path());
    auto full = testsupport::FailingFiles::fullDisk(0);
    ScopedFileAccess seam(&full);
    EXPECT_THROW(diary.session->writeSettings(), FileError);
    EXPECT_THROW(diary.session->writeJournal(), FileError);
    EXPECT_THROW(diary.session->writeFontSettings(), FileError);
    EXPECT_FALSE(diary.session->finishRun());
    EXPECT_EQ(before, contents(dir.path()));
}

// The new "Journal.cds" needs no more room than itself: the previous file
// becomes the backup without a copy, whether the journal is written from
// memory or streamed.
TEST(FullDisk, JournalWriteNeedsRoomForTheNewFileOnly) {
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large ? "streamed" : "from memory");
        TempFolder dir;
        Diary diary(dir.path(), large);
        const QByteArray previous = dir.read(kJournalFileName);
        const QByteArray next = diary.session->journal().dataset().savePacket();
        auto full = testsupport::FailingFiles::fullDisk(next.size());
        {
            ScopedFileAccess seam(&full);
            EXPECT_TRUE(diary.session->writeJournal().written);
        }
        EXPECT_TRUE(next == dir.read(kJournalFileName));
        EXPECT_TRUE(previous == dir.read(kJournalBackupFileName));
    }
}

// --- A real full disk ------------------------------------------------------------

// A 64 KiB tmpfs, filled up to the last byte after the diary was made.
class SmallTmpfs : public ::testing::Test {
protected:
    void SetUp() override {
        mountPoint_ = dir_.file(QStringLiteral("disk"));
        ASSERT_TRUE(QDir().mkpath(mountPoint_));
        if (::mount("tmpfs", QFile::encodeName(mountPoint_).constData(), "tmpfs", 0, "size=64k") !=
            0) {
            GTEST_SKIP() << "cannot mount a tmpfs here (needs root): " << std::strerror(errno);
        }
        mounted_ = true;
    }
    void TearDown() override {
        diary_.reset();
        if (mounted_) {
            ::umount2(QFile::encodeName(mountPoint_).constData(), MNT_DETACH);
        }
    }
    // Takes every free byte of the disk.
    void fill() {
        const QByteArray path = QFile::encodeName(QDir(mountPoint_).filePath("filler"));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), block.size()) > 0) {
        }
        while (::write(fd, block.constData(), 1) > 0) {
        }
        ::close(fd);
    }

    TempFolder dir_;
    QString mountPoint_;
    bool mounted_ = false;
    std::unique_ptr<Diary> diary_;
};

TEST_F(SmallTmpfs, EveryWriterReportsTheFullDiskAndEveryFileStays) {
    diary_ = std::make_unique<Diary>(mountPoint_);
    const std::map<QString, QByteArray> before = contents(mountPoint_);
    fill();
    for (const WriterCase& c : kWriters) {
        SCOPED_TRACE(c.label);
        EXPECT_THROW_MSG(
            c.write(*diary_), FileError,
            "Cannot write \"" + diary_->path(c.file).toStdString() + "\": the disk is full");
    }
    EXPECT_FALSE(diary_->session->finishRun());
    std::map<QString, QByteArray> after = contents(mountPoint_);
    after.erase(QStringLiteral("filler"));
    EXPECT_EQ(before, after);
}

// --- Files that are not regular files ----------------------------------------------

enum class Special { kFifo, kFolder, kZeroDevice };

struct SpecialCase {
    const char* label;
    const char* file;
    Special kind;
    const char* reason;
};

void makeSpecial(const QString& path, Special kind) {
    const QByteArray name = QFile::encodeName(path);
    switch (kind) {
        case Special::kFifo:
            ASSERT_EQ(0, ::mkfifo(name.constData(), 0600));
            break;
        case Special::kFolder:
            ASSERT_TRUE(QDir().mkpath(path));
            break;
        case Special::kZeroDevice:
            ASSERT_EQ(0, ::symlink("/dev/zero", name.constData()));
            break;
    }
}

class SpecialFiles : public ::testing::TestWithParam<SpecialCase> {};

// The start reads each file of the data folder in turn; a special one is
// refused with a message naming it, and nothing hangs or reads forever.
TEST_P(SpecialFiles, AreRefusedNamingTheFile) {
    const SpecialCase& c = GetParam();
    SCOPED_TRACE(c.label);
    TempFolder dir;
    const QString path = dir.file(QLatin1String(c.file));
    makeSpecial(path, c.kind);
    JournalSession session(dir.path());
    const std::string message = "Cannot open \"" + path.toStdString() + "\": " + c.reason;
    const QString name = QLatin1String(c.file);
    if (name == QLatin1String(kJournalFileName)) {
        EXPECT_THROW_MSG(session.OpenJournal(), FileError, message);
        EXPECT_FALSE(session.journal().isOpen());
    } else if (name == QLatin1String(kSettingsFileName)) {
        session.OpenJournal();
        EXPECT_THROW_MSG(session.OpenSettings(), FileError, message);
        EXPECT_FALSE(session.settings().isOpen());
    } else if (name == QLatin1String(kRecoveryFileName)) {
        session.OpenJournal();
        session.OpenSettings();
        EXPECT_THROW_MSG(session.recover(), FileError, message);
        // Nothing of this run is appended to it or removes it.
        session.setCurrentDay(may(1));
        session.saveDraft(rtf("typed"));
        session.waitForDrafts();
        EXPECT_FALSE(session.recoveryLogHoldsRun()) << c.label;
    } else {
        EXPECT_THROW_MSG(session.readFontSettings(), FileError, message);
    }
    struct stat info {};
    ASSERT_EQ(0, ::lstat(QFile::encodeName(path).constData(), &info)) << "still there";
}

const char kFolderReason[] = "a folder, not a file";
const char kOtherReason[] = "not a regular file";

INSTANTIATE_TEST_SUITE_P(
    Files, SpecialFiles,
    ::testing::Values(
        SpecialCase{"robustness: FIFO journal", kJournalFileName, Special::kFifo, kOtherReason},
        SpecialCase{"robustness: folder journal", kJournalFileName, Special::kFolder,
                    kFolderReason},
        SpecialCase{"robustness: journal linked to /dev/zero", kJournalFileName,
                    Special::kZeroDevice, kOtherReason},
        SpecialCase{"robustness: FIFO settings", kSettingsFileName, Special::kFifo, kOtherReason},
        SpecialCase{"robustness: folder settings", kSettingsFileName, Special::kFolder,
                    kFolderReason},
        SpecialCase{"robustness: FIFO recovery log", kRecoveryFileName, Special::kFifo,
                    kOtherReason},
        SpecialCase{"robustness: recovery log linked to /dev/zero", kRecoveryFileName,
                    Special::kZeroDevice, kOtherReason},
        SpecialCase{"robustness: FIFO font settings", kFontSettingsFileName, Special::kFifo,
                    kOtherReason}));

}  // namespace
