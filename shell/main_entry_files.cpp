// The main window's import, save-as and print commands: the tool bar's
// first three buttons.
#include "controls/rb_panel.h"
#include "editor/entry_files.h"
#include "editor/format/format_commands.h"
#include "editor/print/entry_print.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "store/day.h"
#include "store/errors.h"
#include "store/handler_guard.h"

#include <QToolButton>

namespace quillmere {

void TfrmMain::buildEntryFileCommands() {
    EntryFiles = std::make_shared<EntryFileCommands>();
    EntryFiles->confirm = [this](const QString& question) {
        return ShowConfirmBox(this, question);
    };
    EntryFiles->showError = [this](const QString& message) { ShowErrorBox(this, message); };
    EntryPrint = std::make_shared<EntryPrintCommand>();

    const std::pair<QToolButton*, void (TfrmMain::*)()> buttons[] = {
        {Commands->btnNoteBookOpen, &TfrmMain::btnNoteBookOpenClick},
        {Commands->btnNoteBookSaveAs, &TfrmMain::btnNoteBookSaveAsClick},
        {Commands->ToolButton13, &TfrmMain::ToolButton13Click},
    };
    for (const auto& [button, handler] : buttons) {
        button->setEnabled(true);
        // Errors these commands do not handle themselves go to the default
        // error display.
        connect(button, &QToolButton::clicked, this, guardSlot(this, handler));
    }
    // A .txt import leaves the editor in plain-text mode for that day only:
    // every day shown afterwards comes in rich mode, so its formatting stays.
    connect(this, &TfrmMain::currentDayChanged, Editor,
            [this] { Editor->setPlainTextMode(false); });
}

void TfrmMain::btnNoteBookOpenClick() {
    EntryFiles->btnNoteBookOpenClick(*Editor, this);
}

void TfrmMain::btnNoteBookSaveAsClick() {
    EntryFiles->btnNoteBookSaveAsClick(*Editor, this, isoTextOfDay(CurrentDay()));
}

void TfrmMain::ToolButton13Click() {
    EntryPrint->run(*Editor, this, printJobTitle(RbPanel1->Caption()), isoTextOfDay(CurrentDay()));
}

}  // namespace quillmere
