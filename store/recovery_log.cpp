#include "store/recovery_log.h"

#include "store/coding.h"
#include "store/file_access.h"

#include <QDir>

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

// Reads the framed records from `start` on; `open` turns a record's kind,
// payload and file offset into a record, or refuses it.
template <typename Open>
void readRecords(const QByteArray& bytes, qsizetype start, RecoveryContents* contents, Open open) {
    ByteReader reader(QByteArrayView(bytes).sliced(start));
    contents->validSize = start;
    while (reader.remaining() > 0) {
        const char* begin = reader.position();
        uint32_t size = 0;
        uint32_t storedCrc = 0;
        uint8_t kind = 0;
        QByteArrayView payload;
        if (!reader.getFixed32(&size) || !reader.getFixed32(&storedCrc) ||
            !reader.getFixed8(&kind) || size > kRecoveryMaxPayload ||
            !reader.getBytes(size, &payload)) {
            contents->damaged = true;
            break;
        }
        uint32_t crc = checksum(QByteArrayView(begin, 4));
        crc = static_cast<uint32_t>(
            crc32(crc, reinterpret_cast<const Bytef*>(begin + 8), static_cast<uInt>(1 + size)));
        RecoveryRecord record;
        const auto offset = static_cast<uint64_t>(begin - bytes.constData());
        if (crc != storedCrc || !open(kind, payload, offset, &record)) {
            contents->damaged = true;
            break;
        }
        contents->records.push_back(std::move(record));
        contents->validSize = reader.position() - bytes.constData();
    }
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

RecoveryContents DecodeRecoveryLog(const QByteArray& bytes) {
    RecoveryContents contents;
    if (bytes.size() < kRecoveryHeaderSize || !bytes.startsWith(magic())) {
        contents.damaged = !bytes.isEmpty();
        return contents;
    }
    readRecords(bytes, kRecoveryHeaderSize, &contents,
                [](uint8_t kind, QByteArrayView payload, uint64_t, RecoveryRecord* record) {
                    return knownKind(kind) &&
                           decodePayload(static_cast<RecoveryKind>(kind), payload, record);
                });
    return contents;
}

RecoveryContents DecodeSealedRecoveryLog(const QByteArray& bytes, const FileCipher& cipher) {
    RecoveryContents contents;
    qsizetype headerSize = 0;
    if (!cipher.ownsLog(bytes, &headerSize)) {
        contents.damaged = !bytes.isEmpty();
        return contents;
    }
    readRecords(
        bytes, headerSize, &contents,
        [&cipher](uint8_t kind, QByteArrayView payload, uint64_t offset, RecoveryRecord* record) {
            if (kind != kSealedRecordKind) {
                return false;
            }
            const std::optional<QByteArray> inner = cipher.openRecord(payload, offset);
            if (!inner || inner->isEmpty() || !knownKind(uint8_t(inner->at(0)))) {
                return false;
            }
            return decodePayload(static_cast<RecoveryKind>(inner->at(0)),
                                 QByteArrayView(*inner).sliced(1), record);
        });
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

RecoveryContents RecoveryLog::recover() {
    std::lock_guard<std::mutex> hold(mutex_);
    if (!fileAccess().exists(path_)) {
        started_ = false;
        return {};
    }
    const QByteArray bytes = fileAccess().readAll(path_);
    const bool sealed = IsSealedRecoveryLog(bytes);
    qsizetype headerSize = 0;
    if (sealed && (!cipher_ || !cipher_->ownsLog(bytes, &headerSize))) {
        // Not this diary's key: the log is put aside whole, never dropped,
        // and this run starts a log of its own.
        const QString kept = path_ + QStringLiteral(".unread");
        fileAccess().writeAtomic(kept, bytes);
        fileAccess().remove(path_);
        started_ = false;
        const QString text = cipher_
                                 ? QStringLiteral(
                                       "\"%1\" is encrypted with another password and could not be "
                                       "replayed; it was kept as \"%2\"")
                                 : QStringLiteral(
                                       "\"%1\" is encrypted and could not be replayed without the "
                                       "diary's password; it was kept as \"%2\"");
        throw WrongKeyError(
            text.arg(QDir::toNativeSeparators(path_), QDir::toNativeSeparators(kept)));
    }
    RecoveryContents contents = decode(bytes);
    if (contents.validSize == 0) {
        // Not even a header: start the file again.
        fileAccess().remove(path_);
        started_ = false;
    } else if (sealed != static_cast<bool>(cipher_)) {
        // The other form (encryption was turned on or off by a run that then
        // ended abruptly): written again in this diary's form.
        const QByteArray fresh = encodeAll(contents.records, cipher_.get());
        fileAccess().writeAtomic(path_, fresh);
        started_ = true;
        size_ = fresh.size();
    } else {
        if (contents.validSize < bytes.size()) {
            fileAccess().truncate(path_, contents.validSize);
        }
        started_ = true;
        size_ = contents.validSize;
    }
    return contents;
}

void RecoveryLog::reseal(std::shared_ptr<const FileCipher> cipher) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (!started_ && !fileAccess().exists(path_)) {
        cipher_ = std::move(cipher);
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
    QByteArray bytes;
    if (!started_) {
        bytes = cipher_ ? cipher_->logHeader() : magic().toByteArray();
        // A file left by a failed first append would hold a torn header.
        fileAccess().remove(path_);
    }
    const auto offset = static_cast<uint64_t>(started_ ? size_ : bytes.size());
    bytes += cipher_ ? EncodeSealedRecoveryRecord(record, *cipher_, offset)
                     : EncodeRecoveryRecord(record);
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
