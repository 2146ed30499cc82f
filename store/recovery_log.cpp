#include "store/recovery_log.h"

#include "store/coding.h"
#include "store/errors.h"
#include "store/file_access.h"

#include <QDir>

#include <zlib.h>

#include <QCoreApplication>

namespace quillmere {

namespace {

constexpr int kDaySize = 8;

QByteArrayView magic() {
    return QByteArrayView(kRecoveryMagic, kRecoveryHeaderSize);
}

uint32_t checksum(QByteArrayView bytes) {
    return static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

void putText(QByteArray* dst, const QString& text) {
    const QByteArray utf8 = text.toUtf8().left(0xFFFF);
    PutFixed16(dst, static_cast<uint16_t>(utf8.size()));
    dst->append(utf8);
}

bool getText(ByteReader* reader, QString* text) {
    uint16_t size = 0;
    QByteArrayView bytes;
    if (!reader->getFixed16(&size) || !reader->getBytes(size, &bytes)) {
        return false;
    }
    *text = QString::fromUtf8(bytes);
    return true;
}

QByteArray encodePayload(const RecoveryRecord& record) {
    QByteArray payload;
    if (record.kind == RecoveryKind::kSettings) {
        const SettingsValues& s = record.settings;
        PutFixed8(&payload, s.exists ? 1 : 0);
        putText(&payload, s.password);
        putText(&payload, s.fontName);
        PutFixed32(&payload, static_cast<uint32_t>(s.fontSize));
        PutFixed32(&payload, static_cast<uint32_t>(s.fontColor));
        return payload;
    }
    payload.reserve(kDaySize + record.content.size());
    PutFixed64(&payload, DoubleBits(record.day));
    payload.append(record.content);
    return payload;
}

bool decodePayload(RecoveryKind kind, QByteArrayView payload, RecoveryRecord* record) {
    ByteReader reader(payload);
    record->kind = kind;
    if (kind == RecoveryKind::kSettings) {
        SettingsValues& s = record->settings;
        uint8_t exists = 0;
        uint32_t size = 0;
        uint32_t color = 0;
        if (!reader.getFixed8(&exists) || !getText(&reader, &s.password) ||
            !getText(&reader, &s.fontName) || !reader.getFixed32(&size) ||
            !reader.getFixed32(&color) || reader.remaining() != 0) {
            return false;
        }
        s.exists = exists != 0;
        s.fontSize = static_cast<int>(size);
        s.fontColor = static_cast<int>(color);
        return true;
    }
    uint64_t bits = 0;
    if (!reader.getFixed64(&bits)) {
        return false;
    }
    record->day = DoubleFromBits(bits);
    record->content = QByteArray(reader.position(), reader.remaining());
    return true;
}

bool knownKind(uint8_t kind) {
    return kind >= static_cast<uint8_t>(RecoveryKind::kStored) &&
           kind <= static_cast<uint8_t>(RecoveryKind::kSettings);
}

}  // namespace

namespace {

QByteArray frame(uint8_t kind, QByteArrayView payload) {
    QByteArray bytes;
    bytes.reserve(kRecoveryRecordHeaderSize + payload.size());
    PutFixed32(&bytes, static_cast<uint32_t>(payload.size()));
    PutFixed32(&bytes, 0);  // the checksum, filled in below
    PutFixed8(&bytes, kind);
    bytes.append(payload);
    // The checksum covers everything of the record but itself.
    uint32_t crc = checksum(QByteArrayView(bytes.constData(), 4));
    crc = static_cast<uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(bytes.constData() + 8),
                                      static_cast<uInt>(bytes.size() - 8)));
    EncodeFixed32(bytes.data() + 4, crc);
    return bytes;
}

}  // namespace

QByteArray EncodeRecoveryRecord(const RecoveryRecord& record) {
    return frame(static_cast<uint8_t>(record.kind), encodePayload(record));
}

QByteArray EncodeSealedRecoveryRecord(const RecoveryRecord& record, const FileCipher& cipher,
                                      uint64_t offset) {
    QByteArray inner;
    PutFixed8(&inner, static_cast<uint8_t>(record.kind));
    inner.append(encodePayload(record));
    return frame(kSealedRecordKind, cipher.sealRecord(inner, offset));
}

