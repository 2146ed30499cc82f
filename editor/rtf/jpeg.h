// JPEG pictures (\jpegblip), decoded with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace quillmere::rtf {

// Largest JPEG the reader decodes, in pixels.
constexpr long long kMaxJpegPixels = 64LL * 1024 * 1024;

// The decoded picture (greyscale, RGB, CMYK and YCCK sources), or a null
// image when the bytes are not a JPEG libjpeg can decode. Never throws.
QImage decodeJpeg(const QByteArray& bytes);

// Decodes at a reduced scale when the picture is large: libjpeg's scaling
// (1/2, 1/4 or 1/8) is used as far as the result keeps at least
// `minLongSide` pixels on its longer side (0 decodes at full size). On
// failure returns a null image and, when `error` is given, libjpeg's own
// message in it. Never throws.
QImage decodeJpegScaled(const QByteArray& bytes, int minLongSide, QString* error = nullptr);

// The picture's size in pixels as its header gives it, or an invalid size
// when the header cannot be read. Never throws.
QSize jpegSize(const QByteArray& bytes);

// The image as a baseline JPEG of `quality` (1 to 100), 4:2:0 colour, any
// transparency dropped (as onto white). Empty when libjpeg fails. Never
// throws.
QByteArray encodeJpeg(const QImage& image, int quality);

}  // namespace quillmere::rtf
