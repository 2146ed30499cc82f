// The control words the RTF interpreter acts on, and their look-up by name.
//
// Each word the reader knows has a Word id; several spellings may share one
// (every underline style is kUl, every picture type kBlip). The names live
// in an open-addressing table built at compile time: each name zero-padded
// to kKeyBytes and compared as three 64-bit words, so a look-up is one
// multiply-shift and (almost always) one slot. Nothing here throws.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillmere::rtf {

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
    // destinations, from kFonttbl to kSkip (the reader tests the range)
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
    kShpinst,
    kShptxt,
    kDo,
    kDptxbxtext,
    kListtext,
    kUpr,
    kUd,
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
    kChftn,
    kWordCount  // the number of ids, not a word
};

constexpr std::size_t kKeyBytes = 24;
constexpr int kSlotBits = 9;
constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;

struct WordKey {
    std::uint64_t part[3] = {0, 0, 0};
    bool operator==(const WordKey&) const = default;
};

struct WordSlot {
    WordKey key;
    Word id = kUnknown;  // kUnknown marks an empty slot
};

// The slot a key's probe starts at.
constexpr std::size_t slotOf(const WordKey& key) {
    std::uint64_t h = key.part[0] * 0x9E3779B97F4A7C15ULL ^ key.part[1] * 0xC2B2AE3D27D4EB4FULL ^
                      key.part[2] * 0x165667B19E3779F9ULL;
    return static_cast<std::size_t>(h >> (64 - kSlotBits));
}

// Built in registers byte by byte: names are short, and a memcpy into the
// key followed by 8-byte loads would stall on store forwarding. The name
// must be at most kKeyBytes long.
constexpr WordKey keyOf(std::string_view name) {
    WordKey key;
    for (std::size_t i = 0; i < name.size(); ++i) {
        key.part[i / 8] |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * (i % 8));
    }
    return key;
}

// The table of every known name (control_words.cpp), filled before any code
// runs.
extern const std::array<WordSlot, kSlots> kWordSlots;

// The id of a control word's name; kUnknown for a name the reader does not
// act on (also for any name longer than kKeyBytes).
inline Word lookup(std::string_view name) {
    if (name.size() > kKeyBytes) {
        return kUnknown;
    }
    WordKey key = keyOf(name);
    for (std::size_t s = slotOf(key);; s = (s + 1) & (kSlots - 1)) {
        const WordSlot& slot = kWordSlots[s];
        if (slot.id == kUnknown || slot.key == key) {
            return slot.id;
        }
    }
}

// The character of each content word by id (\emdash is U+2014, \tab a
// tab); 0 for every other word.
extern const std::array<char16_t, kWordCount> kWordChars;

inline char16_t charOfWord(Word id) {
    return kWordChars[id];
}

}  // namespace quillmere::rtf