namespace {

// The intact record starting at `at`, if there is one there; `end` is where
// it ends.
// A sealed record's payload opened by `cipher` and decoded.
bool openSealed(const FileCipher& cipher, QByteArrayView payload, uint64_t offset,
                RecoveryRecord* record) {
    const std::optional<QByteArray> inner = cipher.openRecord(payload, offset);
    if (!inner || inner->isEmpty() || !knownKind(static_cast<uint8_t>(inner->at(0)))) {
        return false;
    }
    return decodePayload(static_cast<RecoveryKind>(inner->at(0)), QByteArrayView(*inner).sliced(1),
                         record);
}

// `cipher` is null for a plain log.
bool intactRecordAt(QByteArrayView bytes, qsizetype at, RecoveryRecord* record, qsizetype* end,
                    const FileCipher* cipher) {
    if (at + kRecoveryRecordHeaderSize > bytes.size()) {
        return false;
    }
    const char* start = bytes.data() + at;
    const uint32_t size = DecodeFixed32(start);
    const uint32_t storedCrc = DecodeFixed32(start + 4);
    const auto kind = static_cast<uint8_t>(start[8]);
    const bool kindFits = cipher ? kind == kSealedRecordKind : knownKind(kind);
    if (!kindFits || size > kRecoveryMaxPayload ||
        qsizetype(size) > bytes.size() - at - kRecoveryRecordHeaderSize) {
        return false;
    }
    uint32_t crc = checksum(QByteArrayView(start, 4));
    crc = static_cast<uint32_t>(
        crc32(crc, reinterpret_cast<const Bytef*>(start + 8), static_cast<uInt>(1 + size)));
    const QByteArrayView payload(start + kRecoveryRecordHeaderSize, size);
    if (crc != storedCrc) {
        return false;
    }
    if (cipher ? !openSealed(*cipher, payload, static_cast<uint64_t>(at), record)
               : !decodePayload(static_cast<RecoveryKind>(kind), payload, record)) {
        return false;
    }
    *end = at + kRecoveryRecordHeaderSize + qsizetype(size);
    return true;
}

// Where the damaged record at `at` ends: by its own length when that leads
// to the end or to an intact record, else at the next intact record found
// byte by byte (or the end).
qsizetype endOfDamage(QByteArrayView bytes, qsizetype at, const FileCipher* cipher) {
    RecoveryRecord ignored;
    qsizetype ignoredEnd = 0;
    if (at + kRecoveryRecordHeaderSize <= bytes.size()) {
        const uint32_t size = DecodeFixed32(bytes.data() + at);
        const qsizetype end = at + kRecoveryRecordHeaderSize + qsizetype(size);
        if (size <= kRecoveryMaxPayload && end <= bytes.size() &&
            (end == bytes.size() || intactRecordAt(bytes, end, &ignored, &ignoredEnd, cipher))) {
            return end;
        }
    }
    for (qsizetype next = at + 1; next < bytes.size(); ++next) {
        if (intactRecordAt(bytes, next, &ignored, &ignoredEnd, cipher)) {
            return next;
        }
    }
    return bytes.size();
}

}  // namespace

namespace {

// The records from `at` on, damage skipped.
void readRecords(QByteArrayView all, qsizetype at, const FileCipher* cipher,
                 RecoveryContents* contents) {
    while (at < all.size()) {
        RecoveryRecord record;
        qsizetype end = 0;
        if (intactRecordAt(all, at, &record, &end, cipher)) {
            contents->records.push_back(std::move(record));
            contents->validSize = end;
            at = end;
            continue;
        }
        contents->damaged = true;
        ++contents->damagedStretches;
        at = endOfDamage(all, at, cipher);
    }
}

}  // namespace

RecoveryContents DecodeRecoveryLog(const QByteArray& bytes) {
    RecoveryContents contents;
    const QByteArrayView all(bytes);
    qsizetype at = 0;
    if (bytes.startsWith(magic())) {
        at = kRecoveryHeaderSize;
        contents.validSize = kRecoveryHeaderSize;
    } else if (!bytes.isEmpty()) {
        // A damaged header: the records after it may still be intact.
        contents.damaged = true;
        ++contents.damagedStretches;
        at = endOfDamage(all, 0, nullptr);
    }
    readRecords(all, at, nullptr, &contents);
    return contents;
}

RecoveryContents DecodeSealedRecoveryLog(const QByteArray& bytes, const FileCipher& cipher) {
    RecoveryContents contents;
    qsizetype headerSize = 0;
    if (!cipher.ownsLog(bytes, &headerSize)) {
        contents.damaged = !bytes.isEmpty();
        return contents;
    }
    contents.validSize = headerSize;
    readRecords(QByteArrayView(bytes), headerSize, &cipher, &contents);
    return contents;
}

void RecoveryLog::setCipher(std::shared_ptr<const FileCipher> cipher) {
    std::lock_guard<std::mutex> hold(mutex_);
    cipher_ = std::move(cipher);
}

RecoveryContents RecoveryLog::decode(const QByteArray& bytes) const {
    if (IsSealedRecoveryLog(bytes)) {
        return cipher_ ? DecodeSealedRecoveryLog(bytes, *cipher_) : RecoveryContents{};
    }
    return DecodeRecoveryLog(bytes);
}

QByteArray RecoveryLog::encodeAll(const std::vector<RecoveryRecord>& records,
                                  const FileCipher* cipher) const {
    QByteArray bytes = cipher ? cipher->logHeader() : magic().toByteArray();
    for (const RecoveryRecord& record : records) {
        bytes += cipher ? EncodeSealedRecoveryRecord(record, *cipher, uint64_t(bytes.size()))
                        : EncodeRecoveryRecord(record);
    }
    return bytes;
}

