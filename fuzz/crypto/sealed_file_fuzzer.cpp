// Feeds arbitrary bytes to the reader of encrypted data files and of the
// encrypted recovery log's records, under one fixed key. Besides crashes it
// checks the reader's promises: the whole file opens exactly when the chunk
// by chunk reading reaches its final chunk, with the same plain bytes, and
// everything else is refused with the reader's own errors.
//
// With the environment variable QUILLMERE_FUZZ_WRITE_SEEDS naming a folder,
// the program writes its seeds there (small files under its key, some cut
// into many tiny chunks so the two-thread reading is reached) and ends; the
// key's salt is fixed, so the seeds open, but each carries a fresh stream
// header, so no seed is checked in.
#include "crypto/sealed_file.h"
#include "store/errors.h"
#include "store/file_cipher.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace quillmere;
using namespace quillmere::crypto;

namespace {

const SecretKey& fuzzKey() {
    static const std::unique_ptr<SecretKey> key = [] {
        Salt salt;
        salt.fill(0x5A);
        return std::make_unique<SecretKey>(QStringLiteral("fuzzing"), salt,
                                           KdfParams{kMinOpslimit, kMinMemlimit});
    }();
    return *key;
}

void writeSeeds(const QString& folder) {
    QDir().mkpath(folder);
    QByteArray plain;
    for (int i = 0; i < 700; ++i) {
        plain.append(static_cast<char>((i * 37) & 0xFF));
    }
    struct Seed {
        const char* name;
        qsizetype plainBytes;
        uint32_t chunkSize;
    };
    const Seed seeds[] = {{"empty", 0, kDefaultChunkSize}, {"one_chunk", 200, kDefaultChunkSize},
                          {"exact_chunks", 256, 64},       {"two_chunks", 100, 64},
                          {"many_chunks", 700, 64},        {"tiny_chunks", 90, 8}};
    for (const Seed& seed : seeds) {
        QFile file(QDir(folder).filePath(QString::fromLatin1(seed.name)));
        if (!file.open(QIODevice::WriteOnly)) {
            std::abort();
        }
        file.write(
            SealDataFile(fuzzKey(), QByteArrayView(plain).first(seed.plainBytes), seed.chunkSize));
    }
    QFile record(QDir(folder).filePath(QStringLiteral("log_record")));
    if (!record.open(QIODevice::WriteOnly)) {
        std::abort();
    }
    record.write(SealRecord(fuzzKey(), QByteArrayView(plain).first(50), 72));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    if (const char* folder = std::getenv("QUILLMERE_FUZZ_WRITE_SEEDS")) {
        writeSeeds(QString::fromLocal8Bit(folder));
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = QStringLiteral("fuzzed.cds");
    const SecretKey& key = fuzzKey();

    // A log record read at two positions: it opens at most at the one it
    // was sealed for.
    const bool at72 = OpenRecord(key, bytes, 72).has_value();
    const bool at73 = OpenRecord(key, bytes, 73).has_value();
    if (at72 && at73) {
        __builtin_trap();
    }
    (void)LogHeaderMatches(key, bytes);

    std::optional<QByteArray> whole;
    try {
        whole = OpenDataFile(key, bytes, path);
    } catch (const WrongKeyError&) {
    } catch (const SealedDataError&) {
    }
    IntactChunks intact;
    try {
        intact = OpenIntactChunks(key, bytes, path);
    } catch (const WrongKeyError&) {
        if (whole) {
            __builtin_trap();  // opened whole, yet refused chunk by chunk
        }
        return 0;
    } catch (const SealedDataError&) {
        if (whole) {
            __builtin_trap();
        }
        return 0;
    }
    if (whole.has_value() != intact.complete) {
        __builtin_trap();  // the two readings disagree on the file
    }
    if (whole && *whole != intact.plain) {
        __builtin_trap();
    }
    if (!intact.complete && (intact.damagedAt < kSealedFileHeaderSize)) {
        if (intact.damagedAt != fileheader::kStreamHeader) {
            __builtin_trap();  // damage is placed inside the file's chunks
        }
    }
    if (intact.plain.size() > bytes.size()) {
        __builtin_trap();
    }
    return 0;
}
