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
//   "Journal.damaged-yyyy-mm-dd.cds"
//                                   a damaged "Journal.cds", kept when the
//                                   user made the days rescued from it the
//                                   diary
//
// An encrypted diary keeps "Journal.cds", "Journal.cds.bak" and
// "Journal.recovery" in the encrypted form of the session's cipher, and an
// empty password in "Settings.cds": the password is checked by opening the
// journal. A damaged journal kept aside stays in the form it had. Its other
// files stay as they are.
#pragma once

#include "store/file_cipher.h"
#include "store/font_settings.h"
#include "store/journal_table.h"
#include "store/recovery_log.h"
#include "store/settings_table.h"

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <map>
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
// A damaged "Journal.cds" replaced by its rescued days is kept as
// kDamagedJournalPrefix + "yyyy-mm-dd" (+ "-2", "-3", ... when that name is
// taken by other bytes) + ".cds".
inline constexpr char kDamagedJournalPrefix[] = "Journal.damaged-";

// One entry's RTF with the other side's RTF of the same day after it, as one
// document (the shell supplies it: the store reads no RTF). Throws Error when
// either cannot be read.
using EntryMerger = std::function<QByteArray(const QByteArray& ourRtf, const QByteArray& theirRtf)>;

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
    // checksum, so endRun() sees a change by another writer. An encrypted
    // journal without a cipher is not an error: the table stays closed and
    // journalLocked() is true until unlock(). On failure the table stays
    // closed: a FileError (it names the file) is thrown as it is, any other
    // error as Error "Cannot read the diary "PATH": <message>" followed by a
    // paragraph naming the journal tool's salvage command (and, for an
    // encrypted journal, where the tool reads the password from); the file
    // then counts as damaged (journalDamaged()) when it is a regular file.
    // WrongKeyError is thrown as it is; a damaged encrypted journal throws
    // SealedDataError with that text.
    void OpenJournal();
    // Reads "Settings.cds". On failure the table stays closed: a FileError is
    // thrown as it is, any other error as Error "Cannot read the settings
    // "PATH": <message>" followed by a paragraph saying that no password is
    // asked meanwhile.
    void OpenSettings();

    // --- A damaged journal ---------------------------------------------------------

    // True after OpenJournal failed on the content of a regular "Journal.cds"
    // (not on reading it), until a journal is opened.
    bool journalDamaged() const { return journalDamaged_; }

    // What can be brought back of a damaged journal.
    struct RescueOffer {
        int days = 0;      // entries the salvage reader can read
        int lostDays = 0;  // days it knows are lost
        // An encrypted journal whose stream could not be followed past the
        // damage: nothing after it can be read, whatever days it held.
        bool restUnreadable = false;
        int diaryDays = 0;            // days the journal's header counts (0: unknown)
        std::vector<double> logDays;  // days whose text "Journal.recovery" holds, ascending
        bool worthOpening() const { return days > 0 || !logDays.empty(); }
    };
    // Reads the damaged "Journal.cds" with the salvage reader and looks into
    // the recovery log, changing neither. Nothing when the journal is not
    // damaged. Throws FileError naming a file that cannot be read.
    RescueOffer prepareRescue();
    // Opens the journal table from the days prepareRescue() read (then
    // recover() replays the log over them). Nothing on disk changes: the
    // damaged file stays until keepRescuedJournal(true) and writeJournal().
    void openRescuedJournal();
    // True while the journal table holds rescued days whose writing the user
    // has not yet decided.
    bool rescueOpen() const { return rescueOpen_; }
    // The user's decision for writeJournal (not kept until called).
    void keepRescuedJournal(bool keep) { rescueKept_ = keep; }

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

    // What writeJournal did.
    struct JournalWrite {
        bool written = false;             // "Journal.cds" was rewritten
        std::vector<double> fromFile;     // days taken from a file changed meanwhile
        std::vector<double> bothChanged;  // days whose entry holds both texts now
        QString damagedKeptAs;            // file name the damaged journal was kept as
        // A file changed meanwhile that could not be read (another password,
        // damage): why, naming it; it is kept as "Journal.cds.bak".
        QString keptAsBackup;
    };

    // --- Encryption -------------------------------------------------------------------

    // True while "Journal.cds" is encrypted and no cipher opened it yet (at
    // the login), or while the session is locked.
    bool journalLocked() const { return journalLocked_ || locked_; }
    // True once the diary is encrypted (a cipher was given), also while
    // locked.
    bool encrypted() const { return cipher_ != nullptr || locked_; }
    // The cipher of an encrypted diary (null for a plain one and while
    // locked).
    const std::shared_ptr<const FileCipher>& cipher() const { return cipher_; }
    // The header with which the login checks the password after lock().
    const QByteArray& lockCheck() const { return lockCheck_; }
    // The first bytes of the encrypted journal found by OpenJournal, from
    // which the login derives the key.
    const QByteArray& lockedJournalHead() const { return lockedHead_; }
    // Opens the encrypted journal with `cipher`, which is used for every
    // file holding entry text from now on; the log is then replayed by
    // recover(). Throws WrongKeyError or SealedDataError naming the file (the
    // table stays closed; after a SealedDataError the session keeps the
    // cipher and counts as unlocked, with an unreadable journal).
    void unlock(std::shared_ptr<const FileCipher> cipher);

    // Turns encryption on (a cipher when there was none), changes the key
    // (another cipher) or turns it off (null). Every file holding entry
    // text is written again in the new form, each atomically: "Journal.cds"
    // from this run's journal (merged with a file changed meanwhile, as at
    // the end), the previous "Journal.cds" as "Journal.cds.bak", and the
    // recovery log; "Settings.cds" is written with `plainPassword` as its
    // password when turning encryption off, and with an empty one otherwise.
    // Throws Error when the journal is closed (unreadable), FileError naming
    // a file that could not be written; when "Journal.cds" failed nothing
    // changed, after it the session is in the new form.
    JournalWrite changeCipher(std::shared_ptr<const FileCipher> cipher,
                              const QString& plainPassword = QString());

    // Locks an encrypted diary (idle time): "Journal.cds" is written when it
    // changed, every draft put on disk, and the cipher dropped, which wipes
    // the key; nothing can be stored until resume(). Returns the header of
    // the encrypted log, with which the login checks the password again.
    // Throws FileError when the journal cannot be written (the session then
    // stays unlocked).
    QByteArray lock();
    bool locked() const { return locked_; }
    // Ends the lock with the cipher the password gave back.
    void resume(std::shared_ptr<const FileCipher> cipher);
    // The user has seen what recover() found.
    void userToldOfRecovery() { recoveryTold_ = true; }

    // Merges the text of a day that both this run and another program changed
    // (see writeJournal). Without one, such a day keeps this run's text.
    void setEntryMerger(EntryMerger merger) { merger_ = std::move(merger); }

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
    // the disk; waitForDrafts does). Emits entryStored when stored. The
    // lookup's own failure (a closed
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
    // exactly. A closed table asks for nothing. (An encrypted diary's
    // password is checked by opening its journal instead.)
    bool checkPassword(const QString& typed) const;
    // The settings record; exists is false when there is none (or the table
    // is closed).
    SettingsValues settingsRecord() const;
    // Stores the record being edited or inserted on the settings table (the
    // settings window fills it) and appends it to the log; an encrypted
    // diary stores an empty password. Throws as StoredTable::post; a failure
    // of the log emits errorOccurred.
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

    // Writes "Journal.cds" if an entry changed. When the file changed on disk
    // since it was read (another program or a sync tool), a day only the
    // file changed takes the file's entry, a day only this run changed keeps
    // this run's, and a day both changed gets the merger's document: this
    // run's text, then the file's. The previous file is kept as
    // "Journal.cds.bak".
    // Rescued days (openRescuedJournal) are written only when the user kept
    // them: the damaged file is first kept as "Journal.damaged-yyyy-mm-dd.cds"
    // (not as the backup copy, which may hold the last good diary); when they
    // were not kept nothing is written and the recovery log stays.
    // Throws FileError naming the file that failed; the table then stays open
    // and may be written again.
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
    // The entry of `day` was stored (by storeEntry, or replayed by recover()
    // once for each day): views of the diary's figures recount.
    void entryStored(double day);
    void entryLoaded(double day, bool found);
    void busyChanged(bool busy);
    void errorOccurred(const QString& message);

