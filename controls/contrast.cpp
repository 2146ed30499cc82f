#include "controls/contrast.h"

#include <algorithm>
#include <cmath>

namespace quillmere {

namespace {

double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(const QColor& color) {
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableTextOn(const QColor& background) {
    return ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background)
               ? QColor(Qt::black)
               : QColor(Qt::white);
}

}  // namespace quillmere
