// The main window's operations on the journal and the settings: thin calls
// into the session for the lookup, load and store of the current day's
// entry, the skip searches, the default font and the font settings file.
#include "controls/rb_panel.h"
#include "editor/entry_content.h"
#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "shell/settings_window.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/errors.h"
#include "store/journal_session.h"

#include <QStringList>

namespace quillmere {

JournalTable& TfrmMain::journal() {
    return session_.journal();
}

QString TfrmMain::dataFolder() const {
    return session_.dataFolder();
}

int TfrmMain::headerCharset() const {
    return session_.fontSettings().charset;
}

void TfrmMain::OpenJournal() {
    try {
        session_.OpenJournal();
    } catch (const Error& e) {
        ShowErrorBox(this, e.message());
        return;
    }
    const std::vector<JournalTable::StrayRow> stray = session_.journal().rowsWithStrayStatus();
    if (!stray.empty()) {
        QStringList days;
        for (const JournalTable::StrayRow& row : stray) {
            days << DayCaption(dateFromDay(row.day));
        }
        addStartupNotice(
            tr("The rows of these days in \"%1\" are damaged (a status byte "
                           "Quillmere never writes); their entries are shown and kept: %2.")
                .arg(QString::fromLatin1(kJournalFileName), days.join(QStringLiteral(", "))));
    }
}

void TfrmMain::LoadEntry() {
    // Editing comes back with every day shown; only a damaged entry's day
    // is shown read-only.
    Editor->setReadOnly(false);
    JournalSession::LoadedEntry entry;
    try {
        entry = session_.loadEntry();
        if (entry.found) {
            ShowEntryRtf(*Editor, entry.rtf);
        }
    } catch (const ZlibError& e) {
        showDamagedEntry(e);
    } catch (const rtf::RtfError& e) {
        showDamagedEntry(e);
    }
    if (entry.tableEmpty) {
        return;
    }
    if (!entry.found) {
        Editor->clearAll();
        Editor->setModified(false);
    }
    Editor->setFocus();
}

void TfrmMain::showDamagedEntry(const Error& error) {
    // Nothing of the day shown before may stay under this day's date, and
    // nothing typed may replace the stored bytes, which a repair tool can
    // still rescue: the day shows an empty editor that cannot be edited
    // (Clear All makes it editable, for a user who gives the entry up).
    Editor->clearAll();
    Editor->setModified(false);
    Editor->setReadOnly(true);
    Editor->setFocus();
    throw Error(DayMessage(CurrentDay(), error.message()));
}

void TfrmMain::SaveEntry() {
    // A picture still on its way in belongs to the entry being stored.
    Editor->finishPendingPictures();
    if (session_.storeEntry([this] { return Editor->saveRtf(); })) {
        Editor->setModified(false);
        // What the draft would keep is stored now.
        draftTimer_.stop();
        drafts_.kept();
    }
}

double TfrmMain::FindPreviousEntryDay() {
    return session_.findPreviousEntryDay();
}

double TfrmMain::FindNextEntryDay() {
    return session_.findNextEntryDay();
}

void TfrmMain::ApplyDefaultFont() {
    const SettingsValues record = session_.settingsRecord();
    if (!record.exists) {
        return;
    }
    Editor->applyDefaultFont(record.fontName, record.fontSize,
                             static_cast<quint32>(record.fontColor));
    Editor->setModified(false);
}

void TfrmMain::ReadFontSettings() {
    session_.readFontSettings();
    const FontSettings& stored = session_.fontSettings();
    QFont font = RbPanel1->font();
    font.setFamily(stored.name);
    RbPanel1->setFont(font);
    if (settings_ != nullptr) {
        settings_->setSkipEmptyEntries(stored.skip);
    }
    applySpellingChoice();
}

void TfrmMain::WriteFontSettings() {
    FontSettings current = session_.fontSettings();
    current.name = RbPanel1->font().family();
    session_.setFontSettings(current);
    // Cleared only when the write went through: until then the file holds
    // older values than the ones in use.
    fontSettingsUnstored_ = true;
    session_.writeFontSettings();
    fontSettingsUnstored_ = false;
}

void TfrmMain::setSettingsWindow(TfrmSettings* settings) {
    if (settings_ != nullptr) {
        disconnect(settings_, nullptr, this, nullptr);
    }
    settings_ = settings;
    if (settings_ != nullptr) {
        connect(settings_, &TfrmSettings::skipEmptyEntriesClicked, this, &TfrmMain::chkSkipClick);
        connect(settings_, &TfrmSettings::spellingChosen, this, &TfrmMain::spellingChosen);
    }
}

void TfrmMain::chkSkipClick() {
    // Stored at once, so that nothing that reads the file again (coming
    // back from the search window) and no crash before Exit loses it. A
    // failed write leaves the option switched in memory; Exit tries again.
    try {
        WriteFontSettings();
    } catch (const Error& e) {
        ShowErrorBox(settings_ != nullptr ? static_cast<QWidget*>(settings_) : this, e.message());
    }
}

bool TfrmMain::skipMode() const {
    return session_.skipEmptyEntries();
}

// --- Drafts ------------------------------------------------------------------------

void TfrmMain::editorChanged() {
    if (!Editor->isModified()) {
        return;
    }
    draftTimer_.start(kDraftIdleMs);
    if (drafts_.changed(clock_.elapsed())) {
        writeDraft();
    }
}

void TfrmMain::writeDraft() {
    draftTimer_.stop();
    drafts_.kept();
    if (Editor->isModified()) {
        session_.saveDraft(Editor->saveRtf());
    }
}

}  // namespace quillmere