private:
    void appendToLog(const RecoveryRecord& record);
    void useCipher(std::shared_ptr<const FileCipher> cipher);
    // Writes "Journal.cds" now (`always`, or when it changed), merged with a
    // file changed on disk, the previous file kept as the backup in the
    // cipher's form; the table stays open.
    // `oldForm` reads the file on disk (the cipher before a change).
    JournalWrite saveJournalFile(bool always, const std::shared_ptr<const FileCipher>& oldForm);
    // The previous "Journal.cds" in this diary's form, for the backup.
    QByteArray backupForm(const QByteArray& previous,
                          const std::shared_ptr<const FileCipher>& oldForm) const;
    // Notes whether the log took `record` (log writer's thread).
    void noteInLog(const RecoveryRecord& record, bool kept);
    void applySettings(const SettingsValues& values);
    // True when "Journal.cds" on disk is not the file the journal was read
    // from (or last written) as it was then. Throws FileError when a file
    // read whole cannot be read again for the comparison.
    bool journalChangedOnDisk() const;
    // True when the journal's stored blob at `index` is `blob`; false too
    // when it can no longer be read from its file.
    bool storedEquals(int index, const QByteArray& blob) const;
    // True when the previous "Journal.cds" at `path` must be written as the
    // backup in this diary's form rather than kept as it is. Throws FileError.
    bool backupNeedsNewForm(const QString& path,
                            const std::shared_ptr<const FileCipher>& oldForm) const;
    // Notes what `day` held before this run first changed it.
    void noteOriginal(double day);
    // Takes the changes of a "Journal.cds" another program wrote meanwhile
    // into `written` (see writeJournal); `readWith` reads the file on disk.
    void mergeChangedFile(JournalWrite& written, const std::shared_ptr<const FileCipher>& readWith);
    void mergeDay(double day, const QByteArray& theirs, JournalWrite& written);
    JournalWrite writeRescuedJournal();
    // Moves the days merged so far into `result`.
    void takeMerged(JournalWrite& result);
    // Writes the damaged journal's bytes beside it under a name of its own;
    // that name.
    QString keepDamagedJournal(const QByteArray& bytes);
    // The journal table's data packet in this diary's form, built in memory
    // (the rescued journal's days are all there).
    QByteArray journalFileBytes(const QString& path) const;

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
    std::shared_ptr<const FileCipher> cipher_;
    QByteArray lockedHead_;
    QByteArray lockCheck_;
    bool journalLocked_ = false;
    bool locked_ = false;
    bool logDamaged_ = false;    // recover() skipped damaged records
    bool recoveryTold_ = false;  // the user has seen what recover() found
    // "Journal.cds" as it was read: whether it existed, which file it was,
    // its size and modification time (and CRC-32 when it was read whole).
    FileFingerprint journalRead_;
    // What each day this run stored held before (nothing: no entry), to tell
    // which side changed a day when the file was changed meanwhile.
    std::map<double, std::optional<QByteArray>> originals_;
    EntryMerger merger_;
    JournalWrite merged_;  // what merges did for a write not yet done
    bool journalDamaged_ = false;
    bool rescueOpen_ = false;
    bool rescueKept_ = false;
    std::vector<std::pair<double, QByteArray>> rescued_;  // stored date-time, blob
    FileFingerprint damagedRead_;
    QByteArray lastDraft_;
    double lastDraftDay_ = 0;
    QThreadPool drafts_;  // the log writer: one thread, records in the order handed over
};

}  // namespace quillmere
