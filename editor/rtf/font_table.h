// The fonts of an RTF document and the code pages their text is in.
//
// It reads the \fonttbl destination (one entry per \fN: its \fcharset,
// \cpg and name up to the ';'), keeps the document's code page (\ansi,
// \ansicpg, ...) and default font (\deffN), and answers which code page the
// text of a font is in, caching the answer for the font last asked about.
// Nothing here throws except on running out of memory.
#pragma once

#include "editor/rtf/codepage.h"
#include "editor/rtf/reader_state.h"

#include <QString>

#include <unordered_map>

namespace quillmere::rtf {

class FontTable {
public:
    void setAnsiCodePage(int codePage) {
        ansiCodePage_ = codePage;
        cacheValid_ = false;
    }
    void setDefaultFont(int id) {
        defaultFont_ = id;
        cacheValid_ = false;
    }

    // The font of \fN (the default font for -1), or nullptr.
    const FontEntry* font(int id) const;
    // The code page of a font's text: its \cpg, else its character set's
    // page, else the document's.
    int codePageOf(int fontId) const;
    // codePageOf, with the page's byte table (nullptr for a page decoded as
    // a whole) and its double-byte tables (nullptr for other pages); cached
    // until the fonts, the document's page or its default font change.
    int codePage(int fontId, const ByteTable** table, const DoubleByteTable** pairs) {
        if (!cacheValid_ || fontId != cachedFont_) {
            cachedFont_ = fontId;
            cachedPage_ = codePageOf(fontId);
            cachedTable_ = byteTable(cachedPage_);
            cachedPairs_ = doubleByteTable(cachedPage_);
            cacheValid_ = true;
        }
        *table = cachedTable_;
        *pairs = cachedPairs_;
        return cachedPage_;
    }

    // Reading \fonttbl. begin() starts the table; word() takes its \f,
    // \fcharset and \cpg words (others are ignored); nameText() and
    // nameChar() the text of the entry's name, where ';' ends the entry;
    // endEntry() stores the entry being read, if any.
    void begin() { entryId_ = -1; }
    void word(int id, int param);
    void nameText(const QString& text);
    void nameChar(QChar c) { name_.append(c); }
    void endEntry();
    // The code page the name of the entry being read is written in.
    int nameCodePage() const {
        return entry_.codePage ? entry_.codePage : codePageOfCharset(entry_.charset, ansiCodePage_);
    }

private:
    std::unordered_map<int, FontEntry> fonts_;
    int ansiCodePage_ = 1252;
    int defaultFont_ = 0;

    int entryId_ = -1;  // the \fN being read, -1 when none
    FontEntry entry_;
    QString name_;

    bool cacheValid_ = false;
    int cachedFont_ = 0;
    int cachedPage_ = 0;
    const ByteTable* cachedTable_ = nullptr;
    const DoubleByteTable* cachedPairs_ = nullptr;
};

}  // namespace quillmere::rtf
