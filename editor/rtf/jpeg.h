// JPEG pictures (\jpegblip), decoded with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>

namespace quillmere::rtf {

// Largest JPEG the reader decodes, in pixels.
constexpr long long kMaxJpegPixels = 64LL * 1024 * 1024;

// The decoded picture (greyscale, RGB, CMYK and YCCK sources), or a null
// image when the bytes are not a JPEG libjpeg can decode. Never throws.
QImage decodeJpeg(const QByteArray& bytes);

}  // namespace quillmere::rtf
