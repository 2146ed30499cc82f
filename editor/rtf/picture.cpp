#include "editor/rtf/picture.h"

#include "editor/rtf/dib.h"
#include "editor/rtf/emf.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/rtf.h"
#include "editor/rtf/wmf.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageReader>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace quillmere::rtf {
namespace {

// Side of the placeholder image of a picture that cannot be shown; the
// format's size stretches it to the picture's size.
constexpr int kMaxFrameSide = 512;
constexpr int kFallbackSide = 32;
constexpr int kHimetricPerInch = 2540;
constexpr int kPixelsPerInch = 96;

QImage decodePng(const QByteArray& data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QSize size = reader.size();
    if (!size.isValid() || static_cast<long long>(size.width()) * size.height() > kMaxDibPixels) {
        return {};
    }
    return reader.read();
}

bool isBitmapKind(const QString& kind) {
    return kind == u"pngblip" || kind == u"jpegblip" || kind == u"dibitmap" || kind == u"wbitmap";
}

int clampSide(double pixels) {
    if (!(pixels >= 1)) {
        return 0;
    }
    return static_cast<int>(std::lround(std::min(pixels, double(kMaxShownSide))));
}

// The size a picture is shown at, in pixels: its goal size in twips scaled,
// else its picw/pich, else the decoded image's size.
QSize displaySize(const PictureData& picture, const QImage& image) {
    double sx = picture.scaleX > 0 ? picture.scaleX / 100.0 : 1.0;
    double sy = picture.scaleY > 0 ? picture.scaleY / 100.0 : 1.0;
    int w = 0, h = 0;
    if (picture.goalWidth > 0 && picture.goalHeight > 0) {
        w = clampSide(picture.goalWidth * sx / kTwipsPerPixel);
        h = clampSide(picture.goalHeight * sy / kTwipsPerPixel);
    } else if (picture.picw > 0 && picture.pich > 0) {
        double unit = isBitmapKind(picture.kind) ? 1.0 : double(kPixelsPerInch) / kHimetricPerInch;
        w = clampSide(picture.picw * unit * sx);
        h = clampSide(picture.pich * unit * sy);
    }
    if (w > 0 && h > 0) {
        return {w, h};
    }
    if (!image.isNull()) {
        return image.size();
    }
    return {kFallbackSide, kFallbackSide};
}

// An empty grey frame standing in for a picture the reader cannot show.
QImage frameImage(QSize size) {
    QImage frame(std::min(size.width(), kMaxFrameSide), std::min(size.height(), kMaxFrameSide),
                 QImage::Format_RGB32);
    frame.fill(Qt::white);
    QPainter painter(&frame);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, frame.width() - 1, frame.height() - 1);
    return frame;
}

int himetric(int pixels) {
    return static_cast<int>(
        (pixels * static_cast<long long>(kHimetricPerInch) + kPixelsPerInch / 2) / kPixelsPerInch);
}

// The bitmap copy of a metafile twin: the image itself when it is small,
// else reduced to kFallbackCopyMaxSide on its longer side.
QImage reducedCopy(const QImage& image) {
    if (std::max(image.width(), image.height()) <= kFallbackCopyMaxSide) {
        return image;
    }
    return image.scaled(kFallbackCopyMaxSide, kFallbackCopyMaxSide, Qt::KeepAspectRatio,
                        Qt::SmoothTransformation);
}

}  // namespace

bool hasTransparency(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return false;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) != 255) {
                return true;
            }
        }
    }
    return false;
}

QByteArray pngOf(const QImage& image) {
    const QImage source = hasTransparency(image) ? image.convertToFormat(QImage::Format_ARGB32)
                                                 : image.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!source.save(&buffer, "PNG")) {
        return {};
    }
    return bytes;
}

QSize pictureGoalTwips(QSize pixels) {
    const qint64 width = qint64(pixels.width()) * kTwipsPerPixel;
    const qint64 height = qint64(pixels.height()) * kTwipsPerPixel;
    const qint64 longer = std::max(width, height);
    if (longer <= kPageTextWidthTwips) {
        return QSize(int(width), int(height));
    }
    // In proportion, rounded half up, in whole numbers.
    const auto fit = [longer](qint64 side) {
        return int(std::max<qint64>(1, (side * kPageTextWidthTwips + longer / 2) / longer));
    };
    return QSize(fit(width), fit(height));
}

QImage decodePicture(const QString& kind, const QByteArray& data) {
    if (data.isEmpty()) {
        return {};
    }
    if (kind == u"pngblip") {
        return decodePng(data);
    }
    if (kind == u"jpegblip") {
        return decodeJpegScaled(data, kShownDecodeMinSide);
    }
    if (kind == u"emfblip") {
        return readBitmapEmf(data);
    }
    if (kind == u"wmetafile") {
        return readBitmapWmf(data);
    }
    if (kind == u"dibitmap") {
        return decodePackedDib(data);
    }
    return {};
}

