// An entry as the book writers see it: its paragraphs in order, each a list
// of runs of text with one character format (or one picture), with the
// addresses the text holds marked as links. The HTML, Markdown and PDF books
// are written from this, so the three agree on what an entry holds.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTextCharFormat>
#include <QTextListFormat>

#include <vector>

class QTextDocument;

namespace quillmere::book {

// A picture of an entry.
struct Picture {
    QImage image;       // as the editor shows it (null when it cannot be shown)
    QByteArray bytes;   // a file of it: the stored JPEG or PNG bytes, else PNG of `image`
    QString extension;  // "jpg" or "png"
    QSize shownSize;    // the size the entry shows it at, in pixels (96 per inch)
};

struct Run {
    QString text;            // empty for a picture
    QTextCharFormat format;  // the run's character format
    QString link;            // the address this run is part of, as written; empty: none
    bool isPicture = false;
    Picture picture;
};

struct Paragraph {
    Qt::Alignment alignment = Qt::AlignLeft;
    // A list item: its list's style (bullets or numbers) and its number in
    // that list (1 for the first); kNone for a plain paragraph.
    bool inList = false;
    QTextListFormat::Style listStyle = QTextListFormat::ListDisc;
    int listNumber = 0;
    // Paragraphs of the same list share this (a new list starts a new value).
    int listId = 0;
    std::vector<Run> runs;

    bool isEmpty() const { return runs.empty(); }
};

// The paragraphs of `doc`. Line breaks inside a paragraph stay in the text
// as U+2028. Never throws except std::bad_alloc.
std::vector<Paragraph> paragraphsOf(const QTextDocument& doc);

// True for an ordered (numbered or lettered) list style.
bool isOrdered(QTextListFormat::Style style);

// The link address of the written link text (editor/rtf/link_text.h's
// linkTarget), fully encoded for a file of the web.
QString linkHref(const QString& linkText);

}  // namespace quillmere::book
