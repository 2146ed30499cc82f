#include "editor/rtf/interpreter.h"

#include "editor/rtf/control_words.h"
#include "editor/rtf/rtf.h"

#include <algorithm>

#include <QCoreApplication>

namespace quillmere::rtf {
namespace {

// Applies a character formatting word to the group's state; false when the
// word is no such word.
bool charWord(CharState& ch, int id, bool hasParam, int param) {
    const bool on = !hasParam || param != 0;
    switch (id) {
        case kPlain:
            ch = CharState{};
            return true;
        case kB:
            ch.bold = on;
            return true;
        case kI:
            ch.italic = on;
            return true;
        case kUl:
            ch.underline = on;
            return true;
        case kUlnone:
            ch.underline = false;
            return true;
        case kStrike:
            ch.strike = on;
            return true;
        case kV:
            ch.hidden = on;
            return true;
        case kF:
            ch.font = hasParam ? param : -1;
            return true;
        case kFs:
            ch.halfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24;
            return true;
        case kCf:
            ch.foreground = param;
            return true;
        case kCb:
        case kHighlight:
            ch.background = param;
            return true;
        default:
            return false;
    }
}

// Applies a paragraph formatting word to the paragraph's state; false when
// the word is no such word.
bool paraWord(ParaState& para, int id, int param) {
    switch (id) {
        case kPard:
            para = ParaState{};
            return true;
        case kQl:
            para.alignment = Alignment::Left;
            return true;
        case kQr:
            para.alignment = Alignment::Right;
            return true;
        case kQc:
            para.alignment = Alignment::Centre;
            return true;
        case kQj:
            para.alignment = Alignment::Justify;
            return true;
        case kLi:
            para.leftIndent = std::clamp(param, -31680, 31680);
            return true;
        case kFi:
            para.firstIndent = std::clamp(param, -31680, 31680);
            return true;
        case kLs:
            para.listOverride = param;
            return true;
        case kIlvl:
            para.listLevel = std::clamp(param, 0, 8);
            return true;
        default:
            return false;
    }
}

}  // namespace

void Interpreter::checkStart(const QByteArray& rtf) const {
    qsizetype i = 0;
    if (rtf.startsWith("\xEF\xBB\xBF")) {
        i = 3;
    }
    while (i < rtf.size() &&
           (rtf[i] == ' ' || rtf[i] == '\t' || rtf[i] == '\r' || rtf[i] == '\n')) {
        ++i;
    }
    if (QByteArrayView(rtf).sliced(i).startsWith("{\\rtf")) {
        return;
    }
    throw RtfError(QCoreApplication::translate("quillmere::Rtf", "The text is not in RTF format: it does not start with {\\rtf."));
}

void Interpreter::run(const QByteArray& rtf) {
    checkStart(rtf);
    qsizetype start = rtf.indexOf('{');
    Tokenizer tokenizer(rtf.constData() + start, static_cast<std::size_t>(rtf.size() - start));
    stack_.clear();
    stack_.reserve(64);
    bool started = false;
    for (Token token = tokenizer.next(); token.type != TokenType::End; token = tokenizer.next()) {
        switch (token.type) {
            case TokenType::GroupOpen:
                flush();
                openGroup();
                started = true;
                break;
            case TokenType::GroupClose:
                flush();
                closeGroup();
                break;
            case TokenType::Word:
                word(token, tokenizer);
                break;
            case TokenType::Symbol:
                symbol(token.text[0]);
                break;
            case TokenType::Hex:
                hexByte(token.byte);
                break;
            case TokenType::Text:
                textBytes(token.text, token.text.size() + tokenizer.remaining());
                if (lead_ != 0 && leadRaw_) {
                    takeRawTrail(tokenizer);
                }
                break;
            default:
                break;
        }
        if (started && stack_.empty()) {
            break;
        }
    }
    flush();
    while (!stack_.empty()) {
        closeGroup();
    }
    // The last paragraph has the state in force at the end of the document.
    Group last = finalGroup_;
    last.dest = Dest::Normal;
    stack_.push_back(last);
}

void Interpreter::openGroup() {
    if (static_cast<int>(stack_.size()) >= kMaxGroupDepth) {
        throw RtfError(
            QCoreApplication::translate("quillmere::Rtf", "The RTF is damaged: its groups are nested more than %1 deep.")
                .arg(kMaxGroupDepth));
    }
    starPending_ = false;
    skipChars_ = 0;
    if (stack_.empty()) {
        stack_.push_back(Group{});
        return;
    }
    Group child = stack_.back();
    child.ownsDest = false;
    child.textBox = false;
    stack_.push_back(child);
}

void Interpreter::closeGroup() {
    starPending_ = false;
    skipChars_ = 0;
    if (stack_.empty()) {
        return;
    }
    const Group& group = stack_.back();
    if (stack_.size() == 1) {
        finalGroup_ = group;
    }
    if (group.textBox) {
        flush();
        endTextBox();
    }
    if (group.ownsDest) {
        switch (group.dest) {
            case Dest::Label:
                flush();
                sink_.listLabel(label_);
                label_.clear();
                break;
            case Dest::FontTable:
                commitFont();
                break;
            case Dest::Pict:
                finishPicture();
                break;
            case Dest::ListTable:
                lists_.endList();
                break;
            default:
                break;
        }
    } else if (stack_.size() >= 2 && stack_[stack_.size() - 2].ownsDest) {
        // An entry group of a table closes: {\f1 ...;} or {\list ...}.
        if (group.dest == Dest::FontTable) {
            commitFont();
        } else if (group.dest == Dest::ListTable) {
            lists_.endList();
        }
    }
    stack_.pop_back();
}

void Interpreter::beginDest(Dest dest) {
    Group& group = stack_.back();
    group.dest = dest;
    group.ownsDest = true;
}

void Interpreter::skipRest(Tokenizer& tokenizer) {
    // The rest of this group holds nothing visible: jump over it whole.
    tokenizer.skipGroup();
    closeGroup();
}

void Interpreter::word(const Token& token, Tokenizer& tokenizer) {
    if (skipChars_ > 0) {
        --skipChars_;
        if (token.text == "bin" && token.hasParam) {
            tokenizer.takeBinary(token.param);
        }
        return;
    }
    flush();
    Word id = lookup(token.text);
    if (stack_.empty()) {
        return;
    }
    bool star = starPending_;
    starPending_ = false;
    if (id == kBin) {
        Token data = tokenizer.takeBinary(token.hasParam ? token.param : 0);
        if (stack_.back().dest == Dest::Pict) {
            picture_.binary(data.text);
        }
        return;
    }
    // Destination words have their ids together; most words are not one.
    if (id >= kFonttbl && id <= kSkip && destinationWord(id, tokenizer)) {
        return;
    }
    if (star) {
        skipRest(tokenizer);  // an ignorable destination we do not know
        return;
    }
    switch (stack_.back().dest) {
        case Dest::Normal:
            normalWord(id, token);
            break;
        case Dest::Pict:
            picture_.word(id, token.text, token.hasParam, token.param);
            break;
        case Dest::Object:
        case Dest::Alternate:
        case Dest::Shape:
        case Dest::Upr:
            break;
        case Dest::Label:
            // A label's characters: its font, and Unicode written as \uN.
            if (id == kU || id == kUc) {
                documentWord(id, token.param);
            } else {
                charWord(stack_.back().chars, id, token.hasParam, token.param);
            }
            break;
        default:
            destinationContentWord(id, token);
            break;
    }
}

// Words that start or switch a destination; true when handled.
bool Interpreter::destinationWord(int id, Tokenizer& tokenizer) {
    Dest dest = stack_.back().dest;
    switch (id) {
        case kSkip:
            skipRest(tokenizer);
            return true;
        case kFonttbl:
            beginDest(Dest::FontTable);
            fonts_.begin();
            return true;
        case kColortbl:
            beginDest(Dest::ColorTable);
            colours_.begin();
            return true;
        case kListtable:
            beginDest(Dest::ListTable);
            lists_.beginLists();
            return true;
        case kListoverridetable:
            beginDest(Dest::ListOverrideTable);
            lists_.beginOverrides();
            return true;
        case kPict:
            return beginPicture(tokenizer);
        case kPn:
            if (dest != Dest::Normal) {
                skipRest(tokenizer);
                return true;
            }
            beginDest(Dest::Pn);
            beginPn(para_);
            return true;
        case kObject:
            if (dest == Dest::Normal) {
                beginDest(Dest::Object);
            }
            return true;
        case kResult:
            if (dest == Dest::Object) {
                beginDest(Dest::Normal);
            }
            return true;
        case kShppict:
            if (dest == Dest::Normal) {
                stack_.back().shape = true;
            }
            return dest == Dest::Normal;
        case kNonshppict:
            if (dest != Dest::Normal) {
                skipRest(tokenizer);
                return true;
            }
            beginDest(Dest::Alternate);
            return true;
        case kListtext:
            if (dest != Dest::Normal) {
                skipRest(tokenizer);
                return true;
            }
            beginDest(Dest::Label);
            label_.clear();
            return true;
        case kUpr:
            // The text twice: for readers of code pages, then {\*\ud} in Unicode.
            if (dest == Dest::Normal) {
                beginDest(Dest::Upr);
            }
            return dest == Dest::Normal;
        case kUd:
            if (dest != Dest::Upr) {
                skipRest(tokenizer);
                return true;
            }
            beginDest(Dest::Normal);
            return true;
        case kShprslt:
            if (dest == Dest::Normal) {
                stack_.back().shapeResult = true;
            }
            return dest == Dest::Normal;
        case kField:
        case kFldrslt:
            return dest == Dest::Normal;
        default:
            return shapeWord(id, tokenizer);
    }
}

// A \pict starts; one inside another picture or a table is skipped whole.
bool Interpreter::beginPicture(Tokenizer& tokenizer) {
    Dest dest = stack_.back().dest;
    if ((dest != Dest::Normal && dest != Dest::Alternate) || picture_.active()) {
        skipRest(tokenizer);
        return true;
    }
    beginDest(Dest::Pict);
    picture_.begin();
    return true;
}

// Words inside the font, colour and list tables and \pn groups.
void Interpreter::destinationContentWord(int id, const Token& token) {
    const int param = token.param;
    switch (stack_.back().dest) {
        case Dest::FontTable:
            if (id == kU) {
                unicodeChar(param);
                skipChars_ = stack_.back().unicodeSkip;
            } else {
                fonts_.word(id, param);
            }
            break;
        case Dest::ColorTable:
            colours_.word(id, param);
            break;
        case Dest::ListTable:
            lists_.listWord(id, param);
            break;
        case Dest::ListOverrideTable:
            lists_.overrideWord(id, param);
            break;
        case Dest::Pn:
            readPnWord(id, param, para_);
            break;
        default:
            break;
    }
}

void Interpreter::normalWord(int id, const Token& token) {
    if (charWord(stack_.back().chars, id, token.hasParam, token.param) ||
        paraWord(para_, id, token.param) || documentWord(id, token.param)) {
        return;
    }
    contentWord(id);
}

// Words about the whole document and Unicode text; false for others.
bool Interpreter::documentWord(int id, int param) {
    switch (id) {
        case kAnsi:
            fonts_.setAnsiCodePage(1252);
            return true;
        case kMac:
            fonts_.setAnsiCodePage(10000);
            return true;
        case kPc:
            fonts_.setAnsiCodePage(437);
            return true;
        case kPca:
            fonts_.setAnsiCodePage(850);
            return true;
        case kAnsicpg:
            fonts_.setAnsiCodePage(param);
            return true;
        case kDeff:
            fonts_.setDefaultFont(param);
            return true;
        case kUc:
            stack_.back().unicodeSkip = std::clamp(param, 0, 16);
            return true;
        case kU:
            unicodeChar(param);
            skipChars_ = stack_.back().unicodeSkip;
            return true;
        default:
            return false;
    }
}

// Breaks and the words that stand for one character (\emdash, \tab, ...).
// The \pn words mean nothing outside {\*\pn ...}; unknown words nothing.
void Interpreter::contentWord(int id) {
    switch (id) {
        case kPar:
        case kBreakPara:
            sendParagraphEnd();
            return;
        case kLine:
            if (!stack_.back().chars.hidden) {
                sendLineBreak();
            }
            return;
        case kChftn:
            // A footnote's reference mark shows its number; the footnote
            // itself is not shown.
            if (!stack_.back().chars.hidden) {
                for (QChar c : QString::number(++footnotes_)) {
                    appendVisibleChar(c.unicode());
                }
            }
            return;
        default:
            break;
    }
    if (char16_t c = charOfWord(static_cast<Word>(id)); c != 0) {
        unicodeChar(c);
    }
}

void Interpreter::symbol(char c) {
    if (c == '*') {
        starPending_ = true;
        return;
    }
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    switch (c) {
        case '\\':
        case '{':
        case '}':
            pendingByte_ = c;
            textBytes(std::string_view(&pendingByte_, 1), 1);
            return;
        case '~':
            flush();
            unicodeChar(0x00A0);
            return;
        case '-':
            flush();
            unicodeChar(0x00AD);
            return;
        case '_':
            flush();
            unicodeChar(0x2011);
            return;
        case '\t':
            flush();
            unicodeChar('\t');
            return;
        default:
            return;
    }
}

// `readable` bytes from bytes.data() on may be read (at least the run).
void Interpreter::textBytes(std::string_view bytes, std::size_t readable) {
    if (skipChars_ > 0) {
        std::size_t n = std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(skipChars_));
        skipChars_ -= static_cast<int>(n);
        bytes.remove_prefix(n);
        readable -= n;
        if (bytes.empty()) {
            return;
        }
    }
    if (stack_.empty()) {
        return;
    }
    int cp;
    switch (stack_.back().dest) {
        case Dest::Normal: {
            if (stack_.back().chars.hidden) {
                return;  // hidden text never reaches the sink
            }
            const ByteTable* table = nullptr;
            const DoubleByteTable* pairs = nullptr;
            cp = fonts_.codePage(stack_.back().chars.font, &table, &pairs);
            if (table != nullptr) {
                decodePending();
                appendVisibleBytes(*table, bytes, readable);
                return;
            }
            if (pairs != nullptr) {
                appendVisibleDoubleBytes(*pairs, bytes, readable);
                return;
            }
            break;
        }
        case Dest::FontTable:
            cp = fonts_.nameCodePage();
            break;
        case Dest::Label:
            cp = fonts_.codePageOf(stack_.back().chars.font);
            break;
        case Dest::ColorTable:
            colours_.text(bytes);
            return;
        case Dest::Pict:
            picture_.hexText(bytes);
            return;
        default:
            return;
    }
    // Double-byte pages (and font names) are decoded once the whole run is
    // known, since \'hh pairs may make up one character.
    if (!pending_.empty() && cp != pending_.codePage()) {
        decodePending();
    }
    // One run is kept as a view into the input; only a second piece copies.
    pending_.add(bytes, cp, bytes.data() != &pendingByte_);
}

