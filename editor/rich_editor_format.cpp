// The editor control: character and paragraph formats of the selection, and
// find. Formats follow the RTF library's document model (editor/rtf/rtf.h).
#include "editor/rich_editor.h"

#include "editor/rtf/rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <vector>

namespace quillmere {

namespace {

constexpr int kTwipsPerPoint = 20;

bool isBulletBlock(const QTextBlock& block) {
    const QTextList* list = block.textList();
    if (list == nullptr) {
        return false;
    }
    const QTextListFormat::Style style = list->format().style();
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

// The list a newly bulleted paragraph joins: a round bullet whose place the
// paragraph's own indent decides.
QTextListFormat bulletListFormat() {
    QTextListFormat format;
    format.setStyle(QTextListFormat::ListDisc);
    format.setIndent(0);
    return format;
}

// One run of equal character format inside the range being changed.
struct FormatRun {
    int start;
    int end;
    QTextCharFormat format;
};

std::vector<FormatRun> runsInRange(const QTextDocument& document, int start, int end) {
    std::vector<FormatRun> runs;
    for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() <= end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(fragment.position(), start);
            const int to = std::min(fragment.position() + fragment.length(), end);
            if (from < to) {
                runs.push_back({from, to, fragment.charFormat()});
            }
        }
    }
    return runs;
}

}  // namespace

// --- Character format -------------------------------------------------------

QFont RichEditor::resolvedFont(const QTextCharFormat& format) const {
    // The face and size come from the document's default font; the styles a
    // format leaves open are plain (the document's text is never styled by
    // default), never those of the parent widget.
    QFont base = document() != nullptr ? document()->defaultFont() : font();
    base.setWeight(QFont::Normal);
    base.setItalic(false);
    base.setUnderline(false);
    base.setStrikeOut(false);
    base.setOverline(false);
    QFont font = format.font().resolve(base);
    // Every property set explicitly: a widget font that leaves one open
    // inherits it from the parent (a bold panel caption made the editor bold).
    font.setFamilies(font.families().isEmpty() ? QStringList{font.family()} : font.families());
    if (font.pixelSize() > 0) {
        font.setPixelSize(font.pixelSize());
    } else {
        font.setPointSizeF(font.pointSizeF());
    }
    font.setWeight(font.weight());
    font.setItalic(font.italic());
    font.setUnderline(font.underline());
    font.setStrikeOut(font.strikeOut());
    font.setOverline(font.overline());
    font.setStretch(font.stretch());
    font.setCapitalization(font.capitalization());
    font.setLetterSpacing(font.letterSpacingType(), font.letterSpacing());
    font.setWordSpacing(font.wordSpacing());
    font.setKerning(font.kerning());
    font.setStyleStrategy(font.styleStrategy());
    font.setStyleHint(font.styleHint(), font.styleStrategy());
    font.setFixedPitch(font.fixedPitch());
    font.setHintingPreference(font.hintingPreference());
    return font;
}

// The format the style commands read: that of the first selected character,
// or the insertion format when nothing is selected.
QTextCharFormat RichEditor::formatAtSelection() const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        return cursor.charFormat();
    }
    QTextCursor probe(document());
    probe.setPosition(cursor.selectionStart() + 1);
    return probe.charFormat();
}

void RichEditor::mergeIntoSelection(const QTextCharFormat& format) {
    if (!plainTextMode_) {
        mergeCurrentCharFormat(format);
        return;
    }
    // Plain text has one character format: a change applies to all of it.
    QTextCursor all(document());
    all.beginEditBlock();
    applyFormatToAll(format);
    all.endEditBlock();
}

