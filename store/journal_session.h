// The diary's life, without any window: the journal and settings tables, the
// day shown, storing and loading entries, the skip searches, the font
// settings, the busy state, the recovery log, the lock on the data folder and
// the writing of the data files at the end. Windows are views of it: they call
// its operations and follow its signals.
//
// Files of the data folder:
//   "Journal.cds", "Settings.cds"   written only by endRun() and only when
//                                   their table changed
//   "Journal.cds.bak"               the previous "Journal.cds", kept at every
//                                   write of it
//   "Journal.recovery"              every stored entry, draft and settings
//                                   change of the run, on disk at once;
//                                   removed when the data files are written
//   "FontSettings.Ini"              the header font and the skip option
//   "Journal.lock"                  held while a program uses the folder
#pragma once

#include "store/font_settings.h"
#include "store/journal_table.h"
#include "store/recovery_log.h"
#include "store/settings_table.h"

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

class QLockFile;

namespace quillmere {

inline constexpr char kJournalFileName[] = "Journal.cds";
inline constexpr char kJournalBackupFileName[] = "Journal.cds.bak";
inline constexpr char kSettingsFileName[] = "Settings.cds";
inline constexpr char kLockFileName[] = "Journal.lock";
inline constexpr char kAlreadyRunningMessage[] = "Quillmere is already running with this diary.";

class JournalSession : public QObject {
    Q_OBJECT
public:
    // Nothing is read yet: lockFolder(), OpenJournal(), OpenSettings() and
    // recover() follow.
    explicit JournalSession(const QString& dataFolder, QObject* parent = nullptr);
    // Waits for a draft being written. Writes no data file: a session ended
    // without endRun() leaves the files as a killed program does, with the
    // recovery log for the next start.
    ~JournalSession() override;

    QString dataFolder() const { return dataFolder_; }
    // The path of a file of the data folder.
    QString filePath(const char* fileName) const;

    // --- One program per diary --------------------------------------------------

    enum class LockResult { kLocked, kHeldByAnother, kUnavailable };
    // Takes "Journal.lock" (a lock of a process that no longer runs is taken
    // over). kHeldByAnother: another running program uses the folder.
    // kUnavailable: no lock file can be made there (the program may still
    // run; nothing guards it then). Never throws.
    LockResult lockFolder();

    // --- Opening -------------------------------------------------------------------

    // Reads "Journal.cds" (missing: an empty table) and notes its size and
    // checksum, so endRun() sees a change by another writer. Throws as
    // JournalTable::OpenJournal; the table then stays closed.
    void OpenJournal();
    // Reads "Settings.cds". Throws as SettingsTable::OpenSettings.
    void OpenSettings();

    struct Recovered {
        std::vector<double> days;       // days whose entry came from the log, ascending
        std::vector<double> draftDays;  // those of them whose text is an unsaved draft
        bool settings = false;          // the settings record came from the log
        bool logDamaged = false;        // damaged records of the log were skipped
    };
    // Replays "Journal.recovery" left by a run that did not end normally:
    // stored entries and drafts become their day's entry in log order (so the
    // newest record of a day wins), the last settings record becomes the
    // settings record. Replayed changes count as changes of this run.
    // Damaged records are skipped and the rest replayed; a damaged log stays
    // on disk until userToldOfRecovery() was called and the run ended
    // normally. Nothing happens while the journal table is closed (the log is
    // then kept for a later run). Throws FileError naming the log when it
    // cannot be read.
    Recovered recover();

    // The user has seen what recover() found.
    void userToldOfRecovery() { recoveryTold_ = true; }

    JournalTable& journal() { return journal_; }
    const JournalTable& journal() const { return journal_; }
    SettingsTable& settings() { return settings_; }
    const SettingsTable& settings() const { return settings_; }
    RecoveryLog& recoveryLog() { return log_; }

    // --- The day shown ------------------------------------------------------------

    double currentDay() const { return currentDay_; }
    // currentDay := day; emits currentDayChanged. Nothing is loaded or stored.
    void setCurrentDay(double day);

    // --- Entries ---------------------------------------------------------------------

    struct LoadedEntry {
        bool tableEmpty = false;  // nothing to show at all: the editor stays as it is
        bool found = false;       // the day has an entry
        QByteArray rtf;           // its RTF when found
    };
    // The entry of currentDay. Emits entryLoaded unless the table is empty.
    // Throws ZlibError for a blob that does not inflate.
    LoadedEntry loadEntry();

    // Stores `rtf()` as the entry of currentDay: the day's record is updated
    // when it exists, else one is inserted; then the record is handed to the
    // log writer, which appends it to the recovery log and puts it on disk
    // after every record handed over before (the caller does not wait for
    // the disk; waitForDrafts does). The lookup's own failure (a closed
    // table) is thrown. A failure of the encoding or the post cancels the
    // record, emits errorOccurred with its message and gives false. A failure
    // of the log keeps the stored entry (true) and emits errorOccurred, from
    // the writer's thread, once until the log works again.
    bool storeEntry(const std::function<QByteArray()>& rtf);

