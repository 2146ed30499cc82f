#include "rb_test_app.h"

#include "controls/rb_fonts.h"

#include <QApplication>
#include <QPalette>

namespace rbtest {

void ensureApp() {
    static QApplication* app = nullptr;
    if (app != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "controls_rb_tests";
    static char* argv[] = {name, nullptr};
    app = new QApplication(argc, argv);
    quillmere::installFontSubstitutes();
    QPalette palette = QApplication::palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Button, QColor(0xF0, 0xF0, 0xF0));
        palette.setColor(group, QPalette::Light, QColor(0xFF, 0xFF, 0xFF));
        palette.setColor(group, QPalette::Dark, QColor(0xA0, 0xA0, 0xA0));
    }
    QApplication::setPalette(palette);
}

PointSet pixelsOf(const QImage& image, unsigned rgb) {
    PointSet points;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == rgb) {
                points.insert({x, y});
            }
        }
    }
    return points;
}

PointSet shifted(const PointSet& points, int dx, int dy) {
    PointSet moved;
    for (const auto& [x, y] : points) {
        moved.insert({x + dx, y + dy});
    }
    return moved;
}

PointSet minus(const PointSet& a, const PointSet& b) {
    PointSet rest;
    for (const auto& p : a) {
        if (b.count(p) == 0) {
            rest.insert(p);
        }
    }
    return rest;
}

QRect boundsOf(const PointSet& points) {
    QRect bounds;
    for (const auto& [x, y] : points) {
        bounds |= QRect(x, y, 1, 1);
    }
    return bounds;
}

}  // namespace rbtest
