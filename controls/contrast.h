// Contrast between two colours as the Web Content Accessibility Guidelines
// measure it: 1 (none) to 21 (black on white); 4.5 is enough for text.
#pragma once

#include <QColor>

namespace quillmere {

// The relative luminance of an opaque colour, 0 (black) to 1 (white).
double RelativeLuminance(const QColor& color);
// (lighter + 0.05) / (darker + 0.05) of the two colours' luminances.
double ContrastRatio(const QColor& a, const QColor& b);
// Black or white, whichever stands out more on `background`.
QColor ReadableTextOn(const QColor& background);

}  // namespace quillmere
