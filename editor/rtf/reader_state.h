// The character, paragraph, font and picture states the RTF interpreter
// keeps while it reads, and that its sinks read back at each call. Plain
// values: nothing here throws.
#pragma once

#include <QByteArray>
#include <QString>

namespace quillmere::rtf {

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
    // The bytes were given as \binN raw data (written back the same way);
    // false for hex digits.
    bool binary = false;
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
    bool fallbackBinary = false;
};

}  // namespace quillmere::rtf
