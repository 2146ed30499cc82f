// Drawing of TProgressCyl: every pixel of the bar area is shaded straight
// into the rows of the off-screen image, then frames and text go on top.
#include "controls/progress_cyl.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace quillmere {

namespace {

QRgb opaque(TColor color) {
    const TColor rgb = colorToRGB(color);
    return qRgb(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

int shadeChannel(long double base, float factor) {
    const long double v = std::truncl(base * factor);
    if (!(v > 0)) {
        return 0;
    }
    return v >= 255 ? 255 : static_cast<int>(v);
}

// Shade of one pixel at distance index k with shading step `step`: per
// channel clamp(trunc((|k| * step * ColorFactor + ColorRGB) * factor)).
QRgb shade(const StyleValues& s, const ChannelFactors& f, int k, float step) {
    const long double base =
        static_cast<long double>(std::abs(k)) * step * s.ColorFactor + s.ColorRGB;
    return qRgb(shadeChannel(base, f[0]), shadeChannel(base, f[1]), shadeChannel(base, f[2]));
}

// Distance index at the first row (column) of the bar area.
// A tiny light angle would put it beyond any row; it is held to a bound far
// outside the bar so the integer stays valid.
int firstDistance(int extent, float lightAngle) {
    constexpr long double kBound = 1e9L;
    const long double k = std::truncl(static_cast<long double>(extent) / lightAngle);
    return static_cast<int>(std::clamp(k, -kBound, kBound));
}

void putPixel(QImage& image, int x, int y, QRgb color) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) {
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = color;
    }
}

// Fills the columns from..to (inclusive) of one row, clipped to the image.
void fillRow(QImage& image, int y, int from, int to, QRgb color) {
    if (y < 0 || y >= image.height()) {
        return;
    }
    from = std::max(from, 0);
    to = std::min(to, image.width() - 1);
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = from; x <= to; ++x) {
        row[x] = color;
    }
}

// A one-pixel frame in one colour on (l, t, r, bt), right and bottom exclusive.
void frameRect(QImage& image, int l, int t, int r, int bt, QRgb color) {
    fillRow(image, t, l, r - 1, color);
    fillRow(image, bt - 1, l, r - 1, color);
    for (int y = t; y < bt; ++y) {
        putPixel(image, l, y, color);
        putPixel(image, r - 1, y, color);
    }
}

// `width` nested rings inward from (l, t, r, bt): left and top edges in
// `top`, right and bottom edges in `bottom`, which also takes the top-right
// and bottom-left corner pixels.
void frame3D(QImage& image, int l, int t, int r, int bt, QRgb top, QRgb bottom, int width) {
    for (int i = 0; i < width; ++i) {
        const int left = l + i;
        const int right = r - 1 - i;
        const int upper = t + i;
        const int lower = bt - 1 - i;
        if (left > right || upper > lower) {
            return;
        }
        fillRow(image, upper, left, right - 1, top);
        for (int y = upper; y < lower; ++y) {
            putPixel(image, left, y, top);
        }
        for (int y = upper; y <= lower; ++y) {
            putPixel(image, right, y, bottom);
        }
        fillRow(image, lower, left, right, bottom);
    }
}

}  // namespace

const QImage& TProgressCyl::paintBuffer() {
    if (bufferBitmap_.size() != size()) {
        bufferBitmap_ = QImage(size(), QImage::Format_RGB32);
    }
    if (!ready_ || bufferBitmap_.isNull()) {
        return bufferBitmap_;
    }
    bufferBitmap_.fill(opaque(color_));
    if (!geometryValid()) {
        return bufferBitmap_;
    }
    if (layoutSize_ != size()) {
        runLayout();
    }
    const Layout m = layoutMetrics();
    shadeBar(m);
    drawFrames(m);
    if (showText_) {
        drawText();
    }
    return bufferBitmap_;
}

