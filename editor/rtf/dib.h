// Device-independent bitmaps (DIB): a BITMAPINFO header, an optional colour
// table and the pixel rows, as they appear inside EMF and WMF records and in
// \dibitmap pictures. All values little-endian.
//
//   BITMAPINFOHEADER (40 bytes; the V4 and V5 forms are 108 and 124 bytes
//   with the same first 40)
//     0  u32 biSize           4  i32 biWidth          8  i32 biHeight
//                                                        (> 0 bottom-up rows)
//    12  u16 biPlanes (1)    14  u16 biBitCount (1, 4, 8, 16, 24, 32)
//    16  u32 biCompression (0 BI_RGB, 3 BI_BITFIELDS)
//    20  u32 biSizeImage     24  i32 biXPelsPerMeter 28  i32 biYPelsPerMeter
//    32  u32 biClrUsed       36  u32 biClrImportant
//   BITMAPCOREHEADER (12 bytes)
//     0  u32 bcSize  4 u16 bcWidth  6 u16 bcHeight  8 u16 planes  10 u16 bitCount
//   then, for BI_BITFIELDS with a 40-byte header, three u32 masks (R, G, B);
//   then the colour table for 1, 4 and 8 bits (biClrUsed entries, or 2^bits),
//   4 bytes B G R 0 each (3 bytes B G R for the core header);
//   the rows follow, each padded to a multiple of 4 bytes.
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstddef>

namespace quillmere::rtf {

constexpr int kBitmapInfoHeaderSize = 40;
constexpr int kBitmapCoreHeaderSize = 12;
// Largest bitmap the reader decodes, in pixels.
constexpr long long kMaxDibPixels = 64LL * 1024 * 1024;

// Decodes a DIB whose header starts at `info` (infoSize bytes available) and
// whose rows start at `bits` (bitsSize bytes). Returns a null image for an
// unsupported (compressed) or damaged bitmap.
QImage decodeDib(const char* info, std::size_t infoSize, const char* bits, std::size_t bitsSize);

// Decodes a packed DIB: header, colour table and rows in one block.
QImage decodePackedDib(const QByteArray& packed);

// The 40-byte BITMAPINFOHEADER and the bottom-up 24-bit rows of an image
// (transparent pixels drawn over white).
QByteArray encodeDibHeader24(int width, int height);
QByteArray encodeDibRows24(const QImage& image);

}  // namespace quillmere::rtf
