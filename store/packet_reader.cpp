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

// A file source is read in windows of at least this many bytes; while rows
// come in small, each window is twice the last, up to kMaxWindow. After a
// value too large for the window was passed over (a photograph), the next
// window is small again, so passing over a picture costs one small read.
constexpr qint64 kMinWindow = 16 * 1024;
constexpr qint64 kMaxWindow = 4 * 1024 * 1024;

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
    throw DatasetError(status::kNotAPacket,
                       QCoreApplication::translate("quillmere::Store", "damaged data packet (%1)")
                           .arg(QCoreApplication::translate("quillmere::Store", what)));
}

void DSEXTRACT::openPacket(QByteArrayView packet) {
    stage_ = Stage::kClosed;
    packet_ = packet;
    source_ = nullptr;
    window_ = QByteArray();
    data_ = packet;
    windowBase_ = 0;
    total_ = packet.size();
    in_ = ByteReader(packet);
    start(packet);
}

void DSEXTRACT::openPacket(const PacketSource& source) {
    stage_ = Stage::kClosed;
    packet_ = {};
    source_ = &source;
    window_ = QByteArray();
    data_ = {};
    windowBase_ = 0;
    total_ = source.size();
    in_ = ByteReader();
    readSize_ = kMinWindow;
    fill(qMin<qint64>(total_, kHeaderSize));
    start(data_);
}

void DSEXTRACT::start(QByteArrayView firstBytes) {
    if (!looksLikeBinaryPacket(firstBytes)) {
        throw DatasetError(status::kNotAPacket);
    }
    if (total_ < kHeaderSize) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "header cut short"));
    }
    const char* h = firstBytes.data();
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
    if (header_.headerSize < kHeaderSize || header_.headerSize > total_) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "header size"));
    }
    passOver(header_.headerSize);
    if (header_.columnCount * kMinColumnBytes > left()) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "column count"));
    }
    converters_.clear();
    converters_.reserve(header_.columnCount);
    varying_.clear();
    columnsRead_ = 0;
    attributesLeft_ = 0;
    rowsRead_ = 0;
    column_ = -1;
    prefetched_ = nullptr;
    nullBytes_ = nullFlagBytes(header_.columnCount);
    nullCopy_.assign(static_cast<size_t>(nullBytes_), '\0');
    stage_ = Stage::kColumns;
}

bool DSEXTRACT::fill(qint64 bytes) {
    if (in_.remaining() >= bytes) {
        return true;
    }
    if (source_ == nullptr || left() < bytes) {
        return false;
    }
    const qint64 at = position();
    const qint64 size = qMin(left(), qMax(bytes, readSize_));
    readSize_ = qMin(readSize_ * 2, kMaxWindow);
    window_.resize(static_cast<qsizetype>(size));
    source_->readInto(window_.data(), at, size);
    windowBase_ = at;
    data_ = QByteArrayView(window_);
    in_ = ByteReader(data_);
    return true;
}

template <typename Parse>
bool DSEXTRACT::parseItem(Parse parse) {
    for (;;) {
        const ByteReader before = in_;
        if (parse()) {
            return true;
        }
        in_ = before;
        if (source_ == nullptr || in_.remaining() >= left()) {
            return false;
        }
        fill(qMin(qMax<qint64>(256, 2 * in_.remaining()), left()));
    }
}

void DSEXTRACT::passOver(qint64 bytes) {
    if (bytes <= in_.remaining()) {
        in_.skip(static_cast<qsizetype>(bytes));
        return;
    }
    // Only a file source can be passed over beyond its window; the next
    // window starts where the bytes end.
    windowBase_ = position() + bytes;
    window_.clear();
    data_ = {};
    in_ = ByteReader();
    readSize_ = kMinWindow;
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
    if (!parseItem([&] {
            return in_.getFixed8(&nameLength) && in_.getBytes(nameLength, &name) &&
                   in_.getFixed32(&word) && in_.getFixed16(&flags) && in_.getFixed16(&count);
        })) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "column descriptor cut short"));
    }
    if (count * kMinAttributeBytes > left()) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "attribute count"));
    }
    converters_.push_back(makeConverter(word));
    varying_.push_back(dynamic_cast<const FLDCVar*>(converters_.back().get()));
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
    if (!parseItem([&] { return in_.getFixed16(&count); })) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "packet attribute count missing"));
    }
    if (count * kMinAttributeBytes > left()) {
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
    std::unique_ptr<FLDConv> conv;
    const char* valueStart = nullptr;
    bool headRead = false;
    // The name and type word are read again with the value when the window
    // had to grow for it, so that all three views lie in the same window.
    const bool read = parseItem([&] {
        if (!in_.getFixed8(&nameLength) || !in_.getBytes(nameLength, &name) ||
            !in_.getFixed32(&word)) {
            return false;
        }
        headRead = true;
        if (!conv) {
            conv = makeConverter(word);
        }
        valueStart = in_.position();
        QByteArrayView body;
        return conv->read(&in_, &body);
    });
    if (!read) {
        damaged(headRead ? QT_TRANSLATE_NOOP("quillmere::Store", "attribute value cut short")
                         : QT_TRANSLATE_NOOP("quillmere::Store", "attribute cut short"));
    }
    attribute->name = name;
    attribute->typeWord = word;
    attribute->value = QByteArrayView(valueStart, in_.position() - valueStart);
    --attributesLeft_;
    return true;
}

