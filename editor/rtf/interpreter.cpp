#include "editor/rtf/interpreter.h"

#include "editor/rtf/codepage.h"
#include "editor/rtf/rtf.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace quillmere::rtf {
namespace {

// Control words the reader acts on.
enum Word : int {
    kUnknown,
    // document
    kRtf,
    kAnsi,
    kMac,
    kPc,
    kPca,
    kAnsicpg,
    kDeff,
    kUc,
    kU,
    // destinations
    kFonttbl,
    kColortbl,
    kListtable,
    kListoverridetable,
    kPict,
    kPn,
    kObject,
    kResult,
    kField,
    kFldrslt,
    kShppict,
    kNonshppict,
    kShprslt,
    kSkip,
    // font, colour and list tables
    kF,
    kFcharset,
    kCpg,
    kRed,
    kGreen,
    kBlue,
    kList,
    kListid,
    kListlevel,
    kLevelnfc,
    kListoverride,
    kLs,
    // pictures
    kBin,
    kPicw,
    kPich,
    kPicwgoal,
    kPichgoal,
    kPicscalex,
    kPicscaley,
    kBlip,
    // \pn numbering
    kPnlvlblt,
    kPnlvlbody,
    kPnlvl,
    kPnlvlcont,
    kPndec,
    kPnucltr,
    kPnlcltr,
    kPnucrm,
    kPnlcrm,
    // character formatting
    kPlain,
    kB,
    kI,
    kUl,
    kUlnone,
    kStrike,
    kV,
    kFs,
    kCf,
    kCb,
    kHighlight,
    // paragraph formatting
    kPard,
    kQl,
    kQr,
    kQc,
    kQj,
    kLi,
    kFi,
    kIlvl,
    // content
    kPar,
    kLine,
    kTab,
    kBreakPara,
    kEmdash,
    kEndash,
    kEmspace,
    kEnspace,
    kQmspace,
    kBullet,
    kLquote,
    kRquote,
    kLdblquote,
    kRdblquote,
    kZwj,
    kZwnj,
    kLtrmark,
    kRtlmark,
    kZwbo,
    kZwnbo,
};

struct WordName {
    std::string_view name;
    Word id;
};

constexpr WordName kWords[] = {
    {"rtf", kRtf},
    {"ansi", kAnsi},
    {"mac", kMac},
    {"pc", kPc},
    {"pca", kPca},
    {"ansicpg", kAnsicpg},
    {"deff", kDeff},
    {"uc", kUc},
    {"u", kU},
    {"fonttbl", kFonttbl},
    {"colortbl", kColortbl},
    {"listtable", kListtable},
    {"listoverridetable", kListoverridetable},
    {"pict", kPict},
    {"pn", kPn},
    {"object", kObject},
    {"result", kResult},
    {"field", kField},
    {"fldrslt", kFldrslt},
    {"shppict", kShppict},
    {"shprslt", kShprslt},
    {"f", kF},
    {"fcharset", kFcharset},
    {"cpg", kCpg},
    {"red", kRed},
    {"green", kGreen},
    {"blue", kBlue},
    {"list", kList},
    {"listid", kListid},
    {"listlevel", kListlevel},
    {"levelnfc", kLevelnfc},
    {"levelnfcn", kLevelnfc},
    {"listoverride", kListoverride},
    {"ls", kLs},
    {"bin", kBin},
    {"picw", kPicw},
    {"pich", kPich},
    {"picwgoal", kPicwgoal},
    {"pichgoal", kPichgoal},
    {"picscalex", kPicscalex},
    {"picscaley", kPicscaley},
    {"emfblip", kBlip},
    {"pngblip", kBlip},
    {"jpegblip", kBlip},
    {"wmetafile", kBlip},
    {"dibitmap", kBlip},
    {"wbitmap", kBlip},
    {"macpict", kBlip},
    {"pmmetafile", kBlip},
    {"pnlvlblt", kPnlvlblt},
    {"pnlvlbody", kPnlvlbody},
    {"pnlvl", kPnlvl},
    {"pnlvlcont", kPnlvlcont},
    {"pndec", kPndec},
    {"pnucltr", kPnucltr},
    {"pnlcltr", kPnlcltr},
    {"pnucrm", kPnucrm},
    {"pnlcrm", kPnlcrm},
    {"plain", kPlain},
    {"b", kB},
    {"i", kI},
    {"ul", kUl},
    {"uld", kUl},
    {"uldash", kUl},
    {"uldashd", kUl},
    {"uldashdd", kUl},
    {"uldb", kUl},
    {"ulhwave", kUl},
    {"ulth", kUl},
    {"ulw", kUl},
    {"ulwave", kUl},
    {"ulnone", kUlnone},
    {"strike", kStrike},
    {"striked", kStrike},
    {"v", kV},
    {"fs", kFs},
    {"cf", kCf},
    {"cb", kCb},
    {"highlight", kHighlight},
    {"chcbpat", kCb},
    {"pard", kPard},
    {"ql", kQl},
    {"qr", kQr},
    {"qc", kQc},
    {"qj", kQj},
    {"qd", kQj},
    {"li", kLi},
    {"fi", kFi},
    {"ilvl", kIlvl},
    {"par", kPar},
    {"line", kLine},
    {"tab", kTab},
    {"page", kBreakPara},
    {"sect", kBreakPara},
    {"cell", kBreakPara},
    {"nestcell", kBreakPara},
    {"emdash", kEmdash},
    {"endash", kEndash},
    {"emspace", kEmspace},
    {"enspace", kEnspace},
    {"qmspace", kQmspace},
    {"bullet", kBullet},
    {"lquote", kLquote},
    {"rquote", kRquote},
    {"ldblquote", kLdblquote},
    {"rdblquote", kRdblquote},
    {"zwj", kZwj},
    {"zwnj", kZwnj},
    {"ltrmark", kLtrmark},
    {"rtlmark", kRtlmark},
    {"zwbo", kZwbo},
    {"zwnbo", kZwnbo},
    // Destinations without visible text.
    {"stylesheet", kSkip},
    {"info", kSkip},
    {"fldinst", kSkip},
    {"pntext", kSkip},
    {"listtext", kSkip},
    {"nonshppict", kNonshppict},
    {"header", kSkip},
    {"headerl", kSkip},
    {"headerr", kSkip},
    {"headerf", kSkip},
    {"footer", kSkip},
    {"footerl", kSkip},
    {"footerr", kSkip},
    {"footerf", kSkip},
    {"footnote", kSkip},
    {"annotation", kSkip},
    {"atnid", kSkip},
    {"atnauthor", kSkip},
    {"xe", kSkip},
    {"tc", kSkip},
    {"txe", kSkip},
    {"rxe", kSkip},
    {"bxe", kSkip},
    {"comment", kSkip},
    {"template", kSkip},
    {"do", kSkip},
    {"shpinst", kSkip},
    {"objdata", kSkip},
    {"objclass", kSkip},
    {"objname", kSkip},
    {"objalias", kSkip},
    {"objsect", kSkip},
    {"objitem", kSkip},
    {"objtopic", kSkip},
    {"private", kSkip},
    {"themedata", kSkip},
    {"colorschememapping", kSkip},
    {"datastore", kSkip},
    {"latentstyles", kSkip},
    {"revtbl", kSkip},
    {"rsidtbl", kSkip},
    {"generator", kSkip},
    {"xmlnstbl", kSkip},
    {"filetbl", kSkip},
    {"pgdsctbl", kSkip},
    {"userprops", kSkip},
    {"docvar", kSkip},
    {"bkmkstart", kSkip},
    {"bkmkend", kSkip},
    {"pnseclvl", kSkip},
    {"pntxtb", kSkip},
    {"pntxta", kSkip},
    {"falt", kSkip},
    {"panose", kSkip},
    {"fname", kSkip},
    {"leveltext", kSkip},
    {"levelnumbers", kSkip},
    {"listname", kSkip},
    {"lfolevel", kSkip},
    {"background", kSkip},
    {"ftnsep", kSkip},
    {"ftnsepc", kSkip},
    {"ftncn", kSkip},
    {"aftnsep", kSkip},
    {"aftnsepc", kSkip},
    {"aftncn", kSkip},
    {"author", kSkip},
    {"title", kSkip},
    {"subject", kSkip},
    {"operator", kSkip},
    {"keywords", kSkip},
    {"doccomm", kSkip},
    {"company", kSkip},
    {"protusertbl", kSkip},
    {"listpicture", kSkip},
    {"formfield", kSkip},
    {"datafield", kSkip},
    {"mmathPr", kSkip},
    {"fchars", kSkip},
    {"lchars", kSkip},
};

// Control words by name: an open-addressing table of the names, each
// zero-padded to kKeyBytes and compared as three 64-bit words, so a look-up
// is one multiply-shift and (almost always) one slot.
constexpr std::size_t kKeyBytes = 24;
constexpr int kSlotBits = 9;
constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
static_assert(std::size(kWords) < kSlots / 2, "keep the word table at most half full");
static_assert(std::all_of(std::begin(kWords), std::end(kWords),
                          [](const WordName& w) { return w.name.size() <= kKeyBytes; }),
              "a control word name is longer than a key");

struct WordKey {
    std::uint64_t part[3] = {0, 0, 0};
    bool operator==(const WordKey&) const = default;
};

struct WordSlot {
    WordKey key;
    Word id = kUnknown;  // kUnknown marks an empty slot
};

std::size_t slotOf(const WordKey& key) {
    std::uint64_t h = key.part[0] * 0x9E3779B97F4A7C15ULL ^ key.part[1] * 0xC2B2AE3D27D4EB4FULL ^
                      key.part[2] * 0x165667B19E3779F9ULL;
    return static_cast<std::size_t>(h >> (64 - kSlotBits));
}

// Built in registers byte by byte: names are short, and a memcpy into the
// key followed by 8-byte loads would stall on store forwarding.
constexpr WordKey keyOf(std::string_view name) {
    WordKey key;
    for (std::size_t i = 0; i < name.size(); ++i) {
        key.part[i / 8] |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * (i % 8));
    }
    return key;
}

