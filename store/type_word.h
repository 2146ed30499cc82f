// Type words of data packets. Every column and every attribute carries one
// u32 describing its value:
//
//   bits  0..15   size: value size in bytes, or for a varying type the width
//                 of its length prefix (1, 2 or 4)
//   bits 16..21   type code (kInteger ... kFixedFmt below)
//   bit  22       varying: a length prefix, then that many bytes
//   bit  23       array: a u32 element count, then the elements
//   bits 24..26   structured column types (object, array, nested, reference)
#pragma once

#include <QByteArray>

#include <cstdint>

namespace quillmere::typeword {

constexpr uint32_t kSizeMask = 0x0000FFFF;
constexpr int kCodeShift = 16;
constexpr uint32_t kCodeMask = 0x3F;
constexpr uint32_t kVarying = 0x00400000;
constexpr uint32_t kArray = 0x00800000;
constexpr uint32_t kStructuredMask = 0x07000000;

enum Code : uint32_t {
    kInteger = 1,
    kUnsigned = 2,
    kBoolean = 3,
    kFloat = 4,
    kBcd = 5,
    kDate = 6,
    kTime = 7,
    kDateTime = 8,
    kString = 9,
    kWideString = 10,
    kBytes = 11,
    kObject = 12,
    kArrayType = 13,
    kNested = 14,
    kReference = 15,
    kSqlTimestamp = 17,
    kFixedFmt = 18,
};

constexpr uint32_t make(uint32_t code, uint32_t size, uint32_t flags = 0) {
    return (code << kCodeShift) | (size & kSizeMask) | flags;
}

// The type words of the program's columns and attributes.
constexpr uint32_t kString1 = make(kString, 1, kVarying);  // 0x00490001
constexpr uint32_t kString2 = make(kString, 2, kVarying);  // 0x00490002
constexpr uint32_t kInt32 = make(kInteger, 4);             // 0x00010004
constexpr uint32_t kDateTime8 = make(kDateTime, 8);        // 0x00080008
constexpr uint32_t kBlob4 = make(kBytes, 4, kVarying);     // 0x004B0004
constexpr uint32_t kUInt16 = make(kUnsigned, 2);           // 0x00020002

constexpr uint32_t code(uint32_t word) {
    return (word >> kCodeShift) & kCodeMask;
}
constexpr uint32_t size(uint32_t word) {
    return word & kSizeMask;
}
constexpr bool isVarying(uint32_t word) {
    return (word & kVarying) != 0;
}
constexpr bool isArray(uint32_t word) {
    return (word & kArray) != 0;
}

// The engine's name of a type: "i4", "ui2", "boolean", "r8", "dateTime",
// "string", "bin.hex", ...; an array type gets "[]" appended, and a word the
// engine does not know gives "unknown".
QByteArray typeName(uint32_t word);

}  // namespace quillmere::typeword
