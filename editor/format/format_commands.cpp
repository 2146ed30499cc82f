// The formatting commands: construction, the style, alignment and bullet
// commands, the clipboard, deletion and undo commands, and the feedback that
// follows the selection and the text.
#include "editor/format/format_commands.h"

#include "editor/format/find_dialog.h"
#include "editor/format/image_list.h"
#include "editor/rich_editor.h"
#include "store/errors.h"
#include "store/handler_guard.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace quillmere {

namespace {

// A new left offset of a bulleted paragraph is at least this many points.
constexpr int kBulletMinimumOffset = 10;

}  // namespace

FormatCommands::FormatCommands(RichEditor* editor, QToolBar* toolBar, FormatHooks hooks,
                               QObject* parent)
    : QObject(parent),
      Editor(editor),
      ToolBar1(toolBar),
      hooks_(std::move(hooks)),
      FontDialog1(platformFontDialog()),
      ColorDialog1(platformColorDialog()) {
    setObjectName(QStringLiteral("FormatCommands"));
    ImageList1 = new ImageList(this);
    ImageList1->setObjectName(QStringLiteral("ImageList1"));
    buildToolBar();
    buildPopupMenu();
    connectEditor();
    connect(ImageList1, &ImageList::changed, this, &FormatCommands::refreshImages);
}

FormatCommands::~FormatCommands() {
    // The menu is a top-level widget of its own; the find dialog belongs to
    // the editor and goes with it.
    delete PopupMenu1;
}

void FormatCommands::connectEditor() {
    connect(Editor, &RichEditor::editorSelectionChanged, this,
            &FormatCommands::EditorSelectionChange);
    connect(Editor, &QTextEdit::textChanged, this, &FormatCommands::EditorChange);
    // The undo stack may change after the text-change report of the same
    // edit; the buttons follow either way.
    connect(Editor, &QTextEdit::undoAvailable, this, &FormatCommands::EditorChange);
    connect(Editor, &QTextEdit::redoAvailable, this, &FormatCommands::EditorChange);
    connect(Editor, &RichEditor::mousePressed, this,
            guardSlot(this, &FormatCommands::EditorMouseDown));
    connect(Editor, &RichEditor::keyboardContextMenuRequested, this,
            guardSlot([this](const QPoint& pos) {
                ImageList1->setBackgroundColor(std::nullopt);
                showPopupMenu(pos);
            }));
    Editor->installEventFilter(this);
}

void FormatCommands::runReportingErrors(const std::function<void()>& command) {
    try {
        command();
    } catch (const Error& e) {
        if (!hooks_.showError) {
            throw;
        }
        hooks_.showError(e.message());
    }
}

// --- Styles -------------------------------------------------------------------

// All four styles are written together from the state read at the start of
// the selection, so a partly italic selection read as italic ends wholly
// italic.
void FormatCommands::toggleStyle(bool CharStyles::*style, QToolButton* button) {
    CharStyles styles = Editor->selectionStyles();
    styles.*style = !(styles.*style);
    Editor->setSelectionStyles(styles);
    button->setChecked(styles.*style);
}

void FormatCommands::btnBoldClick() {
    toggleStyle(&CharStyles::bold, btnBold);
}

void FormatCommands::btnItalicClick() {
    toggleStyle(&CharStyles::italic, btnItalic);
}

void FormatCommands::btnUnderlineClick() {
    toggleStyle(&CharStyles::underline, btnUnderline);
}

// --- Alignment ------------------------------------------------------------------

void FormatCommands::btnLeftClick() {
    ApplyAlignment(btnLeft);
}

void FormatCommands::btnCenterClick() {
    ApplyAlignment(btnCenter);
}

void FormatCommands::btnRightClick() {
    ApplyAlignment(btnRight);
}

void FormatCommands::btnJustifyClick() {
    ApplyAlignment(btnJustify);
}

