// The diary as one PDF: a document of every day laid out on pages of the
// locale's paper size (2 cm margins), page numbers at the foot.
#include "export/core/book_writers.h"

#include "store/day_caption.h"
#include "store/errors.h"
#include "store/file_access.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QLocale>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

namespace quillmere::book {

namespace {

// The margin QTextDocument::print keeps around each page.
constexpr double kMarginCm = 2.0;
constexpr double kCmPerInch = 2.54;
// Document units are pixels at 96 dots per inch.
constexpr double kDocumentDpi = 96.0;
constexpr int kTitlePoints = 20;
constexpr int kDayPoints = 15;

class PdfBook : public BookWriter {
public:
    PdfBook(const QString& title, const QPageSize& pageSize) : pageSize_(pageSize) {
        doc_.setUndoRedoEnabled(false);
        QFont font(QStringLiteral("Arial"));
        font.setStyleHint(QFont::SansSerif);
        font.setPointSize(11);
        doc_.setDefaultFont(font);
        const QSizeF page = pageSize.size(QPageSize::Inch);
        const double margin = 2 * kMarginCm / kCmPerInch;
        textWidth_ = (page.width() - margin) * kDocumentDpi;
        textHeight_ = (page.height() - margin) * kDocumentDpi;
        QTextCursor cursor(&doc_);
        cursor.setCharFormat(headingFormat(kTitlePoints));
        cursor.insertText(title);
        cursor_ = cursor;
    }

    void addDay(const QDate& date, const std::vector<Paragraph>& paragraphs) override {
        QTextBlockFormat heading;
        heading.setTopMargin(18);
        heading.setBottomMargin(6);
        heading.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
        cursor_.insertBlock(heading, headingFormat(kDayPoints));
        cursor_.insertText(DayCaption(date));
        QHash<int, QTextList*> lists;
        for (const Paragraph& p : paragraphs) {
            QTextBlockFormat block;
            block.setAlignment(p.alignment);
            cursor_.insertBlock(block, QTextCharFormat());
            if (p.inList) {
                if (QTextList* list = lists.value(p.listId)) {
                    list->add(cursor_.block());
                } else {
                    lists.insert(p.listId, cursor_.createList(p.listStyle));
                }
            }
            for (const Run& run : p.runs) {
                addRun(run);
            }
        }
    }

    void write(const QString& path) override {
        QByteArray bytes;
        {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setCreator(QStringLiteral("Quillmere"));
            writer.setTitle(doc_.firstBlock().text());
            writer.setPageSize(pageSize_);
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            // Without a page size of its own the document is laid out on the
            // writer's pages with 2 cm margins and numbered pages.
            doc_.print(&writer);
        }
        if (bytes.isEmpty()) {
            throw FileError(
                QCoreApplication::translate("quillmere::ExportCore", "Cannot write \"%1\": the PDF could not be made").arg(path));
        }
        fileAccess().writeReplacing(path, bytes);
    }

private:
    static QTextCharFormat headingFormat(int points) {
        QTextCharFormat format;
        format.setFontWeight(QFont::Bold);
        format.setFontPointSize(points);
        return format;
    }

    void addRun(const Run& run) {
        if (!run.isPicture) {
            QTextCharFormat format = run.format;
            if (!run.link.isEmpty()) {
                // Drawn as the editor draws links.
                format.setAnchor(true);
                format.setAnchorHref(linkHref(run.link));
                format.setForeground(QColor(0x00, 0x00, 0xFF));
                format.setFontUnderline(true);
            }
            cursor_.insertText(run.text, format);
            return;
        }
        const Picture& picture = run.picture;
        if (picture.image.isNull()) {
            return;
        }
        const QString name = QStringLiteral("book-picture-%1").arg(++pictures_);
        doc_.addResource(QTextDocument::ImageResource, QUrl(name), picture.image);
        QSizeF size =
            picture.shownSize.isEmpty() ? QSizeF(picture.image.size()) : QSizeF(picture.shownSize);
        // Fitted to the page: never wider than the text, never taller than
        // the page.
        const double scale =
            std::min({1.0, textWidth_ / size.width(), (textHeight_ * 0.9) / size.height()});
        size *= scale;
        QTextImageFormat format;
        format.setName(name);
        format.setWidth(size.width());
        format.setHeight(size.height());
        cursor_.insertImage(format);
    }

    QPageSize pageSize_;
    QTextDocument doc_;
    QTextCursor cursor_;
    double textWidth_ = 0;
    double textHeight_ = 0;
    int pictures_ = 0;
};

}  // namespace

QPageSize pageSizeOfLocale(const QLocale& locale) {
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                   : QPageSize(QPageSize::A4);
}

std::unique_ptr<BookWriter> makePdfBook(const QString& title, const QPageSize& pageSize) {
    return std::make_unique<PdfBook>(title, pageSize);
}

}  // namespace quillmere::book
