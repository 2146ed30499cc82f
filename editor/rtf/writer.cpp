// The RTF writer. Output layout, always in this order and plain ASCII:
//
//   {\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Arial;}...}
//   {\colortbl ;\red255\green0\blue0;...}
//   {\*\listtable ...}{\*\listoverridetable ...}        (only with lists)
//   \viewkind4\uc1
//   \pard<paragraph>[<bullet>]<runs>\par               (one line per paragraph;
//   ...                                                 the last has no \par)
//   }
//
// Fonts and colours are numbered in the order of their first use, so the same
// document always gives the same bytes. A run writes only the character
// properties that changed. Code page 1252 characters above 127 are \'hh in
// fonts of the ANSI, default and symbol sets; every other character is \uN?.
#include "editor/rtf/codepage.h"
#include "editor/rtf/picture.h"
#include "editor/rtf/rtf.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <cmath>
#include <vector>

namespace quillmere::rtf {
namespace {

constexpr int kSymbolCharset = 2;
constexpr int kHexPerLine = 128;

struct FontKey {
    QString name;
    int charset = 0;
    bool operator==(const FontKey&) const = default;
};

// The character properties the writer carries, as numbers in the tables.
struct RunState {
    int font = -1;
    int halfPoints = -1;
    int foreground = 0;
    int background = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
};

enum class ListType { Bullet, Decimal, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman, Count };

ListType listTypeOf(QTextListFormat::Style style) {
    switch (style) {
        case QTextListFormat::ListDecimal:
            return ListType::Decimal;
        case QTextListFormat::ListLowerAlpha:
            return ListType::LowerAlpha;
        case QTextListFormat::ListUpperAlpha:
            return ListType::UpperAlpha;
        case QTextListFormat::ListLowerRoman:
            return ListType::LowerRoman;
        case QTextListFormat::ListUpperRoman:
            return ListType::UpperRoman;
        default:
            return ListType::Bullet;
    }
}

// \levelnfc and \pn word of each list type.
struct ListTypeWords {
    int levelFormat;
    const char* pnWord;
};
constexpr ListTypeWords kListWords[] = {
    {23, "\\pnlvlblt"},          {0, "\\pnlvlbody\\pndec"},  {4, "\\pnlvlbody\\pnlcltr"},
    {3, "\\pnlvlbody\\pnucltr"}, {2, "\\pnlvlbody\\pnlcrm"}, {1, "\\pnlvlbody\\pnucrm"},
};

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(doc) {}

