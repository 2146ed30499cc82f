// The main window's spell checking: made with the editor and its context
// menu, checking in the language "FontSettings.Ini" names (the locale's when
// none was chosen), switched from the settings window.
#include "editor/format/format_commands.h"
#include "editor/spelling/spell_checking.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "shell/settings_window.h"
#include "store/errors.h"
#include "store/journal_session.h"

#include <QDebug>

namespace quillmere {

void TfrmMain::buildSpelling() {
    Spelling = new SpellChecking(Editor, Commands->PopupMenu1, Editor);
    connect(Spelling, &SpellChecking::languageReady, this,
            [](const QString& tag, const QString& error) {
                if (tag.isEmpty() && !error.isEmpty()) {
                    qInfo().noquote() << "Spelling is not checked:" << error;
                }
            });
}

void TfrmMain::applySpellingChoice() {
    const QString choice = session_.fontSettings().spelling;
    if (spellingInUse_ == choice) {
        return;
    }
    spellingInUse_ = choice;
    Spelling->setChoice(choice);
}

void TfrmMain::spellingChosen(const QString& /*choice*/) {
    applySpellingChoice();
    try {
        WriteFontSettings();
    } catch (const Error& e) {
        ShowErrorBox(settings_ != nullptr ? static_cast<QWidget*>(settings_) : this, e.message());
    }
}

}  // namespace quillmere
