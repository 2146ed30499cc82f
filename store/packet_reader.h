// The packet reader: walks a binary data packet (layout in packet_format.h)
// in the writer's order. Every count and length is checked against the bytes
// that are left, so a damaged packet ends in DatasetError, never in a read
// past the end of the data. The reader hands out views into the packet bytes:
// they stay valid while those bytes do.
//
//   openPacket(bytes)
//   nextColumn() until false; after each column nextAttribute() until false
//   nextAttribute() until false for the packet attributes
//   nextValue() until false: per row first the status, then one per column
#pragma once

#include "store/field_conv.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <memory>
#include <vector>

namespace quillmere {

struct PacketHeader {
    uint32_t signature = 0;
    uint16_t version1 = 0;
    uint16_t version2 = 0;
    uint32_t headerSize = 0;
    uint16_t columnCount = 0;
    uint32_t rowCount = 0;
    uint32_t flags = 0;
    uint16_t rowOffset = 0;
};

struct ColumnDescriptor {
    QByteArray name;  // at most 31 characters are kept
    uint32_t typeWord = 0;
    uint16_t flags = 0;
    uint16_t attributeCount = 0;
};

// An attribute as read: its value in packet form (prefix included for a
// varying type), so that it can be written back unchanged.
struct AttributeView {
    QByteArrayView name;
    uint32_t typeWord = 0;
    QByteArrayView value;
};

enum class ValueState { kPresent, kBlank, kUnchanged };

struct ExtractedValue {
    int column = -1;  // -1: the row's status byte, in `rowStatus`
    uint8_t rowStatus = 0;
    ValueState state = ValueState::kPresent;
    QByteArrayView bytes;  // the value without its prefix, when present
};

// True when the bytes start like a binary packet the reader accepts: the
// signature 0xBDE01996 with both versions at most 3, or 0x0000ABCD.
bool looksLikeBinaryPacket(QByteArrayView bytes);

// DSEXTRACT: the packet reader. Reads a binary data packet front to back
// (header, column descriptions, then the rows) and hands each part out;
// every count and length is checked against the bytes left.
class DSEXTRACT {
public:
    // Checks and copies the header. Throws DatasetError 0x4005 when the bytes
    // are not a binary packet or the header is damaged, 0x4003 when the
    // packet carries no column descriptors.
    void openPacket(QByteArrayView packet);
    const PacketHeader& header() const { return header_; }

    // The next column descriptor; false after the last one. Throws
    // DatasetError 0x4005 on damage, 0x2710 for an unsupported type word, or
    // 0x2A04 when called before the previous column's attributes were read.
    bool nextColumn(ColumnDescriptor* column);

    // The next attribute of the current column, or, once every column was
    // read, of the packet; false when that area has no more. Throws
    // DatasetError 0x4005 on damage, 0x2710 for an unsupported type word.
    bool nextAttribute(AttributeView* attribute);

    // The next item of the row data; false after the last row. Throws
    // DatasetError 0x4005 on damage, 0x2A04 before the metadata was read.
    bool nextValue(ExtractedValue* value);

private:
    enum class Stage { kClosed, kColumns, kPacketAttributes, kRows, kDone };
    [[noreturn]] void damaged(const char* what) const;
    void readPacketAttributeCount();
    void prefetchAhead();

    QByteArrayView packet_;
    ByteReader in_;
    PacketHeader header_;
    Stage stage_ = Stage::kClosed;
    int columnsRead_ = 0;
    int attributesLeft_ = 0;
    std::vector<std::unique_ptr<FLDConv>> converters_;
    uint32_t rowsRead_ = 0;
    int column_ = -1;  // -1: next item is a row status
    qsizetype nullBytes_ = 0;
    QByteArrayView nullFlags_;
    const char* prefetched_ = nullptr;  // bytes before this were prefetched
};

}  // namespace quillmere
