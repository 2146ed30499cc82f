// The packet writer: builds a binary data packet (layout in packet_format.h)
// in one growing memory block. Calls come in this order:
//
//   beginPacket(columns)
//   for each column: addColumn, then addAttribute(kColumn, ...) per attribute
//   addAttribute(kPacket, ...) per packet attribute, then close()
//   for each row: putValue(status), then per column putValue/putBlank/putUnchanged,
//                 or the whole row at once, copied from a packet: putRowCopy
//   finishPacket()
//
// Given a FileSink, the writer streams: the metadata is built in memory as
// always, and from the first row on the bytes go to the sink in pieces of
// about kStreamedPiece, so that a packet of any size needs memory only for
// one piece (and its largest row). The row count is then announced up front,
// so that nothing already written has to change.
//
// Every refusal throws DatasetError with the engine's status code.
#pragma once

#include "store/field_conv.h"
#include "store/file_access.h"
#include "store/packet_source.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <memory>
#include <vector>

namespace quillmere {

enum class AttributeArea { kColumn, kPacket };

// The buffer growth policy: the block starts at kInitialPacketCapacity and
// grows alternately by at least kGrowthStep bytes and by its current size, the
// latter at most kMaxGrowth at a time; either step grows at least as much as
// the write needs. `doubling` picks the second kind of step.
constexpr qsizetype kInitialPacketCapacity = 32768;
constexpr qsizetype kGrowthStep = 32768;
constexpr qsizetype kMaxGrowth = 1024000;
qsizetype nextPacketCapacity(qsizetype capacity, qsizetype needed, bool doubling);
// A streaming writer hands its rows to the sink once this many bytes wait.
constexpr qsizetype kStreamedPiece = 1024 * 1024;

class DSDATAPACKET {
public:
    DSDATAPACKET() = default;
    DSDATAPACKET(const DSDATAPACKET&) = delete;
    DSDATAPACKET& operator=(const DSDATAPACKET&) = delete;

    // Starts a packet for `columns` columns: the header with row count 0 and
    // flags 1, cursor at offset 24. `sizeHint` (bytes) lets a caller that
    // knows the packet's size avoid regrowing; 0 uses the initial capacity.
    void beginPacket(int columns, qsizetype sizeHint = 0);
    // As beginPacket, streaming the packet into `sink` (see the top of this
    // file), which must outlive the packet; `rows` rows will be written.
    void beginStreamedPacket(int columns, uint32_t rows, FileSink& sink);

    // Throws DatasetError 0x2A04 for a column past the announced count, a
    // column named "RowState", or a column after the metadata was closed;
    // 0x2710 for an unsupported type word.
    void addColumn(QByteArrayView name, uint32_t typeWord, uint16_t flags);

    // A column attribute (for the column added last) or a packet attribute.
    // For a varying type `value` is in packet form: the length prefix and the
    // bytes; the prefix is rewritten from value.size(). Throws DatasetError
    // 0x2A04 once a row was written, 0x2702 when the value is shorter than its
    // type needs, 0x2710 for an unsupported type word.
    void addAttribute(AttributeArea area, QByteArrayView name, uint32_t typeWord,
                      QByteArrayView value);

    // The closing call of the metadata: fixes where the rows begin. Throws
    // DatasetError 0x2A04 when fewer columns than announced were added.
    void closeMetadata();

    // The first call of a row writes its status byte (value.size() must be 1)
    // and a cleared null-flag area; each later call writes the next column's
    // value (without prefix). Throws DatasetError 0x2A04 before closeMetadata,
    // 0x2702 for a status that is not one byte or a value its prefix cannot
    // hold, 0x2501 when memory runs out.
    void putValue(QByteArrayView value);
    void putBlank();
    void putUnchanged();

    // A whole row (status, null flags and values) as it stands at `offset` in
    // `source`, `length` bytes: for a row written exactly as it was read.
    // Throws DatasetError 0x2A04 in the middle of a row or before
    // closeMetadata, 0x2501 when memory runs out, and what reading the source
    // or writing the sink throws (FileError).
    void putRowCopy(const PacketSource& source, qint64 offset, qint64 length);

    // The packet, exactly as long as what was written; streaming, the rest
    // of it goes to the sink and the result is empty. Throws DatasetError
    // 0x2A04 in the middle of a row or before closeMetadata, and streaming,
    // when another number of rows than announced was written; FileError
    // from the sink.
    QByteArray finishPacket();

    // How often the block had to grow (for tests and benchmarks).
    int growthCount() const { return growths_; }

private:
    char* reserve(qsizetype bytes);
    void writeAt(qsizetype offset, QByteArrayView bytes);
    void patch16(qsizetype offset, uint16_t value);
    void patch32(qsizetype offset, uint32_t value);
    void markRowOffset();
    void countRow();
    // Streaming: hands the bytes written so far to the sink.
    void flushToSink();
    void increment16(qsizetype offset);
    void writeAttribute(QByteArrayView name, uint32_t typeWord, QByteArrayView value);
    void startRow(QByteArrayView status);
    void setNullBits(uint8_t bit);
    void endColumn();

    QByteArray buf_;
    qsizetype cursor_ = 0;
    int columnsAnnounced_ = 0;
    std::vector<std::unique_ptr<FLDConv>> converters_;
    std::vector<qsizetype> maxLengths_;  // per column: the longest value its prefix can hold
    qsizetype attrCountPos_ = -1;
    qsizetype packetCountPos_ = 0;
    bool inPacketArea_ = false;
    bool metadataClosed_ = false;
    qsizetype rowStart_ = 0;
    uint32_t rows_ = 0;
    bool inRow_ = false;
    int column_ = 0;
    qsizetype nullPos_ = 0;
    int growths_ = 0;
    FileSink* sink_ = nullptr;
    uint32_t announcedRows_ = 0;  // streaming: the rows to come
};

}  // namespace quillmere