    // Unsaved editor text of currentDay, kept as a draft: compressed and
    // appended to the log on a worker thread, so the caller never waits for
    // the disk. The same text twice in a row is written once.
    void saveDraft(const QByteArray& rtf);
    // Waits until every draft and stored entry handed over is on disk (or
    // failed).
    void waitForDrafts();

    // The nearest earlier / later day with an entry, walking through
    // setCurrentDay (called after currentDay moved one day). An error emits
    // errorOccurred and gives currentDay as it was when the search began.
    double findPreviousEntryDay();
    double findNextEntryDay();

    // --- Settings -------------------------------------------------------------------

    // True when there is no settings record or `typed` equals its password
    // exactly. A closed table asks for nothing.
    bool checkPassword(const QString& typed) const;
    // The settings record; exists is false when there is none (or the table
    // is closed).
    SettingsValues settingsRecord() const;
    // Stores the record being edited or inserted on the settings table (the
    // settings window fills it) and appends it to the log. Throws as
    // StoredTable::post; a failure of the log emits errorOccurred.
    void postSettings();

    // "FontSettings.Ini", read and written whole.
    const FontSettings& fontSettings() const { return fontSettings_; }
    void setFontSettings(const FontSettings& settings) { fontSettings_ = settings; }
    // Throws FileError.
    void readFontSettings();
    void writeFontSettings();
    bool skipEmptyEntries() const { return fontSettings_.skip; }
    void setSkipEmptyEntries(bool on) { fontSettings_.skip = on; }

    // --- Busy: a scan or an export walks the journal ------------------------------

    // Calls nest; busyChanged is emitted when the state flips.
    void beginBusy();
    void endBusy();
    bool busy() const { return busyCount_ > 0; }

    // --- The end of a run ---------------------------------------------------------

    // Writes "Settings.cds" if its record changed. Throws FileError naming the
    // file; the table then stays open, so this may be called again.
    void writeSettings();

    // What writeJournal did.
    struct JournalWrite {
        bool written = false;          // "Journal.cds" was rewritten
        std::vector<double> fromFile;  // days taken from a file changed meanwhile
    };
    // Writes "Journal.cds" if an entry changed. When the file changed on disk
    // since it was read (another program or a sync tool), the days this run
    // stored keep this run's entry and every other day takes the file's
    // entry. The previous file is kept as "Journal.cds.bak". Throws FileError
    // naming the file that failed; the table then stays open and may be
    // written again.
    JournalWrite writeJournal();

    // Writes this run's journal as "Journal.cds" into `folder` (when the data
    // folder cannot be written). Throws FileError naming the file.
    void saveJournalCopy(const QString& folder) const;

    // Removes the recovery log when both data files hold everything (they
    // were written, checked as written, or had nothing to write) and the log
    // was replayed or made by this run. Returns whether it was removed;
    // otherwise the log stays for the next start. Throws FileError.
    bool finishRun();

    // False while the recovery log misses a change of this run: a record of
    // a day (or of the settings) could not be appended, and no later record
    // of that day (or settings record) was appended since. Waits for drafts
    // being written first.
    bool recoveryLogHoldsRun();
    // The days whose newest text the recovery log misses, ascending.
    std::vector<double> daysMissingFromLog();

    // The days stored during this run (recovered days included).
    const std::set<double>& storedDays() const { return storedDays_; }

signals:
    void currentDayChanged(double day);
    void entryLoaded(double day, bool found);
    void busyChanged(bool busy);
    void errorOccurred(const QString& message);

private:
    void appendToLog(const RecoveryRecord& record);
    // Notes whether the log took `record` (log writer's thread).
    void noteInLog(const RecoveryRecord& record, bool kept);
    void applySettings(const SettingsValues& values);
    // True when "Journal.cds" on disk is not the file the journal was read
    // from as it was then. Throws FileError when a file read whole cannot be
    // read again for the comparison.
    bool journalChangedOnDisk() const;
    std::vector<double> mergeChangedFile();

    QString dataFolder_;
    JournalTable journal_;
    SettingsTable settings_;
    RecoveryLog log_;
    FontSettings fontSettings_;
    std::unique_ptr<QLockFile> lock_;
    double currentDay_ = 0;
    int busyCount_ = 0;
    std::set<double> storedDays_;
    std::atomic<bool> logFailed_ = false;  // told once until the log works again
    std::mutex lostMutex_;
    std::set<double> lostDays_;  // days whose newest record the log misses
    bool settingsLost_ = false;
    bool journalOpened_ = false;
    bool logDamaged_ = false;    // recover() skipped damaged records
    bool recoveryTold_ = false;  // the user has seen what recover() found
    // "Journal.cds" as it was read: whether it existed, which file it was,
    // its size and modification time (and CRC-32 when it was read whole).
    FileFingerprint journalRead_;
    QByteArray lastDraft_;
    double lastDraftDay_ = 0;
    QThreadPool drafts_;  // the log writer: one thread, records in the order handed over
};

}  // namespace quillmere
