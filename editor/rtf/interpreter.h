// The RTF state machine shared by the document reader and the fast plain-text
// path, so the two can never disagree about which text an entry shows.
//
// It walks the tokens once, keeps the group states on an explicit stack (no
// recursion on the machine stack; at most kMaxGroupDepth open groups, deeper
// input is reported as damaged), reads the font, colour and list tables,
// decodes text in each font's code page, skips destinations that hold no
// visible text (also every unknown \* destination), and reports the visible
// content to an RtfSink: clean text runs, line breaks, paragraph ends and
// pictures. The sink reads the character and paragraph state in force from
// the interpreter at each call.
#pragma once

#include "editor/rtf/codepage.h"
#include "editor/rtf/tokenizer.h"

#include <QByteArray>
#include <QRgb>
#include <QString>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace quillmere::rtf {

// Open groups the reader follows; a deeper RTF is reported as damaged.
constexpr int kMaxGroupDepth = 2000;

struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int font = -1;  // \fN; -1 means the document's default font (\deffN)
    int halfPoints = 24;
    int foreground = 0;  // colour table index, 0 = automatic
    int background = 0;  // colour table index, 0 = automatic
    bool operator==(const CharState&) const = default;
};

enum class ListKind { None, Bullet, Decimal, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman };

enum class Alignment { Left, Right, Centre, Justify };

struct ParaState {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;                // \li, twips
    int firstIndent = 0;               // \fi, twips
    int listOverride = 0;              // \lsN, 0 = none
    int listLevel = 0;                 // \ilvlN
    ListKind pnKind = ListKind::None;  // from \pn...
    int pnLevel = 0;
};

struct FontEntry {
    QString name;
    int charset = 0;
    int codePage = 0;  // \cpgN, 0 = from the character set
};

// A \pict group as stored.
struct PictureData {
    QString header;   // the group's control words in order, e.g. "\pngblip\picw16"
    QString kind;     // the picture-type word: "pngblip", "emfblip", "wmetafile", ...
    QByteArray data;  // hex digits decoded, or \bin data
    int picw = 0;
    int pich = 0;
    int goalWidth = 0;   // \picwgoal, twips
    int goalHeight = 0;  // \pichgoal, twips
    int scaleX = 100;
    int scaleY = 100;
    // Read inside a \shppict group (the picture for readers that know shapes).
    bool inShape = false;
    // The \nonshppict picture that followed it, for readers that know only
    // metafiles: its control words and bytes as stored; empty when none.
    QString fallbackHeader;
    QByteArray fallbackData;
};

class Interpreter;

class RtfSink {
public:
    virtual ~RtfSink() = default;
    // Visible text: no control characters except tab, no line or paragraph
    // separators, no object replacement characters. The string may be a view
    // of the interpreter's buffer: it is valid only during the call (copy
    // its characters, do not keep it).
    virtual void text(const QString& text) = 0;
    virtual void lineBreak() = 0;
    virtual void paragraphEnd() = 0;
    virtual void picture(const PictureData& picture) = 0;
    // The picture of a \nonshppict group: the same picture for readers that
    // do not know \shppict. It belongs to the picture just before it when
    // that one came from a \shppict group; otherwise it is to be ignored.
    virtual void alternatePicture(const PictureData& /*picture*/) {}
};

class Interpreter {
public:
    explicit Interpreter(RtfSink& sink) : sink_(sink) {}

    // Reads the whole RTF. Throws RtfError when it does not start with
    // "{\rtf" or nests groups more than kMaxGroupDepth deep. Missing closing
    // braces at the end are forgiven; bytes after the last one are ignored.
    void run(const QByteArray& rtf);

