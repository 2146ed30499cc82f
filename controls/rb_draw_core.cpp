#include "controls/rb_draw_core.h"

#include <QFontMetrics>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <vector>

namespace quillmere {

namespace {

QRgb* row(QImage& image, int y) {
    return reinterpret_cast<QRgb*>(image.scanLine(y));
}
const QRgb* row(const QImage& image, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

QRgb opaque(TColor rgb) {
    return qRgb(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

void fillSpan(QImage& image, int y, int left, int right, QRgb value) {
    QRgb* line = row(image, y);
    std::fill(line + left, line + right, value);
}

// One colour channel of a gradient whose distance is a whole number of pixels:
// from + diff * s / length rounded exactly (halves to even), low 8 bits kept.
struct LinearChannel {
    int from;
    int diff;
    std::int64_t length;
    bool capped;  // step above 255: 255 per pixel of distance instead

    int at(std::int64_t s) const {
        const std::int64_t value =
            capped ? from + 255 * s : RoundDivHalfEven(from * length + diff * s, length);
        return static_cast<int>(value & 0xFF);
    }
};

LinearChannel linearChannel(int from, int to, std::int64_t length) {
    const double step = static_cast<double>(to - from) / static_cast<double>(length);
    return {from, to - from, length, step > 255.0};
}

// One colour channel of a gradient along a Euclidean distance.
struct RadialChannel {
    int from;
    double step;

    int at(double s) const {
        const double value = RoundHalfEven(step * s + from);
        return static_cast<int>(static_cast<std::int64_t>(value) & 0xFF);
    }
};

RadialChannel radialChannel(int from, int to, std::int64_t length) {
    double step = static_cast<double>(to - from) / static_cast<double>(length);
    if (step > 255.0) {
        step = 255.0;
    }
    return {from, step};
}

struct GradientSetup {
    TGradientType type;
    QRect rect;
    std::int64_t length;   // enters the distances
    std::int64_t divisor;  // the length the colour steps are divided by
    TColor from;
    TColor to;
};

std::int64_t gradientLength(TGradientType type, const QRect& rect) {
    const std::int64_t w = rect.width();
    const std::int64_t h = rect.height();
    const auto diagonal =
        static_cast<std::int64_t>(RoundHalfEven(std::sqrt(double(w * w + h * h))));
    switch (type) {
        case gtHorizontal:
            return w;
        case gtVertical:
            return h;
        case gtFromTopLeft:
        case gtFromTopRight:
            return diagonal - rect.left();
        case gtRadial:
            return (diagonal - rect.left()) / 2;
        case gtDoubleHorz:
            return w / 2;
        case gtDoubleVert:
            return h / 2;
    }
    return w;
}

// Distance of a pixel for the shapes measured in whole pixels.
std::int64_t linearDistance(const GradientSetup& g, int x, int y) {
    switch (g.type) {
        case gtHorizontal:
            return x - g.rect.left();
        case gtVertical:
            return y - g.rect.top();
        case gtDoubleHorz:
            return std::abs(x - g.length - g.rect.left());
        case gtDoubleVert:
            return std::abs(y - g.length - g.rect.top());
        default:
            return 0;
    }
}

double radialDistance(const GradientSetup& g, int x, int y) {
    const double w2 = g.rect.width() / 2;
    const double h2 = g.rect.height() / 2;
    const double dy = y - g.rect.top();
    switch (g.type) {
        case gtFromTopLeft:
            return std::sqrt(double(x - g.rect.left()) * (x - g.rect.left()) + dy * dy);
        case gtFromTopRight: {
            const double dx = g.rect.x() + g.rect.width() - x;
            return std::sqrt(dx * dx + dy * dy);
        }
        default:
            return std::sqrt((w2 - x) * (w2 - x) + (y - h2) * (y - h2));
    }
}

void paintLinear(QImage& image, const QRegion& area, const GradientSetup& g) {
    const LinearChannel r = linearChannel(redOf(g.from), redOf(g.to), g.divisor);
    const LinearChannel gr = linearChannel(greenOf(g.from), greenOf(g.to), g.divisor);
    const LinearChannel b = linearChannel(blueOf(g.from), blueOf(g.to), g.divisor);
    auto colorAt = [&](std::int64_t s) { return qRgb(r.at(s), gr.at(s), b.at(s)); };
    const bool byRow = g.type == gtVertical || g.type == gtDoubleVert;
    for (const QRect& part : area) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            QRgb* line = row(image, y);
            if (byRow) {
                std::fill(line + part.left(), line + part.right() + 1,
                          colorAt(linearDistance(g, part.left(), y)));
                continue;
            }
            for (int x = part.left(); x <= part.right(); ++x) {
                line[x] = colorAt(linearDistance(g, x, y));
            }
        }
    }
}

void paintRadial(QImage& image, const QRegion& area, const GradientSetup& g) {
    const RadialChannel r = radialChannel(redOf(g.from), redOf(g.to), g.divisor);
    const RadialChannel gr = radialChannel(greenOf(g.from), greenOf(g.to), g.divisor);
    const RadialChannel b = radialChannel(blueOf(g.from), blueOf(g.to), g.divisor);
    for (const QRect& part : area) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            QRgb* line = row(image, y);
            for (int x = part.left(); x <= part.right(); ++x) {
                const double s = radialDistance(g, x, y);
                line[x] = qRgb(r.at(s), gr.at(s), b.at(s));
            }
        }
    }
}

int qtTextFlags(unsigned format) {
    int flags = 0;
    if (format & dt::kCenter) {
        flags |= Qt::AlignHCenter;
    } else if (format & dt::kRight) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    if (format & dt::kVCenter) {
        flags |= Qt::AlignVCenter;
    } else if (format & dt::kBottom) {
        flags |= Qt::AlignBottom;
    } else {
        flags |= Qt::AlignTop;
    }
    if (format & dt::kSingleLine) {
        flags |= Qt::TextSingleLine;
    } else if (format & dt::kWordBreak) {
        flags |= Qt::TextWordWrap;
    }
    if (!(format & dt::kNoPrefix)) {
        flags |= Qt::TextShowMnemonic;
    }
    return flags;
}

void drawTextOnce(QPainter& canvas, const QString& text, int flags, const QRect& rect,
                  TColor color) {
    canvas.setPen(toQColor(color));
    canvas.drawText(rect, flags, text);
}

}  // namespace

