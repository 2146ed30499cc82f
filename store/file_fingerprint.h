// What a data file was when it was read, to tell before writing it whether
// another program changed it meanwhile. A file read whole is known by the
// CRC-32 of its bytes (zlib's polynomial) as well; a file whose entries stay
// on disk is known by which file it is (device and inode) and its size and
// modification time, since reading all of it again would cost as much as the
// copy being avoided.
#pragma once

#include "store/file_access.h"

#include <QByteArrayView>
#include <QtGlobal>

namespace quillmere {

struct FileFingerprint {
    bool existed = false;
    qint64 size = 0;
    quint32 crc = 0;  // of the bytes, when they were read whole
    bool hasCrc = false;
    quint64 device = 0;  // which file, and when it changed: 0 when unknown
    quint64 inode = 0;
    qint64 modifiedNs = 0;

    // The fingerprint of a file that held `bytes`. Never throws.
    static FileFingerprint of(QByteArrayView bytes);
    // The fingerprint of a file by its status (FileAccess::status): which
    // file it is, its size and modification time, no CRC. A missing file
    // gives existed == false. Never throws.
    static FileFingerprint ofStatus(const FileStatus& status);
    // This fingerprint with the identity of `status` added.
    FileFingerprint withStatus(const FileStatus& status) const;

    // True when `now` (ofStatus of the file on disk) is surely the same file
    // as this one, unchanged: same device, inode, size and modification time.
    bool sameFileAs(const FileFingerprint& now) const;
    // True when `bytes` have this fingerprint's size and CRC.
    bool sameBytesAs(const FileFingerprint& other) const {
        return existed == other.existed && size == other.size && hasCrc && other.hasCrc &&
               crc == other.crc;
    }

    bool operator==(const FileFingerprint&) const = default;
};

}  // namespace quillmere
