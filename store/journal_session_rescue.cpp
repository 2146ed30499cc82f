// The rescue of a damaged "Journal.cds": its intact days read by the salvage
// reader, opened in memory, and written only when the user keeps them.
#include "store/journal_session.h"

#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_salvage.h"
#include "store/timestamp.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <set>

namespace quillmere {

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
        // An encrypted journal gives the chunks before its damage, opened
        // with the key the login gave.
        QString chunksLost;
        const QByteArray packet = salvageablePacket(bytes, cipher_.get(), path, &chunksLost);
        offer.restUnreadable = !chunksLost.isEmpty();
        SalvageResult salvaged = salvageJournalPacket(packet);
        if (salvaged.headerRows) {
            offer.diaryDays = static_cast<int>(std::min<quint32>(*salvaged.headerRows, INT_MAX));
        }
        for (SalvagedEntry& entry : salvaged.entries) {
            rescued_.emplace_back(entry.storedDate, std::move(entry.blob));
        }
        for (const SalvageLoss& loss : salvaged.losses) {
            offer.lostDays += loss.storedDate ? 1 : 0;
        }
    } catch (const Error& e) {
        // Not even the journal's layout (or no intact chunk): no day to
        // rescue.
        qWarning("%s", e.what());
    }
    offer.days = static_cast<int>(rescued_.size());
    // The log is only looked at here; recover() replays it.
    if (fileAccess().exists(log_.path())) {
        std::set<double> days;
        for (const RecoveryRecord& record : log_.peek().records) {
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
        fileAccess().writeAtomic(path, journalFileBytes(path));
    } else if (const QByteArray previous = fileAccess().readAll(path);
               FileFingerprint::of(previous) == damagedRead_) {
        // Kept byte for byte (still encrypted when it was).
        result.damagedKeptAs = keepDamagedJournal(previous);
        fileAccess().writeAtomic(path, journalFileBytes(path));
    } else {
        // Replaced meanwhile (a sync tool): merged like any changed file, and
        // kept as the backup copy in this diary's form.
        try {
            mergeChangedFile(merged_, cipher_);
        } catch (const Error& e) {
            qWarning("%s", e.what());
            result.keptAsBackup = e.message();
        }
        const QString backupPath = filePath(kJournalBackupFileName);
        const QByteArray backup = backupForm(previous, cipher_);
        if (backup.isSharedWith(previous)) {
            fileAccess().writeAtomicKeepingPrevious(path, journalFileBytes(path), backupPath);
        } else {
            fileAccess().writeAtomic(backupPath, backup);
            fileAccess().writeAtomic(path, journalFileBytes(path));
        }
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
    throw FileError(QCoreApplication::translate("quillmere::JournalSessionRescue", "Cannot write \"%1\": too many damaged copies of the diary")
                        .arg(QDir::toNativeSeparators(QDir(dataFolder_).filePath(stem))));
}

}  // namespace quillmere
