// The seam through which the store keeps the files that hold entry text
// ("Journal.cds", "Journal.cds.bak", "Journal.recovery") encrypted. The store
// knows only this interface and the magic numbers that tell an encrypted file
// from a plain one; the cipher itself (key derivation, the encrypted file form)
// lives in the crypto layer above the store, which implements it.
//
// A diary without a cipher keeps every file in its plain form, byte for byte.
#pragma once

#include "store/errors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>

namespace quillmere {

// The first bytes of an encrypted data file and of an encrypted recovery log
// (the crypto layer documents the rest of their headers).
inline constexpr char kSealedFileMagic[] = "QMCRYPT\x1A";
inline constexpr char kSealedLogMagic[] = "QMRLOGX\x01";
constexpr int kSealedMagicSize = 8;

// True when `bytes` begin as an encrypted data file (whatever its key).
bool IsSealedDataFile(QByteArrayView bytes);
// True when `bytes` begin as an encrypted recovery log.
bool IsSealedRecoveryLog(QByteArrayView bytes);

// An encrypted file that this key does not open: another password, or a
// damaged header (the two cannot be told apart). The message names the file.
class WrongKeyError : public Error {
public:
    using Error::Error;
};

// An encrypted file whose content was changed, cut or reordered, or whose
// header is of a newer version or asks for absurd parameters. The message
// names the file.
class SealedDataError : public Error {
public:
    using Error::Error;
};

// An encrypted data file opened without a key. Carries the file's first bytes
// (enough for its header), so the login can derive the key from the password
// without reading the file again. The message names the file.
class KeyRequiredError : public Error {
public:
    KeyRequiredError(const QString& message, QByteArray head)
        : Error(message), head_(std::move(head)) {}
    const QByteArray& head() const noexcept { return head_; }

private:
    QByteArray head_;
};

// The first bytes of an encrypted file kept by KeyRequiredError.
constexpr qsizetype kSealedHeadBytes = 4096;

// What a damaged encrypted data file still gives: the plain bytes of every
// chunk before the first one that does not open (the stream cannot be
// followed past it).
struct IntactPlain {
    QByteArray plain;
    int chunks = 0;            // chunks opened
    bool complete = false;     // the file opened whole, up to its final chunk
    qsizetype damagedAt = -1;  // file offset of the first chunk that failed
};

class FileCipher {
public:
    virtual ~FileCipher() = default;

    // The encrypted form of a whole data file. Throws Error when the cipher
    // fails (memory).
    virtual QByteArray sealFile(QByteArrayView plain) const = 0;
    // The plain bytes of an encrypted data file; `path` names it in messages.
    // Throws WrongKeyError when the file is encrypted with another key and
    // SealedDataError when it is damaged, truncated or of a newer version.
    virtual QByteArray openFile(QByteArrayView sealed, const QString& path) const = 0;
    // What a damaged encrypted data file of this key still gives. Throws
    // WrongKeyError when the file is encrypted with another key and
    // SealedDataError when its header cannot be read; damage in the chunks
    // is told in the result instead.
    virtual IntactPlain openIntact(QByteArrayView sealed, const QString& path) const = 0;

    // The header an encrypted recovery log starts with.
    virtual QByteArray logHeader() const = 0;
    // Whether a log starting with `bytes` was written under this key; the
    // header's own size through `headerSize`. False for a plain log, a log of
    // another key or a damaged header.
    virtual bool ownsLog(QByteArrayView bytes, qsizetype* headerSize) const = 0;
    // One record's payload sealed for the log position `offset` (where the
    // record starts in the file), so a record moved elsewhere does not open.
    virtual QByteArray sealRecord(QByteArrayView plain, uint64_t offset) const = 0;
    // The plain payload, or nothing when the record was changed or moved.
    virtual std::optional<QByteArray> openRecord(QByteArrayView sealed, uint64_t offset) const = 0;
};

}  // namespace quillmere
