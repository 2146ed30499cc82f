// The diary's key, derived from its password with Argon2id and held in
// libsodium's guarded memory: pages of their own, locked against swapping,
// inaccessible except while a caller reads them, and wiped when the key is
// dropped (at exit and when the program locks).
//
// One password gives three keys, kept apart by libsodium's key derivation
// from the Argon2id output (which is wiped at once): the data files' stream
// key, the key of the header check, and the recovery log's record key.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <mutex>

namespace quillmere::crypto {

// Argon2id's cost: passes over `memlimit` bytes of memory.
struct KdfParams {
    uint64_t opslimit = 0;
    uint64_t memlimit = 0;
    bool operator==(const KdfParams&) const = default;
};

// What new keys use: 256 MiB and the passes that take about 0.5 s on the
// machine the diary's files were measured on (see docs/encrypted-files.md).
constexpr uint64_t kDefaultMemlimit = uint64_t(256) << 20;
constexpr uint64_t kDefaultOpslimit = 3;
constexpr KdfParams kDefaultKdfParams{kDefaultOpslimit, kDefaultMemlimit};

// Bounds for parameters read from a file: a damaged or hostile header must
// not make the program allocate gigabytes or derive for minutes.
constexpr uint64_t kMinOpslimit = 1;
constexpr uint64_t kMaxOpslimit = 32;
constexpr uint64_t kMinMemlimit = uint64_t(8) << 10;
constexpr uint64_t kMaxMemlimit = uint64_t(1) << 30;

constexpr int kSaltSize = 16;

// The version of the libsodium library in use ("1.0.18"), for the About box.
// Never throws.
QString sodiumVersion();
constexpr int kKeySize = 32;
using Salt = std::array<unsigned char, kSaltSize>;

// True when `params` lie within the bounds above.
bool KdfParamsAcceptable(const KdfParams& params);

// A fresh random salt.
Salt RandomSalt();

// Makes sure libsodium is initialised. Throws Error when it cannot be.
void RequireSodium();

class SecretKey {
public:
    // Derives the keys from `password` (its UTF-8 bytes) with Argon2id.
    // Throws Error "Not enough memory to derive the key" when Argon2id cannot
    // get its memory, and Error for parameters outside the bounds.
    SecretKey(const QString& password, const Salt& salt, const KdfParams& params);
    // Wipes the keys and frees their pages.
    ~SecretKey();
    SecretKey(const SecretKey&) = delete;
    SecretKey& operator=(const SecretKey&) = delete;

    const Salt& salt() const { return salt_; }
    const KdfParams& params() const { return params_; }

    // Read access to the keys for the life of the object; several readers
    // on several threads may hold one at once.
    class Access {
    public:
        explicit Access(const SecretKey& key);
        ~Access();
        Access(const Access&) = delete;
        Access& operator=(const Access&) = delete;
        const unsigned char* streamKey() const { return key_.keys_; }
        const unsigned char* checkKey() const { return key_.keys_ + kKeySize; }
        const unsigned char* recordKey() const { return key_.keys_ + 2 * kKeySize; }

    private:
        const SecretKey& key_;
    };

private:
    unsigned char* keys_ = nullptr;  // three keys of kKeySize bytes, guarded
    Salt salt_{};
    KdfParams params_;
    mutable std::mutex mutex_;
    mutable int readers_ = 0;
};

}  // namespace quillmere::crypto
