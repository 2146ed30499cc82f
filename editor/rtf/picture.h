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

// The stored header and bytes of an image that has no stored form of its own
// (one put into a document without this library): an EMF of the bitmap's
// pixel size, shown at `displaySize` pixels (the image's own size when
// empty).
PictureData storedPictureOf(const QImage& image, QSize displaySize = {});

// Longest side of the bitmap copy inside the metafile twin of a stored
// bitmap; larger pictures are reduced to it (the metafile itself keeps the
// full pixel size).
constexpr int kFallbackCopyMaxSide = 320;
// Pictures are shown from a decode whose longer side keeps at least this
// many pixels (JPEGs larger than twice this are decoded at a reduced scale).
constexpr int kShownDecodeMinSide = 1600;

// The stored form of a bitmap the user inserts (a picture file, a pasted or
// dropped image):
//   {\*\shppict{\pict\jpegblip or \pngblip \picwW\pichH\picwgoalW*15\pichgoalH*15 hex}}
//   {\nonshppict{\pict\emfblip\picw..\pich..(0.01 mm)\picwgoal..\pichgoal.. hex}}
// The first holds every pixel: the JPEG file's own bytes when `jpeg` is
// given (they must decode to `image`'s size), else the image as PNG (with
// its alpha channel when some pixel is not opaque). The second is an EMF of
// the bitmap's pixel size whose only drawing is the bitmap at (0, 0), from a
// copy reduced to kFallbackCopyMaxSide. Returns an empty PictureData for a
// null image. Never throws.
PictureData storedBitmapPicture(const QImage& image, const QByteArray& jpeg = {});

// Appends a picture's RTF group: "{\pict<header>" CR LF, the bytes as
// lines of 128 hex digits each ended by CR LF, "}"; for a picture with a
// fallback, the \shppict / \nonshppict pair above. Never throws.
void appendPictureGroup(QByteArray& out, const PictureData& picture);

// An RTF document whose whole content is the one picture. Never throws.
QByteArray pictureDocumentRtf(const PictureData& picture);

}  // namespace quillmere::rtf
