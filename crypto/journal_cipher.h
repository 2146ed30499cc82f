// The diary's cipher: the store's FileCipher over a key derived from the
// password. Made when encryption is turned on or the password changed (a new
// random salt), or at the login from the header of the encrypted journal.
#pragma once

#include "crypto/secret_key.h"
#include "store/file_cipher.h"

#include <memory>

namespace quillmere::crypto {

class JournalCipher : public FileCipher {
public:
    // A new key for `password` with a fresh salt. Throws Error when the key
    // cannot be derived (memory).
    static std::shared_ptr<JournalCipher> create(const QString& password,
                                                 const KdfParams& params = kDefaultKdfParams);

    // The key of the encrypted data file that begins with `head` (its first
    // 104 bytes are enough), derived from `password`. Throws WrongKeyError
    // naming `path` when the password does not open the file, SealedDataError
    // for a header that cannot be read (newer version, absurd parameters).
    static std::shared_ptr<JournalCipher> unlock(QByteArrayView head, const QString& password,
                                                 const QString& path);

    // The key of the encrypted recovery log that begins with `head`.
    // Throws as unlock.
    static std::shared_ptr<JournalCipher> unlockLog(QByteArrayView head, const QString& password,
                                                    const QString& path);

    explicit JournalCipher(std::unique_ptr<SecretKey> key) : key_(std::move(key)) {}

    const SecretKey& key() const { return *key_; }

    // True when the encrypted data file beginning with `head` was written
    // under this key. Never throws.
    bool ownsFile(QByteArrayView head) const;

    QByteArray sealFile(QByteArrayView plain) const override;
    QByteArray openFile(QByteArrayView sealed, const QString& path) const override;
    IntactPlain openIntact(QByteArrayView sealed, const QString& path) const override;
    QByteArray logHeader() const override;
    bool ownsLog(QByteArrayView bytes, qsizetype* headerSize) const override;
    QByteArray sealRecord(QByteArrayView plain, uint64_t offset) const override;
    std::optional<QByteArray> openRecord(QByteArrayView sealed, uint64_t offset) const override;

private:
    std::unique_ptr<SecretKey> key_;
};

}  // namespace quillmere::crypto
