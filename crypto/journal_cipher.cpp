#include "crypto/journal_cipher.h"

#include "crypto/sealed_file.h"

#include <QCoreApplication>
#include <QDir>

namespace quillmere::crypto {

namespace {

[[noreturn]] void wrongPassword(const QString& path) {
    throw WrongKeyError(QCoreApplication::translate("quillmere::JournalCipher", "\"%1\" is encrypted with another password")
                            .arg(QDir::toNativeSeparators(path)));
}

}  // namespace

std::shared_ptr<JournalCipher> JournalCipher::create(const QString& password,
                                                     const KdfParams& params) {
    return std::make_shared<JournalCipher>(
        std::make_unique<SecretKey>(password, RandomSalt(), params));
}

std::shared_ptr<JournalCipher> JournalCipher::unlock(QByteArrayView head, const QString& password,
                                                     const QString& path) {
    const SealedFileHeader h = SealedFileHeader::DecodeFrom(head, path);
    auto cipher =
        std::make_shared<JournalCipher>(std::make_unique<SecretKey>(password, h.salt, h.params));
    if (!HeaderCheckMatches(cipher->key(), head, path)) {
        wrongPassword(path);
    }
    return cipher;
}

std::shared_ptr<JournalCipher> JournalCipher::unlockLog(QByteArrayView head,
                                                        const QString& password,
                                                        const QString& path) {
    const SealedLogHeader h = SealedLogHeader::DecodeFrom(head, path);
    auto cipher =
        std::make_shared<JournalCipher>(std::make_unique<SecretKey>(password, h.salt, h.params));
    if (!LogHeaderMatches(cipher->key(), head)) {
        wrongPassword(path);
    }
    return cipher;
}

bool JournalCipher::ownsFile(QByteArrayView head) const {
    try {
        return HeaderCheckMatches(*key_, head, QString());
    } catch (const Error&) {
        return false;
    }
}

QByteArray JournalCipher::sealFile(QByteArrayView plain) const {
    return SealDataFile(*key_, plain);
}

QByteArray JournalCipher::openFile(QByteArrayView sealed, const QString& path) const {
    return OpenDataFile(*key_, sealed, path);
}

IntactPlain JournalCipher::openIntact(QByteArrayView sealed, const QString& path) const {
    IntactChunks intact = OpenIntactChunks(*key_, sealed, path);
    IntactPlain result;
    result.plain = std::move(intact.plain);
    result.chunks = intact.chunks;
    result.complete = intact.complete;
    result.damagedAt = intact.damagedAt;
    return result;
}

QByteArray JournalCipher::logHeader() const {
    return SealedLogHeaderBytes(*key_);
}

bool JournalCipher::ownsLog(QByteArrayView bytes, qsizetype* headerSize) const {
    if (!LogHeaderMatches(*key_, bytes)) {
        return false;
    }
    *headerSize = kSealedLogHeaderSize;
    return true;
}

QByteArray JournalCipher::sealRecord(QByteArrayView plain, uint64_t offset) const {
    return SealRecord(*key_, plain, offset);
}

std::optional<QByteArray> JournalCipher::openRecord(QByteArrayView sealed, uint64_t offset) const {
    return OpenRecord(*key_, sealed, offset);
}

}  // namespace quillmere::crypto
