// Windows code pages of RTF text: which page a font's character set means,
// decoding bytes of a page to Unicode (glibc iconv; single-byte pages through
// 256-entry tables built once from iconv), and encoding into code page 1252.
#pragma once

#include <QString>

#include <array>
#include <cstddef>

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

// The code page 1252 byte of a character, or 0 when the page has none (the
// NUL character itself is never encoded).
unsigned char encodeCp1252(char16_t ch);

}  // namespace quillmere::rtf
