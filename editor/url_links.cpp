#include "editor/url_links.h"

namespace quillmere {

UrlHighlighter::UrlHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

QTextCharFormat UrlHighlighter::linkFormat() {
    QTextCharFormat format;
    format.setFontUnderline(true);
    format.setForeground(QColor(0x00, 0x00, 0xFF));
    return format;
}

void UrlHighlighter::highlightBlock(const QString& text) {
    const QTextCharFormat format = linkFormat();
    for (const UrlSpan& span : detectUrls(text)) {
        setFormat(span.start, span.length, format);
    }
    if (extraMarks_) {
        QList<QTextLayout::FormatRange> marks;
        extraMarks_(currentBlock(), text, marks);
        for (const QTextLayout::FormatRange& mark : marks) {
            setFormat(mark.start, mark.length, mark.format);
        }
    }
}

}  // namespace quillmere
