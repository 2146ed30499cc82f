// The addresses an entry's text holds and the link text of a file. Links are
// a matter of the text alone: an address is found in a paragraph's text and
// never stored as a format, so the entry's RTF is the same with or without
// links. The editor draws them (editor/url_links.h); the export writes them
// as links of the book.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

namespace quillmere {

// One detected address inside a paragraph: the characters [start, start + length).
struct UrlSpan {
    int start = 0;
    int length = 0;
    bool operator==(const UrlSpan&) const = default;
};

// Finds the addresses in one paragraph's text. An address starts with one of
// "file:", "http:", "https:", "ftp:", "mailto:" or "www." (any letter case)
// wherever it stands, also straight after a letter or digit (a link put
// right after a word, or in a script written without blanks), holds at least
// one character after that prefix, and ends at the first blank (any white
// space, line or paragraph break) or embedded object. Spans come in text
// order and never overlap. Never throws.
QList<UrlSpan> detectUrls(const QString& text);

// The link text of a file: "file:" followed by the full path in which every
// blank (space) is replaced by "%"; nothing else is changed or escaped, so a
// path that holds "%" itself cannot be opened from its link.
QString fileLinkText(const QString& path);

// The text a clicked link opens: every "%" turned back into a blank.
QString linkTextToOpen(const QString& linkText);

// What the desktop opens for a clicked link: "file:" links name a local file
// (after linkTextToOpen, since they write blanks as "%"; the rest of the text
// is its path, unless it starts with "//", a file URL); "www." addresses are
// web pages over http, and every other address is taken as it is written,
// its %-escapes included. Never throws; the result may be invalid for
// nonsense text.
QUrl linkTarget(const QString& linkText);

}  // namespace quillmere
