#include "store/file_fingerprint.h"

#include <libdeflate.h>

namespace quillmere {

FileFingerprint FileFingerprint::of(QByteArrayView bytes) {
    // libdeflate's CRC-32 gives zlib's crc32() values, several times faster
    // on tens of megabytes.
    FileFingerprint print;
    print.existed = true;
    print.size = bytes.size();
    print.crc = libdeflate_crc32(0, bytes.data(), static_cast<std::size_t>(bytes.size()));
    print.hasCrc = true;
    return print;
}

FileFingerprint FileFingerprint::ofStatus(const FileStatus& status) {
    return FileFingerprint{}.withStatus(status);
}

FileFingerprint FileFingerprint::withStatus(const FileStatus& status) const {
    FileFingerprint print = *this;
    print.existed = status.kind != FileKind::kMissing;
    print.size = status.size;
    print.device = status.device;
    print.inode = status.inode;
    print.modifiedNs = status.modifiedNs;
    return print;
}

bool FileFingerprint::sameFileAs(const FileFingerprint& now) const {
    return existed && now.existed && inode != 0 && device == now.device && inode == now.inode &&
           size == now.size && modifiedNs == now.modifiedNs;
}

}  // namespace quillmere
