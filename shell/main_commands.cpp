// The main window's command wiring: the formatting commands that fill the
// tool bar and the editor's context menu, the search button, and the switch
// that holds back every journal command while a scan or an export runs.
#include "controls/rb_button.h"
#include "controls/rb_panel.h"
#include "controls/system_colors.h"
#include "editor/format/format_commands.h"
#include "search/db_search_form.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "store/handler_guard.h"
#include "store/journal_session.h"

#include <QAction>
#include <QToolButton>

namespace quillmere {

void TfrmMain::buildCommands() {
    FormatHooks hooks;
    hooks.headerFont = [this] { return RbPanel1->font(); };
    hooks.setHeaderFont = [this](const QFont& font) { RbPanel1->setFont(font); };
    hooks.headerFontColor = [this] { return toQColor(RbPanel1->FontColor()); };
    hooks.setHeaderFontColor = [this](const QColor& c) { RbPanel1->SetFontColor(fromQColor(c)); };
    hooks.headerCharset = [this] { return headerCharset(); };
    hooks.setHeaderCharset = [this](int charset) {
        FontSettings settings = session_.fontSettings();
        settings.charset = charset;
        session_.setFontSettings(settings);
    };
    hooks.writeFontSettings = [this] { WriteFontSettings(); };
    hooks.openSearchWindow = [this] { btnDBSearchClick(); };
    hooks.showError = [this](const QString& message) { ShowErrorBox(this, message); };
    Commands = std::make_unique<FormatCommands>(Editor, ToolBar1, std::move(hooks));
    // Clear All gives up a damaged entry on purpose: the day can be written
    // again.
    connect(Commands->ClearAll1, &QAction::triggered, this, [this] { Editor->setReadOnly(false); });
    connect(Commands->btnInsertEmoticon, &QToolButton::clicked, this,
            guardSlot(this, &TfrmMain::btnInsertEmoticonClick));
}

void TfrmMain::btnHeaderFontClick() {
    Commands->btnHeaderFontClick();
}

void TfrmMain::btnDBSearchClick() {
    if (search_ == nullptr) {
        return;
    }
    search_->show();
    search_->raise();
    search_->activateWindow();
}

void TfrmMain::setJournalCommandsEnabled(bool enabled) {
    // The session counts the nesting; busyChanged switches the buttons.
    if (enabled) {
        session_.endBusy();
    } else {
        session_.beginBusy();
    }
}

bool TfrmMain::journalCommandsEnabled() const {
    return !session_.busy();
}

void TfrmMain::busyChanged(bool busy) {
    const bool on = !busy;
    for (TRbButton* button : {btnPrevious, btnNext, btnToday, btnCalendar, btnExport, btnSettings,
                              btnOnThisDay, btnExit}) {
        button->setEnabled(on);
    }
    Commands->btnDBSearch->setEnabled(on);
}

}  // namespace quillmere
