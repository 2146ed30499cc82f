// What the editor's render call takes: a range of characters, the device it
// is laid out for and drawn on, and the rectangles it fills, in twips.
#pragma once

class QPainter;
class QPaintDevice;

namespace quillmere {

inline constexpr int kTwipsPerInch = 1440;

// A rectangle given by its edges; right and bottom lie just outside it. In
// twips or device pixels, as each use says.
struct PageRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const PageRect&) const = default;
};

// Device pixels to twips: x lengths × 1440 div dpiX, y lengths × 1440 div
// dpiY; integer division truncates towards zero. dpiX and dpiY must be > 0.
constexpr PageRect toTwips(const PageRect& pixels, int dpiX, int dpiY) {
    return {pixels.left * kTwipsPerInch / dpiX, pixels.top * kTwipsPerInch / dpiY,
            pixels.right * kTwipsPerInch / dpiX, pixels.bottom * kTwipsPerInch / dpiY};
}

// One call of the render call.
struct FormatRange {
    // Painter on the render device (active); may be null when only measuring.
    QPainter* render = nullptr;
    // The device the text is laid out for (its resolution sets the sizes);
    // null means the render painter's device.
    const QPaintDevice* target = nullptr;
    // The area the text fills, in twips from the device's origin.
    PageRect rc;
    // The whole page, in twips; nothing is drawn outside it.
    PageRect rcPage;
    // The characters [cpMin, cpMax), counted as the editor counts positions
    // (a paragraph end and a picture are one character each); cpMax -1 means
    // to the end of the text.
    int cpMin = 0;
    int cpMax = -1;
};

}  // namespace quillmere
