#include "search/core/rtf_text_filter.h"

#include "editor/rtf/tokenizer.h"

#include <QChar>

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillmere {

namespace {

constexpr unsigned char kCaseBit = 0x20;
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastAscii = 0x7F;
constexpr std::size_t kVectorBytes = 16;

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Per ASCII character: whether some non-ASCII UTF-16 unit folds to the same
// character as it does (KELVIN SIGN and "k", LONG S and "s", ...).
const std::array<bool, 128>& foldPartners() {
    static const std::array<bool, 128> partners = [] {
        std::array<bool, 128> table{};
        for (char32_t unit = 0x80; unit <= 0xFFFF; ++unit) {
            if (QChar::isSurrogate(unit)) {
                continue;
            }
            const char32_t folded = QChar::toCaseFolded(unit);
            if (folded < 0x80) {
                table[folded] = true;
                table[QChar::toUpper(folded)] = true;
            }
        }
        return table;
    }();
    return partners;
}

// Markup: bytes that never stand for a needle character where they are
// (backslash, braces, control bytes, DEL and every byte above), so a partial
// occurrence running into one may go on in the displayed text.
bool isMarkup(unsigned char byte) {
    return byte == '\\' || byte == '{' || byte == '}' || byte < kFirstPrintable ||
           byte >= kLastAscii;
}

bool looksLikeRtf(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        i = 3;
    }
    while (i < n && (p[i] == ' ' || p[i] == '\t' || p[i] == '\r' || p[i] == '\n')) {
        ++i;
    }
    return n - i >= 5 && std::memcmp(p + i, "{\\rtf", 5) == 0;
}

bool anyHighByte(const unsigned char* p, std::size_t n) {
    unsigned char any = 0;
    for (std::size_t i = 0; i < n; ++i) {
        any |= p[i];
    }
    return (any & 0x80) != 0;
}

}  // namespace

RtfTextFilter::RtfTextFilter(QStringView needle) {
    if (needle.isEmpty()) {
        return;
    }
    for (const QChar qc : needle) {
        const char16_t c = qc.unicode();
        if (c < kFirstPrintable || c >= kLastAscii || c == u'\\' || c == u'{' || c == u'}') {
            needle_.clear();
            foldMask_.clear();
            return;
        }
        const bool letter = isAsciiLetter(c);
        needle_.push_back(static_cast<char>(letter ? (c | kCaseBit) : c));
        foldMask_.push_back(static_cast<char>(letter ? kCaseBit : 0));
        strict_ = strict_ || c == u' ' || foldPartners()[c];
    }
    usable_ = true;
}

bool RtfTextFilter::mayMatch(QByteArrayView rtf) const {
    return mayMatch(rtf, true);
}

bool RtfTextFilter::mayMatchScalar(QByteArrayView rtf) const {
    return mayMatch(rtf, false);
}

bool RtfTextFilter::mayMatch(QByteArrayView rtf, bool vector) const {
    const auto* p = reinterpret_cast<const unsigned char*>(rtf.data());
    const auto n = static_cast<std::size_t>(rtf.size());
    if (!usable_ || !looksLikeRtf(p, n)) {
        return true;
    }
    return findLoose(p, n, vector) || markupMayProduceNeedle(p, n);
}

bool RtfTextFilter::markupMayProduceNeedle(const unsigned char* p, std::size_t n) const {
    if (n == 0) {
        return false;
    }
    const unsigned char* end = p + n;
    if (std::memchr(p, 0, n) != nullptr || (strict_ && anyHighByte(p, n))) {
        return true;
    }
    // The escapes that can make characters (\'hh, \~, \uN) are read as the
    // reader reads them; other control words only need stepping over, and
    // "\\\\" is one escaped backslash, not the start of an escape, unless a
    // byte of 0x80 or above stands before it: in a double-byte font that
    // byte may take the first backslash as its trail, and the second then
    // starts an escape.
    for (const void* at = std::memchr(p, '\\', n); at != nullptr;) {
        const auto* slash = static_cast<const unsigned char*>(at);
        const unsigned char c = slash + 1 < end ? slash[1] : 0;
        const bool mayBeTrail = slash > p && slash[-1] >= 0x80;
        const unsigned char* next = slash + (c == '\\' && !mayBeTrail ? 2 : 1);
        if (c == '\'' || c == '~' || c == 'u') {
            rtf::Tokenizer tokenizer(reinterpret_cast<const char*>(slash),
                                     static_cast<std::size_t>(end - slash));
            if (tokenMayProduceNeedle(tokenizer.next())) {
                return true;
            }
            next = end - tokenizer.remaining();
        }
        at = next < end ? std::memchr(next, '\\', static_cast<std::size_t>(end - next)) : nullptr;
    }
    return false;
}

