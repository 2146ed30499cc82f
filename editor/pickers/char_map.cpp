#include "editor/pickers/char_map.h"

#include "editor/rtf/codepage.h"

#include <QFontDatabase>
#include <QPainter>
#include <QRawFont>

namespace quillmere {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isControlCode(int code) {
    return code < 0x20 || code == 0x7F;
}

}  // namespace

int charMapCode(int column, int row) {
    if (column < 0 || column >= kCharMapColumns || row < 0 || row >= kCharMapRows) {
        return -1;
    }
    return (kCharMapColumns * row + column) % kCharMapCodes;
}

QString charMapText(int code, CodeMapping mapping) {
    if (code < 0 || code >= kCharMapCodes || isControlCode(code)) {
        return {};
    }
    if (mapping == CodeMapping::SymbolPrivateUse) {
        return QString(QChar(static_cast<char16_t>(kSymbolFontBase + code)));
    }
    if (mapping == CodeMapping::SymbolLatin1) {
        // 128 to 159 are Latin-1's second block of control codes.
        return code >= 0x80 && code < 0xA0 ? QString()
                                           : QString(QChar(static_cast<char16_t>(code)));
    }
    // The page table is the one the RTF reader decodes 1252 text with, so a
    // character inserted from the map is stored as the same byte.
    const char16_t ch = (*rtf::byteTable(rtf::kCodePage1252))[static_cast<std::size_t>(code)];
    if (ch == kReplacement) {
        return {};
    }
    return QString(QChar(ch));
}

int charMapCodeOfText(const QString& text, CodeMapping mapping) {
    if (text.size() != 1) {
        return -1;
    }
    const char16_t ch = text.at(0).unicode();
    int code = -1;
    if (mapping == CodeMapping::SymbolPrivateUse) {
        if (ch >= kSymbolFontBase && ch < kSymbolFontBase + kCharMapCodes) {
            code = ch - kSymbolFontBase;
        }
    } else if (mapping == CodeMapping::SymbolLatin1) {
        code = ch < kCharMapCodes ? ch : -1;
    } else if (ch < 0x80) {
        code = ch;
    } else {
        const unsigned char byte = rtf::encodeCp1252(ch);
        code = byte == 0 ? -1 : byte;
    }
    return code >= 0 && charMapText(code, mapping) == text ? code : -1;
}

QString altCodeLabel(int code) {
    return QLatin1Char('0') + QString::number(code);
}

CodeMapping codeMappingOf(const QString& family) {
    if (!QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol)) {
        return CodeMapping::CodePage1252;
    }
    const QRawFont raw = QRawFont::fromFont(QFont(family));
    for (int code = 0x20; code < kCharMapCodes; ++code) {
        if (raw.supportsCharacter(QChar(static_cast<char16_t>(kSymbolFontBase + code)))) {
            return CodeMapping::SymbolPrivateUse;
        }
    }
    return CodeMapping::SymbolLatin1;
}

QImage renderCharPreview(const QString& text, const QFont& font, const QColor& color) {
    QImage image(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    // The outline covers the first and last row and column.
    painter.drawRect(0, 0, kPreviewWidth - 1, kPreviewHeight - 1);
    QFont large = font;
    large.setPointSize(kPreviewPointSize);
    painter.setFont(large);
    painter.setPen(color);
    // The area inside the outline; no mnemonic '&' processing.
    const QRect inside(1, 1, kPreviewWidth - 2, kPreviewHeight - 2);
    painter.setClipRect(inside);
    painter.drawText(inside, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.end();
    return image;
}

}  // namespace quillmere