void Interpreter::hexByte(unsigned char byte) {
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    if (!stack_.empty() && stack_.back().dest == Dest::Pict) {
        picture_.byte(byte);  // a hex escape in picture data is one byte
        return;
    }
    pendingByte_ = static_cast<char>(byte);
    textBytes(std::string_view(&pendingByte_, 1), 1);
}

void Interpreter::unicodeChar(int value) {
    if (stack_.empty()) {
        return;
    }
    char16_t ch = static_cast<char16_t>(value < 0 ? value + 65536 : value);
    Dest dest = stack_.back().dest;
    if (dest == Dest::Normal) {
        if (!stack_.back().chars.hidden) {
            decodePending();
            appendVisibleChar(ch);
        }
        return;
    }
    flush();
    if (dest == Dest::FontTable) {
        fonts_.nameChar(QChar(ch));
    } else if (dest == Dest::Label) {
        label_.append(QChar(ch));
    }
}

void Interpreter::flush() {
    decodePending();
    if (run_.empty()) {
        return;
    }
    if (!stack_.empty()) {
        sink_.text(run_.view());
        paragraphHasContent_ = true;
    }
    run_.clear();  // keeps the buffer for the next run
}

void Interpreter::decodePending() {
    dropLead();
    if (pending_.empty()) {
        return;
    }
    const QString& text = pending_.decode();
    if (stack_.empty()) {
        return;
    }
    Dest dest = stack_.back().dest;
    if (dest == Dest::Normal) {
        if (stack_.back().chars.hidden) {
            return;
        }
        const char16_t* data = reinterpret_cast<const char16_t*>(text.constData());
        auto n = static_cast<std::size_t>(text.size());
        if (allClean(data, n)) {
            run_.append(data, n, run_.mayHoldNoBreakSpace() || text.contains(QChar::Nbsp));
            return;
        }
        for (std::size_t k = 0; k < n; ++k) {
            appendVisibleChar(data[k]);
        }
    } else if (dest == Dest::FontTable) {
        fonts_.nameText(text);
    } else if (dest == Dest::Label) {
        label_.append(text);
    }
}

