// The main window's look back: the On This Day button and its count of
// earlier years.
#include "controls/rb_button.h"
#include "lookback/core/lookback.h"
#include "lookback/on_this_day_window.h"
#include "shell/main_window.h"
#include "store/journal_session.h"

namespace quillmere {

void TfrmMain::setOnThisDayWindow(TfrmOnThisDay* window) {
    onThisDay_ = window;
}

void TfrmMain::btnOnThisDayClick() {
    if (onThisDay_ == nullptr) {
        return;
    }
    if (onThisDay_->isVisible()) {
        // Open already: brought up to date for the day shown now.
        onThisDay_->FormShow();
    }
    onThisDay_->show();
    onThisDay_->raise();
    onThisDay_->activateWindow();
}

void TfrmMain::updateOnThisDayCount() {
    if (btnOnThisDay == nullptr) {
        return;
    }
    const int count = int(EarlierEntryDates(journal(), currentDate()).size());
    const QString caption = count > 0 ? tr("On This Day (%1)").arg(count) : tr("On This Day");
    if (btnOnThisDay->Caption() != caption) {
        btnOnThisDay->SetCaption(caption);
    }
}

}  // namespace quillmere