void RichEditor::clearFromSelection(QTextFormat::Property property) {
    QTextCursor caret = textCursor();
    if (!caret.hasSelection() && !plainTextMode_) {
        QTextCharFormat insertion = caret.charFormat();
        insertion.clearProperty(property);
        caret.setCharFormat(insertion);
        setTextCursor(caret);
        return;
    }
    const int start = plainTextMode_ ? 0 : caret.selectionStart();
    const int end = plainTextMode_ ? document()->characterCount() - 1 : caret.selectionEnd();
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (FormatRun& run : runsInRange(*document(), start, end)) {
        run.format.clearProperty(property);
        edit.setPosition(run.start);
        edit.setPosition(run.end, QTextCursor::KeepAnchor);
        edit.setCharFormat(run.format);
    }
    // Empty paragraphs inside the range type in their block's format.
    for (QTextBlock block = document()->findBlock(start);
         block.isValid() && block.position() <= end; block = block.next()) {
        QTextCharFormat blockFormat = block.charFormat();
        if (block.length() == 1 && blockFormat.hasProperty(property)) {
            blockFormat.clearProperty(property);
            QTextCursor(block).setBlockCharFormat(blockFormat);
        }
    }
    edit.endEditBlock();
}

CharStyles RichEditor::selectionStyles() const {
    const QTextCharFormat format = formatAtSelection();
    return {format.fontWeight() >= QFont::DemiBold, format.fontItalic(), format.fontUnderline(),
            format.fontStrikeOut()};
}

void RichEditor::setSelectionStyles(const CharStyles& styles) {
    QTextCharFormat format;
    format.setFontWeight(styles.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(styles.italic);
    format.setFontUnderline(styles.underline);
    format.setFontStrikeOut(styles.strikeOut);
    mergeIntoSelection(format);
}

QString RichEditor::selectionFontName() const {
    return resolvedFont(formatAtSelection()).family();
}

void RichEditor::setSelectionFontName(const QString& name) {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{name.left(kMaxFaceNameLength)});
    mergeIntoSelection(format);
}

int RichEditor::selectionFontSize() const {
    const QFont font = resolvedFont(formatAtSelection());
    if (font.pointSizeF() > 0) {
        return qRound(font.pointSizeF());
    }
    // A font given in pixels (pasted from elsewhere): points at 96 dpi.
    return qRound(font.pixelSize() * 72 / 96.0);
}

void RichEditor::setSelectionFontSize(int points) {
    QTextCharFormat format;
    format.setFontPointSize(std::clamp(points, kMinPointSize, kMaxPointSize));
    mergeIntoSelection(format);
}

bool RichEditor::isSelectionTextColorAutomatic() const {
    const QTextCharFormat format = formatAtSelection();
    return !format.hasProperty(QTextFormat::ForegroundBrush) ||
           format.foreground().style() == Qt::NoBrush;
}

QColor RichEditor::selectionTextColor() const {
    return isSelectionTextColorAutomatic() ? palette().color(QPalette::Text)
                                           : formatAtSelection().foreground().color();
}

void RichEditor::setSelectionTextColor(const QColor& color) {
    QTextCharFormat format;
    format.setForeground(color);
    mergeIntoSelection(format);
}

void RichEditor::setSelectionTextColorAutomatic() {
    clearFromSelection(QTextFormat::ForegroundBrush);
}

bool RichEditor::isSelectionBackgroundAutomatic() const {
    const QTextCharFormat format = formatAtSelection();
    return !format.hasProperty(QTextFormat::BackgroundBrush) ||
           format.background().style() == Qt::NoBrush;
}

QColor RichEditor::selectionBackgroundColor() const {
    return isSelectionBackgroundAutomatic() ? palette().color(QPalette::Base)
                                            : formatAtSelection().background().color();
}

void RichEditor::setSelectionBackgroundColor(const QColor& color) {
    QTextCharFormat format;
    format.setBackground(color);
    mergeIntoSelection(format);
}

void RichEditor::setSelectionBackgroundAutomatic() {
    clearFromSelection(QTextFormat::BackgroundBrush);
}

int RichEditor::selectionCharset() const {
    return formatAtSelection().intProperty(rtf::kCharsetProperty);
}

void RichEditor::setSelectionCharset(int charset) {
    QTextCharFormat format;
    format.setProperty(rtf::kCharsetProperty, charset);
    mergeIntoSelection(format);
}

bool RichEditor::isSelectionLink() const {
    return linkAt(selectionStart()).has_value();
}

// --- Paragraph format -------------------------------------------------------

