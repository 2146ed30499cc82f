#include "resources/program_icon_image.h"

#include <QPainter>
#include <QSvgRenderer>

namespace quillmere {

QImage ProgramIconImage(int size) {
    if (size < 1) {
        return {};
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/desktop/quillmere.svg"));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return image;
}

}  // namespace quillmere
