#include "editor/pictures/picture_clipboard.h"

#include "editor/pictures/photo_orientation.h"
#include "editor/pictures/picture_preparation.h"
#include "editor/rtf/picture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quillmere {

QMimeData* pictureMimeData(const QImage& image, const QByteArray& jpeg) {
    if (image.isNull()) {
        return nullptr;
    }
    auto* data = new QMimeData;
    data->setData(QLatin1String(kRtfMimeType),
                  rtf::pictureDocumentRtf(rtf::storedBitmapPicture(image, jpeg)));
    if (!jpeg.isEmpty()) {
        data->setData(QStringLiteral("image/jpeg"), jpeg);
    }
    // Other programs get the photo upright.
    data->setImageData(jpeg.isEmpty() ? image : orientedImage(image, jpegOrientation(jpeg)));
    return data;
}

QMimeData* pictureMimeData(const PreparedPicture& picture) {
    if (picture.isNull()) {
        return nullptr;
    }
    auto* data = new QMimeData;
    data->setData(QLatin1String(kRtfMimeType), rtf::pictureDocumentRtf(picture.stored));
    if (!picture.jpeg.isEmpty()) {
        data->setData(QStringLiteral("image/jpeg"), picture.jpeg);
    }
    data->setImageData(picture.jpeg.isEmpty()
                           ? picture.shown
                           : orientedImage(picture.shown, jpegOrientation(picture.jpeg)));
    return data;
}

void putPictureOnClipboard(const PreparedPicture& picture) {
    QMimeData* data = pictureMimeData(picture);
    if (data != nullptr) {
        QGuiApplication::clipboard()->setMimeData(data);
    }
}

void putPictureOnClipboard(const QImage& image) {
    putPictureOnClipboard(image, {});
}

void putPictureOnClipboard(const QImage& image, const QByteArray& jpeg) {
    QMimeData* data = pictureMimeData(image, jpeg);
    if (data != nullptr) {
        QGuiApplication::clipboard()->setMimeData(data);
    }
}

}  // namespace quillmere