QImage NewBitmap(QSize size, TColor fill) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(toQRgb(fill));
    return image;
}

double RoundHalfEven(double x) {
    const double floor = std::floor(x);
    const double fraction = x - floor;
    if (fraction > 0.5) {
        return floor + 1.0;
    }
    if (fraction < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::int64_t RoundDivHalfEven(std::int64_t num, std::int64_t den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    std::int64_t quotient = num / den;
    std::int64_t remainder = num % den;
    if (remainder < 0) {  // make the quotient the floor
        quotient -= 1;
        remainder += den;
    }
    const std::int64_t twice = 2 * remainder;
    if (twice > den || (twice == den && (quotient & 1) != 0)) {
        quotient += 1;
    }
    return quotient;
}

QRegion RoundRectRegion(const QRect& rect, int ellipseWidth, int ellipseHeight) {
    if (rect.isEmpty()) {
        return QRegion();
    }
    const double rx = std::min(std::max(ellipseWidth, 0), rect.width()) / 2.0;
    const double ry = std::min(std::max(ellipseHeight, 0), rect.height()) / 2.0;
    if (rx <= 0.0 || ry <= 0.0) {
        return QRegion(rect);
    }
    const double left = rect.x();
    const double right = rect.x() + rect.width();
    const double top = rect.y();
    const double bottom = rect.y() + rect.height();
    QVector<QRect> spans;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const double py = y + 0.5;
        int first = rect.left();
        int last = rect.right();
        double dy = 2.0;
        if (py < top + ry) {
            dy = (py - (top + ry)) / ry;
        } else if (py > bottom - ry) {
            dy = (py - (bottom - ry)) / ry;
        }
        if (dy != 2.0) {
            if (std::abs(dy) > 1.0) {
                continue;
            }
            const double dx = rx * std::sqrt(1.0 - dy * dy);
            first = static_cast<int>(std::ceil(left + rx - dx - 0.5));
            last = static_cast<int>(std::floor(right - rx + dx - 0.5));
            if (last < first) {
                continue;
            }
        }
        if (!spans.isEmpty() && spans.back().left() == first && spans.back().right() == last &&
            spans.back().bottom() == y - 1) {
            spans.back().setBottom(y);
        } else {
            spans.append(QRect(QPoint(first, y), QPoint(last, y)));
        }
    }
    QRegion region;
    region.setRects(spans.constData(), static_cast<int>(spans.size()));
    return region;
}

void FillRegion(QImage& image, const QRegion& region, TColor color) {
    const QRgb value = opaque(colorToRGB(color));
    for (const QRect& part : region& image.rect()) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            fillSpan(image, y, part.left(), part.right() + 1, value);
        }
    }
}

