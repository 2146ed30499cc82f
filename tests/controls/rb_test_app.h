// The application object the drawn-control tests run in: offscreen, with a
// fixed palette so that system colours resolve to known values.
#pragma once

#include "controls/system_colors.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <set>
#include <utility>

namespace rbtest {

// A set of pixel positions (x, y).
using PointSet = std::set<std::pair<int, int>>;

// Button face, highlight and shadow of the fixed test palette (0x00BBGGRR).
inline constexpr quillmere::TColor kTestBtnFace = 0xF0F0F0;
inline constexpr quillmere::TColor kTestBtnHighlight = 0xFFFFFF;
inline constexpr quillmere::TColor kTestBtnShadow = 0xA0A0A0;

// Creates the application on first use (QT_QPA_PLATFORM=offscreen when unset)
// and installs the fixed palette.
void ensureApp();

// The pixels of `image` whose colour is exactly `rgb` (0xRRGGBB).
PointSet pixelsOf(const QImage& image, unsigned rgb);

// Points of `points` moved by (dx, dy).
PointSet shifted(const PointSet& points, int dx, int dy);

// The points of a that are not in b.
PointSet minus(const PointSet& a, const PointSet& b);

// Smallest rectangle holding every point (null when there are none).
QRect boundsOf(const PointSet& points);

}  // namespace rbtest
