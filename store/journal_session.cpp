#include "store/journal_session.h"

#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_salvage.h"
#include "store/timestamp.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QLockFile>
#include <QtGlobal>

#include <algorithm>

namespace quillmere {

namespace {

// Whether the error of a data file that could not be opened names the file
// already (a file error always does).
bool namesTheFile(const Error& error, const QString& path) {
    return dynamic_cast<const FileError*>(&error) != nullptr ||
           error.message().contains(QDir::toNativeSeparators(path));
}

// The message of a data file whose content could not be read.
QString unreadableContentText(const QString& what, const QString& path, const QString& reason,
                              const QString& advice) {
    return QCoreApplication::translate("quillmere::JournalSession", "Cannot read the %1 \"%2\": %3\n\n%4")
        .arg(what, QDir::toNativeSeparators(path), reason, advice);
}

// The cipher's messages start with the file's name; after "Cannot read the
// diary "PATH":" the file is "it".
QString withoutLeadingPath(const QString& message, const QString& path) {
    const QString named = QStringLiteral("\"%1\" ").arg(QDir::toNativeSeparators(path));
    return message.startsWith(named) ? QStringLiteral("it ") + message.mid(named.size()) : message;
}

// Where the journal tool's salvage is pointed to. The tool never takes a
// password as an argument: it reads it from standard input or a file.
QString salvageAdvice(const QString& path, bool encrypted) {
    QString text = QCoreApplication::translate("quillmere::JournalSession",
                       "Its intact days can be rescued into a new file with the journal tool: "
                       "quillmere-journal salvage \"%1\" Rescued.cds")
                       .arg(QDir::toNativeSeparators(path));
    if (encrypted) {
        text += QStringLiteral(
            "\nThe diary is encrypted: the tool asks for its password on standard input, or "
            "reads it from the first line of a file named with --password-file FILE before "
            "the command. The rescued file is encrypted with the same password.");
    }
    return text;
}

}  // namespace

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
    journalLocked_ = false;
    journalDamaged_ = false;
    rescueOpen_ = false;
    try {
        journal_.OpenJournal(path);
    } catch (const KeyRequiredError& e) {
        // Not an error: the login derives the key from the password.
        lockedHead_ = e.head();
        journalLocked_ = true;
        return;
    } catch (const WrongKeyError&) {
        // Another password (or a damaged header): the login says so.
        throw;
    } catch (const SealedDataError& e) {
        // The password was right but the chunks do not all open: the intact
        // ones can still be rescued, with the same password.
        journalDamaged_ = fileAccess().status(path).kind == FileKind::kRegular;
        throw SealedDataError(unreadableContentText(QStringLiteral("diary"), path,
                                                    withoutLeadingPath(e.message(), path),
                                                    salvageAdvice(path, true)));
    } catch (const Error& e) {
        journalDamaged_ = dynamic_cast<const FileError*>(&e) == nullptr &&
                          fileAccess().status(path).kind == FileKind::kRegular;
        if (namesTheFile(e, path)) {
            throw;
        }
        throw Error(unreadableContentText(QStringLiteral("diary"), path, e.message(),
                                          salvageAdvice(path, cipher_ != nullptr)));
    }
    journalOpened_ = true;
    // What the table read, to tell at the end whether another program
    // changed the file meanwhile.
    journalRead_ = journal_.readFingerprint();
}

void JournalSession::OpenSettings() {
    const QString path = filePath(kSettingsFileName);
    try {
        settings_.OpenSettings(path);
    } catch (const Error& e) {
        if (namesTheFile(e, path)) {
            throw;
        }
        // An encrypted diary's password is checked by opening its journal,
        // which does not need the settings.
        throw Error(unreadableContentText(
            QStringLiteral("settings"), path, e.message(),
            journalLocked_ ? QStringLiteral("Until it can be read, new entries take no default "
                                            "font. The file is left as it is.")
                           : QCoreApplication::translate("quillmere::JournalSession", "Until it can be read, no password is asked and new "
                                            "entries take no default font. The file is left as "
                                            "it is.")));
    }
}

// --- Encryption ------------------------------------------------------------------

