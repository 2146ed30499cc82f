#include "store/type_word.h"

namespace quillmere::typeword {

namespace {

QByteArray sizedName(const char* base, uint32_t bytes) {
    return QByteArray(base) + QByteArray::number(bytes);
}

QByteArray scalarName(uint32_t word) {
    const uint32_t s = size(word);
    switch (code(word)) {
        case kInteger:
            return sizedName("i", s);
        case kUnsigned:
            return sizedName("ui", s);
        case kBoolean:
            return "boolean";
        case kFloat:
            return s == 10 ? "r10" : "r8";
        case kBcd:
            return "fixed";
        case kDate:
            return "date";
        case kTime:
            return "time";
        case kDateTime:
            return "dateTime";
        case kString:
            return "string";
        case kWideString:
            return "string.uni";
        case kBytes:
            return "bin.hex";
        case kNested:
            return "nested";
        case kSqlTimestamp:
            return "SQLdateTime";
        case kFixedFmt:
            return "fixedFMT";
        default:
            return "unknown";
    }
}

}  // namespace

QByteArray typeName(uint32_t word) {
    QByteArray name = scalarName(word);
    if (isArray(word)) {
        name += "[]";
    }
    return name;
}

}  // namespace quillmere::typeword