    // State in force for the sink's calls.
    const CharState& charState() const { return stack_.back().chars; }
    const ParaState& paraState() const { return para_; }
    // The font of a state's \fN (the default font for -1), or nullptr.
    const FontEntry* font(int id) const;
    // A colour table entry; nullopt for automatic or a missing entry.
    std::optional<QRgb> colour(int index) const;
    // True when the text of the sink's current text() call may hold a
    // no-break space (U+00A0); false means it surely holds none.
    bool textMayHoldNoBreakSpace() const { return runHasNbsp_; }
    // What a paragraph with this state is in lists: its kind and level.
    ListKind listKind(const ParaState& para) const;
    int listLevel(const ParaState& para) const;

private:
    enum class Dest {
        Normal,
        FontTable,
        ColorTable,
        ListTable,
        ListOverrideTable,
        Pict,
        Pn,
        Object,
        Alternate  // a \nonshppict group: only its \pict is read
    };
    struct Group {
        CharState chars;
        Dest dest = Dest::Normal;
        bool ownsDest = false;
        bool shape = false;   // inside \shppict
        int unicodeSkip = 1;  // \ucN
    };

    void checkStart(const QByteArray& rtf) const;
    void openGroup();
    void closeGroup();
    void word(const Token& token, Tokenizer& tokenizer);
    bool destinationWord(int id, Tokenizer& tokenizer);
    void normalWord(int id, const Token& token);
    void tableWord(int id, const Token& token, Tokenizer& tokenizer);
    void symbol(char c);
    void textBytes(std::string_view bytes, std::size_t readable);
    void hexByte(unsigned char byte);
    void unicodeChar(int value);
    void flush();
    void decodePending();
    void appendVisibleChar(char16_t c);
    void appendVisibleBytes(const ByteTable& table, std::string_view bytes, std::size_t readable);
    char16_t* runRoom(std::size_t count);
    int currentCodePage(const ByteTable** table);
    void beginDest(Dest dest);
    void skipRest(Tokenizer& tokenizer);
    int codePageOf(int fontId) const;
    void commitFont();
    void commitColour();
    void pictWord(const Token& token);
    void pictText(std::string_view bytes);
    void finishPicture();

    RtfSink& sink_;
    std::vector<Group> stack_;
    Group finalGroup_;
    ParaState para_;
    int ansiCodePage_ = 1252;
    int defaultFont_ = 0;
    bool starPending_ = false;
    int skipChars_ = 0;

    bool hasPending() const { return !pendingView_.empty() || !pending_.isEmpty(); }

    std::string_view pendingView_;  // text not yet decoded: one run in the input,
    QByteArray pending_;            // or the pieces copied together
    char pendingByte_ = 0;          // a byte from \'hh or an escaped symbol
    int pendingCodePage_ = 0;
    QString decoded_;  // pending bytes decoded
    // Visible text in the state in force, not yet sent to the sink. Text of
    // pages read through a table is decoded into it as it comes.
    // The buffer has kRunSlack characters beyond its capacity, for the block
    // loop that widens ASCII.
    static constexpr std::size_t kRunSlack = 16;
    std::unique_ptr<char16_t[]> run_;
    std::size_t runSize_ = 0;
    std::size_t runCapacity_ = 0;
    bool runHasNbsp_ = false;

    // The code page of the current font, until the fonts, \ansicpg or \deff
    // change.
    bool pageCacheValid_ = false;
    int cachedFont_ = 0;
    int cachedPage_ = 0;
    const ByteTable* cachedTable_ = nullptr;

    std::unordered_map<int, FontEntry> fonts_;
    int fontId_ = -1;
    FontEntry fontEntry_;
    QByteArray fontNameBytes_;
    QString fontName_;

    std::vector<std::optional<QRgb>> colours_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourSet_ = false;

    struct ListDef {
        std::vector<int> levelFormats;  // \levelnfc per level
    };
    std::unordered_map<int, ListDef> lists_;  // by \listid
    std::unordered_map<int, int> overrides_;  // \ls -> \listid
    ListDef listDef_;
    int listId_ = 0;
    bool inList_ = false;
    int overrideListId_ = 0;

    PictureData picture_;
    bool inPicture_ = false;
    int nibble_ = -1;
};

}  // namespace quillmere::rtf
