// The main window's emoticon command: the picker hands its picture over the
// clipboard and the editor pastes it over the selection.
#include "editor/pickers/emoticons_window.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "store/errors.h"

namespace quillmere {

void TfrmMain::btnInsertEmoticonClick() {
    if (emoticons_ == nullptr) {
        return;
    }
    try {
        emoticons_->exec();
        if (emoticons_->EmoticonPicked) {
            Editor->paste();
            Editor->ensureCursorVisible();
        }
    } catch (const Error& e) {
        ShowErrorBox(this, e.message());
    }
    emoticons_->EmoticonPicked = false;
    Editor->setFocus();
}

}  // namespace quillmere
