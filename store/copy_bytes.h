// Copying a byte range into a packet being written.
#pragma once

#include <QByteArrayView>

#include <cstring>

namespace quillmere {

// Copies `bytes` to dst and returns the position after them. An empty range
// may come with a null data pointer (an empty QByteArrayView, a name missing
// from an XML packet), which memcpy must never be given.
inline char* CopyBytes(char* dst, QByteArrayView bytes) {
    if (!bytes.isEmpty()) {
        std::memcpy(dst, bytes.data(), static_cast<size_t>(bytes.size()));
    }
    return dst + bytes.size();
}

}  // namespace quillmere