void DrawRoundRect(QImage& image, const QRect& rect, int ellipse, int penWidth, TColor color,
                   bool fillInside, TColor brush, const QRegion* clip) {
    const int pen = std::max(penWidth, 1);
    const int grow = pen / 2;
    const QRect outer = rect.adjusted(-grow, -grow, grow, grow);
    const QRect inner = outer.adjusted(pen, pen, -pen, -pen);
    const int outerEllipse = ellipse <= 0 ? 0 : ellipse + 2 * grow;
    const int innerEllipse = std::max(0, ellipse - 2 * (pen - grow));
    const QRegion outerRegion = RoundRectRegion(outer, outerEllipse, outerEllipse);
    const QRegion innerRegion = RoundRectRegion(inner, innerEllipse, innerEllipse);
    const QRegion frame = outerRegion.subtracted(innerRegion);
    if (fillInside) {
        FillRegion(image, clip != nullptr ? innerRegion & *clip : innerRegion, brush);
    }
    FillRegion(image, clip != nullptr ? frame & *clip : frame, color);
}

void FillGradient(QImage& image, const QRect& rect, TColor fromColor, const QRegion* region,
                  TGradientType gradientType, TColor toColor) {
    if (image.width() == 0 || image.height() == 0) {
        return;
    }
    if (fromColor == toColor) {
        FillRegion(image, region != nullptr ? *region : QRegion(rect), fromColor);
        return;
    }
    QRegion area = QRegion(rect & image.rect());
    if (region != nullptr) {
        area &= *region;
    }
    const std::int64_t length = gradientLength(gradientType, rect);
    // A gradient without length (a double gradient one pixel high, say) would
    // divide by zero; its steps are taken over one pixel instead, so distance
    // 0 still shows the start colour.
    const GradientSetup setup{
        gradientType,       rect, length, length == 0 ? 1 : length, colorToRGB(fromColor),
        colorToRGB(toColor)};
    switch (gradientType) {
        case gtFromTopLeft:
        case gtFromTopRight:
        case gtRadial:
            paintRadial(image, area, setup);
            break;
        default:
            paintLinear(image, area, setup);
            break;
    }
}

void DrawCaptionText(QPainter& canvas, const QString& text, const QFont& font, TColor fontColor,
                     TColor shadowColor, bool shadowOn, unsigned format, const QRect& rect,
                     bool enabled) {
    canvas.save();
    canvas.setFont(font);
    canvas.setBackgroundMode(Qt::TransparentMode);
    const int flags = qtTextFlags(format);
    QString shown = text;
    if ((format & dt::kEndEllipsis) && (format & dt::kSingleLine)) {
        const int mnemonic = (flags & Qt::TextShowMnemonic) ? Qt::TextShowMnemonic : 0;
        shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, rect.width(), mnemonic);
    }
    const QRect moved = rect.translated(1, 1);
    if (enabled) {
        if (shadowOn) {
            drawTextOnce(canvas, shown, flags, moved, shadowColor);
        }
        drawTextOnce(canvas, shown, flags, rect, fontColor);
    } else {
        drawTextOnce(canvas, shown, flags, moved, clBtnHighlight);
        drawTextOnce(canvas, shown, flags, rect, clBtnShadow);
    }
    canvas.restore();
}

void BlendImage(QImage& target, const QImage& base, const QImage& overlay, int offset,
                const QRect& rect, int level) {
    const QRect dest =
        QRect(rect.x() + offset, rect.y() + offset, rect.width() - offset, rect.height() - offset);
    const QRect copied = dest & target.rect() & base.rect().translated(dest.topLeft());
    for (int y = copied.top(); y <= copied.bottom(); ++y) {
        const QRgb* from = row(base, y - dest.y()) + (copied.left() - dest.x());
        std::copy(from, from + copied.width(), row(target, y) + copied.left());
    }
    if (level > 0) {
        MixImage(target, overlay, rect, level);
    }
}

void MixImage(QImage& target, const QImage& overlay, const QRect& rect, int level) {
    const int l = std::clamp(level, 0, 100);
    const QRect area = rect & target.rect() & overlay.rect().translated(rect.topLeft());
    auto mix = [l](int t, int o) {
        return static_cast<int>(
            RoundDivHalfEven(std::int64_t(t) * (100 - l) + std::int64_t(o) * l, 100));
    };
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* line = row(target, y);
        const QRgb* over = row(overlay, y - rect.y());
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb t = line[x];
            const QRgb o = over[x - rect.x()];
            line[x] =
                qRgb(mix(qRed(t), qRed(o)), mix(qGreen(t), qGreen(o)), mix(qBlue(t), qBlue(o)));
        }
    }
}

