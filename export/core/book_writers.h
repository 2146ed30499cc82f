// The three books the whole diary can be exported as, each fed day by day in
// date order and written at the end through the file-access seam (every file
// beside its final name, then renamed, so a failed or cancelled export never
// leaves half a book).
//
//   HTML      one self-contained file: a heading per day, the text with its
//             bold, italic, underline, strike-out, colours, sizes, fonts,
//             alignment and lists, pictures embedded as data: addresses,
//             addresses of the text as working links.
//   Markdown  CommonMark: a heading per day, bold, italic, strike-out as
//             emphasis or literal text, lists, links; pictures as files in a
//             folder beside the book. What Markdown cannot hold (colours,
//             sizes, fonts, alignment, underline) is dropped, never the text.
//   PDF       pages of the locale's paper size, each day starting with its
//             date, page numbers at the foot of each page, pictures fitted
//             to the width of the page.
#pragma once

#include "export/core/book_model.h"

#include <QDate>
#include <QPageSize>
#include <QString>

#include <memory>
#include <vector>

namespace quillmere::book {

class BookWriter {
public:
    virtual ~BookWriter() = default;
    // Adds one day: its date as a heading, then its paragraphs.
    virtual void addDay(const QDate& date, const std::vector<Paragraph>& paragraphs) = 0;
    // Writes the book to `path` (and, for Markdown, its pictures to the
    // folder pictureFolder(path)). Throws FileError naming the file that
    // could not be written.
    virtual void write(const QString& path) = 0;
};

// `title` heads the book (its first heading and the file's title).
std::unique_ptr<BookWriter> makeHtmlBook(const QString& title);
// The Markdown book links its pictures in the folder pictureFolder(bookPath).
std::unique_ptr<BookWriter> makeMarkdownBook(const QString& title, const QString& bookPath);
std::unique_ptr<BookWriter> makePdfBook(const QString& title, const QPageSize& pageSize);

// The folder a Markdown book keeps its pictures in: beside the book, named
// after it ("Diary.md" -> "Diary_pictures").
QString pictureFolder(const QString& bookPath);

// Letter for a locale that measures in inches the American way, A4 for
// every other.
QPageSize pageSizeOfLocale(const QLocale& locale);

// The HTML of a text: & < > " escaped. Never throws.
QString htmlEscaped(const QString& text);

// The text as Markdown shows it literally: ASCII punctuation that could start
// markup escaped with '\', a leading '#', '+', '-', '=' or "1." of a
// paragraph kept from starting a heading or list. Never throws.
QString markdownEscaped(const QString& text, bool atParagraphStart);

}  // namespace quillmere::book
