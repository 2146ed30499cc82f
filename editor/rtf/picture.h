// Pictures inside entries: decoding the stored picture kinds into images,
// building the image format that keeps a picture's stored bytes, and the
// stored form of a newly inserted bitmap (an EMF holding it).
#pragma once

#include "editor/rtf/interpreter.h"

#include <QImage>
#include <QSize>
#include <QTextImageFormat>

class QTextDocument;

namespace quillmere::rtf {

// Pixels shown per twip (96 dots per inch: 15 twips a pixel).
constexpr int kTwipsPerPixel = 15;
// Largest picture side the reader shows, in pixels; larger are scaled down.
constexpr int kMaxShownSide = 8192;

// The image of a stored picture, or a null image when the kind is not one the
// reader shows or the bytes are damaged. Never throws.
QImage decodePicture(const QString& kind, const QByteArray& data);

// The format of a picture read from RTF: its image (or an empty frame of its
// size when it cannot be shown) is added to the document's resources, and
// its stored header and bytes are kept so that it is written back unchanged.
QTextImageFormat pictureFormat(QTextDocument& doc, const PictureData& picture);

// The stored header and bytes of a bitmap inserted by the user: an EMF of the
// bitmap's pixel size, shown at `displaySize` pixels (the image's own size
// when empty).
PictureData storedPictureOf(const QImage& image, QSize displaySize = {});

}  // namespace quillmere::rtf
