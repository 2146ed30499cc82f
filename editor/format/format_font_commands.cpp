// The commands that run a dialog: find, font, highlight and text colour, and
// the date header's font.
#include "editor/format/find_dialog.h"
#include "editor/format/format_commands.h"
#include "editor/rich_editor.h"
#include "store/handler_guard.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTextCursor>

namespace quillmere {

namespace {

// The header's text colour when the main window gives none.
const QColor kDesignHeaderColor = Qt::white;

// The find text a selection gives: its first line (the find box holds one).
QString findTextOf(const QString& selected) {
    const qsizetype end = selected.indexOf(u'\n');
    return end < 0 ? selected : selected.left(end);
}

}  // namespace

// --- Find -----------------------------------------------------------------------

void FormatCommands::btnFindClick() {
    if (findDialog_ == nullptr) {
        findDialog_ = new FindDialog(Editor);
        connect(findDialog_, &FindDialog::findNextRequested, this,
                guardSlot(this, &FormatCommands::findNextInEditor));
    }
    const QString selected = findTextOf(Editor->selectedPlainText());
    if (!selected.isEmpty()) {
        findDialog_->setFindText(selected);
    }
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
}

void FormatCommands::findNextInEditor(const QString& text, const FindOptions& options) {
    // No hit: nothing is shown and the selection stays.
    if (const std::optional<TextRange> hit = Editor->findNext(text, options)) {
        moveFindDialogOffHit(*hit);
    }
}

void FormatCommands::moveFindDialogOffHit(const TextRange& hit) {
    if (findDialog_ == nullptr || !findDialog_->isVisible()) {
        return;
    }
    QTextCursor at(Editor->document());
    at.setPosition(hit.start);
    const QPoint start = Editor->viewport()->mapToGlobal(Editor->cursorRect(at).topLeft());
    at.setPosition(hit.start + hit.length);
    const QPoint end = Editor->viewport()->mapToGlobal(Editor->cursorRect(at).topLeft());
    const QScreen* screen = findDialog_->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const int screenHeight = screen != nullptr ? screen->geometry().height() : 0;
    if (const std::optional<QPoint> moved =
            findDialogPositionOffHit(findDialog_->frameGeometry(), start, end, screenHeight)) {
        findDialog_->move(*moved);
    }
}

// --- Font -----------------------------------------------------------------------

FontChoice FormatCommands::selectionFontChoice() const {
    QFont font(Editor->selectionFontName());
    font.setPointSize(Editor->selectionFontSize());
    const CharStyles styles = Editor->selectionStyles();
    font.setBold(styles.bold);
    font.setItalic(styles.italic);
    font.setUnderline(styles.underline);
    font.setStrikeOut(styles.strikeOut);
    return {font, Editor->selectionTextColor(), Editor->selectionCharset()};
}

void FormatCommands::applyFontChoice(const FontChoice& choice) {
    const QFont& font = choice.font;
    // One undo step for the whole change.
    QTextCursor block = Editor->textCursor();
    block.beginEditBlock();
    Editor->setSelectionFontName(font.family());
    int points = font.pointSize();
    if (points <= 0 && font.pixelSize() > 0) {
        points = qRound(font.pixelSize() * 72 / 96.0);
    }
    if (points > 0) {
        Editor->setSelectionFontSize(points);
    }
    Editor->setSelectionStyles({font.bold(), font.italic(), font.underline(), font.strikeOut()});
    if (choice.color == Editor->palette().color(QPalette::Text)) {
        Editor->setSelectionTextColorAutomatic();
    } else if (choice.color.isValid()) {
        Editor->setSelectionTextColor(choice.color);
    }
    Editor->setSelectionCharset(choice.charset);
    block.endEditBlock();
}

void FormatCommands::btnFontClick() {
    const std::optional<FontChoice> chosen = FontDialog1(Editor, selectionFontChoice());
    if (chosen) {
        applyFontChoice(*chosen);
    }
    Editor->setFocus();
}

// --- Colours --------------------------------------------------------------------

void FormatCommands::btnNoteBookFillColourClick() {
    const std::optional<QColor> chosen = ColorDialog1(Editor, Editor->selectionBackgroundColor());
    if (chosen && chosen->isValid()) {
        // The window colour is no highlight at all.
        if (*chosen == Editor->palette().color(QPalette::Base)) {
            Editor->setSelectionBackgroundAutomatic();
        } else {
            Editor->setSelectionBackgroundColor(*chosen);
        }
    }
    Editor->setFocus();
}

void FormatCommands::btnNoteBookFontColourClick() {
    const std::optional<QColor> chosen = ColorDialog1(Editor, Editor->selectionTextColor());
    if (chosen && chosen->isValid()) {
        // The window-text colour is the automatic colour.
        if (*chosen == Editor->palette().color(QPalette::Text)) {
            Editor->setSelectionTextColorAutomatic();
        } else {
            Editor->setSelectionTextColor(*chosen);
        }
    }
    Editor->setFocus();
}

// --- Header font ----------------------------------------------------------------

void FormatCommands::btnHeaderFontClick() {
    if (!hooks_.headerFont || !hooks_.setHeaderFont) {
        return;
    }
    FontChoice initial;
    initial.font = hooks_.headerFont();
    initial.color = hooks_.headerFontColor ? hooks_.headerFontColor() : kDesignHeaderColor;
    initial.charset = hooks_.headerCharset ? hooks_.headerCharset() : 1;
    const std::optional<FontChoice> chosen = FontDialog1(Editor, initial);
    if (!chosen) {
        return;
    }
    hooks_.setHeaderFont(chosen->font);
    if (hooks_.setHeaderFontColor && chosen->color.isValid()) {
        hooks_.setHeaderFontColor(chosen->color);
    }
    if (hooks_.setHeaderCharset) {
        hooks_.setHeaderCharset(chosen->charset);
    }
    if (hooks_.writeFontSettings) {
        runReportingErrors(hooks_.writeFontSettings);
    }
}

}  // namespace quillmere
