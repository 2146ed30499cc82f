// The orientation a camera records in a JPEG photograph (its EXIF
// orientation): the stored pixels stay as the camera wrote them, and every
// place that shows or prints the photo turns them upright.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QImageIOHandler>
#include <QSize>

class QTextDocument;
class QTextImageFormat;

namespace quillmere {

// The turn and mirroring the JPEG's EXIF orientation asks for;
// TransformationNone for a JPEG without one, for an orientation value
// outside 1 to 8 and for bytes that are no JPEG. Never throws.
QImageIOHandler::Transformations jpegOrientation(const QByteArray& jpeg);

// The image turned and mirrored as `turn` says (mirrored first, then turned a
// quarter clockwise, as the EXIF orientations are defined). Never throws.
QImage orientedImage(const QImage& image, QImageIOHandler::Transformations turn);

// `size` with width and height exchanged when `turn` includes a quarter turn.
QSize orientedSize(QSize size, QImageIOHandler::Transformations turn);

// The orientation of a picture of an entry: that of its JPEG bytes for a
// stored JPEG (\jpegblip), none for every other picture. Never throws.
QImageIOHandler::Transformations pictureOrientation(const QTextImageFormat& format);

// The size a picture of an entry is shown at, in pixels at 96 dpi, before it
// is fitted to the page: the format's own size, exchanged for a photo turned
// a quarter whose stored size still has the proportions of the camera's
// pixels (as every photo inserted here keeps them). Never throws.
QSize uprightPictureSize(const QTextImageFormat& format, QSize imageSize);

// Makes every turned photo of `document` upright for a layout that does not
// go through the editor's own picture handler (a printed copy): its size as
// uprightPictureSize and its image resource turned. Changes the document's
// formats, so it is meant for a copy. Never throws.
void makePhotosUpright(QTextDocument& document);

}  // namespace quillmere
