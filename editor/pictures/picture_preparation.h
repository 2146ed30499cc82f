// Pictures made ready for an entry away from the window, so that a
// photograph of many megapixels never stops it: what the entry stores (the
// form of rtf::storedBitmapPicture) and the image it is shown with, both
// built on a worker thread; the window then only puts them in. Window-free.
//
// What is stored:
//   a JPEG or PNG file          its own bytes, untouched
//   another picture file        its bitmap as PNG (as before)
//   a pasted or dropped bitmap  the bytes of the JPEG that came with it when
//                               they decode to it; else JPEG at kPastedJpegQuality
//                               for a photograph, PNG when that is smaller (a
//                               screenshot, a drawing) or the bitmap has
//                               transparency: both are encoded and the
//                               smaller kept (the PNG encoder gives up as
//                               soon as it passes the JPEG's size)
#pragma once

#include "editor/rtf/reader_state.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace quillmere {

// The JPEG quality of a pasted photograph.
constexpr int kPastedJpegQuality = 90;

struct PreparedPicture {
    // The stored form; its header is empty when the source held no bitmap
    // (a metafile without one).
    rtf::PictureData stored;
    // The image it is shown with (rtf::decodePicture of the stored bytes).
    QImage shown;
    // The JPEG file's own bytes for a JPEG (for the clipboard), else empty.
    QByteArray jpeg;

    bool isNull() const { return stored.header.isEmpty(); }
};

// What a job of the editor's picture thread hands back: the pictures (or,
// for files that are no pictures, their "file:" link texts) to put in, in
// order; or the error that stops the whole insertion.
struct PreparedItem {
    PreparedPicture picture;
    QString link;  // a link text instead of a picture when not empty
};
struct PreparedInsertion {
    std::vector<PreparedItem> items;
    QString error;  // nothing is inserted when set
};

// A picture file of the Insert Picture command, by its extension as
// loadPictureFile reads it. Throws what loadPictureFile throws (PictureError,
// FileError). Safe on any thread.
PreparedPicture preparePictureFile(const QString& path);

// A dropped or pasted picture file: any image file loadImageFile reads.
// Throws what loadImageFile throws. Safe on any thread.
PreparedPicture prepareImageFile(const QString& path);

// A pasted or dropped bitmap, with the JPEG bytes that came with it (used
// when they decode to its size). A null image gives a null picture. Never
// throws. Safe on any thread.
PreparedPicture preparePastedImage(const QImage& image, const QByteArray& jpeg = {});

}  // namespace quillmere
