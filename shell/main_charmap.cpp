// The main window's special-character command: the character map and the
// insertion of its text into the entry.
#include "editor/format/format_commands.h"
#include "editor/pickers/char_map_insert.h"
#include "editor/pickers/char_map_window.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "store/handler_guard.h"

#include <QToolButton>

namespace quillmere {

void TfrmMain::setCharacterMap(TDLLForm* map) {
    characterMap_ = map;
    if (Commands == nullptr || Commands->btnInsertChar == nullptr) {
        return;
    }
    connect(Commands->btnInsertChar, &QToolButton::clicked, this, &TfrmMain::btnInsertCharClick,
            Qt::UniqueConnection);
    Commands->btnInsertChar->setEnabled(map != nullptr);
}

void TfrmMain::btnInsertCharClick() {
    if (characterMap_ == nullptr) {
        return;
    }
    runGuarded(ErrorDisplay::kErrorBox,
               [this] { InsertFromCharacterMap(*Editor, *characterMap_); });
}

}  // namespace quillmere