void JournalSession::useCipher(std::shared_ptr<const FileCipher> cipher) {
    cipher_ = cipher;
    journal_.setCipher(cipher);
    log_.setCipher(std::move(cipher));
}

void JournalSession::unlock(std::shared_ptr<const FileCipher> cipher) {
    const QByteArray head = lockedHead_;
    useCipher(std::move(cipher));
    try {
        OpenJournal();
    } catch (const WrongKeyError&) {
        useCipher(nullptr);
        lockedHead_ = head;
        journalLocked_ = true;
        throw;
    }
    lockedHead_.clear();
}

QByteArray JournalSession::backupForm(const QByteArray& previous,
                                      const std::shared_ptr<const FileCipher>& oldForm) const {
    if (!IsSealedDataFile(previous)) {
        return cipher_ ? cipher_->sealFile(previous) : previous;
    }
    if (!oldForm || oldForm == cipher_) {
        // Already in this diary's form, or of a key this run never had.
        return previous;
    }
    try {
        const QByteArray plain = oldForm->openFile(previous, filePath(kJournalBackupFileName));
        return cipher_ ? cipher_->sealFile(plain) : plain;
    } catch (const Error& e) {
        qWarning("%s", e.what());
        return previous;
    }
}

bool JournalSession::backupNeedsNewForm(const QString& path,
                                        const std::shared_ptr<const FileCipher>& oldForm) const {
    if (!cipher_ && !oldForm) {
        return false;  // a plain diary's backup is the previous file as it is
    }
    const std::shared_ptr<const OpenFile> file = fileAccess().openForReading(path);
    const QByteArray head = file->read(0, std::min(file->size(), qint64(kSealedHeadBytes)));
    if (!IsSealedDataFile(head)) {
        return cipher_ != nullptr;
    }
    return oldForm && oldForm != cipher_;
}

JournalSession::JournalWrite JournalSession::saveJournalFile(
    bool always, const std::shared_ptr<const FileCipher>& oldForm) {
    JournalWrite result;
    const QString path = filePath(kJournalFileName);
    // The previous file becomes the backup by a hard link taken just before
    // the new one is renamed into place, so the write needs no more free
    // space than the new file; only a previous file in another form than
    // this diary's is written as the backup in this diary's form first.
    QString keepAs = filePath(kJournalBackupFileName);
    if (fileAccess().exists(path)) {
        // Known by which file it is, its size and time (or its bytes when it
        // was read whole), so a plain journal is not read again here.
        if (journalChangedOnDisk()) {
            try {
                mergeChangedFile(merged_, oldForm);
            } catch (const Error& e) {
                // A file another program left unreadable (damaged, or
                // encrypted with another password) cannot be merged; it is
                // kept as the backup copy, and the user is told.
                qWarning("%s", e.what());
                result.keptAsBackup = e.message();
            }
        }
        if (backupNeedsNewForm(path, oldForm)) {
            const QByteArray previous = fileAccess().readAll(path);
            const QByteArray backup = backupForm(previous, oldForm);
            if (!backup.isSharedWith(previous)) {
                fileAccess().writeAtomic(keepAs, backup);
                keepAs.clear();
            }
        }
    }
    if (always ? journal_.saveAlways(keepAs) : journal_.save(keepAs)) {
        journalRead_ = journal_.readFingerprint();
        result.written = true;
        // The file now holds every day as this run has it: a later change
        // by another program is told apart from this one's from here on.
        originals_.clear();
    }
    takeMerged(result);
    return result;
}