const std::array<WordSlot, kSlots>& wordTableOf() {
    static const std::array<WordSlot, kSlots> wordTable = [] {
        std::array<WordSlot, kSlots> table{};
        for (const auto& w : kWords) {
            WordKey key = keyOf(w.name);
            std::size_t s = slotOf(key);
            while (table[s].id != kUnknown) {
                s = (s + 1) & (kSlots - 1);
            }
            table[s] = WordSlot{key, w.id};
        }
        return table;
    }();
    return wordTable;
}

Word lookup(std::string_view name) {
    if (name.size() > kKeyBytes) {
        return kUnknown;
    }
    const auto& wordTable = wordTableOf();
    WordKey key = keyOf(name);
    for (std::size_t s = slotOf(key);; s = (s + 1) & (kSlots - 1)) {
        const WordSlot& slot = wordTable[s];
        if (slot.id == kUnknown || slot.key == key) {
            return slot.id;
        }
    }
}

ListKind kindOfFormat(int nfc) {
    switch (nfc) {
        case 0:
            return ListKind::Decimal;
        case 1:
            return ListKind::UpperRoman;
        case 2:
            return ListKind::LowerRoman;
        case 3:
            return ListKind::UpperAlpha;
        case 4:
            return ListKind::LowerAlpha;
        case 23:
            return ListKind::Bullet;
        case 255:
            return ListKind::None;
        default:
            return ListKind::Decimal;
    }
}

