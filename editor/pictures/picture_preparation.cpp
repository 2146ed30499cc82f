#include "editor/pictures/picture_preparation.h"

#include "editor/pictures/picture_file.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/picture.h"
#include "store/file_access.h"

#include <QFileInfo>

namespace quillmere {

namespace {

PreparedPicture prepared(const QImage& image, const QByteArray& encoded, QSize pixels = {}) {
    PreparedPicture picture;
    picture.stored = rtf::storedBitmapPicture(image, encoded, pixels);
    if (picture.isNull()) {
        return picture;
    }
    picture.shown = rtf::decodePicture(picture.stored.kind, picture.stored.data);
    if (picture.stored.kind == u"jpegblip") {
        picture.jpeg = encoded;
    }
    return picture;
}

// A JPEG file: its bytes are kept and decoded once, at the reduced scale the
// editor shows photos at; the metafile's small copy comes from that decode.
PreparedPicture prepareJpegFile(const QString& path) {
    const QByteArray bytes = fileAccess().readAll(path);
    QString error;
    const QImage shown = rtf::decodeJpegScaled(bytes, rtf::kShownDecodeMinSide, &error);
    if (shown.isNull()) {
        throw PictureError(error);
    }
    PreparedPicture picture;
    picture.stored = rtf::storedBitmapPicture(shown, bytes, rtf::jpegSize(bytes));
    picture.shown = shown;
    picture.jpeg = bytes;
    return picture;
}

bool isJpegName(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    return extension == u"jpg" || extension == u"jpeg";
}

PreparedPicture preparedLoaded(const LoadedPicture& loaded) {
    if (loaded.image.isNull()) {
        return {};
    }
    return prepared(loaded.image, loaded.jpeg.isEmpty() ? loaded.png : loaded.jpeg);
}

}  // namespace

PreparedPicture preparePictureFile(const QString& path) {
    if (isJpegName(path)) {
        return prepareJpegFile(path);
    }
    return preparedLoaded(loadPictureFile(path));
}

PreparedPicture prepareImageFile(const QString& path) {
    if (isJpegName(path)) {
        return prepareJpegFile(path);
    }
    return preparedLoaded(loadImageFile(path));
}

PreparedPicture preparePastedImage(const QImage& image, const QByteArray& jpeg) {
    if (image.isNull()) {
        return {};
    }
    if (!jpeg.isEmpty() && rtf::jpegSize(jpeg) == image.size()) {
        return prepared(image, jpeg);
    }
    if (rtf::hasTransparency(image)) {
        return prepared(image, rtf::pngOf(image));
    }
    const QByteArray asJpeg = rtf::encodeJpeg(image, kPastedJpegQuality);
    // The PNG is wanted only when it is smaller: its encoder stops as soon
    // as it grows past the JPEG (a photograph's PNG is several times larger).
    const QByteArray asPng = rtf::pngOf(image, asJpeg.isEmpty() ? 0 : asJpeg.size());
    if (!asPng.isEmpty() || asJpeg.isEmpty()) {
        return prepared(image, asPng);
    }
    PreparedPicture picture = prepared(image, asJpeg);
    picture.jpeg.clear();  // made here, not a file's own bytes
    return picture;
}

}  // namespace quillmere
