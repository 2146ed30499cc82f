// Multi-colour linear gradient fill, drawn as one-pixel lines side by side.
// Shared by the owner-drawn context menu and the search result list.
#pragma once

#include "controls/system_colors.h"
#include "store/errors.h"

#include <QPainter>
#include <QRect>

#include <vector>

namespace quillmere {

// Raised when a gradient is asked for with fewer than two colours.
class GradientError : public Error {
public:
    using Error::Error;
};

// The rectangle a gradient fills. Right and Bottom are exclusive, as
// everywhere in the drawing layer.
struct FillRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    static FillRect fromQRect(const QRect& r) {
        return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
    }
};

// Fills `Rect` on `Canvas` with a gradient through `Colors` (system colours
// are resolved first): colour 0 at the left (top) edge, the last colour at the
// right (bottom) edge, the others spaced evenly between. `Horizontal` true
// changes the colour from left to right and draws vertical lines; false
// changes it from top to bottom with horizontal lines.
//
// Every band of the gradient draws lines 0..len inclusive, so a band boundary
// line is drawn twice and a band of a very small rectangle may reach one line
// past the far edge; clipping is the caller's business. The painter's pen,
// brush and hints are left as they were.
//
// Throws GradientError "Please specify at least two colors." when fewer than
// two colours are given; nothing is drawn and the painter is left untouched.
void DrawColorGradient(QPainter& Canvas, const FillRect& Rect, bool Horizontal,
                       const std::vector<TColor>& Colors);

}  // namespace quillmere
