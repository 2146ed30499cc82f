#include "dark_palette.h"

#include <QColor>

namespace testsupport {

QPalette darkFusionPalette() {
    QPalette p;
    const QColor window(0x35, 0x35, 0x35);
    const QColor base(0x2A, 0x2A, 0x2A);
    const QColor grey(0x80, 0x80, 0x80);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, Qt::white);
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    p.setColor(QPalette::Midlight, QColor(0x45, 0x45, 0x45));
    p.setColor(QPalette::Mid, QColor(0x25, 0x25, 0x25));
    p.setColor(QPalette::Dark, QColor(0x19, 0x19, 0x19));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Link, QColor(0x2A, 0x82, 0xDA));
    p.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, grey);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, grey);
    }
    return p;
}

}  // namespace testsupport
