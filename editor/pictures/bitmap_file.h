// The length check of a bitmap (.bmp) file before it is decoded: a file cut
// short inside its pixels must be refused, not shown with whatever memory the
// decoder left where the missing rows should be.
//
// Layout (all values little-endian):
//   file header, 14 bytes
//     0  "BM"
//     2  u32 file size (not trusted: writers leave it 0 or wrong)
//     6  u16, u16 reserved
//    10  u32 offset of the pixel data from the start of the file
//   info header at 14, its own size first
//     core header (12 bytes): 18 u16 width, 20 u16 height, 22 u16 planes,
//                             24 u16 bits per pixel; colour table of 3-byte
//                             entries
//     info header (40 bytes and longer versions): 18 i32 width, 22 i32 height
//                             (negative: rows top-down), 26 u16 planes,
//                             28 u16 bits per pixel, 30 u32 compression,
//                             34 u32 size of the pixel data, 46 u32 colours
//                             used; colour table of 4-byte entries (after
//                             three or four masks of 4 bytes with bit-field
//                             compression and the 40-byte header)
//   pixel data at the offset: rows bottom-up (or top-down), each padded to
//   a multiple of 4 bytes; run-length coded for RLE8 and RLE4, ended by the
//   end-of-bitmap code 00 01.
#pragma once

#include <QByteArray>

namespace quillmere {

// True when every byte the headers promise lies inside `bytes`: both headers,
// the colour table, and the pixel data (every row of an uncompressed bitmap;
// for run-length coding, a code stream that reaches its end-of-bitmap code,
// and for other compressions the stated data size). False also for a
// width or height of 0 or more bits per pixel than 32. Never throws.
bool isWholeBitmapFile(const QByteArray& bytes);

}  // namespace quillmere
