// Binary data packet: the on-disk image of one table ("Journal.cds",
// "Settings.cds"). All integers little-endian; the file is exactly one packet.
//
//   header (24 bytes)
//     0  u32  signature 0xBDE01996 (0x0000ABCD is accepted when reading)
//     4  u16  first version number (1; a reader refuses more than 3)
//     6  u16  second version number (0; likewise)
//     8  u32  header size: the column descriptors start here (24)
//    12  u16  column count
//    14  u32  row count
//    18  u32  flags: 0x1 column descriptors present, 0x2 the u16 at 22 is valid
//    22  u16  offset of the first row
//   column descriptor, one per column, each followed by its attributes
//         u8 name length, name bytes, u32 type word, u16 column flags,
//         u16 attribute count, attributes
//   u16   packet attribute count, then the packet attributes
//   attribute: u8 name length, name bytes, u32 type word, value in the form
//         the type word gives (see field_conv.h)
//   rows, row count of them
//         u8 status (0), null flags ((columns + 3) / 4 bytes, two bits per
//         column: low bit blank, high bit unchanged), then the value of every
//         column whose two bits are clear
#pragma once

#include <QByteArray>

#include <cstdint>

namespace quillmere::packet {

constexpr uint32_t kSignature = 0xBDE01996;
constexpr uint32_t kAltSignature = 0x0000ABCD;
constexpr uint16_t kVersion1 = 1;
constexpr uint16_t kVersion2 = 0;
constexpr uint16_t kMaxVersion = 3;
constexpr uint32_t kHeaderSize = 24;

constexpr int kSignatureOffset = 0;
constexpr int kVersion1Offset = 4;
constexpr int kVersion2Offset = 6;
constexpr int kHeaderSizeOffset = 8;
constexpr int kColumnCountOffset = 12;
constexpr int kRowCountOffset = 14;
constexpr int kFlagsOffset = 18;
constexpr int kRowOffsetOffset = 22;

constexpr uint32_t kFlagMetadata = 0x00000001;
constexpr uint32_t kFlagRowOffset = 0x00000002;
constexpr uint32_t kFlagXmlMode = 0x00008000;

constexpr uint16_t kColumnHidden = 0x0001;
constexpr uint16_t kColumnReadOnly = 0x0002;
constexpr uint16_t kColumnRequired = 0x0004;
constexpr uint16_t kColumnLink = 0x0008;

// Null-flag bits of column j: kBlankBit << 2 * (j % 4) in byte j / 4.
constexpr uint8_t kBlankBit = 0x1;
constexpr uint8_t kUnchangedBit = 0x2;

// Row status bits.
constexpr uint8_t kStatusOriginal = 0x01;
constexpr uint8_t kStatusDeleted = 0x02;
constexpr uint8_t kStatusInserted = 0x04;
constexpr uint8_t kStatusModified = 0x08;
constexpr uint8_t kStatusFreed = 0x20;
// Records the writer leaves out when change logging is off.
constexpr uint8_t kStatusSkipped = kStatusOriginal | kStatusDeleted | kStatusFreed;

// A column name longer than this cannot be defined; a reader keeps this many.
constexpr int kMaxNameLength = 31;
// The column named so is refused by the writer.
inline constexpr char kRowStateName[] = "RowState";

constexpr qsizetype nullFlagBytes(int columns) {
    return (columns + 3) / 4;
}

}  // namespace quillmere::packet
