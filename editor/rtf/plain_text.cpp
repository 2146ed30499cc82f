// Plain-text files: reading their bytes into a document and writing a
// document as one.
//
// Text files come from two worlds: Linux programs write UTF-8, Windows
// programs write code page 1252 (and Notepad's "Unicode" writes UTF-16 with a
// byte-order mark). A file is read as
//
//   FF FE ...        UTF-16, little-endian
//   FE FF ...        UTF-16, big-endian
//   EF BB BF ...     UTF-8 after the mark, when the rest is valid UTF-8
//   anything else    UTF-8 when the bytes are valid UTF-8, else code page 1252
//
// Code page 1252 text with accented letters is practically never valid UTF-8,
// so the test tells the two apart. Files are written as UTF-8 without a mark
// and with LF line ends, as Linux programs expect.
#include "editor/rtf/codepage.h"
#include "editor/rtf/rtf.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>

namespace quillmere::rtf {
namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr int kUtf8MarkSize = 3;
constexpr unsigned char kUtf16LeMark[] = {0xFF, 0xFE};
constexpr unsigned char kUtf16BeMark[] = {0xFE, 0xFF};
constexpr char kLineEnd = '\n';

bool startsWith(const QByteArray& bytes, const unsigned char (&mark)[2]) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == mark[0] &&
           static_cast<unsigned char>(bytes[1]) == mark[1];
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no
// sequence cut short.
bool isValidUtf8(const char* data, qsizetype size) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const auto* end = p + size;
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int trail = 0;
        unsigned char low = 0x80;   // smallest allowed first trail byte
        unsigned char high = 0xBF;  // largest allowed first trail byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
        } else if (lead == 0xE0) {
            trail = 2;
            low = 0xA0;  // no overlong three-byte forms
        } else if (lead >= 0xE1 && lead <= 0xEC) {
            trail = 2;
        } else if (lead == 0xED) {
            trail = 2;
            high = 0x9F;  // no surrogates
        } else if (lead >= 0xEE && lead <= 0xEF) {
            trail = 2;
        } else if (lead == 0xF0) {
            trail = 3;
            low = 0x90;  // no overlong four-byte forms
        } else if (lead >= 0xF1 && lead <= 0xF3) {
            trail = 3;
        } else if (lead == 0xF4) {
            trail = 3;
            high = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (end - p <= trail) {
            return false;
        }
        if (p[1] < low || p[1] > high) {
            return false;
        }
        for (int i = 2; i <= trail; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
        }
        p += trail + 1;
    }
    return true;
}

QString decodeUtf16(const QByteArray& bytes, QStringConverter::Encoding encoding) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    // The decoder drops the byte-order mark itself.
    return decoder.decode(bytes);
}

}  // namespace

QString decodePlainText(const QByteArray& bytes) {
    if (startsWith(bytes, kUtf16LeMark)) {
        return decodeUtf16(bytes, QStringConverter::Utf16LE);
    }
    if (startsWith(bytes, kUtf16BeMark)) {
        return decodeUtf16(bytes, QStringConverter::Utf16BE);
    }
    const bool marked = bytes.startsWith(kUtf8Mark);
    const char* data = bytes.constData() + (marked ? kUtf8MarkSize : 0);
    const qsizetype size = bytes.size() - (marked ? kUtf8MarkSize : 0);
    if (isValidUtf8(data, size)) {
        return QString::fromUtf8(data, size);
    }
    QString text;
    appendDecoded(kCodePage1252, data, static_cast<std::size_t>(size), text);
    return text;
}

void readPlainText(const QByteArray& bytes, QTextDocument& doc) {
    QString text = decodePlainText(bytes);
    if (text.contains(QChar(u'\0'))) {
        throw RtfError(QCoreApplication::translate("quillmere::Rtf", "The data is not text: it holds NUL bytes."));
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    QTextCursor cursor(&doc);
    cursor.insertText(text);
    doc.setUndoRedoEnabled(undo);
}

QString listLabelOf(const QTextBlock& block) {
    QTextList* list = block.textList();
    if (list == nullptr) {
        return {};
    }
    switch (list->format().style()) {
        case QTextListFormat::ListDisc:
            return QString(QChar(0x2022));
        case QTextListFormat::ListCircle:
            return QString(QChar(0x25E6));
        case QTextListFormat::ListSquare:
            return QString(QChar(0x25AA));
        case QTextListFormat::ListStyleUndefined:
            return {};
        default:
            break;
    }
    // Qt puts the suffix first in a right-to-left paragraph; the label is
    // kept in reading order, prefix first. A list without its own prefix
    // and suffix has none and "." (numberSuffix() is empty then).
    const QTextListFormat format = list->format();
    const QString prefix = format.numberPrefix();
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                             : QStringLiteral(".");
    const QString text = list->itemText(block);
    const QString& first = block.textDirection() == Qt::RightToLeft ? suffix : prefix;
    const qsizetype digits = text.size() - prefix.size() - suffix.size();
    return prefix + text.mid(first.size(), std::max<qsizetype>(digits, 0)) + suffix;
}

QByteArray writePlainText(const QTextDocument& doc) {
    QString out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (const QString label = listLabelOf(block); !label.isEmpty()) {
            out += label;
            out += u' ';
        }
        for (QChar qc : block.text()) {
            const char16_t c = qc.unicode();
            if (c == QChar::ObjectReplacementCharacter) {
                continue;  // a picture
            }
            if (c == QChar::LineSeparator) {
                out += QChar(kLineEnd);
            } else if (c == QChar::Nbsp) {
                out += u' ';
            } else {
                out += qc;
            }
        }
        if (block.next().isValid()) {
            out += QChar(kLineEnd);
        }
    }
    return out.toUtf8();
}

}  // namespace quillmere::rtf