bool isClean(char16_t c) {
    return c >= 0x20 ? (c != 0x2028 && c != 0x2029 && c != 0xFDD0 && c != 0xFDD1 && c != 0xFFFC)
                     : c == '\t';
}

// True when no character needs isClean's special handling. Almost all text
// is plain, so one cheap test per character decides.
bool allClean(const char16_t* data, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = data[i];
        if ((c < 0x20 || c >= 0x2028) && !isClean(c)) {
            return false;
        }
    }
    return true;
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
    throw RtfError(QStringLiteral("The text is not in RTF format: it does not start with {\\rtf."));
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
            QStringLiteral("The RTF is damaged: its groups are nested more than %1 deep.")
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
    if (group.ownsDest) {
        switch (group.dest) {
            case Dest::FontTable:
                commitFont();
                break;
            case Dest::Pict:
                finishPicture();
                break;
            case Dest::ListTable:
                if (inList_) {
                    lists_[listId_] = listDef_;
                }
                inList_ = false;
                break;
            default:
                break;
        }
    } else if (group.dest == Dest::FontTable && stack_.size() >= 2 &&
               stack_[stack_.size() - 2].ownsDest) {
        commitFont();  // a font entry group of the table closes
    } else if (group.dest == Dest::ListTable && inList_ && stack_.size() >= 2 &&
               stack_[stack_.size() - 2].ownsDest) {
        lists_[listId_] = listDef_;  // a \list group closes
        inList_ = false;
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
            picture_.data.append(data.text.data(), static_cast<qsizetype>(data.text.size()));
            nibble_ = -1;
        }
        return;
    }
    if (destinationWord(id, tokenizer)) {
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
            pictWord(token);
            break;
        case Dest::Object:
        case Dest::Alternate:
            break;
        default:
            tableWord(id, token, tokenizer);
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
            fontId_ = -1;
            return true;
        case kColortbl:
            beginDest(Dest::ColorTable);
            colours_.clear();
            colourSet_ = false;
            red_ = green_ = blue_ = 0;
            return true;
        case kListtable:
            beginDest(Dest::ListTable);
            inList_ = false;
            return true;
        case kListoverridetable:
            beginDest(Dest::ListOverrideTable);
            overrideListId_ = 0;
            return true;
        case kPict:
            if ((dest != Dest::Normal && dest != Dest::Alternate) || inPicture_) {
                skipRest(tokenizer);
                return true;
            }
            beginDest(Dest::Pict);
            picture_ = PictureData{};
            inPicture_ = true;
            nibble_ = -1;
            return true;
        case kPn:
            if (dest != Dest::Normal) {
                skipRest(tokenizer);
                return true;
            }
            beginDest(Dest::Pn);
            para_.pnKind = ListKind::Decimal;
            para_.pnLevel = 0;
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
        case kField:
        case kFldrslt:
        case kShprslt:
            return dest == Dest::Normal;
        default:
            return false;
    }
}