ParagraphAlignment RichEditor::paragraphAlignment() const {
    const QTextBlock block = document()->findBlock(textCursor().selectionStart());
    const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignJustify) {
        return ParagraphAlignment::Justify;
    }
    if (alignment & Qt::AlignHCenter) {
        return ParagraphAlignment::Center;
    }
    if (alignment & Qt::AlignRight) {
        return ParagraphAlignment::Right;
    }
    return ParagraphAlignment::Left;
}

void RichEditor::setParagraphAlignment(ParagraphAlignment alignment) {
    Qt::Alignment value = Qt::AlignLeft;
    switch (alignment) {
        case ParagraphAlignment::Left:
            value = Qt::AlignLeft;
            break;
        case ParagraphAlignment::Right:
            value = Qt::AlignRight;
            break;
        case ParagraphAlignment::Center:
            value = Qt::AlignHCenter;
            break;
        case ParagraphAlignment::Justify:
            value = Qt::AlignJustify;
            break;
    }
    QTextBlockFormat format;
    format.setAlignment(value);
    QTextCursor cursor = textCursor();
    cursor.mergeBlockFormat(format);
}

bool RichEditor::isParagraphBullet() const {
    QTextCursor cursor = textCursor();
    return isBulletBlock(document()->findBlock(cursor.selectionStart()));
}

void RichEditor::setParagraphBullet(bool bullet) {
    setIndentOfSelection(std::nullopt, bullet);
}

int RichEditor::paragraphLeftOffset() const {
    const QTextBlock block = document()->findBlock(textCursor().selectionStart());
    return qRound(rtf::paragraphIndent(block.blockFormat()).offsetTwips / double(kTwipsPerPoint));
}

void RichEditor::setParagraphLeftOffset(int points) {
    setIndentOfSelection(points, std::nullopt);
}

// Sets the left offset and/or the bullet of every paragraph the selection
// touches, as one undo step; the display margins follow both.
void RichEditor::setIndentOfSelection(std::optional<int> offsetPoints, std::optional<bool> bullet) {
    const QTextCursor caret = textCursor();
    const int start = caret.selectionStart();
    const int end = caret.selectionEnd();
    QTextCursor edit(document());
    edit.beginEditBlock();
    QTextList* list = nullptr;
    for (QTextBlock block = document()->findBlock(start);
         block.isValid() && block.position() <= end; block = block.next()) {
        QTextCursor at(block);
        const bool wasBullet = isBulletBlock(block);
        const bool isBullet = bullet.value_or(wasBullet);
        if (isBullet && !wasBullet && list == nullptr) {
            list = at.createList(bulletListFormat());
        }
        QTextBlockFormat format = block.blockFormat();
        if (isBullet && !wasBullet) {
            format.setObjectIndex(list->objectIndex());
        } else if (!isBullet && block.textList() != nullptr) {
            format.setObjectIndex(-1);
        }
        rtf::ParagraphIndent indent = rtf::paragraphIndent(format);
        if (offsetPoints) {
            indent.offsetTwips = *offsetPoints * kTwipsPerPoint;
        }
        rtf::setParagraphIndent(format, indent, isBullet);
        at.setBlockFormat(format);
    }
    edit.endEditBlock();
}

// --- Undo -------------------------------------------------------------------

bool RichEditor::canUndo() const {
    return document()->isUndoAvailable();
}

bool RichEditor::canRedo() const {
    return document()->isRedoAvailable();
}

// --- Find -------------------------------------------------------------------

int RichEditor::findText(const QString& needle, int from, int to,
                         const FindOptions& options) const {
    return findInText(toPlainText(), needle, from, to, options);
}

std::optional<TextRange> RichEditor::findNext(const QString& needle, const FindOptions& options) {
    const QString text = toPlainText();
    const QTextCursor caret = textCursor();
    const int from = options.forward ? caret.selectionEnd() : 0;
    const int to = options.forward ? int(text.size()) : caret.selectionStart();
    const int hit = findInText(text, needle, from, to, options);
    if (hit < 0) {
        return std::nullopt;
    }
    const TextRange range{hit, int(needle.size())};
    setSelection(range.start, range.length);
    ensureCursorVisible();
    return range;
}

}  // namespace quillmere
