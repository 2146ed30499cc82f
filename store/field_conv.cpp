#include "store/field_conv.h"

#include "store/copy_bytes.h"
#include "store/dataset_error.h"
#include "store/type_word.h"

#include <cstring>

namespace quillmere {

namespace {

[[noreturn]] void unsupported(uint32_t word) {
    throw DatasetError(status::kUnsupportedType,
                       QStringLiteral("type word 0x%1").arg(word, 8, 16, QLatin1Char('0')));
}

bool validFixedSize(uint32_t code, uint32_t size) {
    using namespace typeword;
    switch (code) {
        case kInteger:
        case kUnsigned:
            return size == 1 || size == 2 || size == 4 || size == 8;
        case kBoolean:
            return size == 1 || size == 2 || size == 4;
        case kFloat:
            return size == 8 || size == 10;
        case kDate:
        case kTime:
            return size == 4;
        case kDateTime:
            return size == 8;
        case kSqlTimestamp:
            return size == 16;
        case kBcd:
        case kFixedFmt:
        case kString:
        case kWideString:
        case kBytes:
            return size > 0;
        default:
            return false;
    }
}

std::unique_ptr<FLDConv> fixedConverter(uint32_t code, uint32_t size) {
    using namespace typeword;
    switch (code) {
        case kFloat:
            if (size == 10) {
                return std::make_unique<FLDCFloatIEEE>();
            }
            return std::make_unique<FLDCFloat>();
        case kDateTime:
            return std::make_unique<FLDCFloat>();
        case kSqlTimestamp:
            return std::make_unique<FLDCSQLTIMESTAMP>();
        case kBcd:
        case kFixedFmt:
            return std::make_unique<FLDCBcd>(size);
        case kString:
        case kWideString:
        case kBytes:
            return std::make_unique<FLDCFixed>(size);
        default:
            break;
    }
    switch (size) {
        case 1:
            return std::make_unique<FLDCInt8>();
        case 2:
            return std::make_unique<FLDCInt16>();
        case 4:
            return std::make_unique<FLDCInt32>();
        default:
            return std::make_unique<FLDCInt64>();
    }
}

}  // namespace

void FLDCFixed::write(char* dst, QByteArrayView value) const {
    const qsizetype n = qMin(size_, value.size());
    CopyBytes(dst, value.first(n));
    std::memset(dst + n, 0, static_cast<size_t>(size_ - n));
}

bool FLDCFixed::read(ByteReader* in, QByteArrayView* value) const {
    return in->getBytes(size_, value);
}

qsizetype FLDCVar::maxLength() const {
    switch (width_) {
        case 1:
            return 0xFF;
        case 2:
            return 0xFFFF;
        default:
            return 0x7FFFFFFF;
    }
}

void FLDCVar::write(char* dst, QByteArrayView value) const {
    const auto length = static_cast<uint32_t>(value.size());
    switch (width_) {
        case 1:
            *dst = static_cast<char>(length);
            break;
        case 2:
            EncodeFixed16(dst, static_cast<uint16_t>(length));
            break;
        default:
            EncodeFixed32(dst, length);
            break;
    }
    CopyBytes(dst + width_, value);
}

bool FLDCVar::readLength(ByteReader* in, qsizetype* length) const {
    if (width_ == 1) {
        uint8_t n;
        if (!in->getFixed8(&n)) {
            return false;
        }
        *length = n;
    } else if (width_ == 2) {
        uint16_t n;
        if (!in->getFixed16(&n)) {
            return false;
        }
        *length = n;
    } else {
        uint32_t n;
        if (!in->getFixed32(&n)) {
            return false;
        }
        // A negative length stands for "no bytes".
        *length = static_cast<int32_t>(n) < 0 ? 0 : static_cast<qsizetype>(n);
    }
    return true;
}

bool FLDCVar::read(ByteReader* in, QByteArrayView* value) const {
    const ByteReader start = *in;
    qsizetype length = 0;
    if (!readLength(in, &length)) {
        return false;
    }
    if (!in->getBytes(length, value)) {
        *in = start;
        return false;
    }
    return true;
}

void FLDCRepeat::write(char* dst, QByteArrayView value) const {
    CopyBytes(dst, value);
}

bool FLDCRepeat::read(ByteReader* in, QByteArrayView* value) const {
    const char* start = in->position();
    uint32_t count;
    if (!in->getFixed32(&count)) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        QByteArrayView element;
        // Every element takes at least one byte, so a damaged count ends here
        // as soon as the data does.
        if (in->remaining() == 0 || !element_->read(in, &element)) {
            return false;
        }
    }
    *value = QByteArrayView(start, in->position() - start);
    return true;
}

std::unique_ptr<FLDConv> makeConverter(uint32_t word) {
    using namespace typeword;
    if ((word & kStructuredMask) != 0) {
        unsupported(word);
    }
    if (isArray(word)) {
        return std::make_unique<FLDCRepeat>(makeConverter(word & ~kArray));
    }
    const uint32_t c = code(word);
    const uint32_t s = size(word);
    if (isVarying(word)) {
        if (c != kString && c != kWideString && c != kBytes) {
            unsupported(word);
        }
        switch (s) {
            case 1:
                return std::make_unique<FLDCVar8>();
            case 2:
                return std::make_unique<FLDCVar16>();
            case 4:
                return std::make_unique<FLDCVar32>();
            default:
                unsupported(word);
        }
    }
    if (!validFixedSize(c, s)) {
        unsupported(word);
    }
    return fixedConverter(c, s);
}

}  // namespace quillmere
