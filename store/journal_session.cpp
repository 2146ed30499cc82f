#include "store/journal_session.h"

#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_salvage.h"
#include "store/timestamp.h"

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
QString unreadableContentText(const QString& what, const QString& path, const Error& error,
                              const QString& advice) {
    return QStringLiteral("Cannot read the %1 \"%2\": %3\n\n%4")
        .arg(what, QDir::toNativeSeparators(path), error.message(), advice);
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
    journalDamaged_ = false;
    rescueOpen_ = false;
    try {
        journal_.OpenJournal(path);
    } catch (const Error& e) {
        journalDamaged_ = dynamic_cast<const FileError*>(&e) == nullptr &&
                          fileAccess().status(path).kind == FileKind::kRegular;
        if (namesTheFile(e, path)) {
            throw;
        }
        throw Error(unreadableContentText(
            QStringLiteral("diary"), path, e,
            QStringLiteral("Its intact days can be rescued into a new file with the journal "
                           "tool: quillmere-journal salvage \"%1\" Rescued.cds")
                .arg(QDir::toNativeSeparators(path))));
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
        throw Error(
            unreadableContentText(QStringLiteral("settings"), path, e,
                                  QStringLiteral("Until it can be read, no password is asked "
                                                 "and new entries take no default font. The "
                                                 "file is left as it is.")));
    }
}

// --- A damaged journal -------------------------------------------------------------

JournalSession::RescueOffer JournalSession::prepareRescue() {
    RescueOffer offer;
    rescued_.clear();
    const QString path = filePath(kJournalFileName);
    if (!journalDamaged_ || fileAccess().status(path).kind != FileKind::kRegular) {
        return offer;
    }
    const QByteArray bytes = fileAccess().readAll(path);
    damagedRead_ = FileFingerprint::of(bytes);
    try {
        SalvageResult salvaged = salvageJournalPacket(bytes);
        for (SalvagedEntry& entry : salvaged.entries) {
            rescued_.emplace_back(entry.storedDate, std::move(entry.blob));
        }
        for (const SalvageLoss& loss : salvaged.losses) {
            offer.lostDays += loss.storedDate ? 1 : 0;
        }
    } catch (const Error& e) {
        // Not even the journal's layout: no day to rescue.
        qWarning("%s", e.what());
    }
    offer.days = static_cast<int>(rescued_.size());
    // The log is only looked at here; recover() replays it.
    if (fileAccess().exists(log_.path())) {
        std::set<double> days;
        for (const RecoveryRecord& record :
             DecodeRecoveryLog(fileAccess().readAll(log_.path())).records) {
            if (record.kind != RecoveryKind::kSettings) {
                days.insert(record.day);
            }
        }
        offer.logDays.assign(days.begin(), days.end());
    }
    return offer;
}

void JournalSession::openRescuedJournal() {
    // A table bound to no file: nothing of it reaches "Journal.cds" but
    // through writeRescuedJournal.
    journal_.OpenJournal(QString());
    try {
        for (const std::pair<double, QByteArray>& entry : rescued_) {
            journal_.StoreDay(StoredToDateTime(entry.first), [&entry] { return entry.second; });
        }
    } catch (...) {
        journal_.abandon();
        throw;
    }
    rescued_ = {};
    journalRead_ = damagedRead_;
    journalOpened_ = true;
    rescueOpen_ = true;
    rescueKept_ = false;
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
    return true;
}

