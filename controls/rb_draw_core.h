// Pixel routines shared by the drawn panels, buttons and check box.
//
// Every routine works on 24-bit pictures held as QImage::Format_RGB32 (each
// pixel 0xffRRGGBB, rows reached through scanLine), with integer arithmetic or
// exactly specified rounding, so a picture comes out the same on every machine.
// Rectangles are QRects; a rectangle's "right" and "bottom" below mean
// x() + width() and y() + height(), the first column and row outside it.
#pragma once

#include "controls/system_colors.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QString>

#include <cstdint>

namespace quillmere {

// Shapes of FillGradient, in this order.
enum TGradientType {
    gtHorizontal,
    gtVertical,
    gtFromTopLeft,
    gtFromTopRight,
    gtRadial,
    gtDoubleHorz,
    gtDoubleVert
};

// Text format flags of DrawCaptionText, with the window system's values.
namespace dt {
inline constexpr unsigned kTop = 0x0000;
inline constexpr unsigned kLeft = 0x0000;
inline constexpr unsigned kCenter = 0x0001;
inline constexpr unsigned kRight = 0x0002;
inline constexpr unsigned kVCenter = 0x0004;
inline constexpr unsigned kBottom = 0x0008;
inline constexpr unsigned kWordBreak = 0x0010;
inline constexpr unsigned kSingleLine = 0x0020;
inline constexpr unsigned kNoPrefix = 0x0800;
inline constexpr unsigned kEndEllipsis = 0x8000;
}  // namespace dt

// A new 24-bit picture of `size`, every pixel `fill`.
QImage NewBitmap(QSize size, TColor fill = clWhite);

// Rectangle from its four edges, right and bottom exclusive.
constexpr QRect RectFromEdges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

// Nearest integer of x, halves going to the even neighbour.
double RoundHalfEven(double x);

// Nearest integer of num / den (den != 0), halves going to the even neighbour.
std::int64_t RoundDivHalfEven(std::int64_t num, std::int64_t den);

// The pixels of a rectangle whose corners are rounded by an ellipse of
// ellipseWidth x ellipseHeight (0 gives square corners): a pixel belongs to it
// when its centre lies inside the shape.
QRegion RoundRectRegion(const QRect& rect, int ellipseWidth, int ellipseHeight);

// Sets every pixel of `region` (clipped to the picture) to `color`.
void FillRegion(QImage& image, const QRegion& region, TColor color);

// Draws the outline of the rounded rectangle `rect` with a pen penWidth pixels
// wide (0 counts as 1) centred on the outline, in `color`; when fillInside is
// set, the inside of the outline is filled with `brush` first. With a clip
// region only pixels inside it are written.
void DrawRoundRect(QImage& image, const QRect& rect, int ellipse, int penWidth, TColor color,
                   bool fillInside, TColor brush, const QRegion* clip = nullptr);

// Fills `rect` of the picture with a gradient from fromColor to toColor of the
// given shape; with a region, only pixels inside it are written. Equal colours
// (as stored) fill the region, or the rect, flat. Channels are rounded to the
// nearest integer, halves to even, and keep their low 8 bits.
void FillGradient(QImage& image, const QRect& rect, TColor fromColor, const QRegion* region,
                  TGradientType gradientType, TColor toColor);

// Draws a caption with `format` (dt:: flags) into rect. Enabled: with shadowOn
// first in shadowColor moved 1 pixel right and down, then in fontColor.
// Disabled: embossed, in the button highlight colour moved 1 right and down,
// then in the button shadow colour. The text background stays transparent.
void DrawCaptionText(QPainter& canvas, const QString& text, const QFont& font, TColor fontColor,
                     TColor shadowColor, bool shadowOn, unsigned format, const QRect& rect,
                     bool enabled);

// Copies base into target at rect's top-left moved by offset (size of rect less
// offset, from base's origin); then, when level > 0 (above 100 counts as 100),
// mixes overlay (its origin on rect's top-left) into every pixel of rect:
// round(target * (100 - level) / 100 + overlay * level / 100), halves to even.
void BlendImage(QImage& target, const QImage& base, const QImage& overlay, int offset,
                const QRect& rect, int level);

// The mixing half of BlendImage alone: overlay mixed into rect of target.
void MixImage(QImage& target, const QImage& overlay, const QRect& rect, int level);

// Turns every pixel into grey g = (red + green + blue) / 3 lifted by color:
// (min(g + red of color, 255), ... green ..., ... blue ...).
void TintImage(QImage& image, TColor color);

// Builds the smoothed frame of a panel: big is factor times target's size. The
// pixels within edgeWidth / 2 of an edge (edgeWidth < 1 counts as factor)
// become the average of the factor x factor block of big they cover; the inner
// rectangle is filled with fillColor.
void DownsampleEdges(QImage& target, const QImage& big, int factor, TColor fillColor,
                     int edgeWidth);

// Format flags of buttons and check boxes: vertically centred, no prefix
// processing, end ellipsis, plus left (0), right (1) or centred (2), and word
// break when wordBreak is set, single line otherwise.
unsigned TextFormatFlags(int alignment, bool wordBreak);

// Copies `picture` onto target with its top-left at `at`, leaving out the
// pixels that have the colour of the bottom-left pixel of `mask` (a 24-bit
// picture of the same size, often the picture itself before tinting). A
// picture with an alpha channel is blended by its alpha instead.
void DrawTransparent(QImage& target, QPoint at, const QImage& picture, const QImage& mask);

// Inverts every other pixel along the rectangle's outline, as a dotted focus
// rectangle; drawing it twice restores the picture.
void DrawFocusRect(QImage& image, const QRect& rect);

}  // namespace quillmere
