// "Journal.recovery": an append-only log of everything stored during a run,
// kept beside "Journal.cds" until that file has been written at a normal end.
// A run that is killed leaves the log behind; the next start replays it.
//
// Layout (all integers little-endian):
//
//   file header   8 bytes   "QMRLOG" 0x01 0x00   (magic, format version, reserved)
//   record        4 bytes   payload length N
//                 4 bytes   CRC-32 (zlib) of the length bytes, the kind byte and the payload
//                 1 byte    kind: 1 stored entry, 2 draft, 3 settings record
//                 N bytes   payload
//
//   stored entry, draft:  8 bytes  day (IEEE 754 double)
//                         rest     the entry content exactly as the journal
//                                  table holds it (the compressed RTF)
//   settings record:      1 byte   1 when the record exists, 0 when it does not
//                         2 bytes  length P, then P bytes of the password (UTF-8)
//                         2 bytes  length F, then F bytes of the font name (UTF-8)
//                         4 bytes  font size (signed)
//                         4 bytes  font colour (signed, 0x00BBGGRR)
//
// A record is complete only when its whole payload is present and its CRC
// matches; reading stops at the first record that is not (a torn write at
// the moment of a crash), and everything before it counts.
//
// An encrypted diary's log starts with the encrypted log header instead
// (magic "QMRLOGX" 0x01, see crypto/sealed_file.h) and frames every record
// the same way with kind 4: its payload is the plain kind byte and payload
// above, sealed by the diary's cipher for the record's offset in the file.
#pragma once

#include "store/file_cipher.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace quillmere {

inline constexpr char kRecoveryFileName[] = "Journal.recovery";
inline constexpr char kRecoveryMagic[] = "QMRLOG\x01\x00";
constexpr int kRecoveryHeaderSize = 8;
constexpr int kRecoveryRecordHeaderSize = 9;
// Larger payloads are taken for damage, not for an entry.
constexpr uint32_t kRecoveryMaxPayload = 512u * 1024u * 1024u;

enum class RecoveryKind : uint8_t { kStored = 1, kDraft = 2, kSettings = 3 };
// The framing kind of a record of an encrypted log.
constexpr uint8_t kSealedRecordKind = 4;

// The settings record as the log keeps it.
struct SettingsValues {
    bool exists = false;
    QString password;
    QString fontName;
    int fontSize = 0;
    int fontColor = 0;
    bool operator==(const SettingsValues&) const = default;
};

struct RecoveryRecord {
    RecoveryKind kind = RecoveryKind::kStored;
    double day = 0;           // stored entry and draft
    QByteArray content;       // stored entry and draft: the compressed entry
    SettingsValues settings;  // settings record
    bool operator==(const RecoveryRecord&) const = default;
};

// The bytes of one record, header included.
QByteArray EncodeRecoveryRecord(const RecoveryRecord& record);
// The same record sealed by `cipher` for the file offset `offset`.
QByteArray EncodeSealedRecoveryRecord(const RecoveryRecord& record, const FileCipher& cipher,
                                      uint64_t offset);

// What a log file holds.
struct RecoveryContents {
    std::vector<RecoveryRecord> records;  // the complete records, in order
    qint64 validSize = 0;                 // bytes up to the end of the last complete record
    bool damaged = false;                 // bytes followed that were not a complete record
};

// Decodes a whole log file. Never throws: a wrong header gives no records and
// validSize 0 (the file is then started afresh), damage ends the records.
RecoveryContents DecodeRecoveryLog(const QByteArray& bytes);
// Decodes an encrypted log written under `cipher`; a record that does not
// open counts as damage. A log of another key gives no records and
// validSize 0.
RecoveryContents DecodeSealedRecoveryLog(const QByteArray& bytes, const FileCipher& cipher);

// The log file of one data folder. append() may be called from several
// threads; each call writes one whole record and forces it to disk.
class RecoveryLog {
public:
    explicit RecoveryLog(const QString& path) : path_(path) {}

    const QString& path() const { return path_; }

    // The cipher records are written with (null: the plain log). Set before
    // recover() and append(); reseal() changes it for a log in use.
    void setCipher(std::shared_ptr<const FileCipher> cipher);

    // Reads the log left by a previous run (no file: nothing) and cuts a torn
    // or damaged tail off, so records appended after it are read again. A
    // log in the other form (plain while a cipher is set, or encrypted) is
    // read and written again in the cipher's form. Throws FileError naming
    // the file when it cannot be read or cut, KeyRequiredError for an
    // encrypted log without a cipher and WrongKeyError for one of another
    // key; the file then stays as it is and nothing is appended to it.
    RecoveryContents recover();

    // Writes the log's complete records again under `cipher` (null: plain),
    // replacing the file atomically, and appends under it from then on.
    // Throws FileError naming the file; the log then stays in its old form.
    void reseal(std::shared_ptr<const FileCipher> cipher);

    // Appends one record and forces it to disk before returning; the file and
    // its header are made by the first append. Throws FileError naming the
    // file (the record may then be partly written; recover() drops it).
    void append(const RecoveryRecord& record);

    // Removes the file: its content is in the data files now. Throws
    // FileError naming the file.
    void remove();

    // True while the file exists as far as this object knows.
    bool exists() const;

private:
    RecoveryContents decode(const QByteArray& bytes) const;
    QByteArray encodeAll(const std::vector<RecoveryRecord>& records,
                         const FileCipher* cipher) const;

    QString path_;
    std::shared_ptr<const FileCipher> cipher_;
    bool refused_ = false;  // a log this cipher cannot read: left alone
    mutable std::mutex mutex_;
    bool started_ = false;  // the file exists with its header
    qint64 size_ = 0;       // bytes of complete records, header included
};

}  // namespace quillmere
