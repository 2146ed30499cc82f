#include "store/packet_writer.h"

#include "store/coding.h"
#include "store/copy_bytes.h"
#include "store/dataset_error.h"
#include "store/packet_format.h"
#include "store/type_word.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace quillmere {

using namespace packet;

namespace {

[[noreturn]] void outOfOrder(const char* what) {
    throw DatasetError(status::kOutOfOrder, QString::fromLatin1(what));
}

}  // namespace

namespace {

// A large packet is written into freshly mapped memory; asking for huge pages
// spares the system one page fault per 4 KiB while the block fills.
void adviseHugePages(QByteArray& block) {
#ifdef __linux__
    constexpr uintptr_t kHuge = 2 * 1024 * 1024;
    if (block.size() < static_cast<qsizetype>(4 * kHuge)) {
        return;
    }
    const auto start = (reinterpret_cast<uintptr_t>(block.data()) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<uintptr_t>(block.data()) + block.size()) & ~(kHuge - 1);
    if (end > start) {
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
#else
    (void)block;
#endif
}

}  // namespace

qsizetype nextPacketCapacity(qsizetype capacity, qsizetype needed, bool doubling) {
    const qsizetype step = doubling ? qMin(capacity, kMaxGrowth) : kGrowthStep;
    return capacity + qMax(step, needed - capacity);
}

void DSDATAPACKET::beginStreamedPacket(int columns, uint32_t rows, FileSink& sink) {
    beginPacket(columns, 2 * kStreamedPiece);
    sink_ = &sink;
    announcedRows_ = rows;
}

void DSDATAPACKET::beginPacket(int columns, qsizetype sizeHint) {
    buf_ = QByteArray();
    growths_ = 0;
    sink_ = nullptr;
    announcedRows_ = 0;
    try {
        buf_.resize(qMax(sizeHint, kInitialPacketCapacity));
        adviseHugePages(buf_);
    } catch (const std::bad_alloc&) {
        throw DatasetError(status::kOutOfMemory);
    }
    cursor_ = 0;
    char* h = reserve(kHeaderSize + 2);
    std::memset(h, 0, kHeaderSize + 2);
    EncodeFixed32(h + kSignatureOffset, kSignature);
    EncodeFixed16(h + kVersion1Offset, kVersion1);
    EncodeFixed16(h + kVersion2Offset, kVersion2);
    EncodeFixed32(h + kHeaderSizeOffset, kHeaderSize);
    EncodeFixed16(h + kColumnCountOffset, static_cast<uint16_t>(columns));
    EncodeFixed32(h + kFlagsOffset, kFlagMetadata);
    // The provisional packet attribute count sits at the cursor, so the first
    // column overwrites it.
    cursor_ = kHeaderSize;
    packetCountPos_ = kHeaderSize;
    columnsAnnounced_ = columns;
    converters_.clear();
    maxLengths_.clear();
    attrCountPos_ = -1;
    inPacketArea_ = metadataClosed_ = inRow_ = false;
    rows_ = 0;
    column_ = 0;
}

char* DSDATAPACKET::reserve(qsizetype bytes) {
    const qsizetype needed = cursor_ + bytes;
    if (needed > buf_.size()) {
        try {
            buf_.resize(nextPacketCapacity(buf_.size(), needed, growths_ % 2 == 1));
        } catch (const std::bad_alloc&) {
            throw DatasetError(status::kOutOfMemory);
        }
        ++growths_;
    }
    char* at = buf_.data() + cursor_;
    cursor_ = needed;
    return at;
}

void DSDATAPACKET::writeAt(qsizetype offset, QByteArrayView bytes) {
    cursor_ = offset;
    CopyBytes(reserve(bytes.size()), bytes);
}

void DSDATAPACKET::patch16(qsizetype offset, uint16_t value) {
    EncodeFixed16(buf_.data() + offset, value);
}

void DSDATAPACKET::patch32(qsizetype offset, uint32_t value) {
    EncodeFixed32(buf_.data() + offset, value);
}

void DSDATAPACKET::markRowOffset() {
    // Streaming, the header left with the first piece, already marked.
    if (rowStart_ <= 0xFFFF && sink_ == nullptr) {
        patch16(kRowOffsetOffset, static_cast<uint16_t>(rowStart_));
        patch32(kFlagsOffset, kFlagMetadata | kFlagRowOffset);
    }
}

void DSDATAPACKET::countRow() {
    ++rows_;
    if (sink_ == nullptr) {
        patch32(kRowCountOffset, rows_);
    }
}

void DSDATAPACKET::flushToSink() {
    if (cursor_ > 0) {
        sink_->append(QByteArrayView(buf_.constData(), cursor_));
        cursor_ = 0;
    }
}

void DSDATAPACKET::increment16(qsizetype offset) {
    patch16(offset, static_cast<uint16_t>(DecodeFixed16(buf_.constData() + offset) + 1));
}

void DSDATAPACKET::addColumn(QByteArrayView name, uint32_t typeWord, uint16_t flags) {
    if (metadataClosed_ || inPacketArea_ ||
        static_cast<int>(converters_.size()) >= columnsAnnounced_) {
        outOfOrder("column after the announced count");
    }
    if (name == QByteArrayView(kRowStateName)) {
        outOfOrder("a column cannot be named RowState");
    }
    if (name.size() > 0xFF) {
        throw DatasetError(status::kMissingArgument, QStringLiteral("column name too long"));
    }
    converters_.push_back(makeConverter(typeWord));
    const auto* var = dynamic_cast<const FLDCVar*>(converters_.back().get());
    maxLengths_.push_back(var ? var->maxLength() : std::numeric_limits<qsizetype>::max());
    char* p = reserve(1 + name.size() + 4 + 2 + 2 + 2);
    *p++ = static_cast<char>(name.size());
    p = CopyBytes(p, name);
    EncodeFixed32(p, typeWord);
    EncodeFixed16(p + 4, flags);
    EncodeFixed16(p + 6, 0);
    EncodeFixed16(p + 8, 0);
    attrCountPos_ = cursor_ - 4;
    packetCountPos_ = cursor_ - 2;
    cursor_ = packetCountPos_;
}

void DSDATAPACKET::writeAttribute(QByteArrayView name, uint32_t typeWord, QByteArrayView value) {
    const auto conv = makeConverter(typeWord);
    QByteArrayView body = value;
    if (typeword::isVarying(typeWord) && !typeword::isArray(typeWord)) {
        const int width = static_cast<int>(typeword::size(typeWord));
        if (value.size() < width) {
            throw DatasetError(status::kMissingArgument, QStringLiteral("attribute value"));
        }
        body = value.sliced(width);
        if (body.size() > static_cast<const FLDCVar&>(*conv).maxLength()) {
            throw DatasetError(status::kMissingArgument,
                               QStringLiteral("attribute value too long"));
        }
    } else if (!typeword::isArray(typeWord) && value.size() < conv->packedSize(0)) {
        throw DatasetError(status::kMissingArgument, QStringLiteral("attribute value"));
    }
    if (name.size() > 0xFF) {
        throw DatasetError(status::kMissingArgument, QStringLiteral("attribute name too long"));
    }
    char* p = reserve(1 + name.size() + 4 + conv->packedSize(body.size()));
    *p++ = static_cast<char>(name.size());
    p = CopyBytes(p, name);
    EncodeFixed32(p, typeWord);
    conv->write(p + 4, body);
}

void DSDATAPACKET::addAttribute(AttributeArea area, QByteArrayView name, uint32_t typeWord,
                                QByteArrayView value) {
    if (rows_ > 0 || inRow_ || metadataClosed_) {
        outOfOrder("attribute after the metadata");
    }
    if (area == AttributeArea::kPacket && name.isEmpty() && value.isEmpty()) {
        closeMetadata();
        return;
    }
    if (area == AttributeArea::kColumn) {
        if (inPacketArea_ || attrCountPos_ < 0) {
            outOfOrder("column attribute without a column");
        }
        writeAttribute(name, typeWord, value);
        increment16(attrCountPos_);
        packetCountPos_ = cursor_;
        writeAt(cursor_, QByteArrayView("\0\0", 2));
        cursor_ = packetCountPos_;
        return;
    }
    if (!inPacketArea_) {
        inPacketArea_ = true;
        cursor_ = packetCountPos_ + 2;
    }
    writeAttribute(name, typeWord, value);
    increment16(packetCountPos_);
}

void DSDATAPACKET::closeMetadata() {
    if (metadataClosed_ || static_cast<int>(converters_.size()) != columnsAnnounced_) {
        outOfOrder("metadata closed before every column was added");
    }
    if (!inPacketArea_) {
        cursor_ = packetCountPos_ + 2;
    }
    metadataClosed_ = true;
    rowStart_ = cursor_;
    if (sink_ != nullptr) {
        // Nothing written to the sink changes afterwards: the header gets
        // its final row count and row offset now.
        patch32(kRowCountOffset, announcedRows_);
        if (rowStart_ <= 0xFFFF) {
            patch16(kRowOffsetOffset, static_cast<uint16_t>(rowStart_));
            patch32(kFlagsOffset, kFlagMetadata | kFlagRowOffset);
        }
    }
}

void DSDATAPACKET::startRow(QByteArrayView status) {
    if (!metadataClosed_) {
        outOfOrder("row before the metadata was closed");
    }
    if (status.size() != 1) {
        throw DatasetError(status::kMissingArgument, QStringLiteral("row status"));
    }
    if (rows_ == 0) {
        markRowOffset();
    }
    const qsizetype flags = nullFlagBytes(columnsAnnounced_);
    char* p = reserve(1 + flags);
    p[0] = status[0];
    std::memset(p + 1, 0, static_cast<size_t>(flags));
    nullPos_ = cursor_ - flags;
    inRow_ = true;
    column_ = 0;
    if (columnsAnnounced_ == 0) {
        endColumn();
    }
}

void DSDATAPACKET::endColumn() {
    if (column_ < columnsAnnounced_) {
        ++column_;
    }
    if (column_ == columnsAnnounced_) {
        inRow_ = false;
        countRow();
        if (sink_ != nullptr && cursor_ >= kStreamedPiece) {
            flushToSink();
        }
    }
}

void DSDATAPACKET::putRowCopy(const PacketSource& source, qint64 offset, qint64 length) {
    if (inRow_ || !metadataClosed_) {
        outOfOrder("row copied in the middle of a row or before the metadata was closed");
    }
    if (rows_ == 0) {
        markRowOffset();
    }
    if (sink_ != nullptr) {
        flushToSink();
        source.copyTo(*sink_, offset, length);
    } else {
        source.readInto(reserve(length), offset, length);
    }
    countRow();
}

void DSDATAPACKET::putValue(QByteArrayView value) {
    if (!inRow_) {
        startRow(value);
        return;
    }
    const FLDConv& conv = *converters_[static_cast<size_t>(column_)];
    if (value.size() > maxLengths_[static_cast<size_t>(column_)]) {
        throw DatasetError(status::kMissingArgument,
                           QStringLiteral("value too long for its column"));
    }
    conv.write(reserve(conv.packedSize(value.size())), value);
    endColumn();
}

void DSDATAPACKET::setNullBits(uint8_t bit) {
    if (!inRow_) {
        outOfOrder("blank value without a row");
    }
    const int j = column_;
    char& flags = buf_.data()[nullPos_ + j / 4];
    flags = static_cast<char>(static_cast<uint8_t>(flags) | (bit << (2 * (j % 4))));
    endColumn();
}

void DSDATAPACKET::putBlank() {
    setNullBits(kBlankBit);
}

void DSDATAPACKET::putUnchanged() {
    setNullBits(kUnchangedBit);
}

QByteArray DSDATAPACKET::finishPacket() {
    if (inRow_ || !metadataClosed_) {
        outOfOrder("packet finished in the middle of a row");
    }
    if (rows_ == 0) {
        markRowOffset();
    }
    if (sink_ != nullptr) {
        if (rows_ != announcedRows_) {
            outOfOrder("another number of rows than announced was written");
        }
        flushToSink();
        buf_ = QByteArray();
        return QByteArray();
    }
    buf_.truncate(cursor_);
    buf_.squeeze();
    QByteArray out = std::move(buf_);
    buf_ = QByteArray();
    return out;
}

}  // namespace quillmere
