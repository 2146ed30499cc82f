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
// A record counts only when its whole payload is present and its CRC
// matches. A damaged record is skipped: by its length when that length ends
// at the end of the file or at the start of an intact record, else by
// searching byte by byte for the next intact record (a torn write at the
// moment of a crash, with records appended after it by a later run). One
// damaged record therefore costs that record only.
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
// Where an encrypted log that the diary's key does not open is put aside
// (the log's own name with this suffix).
inline constexpr char kUnreadRecoverySuffix[] = ".unread";
inline constexpr char kUnreadRecoveryFileName[] = "Journal.recovery.unread";
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
    std::vector<RecoveryRecord> records;  // the intact records, in order
    qint64 validSize = 0;                 // bytes up to the end of the last intact record
    bool damaged = false;                 // some bytes were not an intact record
    int damagedStretches = 0;             // stretches of such bytes skipped
};

// Decodes a whole log file. Never throws: a wrong header is damage, and the
// records after it are still looked for; damaged records are skipped.
RecoveryContents DecodeRecoveryLog(const QByteArray& bytes);
// Decodes an encrypted log written under `cipher`; a record that does not
// open (changed, moved) is damage and is skipped like a torn one. A log of
// another key gives no records.
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

    // Reads the log left by a previous run (no file: nothing). The file is
    // left exactly as it is, damage included, so that it is still there if
    // this run ends before the user was told; records appended later follow
    // it. Throws FileError naming the file when it cannot be read (a folder,
    // a FIFO or a device of that name included); the file is then never
    // removed by this object. A log in the other form than the cipher's
    // (encryption turned on or off by a run that then ended abruptly) is
    // written again in the cipher's form, its intact records only. An
    // encrypted log this cipher does not open is moved whole to
    // "Journal.recovery.unread" and WrongKeyError naming both is thrown.
    RecoveryContents recover();

    // What the log holds, read as recover() reads it (an encrypted log of
    // another key gives nothing), without changing the file or this
    // object. No file: nothing. Throws FileError naming the file when it
    // cannot be read.
    RecoveryContents peek() const;

    // Writes the log's intact records again under `cipher` (null: plain),
    // replacing the file atomically, and appends under it from then on; no
    // plain remnant stays in an encrypted diary's log. Throws FileError
    // naming the file; the log then stays in its old form.
    void reseal(std::shared_ptr<const FileCipher> cipher);

    // Appends one record and forces it to disk before returning; the file and
    // its header are made by the first append. A file already there (a log
    // that was not replayed) is appended to, never replaced. Throws FileError
    // naming the file; a partly written record is cut off again where
    // possible (and skipped by the reader where not).
    void append(const RecoveryRecord& record);

    // Removes the file: its content is in the data files now. Throws
    // FileError naming the file.
    void remove();

    // False when a file left by a previous run could not be read: removing
    // it would lose what it holds.
    bool mayRemove() const;

    // True while the file exists as far as this object knows.
    bool exists() const;

private:
    RecoveryContents decode(const QByteArray& bytes) const;
    QByteArray encodeAll(const std::vector<RecoveryRecord>& records,
                         const FileCipher* cipher) const;

    QString path_;
    std::shared_ptr<const FileCipher> cipher_;
    mutable std::mutex mutex_;
    bool started_ = false;     // the file exists (with its header, or a previous run's bytes)
    bool unreadable_ = false;  // recover() could not read the file there
    qint64 size_ = 0;          // bytes of the file before the next append
};

}  // namespace quillmere