void TProgressCyl::shadeBar(const Layout& m) {
    const int w = width();
    const int h = height();
    const int b = m.b;
    const StyleValues& fs = foreStyle_.values();
    const StyleValues& bs = backStyle_.values();
    if (orientation_ == pbHorizontal) {
        const int kF = firstDistance(m.innerHeight, fs.LightAngle);
        const int kB = firstDistance(m.innerHeight, bs.LightAngle);
        for (int y = b; y <= h - b - 1; ++y) {
            const int step = y - b;
            fillRow(bufferBitmap_, y, b, barEdge_, shade(fs, foreFactors_, kF + step, shadeStepY_));
            putPixel(bufferBitmap_, barEdge_, y, shade(fs, lineFactors_, kF + step, shadeStepY_));
            fillRow(bufferBitmap_, y, barEdge_ + 1, w - b - 1,
                    shade(bs, backFactors_, kB + step, shadeStepY_));
        }
        return;
    }
    // Vertical: the shade changes from column to column, so one row of each
    // part is computed once and copied into every row of that part.
    const int kF = firstDistance(m.innerWidth, fs.LightAngle);
    const int kB = firstDistance(m.innerWidth, bs.LightAngle);
    std::vector<QRgb> back(static_cast<std::size_t>(m.innerWidth));
    std::vector<QRgb> line(back.size());
    std::vector<QRgb> fore(back.size());
    for (int i = 0; i < m.innerWidth; ++i) {
        back[i] = shade(bs, backFactors_, kB + i, shadeStepX_);
        line[i] = shade(fs, lineFactors_, kF + i, shadeStepX_);
        fore[i] = shade(fs, foreFactors_, kF + i, shadeStepX_);
    }
    auto copyRow = [&](int y, const std::vector<QRgb>& colors) {
        if (y < 0 || y >= h) {
            return;
        }
        QRgb* row = reinterpret_cast<QRgb*>(bufferBitmap_.scanLine(y));
        const int count = std::min<int>(static_cast<int>(colors.size()), w - b);
        std::copy(colors.begin(), colors.begin() + std::max(count, 0), row + b);
    };
    for (int y = b; y <= barEdge_; ++y) {
        copyRow(y, back);
    }
    copyRow(barEdge_, line);
    for (int y = barEdge_ + 1; y <= h - b - 1; ++y) {
        copyRow(y, fore);
    }
}

void TProgressCyl::drawFrames(const Layout& m) {
    const int w = width();
    const int h = height();
    frameRect(bufferBitmap_, m.b, m.b, w - m.b, h - m.b, opaque(backBorderColor_));
    if (bevelInner_ != bvNone) {
        frame3D(bufferBitmap_, m.a, m.a, w - m.a, h - m.a, opaque(innerTopColor_),
                opaque(innerBottomColor_), bevelWidth_);
    }
    if (bevelOuter_ != bvNone) {
        frame3D(bufferBitmap_, 0, 0, w, h, opaque(outerTopColor_), opaque(outerBottomColor_),
                bevelWidth_);
    }
}

QString TProgressCyl::displayText() const {
    if (!textDone_.isEmpty() && percent_ == 100) {
        return textDone_;
    }
    return QString::number(percent_) + text_;
}

void TProgressCyl::drawText() {
    const QString s = displayText();
    QFont textFont = font();
    textFont.setWeight(textFont.bold() ? QFont::Bold : QFont::Normal);
    const QFontMetrics fm(textFont, &bufferBitmap_);
    const int tw = fm.horizontalAdvance(s);
    const int th = fm.height();
    const int w = width();
    const int h = height();
    int x = 0;
    int y = 0;
    qreal angle = 0;  // degrees clockwise on the screen
    switch (fontOrientation_) {
        case foLeftToRight:
            x = (w - tw) / 2;
            y = (h - th) / 2 + 1;
            break;
        case foTopToBottom:
            x = th + (w - th) / 2 - 1;
            y = (h - tw) / 2;
            angle = 90;
            break;
        case foBottomToTop:
            x = (w - th) / 2 + 1;
            y = tw + (h - tw) / 2;
            angle = -90;
            break;
    }
    // (x, y) is the top-left corner of the text cell in the text's own
    // direction; Qt places text by its base line.
    auto drawAt = [&](QImage& target, int px, int py, QRgb color) {
        QPainter painter(&target);
        painter.setFont(textFont);
        painter.setPen(QColor::fromRgb(color));
        painter.translate(px, py);
        painter.rotate(angle);
        painter.drawText(0, fm.ascent(), s);
    };
    if (fontEffect_ != feInvert) {
        if (fontEffect_ != feNone) {
            drawAt(bufferBitmap_, x + shadowOffset_, y + shadowOffset_, opaque(fontShadowColor_));
        }
        drawAt(bufferBitmap_, x, y, opaque(fontColor_));
        return;
    }
    if (!invertBitmap_ || invertBitmap_->size() != bufferBitmap_.size()) {
        invertBitmap_.emplace(bufferBitmap_.size(), QImage::Format_RGB32);
    }
    // The letters are drawn without smoothing here: exclusive or with a
    // partly covered edge pixel would give colour noise instead of an
    // inverted colour.
    textFont.setStyleStrategy(QFont::NoAntialias);
    invertBitmap_->fill(qRgb(0, 0, 0));
    drawAt(*invertBitmap_, x, y, qRgb(255, 255, 255));
    for (int row = 0; row < h; ++row) {
        QRgb* dst = reinterpret_cast<QRgb*>(bufferBitmap_.scanLine(row));
        const QRgb* mask = reinterpret_cast<const QRgb*>(invertBitmap_->constScanLine(row));
        for (int col = 0; col < w; ++col) {
            dst[col] ^= mask[col] & 0x00FFFFFFu;
        }
    }
}

}  // namespace quillmere
