// Pictures on the system clipboard in the form the entry stores them, so
// that the editor's Paste inserts exactly that picture and other programs
// still get an image.
#pragma once

#include <QByteArray>
#include <QImage>

class QMimeData;

namespace quillmere {

struct PreparedPicture;

// The clipboard type under which pictures and rich text travel.
inline constexpr const char* kRtfMimeType = "text/rtf";

// Clipboard data for a picture: the entry's stored form as RTF ("text/rtf",
// see rtf::storedBitmapPicture) and the image itself for other programs
// (the platform offers it as PNG and the other image types on request).
// `jpeg` are the JPEG file's own bytes when the picture is one (also offered
// as "image/jpeg"; the image for other programs is then turned upright as
// its camera recorded). Returns null for a null image. Never throws.
QMimeData* pictureMimeData(const QImage& image, const QByteArray& jpeg = {});

// The same for a picture made ready already (picture_preparation.h): its
// stored form as it is, its shown image for other programs (turned upright
// for a photo). Returns null for a null picture. Never throws.
QMimeData* pictureMimeData(const PreparedPicture& picture);

// Puts a picture on the system clipboard in its stored form, replacing what
// was there (see pictureMimeData). Does nothing for a null image.
void putPictureOnClipboard(const PreparedPicture& picture);
void putPictureOnClipboard(const QImage& image);
void putPictureOnClipboard(const QImage& image, const QByteArray& jpeg);

}  // namespace quillmere
