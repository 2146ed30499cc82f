#include "controls/rb_fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>

namespace quillmere {

namespace {

QImage renderGlyph(const QString& text, int size, TColor color) {
    const QString family = materialIconFamily();
    if (family.isEmpty() || size <= 0) {
        return {};
    }
    QFont font(family);
    font.setPixelSize(size);
    // A name the font does not know is set letter by letter, far wider than
    // one icon; such a name has no glyph.
    if (QFontMetricsF(font).horizontalAdvance(text) > size * 1.5) {
        return {};
    }
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(toQColor(color));
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, text);
    painter.end();
    return image;
}

}  // namespace

void installFontSubstitutes() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    QFont::insertSubstitution(QStringLiteral("Arial"), QString::fromLatin1(kSubstituteFamily));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                              QString::fromLatin1(kSubstituteFamily));
}

QFont designFont(const QString& family, int pixelHeight, bool bold) {
    installFontSubstitutes();
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QString materialIconFamily() {
    static bool tried = false;
    static QString family;
    if (!tried) {
        tried = true;
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kMaterialIconsFile));
        if (id >= 0) {
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty()) {
                family = families.first();
            }
        }
    }
    return family;
}

QImage materialGlyph(const QString& ligature, int size, TColor color) {
    return renderGlyph(ligature, size, color);
}

QImage materialGlyph(char32_t codePoint, int size, TColor color) {
    return renderGlyph(QString::fromUcs4(&codePoint, 1), size, color);
}

}  // namespace quillmere
