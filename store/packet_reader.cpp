#include "store/packet_reader.h"

#include "store/dataset_error.h"
#include "store/packet_format.h"
#include "store/type_word.h"

#include <QCoreApplication>

namespace quillmere {

using namespace packet;

namespace {

// The least a column descriptor can take: name length, type word, flags,
// attribute count.
constexpr qsizetype kMinColumnBytes = 1 + 4 + 2 + 2;
// The least an attribute can take: name length, type word, one value byte.
constexpr qsizetype kMinAttributeBytes = 1 + 4 + 1;

}  // namespace

bool looksLikeBinaryPacket(QByteArrayView bytes) {
    if (bytes.size() < 4) {
        return false;
    }
    const uint32_t signature = DecodeFixed32(bytes.data());
    if (signature == kAltSignature) {
        return true;
    }
    if (signature != kSignature || bytes.size() < 8) {
        return false;
    }
    return DecodeFixed16(bytes.data() + kVersion1Offset) <= kMaxVersion &&
           DecodeFixed16(bytes.data() + kVersion2Offset) <= kMaxVersion;
}

void DSEXTRACT::damaged(const char* what) const {
    throw DatasetError(status::kNotAPacket, QCoreApplication::translate("quillmere::Store", "damaged data packet (%1)")
                                                   .arg(QCoreApplication::translate("quillmere::Store", what)));
}

void DSEXTRACT::openPacket(QByteArrayView packet) {
    stage_ = Stage::kClosed;
    if (!looksLikeBinaryPacket(packet)) {
        throw DatasetError(status::kNotAPacket);
    }
    if (packet.size() < kHeaderSize) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "header cut short"));
    }
    const char* h = packet.data();
    header_.signature = DecodeFixed32(h + kSignatureOffset);
    header_.version1 = DecodeFixed16(h + kVersion1Offset);
    header_.version2 = DecodeFixed16(h + kVersion2Offset);
    header_.headerSize = DecodeFixed32(h + kHeaderSizeOffset);
    header_.columnCount = DecodeFixed16(h + kColumnCountOffset);
    header_.rowCount = DecodeFixed32(h + kRowCountOffset);
    header_.flags = DecodeFixed32(h + kFlagsOffset);
    header_.rowOffset = DecodeFixed16(h + kRowOffsetOffset);
    if ((header_.flags & kFlagMetadata) == 0) {
        throw DatasetError(status::kNoMetadata);
    }
    if (header_.headerSize < kHeaderSize || header_.headerSize > packet.size()) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "header size"));
    }
    packet_ = packet;
    in_ = ByteReader(packet.sliced(header_.headerSize));
    if (header_.columnCount * kMinColumnBytes > in_.remaining()) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "column count"));
    }
    converters_.clear();
    converters_.reserve(header_.columnCount);
    columnsRead_ = 0;
    attributesLeft_ = 0;
    rowsRead_ = 0;
    column_ = -1;
    prefetched_ = nullptr;
    nullBytes_ = nullFlagBytes(header_.columnCount);
    stage_ = Stage::kColumns;
}

bool DSEXTRACT::nextColumn(ColumnDescriptor* column) {
    if (stage_ != Stage::kColumns || attributesLeft_ > 0) {
        throw DatasetError(status::kOutOfOrder, QStringLiteral("column read out of order"));
    }
    if (columnsRead_ == header_.columnCount) {
        readPacketAttributeCount();
        return false;
    }
    uint8_t nameLength;
    QByteArrayView name;
    uint32_t word;
    uint16_t flags, count;
    if (!in_.getFixed8(&nameLength) || !in_.getBytes(nameLength, &name) || !in_.getFixed32(&word) ||
        !in_.getFixed16(&flags) || !in_.getFixed16(&count)) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "column descriptor cut short"));
    }
    if (count * kMinAttributeBytes > in_.remaining()) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "attribute count"));
    }
    converters_.push_back(makeConverter(word));
    column->name = name.first(qMin<qsizetype>(name.size(), kMaxNameLength)).toByteArray();
    column->typeWord = word;
    column->flags = flags;
    column->attributeCount = count;
    attributesLeft_ = count;
    ++columnsRead_;
    return true;
}

