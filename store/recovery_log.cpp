#include "store/recovery_log.h"

#include "store/coding.h"
#include "store/file_access.h"

#include <zlib.h>

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

RecoveryContents DecodeRecoveryLog(const QByteArray& bytes) {
    RecoveryContents contents;
    if (bytes.size() < kRecoveryHeaderSize || !bytes.startsWith(magic())) {
        contents.damaged = !bytes.isEmpty();
        return contents;
    }
    ByteReader reader(QByteArrayView(bytes).sliced(kRecoveryHeaderSize));
    contents.validSize = kRecoveryHeaderSize;
    while (reader.remaining() > 0) {
        const char* start = reader.position();
        uint32_t size = 0;
        uint32_t storedCrc = 0;
        uint8_t kind = 0;
        QByteArrayView payload;
        if (!reader.getFixed32(&size) || !reader.getFixed32(&storedCrc) ||
            !reader.getFixed8(&kind) || size > kRecoveryMaxPayload ||
            !reader.getBytes(size, &payload)) {
            contents.damaged = true;
            break;
        }
        uint32_t crc = checksum(QByteArrayView(start, 4));
        crc = static_cast<uint32_t>(
            crc32(crc, reinterpret_cast<const Bytef*>(start + 8), static_cast<uInt>(1 + size)));
        RecoveryRecord record;
        if (crc != storedCrc || !knownKind(kind) ||
            !decodePayload(static_cast<RecoveryKind>(kind), payload, &record)) {
            contents.damaged = true;
            break;
        }
        contents.records.push_back(std::move(record));
        contents.validSize = reader.position() - bytes.constData();
    }
    return contents;
}

bool RecoveryLog::exists() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return started_;
}

RecoveryContents RecoveryLog::recover() {
    std::lock_guard<std::mutex> hold(mutex_);
    if (!fileAccess().exists(path_)) {
        started_ = false;
        return {};
    }
    const QByteArray bytes = fileAccess().readAll(path_);
    RecoveryContents contents = DecodeRecoveryLog(bytes);
    if (contents.validSize == 0) {
        // Not even a header: start the file again.
        fileAccess().remove(path_);
        started_ = false;
    } else {
        if (contents.validSize < bytes.size()) {
            fileAccess().truncate(path_, contents.validSize);
        }
        started_ = true;
        size_ = contents.validSize;
    }
    return contents;
}

void RecoveryLog::append(const RecoveryRecord& record) {
    QByteArray bytes = EncodeRecoveryRecord(record);
    std::lock_guard<std::mutex> hold(mutex_);
    if (!started_) {
        bytes.prepend(magic().data(), kRecoveryHeaderSize);
        // A file left by a failed first append would hold a torn header.
        fileAccess().remove(path_);
    }
    try {
        fileAccess().appendDurably(path_, bytes);
    } catch (...) {
        // Records appended later must not follow a torn one.
        try {
            if (started_) {
                fileAccess().truncate(path_, size_);
            } else {
                fileAccess().remove(path_);
            }
        } catch (...) {
            // The reader drops a torn tail anyway; the first error is the one told.
        }
        throw;
    }
    size_ = (started_ ? size_ : 0) + bytes.size();
    started_ = true;
}

void RecoveryLog::remove() {
    std::lock_guard<std::mutex> hold(mutex_);
    fileAccess().remove(path_);
    started_ = false;
    size_ = 0;
}

}  // namespace quillmere
