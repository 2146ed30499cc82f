// Little-endian byte helpers for the picture formats: fixed-width encoders
// that append to a QByteArray, and a bounds-checked reader that fails instead
// of reading past the end.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace quillmere::rtf {

inline void putU16(QByteArray& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
inline void putU32(QByteArray& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((v >> shift) & 0xFF);
    }
}
inline void putI32(QByteArray& out, std::int32_t v) {
    putU32(out, static_cast<std::uint32_t>(v));
}

// Reads fixed-width values at offsets of a byte range. Every read checks the
// range; a read past the end returns 0 and marks the reader failed.
class LeReader {
public:
    LeReader(const char* data, std::size_t size) : data_(data), size_(size) {}
    explicit LeReader(const QByteArray& bytes)
        : data_(bytes.constData()), size_(static_cast<std::size_t>(bytes.size())) {}

    bool has(std::size_t offset, std::size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    std::uint16_t u16(std::size_t offset) {
        if (!has(offset, 2)) {
            failed_ = true;
            return 0;
        }
        return static_cast<std::uint16_t>(byte(offset) | (byte(offset + 1) << 8));
    }
    std::uint32_t u32(std::size_t offset) {
        if (!has(offset, 4)) {
            failed_ = true;
            return 0;
        }
        return byte(offset) | (byte(offset + 1) << 8) | (byte(offset + 2) << 16) |
               (static_cast<std::uint32_t>(byte(offset + 3)) << 24);
    }
    std::int16_t i16(std::size_t offset) { return static_cast<std::int16_t>(u16(offset)); }
    std::int32_t i32(std::size_t offset) { return static_cast<std::int32_t>(u32(offset)); }
    const char* at(std::size_t offset) const { return data_ + offset; }
    std::size_t size() const { return size_; }
    bool failed() const { return failed_; }

private:
    std::uint32_t byte(std::size_t offset) const {
        return static_cast<unsigned char>(data_[offset]);
    }
    const char* data_;
    std::size_t size_;
    bool failed_ = false;
};

}  // namespace quillmere::rtf
