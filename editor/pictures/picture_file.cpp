#include "editor/pictures/picture_file.h"

#include "editor/rtf/emf.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/wmf.h"
#include "store/file_access.h"

#include <QBuffer>
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
    // A bitmap file starts with "BM" and its 14-byte file header.
    QImage image;
    if (bytes.startsWith("BM")) {
        image = readWithQt(bytes, "BMP");
    }
    if (image.isNull()) {
        throw PictureError(QStringLiteral("Bitmap image is not valid"));
    }
    return LoadedPicture{opaque(image), false, false, {}};
}

LoadedPicture loadJpeg(const QByteArray& bytes) {
    QString error;
    QImage image = rtf::decodeJpegScaled(bytes, 0, &error);
    if (image.isNull()) {
        throw PictureError(error);
    }
    return LoadedPicture{image, false, false, bytes};
}

LoadedPicture loadGif(const QByteArray& bytes) {
    GifFrame frame = decodeGifFirstFrame(bytes);
    return LoadedPicture{
        frame.transparent ? frame.image : opaque(frame.image), frame.transparent, false, {}};
}

QString extensionOf(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

}  // namespace

LoadedPicture loadPictureFile(const QString& path) {
    const QString extension = QFileInfo(path).suffix();
    const QString lower = extension.toLower();
    if (lower != u"bmp" && lower != u"jpg" && lower != u"jpeg" && lower != u"gif" &&
        lower != u"emf" && lower != u"wmf") {
        throw PictureError(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));
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
        throw PictureError(QStringLiteral("%1 is not a picture this program can read")
                               .arg(QFileInfo(path).fileName()));
    }
    LoadedPicture picture;
    picture.image = image;
    picture.transparent = image.hasAlphaChannel();
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
            image = rtf::decodeJpegScaled(fileAccess().readAll(path), longSide);
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