bool RtfTextFilter::tokenMayProduceNeedle(const rtf::Token& token) const {
    switch (token.type) {
        case rtf::TokenType::Hex:
            return strict_ || token.byte <= kLastAscii;
        case rtf::TokenType::Symbol:
            // \~ shows as a space; \' without two hex digits is left to the
            // reader.
            return token.text == "'" || (strict_ && token.text == "~");
        case rtf::TokenType::Word: {
            if (token.text != "u" || !token.hasParam) {
                return false;  // another word, or \u without a character
            }
            if (strict_) {
                return true;
            }
            // The character as the reader makes it: a negative parameter
            // counts from 65536, a larger one keeps its low 16 bits.
            const int param = token.param;
            const auto ch = static_cast<char16_t>(param < 0 ? param + 65536 : param);
            return ch <= kLastAscii || QChar::toCaseFolded(char32_t(ch)) <= kLastAscii;
        }
        default:
            return false;
    }
}

// Whether the needle's first character (folded) stands at i, followed by
// the second one or by markup.
bool RtfTextFilter::candidateAt(const unsigned char* p, std::size_t n, std::size_t i) const {
    if (folded(p[i], 0) != static_cast<unsigned char>(needle_[0])) {
        return false;
    }
    if (needle_.size() == 1) {
        return true;
    }
    return i + 1 < n &&
           (folded(p[i + 1], 1) == static_cast<unsigned char>(needle_[1]) || isMarkup(p[i + 1]));
}

// Follows the needle from i: true when it completes, or when a partial
// occurrence runs into markup (the displayed text may go on with it).
bool RtfTextFilter::looseMatchAt(const unsigned char* p, std::size_t n, std::size_t i) const {
    std::size_t j = 0;
    while (j < needle_.size()) {
        if (i == n) {
            return false;
        }
        if (folded(p[i], j) == static_cast<unsigned char>(needle_[j])) {
            ++i;
            ++j;
        } else {
            return j > 0 && isMarkup(p[i]);
        }
    }
    return true;
}

bool RtfTextFilter::findLoose(const unsigned char* p, std::size_t n, bool vector) const {
    std::size_t i = 0;
#if defined(__SSE2__)
    if (vector) {
        const bool single = needle_.size() == 1;
        const __m128i first = _mm_set1_epi8(needle_[0]);
        const __m128i firstMask = _mm_set1_epi8(foldMask_[0]);
        const __m128i second = _mm_set1_epi8(single ? 0 : needle_[1]);
        const __m128i secondMask = _mm_set1_epi8(single ? 0 : foldMask_[1]);
        const __m128i slash = _mm_set1_epi8('\\');
        const __m128i open = _mm_set1_epi8('{');
        const __m128i close = _mm_set1_epi8('}');
        // Signed compare: bytes of 0x80 and above are negative, so below too.
        const __m128i printable = _mm_set1_epi8(static_cast<char>(kFirstPrintable));
        const __m128i del = _mm_set1_epi8(static_cast<char>(kLastAscii));
        for (; i + kVectorBytes + 1 <= n; i += kVectorBytes) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            __m128i hits = _mm_cmpeq_epi8(_mm_or_si128(here, firstMask), first);
            if (!single) {
                const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
                const __m128i markup = _mm_or_si128(
                    _mm_or_si128(_mm_cmpeq_epi8(after, slash), _mm_cmpeq_epi8(after, open)),
                    _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(after, close),
                                              _mm_cmplt_epi8(after, printable)),
                                 _mm_cmpeq_epi8(after, del)));
                hits = _mm_and_si128(
                    hits,
                    _mm_or_si128(_mm_cmpeq_epi8(_mm_or_si128(after, secondMask), second), markup));
            }
            for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits)); mask != 0;
                 mask &= mask - 1) {
                if (looseMatchAt(p, n, i + static_cast<std::size_t>(__builtin_ctz(mask)))) {
                    return true;
                }
            }
        }
    }
#else
    (void)vector;
#endif
    for (; i < n; ++i) {
        if (candidateAt(p, n, i) && looseMatchAt(p, n, i)) {
            return true;
        }
    }
    return false;
}

}  // namespace quillmere