void DSEXTRACT::readPacketAttributeCount() {
    uint16_t count;
    if (!in_.getFixed16(&count)) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "packet attribute count missing"));
    }
    if (count * kMinAttributeBytes > in_.remaining()) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "packet attribute count"));
    }
    attributesLeft_ = count;
    stage_ = Stage::kPacketAttributes;
}

bool DSEXTRACT::nextAttribute(AttributeView* attribute) {
    if (stage_ != Stage::kColumns && stage_ != Stage::kPacketAttributes) {
        throw DatasetError(status::kOutOfOrder, QStringLiteral("attribute read out of order"));
    }
    if (attributesLeft_ == 0) {
        return false;
    }
    uint8_t nameLength;
    QByteArrayView name;
    uint32_t word;
    if (!in_.getFixed8(&nameLength) || !in_.getBytes(nameLength, &name) || !in_.getFixed32(&word)) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "attribute cut short"));
    }
    const auto conv = makeConverter(word);
    const char* valueStart = in_.position();
    QByteArrayView body;
    if (!conv->read(&in_, &body)) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "attribute value cut short"));
    }
    attribute->name = name;
    attribute->typeWord = word;
    attribute->value = QByteArrayView(valueStart, in_.position() - valueStart);
    --attributesLeft_;
    return true;
}

void DSEXTRACT::prefetchAhead() {
    // Each row's place depends on the lengths before it, so walking the rows
    // waits on memory once per row; touching the bytes ahead in order lets
    // the memory system stream them in while the rows are parsed.
    constexpr qsizetype kAhead = 16 * 1024;
    constexpr qsizetype kLine = 64;
    const char* end = packet_.data() + packet_.size();
    const char* target = qMin(end, in_.position() + kAhead);
    if (prefetched_ < in_.position()) {
        prefetched_ = in_.position();
    }
    for (; prefetched_ < target; prefetched_ += kLine) {
        __builtin_prefetch(prefetched_);
    }
}

bool DSEXTRACT::nextValue(ExtractedValue* value) {
    if (stage_ == Stage::kPacketAttributes && attributesLeft_ == 0) {
        stage_ = Stage::kRows;
        // Every row takes at least its status and null flags.
        if (header_.rowCount > static_cast<uint64_t>(in_.remaining()) / (1 + nullBytes_)) {
            damaged(QT_TRANSLATE_NOOP("quillmere::Store", "row count"));
        }
    }
    if (stage_ == Stage::kDone) {
        return false;
    }
    if (stage_ != Stage::kRows) {
        throw DatasetError(status::kOutOfOrder, QStringLiteral("row read before the metadata"));
    }
    if (column_ < 0) {
        if (rowsRead_ == header_.rowCount) {
            stage_ = Stage::kDone;
            return false;
        }
        prefetchAhead();
        uint8_t rowStatus;
        if (!in_.getFixed8(&rowStatus) || !in_.getBytes(nullBytes_, &nullFlags_)) {
            damaged(QT_TRANSLATE_NOOP("quillmere::Store", "row cut short"));
        }
        value->column = -1;
        value->rowStatus = rowStatus;
        value->state = ValueState::kPresent;
        value->bytes = {};
        column_ = header_.columnCount == 0 ? -1 : 0;
        if (header_.columnCount == 0) {
            ++rowsRead_;
        }
        return true;
    }
    const int j = column_;
    const auto bits =
        static_cast<uint8_t>(static_cast<uint8_t>(nullFlags_[j / 4]) >> (2 * (j % 4)));
    value->column = j;
    value->bytes = {};
    if (bits & kBlankBit) {
        value->state = ValueState::kBlank;
    } else if (bits & kUnchangedBit) {
        value->state = ValueState::kUnchanged;
    } else {
        value->state = ValueState::kPresent;
        if (!converters_[static_cast<size_t>(j)]->read(&in_, &value->bytes)) {
            damaged(QT_TRANSLATE_NOOP("quillmere::Store", "value runs past the end of the data"));
        }
    }
    if (++column_ == header_.columnCount) {
        column_ = -1;
        ++rowsRead_;
    }
    return true;
}

}  // namespace quillmere
