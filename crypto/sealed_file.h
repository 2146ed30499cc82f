// The encrypted form of a data file ("Journal.cds", "Journal.cds.bak") and of
// the recovery log ("Journal.recovery"). All integers little-endian; the
// bytes are documented in docs/encrypted-files.md.
//
// Data file:
//    0   8  magic "QMCRYPT" 0x1A
//    8   2  u16 format version (1; a newer one is refused)
//   10   1  u8  key derivation (2: Argon2id version 1.3)
//   11   1  u8  reserved (0)
//   12   4  u32 chunk size: plain bytes per chunk (1 MiB)
//   16   8  u64 Argon2id opslimit
//   24   8  u64 Argon2id memlimit in bytes
//   32  16  salt
//   48  24  XChaCha20-Poly1305 secretstream header
//   72  32  header check: BLAKE2b-256 of bytes 0..71 keyed with the check key
//  104      chunks: the plain bytes (the data packet) cut into chunks of the
//           chunk size, each pushed through the secretstream (17 bytes more
//           than its plain bytes); the last chunk, shorter or empty, carries
//           the FINAL tag and no other does
//
// Recovery log:
//    0   8  magic "QMRLOGX" 0x01
//    8   8  u64 Argon2id opslimit
//   16   8  u64 Argon2id memlimit in bytes
//   24  16  salt
//   40  32  header check: BLAKE2b-256 of bytes 0..39 keyed with the check key
//   72      records framed as in the plain log (store/recovery_log.h), each
//           payload sealed: 24-byte nonce, then XChaCha20-Poly1305 of the
//           plain payload with the record's file offset (u64) as associated
//           data
#pragma once

#include "crypto/secret_key.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace quillmere::crypto {

constexpr uint16_t kSealedFileVersion = 1;
constexpr uint8_t kKdfArgon2id13 = 2;
constexpr uint32_t kDefaultChunkSize = uint32_t(1) << 20;
constexpr uint32_t kMaxChunkSize = uint32_t(64) << 20;
constexpr int kStreamHeaderSize = 24;
constexpr int kCheckSize = 32;
constexpr int kChunkOverhead = 17;
constexpr int kSealedFileHeaderSize = 104;
constexpr int kSealedLogHeaderSize = 72;
constexpr int kRecordNonceSize = 24;
constexpr int kRecordOverhead = kRecordNonceSize + 16;

namespace fileheader {
constexpr int kMagic = 0;
constexpr int kVersion = 8;
constexpr int kKdf = 10;
constexpr int kReserved = 11;
constexpr int kChunkSize = 12;
constexpr int kOpslimit = 16;
constexpr int kMemlimit = 24;
constexpr int kSalt = 32;
constexpr int kStreamHeader = 48;
constexpr int kCheck = 72;
}  // namespace fileheader

namespace logheader {
constexpr int kMagic = 0;
constexpr int kOpslimit = 8;
constexpr int kMemlimit = 16;
constexpr int kSalt = 24;
constexpr int kCheck = 40;
}  // namespace logheader

// The header of an encrypted data file, without its check.
struct SealedFileHeader {
    uint16_t version = kSealedFileVersion;
    uint8_t kdf = kKdfArgon2id13;
    uint32_t chunkSize = kDefaultChunkSize;
    KdfParams params;
    Salt salt{};
    std::array<unsigned char, kStreamHeaderSize> streamHeader{};

    // Appends the first 72 bytes (everything the check covers).
    void EncodeTo(QByteArray* dst) const;
    // Reads the first 72 bytes of `bytes`. Throws SealedDataError naming
    // `path` for a short header, a newer version, an unknown key derivation,
    // a chunk size of 0 or above 64 MiB, or parameters outside the bounds.
    static SealedFileHeader DecodeFrom(QByteArrayView bytes, const QString& path);
};

// The salt and parameters of an encrypted log header. Throws SealedDataError
// naming `path` for a short header or parameters outside the bounds.
struct SealedLogHeader {
    KdfParams params;
    Salt salt{};
    static SealedLogHeader DecodeFrom(QByteArrayView bytes, const QString& path);
};

// The whole encrypted file of `plain` under `key`, in chunks of `chunkSize`.
QByteArray SealDataFile(const SecretKey& key, QByteArrayView plain,
                        uint32_t chunkSize = kDefaultChunkSize);

// The plain bytes of an encrypted data file. Throws WrongKeyError naming
// `path` when the file's salt, parameters or header check do not belong to
// `key`, SealedDataError naming `path` when a chunk was changed, reordered or
// cut off, or the header is unreadable.
QByteArray OpenDataFile(const SecretKey& key, QByteArrayView sealed, const QString& path);

// Whether the header check of an encrypted data file matches `key` (the
// password was right). Throws SealedDataError as SealedFileHeader::DecodeFrom.
bool HeaderCheckMatches(const SecretKey& key, QByteArrayView sealed, const QString& path);

// What a damaged encrypted file still gives: the plain bytes of every chunk
// before the first one that does not open (the stream cannot be followed past
// it).
struct IntactChunks {
    QByteArray plain;
    int chunks = 0;            // chunks opened
    bool complete = false;     // the stream ended with its FINAL chunk
    qsizetype damagedAt = -1;  // file offset of the first chunk that failed
};
// Throws WrongKeyError / SealedDataError as OpenDataFile does for the header;
// damage in the chunks is reported in the result instead.
IntactChunks OpenIntactChunks(const SecretKey& key, QByteArrayView sealed, const QString& path);

// The encrypted log's header under `key`.
QByteArray SealedLogHeaderBytes(const SecretKey& key);
// Whether an encrypted log's header belongs to `key`.
bool LogHeaderMatches(const SecretKey& key, QByteArrayView bytes);
// One record payload sealed at the log offset `offset`, and opened again
// (nothing when it was changed or moved).
QByteArray SealRecord(const SecretKey& key, QByteArrayView plain, uint64_t offset);
std::optional<QByteArray> OpenRecord(const SecretKey& key, QByteArrayView sealed, uint64_t offset);

}  // namespace quillmere::crypto
