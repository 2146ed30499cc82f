#include "store/recovery_log.h"

#include "store/coding.h"
#include "store/errors.h"
#include "store/file_access.h"

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

QByteArray EncodeRecoveryRecord(const RecoveryRecord& record) {
    const QByteArray payload = encodePayload(record);
    QByteArray bytes;
    bytes.reserve(kRecoveryRecordHeaderSize + payload.size());
    PutFixed32(&bytes, static_cast<uint32_t>(payload.size()));
    PutFixed32(&bytes, 0);  // the checksum, filled in below
    PutFixed8(&bytes, static_cast<uint8_t>(record.kind));
    bytes.append(payload);
    // The checksum covers everything of the record but itself.
    uint32_t crc = checksum(QByteArrayView(bytes.constData(), 4));
    crc = static_cast<uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(bytes.constData() + 8),
                                      static_cast<uInt>(bytes.size() - 8)));
    EncodeFixed32(bytes.data() + 4, crc);
    return bytes;
}

namespace {

// The intact record starting at `at`, if there is one there; `end` is where
// it ends.
bool intactRecordAt(QByteArrayView bytes, qsizetype at, RecoveryRecord* record, qsizetype* end) {
    if (at + kRecoveryRecordHeaderSize > bytes.size()) {
        return false;
    }
    const char* start = bytes.data() + at;
    const uint32_t size = DecodeFixed32(start);
    const uint32_t storedCrc = DecodeFixed32(start + 4);
    const auto kind = static_cast<uint8_t>(start[8]);
    if (!knownKind(kind) || size > kRecoveryMaxPayload ||
        qsizetype(size) > bytes.size() - at - kRecoveryRecordHeaderSize) {
        return false;
    }
    uint32_t crc = checksum(QByteArrayView(start, 4));
    crc = static_cast<uint32_t>(
        crc32(crc, reinterpret_cast<const Bytef*>(start + 8), static_cast<uInt>(1 + size)));
    const QByteArrayView payload(start + kRecoveryRecordHeaderSize, size);
    if (crc != storedCrc || !decodePayload(static_cast<RecoveryKind>(kind), payload, record)) {
        return false;
    }
    *end = at + kRecoveryRecordHeaderSize + qsizetype(size);
    return true;
}

// Where the damaged record at `at` ends: by its own length when that leads
// to the end or to an intact record, else at the next intact record found
// byte by byte (or the end).
qsizetype endOfDamage(QByteArrayView bytes, qsizetype at) {
    RecoveryRecord ignored;
    qsizetype ignoredEnd = 0;
    if (at + kRecoveryRecordHeaderSize <= bytes.size()) {
        const uint32_t size = DecodeFixed32(bytes.data() + at);
        const qsizetype end = at + kRecoveryRecordHeaderSize + qsizetype(size);
        if (size <= kRecoveryMaxPayload && end <= bytes.size() &&
            (end == bytes.size() || intactRecordAt(bytes, end, &ignored, &ignoredEnd))) {
            return end;
        }
    }
    for (qsizetype next = at + 1; next < bytes.size(); ++next) {
        if (intactRecordAt(bytes, next, &ignored, &ignoredEnd)) {
            return next;
        }
    }
    return bytes.size();
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
        at = endOfDamage(all, 0);
    }
    while (at < all.size()) {
        RecoveryRecord record;
        qsizetype end = 0;
        if (intactRecordAt(all, at, &record, &end)) {
            contents.records.push_back(std::move(record));
            contents.validSize = end;
            at = end;
            continue;
        }
        contents.damaged = true;
        ++contents.damagedStretches;
        at = endOfDamage(all, at);
    }
    return contents;
}

bool RecoveryLog::exists() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return started_;
}

bool RecoveryLog::mayRemove() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return !unreadable_;
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
    // Nothing is cut: damage stays until the data files hold this run and
    // the file is removed; appends go after it and are found again.
    started_ = !bytes.isEmpty();
    size_ = bytes.size();
    return DecodeRecoveryLog(bytes);
}

void RecoveryLog::append(const RecoveryRecord& record) {
    QByteArray bytes = EncodeRecoveryRecord(record);
    std::lock_guard<std::mutex> hold(mutex_);
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
            bytes.prepend(magic().data(), kRecoveryHeaderSize);
        }
    }
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
