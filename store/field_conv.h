// Value converters: how one column's or one attribute's value is laid out in a
// binary data packet, chosen from its type word.
//
//   fixed-size types      the value's bytes (1, 2, 4, 8, 10, 16 or the size)
//   varying types         the length as u8, u16 or u32, then that many bytes;
//                         a u32 length with its top bit set (negative) is the
//                         prefix alone, with no bytes after it
//   arrays                a u32 element count, then each element in its own
//                         element type's form
//
// Values handed to write() and returned by read() are the value bytes
// without any prefix (for an array: the count and elements as they stand).
#pragma once

#include "store/coding.h"

#include <QByteArrayView>

#include <cstdint>
#include <memory>

namespace quillmere {

// FLDConv: the converter of one column type: how many bytes a value of that
// type takes in a packet and how it is written and read back.
class FLDConv {
public:
    virtual ~FLDConv() = default;

    // Gives back anything held for the last value; binary converters hold
    // nothing, so this is a no-op kept for the converter contract.
    virtual void release() {}

    // Bytes write() produces for a value of `length` bytes.
    virtual qsizetype packedSize(qsizetype length) const = 0;

    // Writes the value at `dst`, which has room for packedSize(value.size())
    // bytes. A fixed-size value shorter than the type is padded with zeros.
    virtual void write(char* dst, QByteArrayView value) const = 0;

    // Reads one value from the front of `in`. Returns false, consuming an
    // unspecified amount, when the data ends before the value does.
    virtual bool read(ByteReader* in, QByteArrayView* value) const = 0;
};

// A value of a fixed number of bytes.
class FLDCFixed : public FLDConv {
public:
    explicit FLDCFixed(qsizetype size) : size_(size) {}
    qsizetype packedSize(qsizetype) const override { return size_; }
    void write(char* dst, QByteArrayView value) const override;
    bool read(ByteReader* in, QByteArrayView* value) const override;
    qsizetype size() const { return size_; }

private:
    qsizetype size_;
};

// Integers (and in binary packets booleans, dates and times), floats, SQL
// timestamps and BCD numbers are all their bytes; the classes exist so a
// converter says what it carries.
class FLDCInt8 : public FLDCFixed {
public:
    FLDCInt8() : FLDCFixed(1) {}
};
class FLDCInt16 : public FLDCFixed {
public:
    FLDCInt16() : FLDCFixed(2) {}
};
class FLDCInt32 : public FLDCFixed {
public:
    FLDCInt32() : FLDCFixed(4) {}
};
class FLDCInt64 : public FLDCFixed {
public:
    FLDCInt64() : FLDCFixed(8) {}
};
class FLDCFloat : public FLDCFixed {
public:
    FLDCFloat() : FLDCFixed(8) {}
};
class FLDCFloatIEEE : public FLDCFixed {
public:
    FLDCFloatIEEE() : FLDCFixed(10) {}
};
class FLDCSQLTIMESTAMP : public FLDCFixed {
public:
    FLDCSQLTIMESTAMP() : FLDCFixed(16) {}
};
class FLDCBcd : public FLDCFixed {
public:
    explicit FLDCBcd(qsizetype size) : FLDCFixed(size) {}
};

// A length prefix of `width` bytes (1, 2 or 4), then the bytes.
class FLDCVar : public FLDConv {
public:
    explicit FLDCVar(int width) : width_(width) {}
    qsizetype packedSize(qsizetype length) const override { return width_ + length; }
    void write(char* dst, QByteArrayView value) const override;
    bool read(ByteReader* in, QByteArrayView* value) const override;
    int prefixWidth() const { return width_; }
    // Reads the length prefix alone (a negative u32 length gives 0). Returns
    // false, consuming nothing, when the data ends before it.
    bool readLength(ByteReader* in, qsizetype* length) const;
    // Largest length the prefix can express.
    qsizetype maxLength() const;

private:
    int width_;
};
class FLDCVar8 : public FLDCVar {
public:
    FLDCVar8() : FLDCVar(1) {}
};
class FLDCVar16 : public FLDCVar {
public:
    FLDCVar16() : FLDCVar(2) {}
};
class FLDCVar32 : public FLDCVar {
public:
    FLDCVar32() : FLDCVar(4) {}
};

// A u32 count, then that many elements of the element type.
class FLDCRepeat : public FLDConv {
public:
    explicit FLDCRepeat(std::unique_ptr<FLDConv> element) : element_(std::move(element)) {}
    qsizetype packedSize(qsizetype length) const override { return length; }
    void write(char* dst, QByteArrayView value) const override;
    bool read(ByteReader* in, QByteArrayView* value) const override;

private:
    std::unique_ptr<FLDConv> element_;
};

// The converter for a type word. Throws DatasetError 0x2710 for a type code or
// size the engine does not support (structured types included).
std::unique_ptr<FLDConv> makeConverter(uint32_t typeWord);

}  // namespace quillmere