void JournalSession::noteOriginal(double day) {
    if (originals_.count(day) != 0) {
        return;
    }
    const int index = journal_.find(day);
    originals_[day] =
        index >= 0 ? std::optional<QByteArray>(journal_.entryAt(index)) : std::nullopt;
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

void JournalSession::mergeChangedFile(JournalWrite& written) {
    JournalTable onDisk(QStringLiteral("tblJournal"));
    onDisk.OpenJournal(filePath(kJournalFileName));
    for (int i = 0; i < onDisk.recordCount(); ++i) {
        const double day = onDisk.dayAt(i);
        const QByteArray theirs = onDisk.entryAt(i);
        const int mine = journal_.find(day);
        if (mine >= 0 && journal_.entryViewAt(mine) == QByteArrayView(theirs)) {
            continue;
        }
        if (storedDays_.count(day) == 0) {
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
    if (rescueOpen_) {
        return writeRescuedJournal();
    }
    if (!journal_.isModified()) {
        journal_.close();
        return result;
    }
    const QString path = filePath(kJournalFileName);
    if (fileAccess().exists(path)) {
        const QByteArray previous = fileAccess().readAll(path);
        if (!(FileFingerprint::of(previous) == journalRead_)) {
            try {
                mergeChangedFile(merged_);
            } catch (const Error& e) {
                // A file another program left unreadable cannot be merged; it
                // is kept as the backup copy when the new file is written.
                qWarning("%s", e.what());
            }
        }
    }
    // The previous file becomes the backup by a hard link taken just before
    // the new one is renamed into place, so the write needs no more free
    // space than the new file.
    journal_.closeKeepingPrevious(filePath(kJournalBackupFileName));
    result.written = true;
    takeMerged(result);
    return result;
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

JournalSession::JournalWrite JournalSession::writeRescuedJournal() {
    JournalWrite result;
    if (!rescueKept_) {
        // Nothing on disk changes: the damaged file stays for another try,
        // and the recovery log keeps this run's text for the next start.
        journal_.abandon();
        journalOpened_ = false;
        rescueOpen_ = false;
        return result;
    }
    const QString path = filePath(kJournalFileName);
    if (!fileAccess().exists(path)) {
        fileAccess().writeAtomic(path, journal_.dataset().savePacket(packetFormFor(path)));
    } else if (const QByteArray previous = fileAccess().readAll(path);
               FileFingerprint::of(previous) == damagedRead_) {
        result.damagedKeptAs = keepDamagedJournal(previous);
        fileAccess().writeAtomic(path, journal_.dataset().savePacket(packetFormFor(path)));
    } else {
        // Replaced meanwhile (a sync tool): merged like any changed file, and
        // kept as the backup copy.
        try {
            mergeChangedFile(merged_);
        } catch (const Error& e) {
            qWarning("%s", e.what());
        }
        fileAccess().writeAtomicKeepingPrevious(path,
                                                journal_.dataset().savePacket(packetFormFor(path)),
                                                filePath(kJournalBackupFileName));
    }
    journal_.abandon();
    rescueOpen_ = false;
    result.written = true;
    takeMerged(result);
    return result;
}

QString JournalSession::keepDamagedJournal(const QByteArray& bytes) {
    const QString stem = QString::fromLatin1(kDamagedJournalPrefix) +
                         QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    constexpr int kMaxCopies = 1000;
    for (int n = 1; n <= kMaxCopies; ++n) {
        const QString name =
            n == 1 ? stem + QStringLiteral(".cds") : QStringLiteral("%1-%2.cds").arg(stem).arg(n);
        const QString path = QDir(dataFolder_).filePath(name);
        const FileStatus status = fileAccess().status(path);
        if (status.kind == FileKind::kMissing) {
            fileAccess().writeAtomic(path, bytes);
            return name;
        }
        // Kept already by an earlier try of this write.
        if (status.kind == FileKind::kRegular && status.size == bytes.size() &&
            fileAccess().readAll(path) == bytes) {
            return name;
        }
    }
    throw FileError(QStringLiteral("Cannot write \"%1\": too many damaged copies of the diary")
                        .arg(QDir::toNativeSeparators(QDir(dataFolder_).filePath(stem))));
}

void JournalSession::saveJournalCopy(const QString& folder) const {
    const QString path = QDir(folder).filePath(QString::fromLatin1(kJournalFileName));
    fileAccess().writeAtomic(path, journal_.dataset().savePacket(packetFormFor(path)));
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