void DSEXTRACT::prefetchAhead() {
    if (source_ != nullptr) {
        return;  // a window was just read: its bytes are at hand
    }
    // Each row's place depends on the lengths before it, so walking the rows
    // waits on memory once per row; touching the bytes ahead in order lets
    // the memory system stream them in while the rows are parsed.
    constexpr qsizetype kAhead = 16 * 1024;
    constexpr qsizetype kLine = 64;
    const char* end = data_.data() + data_.size();
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
        if (header_.rowCount > static_cast<uint64_t>(left()) / (1 + nullBytes_)) {
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
        value->offset = position();
        uint8_t rowStatus;
        if (!fill(1 + nullBytes_) || !in_.getFixed8(&rowStatus) ||
            !in_.getBytes(nullBytes_, &nullFlags_)) {
            damaged(QT_TRANSLATE_NOOP("quillmere::Store", "row cut short"));
        }
        // The flags are kept apart: a later window replaces the bytes.
        std::copy(nullFlags_.begin(), nullFlags_.end(), nullCopy_.begin());
        value->column = -1;
        value->rowStatus = rowStatus;
        value->flagsAsWritten = flagsAsWritten();
        value->state = ValueState::kPresent;
        value->bytes = {};
        value->length = 0;
        column_ = header_.columnCount == 0 ? -1 : 0;
        if (header_.columnCount == 0) {
            ++rowsRead_;
        }
        return true;
    }
    const int j = column_;
    const auto bits = static_cast<uint8_t>(static_cast<uint8_t>(nullCopy_[j / 4]) >> (2 * (j % 4)));
    value->column = j;
    value->bytes = {};
    value->offset = position();
    value->length = 0;
    if (bits & kBlankBit) {
        value->state = ValueState::kBlank;
    } else if (bits & kUnchangedBit) {
        value->state = ValueState::kUnchanged;
    } else {
        value->state = ValueState::kPresent;
        readValue(value, j);
    }
    if (++column_ == header_.columnCount) {
        column_ = -1;
        ++rowsRead_;
    }
    return true;
}

bool DSEXTRACT::flagsAsWritten() const {
    const int columns = static_cast<int>(header_.columnCount);
    for (int j = 0; j < 4 * static_cast<int>(nullCopy_.size()); ++j) {
        const auto bits =
            static_cast<uint8_t>((static_cast<uint8_t>(nullCopy_[j / 4]) >> (2 * (j % 4))) & 0x3);
        if (j >= columns ? bits != 0 : bits == (kBlankBit | kUnchangedBit)) {
            return false;
        }
    }
    return true;
}

void DSEXTRACT::readValue(ExtractedValue* value, int column) {
    const FLDConv& conv = *converters_[static_cast<size_t>(column)];
    const FLDCVar* var = varying_[static_cast<size_t>(column)];
    if (var == nullptr || source_ == nullptr) {
        // Fixed-size and array values, and every value of a packet in
        // memory, are read whole.
        if (!parseItem([&] { return conv.read(&in_, &value->bytes); })) {
            damaged(QT_TRANSLATE_NOOP("quillmere::Store", "value runs past the end of the data"));
        }
        value->offset = position() - value->bytes.size();
        value->length = value->bytes.size();
        return;
    }
    qsizetype length = 0;
    if (!fill(var->prefixWidth()) || !var->readLength(&in_, &length)) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "value runs past the end of the data"));
    }
    if (length > left()) {
        damaged(QT_TRANSLATE_NOOP("quillmere::Store", "value runs past the end of the data"));
    }
    value->offset = position();
    value->length = length;
    passOver(length);
}

}  // namespace quillmere