void Interpreter::normalWord(int id, const Token& token) {
    CharState& ch = stack_.back().chars;
    const int param = token.param;
    const bool on = !token.hasParam || param != 0;
    switch (id) {
        case kAnsi:
            ansiCodePage_ = 1252;
            pageCacheValid_ = false;
            break;
        case kMac:
            ansiCodePage_ = 10000;
            pageCacheValid_ = false;
            break;
        case kPc:
            ansiCodePage_ = 437;
            pageCacheValid_ = false;
            break;
        case kPca:
            ansiCodePage_ = 850;
            pageCacheValid_ = false;
            break;
        case kAnsicpg:
            ansiCodePage_ = param;
            pageCacheValid_ = false;
            break;
        case kDeff:
            defaultFont_ = param;
            pageCacheValid_ = false;
            break;
        case kUc:
            stack_.back().unicodeSkip = std::clamp(param, 0, 16);
            break;
        case kU:
            unicodeChar(param);
            skipChars_ = stack_.back().unicodeSkip;
            break;
        case kPlain: {
            CharState fresh;
            ch = fresh;
            break;
        }
        case kB:
            ch.bold = on;
            break;
        case kI:
            ch.italic = on;
            break;
        case kUl:
            ch.underline = on;
            break;
        case kUlnone:
            ch.underline = false;
            break;
        case kStrike:
            ch.strike = on;
            break;
        case kV:
            ch.hidden = on;
            break;
        case kF:
            ch.font = token.hasParam ? param : -1;
            break;
        case kFs:
            ch.halfPoints = token.hasParam && param > 0 ? std::min(param, 3276) : 24;
            break;
        case kCf:
            ch.foreground = param;
            break;
        case kCb:
        case kHighlight:
            ch.background = param;
            break;
        case kPard:
            para_ = ParaState{};
            break;
        case kQl:
            para_.alignment = Alignment::Left;
            break;
        case kQr:
            para_.alignment = Alignment::Right;
            break;
        case kQc:
            para_.alignment = Alignment::Centre;
            break;
        case kQj:
            para_.alignment = Alignment::Justify;
            break;
        case kLi:
            para_.leftIndent = std::clamp(param, -31680, 31680);
            break;
        case kFi:
            para_.firstIndent = std::clamp(param, -31680, 31680);
            break;
        case kLs:
            para_.listOverride = param;
            break;
        case kIlvl:
            para_.listLevel = std::clamp(param, 0, 8);
            break;
        case kPar:
        case kBreakPara:
            sink_.paragraphEnd();
            break;
        case kLine:
            if (!ch.hidden) {
                sink_.lineBreak();
            }
            break;
        case kTab:
            unicodeChar('\t');
            break;
        case kEmdash:
            unicodeChar(0x2014);
            break;
        case kEndash:
            unicodeChar(0x2013);
            break;
        case kEmspace:
            unicodeChar(0x2003);
            break;
        case kEnspace:
            unicodeChar(0x2002);
            break;
        case kQmspace:
            unicodeChar(0x2005);
            break;
        case kBullet:
            unicodeChar(0x2022);
            break;
        case kLquote:
            unicodeChar(0x2018);
            break;
        case kRquote:
            unicodeChar(0x2019);
            break;
        case kLdblquote:
            unicodeChar(0x201C);
            break;
        case kRdblquote:
            unicodeChar(0x201D);
            break;
        case kZwj:
            unicodeChar(0x200D);
            break;
        case kZwnj:
            unicodeChar(0x200C);
            break;
        case kLtrmark:
            unicodeChar(0x200E);
            break;
        case kRtlmark:
            unicodeChar(0x200F);
            break;
        case kZwbo:
            unicodeChar(0x200B);
            break;
        case kZwnbo:
            unicodeChar(0xFEFF);
            break;
        case kPnlvlblt:
        case kPnlvlbody:
        case kPnlvl:
        case kPnlvlcont:
        case kPndec:
        case kPnucltr:
        case kPnlcltr:
        case kPnucrm:
        case kPnlcrm:
            break;  // only inside {\*\pn ...}
        default:
            break;
    }
}

