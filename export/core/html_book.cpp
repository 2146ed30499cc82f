// The diary as one self-contained HTML file.
#include "export/core/book_writers.h"

#include "store/day.h"
#include "store/day_caption.h"
#include "store/file_access.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QTextCharFormat>

namespace quillmere::book {

namespace {

constexpr char kStyleSheet[] =
    "body{font-family:Arial,Helvetica,sans-serif;max-width:50em;margin:2em auto;"
    "padding:0 1em;line-height:1.4;color:#000;background:#fff}"
    "h1{font-size:1.6em}"
    "h2{font-size:1.25em;border-bottom:1px solid #ccc;margin-top:2em}"
    "p{margin:0 0 .3em}"
    "img{max-width:100%;height:auto}";

QString colourText(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}

// The CSS of what the run sets beyond the page's defaults.
QString runStyle(const QTextCharFormat& format) {
    QStringList parts;
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty()) {
            QString family = families.first();
            family.remove(QLatin1Char('\'')).remove(QLatin1Char('"')).remove(QLatin1Char(';'));
            parts << QStringLiteral("font-family:'%1'").arg(htmlEscaped(family));
        }
    }
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0) {
        parts << QStringLiteral("font-size:%1pt").arg(format.fontPointSize());
    }
    if (format.foreground().style() != Qt::NoBrush) {
        parts << QStringLiteral("color:%1").arg(colourText(format.foreground().color()));
    }
    if (format.background().style() != Qt::NoBrush) {
        parts << QStringLiteral("background-color:%1").arg(colourText(format.background().color()));
    }
    return parts.join(QLatin1Char(';'));
}

QString textHtml(const QString& text) {
    QString out = htmlEscaped(text);
    out.replace(QChar(QChar::LineSeparator), QStringLiteral("<br>"));
    out.replace(QChar(QChar::Nbsp), QStringLiteral("&nbsp;"));
    return out;
}

QString pictureHtml(const Picture& picture) {
    if (picture.bytes.isEmpty()) {
        return {};
    }
    const QString mime = picture.extension == QLatin1String("jpg") ? QStringLiteral("image/jpeg")
                                                                   : QStringLiteral("image/png");
    QString html = QStringLiteral("<img src=\"data:%1;base64,%2\" alt=\"\"")
                       .arg(mime, QString::fromLatin1(picture.bytes.toBase64()));
    if (!picture.shownSize.isEmpty()) {
        html += QStringLiteral(" width=\"%1\" height=\"%2\"")
                    .arg(picture.shownSize.width())
                    .arg(picture.shownSize.height());
    }
    return html + QLatin1Char('>');
}

QString runHtml(const Run& run) {
    if (run.isPicture) {
        return pictureHtml(run.picture);
    }
    const QTextCharFormat& f = run.format;
    QString html = textHtml(run.text);
    if (f.fontStrikeOut()) {
        html = QStringLiteral("<s>") + html + QStringLiteral("</s>");
    }
    if (f.fontUnderline()) {
        html = QStringLiteral("<u>") + html + QStringLiteral("</u>");
    }
    if (f.fontItalic()) {
        html = QStringLiteral("<i>") + html + QStringLiteral("</i>");
    }
    if (f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold) {
        html = QStringLiteral("<b>") + html + QStringLiteral("</b>");
    }
    const QString style = runStyle(f);
    if (!style.isEmpty()) {
        html = QStringLiteral("<span style=\"%1\">%2</span>").arg(style, html);
    }
    return html;
}

QString runsHtml(const std::vector<Run>& runs) {
    QString html;
    QString openLink;
    for (const Run& run : runs) {
        if (run.link != openLink) {
            if (!openLink.isEmpty()) {
                html += QStringLiteral("</a>");
            }
            if (!run.link.isEmpty()) {
                html += QStringLiteral("<a href=\"%1\">").arg(htmlEscaped(linkHref(run.link)));
            }
            openLink = run.link;
        }
        html += runHtml(run);
    }
    if (!openLink.isEmpty()) {
        html += QStringLiteral("</a>");
    }
    return html;
}

QString alignmentStyle(Qt::Alignment alignment) {
    if (alignment & Qt::AlignHCenter) {
        return QStringLiteral(" style=\"text-align:center\"");
    }
    if (alignment & Qt::AlignRight) {
        return QStringLiteral(" style=\"text-align:right\"");
    }
    if (alignment & Qt::AlignJustify) {
        return QStringLiteral(" style=\"text-align:justify\"");
    }
    return {};
}

QString listTypeAttribute(QTextListFormat::Style style) {
    switch (style) {
        case QTextListFormat::ListLowerAlpha:
            return QStringLiteral(" type=\"a\"");
        case QTextListFormat::ListUpperAlpha:
            return QStringLiteral(" type=\"A\"");
        case QTextListFormat::ListLowerRoman:
            return QStringLiteral(" type=\"i\"");
        case QTextListFormat::ListUpperRoman:
            return QStringLiteral(" type=\"I\"");
        case QTextListFormat::ListCircle:
            return QStringLiteral(" style=\"list-style-type:circle\"");
        case QTextListFormat::ListSquare:
            return QStringLiteral(" style=\"list-style-type:square\"");
        default:
            return {};
    }
}

class HtmlBook : public BookWriter {
public:
    explicit HtmlBook(const QString& title) {
        html_ = QStringLiteral(
                    "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                    "<meta name=\"generator\" content=\"Quillmere\">\n<title>%1</title>\n"
                    "<style>%2</style>\n</head>\n<body>\n<h1>%1</h1>\n")
                    .arg(htmlEscaped(title), QLatin1String(kStyleSheet));
    }

    void addDay(const QDate& date, const std::vector<Paragraph>& paragraphs) override {
        html_ += QStringLiteral("<section>\n<h2 id=\"d%1\">%2</h2>\n")
                     .arg(isoTextOfDay(dayFromDate(date)), htmlEscaped(DayCaption(date)));
        int openList = 0;
        bool ordered = false;
        for (const Paragraph& p : paragraphs) {
            if (openList != 0 && (!p.inList || p.listId != openList)) {
                html_ += ordered ? QStringLiteral("</ol>\n") : QStringLiteral("</ul>\n");
                openList = 0;
            }
            const QString body = runsHtml(p.runs);
            if (p.inList) {
                if (openList == 0) {
                    ordered = isOrdered(p.listStyle);
                    html_ += QStringLiteral("<%1%2>\n")
                                 .arg(ordered ? QStringLiteral("ol") : QStringLiteral("ul"),
                                      listTypeAttribute(p.listStyle));
                    openList = p.listId;
                }
                html_ += QStringLiteral("<li%1>%2</li>\n").arg(alignmentStyle(p.alignment), body);
                continue;
            }
            // An empty paragraph is a blank line of the entry.
            html_ += QStringLiteral("<p%1>%2</p>\n")
                         .arg(alignmentStyle(p.alignment),
                              body.isEmpty() ? QStringLiteral("<br>") : body);
        }
        if (openList != 0) {
            html_ += ordered ? QStringLiteral("</ol>\n") : QStringLiteral("</ul>\n");
        }
        html_ += QStringLiteral("</section>\n");
    }

    void write(const QString& path) override {
        fileAccess().writeReplacing(path, (html_ + QStringLiteral("</body>\n</html>\n")).toUtf8());
    }

private:
    QString html_;
};

}  // namespace

QString htmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

std::unique_ptr<BookWriter> makeHtmlBook(const QString& title) {
    return std::make_unique<HtmlBook>(title);
}

}  // namespace quillmere::book