// Adds one character to the run, turning separators into breaks and
// dropping characters a document cannot hold as text.
void Interpreter::appendVisibleChar(char16_t c) {
    if (isClean(c)) {
        run_.append(c);
        return;
    }
    if (c != kLineSeparator && c != kParagraphSeparator) {
        return;
    }
    flush();
    if (c == kLineSeparator) {
        sendLineBreak();
    } else {
        sendParagraphEnd();
    }
}

// Decodes bytes of a page read through a table straight into the run.
void Interpreter::appendVisibleBytes(const ByteTable& table, std::string_view bytes,
                                     std::size_t readable) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        char16_t separator = run_.appendBytes(table, bytes, readable, i);
        if (separator != 0) {
            appendVisibleChar(separator);
        }
    }
}

// Decodes text of a double-byte page straight into the run; a lead byte at
// its end waits for the next piece (a \'hh escape may bring the trail).
void Interpreter::appendVisibleDoubleBytes(const DoubleByteTable& table, std::string_view bytes,
                                           std::size_t readable) {
    if (lead_ != 0 && leadTable_ != &table) {
        dropLead();
    }
    if (!pending_.empty()) {
        decodePending();
    }
    std::size_t i = 0;
    if (lead_ != 0) {
        const char16_t c = table.pair(lead_, static_cast<unsigned char>(bytes[0]));
        lead_ = 0;
        if (c != 0) {
            i = 1;
        }
        appendVisibleChar(c != 0 ? c : char16_t{0xFFFD});
    }
    run_.appendDoubleBytes(table, bytes, readable, i);
    if (i < bytes.size()) {
        lead_ = static_cast<unsigned char>(bytes[i]);
        leadRaw_ = bytes.data() != &pendingByte_;
        leadTable_ = &table;
    }
}