// Words inside the font, colour and list tables and \pn groups.
void Interpreter::tableWord(int id, const Token& token, Tokenizer& tokenizer) {
    (void)tokenizer;
    const int param = token.param;
    switch (stack_.back().dest) {
        case Dest::FontTable:
            if (id == kF) {
                commitFont();
                fontId_ = param;
                fontEntry_ = FontEntry{};
            } else if (id == kFcharset) {
                fontEntry_.charset = param;
            } else if (id == kCpg) {
                fontEntry_.codePage = param;
            } else if (id == kU) {
                unicodeChar(param);
                skipChars_ = stack_.back().unicodeSkip;
            }
            break;
        case Dest::ColorTable:
            colourSet_ = colourSet_ || id == kRed || id == kGreen || id == kBlue;
            if (id == kRed) {
                red_ = std::clamp(param, 0, 255);
            } else if (id == kGreen) {
                green_ = std::clamp(param, 0, 255);
            } else if (id == kBlue) {
                blue_ = std::clamp(param, 0, 255);
            }
            break;
        case Dest::ListTable:
            if (id == kList) {
                if (inList_) {
                    lists_[listId_] = listDef_;
                }
                inList_ = true;
                listDef_ = ListDef{};
                listId_ = 0;
            } else if (id == kListlevel && inList_) {
                listDef_.levelFormats.push_back(0);
            } else if (id == kLevelnfc && inList_ && !listDef_.levelFormats.empty()) {
                listDef_.levelFormats.back() = param;
            } else if (id == kListid && inList_) {
                listId_ = param;
            }
            break;
        case Dest::ListOverrideTable:
            if (id == kListoverride) {
                overrideListId_ = 0;
            } else if (id == kListid) {
                overrideListId_ = param;
            } else if (id == kLs) {
                overrides_[param] = overrideListId_;
            }
            break;
        case Dest::Pn:
            switch (id) {
                case kPnlvlblt:
                    para_.pnKind = ListKind::Bullet;
                    para_.pnLevel = 0;
                    break;
                case kPnlvlbody:
                    para_.pnLevel = 0;
                    break;
                case kPnlvl:
                    para_.pnLevel = std::clamp(param - 1, 0, 8);
                    break;
                case kPnlvlcont:
                    para_.pnKind = ListKind::None;
                    break;
                case kPndec:
                    para_.pnKind = ListKind::Decimal;
                    break;
                case kPnucltr:
                    para_.pnKind = ListKind::UpperAlpha;
                    break;
                case kPnlcltr:
                    para_.pnKind = ListKind::LowerAlpha;
                    break;
                case kPnucrm:
                    para_.pnKind = ListKind::UpperRoman;
                    break;
                case kPnlcrm:
                    para_.pnKind = ListKind::LowerRoman;
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
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
    Dest dest = stack_.back().dest;
    if (dest == Dest::Pict) {
        pictText(bytes);
        return;
    }
    if (dest != Dest::Normal && dest != Dest::FontTable && dest != Dest::ColorTable) {
        return;
    }
    if (dest == Dest::ColorTable) {
        for (char c : bytes) {
            if (c == ';') {
                commitColour();
            }
        }
        return;
    }
    int cp;
    if (dest == Dest::FontTable) {
        cp = fontEntry_.codePage ? fontEntry_.codePage
                                 : codePageOfCharset(fontEntry_.charset, ansiCodePage_);
    } else {
        if (stack_.back().chars.hidden) {
            return;  // hidden text never reaches the sink
        }
        const ByteTable* table = nullptr;
        cp = currentCodePage(&table);
        if (table != nullptr) {
            if (hasPending()) {
                decodePending();
            }
            appendVisibleBytes(*table, bytes, readable);
            return;
        }
    }
    // Double-byte pages (and font names) are decoded once the whole run is
    // known, since \'hh pairs may make up one character.
    if (hasPending() && cp != pendingCodePage_) {
        decodePending();
    }
    pendingCodePage_ = cp;
    // One run is kept as a view into the input; only a second piece copies.
    if (!hasPending() && bytes.data() != &pendingByte_) {
        pendingView_ = bytes;
        return;
    }
    if (!pendingView_.empty()) {
        pending_.append(pendingView_.data(), static_cast<qsizetype>(pendingView_.size()));
        pendingView_ = {};
    }
    pending_.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void Interpreter::hexByte(unsigned char byte) {
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    if (!stack_.empty() && stack_.back().dest == Dest::Pict) {
        picture_.data.append(static_cast<char>(byte));  // a hex escape in picture data is one byte
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
        fontName_.append(QChar(ch));
    }
}

int Interpreter::currentCodePage(const ByteTable** table) {
    int fontId = stack_.back().chars.font;
    if (!pageCacheValid_ || fontId != cachedFont_) {
        cachedFont_ = fontId;
        cachedPage_ = codePageOf(fontId);
        cachedTable_ = byteTable(cachedPage_);
        pageCacheValid_ = true;
    }
    *table = cachedTable_;
    return cachedPage_;
}

void Interpreter::flush() {
    decodePending();
    if (runSize_ == 0) {
        return;
    }
    if (!stack_.empty()) {
        sink_.text(QString::fromRawData(reinterpret_cast<const QChar*>(run_.get()),
                                        static_cast<qsizetype>(runSize_)));
    }
    runSize_ = 0;  // keeps the buffer for the next run
    runHasNbsp_ = false;
}

// Room for `count` more characters (and the slack) at the end of the run.
char16_t* Interpreter::runRoom(std::size_t count) {
    if (runSize_ + count > runCapacity_) {
        std::size_t capacity = std::max({runSize_ + count, 2 * runCapacity_, std::size_t{256}});
        auto bigger = std::make_unique_for_overwrite<char16_t[]>(capacity + kRunSlack);
        if (runSize_ > 0) {
            std::memcpy(bigger.get(), run_.get(), runSize_ * sizeof(char16_t));
        }
        run_ = std::move(bigger);
        runCapacity_ = capacity;
    }
    return run_.get() + runSize_;
}

void Interpreter::decodePending() {
    if (!hasPending()) {
        return;
    }
    decoded_.resize(0);
    if (!pendingView_.empty()) {
        appendDecoded(pendingCodePage_, pendingView_.data(), pendingView_.size(), decoded_);
        pendingView_ = {};
    } else {
        appendDecoded(pendingCodePage_, pending_.constData(),
                      static_cast<std::size_t>(pending_.size()), decoded_);
        pending_.clear();
    }
    if (stack_.empty()) {
        return;
    }
    Dest dest = stack_.back().dest;
    if (dest == Dest::Normal) {
        if (stack_.back().chars.hidden) {
            return;
        }
        const char16_t* data = reinterpret_cast<const char16_t*>(decoded_.constData());
        qsizetype n = decoded_.size();
        if (allClean(data, n)) {
            std::memcpy(runRoom(static_cast<std::size_t>(n)), data,
                        static_cast<std::size_t>(n) * sizeof(char16_t));
            runSize_ += static_cast<std::size_t>(n);
            runHasNbsp_ = runHasNbsp_ || decoded_.contains(QChar::Nbsp);
            return;
        }
        for (qsizetype k = 0; k < n; ++k) {
            appendVisibleChar(data[k]);
        }
        return;
    }
    if (dest == Dest::FontTable) {
        for (QChar c : std::as_const(decoded_)) {
            if (c == u';') {
                commitFont();
            } else {
                fontName_.append(c);
            }
        }
    }
}

// Adds one character to the run, turning separators into breaks and
// dropping characters a document cannot hold as text.
void Interpreter::appendVisibleChar(char16_t c) {
    if (isClean(c)) {
        *runRoom(1) = c;
        ++runSize_;
        runHasNbsp_ = runHasNbsp_ || c == QChar::Nbsp;
        return;
    }
    if (c != 0x2028 && c != 0x2029) {
        return;
    }
    flush();
    if (c == 0x2028) {
        sink_.lineBreak();
    } else {
        sink_.paragraphEnd();
    }
}

// Decodes bytes of a page read through a table straight into the run:
// printable ASCII is copied in blocks, every other byte goes through the
// table and the same rules as any character.
void Interpreter::appendVisibleBytes(const ByteTable& table, std::string_view bytes,
                                     std::size_t readable) {
    const char* p = bytes.data();
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        // Room for every byte left, each giving at most one character.
        char16_t* dst = runRoom(n - i);
        std::size_t out = 0;
        char16_t special = 0;
        while (i < n) {
            std::size_t k = widenPrintableAscii(p + i, n - i, readable - i, dst + out);
            i += k;
            out += k;
            if (i == n) {
                break;
            }
            char16_t c = table[static_cast<unsigned char>(p[i++])];
            if (isClean(c)) {
                dst[out++] = c;
                runHasNbsp_ = runHasNbsp_ || c == QChar::Nbsp;
            } else if (c == 0x2028 || c == 0x2029) {
                special = c;
                break;
            }
        }
        runSize_ += out;
        if (special != 0) {
            appendVisibleChar(special);
        }
    }
}

int Interpreter::codePageOf(int fontId) const {
    const FontEntry* entry = font(fontId);
    if (entry == nullptr) {
        return ansiCodePage_;
    }
    return entry->codePage ? entry->codePage : codePageOfCharset(entry->charset, ansiCodePage_);
}

const FontEntry* Interpreter::font(int id) const {
    auto it = fonts_.find(id < 0 ? defaultFont_ : id);
    return it == fonts_.end() ? nullptr : &it->second;
}

std::optional<QRgb> Interpreter::colour(int index) const {
    if (index <= 0 || index >= static_cast<int>(colours_.size())) {
        return std::nullopt;
    }
    return colours_[static_cast<std::size_t>(index)];
}

void Interpreter::commitFont() {
    flush();
    if (fontId_ >= 0) {
        // A name holds no control characters and no ';' (which ends it).
        fontName_.removeIf([](QChar c) { return c.unicode() < 0x20 || c == u';'; });
        fontEntry_.name = fontName_.trimmed();
        fonts_.insert_or_assign(fontId_, fontEntry_);
        pageCacheValid_ = false;
    }
    fontId_ = -1;
    fontName_.clear();
    fontEntry_ = FontEntry{};
}

void Interpreter::commitColour() {
    if (colourSet_) {
        colours_.push_back(qRgb(red_, green_, blue_));
    } else {
        colours_.push_back(std::nullopt);
    }
    red_ = green_ = blue_ = 0;
    colourSet_ = false;
}

ListKind Interpreter::listKind(const ParaState& para) const {
    if (para.listOverride > 0) {
        auto over = overrides_.find(para.listOverride);
        if (over != overrides_.end()) {
            auto list = lists_.find(over->second);
            if (list != lists_.end() && !list->second.levelFormats.empty()) {
                const auto& levels = list->second.levelFormats;
                std::size_t level =
                    std::min(static_cast<std::size_t>(para.listLevel), levels.size() - 1);
                ListKind kind = kindOfFormat(levels[level]);
                if (kind != ListKind::None || para.pnKind == ListKind::None) {
                    return kind;
                }
            }
        }
        return para.pnKind != ListKind::None ? para.pnKind : ListKind::Bullet;
    }
    return para.pnKind;
}

int Interpreter::listLevel(const ParaState& para) const {
    return para.listOverride > 0 ? para.listLevel : para.pnLevel;
}

void Interpreter::pictWord(const Token& token) {
    Word id = lookup(token.text);
    QString word = QLatin1Char('\\') +
                   QLatin1String(token.text.data(), static_cast<qsizetype>(token.text.size()));
    if (token.hasParam) {
        word += QString::number(token.param);
    }
    picture_.header += word;
    switch (id) {
        case kBlip:
            if (picture_.kind.isEmpty()) {
                picture_.kind = QString::fromLatin1(token.text.data(),
                                                    static_cast<qsizetype>(token.text.size()));
            }
            break;
        case kPicw:
            picture_.picw = token.param;
            break;
        case kPich:
            picture_.pich = token.param;
            break;
        case kPicwgoal:
            picture_.goalWidth = token.param;
            break;
        case kPichgoal:
            picture_.goalHeight = token.param;
            break;
        case kPicscalex:
            picture_.scaleX = token.param;
            break;
        case kPicscaley:
            picture_.scaleY = token.param;
            break;
        default:
            break;
    }
}

void Interpreter::pictText(std::string_view bytes) {
    for (char c : bytes) {
        int v;
        if (c >= '0' && c <= '9') {
            v = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            v = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            v = c - 'A' + 10;
        } else {
            continue;
        }
        if (nibble_ < 0) {
            nibble_ = v;
        } else {
            picture_.data.append(static_cast<char>(nibble_ * 16 + v));
            nibble_ = -1;
        }
    }
}

void Interpreter::finishPicture() {
    inPicture_ = false;
    nibble_ = -1;  // an odd last hex digit is dropped
    // The sink reads the state of the group around the picture.
    Group saved = stack_.back();
    stack_.pop_back();
    if (!stack_.empty() && stack_.back().dest == Dest::Normal) {
        picture_.inShape = saved.shape;
        sink_.picture(picture_);
    } else if (!stack_.empty() && stack_.back().dest == Dest::Alternate) {
        sink_.alternatePicture(picture_);
    }
    stack_.push_back(saved);
    picture_ = PictureData{};
}

}  // namespace quillmere::rtf
