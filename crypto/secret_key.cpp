#include "crypto/secret_key.h"

#include "store/errors.h"

#include <sodium.h>

#include <new>

#include <QCoreApplication>

namespace quillmere::crypto {

namespace {

// The contexts of the three derived keys (8 bytes each, libsodium's rule).
constexpr char kKdfContext[crypto_kdf_CONTEXTBYTES + 1] = "QMJOURNL";
constexpr uint64_t kStreamKeyId = 1;
constexpr uint64_t kCheckKeyId = 2;
constexpr uint64_t kRecordKeyId = 3;

static_assert(crypto_kdf_KEYBYTES == kKeySize);
static_assert(crypto_pwhash_SALTBYTES == kSaltSize);

// Bytes held in guarded memory for the life of one derivation.
class GuardedBytes {
public:
    explicit GuardedBytes(size_t size) : size_(size), data_(sodium_malloc(size)) {
        if (data_ == nullptr) {
            throw Error(QCoreApplication::translate("quillmere::SecretKey", "Not enough memory to hold the key"));
        }
    }
    ~GuardedBytes() { sodium_free(data_); }  // sodium_free wipes first
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    unsigned char* data() { return static_cast<unsigned char*>(data_); }
    size_t size() const { return size_; }

private:
    size_t size_;
    void* data_;
};

}  // namespace

void RequireSodium() {
    static const int status = sodium_init();
    if (status < 0) {
        throw Error(QCoreApplication::translate("quillmere::SecretKey", "The encryption library could not be started"));
    }
}

bool KdfParamsAcceptable(const KdfParams& params) {
    return params.opslimit >= kMinOpslimit && params.opslimit <= kMaxOpslimit &&
           params.memlimit >= kMinMemlimit && params.memlimit <= kMaxMemlimit;
}

Salt RandomSalt() {
    RequireSodium();
    Salt salt;
    randombytes_buf(salt.data(), salt.size());
    return salt;
}

SecretKey::SecretKey(const QString& password, const Salt& salt, const KdfParams& params)
    : salt_(salt), params_(params) {
    RequireSodium();
    if (!KdfParamsAcceptable(params)) {
        throw Error(QCoreApplication::translate("quillmere::SecretKey", "Key derivation parameters out of bounds"));
    }
    // The password's bytes and Argon2id's output never sit in ordinary memory.
    const QByteArray utf8Source = password.toUtf8();
    GuardedBytes utf8(static_cast<size_t>(utf8Source.size()) + 1);
    std::copy(utf8Source.begin(), utf8Source.end(), utf8.data());
    GuardedBytes master(crypto_kdf_KEYBYTES);
    if (crypto_pwhash(master.data(), master.size(), reinterpret_cast<const char*>(utf8.data()),
                      static_cast<unsigned long long>(utf8Source.size()), salt.data(),
                      static_cast<unsigned long long>(params.opslimit),
                      static_cast<size_t>(params.memlimit), crypto_pwhash_ALG_ARGON2ID13) != 0) {
        throw Error(QCoreApplication::translate("quillmere::SecretKey", "Not enough memory to derive the key"));
    }
    keys_ = static_cast<unsigned char*>(sodium_malloc(3 * kKeySize));
    if (keys_ == nullptr) {
        throw Error(QCoreApplication::translate("quillmere::SecretKey", "Not enough memory to hold the key"));
    }
    crypto_kdf_derive_from_key(keys_, kKeySize, kStreamKeyId, kKdfContext, master.data());
    crypto_kdf_derive_from_key(keys_ + kKeySize, kKeySize, kCheckKeyId, kKdfContext, master.data());
    crypto_kdf_derive_from_key(keys_ + 2 * kKeySize, kKeySize, kRecordKeyId, kKdfContext,
                               master.data());
    sodium_mprotect_noaccess(keys_);
}

SecretKey::~SecretKey() {
    if (keys_ != nullptr) {
        sodium_mprotect_readwrite(keys_);
        sodium_memzero(keys_, 3 * kKeySize);
        sodium_free(keys_);
    }
}

SecretKey::Access::Access(const SecretKey& key) : key_(key) {
    std::lock_guard<std::mutex> hold(key_.mutex_);
    if (key_.readers_++ == 0) {
        sodium_mprotect_readonly(key_.keys_);
    }
}

SecretKey::Access::~Access() {
    std::lock_guard<std::mutex> hold(key_.mutex_);
    if (--key_.readers_ == 0) {
        sodium_mprotect_noaccess(key_.keys_);
    }
}

QString sodiumVersion() {
    return QString::fromLatin1(sodium_version_string());
}

}  // namespace quillmere::crypto
