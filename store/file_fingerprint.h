// What a data file held when it was read: whether it existed, its size and
// the CRC-32 of its bytes (zlib's polynomial). Compared with the file on disk
// before writing, it tells whether another program changed the file meanwhile.
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace quillmere {

struct FileFingerprint {
    bool existed = false;
    qint64 size = 0;
    quint32 crc = 0;

    // The fingerprint of a file that held `bytes`. Never throws.
    static FileFingerprint of(QByteArrayView bytes);

    bool operator==(const FileFingerprint&) const = default;
};

}  // namespace quillmere
