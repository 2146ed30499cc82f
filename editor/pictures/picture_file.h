// Picture files the user inserts into an entry: loading by file extension
// (.bmp, .jpg and .jpeg, .gif, .emf, .wmf, .png, .webp), the GIF decoder for
// the first frame, and the small preview of the picture dialog. Window-free.
#pragma once

#include "store/errors.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace quillmere {

// A picture file cannot be loaded: an unknown extension, a damaged bitmap, or
// a loader's own report. The message is the one the user is shown.
class PictureError : public Error {
public:
    using Error::Error;
};

// A loaded picture file.
struct LoadedPicture {
    // The bitmap; null when a metafile holds no bitmap this program can show.
    QImage image;
    // True when the picture has a transparent colour (a GIF's): its
    // transparent pixels have alpha 0 in `image`.
    bool transparent = false;
    // True for .emf and .wmf files.
    bool metafile = false;
    // The file's own bytes when it is a JPEG, so the entry keeps them as
    // they are instead of a re-encoding.
    QByteArray jpeg;
    // Likewise for a PNG file.
    QByteArray png;
};

// Loads a picture file by its extension (compared without regard to case):
// .bmp, .jpg, .jpeg, .gif (first frame), .emf, .wmf, and .png and .webp
// (with their transparency). Throws PictureError "Unknown picture file
// extension (.ext)" for any other extension, "Bitmap image is not valid" for
// a damaged .bmp or one cut short (see isWholeBitmapFile), "PNG image is not
// valid" or "WebP image is not valid" for a damaged .png or .webp, the JPEG
// decoder's or the GIF decoder's own message for a damaged .jpg or .gif, and
// FileError when the file cannot be read. A metafile without a bitmap is no
// error: its image is null. A JPEG's image is its pixels as stored, turned
// by nothing (see photo_orientation.h).
LoadedPicture loadPictureFile(const QString& path);

// Loads any image file a user may drop or paste: the kinds above by
// extension, and every other format Qt's image readers know (PNG, WebP,
// TIFF, ...). Throws PictureError naming the file when it is no readable
// image, FileError when it cannot be read.
LoadedPicture loadImageFile(const QString& path);

// True when `path` names a file loadImageFile would try (by its extension).
bool isImageFileName(const QString& path);

// The first frame of a GIF (87a or 89a) as an image of the logical screen's
// size; pixels of the frame's transparent colour (and pixels outside the
// frame of a transparent GIF) get alpha 0. Throws PictureError "GIF image is
// not valid" (with the reason) for damaged or truncated data.
struct GifFrame {
    QImage image;
    bool transparent = false;
};
GifFrame decodeGifFirstFrame(const QByteArray& bytes);

// A preview of a picture file that fits in `box`, for the picture dialog;
// a null image when the file is no picture this program loads. Large JPEGs
// are decoded at a reduced scale, and shown upright as their camera recorded.
// Never throws.
QImage loadPicturePreview(const QString& path, QSize box);

}  // namespace quillmere
