// The main window's operations on the journal table and the settings: the
// lookup, load and store of the current day's entry, the skip searches, the
// default font and the font settings file.
#include "controls/rb_panel.h"
#include "editor/rich_editor.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "shell/settings_window.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/font_settings.h"
#include "store/journal_table.h"
#include "store/settings_table.h"

#include <QTextCursor>

namespace quillmere {

void TfrmMain::OpenJournal() {
    tblJournal_ = std::make_unique<JournalTable>();
    try {
        tblJournal_->OpenJournal(dataFolder_ + QStringLiteral("/Journal.cds"));
    } catch (const Error& e) {
        ShowErrorBox(this, e.message());
    }
}

bool TfrmMain::lookUpCurrentDay() {
    return tblJournal_->Locate(currentDay_);
}

void TfrmMain::LoadEntry() {
    if (tblJournal_->isEmpty()) {
        return;
    }
    if (lookUpCurrentDay()) {
        const QByteArray rtf = DecodeEntryContent(tblJournal_->JournalEntry());
        Editor->loadEntryRtf(rtf);
        Editor->moveCaretToStart();
        Editor->ensureCursorVisible();
    } else {
        Editor->clearAll();
        Editor->setModified(false);
    }
    Editor->setFocus();
}

void TfrmMain::SaveEntry() {
    if (lookUpCurrentDay()) {
        UpdateEntry();
    } else {
        InsertEntry();
    }
}

void TfrmMain::cancelPendingRecord() {
    try {
        tblJournal_->cancel();
    } catch (const Error&) {
        // Nothing was pending.
    }
}

void TfrmMain::UpdateEntry() {
    try {
        tblJournal_->edit();
        StoreEditorContent();
        tblJournal_->post();
        Editor->setModified(false);
    } catch (const Error& e) {
        cancelPendingRecord();
        ShowErrorBox(this, e.message());
    }
}

void TfrmMain::InsertEntry() {
    try {
        tblJournal_->insert();
        tblJournal_->setJournalDate(currentDay_);
        StoreEditorContent();
        tblJournal_->post();
        Editor->setModified(false);
    } catch (const Error& e) {
        cancelPendingRecord();
        ShowErrorBox(this, e.message());
    }
}

void TfrmMain::StoreEditorContent() {
    tblJournal_->setJournalEntry(EncodeEntryContent(Editor->saveRtf()));
}

double TfrmMain::FindPreviousEntryDay() {
    const double start = currentDay_;
    try {
        return tblJournal_->FindPreviousEntryDay(currentDay_,
                                                 [this](double day) { SetCurrentDay(day); });
    } catch (const Error& e) {
        ShowErrorBox(this, e.message());
        return start;
    }
}

double TfrmMain::FindNextEntryDay() {
    const double start = currentDay_;
    try {
        return tblJournal_->FindNextEntryDay(currentDay_,
                                             [this](double day) { SetCurrentDay(day); });
    } catch (const Error& e) {
        ShowErrorBox(this, e.message());
        return start;
    }
}

void TfrmMain::ApplyDefaultFont() {
    if (login_ == nullptr) {
        return;
    }
    SettingsTable& settings = login_->settingsTable();
    if (settings.isEmpty()) {
        return;
    }
    Editor->applyDefaultFont(settings.FontName(), settings.FontSize(),
                             static_cast<quint32>(settings.FontColor()));
    Editor->setModified(false);
}

QString TfrmMain::fontSettingsPath() const {
    return dataFolder_ + QStringLiteral("/FontSettings.Ini");
}

void TfrmMain::ReadFontSettings() {
    const FontSettings stored = quillmere::ReadFontSettings(fontSettingsPath());
    QFont font = RbPanel1->font();
    font.setFamily(stored.name);
    RbPanel1->setFont(font);
    headerCharset_ = stored.charset;
    if (settings_ != nullptr) {
        settings_->setSkipEmptyEntries(stored.skip);
    }
}

void TfrmMain::WriteFontSettings() {
    FontSettings current;
    current.name = RbPanel1->font().family();
    current.charset = headerCharset_;
    current.skip = skipMode();
    quillmere::WriteFontSettings(fontSettingsPath(), current);
}

bool TfrmMain::skipMode() const {
    return settings_ != nullptr && settings_->skipEmptyEntries();
}

}  // namespace quillmere
