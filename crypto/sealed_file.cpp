#include "crypto/sealed_file.h"

#include "store/coding.h"
#include "store/file_cipher.h"
#include "store/memory_pages.h"

#include <QCoreApplication>
#include <QDir>

#include <sodium.h>

#include <thread>

namespace quillmere::crypto {

namespace {

static_assert(crypto_secretstream_xchacha20poly1305_HEADERBYTES == kStreamHeaderSize);
static_assert(crypto_secretstream_xchacha20poly1305_ABYTES == kChunkOverhead);
static_assert(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES == kRecordNonceSize);
static_assert(crypto_aead_xchacha20poly1305_ietf_ABYTES == 16);
static_assert(crypto_generichash_KEYBYTES == kKeySize);

constexpr int kCheckedFileBytes = fileheader::kCheck;
constexpr int kCheckedLogBytes = logheader::kCheck;

QString named(const QString& path) {
    return QDir::toNativeSeparators(path);
}

const unsigned char* bytesOf(QByteArrayView view) {
    return reinterpret_cast<const unsigned char*>(view.data());
}

unsigned char* bytesOf(QByteArray& bytes, qsizetype at = 0) {
    return reinterpret_cast<unsigned char*>(bytes.data()) + at;
}

std::array<unsigned char, kCheckSize> headerCheck(const SecretKey& key, QByteArrayView covered) {
    std::array<unsigned char, kCheckSize> check{};
    const SecretKey::Access access(key);
    crypto_generichash(check.data(), check.size(), bytesOf(covered),
                       static_cast<unsigned long long>(covered.size()), access.checkKey(),
                       kKeySize);
    return check;
}

bool checkMatches(const SecretKey& key, QByteArrayView bytes, int covered) {
    if (bytes.size() < covered + kCheckSize) {
        return false;
    }
    const auto expected = headerCheck(key, bytes.first(covered));
    return sodium_memcmp(expected.data(), bytesOf(bytes.sliced(covered)), kCheckSize) == 0;
}

void requireParams(const KdfParams& params, const QString& path) {
    if (!KdfParamsAcceptable(params)) {
        throw SealedDataError(
            QCoreApplication::translate("quillmere::SealedFile", "\"%1\" has an unreadable encryption header: its key would take %2 "
                           "passes over %3 KiB of memory to derive")
                .arg(named(path))
                .arg(params.opslimit)
                .arg(params.memlimit / 1024));
    }
}

void putSalt(QByteArray* dst, const Salt& salt) {
    dst->append(reinterpret_cast<const char*>(salt.data()), kSaltSize);
}

Salt saltAt(QByteArrayView bytes, int offset) {
    Salt salt;
    std::copy_n(bytesOf(bytes) + offset, kSaltSize, salt.begin());
    return salt;
}

}  // namespace

// --- Headers ----------------------------------------------------------------------

void SealedFileHeader::EncodeTo(QByteArray* dst) const {
    dst->append(kSealedFileMagic, kSealedMagicSize);
    PutFixed16(dst, version);
    PutFixed8(dst, kdf);
    PutFixed8(dst, 0);
    PutFixed32(dst, chunkSize);
    PutFixed64(dst, params.opslimit);
    PutFixed64(dst, params.memlimit);
    putSalt(dst, salt);
    dst->append(reinterpret_cast<const char*>(streamHeader.data()), kStreamHeaderSize);
}

SealedFileHeader SealedFileHeader::DecodeFrom(QByteArrayView bytes, const QString& path) {
    if (!IsSealedDataFile(bytes) || bytes.size() < kSealedFileHeaderSize) {
        throw SealedDataError(
            QCoreApplication::translate("quillmere::SealedFile", "\"%1\" is not a readable encrypted file: its header is cut short")
                .arg(named(path)));
    }
    SealedFileHeader h;
    h.version = DecodeFixed16(bytes.data() + fileheader::kVersion);
    if (h.version > kSealedFileVersion) {
        throw SealedDataError(QCoreApplication::translate("quillmere::SealedFile", "\"%1\" was encrypted by a newer version of "
                                             "Quillmere (form %2); this version reads form %3")
                                  .arg(named(path))
                                  .arg(h.version)
                                  .arg(kSealedFileVersion));
    }
    h.kdf = static_cast<uint8_t>(bytes[fileheader::kKdf]);
    if (h.version == 0 || h.kdf != kKdfArgon2id13) {
        throw SealedDataError(
            QCoreApplication::translate("quillmere::SealedFile", "\"%1\" has an unreadable encryption header: form %2, key derivation %3")
                .arg(named(path))
                .arg(h.version)
                .arg(h.kdf));
    }
    h.chunkSize = DecodeFixed32(bytes.data() + fileheader::kChunkSize);
    if (h.chunkSize == 0 || h.chunkSize > kMaxChunkSize) {
        throw SealedDataError(
            QCoreApplication::translate("quillmere::SealedFile", "\"%1\" has an unreadable encryption header: chunks of %2 bytes")
                .arg(named(path))
                .arg(h.chunkSize));
    }
    h.params.opslimit = DecodeFixed64(bytes.data() + fileheader::kOpslimit);
    h.params.memlimit = DecodeFixed64(bytes.data() + fileheader::kMemlimit);
    requireParams(h.params, path);
    h.salt = saltAt(bytes, fileheader::kSalt);
    std::copy_n(bytesOf(bytes) + fileheader::kStreamHeader, kStreamHeaderSize,
                h.streamHeader.begin());
    return h;
}

SealedLogHeader SealedLogHeader::DecodeFrom(QByteArrayView bytes, const QString& path) {
    if (!IsSealedRecoveryLog(bytes) || bytes.size() < kSealedLogHeaderSize) {
        throw SealedDataError(
            QCoreApplication::translate("quillmere::SealedFile", "\"%1\" is not a readable encrypted log: its header is cut short")
                .arg(named(path)));
    }
    SealedLogHeader h;
    h.params.opslimit = DecodeFixed64(bytes.data() + logheader::kOpslimit);
    h.params.memlimit = DecodeFixed64(bytes.data() + logheader::kMemlimit);
    requireParams(h.params, path);
    h.salt = saltAt(bytes, logheader::kSalt);
    return h;
}

// --- Data files -----------------------------------------------------------------------

QByteArray SealDataFile(const SecretKey& key, QByteArrayView plain, uint32_t chunkSize) {
    RequireSodium();
    SealedFileHeader h;
    h.chunkSize = chunkSize;
    h.params = key.params();
    h.salt = key.salt();
    crypto_secretstream_xchacha20poly1305_state state;
    {
        const SecretKey::Access access(key);
        crypto_secretstream_xchacha20poly1305_init_push(&state, h.streamHeader.data(),
                                                        access.streamKey());
    }
    const qsizetype fullChunks = plain.size() / chunkSize;
    const qsizetype lastChunk = plain.size() % chunkSize;
    const qsizetype total = kSealedFileHeaderSize + fullChunks * (chunkSize + kChunkOverhead) +
                            lastChunk + kChunkOverhead;
    QByteArray out;
    out.reserve(total);
    // Tens of megabytes written once: the pages come in with one request.
    PopulatePages(out.data(), static_cast<std::size_t>(total));
    h.EncodeTo(&out);
    const auto check = headerCheck(key, out);
    out.append(reinterpret_cast<const char*>(check.data()), kCheckSize);
    qsizetype at = out.size();
    out.resize(total);
    for (qsizetype i = 0; i <= fullChunks; ++i) {
        const bool last = i == fullChunks;
        const qsizetype size = last ? lastChunk : chunkSize;
        crypto_secretstream_xchacha20poly1305_push(
            &state, bytesOf(out, at), nullptr, bytesOf(plain) + i * chunkSize,
            static_cast<unsigned long long>(size), nullptr, 0,
            last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                 : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
        at += size + kChunkOverhead;
    }
    sodium_memzero(&state, sizeof state);
    return out;
}

bool HeaderCheckMatches(const SecretKey& key, QByteArrayView sealed, const QString& path) {
    const SealedFileHeader h = SealedFileHeader::DecodeFrom(sealed, path);
    return h.salt == key.salt() && h.params == key.params() &&
           checkMatches(key, sealed, kCheckedFileBytes);
}

IntactChunks OpenIntactChunks(const SecretKey& key, QByteArrayView sealed, const QString& path) {
    RequireSodium();
    const SealedFileHeader h = SealedFileHeader::DecodeFrom(sealed, path);
    if (!(h.salt == key.salt() && h.params == key.params()) ||
        !checkMatches(key, sealed, kCheckedFileBytes)) {
        throw WrongKeyError(
            QCoreApplication::translate("quillmere::SealedFile", "\"%1\" is encrypted with another password").arg(named(path)));
    }
    crypto_secretstream_xchacha20poly1305_state state;
    IntactChunks result;
    {
        const SecretKey::Access access(key);
        if (crypto_secretstream_xchacha20poly1305_init_pull(&state, h.streamHeader.data(),
                                                            access.streamKey()) != 0) {
            result.damagedAt = fileheader::kStreamHeader;
            return result;
        }
    }
    result.plain = QByteArray(sealed.size() - kSealedFileHeaderSize, Qt::Uninitialized);
    PopulatePages(result.plain.data(), static_cast<std::size_t>(result.plain.size()));
    qsizetype at = kSealedFileHeaderSize;
    qsizetype got = 0;
    const qsizetype step = qsizetype(h.chunkSize) + kChunkOverhead;
    while (!result.complete) {
        const qsizetype size = std::min(step, sealed.size() - at);
        unsigned long long plainSize = 0;
        unsigned char tag = 0;
        if (size < kChunkOverhead ||
            crypto_secretstream_xchacha20poly1305_pull(
                &state, bytesOf(result.plain, got), &plainSize, &tag, bytesOf(sealed) + at,
                static_cast<unsigned long long>(size), nullptr, 0) != 0) {
            result.damagedAt = at;
            break;
        }
        if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) {
            if (at + size != sealed.size()) {
                // Bytes after the final chunk: the file was tampered with.
                result.damagedAt = at + size;
                break;
            }
            result.complete = true;
        } else if (size < step || tag != crypto_secretstream_xchacha20poly1305_TAG_MESSAGE) {
            result.damagedAt = at;
            break;
        }
        got += static_cast<qsizetype>(plainSize);
        at += size;
        ++result.chunks;
    }
    result.plain.truncate(got);
    sodium_memzero(&state, sizeof state);
    return result;
}

namespace {

using StreamState = crypto_secretstream_xchacha20poly1305_state;
constexpr int kCounterBytes = 4;
constexpr int kInonceBytes = 8;
static_assert(sizeof(StreamState{}.nonce) == kCounterBytes + kInonceBytes);

// The stream state after a chunk whose authentication tag is `mac`: the
// secretstream's update after each message (its nonce's last 8 bytes XORed
// with the tag's first 8, its 32-bit counter incremented; no rekey happens
// before the counter wraps, which the caller rules out).
void advance(StreamState* state, const unsigned char* mac) {
    for (int i = 0; i < kInonceBytes; ++i) {
        state->nonce[kCounterBytes + i] ^= mac[i];
    }
    sodium_increment(state->nonce, kCounterBytes);
}

// Opens chunks [first, last) from `state` into `plain`; false when one does
// not authenticate or carries the wrong tag.
bool pullChunks(StreamState state, QByteArrayView sealed, qsizetype step, uint32_t chunkSize,
                qsizetype first, qsizetype last, qsizetype count, unsigned char* plain) {
    bool ok = true;
    for (qsizetype i = first; i < last && ok; ++i) {
        const qsizetype at = kSealedFileHeaderSize + i * step;
        const qsizetype size = std::min(step, sealed.size() - at);
        unsigned long long plainSize = 0;
        unsigned char tag = 0;
        ok = crypto_secretstream_xchacha20poly1305_pull(
                 &state, plain + i * chunkSize, &plainSize, &tag, bytesOf(sealed) + at,
                 static_cast<unsigned long long>(size), nullptr, 0) == 0 &&
             tag == (i + 1 == count ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                                    : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
    }
    sodium_memzero(&state, sizeof state);
    return ok;
}

// A file of several chunks opened by two threads, each taking half the
// chunks: the state before the second half is reached from the tags stored
// in the first half, and every chunk is still authenticated, so the file
// opens exactly when it opens chunk by chunk. Nothing when it does not open
// (the caller then finds out where, chunk by chunk).
std::optional<QByteArray> openInTwo(const SecretKey& key, QByteArrayView sealed,
                                    const SealedFileHeader& h) {
    const qsizetype step = qsizetype(h.chunkSize) + kChunkOverhead;
    const qsizetype body = sealed.size() - kSealedFileHeaderSize;
    const qsizetype count = (body + step - 1) / step;
    const qsizetype lastSize = body - (count - 1) * step;
    if (count < 4 || count >= (qsizetype(1) << 31) || lastSize < kChunkOverhead) {
        return std::nullopt;
    }
    StreamState first;
    {
        const SecretKey::Access access(key);
        if (crypto_secretstream_xchacha20poly1305_init_pull(&first, h.streamHeader.data(),
                                                            access.streamKey()) != 0) {
            return std::nullopt;
        }
    }
    const qsizetype middle = count / 2;
    StreamState second = first;
    for (qsizetype i = 0; i < middle; ++i) {
        const qsizetype end = kSealedFileHeaderSize + (i + 1) * step;
        advance(&second, bytesOf(sealed) + end - 16);
    }
    QByteArray plain(body - count * kChunkOverhead, Qt::Uninitialized);
    PopulatePages(plain.data(), static_cast<std::size_t>(plain.size()));
    unsigned char* out = bytesOf(plain);
    bool secondOk = false;
    std::thread worker([&] {
        secondOk = pullChunks(second, sealed, step, h.chunkSize, middle, count, count, out);
    });
    const bool firstOk = pullChunks(first, sealed, step, h.chunkSize, 0, middle, count, out);
    worker.join();
    sodium_memzero(&first, sizeof first);
    sodium_memzero(&second, sizeof second);
    if (!firstOk || !secondOk) {
        return std::nullopt;
    }
    return plain;
}

}  // namespace

QByteArray OpenDataFile(const SecretKey& key, QByteArrayView sealed, const QString& path) {
    const SealedFileHeader h = SealedFileHeader::DecodeFrom(sealed, path);
    if (h.salt == key.salt() && h.params == key.params() &&
        checkMatches(key, sealed, kCheckedFileBytes)) {
        RequireSodium();
        if (std::optional<QByteArray> plain = openInTwo(key, sealed, h)) {
            return std::move(*plain);
        }
    }
    IntactChunks opened = OpenIntactChunks(key, sealed, path);
    if (opened.complete) {
        return std::move(opened.plain);
    }
    if (opened.damagedAt >= sealed.size()) {
        throw SealedDataError(QCoreApplication::translate("quillmere::SealedFile", "\"%1\" is cut short: it ends after %2 encrypted "
                                             "chunks without its final chunk")
                                  .arg(named(path))
                                  .arg(opened.chunks));
    }
    throw SealedDataError(QCoreApplication::translate("quillmere::SealedFile", "\"%1\" is damaged: encrypted chunk %2 (at byte %3) was "
                                         "changed or cut short")
                              .arg(named(path))
                              .arg(opened.chunks + 1)
                              .arg(opened.damagedAt));
}

// --- The recovery log ---------------------------------------------------------------------

QByteArray SealedLogHeaderBytes(const SecretKey& key) {
    QByteArray out;
    out.append(kSealedLogMagic, kSealedMagicSize);
    PutFixed64(&out, key.params().opslimit);
    PutFixed64(&out, key.params().memlimit);
    putSalt(&out, key.salt());
    const auto check = headerCheck(key, out);
    out.append(reinterpret_cast<const char*>(check.data()), kCheckSize);
    return out;
}

bool LogHeaderMatches(const SecretKey& key, QByteArrayView bytes) {
    if (!IsSealedRecoveryLog(bytes) || bytes.size() < kSealedLogHeaderSize) {
        return false;
    }
    return DecodeFixed64(bytes.data() + logheader::kOpslimit) == key.params().opslimit &&
           DecodeFixed64(bytes.data() + logheader::kMemlimit) == key.params().memlimit &&
           saltAt(bytes, logheader::kSalt) == key.salt() &&
           checkMatches(key, bytes, kCheckedLogBytes);
}

QByteArray SealRecord(const SecretKey& key, QByteArrayView plain, uint64_t offset) {
    RequireSodium();
    char ad[8];
    EncodeFixed64(ad, offset);
    QByteArray out(kRecordOverhead + plain.size(), Qt::Uninitialized);
    randombytes_buf(out.data(), kRecordNonceSize);
    const SecretKey::Access access(key);
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        bytesOf(out, kRecordNonceSize), nullptr, bytesOf(plain),
        static_cast<unsigned long long>(plain.size()), reinterpret_cast<const unsigned char*>(ad),
        sizeof ad, nullptr, bytesOf(out), access.recordKey());
    return out;
}

std::optional<QByteArray> OpenRecord(const SecretKey& key, QByteArrayView sealed, uint64_t offset) {
    RequireSodium();
    if (sealed.size() < kRecordOverhead) {
        return std::nullopt;
    }
    char ad[8];
    EncodeFixed64(ad, offset);
    QByteArray plain(sealed.size() - kRecordOverhead, Qt::Uninitialized);
    const SecretKey::Access access(key);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            bytesOf(plain), nullptr, nullptr, bytesOf(sealed) + kRecordNonceSize,
            static_cast<unsigned long long>(sealed.size() - kRecordNonceSize),
            reinterpret_cast<const unsigned char*>(ad), sizeof ad, bytesOf(sealed),
            access.recordKey()) != 0) {
        return std::nullopt;
    }
    return plain;
}

}  // namespace quillmere::crypto
