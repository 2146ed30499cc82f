// How the editor shows pictures: at their own size, or scaled down to the
// width of the text area when they are wider, keeping their proportions, and
// photos upright as their camera recorded (photo_orientation.h). The stored
// picture is not touched: only the layout and drawing change.
#pragma once

#include <QHash>
#include <QImage>
#include <QImageIOHandler>
#include <QObject>
#include <QSizeF>
#include <QTextObjectInterface>

class QTextDocument;
class QTextImageFormat;

namespace quillmere {

// The size a picture of `natural` size is shown at in a text area
// `available` pixels wide: unchanged when it fits (or when `available` is
// not positive), else scaled to that width with the height in proportion
// (at least one pixel).
QSizeF fittedPictureSize(QSizeF natural, qreal available);

// The layout handler of picture objects. One handler serves any number of
// documents; it keeps scaled copies of the pictures it drew last, so that a
// large photograph is not scaled again at every paint.
class PictureLayoutHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    explicit PictureLayoutHandler(QObject* parent = nullptr);

    // Makes this handler lay out and draw the pictures of `document`.
    void install(QTextDocument* document);

    QSizeF intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int posInDocument,
                    const QTextFormat& format) override;

private:
    QImageIOHandler::Transformations orientationOf(const QTextImageFormat& format);
    QSizeF naturalSize(const QTextDocument* doc, const QTextImageFormat& format);
    QImage uprightImage(const QTextDocument& doc, const QTextImageFormat& format);

    struct Scaled {
        QSize size;
        QImage image;
    };
    // Scaled copies by picture name; a few entries at most.
    QHash<QString, Scaled> scaled_;
    // The orientation of every picture seen, and upright copies of the
    // turned photos drawn last, by picture name.
    QHash<QString, QImageIOHandler::Transformations> orientations_;
    QHash<QString, QImage> upright_;
};

}  // namespace quillmere
