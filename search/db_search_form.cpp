// Behaviour of the search window: showing, searching, stopping, closing, the
// date fields and the result list.
#include "search/db_search_form.h"

#include "controls/rb_accessible.h"
#include "controls/rb_button.h"
#include "editor/rich_editor.h"
#include "search/core/journal_search.h"
#include "search/date_field.h"
#include "search/result_list.h"
#include "search/search_host.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/errors.h"
#include "store/handler_guard.h"
#include "store/journal_table.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

namespace quillmere {

namespace {

constexpr int kEnterKey = 13;

const char kUnreadableOne[] =
    QT_TRANSLATE_NOOP("quillmere::TfrmDBSearch", "\n\nThis entry is damaged and its text could not be searched; every other day was "
    "searched.");
const char kUnreadableMany[] =
    QT_TRANSLATE_NOOP("quillmere::TfrmDBSearch", "\n\nThese entries are damaged and their text could not be searched; every other day "
    "was searched.");

void processPendingMessages() {
    QCoreApplication::processEvents();
}

}  // namespace

TfrmDBSearch::TfrmDBSearch(SearchHost& host)
    : QDialog(host.mainWindow(), Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                     Qt::MSWindowsFixedSizeDialogHint),
      host_(host) {
    if (host.mainWindow() == nullptr) {
        // Without an owner the window keeps above the others on its own.
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    setModal(false);
    buildControls();
    connectHandlers();
}

TfrmDBSearch::~TfrmDBSearch() = default;

void TfrmDBSearch::connectHandlers() {
    connect(btnSearch, &TRbButton::OnClick, this, guardSlot([this] { btnSearchClick(); }));
    connect(btnStop, &TRbButton::OnClick, this, guardSlot([this] { btnStopClick(); }));
    connect(btnClose, &TRbButton::OnClick, this, guardSlot([this] { btnCloseClick(); }));
    // The focus moves on when a date was given as a whole (picked, or typed
    // to its end), not at the first digit typed.
    connect(DateEdit1, &TDateField::dateEntered, this, guardSlot([this] { DateEdit1Change(); }));
    connect(DateEdit2, &TDateField::dateEntered, this, guardSlot([this] { DateEdit2Change(); }));
    connect(ListBox1, &TResultListBox::listDoubleClicked, this,
            guardSlot([this] { ListBox1DblClick(); }));
    connect(ListBox1, &TResultListBox::itemChosenByKey, this,
            guardSlot([this] { ListBox1DblClick(); }));
    edtText->installEventFilter(this);
}

QString TfrmDBSearch::formatResultDay(double day, const QLocale& locale) {
    // The month as it is written within a date (languages such as Polish
    // change its ending there), as in the date header.
    return DayCaption(dateFromDay(day), locale);
}

void TfrmDBSearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        runGuarded([this] {
            centreOnMainWindow();
            FormShow();
        });
    }
}

