#include "editor/pictures/picture_file.h"

#include "editor/pictures/bitmap_file.h"
#include "editor/pictures/photo_orientation.h"
#include "editor/rtf/emf.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/wmf.h"
#include "store/file_access.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace quillmere {
namespace {

// A bitmap as a 24-bit picture: any alpha is drawn over white.
QImage opaque(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return image.convertToFormat(QImage::Format_RGB32);
    }
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, image);
    return out;
}

QImage readWithQt(const QByteArray& bytes, const char* format = nullptr) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() &&
        static_cast<long long>(size.width()) * size.height() > rtf::kMaxJpegPixels) {
        return {};
    }
    return reader.read();
}

LoadedPicture loadBitmap(const QByteArray& bytes) {
    // Only a file that holds every byte its headers promise is decoded: the
    // decoder would fill missing rows with whatever memory held.
    QImage image;
    if (isWholeBitmapFile(bytes)) {
        image = readWithQt(bytes, "BMP");
    }
    if (image.isNull()) {
        throw PictureError(QCoreApplication::translate("quillmere::PictureFile", "Bitmap image is not valid"));
    }
    return LoadedPicture{opaque(image), false, false, {}, {}};
}

LoadedPicture loadJpeg(const QByteArray& bytes) {
    QString error;
    QImage image = rtf::decodeJpegScaled(bytes, 0, &error);
    if (image.isNull()) {
        throw PictureError(error);
    }
    return LoadedPicture{image, false, false, bytes, {}};
}

// PNG and WebP pictures, with their transparency.
LoadedPicture loadWithQt(const QByteArray& bytes, const char* format, const char* name) {
    QImage image = readWithQt(bytes, format);
    if (image.isNull()) {
        throw PictureError(QCoreApplication::translate("quillmere::PictureFile", "%1 image is not valid").arg(QLatin1String(name)));
    }
    const bool transparent = image.hasAlphaChannel();
    return LoadedPicture{
        image, transparent, false, {}, qstrcmp(format, "PNG") == 0 ? bytes : QByteArray()};
}

LoadedPicture loadGif(const QByteArray& bytes) {
    GifFrame frame = decodeGifFirstFrame(bytes);
    return LoadedPicture{
        frame.transparent ? frame.image : opaque(frame.image), frame.transparent, false, {}, {}};
}

QString extensionOf(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

}  // namespace

LoadedPicture loadPictureFile(const QString& path) {
    const QString extension = QFileInfo(path).suffix();
    const QString lower = extension.toLower();
    if (lower != u"bmp" && lower != u"jpg" && lower != u"jpeg" && lower != u"gif" &&
        lower != u"emf" && lower != u"wmf" && lower != u"png" && lower != u"webp") {
        throw PictureError(QCoreApplication::translate("quillmere::PictureFile", "Unknown picture file extension (.%1)").arg(extension));
    }
    const QByteArray bytes = fileAccess().readAll(path);
    if (lower == u"bmp") {
        return loadBitmap(bytes);
    }
    if (lower == u"jpg" || lower == u"jpeg") {
        return loadJpeg(bytes);
    }
    if (lower == u"gif") {
        return loadGif(bytes);
    }
    if (lower == u"png") {
        return loadWithQt(bytes, "PNG", "PNG");
    }
    if (lower == u"webp") {
        return loadWithQt(bytes, "WEBP", "WebP");
    }
    LoadedPicture picture;
    picture.metafile = true;
    picture.image = lower == u"emf" ? rtf::readBitmapEmf(bytes) : rtf::readBitmapWmf(bytes);
    return picture;
}

bool isImageFileName(const QString& path) {
    const QString extension = extensionOf(path);
    if (extension == u"emf" || extension == u"wmf" || extension == u"jpeg") {
        return true;
    }
    return !extension.isEmpty() &&
           QImageReader::supportedImageFormats().contains(extension.toLatin1());
}

LoadedPicture loadImageFile(const QString& path) {
    const QString extension = extensionOf(path);
    if (extension == u"bmp" || extension == u"jpg" || extension == u"jpeg" || extension == u"gif" ||
        extension == u"emf" || extension == u"wmf") {
        return loadPictureFile(path);
    }
    const QByteArray bytes = fileAccess().readAll(path);
    QImage image = readWithQt(bytes);
    if (image.isNull()) {
        throw PictureError(QCoreApplication::translate("quillmere::PictureFile", "%1 is not a picture this program can read")
                               .arg(QFileInfo(path).fileName()));
    }
    LoadedPicture picture;
    picture.image = image;
    picture.transparent = image.hasAlphaChannel();
    if (bytes.startsWith("\x89PNG\r\n\x1a\n")) {
        picture.png = bytes;
    }
    return picture;
}

QImage loadPicturePreview(const QString& path, QSize box) {
    if (box.isEmpty()) {
        return {};
    }
    try {
        QImage image;
        const QString extension = extensionOf(path);
        if (extension == u"jpg" || extension == u"jpeg") {
            const int longSide = std::max(box.width(), box.height());
            const QByteArray jpeg = fileAccess().readAll(path);
            image = orientedImage(rtf::decodeJpegScaled(jpeg, longSide), jpegOrientation(jpeg));
        } else {
            image = loadPictureFile(path).image;
        }
        if (image.isNull()) {
            return {};
        }
        if (image.width() > box.width() || image.height() > box.height()) {
            image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        return image;
    } catch (const Error&) {
        return {};
    }
}

}  // namespace quillmere
