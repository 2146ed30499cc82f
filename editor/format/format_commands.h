// The formatting and editing commands of the main window's entry editor: the
// tool bar `ToolBar1`, the context menu `PopupMenu1` with its shortcuts, the
// feedback that follows the selection (buttons down, menu items checked,
// buttons enabled), find, font and colour dialogs, and the date header's
// font command.
//
// The main window owns one FormatCommands, made with its editor, its empty
// tool bar and the hooks below; the commands keep no state of their own
// beyond the controls they made: the down and enabled states are a view of
// the editor's selection and undo state.
//
//     Commands = std::make_unique<FormatCommands>(Editor, ToolBar1, std::move(hooks));
//     // and the header font button's handler calls Commands->btnHeaderFontClick().
#pragma once

#include "editor/format/format_dialogs.h"
#include "editor/rich_editor.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QToolBar>

#include <functional>

class QAction;
class QKeySequence;
class QMenu;
class QToolButton;

namespace quillmere {

class FindDialog;
class ImageList;

// What the commands need of the main window.
struct FormatHooks {
    // The date header's font, read and set by the header font command.
    std::function<QFont()> headerFont;
    std::function<void(const QFont&)> setHeaderFont;
    // Its text colour (optional: without these the colour is not changed).
    std::function<QColor()> headerFontColor;
    std::function<void(const QColor&)> setHeaderFontColor;
    // Its character set number (optional: without these it stays 1).
    std::function<int()> headerCharset;
    std::function<void(int)> setHeaderCharset;
    // Writes "FontSettings.Ini" (header font name, character set, skip
    // option). May throw Error.
    std::function<void()> writeFontSettings;
    // Shows the full-text search window; `btnDBSearch` is disabled without it.
    std::function<void()> openSearchWindow;
    // Shows an error's message in the error box; without it errors of the
    // commands pass on to the caller.
    std::function<void(const QString&)> showError;
};

class FormatCommands : public QObject {
    Q_OBJECT
public:
    // Fills `toolBar` with the command buttons and builds the context menu.
    // `editor` and `toolBar` must outlive the commands (they are the main
    // window's, as the commands are). All buttons start enabled and up;
    // those of later commands (import, export, print, special characters,
    // emoticons, pictures, links) start disabled until their work connects
    // them.
    FormatCommands(RichEditor* editor, QToolBar* toolBar, FormatHooks hooks,
                   QObject* parent = nullptr);
    ~FormatCommands() override;

    // Width of the filled tool bar.
    static constexpr int kToolBarWidth = 807;
    // The dynamic property holding the ImageList1 index that a button or menu
    // item shows.
    static constexpr char kImageIndexProperty[] = "imageIndex";

    // --- Dialogs (tests and later commands put their own in place) -----------

    void setFontDialog(FontDialogFn dialog) { FontDialog1 = std::move(dialog); }
    void setColorDialog(ColorDialogFn dialog) { ColorDialog1 = std::move(dialog); }
    // The shared font dialog, for the special-character command.
    const FontDialogFn& fontDialog() const { return FontDialog1; }
    // The find dialog, or null before the first Find.
    FindDialog* findDialog() const { return findDialog_; }

    // --- Handlers -----------------------------------------------------------------

    void btnBoldClick();
    void btnItalicClick();
    void btnUnderlineClick();
    void btnLeftClick();
    void btnCenterClick();
    void btnRightClick();
    void btnJustifyClick();
    // Shows the four alignment buttons up and `clicked` down, then aligns the
    // selection's paragraphs by the first alignment button that is down.
    void ApplyAlignment(QToolButton* clicked);
    void btnCutClick();
    void btnCopyClick();
    void btnPasteClick();
    void btnFindClick();
    void btnDBSearchClick();
    void btnFontClick();
    void btnBulletClick();
    void btnUndoClick();
    void btnRedoClick();
    void btnNoteBookFillColourClick();
    void btnNoteBookFontColourClick();
    // Header font: on OK the date header takes the font and the font
    // settings are written at once. A write error goes to showError (or is
    // thrown when there is no such hook); the header keeps the new font.
    void btnHeaderFontClick();
    void SelectAll1Click();
    void ClearSelection1Click();
    void ClearAll1Click();
    void EditorSelectionChange();
    void EditorChange();
    void EditorMouseDown(Qt::MouseButton button);

    // Shows `PopupMenu1` at a screen position without waiting for it.
    void showPopupMenu(const QPoint& globalPos);

    // --- Controls, by their design names ----------------------------------------

    ImageList* ImageList1 = nullptr;
    QMenu* PopupMenu1 = nullptr;

    QToolButton* btnNoteBookOpen = nullptr;
    QToolButton* btnNoteBookSaveAs = nullptr;
    QToolButton* ToolButton13 = nullptr;
    QToolButton* btnBold = nullptr;
    QToolButton* btnItalic = nullptr;
    QToolButton* btnUnderline = nullptr;
    QToolButton* btnLeft = nullptr;
    QToolButton* btnCenter = nullptr;
    QToolButton* btnRight = nullptr;
    QToolButton* btnJustify = nullptr;
    QToolButton* btnCut = nullptr;
    QToolButton* btnCopy = nullptr;
    QToolButton* btnPaste = nullptr;
    QToolButton* btnFind = nullptr;
    QToolButton* btnDBSearch = nullptr;
    QToolButton* btnFont = nullptr;
    QToolButton* btnBullet = nullptr;
    QToolButton* btnUndo = nullptr;
    QToolButton* btnRedo = nullptr;
    QToolButton* btnNoteBookFillColour = nullptr;
    QToolButton* btnNoteBookFontColour = nullptr;
    QToolButton* btnInsertChar = nullptr;
    QToolButton* btnInsertEmoticon = nullptr;
    QToolButton* btnInsertPicture = nullptr;
    QToolButton* btnInsertLink = nullptr;

    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* N1 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* N2 = nullptr;
    QAction* ClearSelection1 = nullptr;
    QAction* ClearAll1 = nullptr;
    QAction* N3 = nullptr;
    QAction* Formatting1 = nullptr;
    QAction* Bold1 = nullptr;
    QAction* Italic1 = nullptr;
    QAction* Underline1 = nullptr;

protected:
    // Runs the menu's shortcuts while the editor has the focus, before the
    // editor's own handling of those keys.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = void (FormatCommands::*)();

    void buildToolBar();
    void buildPopupMenu();
    void connectEditor();
    void refreshImages();
    void toggleStyle(bool CharStyles::*style, QToolButton* button);
    QAction* shortcutAction(const QKeySequence& keys) const;
    void runReportingErrors(const std::function<void()>& command);
    void findNextInEditor(const QString& text, const FindOptions& options);
    void moveFindDialogOffHit(const TextRange& hit);
    FontChoice selectionFontChoice() const;
    void applyFontChoice(const FontChoice& choice);

    RichEditor* Editor = nullptr;
    // Tracked: the main window may destroy its tool bar before the commands,
    // while the editor still reports changes.
    QPointer<QToolBar> ToolBar1;
    FormatHooks hooks_;
    FontDialogFn FontDialog1;
    ColorDialogFn ColorDialog1;
    FindDialog* findDialog_ = nullptr;
};

}  // namespace quillmere
