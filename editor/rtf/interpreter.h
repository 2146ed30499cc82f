// The RTF state machine shared by the document reader and the fast plain-text
// path, so the two can never disagree about which text an entry shows.
//
// It walks the tokens once, keeps the group states on an explicit stack (no
// recursion on the machine stack; at most kMaxGroupDepth open groups, deeper
// input is reported as damaged), and dispatches each token: formatting words
// to the group's state, table and picture words to their readers
// (font_table.h, colour_table.h, lists.h, pict_reader.h), text to the text
// run (text_run.h) in each font's code page. It skips destinations that hold
// no visible text (also every unknown \* destination), and reports the
// visible content to an RtfSink: clean text runs, line breaks, paragraph
// ends and pictures. The sink reads the character and paragraph state in
// force from the interpreter at each call.
//
// Shapes: the properties of a shape ({\sp{\sn NAME}{\sv VALUE}}) are never
// text. The text of a text box, {\shptxt ...} inside {\*\shpinst ...} and
// {\dptxbxtext ...} inside an old drawing object {\*\do ...}, is shown as
// paragraphs of its own at the place of the shape; the paragraph around the
// shape goes on after them with its own paragraph state. A \shprslt holds
// the same shape for readers that do not know shapes: its pictures are read,
// its drawing objects are not (their text came from \shpinst).
#pragma once

#include "editor/rtf/colour_table.h"
#include "editor/rtf/font_table.h"
#include "editor/rtf/lists.h"
#include "editor/rtf/pict_reader.h"
#include "editor/rtf/reader_state.h"
#include "editor/rtf/text_run.h"
#include "editor/rtf/tokenizer.h"

#include <QByteArray>
#include <QRgb>
#include <QString>

#include <optional>
#include <vector>

namespace quillmere::rtf {

// Open groups the reader follows; a deeper RTF is reported as damaged.
constexpr int kMaxGroupDepth = 2000;

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
    // The label a writer stored for the paragraph being read ({\listtext}
    // or {\pntext}, for readers that do not number paragraphs themselves),
    // as text; it comes before the paragraph's end.
    virtual void listLabel(const QString& /*label*/) {}
};

class Interpreter {
public:
    explicit Interpreter(RtfSink& sink) : sink_(sink) {}

    // Pictures reach the sink without their bytes, which are passed over
    // unread: for a reader that only wants the text.
    void passOverPictureData() { picture_.setKeepData(false); }

    // Reads the whole RTF. Throws RtfError when it does not start with
    // "{\rtf" or nests groups more than kMaxGroupDepth deep. Missing closing
    // braces at the end are forgiven; bytes after the last one are ignored.
    void run(const QByteArray& rtf);

    // State in force for the sink's calls.
    const CharState& charState() const { return stack_.back().chars; }
    const ParaState& paraState() const { return para_; }
    // The font of a state's \fN (the default font for -1), or nullptr.
    const FontEntry* font(int id) const { return fonts_.font(id); }
    // A colour table entry; nullopt for automatic or a missing entry.
    std::optional<QRgb> colour(int index) const { return colours_.colour(index); }
    // True when the text of the sink's current text() call may hold a
    // no-break space (U+00A0); false means it surely holds none.
    bool textMayHoldNoBreakSpace() const { return run_.mayHoldNoBreakSpace(); }
    // What a paragraph with this state is in lists: its kind and level.
    ListKind listKind(const ParaState& para) const { return lists_.listKind(para); }
    int listLevel(const ParaState& para) const { return lists_.listLevel(para); }

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
        Alternate,  // a \nonshppict group: only its \pict is read
        Shape,      // \*\shpinst or \*\do: only text boxes are shown
        Label,      // \listtext or \pntext: read into label_
        Upr         // \upr: only its {\*\ud ...} part is shown
    };
    struct Group {
        CharState chars;
        Dest dest = Dest::Normal;
        bool ownsDest = false;
        bool shape = false;        // inside \shppict
        bool shapeResult = false;  // inside \shprslt
        bool textBox = false;      // this group is a \shptxt or \dptxbxtext
        int unicodeSkip = 1;       // \ucN
    };

    void checkStart(const QByteArray& rtf) const;
    void openGroup();
    void closeGroup();
    void word(const Token& token, Tokenizer& tokenizer);
    bool destinationWord(int id, Tokenizer& tokenizer);
    bool beginPicture(Tokenizer& tokenizer);
    void destinationContentWord(int id, const Token& token);
    void normalWord(int id, const Token& token);
    bool documentWord(int id, int param);
    void contentWord(int id);
    void symbol(char c);
    void textBytes(std::string_view bytes, std::size_t readable);
    void hexByte(unsigned char byte);
    void unicodeChar(int value);
    void flush();
    void decodePending();
    void appendVisibleChar(char16_t c);
    void appendVisibleBytes(const ByteTable& table, std::string_view bytes, std::size_t readable);
    void appendVisibleDoubleBytes(const DoubleByteTable& table, std::string_view bytes,
                                  std::size_t readable);
    void dropLead();
    void takeRawTrail(Tokenizer& tokenizer);
    void beginDest(Dest dest);
    void skipRest(Tokenizer& tokenizer);
    void commitFont();
    void finishPicture();
    bool shapeWord(int id, Tokenizer& tokenizer);
    void beginTextBox();
    void endTextBox();
    void sendParagraphEnd();
    void sendLineBreak();

    RtfSink& sink_;
    std::vector<Group> stack_;
    Group finalGroup_;
    ParaState para_;
    bool starPending_ = false;
    int skipChars_ = 0;
    // The sink's current paragraph holds something (text, a break, a
    // picture) since its last paragraph end.
    bool paragraphHasContent_ = false;
    // The paragraph state around each open text box, restored at its end.
    std::vector<ParaState> outerParas_;
    QString label_;      // the \listtext or \pntext being read
    int footnotes_ = 0;  // footnote references (\chftn) shown so far

    PendingBytes pending_;  // text not yet decoded
    char pendingByte_ = 0;  // a byte from \'hh or an escaped symbol
    // Visible text in the state in force, not yet sent to the sink. Text of
    // pages read through a table is decoded into it as it comes.
    TextRun run_;
    // A lead byte of a double-byte page waiting for its trail byte, which
    // the next piece of text brings; 0 when none. A lead written as a raw
    // byte also takes a raw '\', '{' or '}' after it as its trail.
    unsigned char lead_ = 0;
    bool leadRaw_ = false;
    const DoubleByteTable* leadTable_ = nullptr;

    FontTable fonts_;
    ColourTable colours_;
    ListTables lists_;
    PictReader picture_;
};

}  // namespace quillmere::rtf
