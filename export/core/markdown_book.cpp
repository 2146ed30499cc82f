// The diary as one CommonMark file and a folder of its pictures.
#include "export/core/book_writers.h"

#include "store/day.h"
#include "store/day_caption.h"
#include "store/file_access.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QUrl>

#include <algorithm>
#include <cstring>

namespace quillmere::book {

namespace {

// ASCII punctuation that can start or end markup anywhere in a line.
constexpr char kAlwaysEscaped[] = "\\`*_[]<>!|~&";
// Characters that start a heading, a list, a quote or a rule at the start of
// a paragraph.
constexpr char kEscapedAtStart[] = "#+-=>";

struct PictureFile {
    QString name;
    QByteArray bytes;
};

// Emphasis around the text of a run, with the run's white space kept
// outside the markers (CommonMark does not take "** bold **" as emphasis).
QString emphasised(const QString& escaped, const QTextCharFormat& format) {
    QString open;
    if (format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() >= QFont::DemiBold) {
        open += QStringLiteral("**");
    }
    if (format.fontItalic()) {
        open += QLatin1Char('*');
    }
    if (format.fontStrikeOut()) {
        open += QStringLiteral("~~");
    }
    const QString core = escaped.trimmed();
    if (open.isEmpty() || core.isEmpty()) {
        return escaped;
    }
    QString close = open;
    std::reverse(close.begin(), close.end());
    const qsizetype lead = escaped.indexOf(core);
    return escaped.left(lead) + open + core + close + escaped.mid(lead + core.size());
}

class MarkdownBook : public BookWriter {
public:
    MarkdownBook(const QString& title, const QString& folderName) : folderName_(folderName) {
        text_ = QStringLiteral("# ") + markdownEscaped(title, false) + QStringLiteral("\n");
    }

    void addDay(const QDate& date, const std::vector<Paragraph>& paragraphs) override {
        date_ = date;
        pictureNumber_ = 0;
        text_ += QStringLiteral("\n## ") + markdownEscaped(DayCaption(date), false) +
                 QStringLiteral("\n");
        bool previousWasListItem = false;
        for (const Paragraph& p : paragraphs) {
            QString body = runsText(p.runs);
            if (body.trimmed().isEmpty()) {
                previousWasListItem = false;
                continue;  // Markdown has no blank paragraphs
            }
            // Line breaks inside a paragraph stay breaks.
            body.replace(QChar(QChar::LineSeparator), QStringLiteral("\\\n"));
            if (p.inList) {
                const QString marker = isOrdered(p.listStyle)
                                           ? QStringLiteral("%1. ").arg(p.listNumber)
                                           : QStringLiteral("- ");
                const QString indent(marker.size(), QLatin1Char(' '));
                body.replace(QStringLiteral("\\\n"), QStringLiteral("\\\n") + indent);
                text_ += (previousWasListItem ? QString() : QStringLiteral("\n")) + marker + body +
                         QLatin1Char('\n');
                previousWasListItem = true;
                continue;
            }
            text_ += QStringLiteral("\n") + body + QLatin1Char('\n');
            previousWasListItem = false;
        }
    }

    void write(const QString& path) override {
        const QString folder = pictureFolder(path);
        if (!pictures_.empty()) {
            fileAccess().makeFolder(folder);
        }
        for (const PictureFile& picture : pictures_) {
            fileAccess().writeReplacing(QDir(folder).filePath(picture.name), picture.bytes);
        }
        // The book comes last: once it is there, so are its pictures.
        fileAccess().writeReplacing(path, text_.toUtf8());
    }

private:
    QString runsText(const std::vector<Run>& runs) {
        QString out;
        QString openLink;
        QString linkText;
        const auto closeLink = [&] {
            if (!openLink.isEmpty()) {
                out += QLatin1Char('[') + linkText + QStringLiteral("](<") + linkHref(openLink) +
                       QStringLiteral(">)");
            }
            linkText.clear();
        };
        for (const Run& run : runs) {
            if (run.link != openLink) {
                closeLink();
                openLink = run.link;
            }
            const bool atStart = out.isEmpty() && openLink.isEmpty();
            const QString piece = run.isPicture
                                      ? pictureText(run.picture)
                                      : emphasised(markdownEscaped(run.text, atStart), run.format);
            (openLink.isEmpty() ? out : linkText) += piece;
        }
        closeLink();
        // Leading blanks would make an indented code block.
        while (!out.isEmpty() && (out.front() == u' ' || out.front() == u'\t')) {
            out.remove(0, 1);
        }
        return out;
    }

    QString pictureText(const Picture& picture) {
        if (picture.bytes.isEmpty()) {
            return {};
        }
        const QString name = QStringLiteral("%1-%2.%3")
                                 .arg(isoTextOfDay(dayFromDate(date_)))
                                 .arg(++pictureNumber_)
                                 .arg(picture.extension);
        pictures_.push_back({name, picture.bytes});
        const QString target = QString::fromUtf8(QUrl::toPercentEncoding(folderName_) + '/' +
                                                 QUrl::toPercentEncoding(name));
        return QStringLiteral("![](") + target + QLatin1Char(')');
    }

    QString text_;
    QString folderName_;
    QDate date_;
    int pictureNumber_ = 0;
    std::vector<PictureFile> pictures_;
};

}  // namespace

QString pictureFolder(const QString& bookPath) {
    const QFileInfo info(bookPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("_pictures"));
}

QString markdownEscaped(const QString& text, bool atParagraphStart) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (QChar c : text) {
        if (c.unicode() < 0x80 && std::strchr(kAlwaysEscaped, char(c.unicode())) != nullptr &&
            c.unicode() != 0) {
            out += QLatin1Char('\\');
        }
        out += c;
    }
    if (!atParagraphStart) {
        return out;
    }
    const qsizetype first = [&] {
        qsizetype i = 0;
        while (i < out.size() && (out[i] == u' ' || out[i] == u'\t')) {
            ++i;
        }
        return i;
    }();
    if (first >= out.size()) {
        return out;
    }
    const QChar lead = out[first];
    if (lead.unicode() < 0x80 && std::strchr(kEscapedAtStart, char(lead.unicode())) != nullptr) {
        out.insert(first, QLatin1Char('\\'));
        return out;
    }
    // "1." or "1)" would start a numbered list.
    qsizetype digits = first;
    while (digits < out.size() && out[digits].isDigit() && out[digits].unicode() < 0x80) {
        ++digits;
    }
    if (digits > first && digits < out.size() && (out[digits] == u'.' || out[digits] == u')')) {
        out.insert(digits, QLatin1Char('\\'));
    }
    return out;
}

std::unique_ptr<BookWriter> makeMarkdownBook(const QString& title, const QString& bookPath) {
    return std::make_unique<MarkdownBook>(title, QFileInfo(pictureFolder(bookPath)).fileName());
}

}  // namespace quillmere::book
