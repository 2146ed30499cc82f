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
// The same with the image it is shown with decoded already (decodePicture of
// its kind and bytes; on another thread, for example).
QTextImageFormat pictureFormat(QTextDocument& doc, const PictureData& picture, const QImage& shown);

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

// The width of an A4 page's text in twips (170 mm): the widest a picture is
// stored to be shown, so that it fits a printed page and other programs show
// it whole.
constexpr int kPageTextWidthTwips = 9638;

// The goal size (\picwgoal, \pichgoal) of a bitmap of `pixels`: 15 twips a
// pixel, reduced in proportion to at most kPageTextWidthTwips on both sides,
// so that the picture fits the page's width whichever way it is turned
// upright.
QSize pictureGoalTwips(QSize pixels);

// The stored form of a bitmap the user inserts (a picture file, a pasted or
// dropped image):
//   {\*\shppict{\pict\jpegblip or \pngblip \picwW\pichH\picwgoal..\pichgoal.. \binN bytes}}
//   {\nonshppict{\pict\emfblip\picw..\pich..(0.01 mm)\picwgoal..\pichgoal.. \binN bytes}}
// The goal size is pictureGoalTwips of the pixel size. The first holds every
// pixel: the file's own bytes when `encoded` are given (a JPEG or PNG file,
// or an image encoded already; they must decode to `image`'s size), else the
// image as PNG (with its alpha channel when some pixel is not opaque). The
// second is an EMF of the bitmap's pixel size whose only drawing is the
// bitmap at (0, 0), from a copy reduced to kFallbackCopyMaxSide. Both keep
// their bytes raw (\binN). Returns an empty PictureData for a null image.
// Never throws.
// `pixels`, when valid, is the picture's full size and `image` may be a
// reduced decode of `encoded` (it then only makes the metafile's copy).
PictureData storedBitmapPicture(const QImage& image, const QByteArray& encoded = {},
                                QSize pixels = {});

// PNG bytes of an image: 24-bit when every pixel is opaque, else with alpha;
// empty when it cannot be encoded. Never throws.
QByteArray pngOf(const QImage& image);

// True when some pixel of the image is not fully opaque. Never throws.
bool hasTransparency(const QImage& image);

// Appends a picture's RTF group: "{\pict<header>" CR LF, the bytes as
// lines of 128 hex digits each ended by CR LF, "}", or for a picture whose
// bytes are binary "{\pict<header>\binN " and the N bytes as they are, "}";
// for a picture with a fallback, the \shppict / \nonshppict pair above.
// Never throws.
void appendPictureGroup(QByteArray& out, const PictureData& picture);

// An RTF document whose whole content is the one picture. Never throws.
QByteArray pictureDocumentRtf(const PictureData& picture);

}  // namespace quillmere::rtf
