#include "export/core/book_model.h"

#include "editor/rtf/link_text.h"
#include "editor/rtf/rtf.h"

#include <QBuffer>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

namespace quillmere::book {

namespace {

Picture pictureOf(const QTextDocument& doc, const QTextImageFormat& format) {
    Picture picture;
    picture.image = rtf::pictureImage(doc, format);
    picture.shownSize = QSize(qRound(format.width()), qRound(format.height()));
    if (picture.shownSize.isEmpty()) {
        picture.shownSize = picture.image.size();
    }
    const QString header = format.property(rtf::kPictureHeaderProperty).toString();
    const QByteArray stored = format.property(rtf::kPictureDataProperty).toByteArray();
    const bool unshown = format.property(rtf::kPictureUnshownProperty).toBool();
    // A photo or PNG keeps its own bytes; other kinds become PNG of what the
    // entry shows.
    if (!unshown && header.startsWith(QLatin1String("\\jpegblip")) && !stored.isEmpty()) {
        picture.bytes = stored;
        picture.extension = QStringLiteral("jpg");
        return picture;
    }
    picture.extension = QStringLiteral("png");
    if (!unshown && header.startsWith(QLatin1String("\\pngblip")) && !stored.isEmpty()) {
        picture.bytes = stored;
        return picture;
    }
    if (!picture.image.isNull()) {
        QBuffer buffer(&picture.bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.image.save(&buffer, "PNG");
    }
    return picture;
}

// Splits the text runs of one paragraph at the edges of the addresses its
// text holds and marks the parts inside one.
void markLinks(const QString& text, std::vector<Run>& runs) {
    const QList<UrlSpan> spans = detectUrls(text);
    if (spans.isEmpty()) {
        return;
    }
    std::vector<Run> split;
    int position = 0;
    for (Run& run : runs) {
        const int length = run.isPicture ? 1 : int(run.text.size());
        const int end = position + length;
        int at = position;
        while (at < end) {
            // The span holding `at`, or the next one starting after it.
            const UrlSpan* inside = nullptr;
            int next = end;
            for (const UrlSpan& span : spans) {
                if (at >= span.start && at < span.start + span.length) {
                    inside = &span;
                    break;
                }
                if (span.start > at && span.start < next) {
                    next = span.start;
                }
            }
            const int stop = inside ? std::min(end, inside->start + inside->length) : next;
            Run part = run;
            if (!run.isPicture) {
                part.text = run.text.mid(at - position, stop - at);
            }
            if (inside) {
                part.link = text.mid(inside->start, inside->length);
            }
            split.push_back(std::move(part));
            at = stop;
        }
        position = end;
    }
    runs = std::move(split);
}

}  // namespace

bool isOrdered(QTextListFormat::Style style) {
    switch (style) {
        case QTextListFormat::ListDecimal:
        case QTextListFormat::ListLowerAlpha:
        case QTextListFormat::ListUpperAlpha:
        case QTextListFormat::ListLowerRoman:
        case QTextListFormat::ListUpperRoman:
            return true;
        default:
            return false;
    }
}

QString linkHref(const QString& linkText) {
    return QString::fromUtf8(linkTarget(linkText).toEncoded());
}

std::vector<Paragraph> paragraphsOf(const QTextDocument& doc) {
    std::vector<Paragraph> paragraphs;
    QHash<const QTextList*, int> listIds;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        Paragraph paragraph;
        paragraph.alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (const QTextList* list = block.textList()) {
            paragraph.inList = true;
            paragraph.listStyle = list->format().style();
            paragraph.listNumber = list->itemNumber(block) + 1;
            if (!listIds.contains(list)) {
                listIds.insert(list, int(listIds.size()) + 1);
            }
            paragraph.listId = listIds.value(list);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) {
                continue;
            }
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                // One run per picture: a fragment of two equal pictures holds
                // two replacement characters.
                for (qsizetype i = 0; i < fragment.length(); ++i) {
                    Run run;
                    run.format = format;
                    run.isPicture = true;
                    run.picture = pictureOf(doc, format.toImageFormat());
                    paragraph.runs.push_back(std::move(run));
                }
                continue;
            }
            Run run;
            run.text = fragment.text();
            run.format = format;
            paragraph.runs.push_back(std::move(run));
        }
        markLinks(block.text(), paragraph.runs);
        paragraphs.push_back(std::move(paragraph));
    }
    return paragraphs;
}

}  // namespace quillmere::book
