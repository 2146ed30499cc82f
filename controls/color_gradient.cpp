#include "controls/color_gradient.h"

#include <QCoreApplication>

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

// One line of the fill, one pixel wide, from the rectangle's near edge to its
// far edge (the far edge itself is not painted, as with every line of the
// drawing layer). A one-pixel fill is exactly that line, without the cost of
// stroking a pen, and stays gap-free when the painter scales for a high
// density screen.
void drawLine(QPainter& canvas, const FillRect& rect, bool horizontal, int pos,
              const QColor& color) {
    if (horizontal && rect.Bottom > rect.Top) {
        canvas.fillRect(QRect(rect.Left + pos, rect.Top, 1, rect.Bottom - rect.Top), color);
    } else if (!horizontal && rect.Right > rect.Left) {
        canvas.fillRect(QRect(rect.Left, rect.Top + pos, rect.Right - rect.Left, 1), color);
    }
}

}  // namespace

void DrawColorGradient(QPainter& Canvas, const FillRect& Rect, bool Horizontal,
                       const std::vector<TColor>& Colors) {
    if (Colors.size() < 2) {
        throw GradientError(QCoreApplication::translate("quillmere::ColorGradient", "Please specify at least two colors."));
    }
    const int extent = Horizontal ? Rect.Right - Rect.Left : Rect.Bottom - Rect.Top;
    std::vector<Channels> channels;
    channels.reserve(Colors.size());
    for (TColor color : Colors) {
        channels.push_back(channelsOf(color));
    }

    const int bands = static_cast<int>(Colors.size()) - 1;
    // Nearest integer, halves to the even neighbour (the default rounding mode).
    const int bandLength = static_cast<int>(std::nearbyint(static_cast<double>(extent) / bands));
    for (int i = 0; i < bands; ++i) {
        const int len = (i == bands - 1) ? extent - i * bandLength - 1 : bandLength;
        const Channels& from = channels[static_cast<std::size_t>(i)];
        const Channels& to = channels[static_cast<std::size_t>(i) + 1];
        for (int r = 0; r <= len; ++r) {
            const QColor color(gradientChannel(from.red, to.red, r, len),
                               gradientChannel(from.green, to.green, r, len),
                               gradientChannel(from.blue, to.blue, r, len));
            drawLine(Canvas, Rect, Horizontal, i * bandLength + r, color);
        }
    }
}

}  // namespace quillmere