QTextImageFormat pictureFormat(QTextDocument& doc, const PictureData& picture) {
    return pictureFormat(doc, picture, decodePicture(picture.kind, picture.data));
}

QTextImageFormat pictureFormat(QTextDocument& doc, const PictureData& picture,
                               const QImage& decoded) {
    QImage image = decoded;
    QSize size = displaySize(picture, image);
    QTextImageFormat format;
    const bool shown = !image.isNull();
    if (!shown) {
        image = frameImage(size);
        format.setProperty(kPictureUnshownProperty, true);
    }
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(picture.header.toUtf8());
    hash.addData(picture.data);
    QString name = QStringLiteral("rtfpict:") + QString::fromLatin1(hash.result().toHex());
    if (!shown) {
        name += QStringLiteral("-frame%1x%2").arg(size.width()).arg(size.height());
    }
    doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    format.setProperty(kPictureHeaderProperty, picture.header);
    format.setProperty(kPictureDataProperty, picture.data);
    if (picture.binary) {
        format.setProperty(kPictureBinaryProperty, true);
    }
    if (!picture.fallbackHeader.isEmpty()) {
        format.setProperty(kPictureFallbackHeaderProperty, picture.fallbackHeader);
        format.setProperty(kPictureFallbackDataProperty, picture.fallbackData);
        if (picture.fallbackBinary) {
            format.setProperty(kPictureFallbackBinaryProperty, true);
        }
    }
    return format;
}

PictureData storedPictureOf(const QImage& image, QSize shownSize) {
    PictureData picture;
    QSize size = shownSize.isEmpty() ? image.size() : shownSize;
    picture.kind = QStringLiteral("emfblip");
    picture.data = writeBitmapEmf(image);
    picture.picw = himetric(image.width());
    picture.pich = himetric(image.height());
    picture.goalWidth = size.width() * kTwipsPerPixel;
    picture.goalHeight = size.height() * kTwipsPerPixel;
    picture.header = QStringLiteral("\\emfblip\\picw%1\\pich%2\\picwgoal%3\\pichgoal%4")
                         .arg(picture.picw)
                         .arg(picture.pich)
                         .arg(picture.goalWidth)
                         .arg(picture.goalHeight);
    return picture;
}

namespace {

bool isPng(const QByteArray& bytes) {
    return bytes.startsWith("\x89PNG\r\n\x1a\n");
}

}  // namespace

PictureData storedBitmapPicture(const QImage& image, const QByteArray& encoded, QSize pixels) {
    PictureData picture;
    if (image.isNull()) {
        return picture;
    }
    const QSize full = pixels.isValid() && !encoded.isEmpty() ? pixels : image.size();
    const int w = full.width();
    const int h = full.height();
    if (!encoded.isEmpty()) {
        picture.kind = isPng(encoded) ? QStringLiteral("pngblip") : QStringLiteral("jpegblip");
        picture.data = encoded;
    } else {
        picture.kind = QStringLiteral("pngblip");
        picture.data = pngOf(image);
    }
    picture.binary = true;
    const QSize goal = pictureGoalTwips(full);
    picture.picw = w;
    picture.pich = h;
    picture.goalWidth = goal.width();
    picture.goalHeight = goal.height();
    picture.header = QStringLiteral("\\%1\\picw%2\\pich%3\\picwgoal%4\\pichgoal%5")
                         .arg(picture.kind)
                         .arg(w)
                         .arg(h)
                         .arg(picture.goalWidth)
                         .arg(picture.goalHeight);
    picture.inShape = true;
    // The twin: a metafile of the full pixel size drawing the (reduced) copy.
    const int picw = himetric(w);
    const int pich = himetric(h);
    picture.fallbackData = writeBitmapEmf(reducedCopy(image), full);
    picture.fallbackBinary = true;
    picture.fallbackHeader = QStringLiteral("\\emfblip\\picw%1\\pich%2\\picwgoal%3\\pichgoal%4")
                                 .arg(picw)
                                 .arg(pich)
                                 .arg(picture.goalWidth)
                                 .arg(picture.goalHeight);
    return picture;
}

QByteArray pictureDocumentRtf(const PictureData& picture) {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0";
    appendPictureGroup(out, picture);
    out += "}";
    return out;
}

void insertPicture(QTextCursor& cursor, const QImage& image, const QByteArray& jpeg) {
    if (image.isNull() || cursor.document() == nullptr) {
        return;
    }
    QTextImageFormat format = pictureFormat(*cursor.document(), storedBitmapPicture(image, jpeg));
    cursor.insertImage(format);
}

bool isPicture(const QTextFormat& format) {
    return format.isImageFormat();
}

QImage pictureImage(const QTextDocument& doc, const QTextImageFormat& format) {
    QVariant resource = doc.resource(QTextDocument::ImageResource, QUrl(format.name()));
    if (resource.typeId() == QMetaType::QByteArray) {
        return QImage::fromData(resource.toByteArray());
    }
    if (resource.canConvert<QImage>()) {
        return resource.value<QImage>();
    }
    return {};
}

}  // namespace quillmere::rtf