    QByteArray write() {
        collect();
        out_.reserve(4096);
        out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0";
        writeFontTable();
        writeColourTable();
        writeListTables();
        out_ += "\\viewkind4\\uc1";
        delimit_ = true;
        for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
            writeBlock(block);
            if (block.next().isValid()) {
                word("\\par");
                out_ += "\r\n";
                delimit_ = false;
            }
        }
        out_ += "}\r\n";
        return out_;
    }

private:
    FontKey fontOf(const QTextCharFormat& format) const {
        FontKey key;
        QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty()) {
            key.name = families.first();
        } else if (format.hasProperty(QTextFormat::FontFamily)) {
            key.name = format.stringProperty(QTextFormat::FontFamily);
        }
        if (key.name.isEmpty()) {
            key.name = doc_.defaultFont().family();
        }
        // As the reader keeps names: no control characters, no ';'.
        key.name.removeIf([](QChar c) { return c.unicode() < 0x20 || c == u';'; });
        key.name = key.name.trimmed();
        key.charset = format.intProperty(kCharsetProperty);
        return key;
    }

    int fontIndex(const FontKey& key) {
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            if (fonts_[i] == key) {
                return static_cast<int>(i);
            }
        }
        fonts_.push_back(key);
        return static_cast<int>(fonts_.size() - 1);
    }

    static std::optional<QRgb> brushColour(const QTextCharFormat& format, QTextFormat::Property p) {
        if (!format.hasProperty(p)) {
            return std::nullopt;
        }
        QBrush brush = format.brushProperty(p);
        if (brush.style() == Qt::NoBrush) {
            return std::nullopt;
        }
        return brush.color().rgb() & 0xFFFFFF;
    }

    int colourIndex(std::optional<QRgb> colour) {
        if (!colour) {
            return 0;
        }
        for (std::size_t i = 0; i < colours_.size(); ++i) {
            if (colours_[i] == *colour) {
                return static_cast<int>(i) + 1;
            }
        }
        colours_.push_back(*colour);
        return static_cast<int>(colours_.size());
    }

    void collectFormat(const QTextCharFormat& format) {
        fontIndex(fontOf(format));
        colourIndex(brushColour(format, QTextFormat::ForegroundBrush));
        colourIndex(brushColour(format, QTextFormat::BackgroundBrush));
    }

    // First pass: fonts, colours and list types in order of first use.
    void collect() {
        for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
            if (block.length() <= 1) {
                collectFormat(block.charFormat());
            }
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                QTextFragment fragment = it.fragment();
                if (!fragment.charFormat().isImageFormat()) {
                    collectFormat(fragment.charFormat());
                }
            }
            // The bullet font comes after the text's own, so \deff0 is a text font.
            if (QTextList* list = block.textList()) {
                ListType type = listTypeOf(list->format().style());
                listsUsed_[static_cast<int>(type)] = true;
                if (type == ListType::Bullet) {
                    symbolFont_ = fontIndex(FontKey{QStringLiteral("Symbol"), kSymbolCharset});
                }
            }
        }
        if (fonts_.empty()) {
            fontIndex(fontOf(QTextCharFormat()));
        }
    }

    void writeFontTable() {
        out_ += "{\\fonttbl";
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            out_ += "{\\f" + QByteArray::number(static_cast<int>(i)) + "\\fnil\\fcharset" +
                    QByteArray::number(fonts_[i].charset);
            delimit_ = true;
            writeText(fonts_[i].name, fonts_[i].charset);
            out_ += ";}";
        }
        out_ += "}\r\n";
    }

    void writeColourTable() {
        out_ += "{\\colortbl ;";
        for (QRgb colour : colours_) {
            out_ += "\\red" + QByteArray::number(qRed(colour)) + "\\green" +
                    QByteArray::number(qGreen(colour)) + "\\blue" +
                    QByteArray::number(qBlue(colour)) + ";";
        }
        out_ += "}\r\n";
    }

    // Current readers number paragraphs from these tables; \pn serves older ones.
    void writeListTables() {
        QByteArray lists;
        QByteArray overrides;
        for (int t = 0; t < static_cast<int>(ListType::Count); ++t) {
            if (!listsUsed_[t]) {
                continue;
            }
            QByteArray id = QByteArray::number(t + 1);
            QByteArray nfc = QByteArray::number(kListWords[t].levelFormat);
            lists += "{\\list\\listtemplateid" + id + "\\listsimple{\\listlevel\\levelnfc" + nfc +
                     "\\levelnfcn" + nfc + "\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1";
            if (t == static_cast<int>(ListType::Bullet)) {
                lists += "{\\leveltext\\'01\\'b7;}{\\levelnumbers;}\\f" +
                         QByteArray::number(symbolFont_);
            } else {
                lists += "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}";
            }
            lists += "\\fi-360\\li720}{\\listname ;}\\listid" + id + "}";
            overrides += "{\\listoverride\\listid" + id + "\\listoverridecount0\\ls" + id + "}";
        }
        if (lists.isEmpty()) {
            return;
        }
        out_ += "{\\*\\listtable" + lists + "}\r\n{\\*\\listoverridetable" + overrides + "}\r\n";
    }

    void writeBlock(const QTextBlock& block) {
        QTextBlockFormat format = block.blockFormat();
        word("\\pard");
        Qt::Alignment a = format.alignment();
        if (a & Qt::AlignJustify) {
            word("\\qj");
        } else if (a & Qt::AlignHCenter) {
            word("\\qc");
        } else if (a & (Qt::AlignRight | Qt::AlignTrailing)) {
            word("\\qr");
        }
        if (QTextList* list = block.textList()) {
            writeNumbering(block, list);
        }
        ParagraphIndent indent = paragraphIndent(format);
        if (indent.offsetTwips != 0) {
            word("\\fi" + QByteArray::number(-indent.offsetTwips));
        }
        if (indent.startTwips + indent.offsetTwips != 0) {
            word("\\li" + QByteArray::number(indent.startTwips + indent.offsetTwips));
        }
        if (block.length() <= 1) {
            setRun(block.charFormat());
            return;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextFragment fragment = it.fragment();
            QTextCharFormat charFormat = fragment.charFormat();
            if (charFormat.isImageFormat()) {
                for (int i = 0; i < fragment.length(); ++i) {
                    writePicture(charFormat.toImageFormat());
                }
                continue;
            }
            setRun(charFormat);
            writeText(fragment.text(), fonts_[static_cast<std::size_t>(run_.font)].charset);
        }
    }

    void writeNumbering(const QTextBlock& block, QTextList* list) {
        const QTextListFormat listFormat = list->format();
        int type = static_cast<int>(listTypeOf(listFormat.style()));
        QByteArray id = QByteArray::number(type + 1);
        bool bullet = type == static_cast<int>(ListType::Bullet);
        const int fontIndex = bullet ? symbolFont_ : 0;
        QByteArray font = QByteArray::number(fontIndex);
        out_ += "{\\pntext\\f" + font + " ";
        if (bullet) {
            out_ += "\\'b7";
        } else {
            delimit_ = false;
            writeText(listLabelOf(block), fonts_[static_cast<std::size_t>(fontIndex)].charset);
        }
        out_ +=
            "\\tab}{\\*\\pn" + QByteArray(kListWords[type].pnWord) + "\\pnf" + font + "\\pnindent0";
        if (bullet) {
            out_ += "{\\pntxtb\\'b7}}";
        } else if (!listFormat.hasProperty(QTextFormat::ListNumberPrefix) &&
                   !listFormat.hasProperty(QTextFormat::ListNumberSuffix)) {
            out_ += "{\\pntxta.}}";  // the default: no prefix, "." after
        } else {
            writeAffix("\\pntxtb", listFormat.numberPrefix());
            writeAffix("\\pntxta", listFormat.hasProperty(QTextFormat::ListNumberSuffix)
                                       ? listFormat.numberSuffix()
                                       : QStringLiteral("."));
            out_ += "}";
        }
        word("\\ls" + id);
        const int level = listFormat.hasProperty(kListLevelProperty)
                              ? listFormat.intProperty(kListLevelProperty)
                              : listFormat.indent() - 1;
        word("\\ilvl" + QByteArray::number(std::clamp(level, 0, 8)));
    }

    // The text before or after a number, in its \\pn group.
    void writeAffix(const char* control, const QString& text) {
        if (text.isEmpty()) {
            return;
        }
        out_ += "{";
        word(control);
        writeText(text, fonts_.front().charset);
        out_ += "}";
        delimit_ = false;
    }

    void setRun(const QTextCharFormat& format) {
        RunState next;
        next.font = fontIndex(fontOf(format));
        double points = format.hasProperty(QTextFormat::FontPointSize)
                            ? format.fontPointSize()
                            : doc_.defaultFont().pointSizeF();
        if (points <= 0) {
            points = 12;
        }
        next.halfPoints = std::clamp(static_cast<int>(std::lround(points * 2)), 1, 3276);
        next.foreground = colourIndex(brushColour(format, QTextFormat::ForegroundBrush));
        next.background = colourIndex(brushColour(format, QTextFormat::BackgroundBrush));
        next.bold = format.fontWeight() >= QFont::DemiBold;
        next.italic = format.fontItalic();
        next.underline = format.fontUnderline();
        next.strike = format.fontStrikeOut();
        if (next.font != run_.font) {
            word("\\f" + QByteArray::number(next.font));
        }
        if (next.halfPoints != run_.halfPoints) {
            word("\\fs" + QByteArray::number(next.halfPoints));
        }
        if (next.foreground != run_.foreground) {
            word("\\cf" + QByteArray::number(next.foreground));
        }
        if (next.background != run_.background) {
            word("\\highlight" + QByteArray::number(next.background));
        }
        if (next.bold != run_.bold) {
            word(next.bold ? "\\b" : "\\b0");
        }
        if (next.italic != run_.italic) {
            word(next.italic ? "\\i" : "\\i0");
        }
        if (next.underline != run_.underline) {
            word(next.underline ? "\\ul" : "\\ulnone");
        }
        if (next.strike != run_.strike) {
            word(next.strike ? "\\strike" : "\\strike0");
        }
        run_ = next;
    }

    void word(const QByteArray& control) {
        out_ += control;
        delimit_ = true;
    }

    void literal(char c) {
        if (delimit_) {
            out_ += ' ';
            delimit_ = false;
        }
        out_ += c;
    }

    void writeText(const QString& text, int charset) {
        const bool ansi = charset == 0 || charset == 1 || charset == kSymbolCharset;
        const int codePage = ansi ? kCodePage1252 : codePageOfCharset(charset, kCodePage1252);
        for (QChar qc : text) {
            char16_t c = qc.unicode();
            if (c >= 0x20 && c < 0x80 && !ansi && !readsAsciiAsItself(codePage, c)) {
                // The font's page reads this byte as another character (a
                // backslash is the won sign in Johab): written by its value.
                out_ += "\\u" + QByteArray::number(int(c)) + "?";
                delimit_ = false;
            } else if (c == '\\' || c == '{' || c == '}') {
                literal('\\');
                out_ += static_cast<char>(c);
            } else if (c == '\t') {
                word("\\tab");
            } else if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
                word("\\line");
            } else if (c < 0x20 || c == QChar::ObjectReplacementCharacter) {
                continue;
            } else if (c < 0x80) {
                literal(static_cast<char>(c));
            } else if (unsigned char b = ansi ? encodeCp1252(c) : 0) {
                static const char* const digits = "0123456789abcdef";
                out_ += "\\'";
                out_ += digits[b >> 4];
                out_ += digits[b & 15];
                delimit_ = false;
            } else {
                out_ += "\\u" + QByteArray::number(static_cast<int>(static_cast<int16_t>(c))) + "?";
                delimit_ = false;
            }
        }
    }

    void writePicture(const QTextImageFormat& format) {
        PictureData stored;
        stored.header = format.stringProperty(kPictureHeaderProperty);
        stored.data = format.property(kPictureDataProperty).toByteArray();
        stored.binary = format.boolProperty(kPictureBinaryProperty);
        stored.fallbackHeader = format.stringProperty(kPictureFallbackHeaderProperty);
        stored.fallbackData = format.property(kPictureFallbackDataProperty).toByteArray();
        stored.fallbackBinary = format.boolProperty(kPictureFallbackBinaryProperty);
        if (stored.header.isEmpty()) {
            QImage image = pictureImage(doc_, format);
            if (image.isNull()) {
                return;  // nothing to show and nothing stored
            }
            QSize size(static_cast<int>(std::lround(format.width())),
                       static_cast<int>(std::lround(format.height())));
            stored = storedPictureOf(image, size.isValid() && !size.isEmpty() ? size : QSize());
        }
        appendPictureGroup(out_, stored);
        delimit_ = false;
    }

    const QTextDocument& doc_;
    std::vector<FontKey> fonts_;
    std::vector<QRgb> colours_;
    bool listsUsed_[static_cast<int>(ListType::Count)] = {};
    int symbolFont_ = 0;
    RunState run_;
    bool delimit_ = false;
    QByteArray out_;
};

}  // namespace

