#include "shell/program_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace quillmere {

namespace {

// Draws on a 32 x 32 design grid; the painter is scaled for other sizes.
void drawIcon(QPainter& p) {
    // Book cover and pages.
    p.setPen(QPen(QColor(0x4A, 0x2C, 0x12), 1.2));
    p.setBrush(QColor(0x8B, 0x4A, 0x1C));
    p.drawRoundedRect(QRectF(3.5, 6.5, 25, 22), 2, 2);
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 0.8));
    p.setBrush(QColor(0xFF, 0xFB, 0xF0));
    p.drawRect(QRectF(5.5, 8.5, 10, 18));
    p.drawRect(QRectF(16.5, 8.5, 10, 18));
    // Lines of writing.
    p.setPen(QPen(QColor(0x10, 0x84, 0xD0), 0.9));
    for (int i = 0; i < 5; ++i) {
        const qreal y = 12 + i * 3;
        p.drawLine(QPointF(7, y), QPointF(14, y));
        if (i < 3) {
            p.drawLine(QPointF(18, y), QPointF(25, y));
        }
    }
    // The quill, crossing the right page.
    QPainterPath feather;
    feather.moveTo(30, 1);
    feather.cubicTo(22, 3, 17, 12, 15, 22);
    feather.cubicTo(20, 17, 27, 11, 30, 1);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.8));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawPath(feather);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2));
    p.drawLine(QPointF(29, 2), QPointF(14, 24));
}

}  // namespace

QPixmap ProgramIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    drawIcon(p);
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(ProgramIconPixmap(size));
    }
    return icon;
}

}  // namespace quillmere
