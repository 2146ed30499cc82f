// Day navigation of the main window: the day shown, the commands of the
// bottom bar that move between days, and the settings command.
#include "controls/rb_panel.h"
#include "editor/rich_editor.h"
#include "shell/calendar_window.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "shell/settings_window.h"
#include "shell/wait_cursor.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/errors.h"
#include "store/journal_session.h"

namespace quillmere {

double TfrmMain::CurrentDay() const {
    return session_.currentDay();
}

QDate TfrmMain::currentDate() const {
    return dateFromDay(session_.currentDay());
}

void TfrmMain::SetCurrentDay(double day) {
    // The header follows the session's currentDayChanged.
    session_.setCurrentDay(day);
}

void TfrmMain::ShowDay(double day) {
    if (Editor->isModified()) {
        SaveEntry();
    }
    SetCurrentDay(day);
    LoadEntry();
}

void TfrmMain::navigate(const std::function<void()>& dayChange) {
    WaitCursor wait;
    // The final step runs also when storing or the day change failed: an
    // empty editor takes the default font, and the editor has the keyboard
    // again (the drawn button that ran the command took it on its press, and
    // a day that loads nothing would leave typing to go into the button).
    const auto finalStep = [this] {
        if (Editor->toPlainText().isEmpty()) {
            ApplyDefaultFont();
        }
        Editor->setFocus();
    };
    try {
        if (Editor->isModified()) {
            SaveEntry();
        }
        dayChange();
    } catch (...) {
        finalStep();
        throw;
    }
    finalStep();
}

void TfrmMain::btnPreviousClick() {
    navigate([this] {
        SetCurrentDay(addDays(CurrentDay(), -1));
        if (skipMode()) {
            SetCurrentDay(FindPreviousEntryDay());
        }
        LoadEntry();
    });
}

void TfrmMain::btnNextClick() {
    navigate([this] {
        SetCurrentDay(addDays(CurrentDay(), 1));
        if (skipMode()) {
            SetCurrentDay(FindNextEntryDay());
        }
        LoadEntry();
    });
}

void TfrmMain::btnTodayClick() {
    navigate([this] {
        SetCurrentDay(today());
        LoadEntry();
    });
}

void TfrmMain::btnCalendarClick() {
    if (calendar_ != nullptr) {
        calendar_->exec();
    }
    navigate([this] {
        if (calendar_ != nullptr && calendar_->selectedDate().isValid()) {
            SetCurrentDay(wholeDay(dayFromDate(calendar_->selectedDate())));
        }
        LoadEntry();
    });
}

void TfrmMain::btnSettingsClick() {
    try {
        SettingsTable& table = session_.settings();
        if (!table.isEmpty()) {
            table.edit();
        } else {
            table.insert();
        }
        settings_->exec();
    } catch (const Error& e) {
        ShowErrorBox(this, e.message());
    }
    // Typing after the window closed goes to the entry, not to the button
    // that opened it (a Space would open the settings again).
    Editor->setFocus();
}

}  // namespace quillmere
