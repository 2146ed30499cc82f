// Enhanced metafiles (EMF) holding bitmaps: the stored form of a picture the
// user inserts, and the reader that shows such metafiles. All values
// little-endian; a RECTL is four i32 (left, top, right, bottom), a SIZEL two
// i32. Every record starts with u32 iType, u32 nSize (bytes, a multiple of 4).
//
//   EMR_HEADER (iType 1), 108 bytes as written here
//     8 RECTL rclBounds (device pixels, inclusive)   24 RECTL rclFrame (0.01 mm)
//    40 u32 dSignature 0x464D4520 (" EMF")  44 u32 nVersion 0x10000
//    48 u32 nBytes (whole file)  52 u32 nRecords  56 u16 nHandles  58 u16 reserved
//    60 u32 nDescription  64 u32 offDescription  68 u32 nPalEntries
//    72 SIZEL szlDevice (pixels)  80 SIZEL szlMillimeters
//    88 u32 cbPixelFormat  92 u32 offPixelFormat  96 u32 bOpenGL
//   100 SIZEL szlMicrometers
//   EMR_STRETCHDIBITS (iType 81), 80 bytes + BITMAPINFOHEADER + rows
//     8 RECTL rclBounds  24 i32 xDest  28 i32 yDest  32 i32 xSrc  36 i32 ySrc
//    40 i32 cxSrc  44 i32 cySrc  48 u32 offBmiSrc  52 u32 cbBmiSrc
//    56 u32 offBitsSrc  60 u32 cbBitsSrc  64 u32 iUsageSrc  68 u32 dwRop
//    72 i32 cxDest  76 i32 cyDest
//   EMR_BITBLT (iType 76): 8 RECTL  24 xDest 28 yDest 32 cxDest 36 cyDest
//    40 dwRop 44 xSrc 48 ySrc 52 XFORM (24) 76 crBkColor 80 iUsage
//    84 offBmiSrc 88 cbBmiSrc 92 offBitsSrc 96 cbBitsSrc          (100 bytes)
//   EMR_STRETCHBLT (iType 77): as EMR_BITBLT, then 100 cxSrc 104 cySrc
//   EMR_SETDIBITSTODEVICE (iType 80): 8 RECTL 24 xDest 28 yDest 32 xSrc
//    36 ySrc 40 cxSrc 44 cySrc 48 offBmiSrc 52 cbBmiSrc 56 offBitsSrc
//    60 cbBitsSrc 64 iUsageSrc 68 iStartScan 72 cScans
//   EMR_EOF (iType 14), 20 bytes: 8 nPalEntries 12 offPalEntries 16 nSizeLast
//   The offsets inside a record (offBmiSrc, offBitsSrc) count from the
//   record's start.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <cstdint>

namespace quillmere::rtf {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrBitBlt = 76;
constexpr std::uint32_t kEmrStretchBlt = 77;
constexpr std::uint32_t kEmrSetDiBitsToDevice = 80;
constexpr std::uint32_t kEmrStretchDiBits = 81;
constexpr std::uint32_t kEmfSignature = 0x464D4520;
constexpr std::uint32_t kSrcCopy = 0x00CC0020;

// An EMF of `size` pixels (the image's own size when empty) whose only
// drawing is the image stretched over it from (0, 0), as one
// EMR_STRETCHDIBITS with a 24-bit DIB (reference device 96 dpi);
// transparent pixels are drawn over white.
QByteArray writeBitmapEmf(const QImage& image, QSize size = {});

// The picture of an EMF whose drawing is made of bitmap copies (the four
// records above; other records are passed over). Null when the bytes are not
// an EMF, hold no bitmap, or are damaged.
QImage readBitmapEmf(const QByteArray& emf);

}  // namespace quillmere::rtf
