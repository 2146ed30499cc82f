// The main window's picture and link commands: the tool bar's Insert Picture
// and Insert Link buttons and the links clicked in the entry.
#include "editor/format/format_commands.h"
#include "editor/pictures/picture_commands.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "store/handler_guard.h"

#include <QToolButton>

namespace quillmere {

void TfrmMain::buildPictures() {
    Pictures = new PictureCommands(
        Editor, this, [this](const QString& message) { ShowErrorBox(this, message); },
        [this](const QString& message) { ShowInformationBox(this, message); }, this);
    Commands->btnInsertPicture->setEnabled(true);
    Commands->btnInsertLink->setEnabled(true);
    // Insert Picture leaves its errors to the default error display.
    connect(Commands->btnInsertPicture, &QToolButton::clicked, this,
            guardSlot(this, &TfrmMain::btnInsertPictureClick));
    connect(Commands->btnInsertLink, &QToolButton::clicked, this,
            guardSlot(this, &TfrmMain::btnInsertLinkClick));
    connect(Editor, &RichEditor::urlClicked, this,
            guardSlot([this](const QString& url) { EditorURLClick(url); }));
    // A dropped or pasted picture file that cannot be read.
    connect(Editor, &RichEditor::insertFailed, this,
            [this](const QString& message) { ShowErrorBox(this, message); });
}

void TfrmMain::btnInsertPictureClick() {
    Pictures->btnInsertPictureClick();
}

void TfrmMain::btnInsertLinkClick() {
    Pictures->btnInsertLinkClick();
}

void TfrmMain::EditorURLClick(const QString& urlText) {
    Pictures->EditorURLClick(urlText);
}

}  // namespace quillmere
