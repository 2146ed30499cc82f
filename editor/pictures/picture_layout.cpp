#include "editor/pictures/picture_layout.h"

#include "editor/pictures/photo_orientation.h"
#include "editor/rtf/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>
#include <QTextImageFormat>

#include <algorithm>
#include <cmath>

namespace quillmere {
namespace {

// Scaled copies kept at once (one per picture on screen is plenty).
constexpr qsizetype kMaxScaledCopies = 8;

// The room a picture has in a line: the text width less the page margins.
qreal availableWidth(const QTextDocument* doc) {
    if (doc == nullptr || doc->textWidth() <= 0) {
        return 0;
    }
    return doc->textWidth() - 2 * doc->documentMargin();
}

}  // namespace

QSizeF fittedPictureSize(QSizeF natural, qreal available) {
    if (available <= 0 || natural.width() <= available || natural.width() <= 0) {
        return natural;
    }
    const qreal height =
        std::max<qreal>(1, std::floor(natural.height() * available / natural.width()));
    return {std::floor(available), height};
}

PictureLayoutHandler::PictureLayoutHandler(QObject* parent) : QObject(parent) {}

QImageIOHandler::Transformations PictureLayoutHandler::orientationOf(
    const QTextImageFormat& format) {
    auto found = orientations_.constFind(format.name());
    if (found == orientations_.constEnd()) {
        found = orientations_.insert(format.name(), pictureOrientation(format));
    }
    return *found;
}

QSizeF PictureLayoutHandler::naturalSize(const QTextDocument* doc, const QTextImageFormat& format) {
    const QImageIOHandler::Transformations turn = orientationOf(format);
    if (format.width() > 0 && format.height() > 0) {
        if (turn == QImageIOHandler::TransformationNone) {
            return {format.width(), format.height()};
        }
        return QSizeF(uprightPictureSize(format, {}));
    }
    const QImage image = rtf::pictureImage(*doc, format);
    return image.isNull() ? QSizeF(16, 16) : QSizeF(orientedSize(image.size(), turn));
}

// The image of a picture as it is shown: a turned photo upright.
QImage PictureLayoutHandler::uprightImage(const QTextDocument& doc,
                                          const QTextImageFormat& format) {
    const QImage image = rtf::pictureImage(doc, format);
    const QImageIOHandler::Transformations turn = orientationOf(format);
    if (image.isNull() || turn == QImageIOHandler::TransformationNone) {
        return image;
    }
    auto found = upright_.find(format.name());
    if (found == upright_.end()) {
        if (upright_.size() >= kMaxScaledCopies) {
            upright_.clear();
        }
        found = upright_.insert(format.name(), orientedImage(image, turn));
    }
    return *found;
}

void PictureLayoutHandler::install(QTextDocument* document) {
    document->documentLayout()->registerHandler(QTextFormat::ImageObject, this);
}

QSizeF PictureLayoutHandler::intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) {
    const QTextImageFormat image = format.toImageFormat();
    return fittedPictureSize(naturalSize(doc, image), availableWidth(doc));
}

void PictureLayoutHandler::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc,
                                      int, const QTextFormat& format) {
    const QTextImageFormat imageFormat = format.toImageFormat();
    const QString name = imageFormat.name();
    const QImage image = uprightImage(*doc, imageFormat);
    if (image.isNull()) {
        return;
    }
    const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1;
    const QSize target = (rect.size() * ratio).toSize();
    if (target.isEmpty() || target == image.size() || target.width() > image.width()) {
        painter->drawImage(rect, image);
        return;
    }
    auto found = scaled_.find(name);
    if (found == scaled_.end() || found->size != target) {
        if (scaled_.size() >= kMaxScaledCopies) {
            scaled_.clear();
        }
        found = scaled_.insert(
            name, {target, image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)});
    }
    painter->drawImage(rect, found->image);
}

}  // namespace quillmere