namespace {

void appendPict(QByteArray& out, const QString& header, const QByteArray& data, bool binary) {
    if (binary) {
        // The bytes as they are: "\binN", its delimiting blank, N bytes.
        out += "{\\pict" + header.toLatin1() + "\\bin" + QByteArray::number(data.size()) + ' ';
        out += data;
        out += '}';
        return;
    }
    out += "{\\pict" + header.toLatin1() + "\r\n";
    const QByteArray hex = data.toHex();
    out.reserve(out.size() + hex.size() + (hex.size() / kHexPerLine + 1) * 2 + 1);
    for (qsizetype i = 0; i < hex.size(); i += kHexPerLine) {
        out.append(hex.constData() + i, std::min<qsizetype>(kHexPerLine, hex.size() - i));
        out += "\r\n";
    }
    out += '}';
}

}  // namespace

void appendPictureGroup(QByteArray& out, const PictureData& picture) {
    if (picture.fallbackHeader.isEmpty()) {
        appendPict(out, picture.header, picture.data, picture.binary);
        return;
    }
    out += "{\\*\\shppict";
    appendPict(out, picture.header, picture.data, picture.binary);
    out += "}{\\nonshppict";
    appendPict(out, picture.fallbackHeader, picture.fallbackData, picture.fallbackBinary);
    out += '}';
}

QByteArray writeRtf(const QTextDocument& doc) {
    return Writer(doc).write();
}

}  // namespace quillmere::rtf
