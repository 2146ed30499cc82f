// The paragraph indent of the document model (see rtf.h).
#include "editor/rtf/picture.h"
#include "editor/rtf/rtf.h"

#include <QTextBlockFormat>

#include <cmath>

namespace quillmere::rtf {

ParagraphIndent paragraphIndent(const QTextBlockFormat& format) {
    if (format.hasProperty(kStartIndentProperty) || format.hasProperty(kLeftOffsetProperty)) {
        return {format.intProperty(kStartIndentProperty), format.intProperty(kLeftOffsetProperty)};
    }
    // Margins set without the model's properties: pixels at 96 dpi.
    int offset = static_cast<int>(std::lround(-format.textIndent() * kTwipsPerPixel));
    int left = static_cast<int>(std::lround(format.leftMargin() * kTwipsPerPixel));
    return {left - offset, offset};
}

void setParagraphIndent(QTextBlockFormat& format, ParagraphIndent indent, bool bullet) {
    format.setProperty(kStartIndentProperty, indent.startTwips);
    format.setProperty(kLeftOffsetProperty, indent.offsetTwips);
    format.setLeftMargin(double(indent.startTwips + indent.offsetTwips) / kTwipsPerPixel);
    format.setTextIndent(bullet ? 0.0 : double(-indent.offsetTwips) / kTwipsPerPixel);
}

}  // namespace quillmere::rtf