bool RecoveryLog::exists() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return started_;
}

bool RecoveryLog::mayRemove() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return !unreadable_;
}

RecoveryContents RecoveryLog::peek() const {
    std::lock_guard<std::mutex> hold(mutex_);
    if (fileAccess().status(path_).kind == FileKind::kMissing) {
        return {};
    }
    return decode(fileAccess().readAll(path_));
}

RecoveryContents RecoveryLog::recover() {
    std::lock_guard<std::mutex> hold(mutex_);
    unreadable_ = false;
    if (fileAccess().status(path_).kind == FileKind::kMissing) {
        started_ = false;
        return {};
    }
    QByteArray bytes;
    try {
        bytes = fileAccess().readAll(path_);
    } catch (...) {
        unreadable_ = true;
        throw;
    }
    const bool sealed = IsSealedRecoveryLog(bytes);
    qsizetype headerSize = 0;
    if (sealed && (!cipher_ || !cipher_->ownsLog(bytes, &headerSize))) {
        // Not this diary's key: the log is put aside whole, never dropped,
        // and this run starts a log of its own.
        const QString kept = path_ + QLatin1String(kUnreadRecoverySuffix);
        fileAccess().writeAtomic(kept, bytes);
        fileAccess().remove(path_);
        started_ = false;
        size_ = 0;
        const QString text = cipher_
                                 ? QCoreApplication::translate("quillmere::RecoveryLog",
                                       "\"%1\" is encrypted with another password and could not be "
                                       "replayed; it was kept as \"%2\"")
                                 : QCoreApplication::translate("quillmere::RecoveryLog",
                                       "\"%1\" is encrypted and could not be replayed without the "
                                       "diary's password; it was kept as \"%2\"");
        throw WrongKeyError(
            text.arg(QDir::toNativeSeparators(path_), QDir::toNativeSeparators(kept)));
    }
    RecoveryContents contents = decode(bytes);
    if (!bytes.isEmpty() && sealed != static_cast<bool>(cipher_)) {
        // Encryption was turned on or off by a run that then ended abruptly:
        // the log is written again in this diary's form.
        const QByteArray fresh = encodeAll(contents.records, cipher_.get());
        fileAccess().writeAtomic(path_, fresh);
        started_ = true;
        size_ = fresh.size();
        return contents;
    }
    // Nothing is cut: damage stays until the data files hold this run and
    // the file is removed; appends go after it and are found again.
    started_ = !bytes.isEmpty();
    size_ = bytes.size();
    return contents;
}

void RecoveryLog::reseal(std::shared_ptr<const FileCipher> cipher) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (fileAccess().status(path_).kind == FileKind::kMissing) {
        cipher_ = std::move(cipher);
        started_ = false;
        size_ = 0;
        return;
    }
    const QByteArray bytes = fileAccess().readAll(path_);
    const RecoveryContents contents = decode(bytes);
    const QByteArray fresh = encodeAll(contents.records, cipher.get());
    fileAccess().writeAtomic(path_, fresh);
    cipher_ = std::move(cipher);
    started_ = true;
    size_ = fresh.size();
}

void RecoveryLog::append(const RecoveryRecord& record) {
    std::lock_guard<std::mutex> hold(mutex_);
    QByteArray header;
    if (!started_) {
        // A log no one replayed (the journal could not be read) stays in
        // front of the new records; a missing or empty file gets the header.
        const FileStatus found = fileAccess().status(path_);
        if (found.kind == FileKind::kFolder || found.kind == FileKind::kOther) {
            throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot write"), path_,
                                        QCoreApplication::translate("quillmere::Store", "not a regular file")));
        }
        size_ = found.kind == FileKind::kRegular ? found.size : 0;
        if (size_ == 0) {
            header = cipher_ ? cipher_->logHeader() : magic().toByteArray();
        }
    }
    // An encrypted record is sealed for the place it is written to.
    const auto offset = static_cast<uint64_t>(size_ + header.size());
    const QByteArray bytes =
        header + (cipher_ ? EncodeSealedRecoveryRecord(record, *cipher_, offset)
                          : EncodeRecoveryRecord(record));
    try {
        fileAccess().appendDurably(path_, bytes);
    } catch (...) {
        // Records appended later should not follow a torn one.
        try {
            if (size_ > 0) {
                fileAccess().truncate(path_, size_);
            } else {
                fileAccess().remove(path_);
            }
        } catch (...) {
            // The reader skips a torn record anyway; the first error is the one told.
        }
        throw;
    }
    size_ += bytes.size();
    started_ = true;
}

void RecoveryLog::remove() {
    std::lock_guard<std::mutex> hold(mutex_);
    fileAccess().remove(path_);
    started_ = false;
    size_ = 0;
}

}  // namespace quillmere
