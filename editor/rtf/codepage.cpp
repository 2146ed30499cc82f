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

bool isDoubleByte(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361;
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

// One or two bytes through iconv: the one UTF-16 unit they make when iconv
// reads all of them as one character, else 0.
char16_t convertWhole(iconv_t cd, const char* bytes, std::size_t size) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char16_t unit[2] = {0, 0};
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = size;
    char* outPtr = reinterpret_cast<char*>(unit);
    std::size_t outLeft = sizeof(unit);
    std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0 || outLeft != sizeof(char16_t)) {
        return 0;
    }
    return unit[0];
}

// Lead bytes are those iconv finds incomplete on their own.
std::unique_ptr<DoubleByteTable> buildDoubleByteTable(const char* name) {
    auto table = std::make_unique<DoubleByteTable>();
    IconvHandle handle(name);
    std::uint8_t rows = 0;
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        char16_t c = 0;
        bool lead = false;
        if (handle.valid()) {
            iconv(handle.get(), nullptr, nullptr, nullptr, nullptr);
            char16_t unit[2];
            char* in = const_cast<char*>(&byte);
            std::size_t inLeft = 1;
            char* outPtr = reinterpret_cast<char*>(unit);
            std::size_t outLeft = sizeof(unit);
            std::size_t rc = iconv(handle.get(), &in, &inLeft, &outPtr, &outLeft);
            lead = rc == static_cast<std::size_t>(-1) && errno == EINVAL;
            if (rc != static_cast<std::size_t>(-1) && outLeft == sizeof(char16_t)) {
                c = unit[0];
            }
        }
        table->single[static_cast<std::size_t>(b)] = c != 0 || b == 0 ? c : kReplacement;
        if (lead && rows < 255) {
            table->row[static_cast<std::size_t>(b)] = ++rows;
        }
        if (b < 0x80 && (lead || c != b)) {
            table->asciiIsItself = false;
        }
    }
    table->pairs.assign(std::size_t{rows} * 256, 0);
    for (int lead = 0; lead < 256; ++lead) {
        if (!table->isLead(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (int trail = 0; trail < 256; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            table->pairs[(std::size_t{table->row[static_cast<std::size_t>(lead)]} - 1) * 256 +
                         static_cast<std::size_t>(trail)] = convertWhole(handle.get(), bytes, 2);
        }
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

const DoubleByteTable* doubleByteTable(int codePage) {
    if (!isDoubleByte(codePage)) {
        return nullptr;
    }
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<DoubleByteTable>> tables;
    std::lock_guard lock(mutex);
    auto& slot = tables[codePage];
    if (!slot) {
        slot = buildDoubleByteTable(iconvName(codePage));
    }
    return slot.get();
}

void appendDoubleBytes(const DoubleByteTable& table, const char* data, std::size_t size,
                       QString& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    qsizetype at = out.size();
    out.resize(at + static_cast<qsizetype>(size));
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (std::size_t i = 0; i < size;) {
        const unsigned char b = p[i];
        char16_t c = 0;
        if (table.isLead(b) && i + 1 < size) {
            c = table.pair(b, p[i + 1]);
        }
        if (c != 0) {
            i += 2;
        } else {
            c = table.isLead(b) ? kReplacement : table.single[b];
            ++i;
        }
        dst[at++] = c;
    }
    out.resize(at);
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
    if (const DoubleByteTable* table = doubleByteTable(codePage)) {
        appendDoubleBytes(*table, data, size, out);
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

bool readsAsciiAsItself(int codePage, char16_t c) {
    if (const DoubleByteTable* pairs = doubleByteTable(codePage)) {
        return pairs->asciiIsItself ||
               (!pairs->isLead(static_cast<unsigned char>(c)) && pairs->single[c] == c);
    }
    if (const ByteTable* bytes = byteTable(codePage)) {
        return (*bytes)[c] == c;
    }
    return true;
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
