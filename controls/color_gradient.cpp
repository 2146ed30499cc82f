#include "controls/color_gradient.h"

#include <QPen>

#include <cmath>

namespace quillmere {

namespace {

// Channel value at step r of a band of length len going from channel a to
// channel b. The ratio is a double, the product is taken in extended
// precision and truncated toward zero, so black to white over four lines
// gives 0, 84, 169, 255 (255 * (1/3 as a double) lies just below 85). A band
// of length 0 would divide 0 by 0; it takes its start colour.
int gradientChannel(int a, int b, int r, int len) {
    if (len == 0) {
        return a;
    }
    const double t = static_cast<double>(r) / static_cast<double>(len);
    const long double value =
        static_cast<long double>(b - a) * static_cast<long double>(t) + static_cast<long double>(a);
    return static_cast<int>(value);  // truncates toward zero
}

struct Channels {
    int red;
    int green;
    int blue;
};

Channels channelsOf(TColor color) {
    const TColor rgb = colorToRGB(color);
    return {redOf(rgb), greenOf(rgb), blueOf(rgb)};
}

// One line of the fill; the end point is not painted, as with every line of
// the drawing layer, so a line of length 0 paints nothing.
void drawLine(QPainter& canvas, const FillRect& rect, bool horizontal, int pos) {
    if (horizontal) {
        const int x = rect.Left + pos;
        if (rect.Bottom > rect.Top) {
            canvas.drawLine(x, rect.Top, x, rect.Bottom - 1);
        }
    } else {
        const int y = rect.Top + pos;
        if (rect.Right > rect.Left) {
            canvas.drawLine(rect.Left, y, rect.Right - 1, y);
        }
    }
}

}  // namespace

void DrawColorGradient(QPainter& Canvas, const FillRect& Rect, bool Horizontal,
                       const std::vector<TColor>& Colors) {
    if (Colors.size() < 2) {
        throw GradientError(QStringLiteral("Please specify at least two colors."));
    }
    const int extent = Horizontal ? Rect.Right - Rect.Left : Rect.Bottom - Rect.Top;
    std::vector<Channels> channels;
    channels.reserve(Colors.size());
    for (TColor color : Colors) {
        channels.push_back(channelsOf(color));
    }

    const QPen savedPen = Canvas.pen();
    const bool savedAntialiasing = Canvas.testRenderHint(QPainter::Antialiasing);
    Canvas.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(Qt::SolidLine);
    pen.setWidth(1);

    const int bands = static_cast<int>(Colors.size()) - 1;
    // Nearest integer, halves to the even neighbour (the default rounding mode).
    const int bandLength = static_cast<int>(std::nearbyint(static_cast<double>(extent) / bands));
    for (int i = 0; i < bands; ++i) {
        const int len = (i == bands - 1) ? extent - i * bandLength - 1 : bandLength;
        const Channels& from = channels[static_cast<std::size_t>(i)];
        const Channels& to = channels[static_cast<std::size_t>(i) + 1];
        for (int r = 0; r <= len; ++r) {
            pen.setColor(QColor(gradientChannel(from.red, to.red, r, len),
                                gradientChannel(from.green, to.green, r, len),
                                gradientChannel(from.blue, to.blue, r, len)));
            Canvas.setPen(pen);
            drawLine(Canvas, Rect, Horizontal, i * bandLength + r);
        }
    }

    Canvas.setPen(savedPen);
    Canvas.setRenderHint(QPainter::Antialiasing, savedAntialiasing);
}

}  // namespace quillmere