void FormatCommands::ApplyAlignment(QToolButton* clicked) {
    for (QToolButton* b : {btnLeft, btnRight, btnCenter, btnJustify}) {
        b->setChecked(false);
    }
    if (clicked != nullptr) {
        clicked->setChecked(true);
    }
    if (btnLeft->isChecked()) {
        Editor->setParagraphAlignment(ParagraphAlignment::Left);
    } else if (btnRight->isChecked()) {
        Editor->setParagraphAlignment(ParagraphAlignment::Right);
    } else if (btnCenter->isChecked()) {
        Editor->setParagraphAlignment(ParagraphAlignment::Center);
    } else if (btnJustify->isChecked()) {
        Editor->setAdvancedTypography(true);
        Editor->setParagraphAlignment(ParagraphAlignment::Justify);
    }
}

// --- Bullets --------------------------------------------------------------------

void FormatCommands::btnBulletClick() {
    if (Editor->isParagraphBullet()) {
        btnBullet->setChecked(false);
        Editor->setParagraphLeftOffset(0);
        Editor->setParagraphBullet(false);
        return;
    }
    btnBullet->setChecked(true);
    if (Editor->paragraphLeftOffset() < kBulletMinimumOffset) {
        Editor->setParagraphLeftOffset(kBulletMinimumOffset);
    }
    Editor->setParagraphBullet(true);
}

// --- Clipboard, deletion, undo --------------------------------------------------

void FormatCommands::btnCutClick() {
    // An empty selection cuts nothing and so changes nothing.
    if (Editor->selectionLength() == 0) {
        return;
    }
    Editor->cut();
    Editor->setModified(true);
}

void FormatCommands::btnCopyClick() {
    Editor->copy();
}

void FormatCommands::btnPasteClick() {
    // Nothing the editor takes on the clipboard: nothing is pasted, nothing
    // changed.
    if (!Editor->canPaste()) {
        return;
    }
    Editor->paste();
    Editor->setModified(true);
}

void FormatCommands::SelectAll1Click() {
    Editor->selectAll();
}

void FormatCommands::ClearSelection1Click() {
    Editor->deleteSelection();
}

void FormatCommands::ClearAll1Click() {
    Editor->clearAll();
    Editor->setModified(false);
}

void FormatCommands::btnUndoClick() {
    Editor->undo();
}

void FormatCommands::btnRedoClick() {
    if (Editor->canRedo()) {
        Editor->redo();
    }
}

void FormatCommands::btnDBSearchClick() {
    if (hooks_.openSearchWindow) {
        runReportingErrors(hooks_.openSearchWindow);
    }
}

// --- Feedback -------------------------------------------------------------------

void FormatCommands::EditorSelectionChange() {
    if (ToolBar1.isNull()) {
        return;
    }
    const CharStyles styles = Editor->selectionStyles();
    btnBold->setChecked(styles.bold);
    Bold1->setChecked(btnBold->isChecked());
    btnItalic->setChecked(styles.italic);
    Italic1->setChecked(btnItalic->isChecked());
    btnUnderline->setChecked(styles.underline);
    Underline1->setChecked(btnUnderline->isChecked());

    btnBullet->setChecked(Editor->isParagraphBullet());

    const ParagraphAlignment alignment = Editor->paragraphAlignment();
    btnLeft->setChecked(alignment == ParagraphAlignment::Left);
    btnRight->setChecked(alignment == ParagraphAlignment::Right);
    btnCenter->setChecked(alignment == ParagraphAlignment::Center);
    btnJustify->setChecked(alignment == ParagraphAlignment::Justify);

    btnCopy->setEnabled(Editor->selectionLength() > 0);
    btnCut->setEnabled(btnCopy->isEnabled());
}

void FormatCommands::EditorChange() {
    if (ToolBar1.isNull()) {
        return;
    }
    btnUndo->setEnabled(Editor->canUndo());
    btnRedo->setEnabled(Editor->canRedo());
}

}  // namespace quillmere