void TfrmDBSearch::centreOnMainWindow() {
    const QWidget* owner = host_.mainWindow();
    if (owner == nullptr) {
        return;
    }
    const QSize frame = frameGeometry().size();
    move(owner->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

void TfrmDBSearch::FormShow() {
    DateEdit1->setDay(today());
    DateEdit2->setDay(today());
    // The focus goes to the search text even when the dates were already
    // today (no change of their text).
    edtText->setFocus();
    ListBox1->clear();
    ListBox1->setItemImage(host_.resultImage());
    tmpEditor->clearAll();
    edtText->clear();
    btnStop->setEnabled(false);
    btnSearch->setEnabled(true);
    StopRequested = false;
}

void TfrmDBSearch::setSearching(bool searching) {
    const bool changed = searching_ != searching;
    searching_ = searching;
    if (changed) {
        QAccessible::State busy;
        busy.busy = true;
        NotifyAccessibleStateChanged(this, busy);
    }
    btnStop->setEnabled(searching);
    btnSearch->setEnabled(!searching);
    btnClose->setEnabled(!searching);
    host_.setJournalCommandsEnabled(!searching);
    if (!searching) {
        StopRequested = false;
    }
}

void TfrmDBSearch::btnSearchClick() {
    if (searching_ || host_.journal().isEmpty()) {
        return;
    }
    const QString text = edtText->text();
    if (text.isEmpty()) {
        return;
    }
    try {
        runScan(text);
    } catch (const Error& error) {
        host_.showError(error.message());
    }
}

bool TfrmDBSearch::SearchEntry(const QByteArray& blob) const {
    return entryMatches(blob, matcher_);
}

void TfrmDBSearch::runScan(const QString& text) {
    if (statusCarrier_ != nullptr) {
        statusCarrier_->setAccessibleDescription(QString());
        statusCarrier_ = nullptr;
    }
    matcher_ = TextMatcher(text);
    StopRequested = false;  // only a Stop during this scan ends it
    setSearching(true);
    // Whatever ends the scan, the window and the main window return to idle.
    struct IdleOnExit {
        TfrmDBSearch* form;
        ~IdleOnExit() {
            if (form->searching_) {
                form->setSearching(false);
            }
        }
    } idleOnExit{this};

    ResultList.reset();
    processPendingMessages();
    ResultList = std::make_unique<TTypeList>();

    // The range is read once: the fields cannot change the running scan.
    const SearchRange range{DateEdit1->day(), DateEdit2->day()};
    InputPacer pacer(inputIntervalMs_);
    // The entries are decoded and matched on worker threads; this thread
    // takes their outcomes in date order and handles input in between, also
    // while it waits for the workers.
    const JournalSearchResult result = searchJournal(
        host_.journal(), matcher_, range,
        [this, &pacer] {
            pacer.step(processPendingMessages);
            return !StopRequested;
        },
        [&pacer] { pacer.step(processPendingMessages); });
    pacer.finish();
    lastInputGapMs_ = pacer.longestStretchMs();

    for (double day : result.days) {
        ResultList->Add(day);
    }
    if (result.end == SearchEnd::kStopped) {
        DateEdit1->setDay(result.resumeDay);
    }
    // The list always shows ResultList, also the partial one of a failed scan.
    ListBox1->clear();
    if (!ResultList->IsEmpty()) {
        FillResultList();
    }
    setSearching(false);
    if (ListBox1->count() > 0) {
        ListBox1->setCurrentRow(0);
        ListBox1->setFocus();
    }
    announceResults(ListBox1->count(), result.end == SearchEnd::kStopped);
    if (!result.unreadable.empty()) {
        // Said after the list is shown, so the days found are in view.
        host_.showInformation(
            UnreadableDaysText(result.unreadable) +
            tr(result.unreadable.size() == 1 ? kUnreadableOne : kUnreadableMany));
    }
    processPendingMessages();
}

void TfrmDBSearch::announceResults(int found, bool stopped) {
    QString status = found == 0   ? tr("No day found")
                     : found == 1 ? tr("1 day found")
                                  : tr("%1 days found").arg(found);
    if (stopped) {
        status = tr("Search stopped: %1").arg(status);
    }
    lastStatus_ = status;
    // The list is read with its count when it takes the focus; the field
    // that has the focus now carries the status too, so that a screen
    // reader says it at once.
    ListBox1->setAccessibleDescription(status);
    NotifyAccessibleDescriptionChanged(ListBox1);
    QWidget* focused = focusWidget();
    if (focused != nullptr && focused != ListBox1) {
        focused->setAccessibleDescription(status);
        NotifyAccessibleDescriptionChanged(focused);
        statusCarrier_ = focused;
    }
}

void TfrmDBSearch::btnStopClick() {
    StopRequested = true;
    processPendingMessages();
    btnSearch->setEnabled(true);
    btnStop->setEnabled(false);
}

void TfrmDBSearch::btnCloseClick() {
    if (searching_) {
        return;
    }
    ResultList.reset();
    processPendingMessages();
    hide();
}

void TfrmDBSearch::reject() {
    if (!searching_) {
        QDialog::reject();
    }
}

void TfrmDBSearch::DateEdit1Change() {
    edtText->setFocus();
}

void TfrmDBSearch::DateEdit2Change() {
    edtText->setFocus();
}

void TfrmDBSearch::edtTextKeyDown(int key) {
    if (key == kEnterKey) {
        btnSearchClick();
    }
}

bool TfrmDBSearch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtText && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runGuarded([this] { edtTextKeyDown(kEnterKey); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmDBSearch::FillResultList() {
    for (std::int32_t i = 0; i < ResultList->Count(); ++i) {
        ListBox1->addItem(formatResultDay(ResultList->GetDate(i)));
    }
}

void TfrmDBSearch::ListBox1DblClick() {
    if (searching_ || !ResultList) {
        return;
    }
    const QListWidgetItem* item = ListBox1->currentItem();
    if (item == nullptr || !item->isSelected()) {
        return;
    }
    const int index = ListBox1->row(item);
    if (!ResultList->contains(index)) {
        return;
    }
    try {
        host_.ShowDay(ResultList->GetDate(index));
    } catch (const Error& error) {
        host_.showError(error.message());
    }
}

}  // namespace quillmere
