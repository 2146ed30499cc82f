#include "controls/flat_tool_button.h"

#include <QPainter>

namespace quillmere {

namespace {

// A disabled picture: its grey level pulled halfway to white, alpha kept, so
// it does not depend on the desktop's palette.
QPixmap greyedOut(const QPixmap& pixmap) {
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = (qGray(row[x]) + 255) / 2;
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]));
        }
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(pixmap.devicePixelRatio());
    return result;
}

// Every other pixel of a one-pixel rectangle, as a focus mark is dotted.
void drawDottedRect(QPainter& painter, const QRect& r, const QColor& color) {
    for (int x = r.left(); x <= r.right(); ++x) {
        if ((x - r.left()) % 2 == 0) {
            painter.fillRect(x, r.top(), 1, 1, color);
            painter.fillRect(x, r.bottom(), 1, 1, color);
        }
    }
    for (int y = r.top(); y <= r.bottom(); ++y) {
        if ((y - r.top()) % 2 == 0) {
            painter.fillRect(r.left(), y, 1, 1, color);
            painter.fillRect(r.right(), y, 1, 1, color);
        }
    }
}

}  // namespace

FlatToolButton::FlatToolButton(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setAttribute(Qt::WA_Hover);
}

void FlatToolButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect face = rect().adjusted(0, 0, -1, -1);
    const bool sunken = isDown() || isChecked();
    if (sunken) {
        painter.fillRect(rect(), kCheckedFace);
        painter.setPen(kCheckedBorder);
        painter.drawRect(face);
    } else if (underMouse() && isEnabled()) {
        painter.fillRect(rect(), kHoverFace);
        painter.setPen(kHoverBorder);
        painter.drawRect(face);
    }
    const QPixmap picture = icon().pixmap(iconSize(), devicePixelRatio(), QIcon::Normal,
                                          isChecked() ? QIcon::On : QIcon::Off);
    if (!picture.isNull()) {
        const QPixmap shown = isEnabled() ? picture : greyedOut(picture);
        const QSize size = shown.deviceIndependentSize().toSize();
        QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
        if (isDown()) {
            at += QPoint(1, 1);
        }
        painter.drawPixmap(at, shown);
    }
    if (hasFocus()) {
        drawDottedRect(painter, rect().adjusted(2, 2, -3, -3), kFocusMark);
    }
}

void FlatToolButton::focusInEvent(QFocusEvent* event) {
    QToolButton::focusInEvent(event);
    update();
}

void FlatToolButton::focusOutEvent(QFocusEvent* event) {
    QToolButton::focusOutEvent(event);
    update();
}

}  // namespace quillmere
