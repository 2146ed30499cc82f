// The packet reader: walks a binary data packet (layout in packet_format.h)
// in the writer's order. Every count and length is checked against the bytes
// that are left, so a damaged packet ends in DatasetError, never in a read
// past the end of the data.
//
//   openPacket(bytes) or openPacket(source)
//   nextColumn() until false; after each column nextAttribute() until false
//   nextAttribute() until false for the packet attributes
//   nextValue() until false: per row first the status, then one per column
//
// A packet in memory is read in place: the views handed out stay valid while
// its bytes do. A packet in a file is read in windows, so that only the rows'
// structure passes through memory: a varying value (an entry's blob) is
// handed out by its place and length and its bytes are passed over; views
// then stay valid until the next call.
#pragma once

#include "store/field_conv.h"
#include "store/packet_source.h"

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
    // The value without its prefix, when present. Empty for a varying value
    // of a packet read from a file: its bytes were passed over.
    QByteArrayView bytes;
    // Where the value's bytes (without prefix) are in the packet and how many
    // there are, when present; for the status item, where the row starts.
    qint64 offset = 0;
    qint64 length = 0;
    // For the status item: the row's null flags are those the writer would
    // write for the states they give (no column marked both blank and
    // unchanged, no bits beyond the last column), so the row's bytes can be
    // copied as they stand.
    bool flagsAsWritten = true;
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
    // The same for a packet read from `source` in windows (see the top of
    // this file). `source` must outlive the reading. Throws FileError when
    // the source cannot be read.
    void openPacket(const PacketSource& source);
    const PacketHeader& header() const { return header_; }

    // The place in the packet of the next byte to be read.
    qint64 position() const { return windowBase_ + (in_.position() - data_.data()); }

    // The next column descriptor; false after the last one. Throws
    // DatasetError 0x4005 on damage, 0x2710 for an unsupported type word, or
    // 0x2A04 when called before the previous column's attributes were read.
    bool nextColumn(ColumnDescriptor* column);

    // The next attribute of the current column, or, once every column was
    // read, of the packet; false when that area has no more. Throws
    // DatasetError 0x4005 on damage, 0x2710 for an unsupported type word.
    bool nextAttribute(AttributeView* attribute);

    // The next item of the row data; false after the last row. Throws
    // DatasetError 0x4005 on damage, 0x2A04 before the metadata was read,
    // FileError when a file source cannot be read.
    bool nextValue(ExtractedValue* value);

private:
    enum class Stage { kClosed, kColumns, kPacketAttributes, kRows, kDone };
    [[noreturn]] void damaged(const char* what) const;
    void start(QByteArrayView firstBytes);
    void readPacketAttributeCount();
    void prefetchAhead();
    // Bytes from the cursor to the end of the packet.
    qint64 left() const { return total_ - position(); }
    // Makes the window hold at least `bytes` bytes from the cursor, reading
    // them from a file source; false when the packet ends before them.
    bool fill(qint64 bytes);
    // Runs `parse` on the window, and again on a larger one until it succeeds
    // or the window holds the rest of the packet; false when it never did.
    template <typename Parse>
    bool parseItem(Parse parse);
    // The current row's null flags are those the writer writes (see
    // ExtractedValue::flagsAsWritten).
    bool flagsAsWritten() const;
    void readValue(ExtractedValue* value, int column);
    // Moves the cursor `bytes` past its place, beyond the window if need be.
    void passOver(qint64 bytes);

    QByteArrayView packet_;  // the packet in memory, or the current window
    const PacketSource* source_ = nullptr;
    QByteArray window_;
    QByteArrayView data_;  // what in_ reads: the packet, or the window
    qint64 windowBase_ = 0;
    qint64 total_ = 0;
    qint64 readSize_ = 0;
    ByteReader in_;
    PacketHeader header_;
    Stage stage_ = Stage::kClosed;
    int columnsRead_ = 0;
    int attributesLeft_ = 0;
    std::vector<std::unique_ptr<FLDConv>> converters_;
    std::vector<const FLDCVar*> varying_;  // per column: its converter when varying
    uint32_t rowsRead_ = 0;
    int column_ = -1;  // -1: next item is a row status
    qsizetype nullBytes_ = 0;
    QByteArrayView nullFlags_;
    std::vector<char> nullCopy_;        // the current row's null flags
    const char* prefetched_ = nullptr;  // bytes before this were prefetched
};

}  // namespace quillmere
