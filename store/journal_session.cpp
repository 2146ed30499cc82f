#include "store/journal_session.h"

#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"

#include <QDir>
#include <QLockFile>
#include <QtGlobal>

namespace quillmere {

JournalSession::JournalSession(const QString& dataFolder, QObject* parent)
    : QObject(parent),
      dataFolder_(dataFolder),
      log_(QDir(dataFolder).filePath(QString::fromLatin1(kRecoveryFileName))) {
    drafts_.setMaxThreadCount(1);
}

JournalSession::~JournalSession() {
    drafts_.waitForDone();
    journal_.abandon();
    settings_.abandon();
}

QString JournalSession::filePath(const char* fileName) const {
    return QDir(dataFolder_).filePath(QString::fromLatin1(fileName));
}

JournalSession::LockResult JournalSession::lockFolder() {
    try {
        lock_ = fileAccess().lock(filePath(kLockFileName));
    } catch (const Error& e) {
        qWarning("%s", e.what());
        return LockResult::kUnavailable;
    }
    return lock_ ? LockResult::kLocked : LockResult::kHeldByAnother;
}

// --- Opening ---------------------------------------------------------------------

void JournalSession::OpenJournal() {
    const QString path = filePath(kJournalFileName);
    journalRead_ = FileFingerprint{};
    journalOpened_ = false;
    journal_.OpenJournal(path);
    journalOpened_ = true;
    // What the table read, to tell at the end whether another program
    // changed the file meanwhile.
    journalRead_ = journal_.readFingerprint();
}

void JournalSession::OpenSettings() {
    settings_.OpenSettings(filePath(kSettingsFileName));
}

JournalSession::Recovered JournalSession::recover() {
    Recovered recovered;
    if (!journal_.isOpen()) {
        return recovered;
    }
    const RecoveryContents contents = log_.recover();
    recovered.logDamaged = contents.damaged;
    logDamaged_ = contents.damaged;
    std::set<double> days;
    std::set<double> drafts;  // days whose newest record is a draft
    for (const RecoveryRecord& record : contents.records) {
        if (record.kind == RecoveryKind::kSettings) {
            if (settings_.isOpen() && record.settings.exists) {
                try {
                    applySettings(record.settings);
                    recovered.settings = true;
                } catch (const Error& e) {
                    qWarning("%s", e.what());
                }
            }
            continue;
        }
        const QByteArray blob = record.content;
        try {
            journal_.StoreDay(record.day, [&blob] { return blob; });
            days.insert(record.day);
            if (record.kind == RecoveryKind::kDraft) {
                drafts.insert(record.day);
            } else {
                drafts.erase(record.day);
            }
        } catch (const Error& e) {
            // A record whose day the table cannot hold; the others still count.
            qWarning("%s", e.what());
        }
    }
    storedDays_.insert(days.begin(), days.end());
    recovered.days.assign(days.begin(), days.end());
    recovered.draftDays.assign(drafts.begin(), drafts.end());
    return recovered;
}

void JournalSession::applySettings(const SettingsValues& values) {
    try {
        if (settings_.isEmpty()) {
            settings_.insert();
        } else {
            settings_.edit();
        }
        settings_.setPassword(values.password);
        settings_.setFontName(values.fontName);
        settings_.setFontSize(values.fontSize);
        settings_.setFontColor(values.fontColor);
        settings_.post();
    } catch (...) {
        settings_.cancel();
        throw;
    }
}

// --- The day shown -----------------------------------------------------------------

void JournalSession::setCurrentDay(double day) {
    currentDay_ = day;
    emit currentDayChanged(day);
}

// --- Entries -------------------------------------------------------------------------

JournalSession::LoadedEntry JournalSession::loadEntry() {
    LoadedEntry entry;
    if (journal_.isEmpty()) {
        entry.tableEmpty = true;
        return entry;
    }
    entry.found = journal_.Locate(currentDay_);
    if (entry.found) {
        entry.rtf = DecodeEntryContent(journal_.JournalEntry());
    }
    emit entryLoaded(currentDay_, entry.found);
    return entry;
}

bool JournalSession::storeEntry(const std::function<QByteArray()>& rtf) {
    // The lookup's failure (a closed table) belongs to the caller.
    journal_.find(currentDay_);
    const double day = currentDay_;
    QByteArray blob;
    try {
        journal_.StoreDay(day, [&] {
            blob = EncodeEntryContent(rtf());
            return blob;
        });
    } catch (const Error& e) {
        emit errorOccurred(e.message());
        return false;
    }
    storedDays_.insert(day);
    lastDraft_.clear();
    // The log writer appends in the order records are handed over, so a
    // draft still on its way lands before this entry, never after it.
    drafts_.start([this, day, blob] {
        appendToLog(RecoveryRecord{RecoveryKind::kStored, day, blob, {}});
    });
    return true;
}

void JournalSession::appendToLog(const RecoveryRecord& record) {
    try {
        log_.append(record);
        noteInLog(record, true);
        logFailed_ = false;
    } catch (const Error& e) {
        noteInLog(record, false);
        if (!logFailed_) {
            logFailed_ = true;
            emit errorOccurred(e.message());
        }
    }
}

void JournalSession::noteInLog(const RecoveryRecord& record, bool kept) {
    std::lock_guard<std::mutex> hold(lostMutex_);
    // A later record of the same day (or settings) holds the newer state,
    // so it makes up for a lost one; a record of another day does not.
    if (record.kind == RecoveryKind::kSettings) {
        settingsLost_ = !kept;
    } else if (kept) {
        lostDays_.erase(record.day);
    } else {
        lostDays_.insert(record.day);
    }
}

void JournalSession::saveDraft(const QByteArray& rtf) {
    if (rtf == lastDraft_ && currentDay_ == lastDraftDay_) {
        return;
    }
    lastDraft_ = rtf;
    lastDraftDay_ = currentDay_;
    const double day = currentDay_;
    drafts_.start([this, day, rtf] {
        try {
            appendToLog(RecoveryRecord{RecoveryKind::kDraft, day, EncodeEntryContent(rtf), {}});
        } catch (const Error& e) {
            emit errorOccurred(e.message());
        }
    });
}

void JournalSession::waitForDrafts() {
    drafts_.waitForDone();
}

double JournalSession::findPreviousEntryDay() {
    const double start = currentDay_;
    try {
        return journal_.FindPreviousEntryDay(currentDay_,
                                             [this](double day) { setCurrentDay(day); });
    } catch (const Error& e) {
        emit errorOccurred(e.message());
        return start;
    }
}

double JournalSession::findNextEntryDay() {
    const double start = currentDay_;
    try {
        return journal_.FindNextEntryDay(currentDay_, [this](double day) { setCurrentDay(day); });
    } catch (const Error& e) {
        emit errorOccurred(e.message());
        return start;
    }
}

// --- Settings ------------------------------------------------------------------------

bool JournalSession::checkPassword(const QString& typed) const {
    return settings_.isEmpty() || settings_.Password() == typed;
}

SettingsValues JournalSession::settingsRecord() const {
    SettingsValues values;
    if (settings_.isEmpty()) {
        return values;
    }
    values.exists = true;
    values.password = settings_.Password();
    values.fontName = settings_.FontName();
    values.fontSize = settings_.FontSize();
    values.fontColor = settings_.FontColor();
    return values;
}

void JournalSession::postSettings() {
    settings_.post();
    RecoveryRecord record;
    record.kind = RecoveryKind::kSettings;
    record.settings = settingsRecord();
    appendToLog(record);
}

void JournalSession::readFontSettings() {
    fontSettings_ = ReadFontSettings(filePath(kFontSettingsFileName));
}

void JournalSession::writeFontSettings() {
    WriteFontSettings(filePath(kFontSettingsFileName), fontSettings_);
}

// --- Busy ------------------------------------------------------------------------------

void JournalSession::beginBusy() {
    if (++busyCount_ == 1) {
        emit busyChanged(true);
    }
}

void JournalSession::endBusy() {
    // An unpaired end must not release what another task still holds.
    if (busyCount_ == 0) {
        return;
    }
    if (--busyCount_ == 0) {
        emit busyChanged(false);
    }
}

// --- The end of a run -------------------------------------------------------------------

void JournalSession::writeSettings() {
    settings_.close();
}

std::vector<double> JournalSession::mergeChangedFile() {
    JournalTable onDisk(QStringLiteral("tblJournal"));
    onDisk.OpenJournal(filePath(kJournalFileName));
    std::vector<double> fromFile;
    for (int i = 0; i < onDisk.recordCount(); ++i) {
        const double day = onDisk.dayAt(i);
        if (storedDays_.count(day) != 0) {
            continue;
        }
        const int mine = journal_.find(day);
        const QByteArray blob = onDisk.entryAt(i);
        if (mine >= 0 && journal_.entrySizeAt(mine) == blob.size() &&
            journal_.entryAt(mine) == blob) {
            continue;
        }
        journal_.StoreDay(day, [&blob] { return blob; });
        fromFile.push_back(day);
    }
    onDisk.abandon();
    return fromFile;
}

JournalSession::JournalWrite JournalSession::writeJournal() {
    JournalWrite result;
    waitForDrafts();
    if (!journal_.isOpen()) {
        return result;
    }
    journal_.cancel();
    if (!journal_.isModified()) {
        journal_.close();
        return result;
    }
    if (journalChangedOnDisk()) {
        try {
            result.fromFile = mergeChangedFile();
        } catch (const Error& e) {
            // A file another program left unreadable cannot be merged; it
            // is kept as the backup copy when the new file is written.
            qWarning("%s", e.what());
        }
    }
    // The previous file becomes the backup by a hard link taken just before
    // the new one is renamed into place, so the write needs no more free
    // space than the new file.
    journal_.closeKeepingPrevious(filePath(kJournalBackupFileName));
    result.written = true;
    return result;
}

bool JournalSession::journalChangedOnDisk() const {
    const QString path = filePath(kJournalFileName);
    const FileStatus status = fileAccess().status(path);
    if (status.kind != FileKind::kRegular) {
        return false;  // nothing there to merge: the new file is written
    }
    const FileFingerprint now = FileFingerprint::ofStatus(status);
    if (journalRead_.sameFileAs(now)) {
        return false;
    }
    if (!journalRead_.hasCrc) {
        // Read lazily: another file, or one written since, counts as changed;
        // the merge compares its entries with this run's.
        return true;
    }
    return !journalRead_.sameBytesAs(FileFingerprint::of(fileAccess().readAll(path)));
}

void JournalSession::saveJournalCopy(const QString& folder) const {
    journal_.writeCopy(QDir(folder).filePath(QString::fromLatin1(kJournalFileName)));
}

bool JournalSession::recoveryLogHoldsRun() {
    waitForDrafts();
    std::lock_guard<std::mutex> hold(lostMutex_);
    return lostDays_.empty() && !settingsLost_;
}

std::vector<double> JournalSession::daysMissingFromLog() {
    waitForDrafts();
    std::lock_guard<std::mutex> hold(lostMutex_);
    return std::vector<double>(lostDays_.begin(), lostDays_.end());
}

bool JournalSession::finishRun() {
    waitForDrafts();
    // A journal never read (damaged, locked) leaves the log to a run that can
    // read it; a table still open was not written.
    if (!journalOpened_ || journal_.isOpen() || settings_.isOpen() || !log_.mayRemove()) {
        return false;
    }
    // A damaged log is the only account of what could not be recovered: it
    // stays until the user has been told.
    if (logDamaged_ && !recoveryTold_) {
        return false;
    }
    log_.remove();
    return true;
}

}  // namespace quillmere
