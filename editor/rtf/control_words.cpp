// The names of the control words the reader acts on, and the table they
// are looked up in.
#include "editor/rtf/control_words.h"

#include <algorithm>

namespace quillmere::rtf {
namespace {

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
    {"shpinst", kShpinst},
    {"shptxt", kShptxt},
    {"do", kDo},
    {"dptxbxtext", kDptxbxtext},
    {"listtext", kListtext},
    {"upr", kUpr},
    {"ud", kUd},
    {"chftn", kChftn},
    {"pntext", kListtext},
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
    // Shape properties: names and values, never shown.
    {"sp", kSkip},
    {"sn", kSkip},
    {"sv", kSkip},
    {"tc", kSkip},
    {"txe", kSkip},
    {"rxe", kSkip},
    {"bxe", kSkip},
    {"comment", kSkip},
    {"template", kSkip},
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

static_assert(std::size(kWords) < kSlots / 2, "keep the word table at most half full");
static_assert(std::all_of(std::begin(kWords), std::end(kWords),
                          [](const WordName& w) { return w.name.size() <= kKeyBytes; }),
              "a control word name is longer than a key");

constexpr std::array<WordSlot, kSlots> buildSlots() {
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
}

// The characters of the content words.
struct CharWord {
    Word id;
    char16_t c;
};

constexpr CharWord kCharWords[] = {
    {kTab, u'\t'},      {kEmdash, 0x2014},    {kEndash, 0x2013},    {kEmspace, 0x2003},
    {kEnspace, 0x2002}, {kQmspace, 0x2005},   {kBullet, 0x2022},    {kLquote, 0x2018},
    {kRquote, 0x2019},  {kLdblquote, 0x201C}, {kRdblquote, 0x201D}, {kZwj, 0x200D},
    {kZwnj, 0x200C},    {kLtrmark, 0x200E},   {kRtlmark, 0x200F},   {kZwbo, 0x200B},
    {kZwnbo, 0xFEFF},
};

constexpr std::array<char16_t, kWordCount> buildWordChars() {
    std::array<char16_t, kWordCount> table{};
    for (const auto& w : kCharWords) {
        table[w.id] = w.c;
    }
    return table;
}

}  // namespace

constinit const std::array<WordSlot, kSlots> kWordSlots = buildSlots();
constinit const std::array<char16_t, kWordCount> kWordChars = buildWordChars();

}  // namespace quillmere::rtf
