// Little-endian helpers for every binary format of the program: the store's
// data packets and recovery log, and the picture formats (DIB, EMF, WMF) of
// the RTF library. Every fixed-width integer goes through these: values are
// never copied in or out as structs, so the byte order does not depend on the
// machine.
//
//   EncodeFixedNN(dst, value)   writes NN/8 bytes at dst, lowest byte first
//   DecodeFixedNN(src)          reads them back
//   PutFixedNN(&bytes, value)   appends them to a QByteArray
//   ByteReader                  consumes a byte range front to back and
//                               refuses, instead of reading past its end
//   LeReader                    reads at offsets of a byte range; a read past
//                               its end gives 0 and marks the reader failed
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <cstring>

namespace quillmere {

inline void EncodeFixed16(char* dst, uint16_t value) {
    auto* p = reinterpret_cast<unsigned char*>(dst);
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
}

inline void EncodeFixed32(char* dst, uint32_t value) {
    auto* p = reinterpret_cast<unsigned char*>(dst);
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

inline void EncodeFixed64(char* dst, uint64_t value) {
    auto* p = reinterpret_cast<unsigned char*>(dst);
    for (int i = 0; i < 8; ++i) {
        p[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

inline uint16_t DecodeFixed16(const char* src) {
    const auto* p = reinterpret_cast<const unsigned char*>(src);
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t DecodeFixed32(const char* src) {
    const auto* p = reinterpret_cast<const unsigned char*>(src);
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | p[i];
    }
    return value;
}

inline uint64_t DecodeFixed64(const char* src) {
    const auto* p = reinterpret_cast<const unsigned char*>(src);
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | p[i];
    }
    return value;
}

// An IEEE 754 double as its 8 little-endian bytes, and back.
inline uint64_t DoubleBits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline double DoubleFromBits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void PutFixed8(QByteArray* dst, uint8_t value) {
    dst->append(static_cast<char>(value));
}

inline void PutFixed16(QByteArray* dst, uint16_t value) {
    char buf[2];
    EncodeFixed16(buf, value);
    dst->append(buf, 2);
}

inline void PutFixed32(QByteArray* dst, uint32_t value) {
    char buf[4];
    EncodeFixed32(buf, value);
    dst->append(buf, 4);
}

inline void PutFixed64(QByteArray* dst, uint64_t value) {
    char buf[8];
    EncodeFixed64(buf, value);
    dst->append(buf, 8);
}

// Reads a byte range from the front, consuming as it goes. Every getter returns
// false (and consumes nothing) when fewer bytes are left than it needs, so a
// damaged length or count can never make a caller read past the end.
class ByteReader {
public:
    ByteReader() = default;
    ByteReader(const char* data, qsizetype size) : data_(data), left_(size) {}
    explicit ByteReader(QByteArrayView bytes) : data_(bytes.data()), left_(bytes.size()) {}

    qsizetype remaining() const { return left_; }
    const char* position() const { return data_; }

    bool getFixed8(uint8_t* value) {
        if (left_ < 1) {
            return false;
        }
        *value = static_cast<uint8_t>(*data_);
        advance(1);
        return true;
    }
    bool getFixed16(uint16_t* value) { return get(2, value, DecodeFixed16); }
    bool getFixed32(uint32_t* value) { return get(4, value, DecodeFixed32); }
    bool getFixed64(uint64_t* value) { return get(8, value, DecodeFixed64); }

    // Hands out the next `count` bytes without copying them.
    bool getBytes(qsizetype count, QByteArrayView* bytes) {
        if (count < 0 || left_ < count) {
            return false;
        }
        *bytes = QByteArrayView(data_, count);
        advance(count);
        return true;
    }

    bool skip(qsizetype count) {
        if (count < 0 || left_ < count) {
            return false;
        }
        advance(count);
        return true;
    }

private:
    template <typename T, typename Decode>
    bool get(qsizetype width, T* value, Decode decode) {
        if (left_ < width) {
            return false;
        }
        *value = decode(data_);
        advance(width);
        return true;
    }
    void advance(qsizetype count) {
        data_ += count;
        left_ -= count;
    }

    const char* data_ = nullptr;
    qsizetype left_ = 0;
};

// Reads fixed-width values at offsets of a byte range, for formats whose
// records point at each other (metafiles, bitmap headers). Every read checks
// the range; a read past the end returns 0 and marks the reader failed, so a
// parser can read a whole record and check once.
class LeReader {
public:
    LeReader(const char* data, std::size_t size) : data_(data), size_(size) {}
    explicit LeReader(const QByteArray& bytes)
        : data_(bytes.constData()), size_(static_cast<std::size_t>(bytes.size())) {}

    bool has(std::size_t offset, std::size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    std::uint16_t u16(std::size_t offset) { return read<std::uint16_t>(offset, 2, DecodeFixed16); }
    std::uint32_t u32(std::size_t offset) { return read<std::uint32_t>(offset, 4, DecodeFixed32); }
    std::int16_t i16(std::size_t offset) { return static_cast<std::int16_t>(u16(offset)); }
    std::int32_t i32(std::size_t offset) { return static_cast<std::int32_t>(u32(offset)); }
    const char* at(std::size_t offset) const { return data_ + offset; }
    std::size_t size() const { return size_; }
    bool failed() const { return failed_; }

private:
    template <typename T>
    T read(std::size_t offset, std::size_t width, T (*decode)(const char*)) {
        if (!has(offset, width)) {
            failed_ = true;
            return 0;
        }
        return decode(data_ + offset);
    }

    const char* data_;
    std::size_t size_;
    bool failed_ = false;
};

}  // namespace quillmere
