#include "editor/rtf/font_table.h"

#include "editor/rtf/control_words.h"

namespace quillmere::rtf {

const FontEntry* FontTable::font(int id) const {
    auto it = fonts_.find(id < 0 ? defaultFont_ : id);
    return it == fonts_.end() ? nullptr : &it->second;
}

int FontTable::codePageOf(int fontId) const {
    const FontEntry* entry = font(fontId);
    if (entry == nullptr) {
        return ansiCodePage_;
    }
    return entry->codePage ? entry->codePage : codePageOfCharset(entry->charset, ansiCodePage_);
}

void FontTable::word(int id, int param) {
    switch (id) {
        case kF:
            endEntry();
            entryId_ = param;
            entry_ = FontEntry{};
            break;
        case kFcharset:
            entry_.charset = param;
            break;
        case kCpg:
            entry_.codePage = param;
            break;
        default:
            break;
    }
}

void FontTable::nameText(const QString& text) {
    for (QChar c : text) {
        if (c == u';') {
            endEntry();
        } else {
            name_.append(c);
        }
    }
}

void FontTable::endEntry() {
    if (entryId_ >= 0) {
        // A name holds no control characters and no ';' (which ends it).
        name_.removeIf([](QChar c) { return c.unicode() < 0x20 || c == u';'; });
        entry_.name = name_.trimmed();
        fonts_.insert_or_assign(entryId_, entry_);
        cacheValid_ = false;
    }
    entryId_ = -1;
    name_.clear();
    entry_ = FontEntry{};
}

}  // namespace quillmere::rtf