// A lead byte with no trail reads as U+FFFD, as the decoder reads it.
void Interpreter::dropLead() {
    if (lead_ != 0) {
        lead_ = 0;
        appendVisibleChar(0xFFFD);
    }
}

// A raw lead byte at the end of a text run takes the '\', '{' or '}' that
// ended the run as its trail, when the two make a character of the page.
void Interpreter::takeRawTrail(Tokenizer& tokenizer) {
    const int next = tokenizer.peek();
    if ((next == '\\' || next == '{' || next == '}') &&
        leadTable_->pair(lead_, static_cast<unsigned char>(next)) != 0) {
        const Token trail = tokenizer.takeBinary(1);
        textBytes(trail.text, 1 + tokenizer.remaining());
    }
}

void Interpreter::commitFont() {
    flush();
    fonts_.endEntry();
}

void Interpreter::finishPicture() {
    PictureData picture = picture_.take();
    // The sink reads the state of the group around the picture.
    Group saved = stack_.back();
    stack_.pop_back();
    if (!stack_.empty() && stack_.back().dest == Dest::Normal) {
        picture.inShape = saved.shape;
        sink_.picture(picture);
        paragraphHasContent_ = true;
    } else if (!stack_.empty() && stack_.back().dest == Dest::Alternate) {
        sink_.alternatePicture(picture);
    }
    stack_.push_back(saved);
}

}  // namespace quillmere::rtf
