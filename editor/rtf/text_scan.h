// The two byte loops the RTF reader spends its time in, done 16 bytes at a
// time where SSE2 is available (every x86-64) and a byte at a time elsewhere
// and for the tail of a run:
//
//   specialOffset         where the next byte that ends a text run is:
//                         '\' '{' '}' CR LF (see tokenizer.h)
//   widenPrintableAscii   copies the leading printable ASCII (0x20..0x7F) of
//                         a run to UTF-16, stopping at the first control
//                         character or byte >= 0x80, which the caller decodes
//                         in the run's code page
#pragma once

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillmere::rtf {

inline bool isRunEnd(char c) {
    return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
}

// Offset of the first run-ending byte in data[0, size), or size.
inline std::size_t specialOffset(const char* data, std::size_t size) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= size; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, backslash), _mm_cmpeq_epi8(v, open)),
                         _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, close), _mm_cmpeq_epi8(v, cr)),
                                      _mm_cmpeq_epi8(v, lf)));
        int mask = _mm_movemask_epi8(hit);
        if (mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
        }
    }
#endif
    while (i < size && !isRunEnd(data[i])) {
        ++i;
    }
    return i;
}

inline bool isPrintableAscii(char c) {
    auto b = static_cast<unsigned char>(c);
    return b >= 0x20 && b < 0x80;
}

// Widens the leading printable ASCII bytes of data[0, size) into dst and
// returns how many there were. The caller allows reading data[0, readable)
// (readable >= size; bytes past size are looked at, never used), and dst
// must have room for size + 15 characters: the block loop may write past the
// stop.
inline std::size_t widenPrintableAscii(const char* data, std::size_t size, std::size_t readable,
                                       char16_t* dst) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(0x20);
    const __m128i zero = _mm_setzero_si128();
    for (; i < size && i + 16 <= readable; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 8), _mm_unpackhi_epi8(v, zero));
        // Signed compare: true for 0x00..0x1F and for 0x80..0xFF alike.
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(v, space)));
        if (size - i < 16) {
            mask |= ~0u << (size - i);  // the run ends inside this block
        }
        if (mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(mask));
        }
    }
#endif
    (void)readable;
    while (i < size && isPrintableAscii(data[i])) {
        dst[i] = static_cast<char16_t>(static_cast<unsigned char>(data[i]));
        ++i;
    }
    return i;
}

}  // namespace quillmere::rtf