void TintImage(QImage& image, TColor color) {
    const TColor rgb = colorToRGB(color);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = row(image, y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int g = (qRed(p) + qGreen(p) + qBlue(p)) / 3;
            line[x] = qRgba(std::min(g + redOf(rgb), 255), std::min(g + greenOf(rgb), 255),
                            std::min(g + blueOf(rgb), 255), qAlpha(p));
        }
    }
}

void DownsampleEdges(QImage& target, const QImage& big, int factor, TColor fillColor,
                     int edgeWidth) {
    if (factor < 1) {
        return;
    }
    if (edgeWidth < 1) {
        edgeWidth = factor;
    }
    const int band = edgeWidth / 2;
    const int width = target.width();
    const int height = target.height();
    const int divisor = factor * factor;
    auto average = [&](int x, int y) {
        int sum[3] = {0, 0, 0};
        for (int by = y * factor; by < (y + 1) * factor && by < big.height(); ++by) {
            const QRgb* line = row(big, by);
            for (int bx = x * factor; bx < (x + 1) * factor && bx < big.width(); ++bx) {
                sum[0] += qRed(line[bx]);
                sum[1] += qGreen(line[bx]);
                sum[2] += qBlue(line[bx]);
            }
        }
        return qRgb(sum[0] / divisor, sum[1] / divisor, sum[2] / divisor);
    };
    for (int y = 0; y < height; ++y) {
        QRgb* line = row(target, y);
        const bool edgeRow = y <= band || y >= height - band;
        for (int x = 0; x < width; ++x) {
            if (!edgeRow && x > band && x < width - band) {
                x = width - band - 1;  // skip the inside of this row
                continue;
            }
            line[x] = average(x, y);
        }
    }
    const QRect inside = RectFromEdges(band, band, width - band, height - band);
    if (!inside.isEmpty()) {
        FillRegion(target, QRegion(inside), fillColor);
    }
}

unsigned TextFormatFlags(int alignment, bool wordBreak) {
    unsigned flags = dt::kVCenter | dt::kNoPrefix | dt::kEndEllipsis;
    if (alignment == 1) {
        flags |= dt::kRight;
    } else if (alignment == 2) {
        flags |= dt::kCenter;
    } else {
        flags |= dt::kLeft;
    }
    flags |= wordBreak ? dt::kWordBreak : dt::kSingleLine;
    return flags;
}

void DrawTransparent(QImage& target, QPoint at, const QImage& picture, const QImage& mask) {
    if (picture.isNull()) {
        return;
    }
    const QRect area = QRect(at, picture.size()) & target.rect();
    if (picture.hasAlphaChannel()) {
        const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            QRgb* line = row(target, y);
            const QRgb* from = row(source, y - at.y());
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb p = from[x - at.x()];
                const int a = qAlpha(p);
                const QRgb t = line[x];
                auto mix = [a](int pc, int tc) { return (pc * a + tc * (255 - a) + 127) / 255; };
                line[x] =
                    qRgb(mix(qRed(p), qRed(t)), mix(qGreen(p), qGreen(t)), mix(qBlue(p), qBlue(t)));
            }
        }
        return;
    }
    const QImage& keyed = mask.size() == picture.size() ? mask : picture;
    const QRgb key = keyed.pixel(0, keyed.height() - 1) & 0xFFFFFF;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* line = row(target, y);
        const int sy = y - at.y();
        for (int x = area.left(); x <= area.right(); ++x) {
            const int sx = x - at.x();
            if ((keyed.pixel(sx, sy) & 0xFFFFFF) == key) {
                continue;
            }
            line[x] = picture.pixel(sx, sy) | 0xFF000000u;
        }
    }
}

void DrawFocusRect(QImage& image, const QRect& rect) {
    const QRect r = rect & image.rect();
    if (r.isEmpty()) {
        return;
    }
    auto flip = [&image](int x, int y) {
        if ((x + y) % 2 == 0) {
            QRgb* line = row(image, y);
            line[x] = line[x] ^ 0x00FFFFFFu;
        }
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        flip(x, r.top());
        if (r.bottom() != r.top()) {
            flip(x, r.bottom());
        }
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        flip(r.left(), y);
        if (r.right() != r.left()) {
            flip(r.right(), y);
        }
    }
}

}  // namespace quillmere
