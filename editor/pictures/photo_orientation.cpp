#include "editor/pictures/photo_orientation.h"

#include "editor/rtf/jpeg.h"
#include "editor/rtf/rtf.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTransform>
#include <QUrl>

#include <vector>

namespace quillmere {

namespace {

bool turnsAQuarter(QImageIOHandler::Transformations turn) {
    return turn.testFlag(QImageIOHandler::TransformationRotate90);
}

bool isStoredJpeg(const QTextImageFormat& format) {
    return format.stringProperty(rtf::kPictureHeaderProperty)
        .startsWith(QLatin1String("\\jpegblip"));
}

}  // namespace

QImageIOHandler::Transformations jpegOrientation(const QByteArray& jpeg) {
    if (!jpeg.startsWith("\xFF\xD8")) {
        return QImageIOHandler::TransformationNone;
    }
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    return reader.transformation();
}

QImage orientedImage(const QImage& image, QImageIOHandler::Transformations turn) {
    if (image.isNull() || turn == QImageIOHandler::TransformationNone) {
        return image;
    }
    QImage out = image.mirrored(turn.testFlag(QImageIOHandler::TransformationMirror),
                                turn.testFlag(QImageIOHandler::TransformationFlip));
    if (turnsAQuarter(turn)) {
        out = out.transformed(QTransform().rotate(90));
    }
    return out;
}

QSize orientedSize(QSize size, QImageIOHandler::Transformations turn) {
    return turnsAQuarter(turn) ? size.transposed() : size;
}

QImageIOHandler::Transformations pictureOrientation(const QTextImageFormat& format) {
    if (!isStoredJpeg(format)) {
        return QImageIOHandler::TransformationNone;
    }
    return jpegOrientation(format.property(rtf::kPictureDataProperty).toByteArray());
}

QSize uprightPictureSize(const QTextImageFormat& format, QSize imageSize) {
    const QImageIOHandler::Transformations turn = pictureOrientation(format);
    const QSize shown(qRound(format.width()), qRound(format.height()));
    if (shown.isEmpty()) {
        return orientedSize(imageSize, turn);
    }
    if (!turnsAQuarter(turn) || shown.width() == shown.height()) {
        return shown;
    }
    // The stored size follows the camera's pixels when its long side lies
    // the same way as theirs.
    const QSize pixels = rtf::jpegSize(format.property(rtf::kPictureDataProperty).toByteArray());
    const bool cameraWide =
        pixels.isValid() ? pixels.width() > pixels.height() : shown.width() > shown.height();
    return (shown.width() > shown.height()) == cameraWide ? shown.transposed() : shown;
}

void makePhotosUpright(QTextDocument& document) {
    struct Change {
        int position;
        int length;
        QTextImageFormat format;
    };
    std::vector<Change> changes;
    QHash<QString, QImage> turned;  // by resource name
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) {
                continue;
            }
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImageIOHandler::Transformations turn = pictureOrientation(format);
            if (turn == QImageIOHandler::TransformationNone) {
                continue;
            }
            const QImage image = rtf::pictureImage(document, format);
            const QSize upright = uprightPictureSize(format, image.size());
            format.setWidth(upright.width());
            format.setHeight(upright.height());
            changes.push_back({fragment.position(), fragment.length(), format});
            if (!image.isNull() && !turned.contains(format.name())) {
                turned.insert(format.name(), orientedImage(image, turn));
            }
        }
    }
    for (const Change& change : changes) {
        QTextCursor cursor(&document);
        cursor.setPosition(change.position);
        cursor.setPosition(change.position + change.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(change.format);
    }
    for (auto it = turned.cbegin(); it != turned.cend(); ++it) {
        document.addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
    }
}

}  // namespace quillmere
