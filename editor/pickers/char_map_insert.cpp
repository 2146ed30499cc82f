#include "editor/pickers/char_map_insert.h"

#include "editor/pickers/char_map_window.h"
#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextCursor>

namespace quillmere {

QTextCharFormat CharMapInsertionFormat(const RichEditor& editor, const TDLLForm& map) {
    QTextCharFormat format;
    format.setFontFamilies(
        QStringList{map.gridFont().family().left(RichEditor::kMaxFaceNameLength)});
    // The ANSI set is what text carries without the property.
    if (map.gridCharset() != 0) {
        format.setProperty(rtf::kCharsetProperty, map.gridCharset());
    } else {
        format.clearProperty(rtf::kCharsetProperty);
    }
    format.setFontWeight(QFont::Normal);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    format.setFontStrikeOut(false);
    format.setFontPointSize(editor.selectionFontSize());
    if (editor.isSelectionTextColorAutomatic()) {
        format.clearForeground();
    } else {
        format.setForeground(editor.selectionTextColor());
    }
    return format;
}

void PasteInFormat(RichEditor& editor, const QTextCharFormat& format) {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText() || data->text().isEmpty()) {
        return;
    }
    QTextCursor cursor = editor.textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    if (editor.isPlainTextMode()) {
        // Plain text has one format for all of it: the text takes that one.
        cursor.insertText(data->text());
    } else {
        // Properties the insertion format leaves alone (the highlight
        // colour) stay as the text before the caret has them.
        QTextCharFormat insertion = cursor.charFormat();
        insertion.merge(format);
        // Automatic colour and the ANSI set are the absence of a property.
        for (const int property : {int(QTextFormat::ForegroundBrush), int(rtf::kCharsetProperty)}) {
            if (!format.hasProperty(property)) {
                insertion.clearProperty(property);
            }
        }
        cursor.insertText(data->text(), insertion);
    }
    cursor.endEditBlock();
    editor.setTextCursor(cursor);
    editor.ensureCursorVisible();
    editor.setFocus();
}

bool InsertFromCharacterMap(RichEditor& editor, TDLLForm& map,
                            const std::function<int(TDLLForm&)>& showModal) {
    map.setFontName(editor.selectionFontName());
    const int result = showModal ? showModal(map) : map.exec();
    if (result != QDialog::Accepted || map.insertedText().isEmpty()) {
        return false;
    }
    const QTextCharFormat format = CharMapInsertionFormat(editor, map);
    PasteInFormat(editor, format);
    return true;
}

}  // namespace quillmere
