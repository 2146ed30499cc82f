// Windows metafiles (WMF) holding bitmaps, as in \wmetafile pictures. Values
// little-endian; sizes of records count 16-bit words.
//
//   optional placeable header (22 bytes): u32 key 0x9AC6CDD7, u16 handle,
//     i16 left, top, right, bottom (logical units), u16 units per inch,
//     u32 reserved, u16 checksum
//   META_HEADER (18 bytes): u16 type (1 memory, 2 disk), u16 header words (9),
//     u16 version, u32 file words, u16 objects, u32 largest record, u16 0
//   records: u32 size (words), u16 function, parameters
//     META_SETWINDOWORG 0x020B  i16 y, i16 x
//     META_SETWINDOWEXT 0x020C  i16 y, i16 x
//     META_DIBBITBLT    0x0940  u32 rop, i16 ySrc, xSrc, height, width, yDest, xDest, DIB
//     META_DIBSTRETCHBLT 0x0B41 u32 rop, i16 srcHeight, srcWidth, ySrc, xSrc,
//                               destHeight, destWidth, yDest, xDest, DIB
//     META_STRETCHDIB   0x0F43  u32 rop, u16 colour use, i16 srcHeight, srcWidth,
//                               ySrc, xSrc, destHeight, destWidth, yDest, xDest, DIB
//     META_EOF          0x0000
//   The DIB is packed: header, colour table, rows (see dib.h).
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>

namespace quillmere::rtf {

constexpr std::uint32_t kWmfPlaceableKey = 0x9AC6CDD7;
constexpr std::uint16_t kMetaEof = 0x0000;
constexpr std::uint16_t kMetaSetWindowOrg = 0x020B;
constexpr std::uint16_t kMetaSetWindowExt = 0x020C;
constexpr std::uint16_t kMetaDibBitBlt = 0x0940;
constexpr std::uint16_t kMetaDibStretchBlt = 0x0B41;
constexpr std::uint16_t kMetaStretchDib = 0x0F43;

// The picture of a WMF whose drawing is made of DIB copies; other records
// are passed over. Null when it holds no bitmap or is damaged.
QImage readBitmapWmf(const QByteArray& wmf);

}  // namespace quillmere::rtf