JournalSession::JournalWrite JournalSession::changeCipher(std::shared_ptr<const FileCipher> cipher,
                                                          const QString& plainPassword) {
    if (locked_) {
        throw Error(QCoreApplication::translate("quillmere::JournalSession", "The diary is locked."));
    }
    if (!journal_.isOpen()) {
        throw Error(QCoreApplication::translate("quillmere::JournalSession",
            "The diary could not be read in this run, so its encryption cannot be changed."));
    }
    if (rescueOpen_) {
        throw Error(QStringLiteral(
            "The diary holds rescued days that are not kept yet, so its encryption cannot be "
            "changed in this run. Keep the rescued diary when Quillmere ends, then change it."));
    }
    waitForDrafts();
    journal_.cancel();
    const std::shared_ptr<const FileCipher> old = cipher_;
    const QString backup = filePath(kJournalBackupFileName);
    const bool hadJournal = fileAccess().exists(filePath(kJournalFileName));
    cipher_ = cipher;
    journal_.setCipher(cipher);
    JournalWrite result;
    try {
        result = saveJournalFile(true, old);
    } catch (...) {
        cipher_ = old;
        journal_.setCipher(old);
        throw;
    }
    // From here on "Journal.cds" is in the new form.
    if (!hadJournal && fileAccess().exists(backup)) {
        fileAccess().writeAtomic(backup, backupForm(fileAccess().readAll(backup), old));
    }
    try {
        log_.reseal(cipher);
    } catch (const Error& e) {
        // "Journal.cds" holds everything the log did: a log that cannot be
        // written again is started afresh in the new form.
        qWarning("%s", e.what());
        log_.setCipher(cipher);
        try {
            log_.remove();
        } catch (const Error& removal) {
            qWarning("%s", removal.what());
        }
    }
    if (settings_.isOpen() && !settings_.isEmpty()) {
        try {
            settings_.edit();
            settings_.setPassword(cipher ? QString() : plainPassword);
            settings_.post();
        } catch (...) {
            settings_.cancel();
            throw;
        }
        settings_.save();
    }
    return result;
}

QByteArray JournalSession::lock() {
    if (!cipher_ || locked_) {
        return {};
    }
    waitForDrafts();
    // Rescued days not yet kept are written only at the end, when the user
    // chose to keep them.
    if (journal_.isOpen() && journal_.isModified() && !rescueOpen_) {
        const JournalWrite written = saveJournalFile(false, cipher_);
        if (!written.keptAsBackup.isEmpty()) {
            emit errorOccurred(written.keptAsBackup);
        }
        // What a merge did is told with the write at the end of the run.
        merged_.fromFile.insert(merged_.fromFile.end(), written.fromFile.begin(),
                                written.fromFile.end());
        merged_.bothChanged.insert(merged_.bothChanged.end(), written.bothChanged.begin(),
                                   written.bothChanged.end());
    }
    lockCheck_ = cipher_->logHeader();
    // The last reference to the key goes: its pages are wiped and freed.
    useCipher(nullptr);
    locked_ = true;
    return lockCheck_;
}

void JournalSession::resume(std::shared_ptr<const FileCipher> cipher) {
    useCipher(std::move(cipher));
    locked_ = false;
    lockCheck_.clear();
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
            noteOriginal(record.day);
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
    for (const double day : days) {
        emit entryStored(day);
    }
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
    if (locked_) {
        throw Error(QCoreApplication::translate("quillmere::JournalSession", "The diary is locked."));
    }
    // The lookup's failure (a closed table) belongs to the caller.
    journal_.find(currentDay_);
    const double day = currentDay_;
    noteOriginal(day);
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
    emit entryStored(day);
    return true;
}

