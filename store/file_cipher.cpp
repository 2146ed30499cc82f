#include "store/file_cipher.h"

namespace quillmere {

bool IsSealedDataFile(QByteArrayView bytes) {
    return bytes.startsWith(QByteArrayView(kSealedFileMagic, kSealedMagicSize));
}

bool IsSealedRecoveryLog(QByteArrayView bytes) {
    return bytes.startsWith(QByteArrayView(kSealedLogMagic, kSealedMagicSize));
}

}  // namespace quillmere
