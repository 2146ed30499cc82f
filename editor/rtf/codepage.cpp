#include "editor/rtf/codepage.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

namespace quillmere::rtf {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Windows character set numbers and their code pages.
struct CharsetPage {
    int charset;
    int codePage;
};
constexpr CharsetPage kCharsetPages[] = {
    {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},
    {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
    {204, 1251}, {222, 874},  {238, 1250}, {255, 437},
};

// iconv's name of a code page, or nullptr when it is not one we read.
const char* iconvName(int codePage) {
    switch (codePage) {
        case 437:
            return "CP437";
        case 850:
            return "CP850";
        case 874:
            return "CP874";
        case 932:
            return "CP932";
        case 936:
            return "CP936";
        case 949:
            return "CP949";
        case 950:
            return "CP950";
        case 1250:
            return "CP1250";
        case 1251:
            return "CP1251";
        case 1252:
            return "CP1252";
        case 1253:
            return "CP1253";
        case 1254:
            return "CP1254";
        case 1255:
            return "CP1255";
        case 1256:
            return "CP1256";
        case 1257:
            return "CP1257";
        case 1258:
            return "CP1258";
        case 1361:
            return "CP1361";
        case 10000:
            return "MACINTOSH";
        default:
            return nullptr;
    }
}

bool isMultiByte(int codePage) {
    // Double-byte pages, and 1258 whose iconv converter combines characters.
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361 || codePage == 1258;
}

// Converts with one iconv descriptor; invalid or incomplete sequences become
// U+FFFD and conversion goes on at the next byte.
void convertWithIconv(iconv_t cd, const char* data, std::size_t size, QString& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::array<char16_t, 512> buffer;
    char* in = const_cast<char*>(data);
    std::size_t inLeft = size;
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer.data());
        std::size_t outLeft = sizeof(buffer);
        std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
        out.append(reinterpret_cast<const QChar*>(buffer.data()),
                   static_cast<qsizetype>((sizeof(buffer) - outLeft) / sizeof(char16_t)));
        if (error == EILSEQ || error == EINVAL) {
            out.append(QChar(kReplacement));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else if (error != 0 && error != E2BIG) {
            break;
        }
    }
    char* outPtr = reinterpret_cast<char*>(buffer.data());
    std::size_t outLeft = sizeof(buffer);
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(reinterpret_cast<const QChar*>(buffer.data()),
               static_cast<qsizetype>((sizeof(buffer) - outLeft) / sizeof(char16_t)));
}

class IconvHandle {
public:
    explicit IconvHandle(const char* from) : cd_(iconv_open("UTF-16LE", from)) {}
    ~IconvHandle() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// The 256 characters of a single-byte page, from iconv one byte at a time.
ByteTable buildTable(const char* name) {
    ByteTable table{};
    IconvHandle handle(name);
    for (int b = 0; b < 256; ++b) {
        QString one;
        char byte = static_cast<char>(b);
        if (handle.valid()) {
            convertWithIconv(handle.get(), &byte, 1, one);
        }
        table[static_cast<std::size_t>(b)] = one.size() == 1 ? one.at(0).unicode() : kReplacement;
    }
    return table;
}

const ByteTable& singleByteTable(int codePage) {
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<ByteTable>> tables;
    std::lock_guard lock(mutex);
    auto& slot = tables[codePage];
    if (!slot) {
        slot = std::make_unique<ByteTable>(buildTable(iconvName(codePage)));
    }
    return *slot;
}

const ByteTable& cp1252Table() {
    static const ByteTable& table = singleByteTable(kCodePage1252);
    return table;
}

void appendWithTable(const ByteTable& table, const char* data, std::size_t size, QString& out) {
    // ASCII is the same in every page we read as a table: Qt widens it fast.
    std::size_t ascii = 0;
    while (ascii < size && static_cast<unsigned char>(data[ascii]) < 0x80) {
        ++ascii;
    }
    if (ascii > 0) {
        out.append(QLatin1StringView(data, static_cast<qsizetype>(ascii)));
        data += ascii;
        size -= ascii;
    }
    if (size == 0) {
        return;
    }
    qsizetype start = out.size();
    out.resize(start + static_cast<qsizetype>(size));
    char16_t* dst = reinterpret_cast<char16_t*>(out.data()) + start;
    for (std::size_t i = 0; i < size; ++i) {
        dst[i] = table[static_cast<unsigned char>(data[i])];
    }
}

}  // namespace

int codePageOfCharset(int charset, int ansiCodePage) {
    for (const auto& entry : kCharsetPages) {
        if (entry.charset == charset) {
            return entry.codePage;
        }
    }
    return ansiCodePage;
}

const ByteTable* byteTable(int codePage) {
    if (iconvName(codePage) == nullptr || codePage == kCodePage1252) {
        return &cp1252Table();
    }
    return isMultiByte(codePage) ? nullptr : &singleByteTable(codePage);
}

void appendDecoded(int codePage, const char* data, std::size_t size, QString& out) {
    if (size == 0) {
        return;
    }
    if (iconvName(codePage) == nullptr) {
        codePage = kCodePage1252;
    }
    if (codePage == kCodePage1252) {
        appendWithTable(cp1252Table(), data, size, out);
        return;
    }
    if (!isMultiByte(codePage)) {
        appendWithTable(singleByteTable(codePage), data, size, out);
        return;
    }
    // iconv descriptors carry state: one per thread and page.
    thread_local std::map<int, std::unique_ptr<IconvHandle>> handles;
    auto& handle = handles[codePage];
    if (!handle) {
        handle = std::make_unique<IconvHandle>(iconvName(codePage));
    }
    if (!handle->valid()) {
        appendWithTable(cp1252Table(), data, size, out);
        return;
    }
    convertWithIconv(handle->get(), data, size, out);
}

unsigned char encodeCp1252(char16_t ch) {
    if (ch == 0) {
        return 0;
    }
    if (ch < 0x80) {
        return static_cast<unsigned char>(ch);
    }
    static const std::array<unsigned char, 65536>* reverse = [] {
        auto* table = new std::array<unsigned char, 65536>{};
        const ByteTable& forward = cp1252Table();
        for (int b = 0x80; b < 256; ++b) {
            char16_t u = forward[static_cast<std::size_t>(b)];
            if (u != kReplacement) {
                (*table)[u] = static_cast<unsigned char>(b);
            }
        }
        return table;
    }();
    return (*reverse)[ch];
}

}  // namespace quillmere::rtf