void JournalSession::noteOriginal(double day) {
    if (originals_.count(day) != 0) {
        return;
    }
    const int index = journal_.find(day);
    std::optional<QByteArray> original;
    if (index >= 0) {
        try {
            original = journal_.entryAt(index);
        } catch (const FileError& e) {
            // Read lazily from a file another program cut or rewrote since:
            // the day counts as new here, so a merge keeps both texts and the
            // user's text is stored all the same.
            qWarning("%s", e.what());
        }
    }
    originals_[day] = std::move(original);
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
    // Nothing reaches the log while the key is wiped.
    if (locked_ || (rtf == lastDraft_ && currentDay_ == lastDraftDay_)) {
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
    if (locked_) {
        throw Error(QCoreApplication::translate("quillmere::JournalSession", "The diary is locked."));
    }
    if (cipher_ && settings_.mode() != TableMode::kBrowse) {
        // No file of an encrypted diary holds its password.
        settings_.setPassword(QString());
    }
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

namespace {

// Whether two stored blobs hold the same RTF (equal bytes, or equal after
// inflating: another zlib may compress the same text differently).
bool sameEntry(const QByteArray& a, const QByteArray& b) {
    if (a == b) {
        return true;
    }
    try {
        return DecodeEntryContent(a) == DecodeEntryContent(b);
    } catch (const Error&) {
        return false;
    }
}

}  // namespace

void JournalSession::mergeChangedFile(JournalWrite& written,
                                      const std::shared_ptr<const FileCipher>& readWith) {
    JournalTable onDisk(QStringLiteral("tblJournal"));
    onDisk.setCipher(readWith);
    onDisk.OpenJournal(filePath(kJournalFileName));
    for (int i = 0; i < onDisk.recordCount(); ++i) {
        const double day = onDisk.dayAt(i);
        const QByteArray theirs = onDisk.entryAt(i);
        const int mine = journal_.find(day);
        if (mine >= 0 && storedEquals(mine, theirs)) {
            continue;
        }
        // A day this run left alone since the file was last read or written.
        if (originals_.count(day) == 0) {
            journal_.StoreDay(day, [&theirs] { return theirs; });
            written.fromFile.push_back(day);
            continue;
        }
        try {
            mergeDay(day, theirs, written);
        } catch (const Error& e) {
            // A day whose other text cannot be read keeps this run's text.
            qWarning("%s", e.what());
        }
    }
    onDisk.abandon();
}

void JournalSession::mergeDay(double day, const QByteArray& theirs, JournalWrite& written) {
    std::optional<QByteArray>& original = originals_[day];
    if (original && sameEntry(*original, theirs)) {
        return;  // only this run changed the day
    }
    const QByteArray ours = journal_.entryAt(journal_.find(day));
    if (sameEntry(ours, theirs)) {
        original = theirs;
        return;
    }
    if (original && sameEntry(*original, ours)) {
        // This run stored the day unchanged: the file's change counts.
        journal_.StoreDay(day, [&theirs] { return theirs; });
        original = theirs;
        written.fromFile.push_back(day);
        return;
    }
    if (!merger_) {
        qWarning("No merger: the changed file's text of a day is left to the backup copy");
        return;
    }
    journal_.StoreDay(day, [&] {
        return EncodeEntryContent(merger_(DecodeEntryContent(ours), DecodeEntryContent(theirs)));
    });
    // A second write (after a failed one) finds the file's text in it already.
    original = theirs;
    written.bothChanged.push_back(day);
}

JournalSession::JournalWrite JournalSession::writeJournal() {
    JournalWrite result;
    waitForDrafts();
    if (!journal_.isOpen()) {
        return result;
    }
    journal_.cancel();
    if (locked_) {
        // Never written without the key, rescued days included: the log
        // keeps the run for the next start (lock() wrote the journal).
        if (rescueOpen_ || journal_.isModified()) {
            return result;
        }
    } else if (rescueOpen_) {
        return writeRescuedJournal();
    }
    if (journal_.isModified()) {
        result = saveJournalFile(false, cipher_);
    } else {
        // Days a write during the run (the idle lock's) merged.
        takeMerged(result);
    }
    journal_.close();
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

bool JournalSession::storedEquals(int index, const QByteArray& blob) const {
    if (journal_.entrySizeAt(index) != blob.size()) {
        return false;
    }
    try {
        return journal_.entryAt(index) == blob;
    } catch (const FileError& e) {
        // The file this run read the day from was cut or rewritten in place
        // by another program: the file's text is the one left.
        qWarning("%s", e.what());
        return false;
    }
}

void JournalSession::takeMerged(JournalWrite& result) {
    // Days merged by a write that failed afterwards are told with the write
    // that succeeds.
    const auto take = [](std::vector<double>& from, std::vector<double>& to) {
        std::sort(from.begin(), from.end());
        from.erase(std::unique(from.begin(), from.end()), from.end());
        to = std::move(from);
        from.clear();
    };
    take(merged_.fromFile, result.fromFile);
    take(merged_.bothChanged, result.bothChanged);
}

QByteArray JournalSession::journalFileBytes(const QString& path) const {
    QByteArray bytes = journal_.dataset().savePacket(packetFormFor(path));
    if (cipher_) {
        bytes = cipher_->sealFile(bytes);
    }
    return bytes;
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
