// Windows code pages of RTF text: which page a font's character set means,
// decoding bytes of a page to Unicode (glibc iconv; single-byte pages through
// 256-entry tables built once from iconv), and encoding into code page 1252.
#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillmere::rtf {

constexpr int kCodePage1252 = 1252;

// The code page of a Windows character set number (\fcharsetN); ANSI (0),
// default (1), symbol (2) and unknown sets use `ansiCodePage`.
int codePageOfCharset(int charset, int ansiCodePage);

// Appends the Unicode text of `size` bytes in `codePage` to `out`. Bytes that
// are not valid in the page become U+FFFD; an unknown page is read as 1252.
// Never throws.
void appendDecoded(int codePage, const char* data, std::size_t size, QString& out);

// The 256 characters of a page read a byte at a time (every page except the
// double-byte ones and 1258; an unknown page gives the 1252 table), exactly
// as appendDecoded reads it; nullptr for a page appendDecoded reads with
// iconv. The table lives as long as the program. Never throws.
using ByteTable = std::array<char16_t, 256>;
const ByteTable* byteTable(int codePage);

// A double-byte page (932 Shift-JIS, 936 GBK, 949 Unified Hangul, 950 Big5,
// 1361 Johab) as tables built once from iconv: what a single byte is, which
// bytes lead a pair, and what each valid pair is. A lead byte followed by a
// byte that makes no valid pair with it reads as U+FFFD, and the byte after
// it is read afresh, as iconv reads it.
struct DoubleByteTable {
    ByteTable single{};                   // a byte read alone
    std::array<std::uint8_t, 256> row{};  // a lead byte's row in `pairs`, 1-based; 0 = no lead
    std::vector<char16_t> pairs;          // (row - 1) * 256 + trail; 0 = no valid pair
    bool asciiIsItself = true;            // every byte below 0x80 reads as itself

    bool isLead(unsigned char byte) const { return row[byte] != 0; }
    // The character of a lead byte and the byte after it, or 0 when the two
    // make no valid pair.
    char16_t pair(unsigned char lead, unsigned char trail) const {
        return pairs[(std::size_t{row[lead]} - 1) * 256 + trail];
    }
};
// The tables of a double-byte page, or nullptr for any other page. The
// tables live as long as the program. Never throws.
const DoubleByteTable* doubleByteTable(int codePage);

// Appends the text of `size` bytes read through a double-byte table.
void appendDoubleBytes(const DoubleByteTable& table, const char* data, std::size_t size,
                       QString& out);

// True when `codePage` reads the byte of the ASCII character `c` (below
// 0x80) as `c` itself: false for a backslash in Johab (the won sign) or a
// lead byte. Never throws.
bool readsAsciiAsItself(int codePage, char16_t c);

// The code page 1252 byte of a character, or 0 when the page has none (the
// NUL character itself is never encoded).
unsigned char encodeCp1252(char16_t ch);

}  // namespace quillmere::rtf
