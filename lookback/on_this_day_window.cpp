#include "lookback/on_this_day_window.h"

#include "controls/rb_button.h"
#include "controls/rb_fonts.h"
#include "controls/rb_panel.h"
#include "controls/rb_panel_styles.h"
#include "search/core/entry_match_pool.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/errors.h"
#include "store/handler_guard.h"
#include "store/journal_table.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPromise>
#include <QShowEvent>
#include <QThreadPool>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace quillmere {

namespace {

constexpr QSize kThumbnail(64, 48);
constexpr int kPreviewLines = 2;
constexpr int kDateRole = Qt::UserRole + 1;

QFont plainFont() {
    return designFont(QStringLiteral("Arial"), 13);
}

QLabel* addLabel(QWidget* parent, const char* name, QRect geometry, bool bold = false) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(designFont(QStringLiteral("Arial"), 13, bold));
    label->setGeometry(geometry);
    return label;
}

TRbButton* addButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* button = new TRbButton(parent, QString::fromLatin1(name));
    button->SetCaption(caption);
    button->SetColor(clWhite);
    button->setGeometry(geometry);
    return button;
}

// The picture cell of an item: the thumbnail centred on a fixed-size white
// square, so the texts of every item line up.
QIcon thumbnailIcon(const QImage& picture) {
    QPixmap cell(kThumbnail);
    cell.fill(Qt::transparent);
    if (!picture.isNull()) {
        QPainter painter(&cell);
        painter.drawImage((kThumbnail.width() - picture.width()) / 2,
                          (kThumbnail.height() - picture.height()) / 2, picture);
    }
    return QIcon(cell);
}

QString yearsAgo(const QDate& date, const QDate& shown) {
    const int years = shown.year() - date.year();
    return years == 1 ? QObject::tr("1 year ago") : QObject::tr("%1 years ago").arg(years);
}

}  // namespace

TfrmOnThisDay::TfrmOnThisDay(LookbackHost& host) : QDialog(host.mainWindow()), host_(host) {
    buildControls();
    connect(&recount_, &QFutureWatcher<DiaryStatistics>::finished, this,
            guardSlot([this] { recounted(); }));
}

void TfrmOnThisDay::buildControls() {
    installFontSubstitutes();
    setObjectName(QStringLiteral("frmOnThisDay"));
    setWindowTitle(tr("On This Day"));
    setFixedSize(kClientWidth, kClientHeight);
    RbPanel8 = new TRbPanel(this, QStringLiteral("RbPanel8"));
    applyContentFrameStyle(*RbPanel8);
    RbPanel8->SetCaption(tr("On This Day"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RbPanel8);

    lblDay = addLabel(RbPanel8, "lblDay", QRect(24, 40, 392, 20), true);
    lstEarlier = new QListWidget(RbPanel8);
    lstEarlier->setObjectName(QStringLiteral("lstEarlier"));
    lstEarlier->setGeometry(24, 64, 392, 270);
    lstEarlier->setFont(plainFont());
    lstEarlier->setIconSize(kThumbnail);
    lstEarlier->setWordWrap(true);
    lstEarlier->setUniformItemSizes(false);
    lstEarlier->setSpacing(2);
    lstEarlier->setToolTip(tr("Double-click or press Enter to show this day"));
    lstEarlier->setAccessibleName(tr("Entries of this day in earlier years"));
    lstEarlier->installEventFilter(this);
    connect(lstEarlier, &QListWidget::itemActivated, this,
            guardSlot([this] { lstEarlierDblClick(); }));

    grpStatistics = new QGroupBox(tr("The whole diary"), RbPanel8);
    grpStatistics->setObjectName(QStringLiteral("grpStatistics"));
    grpStatistics->setFont(designFont(QStringLiteral("Arial"), 13, true));
    grpStatistics->setGeometry(24, 346, 392, 126);
    lblDaysWritten = addLabel(grpStatistics, "lblDaysWritten", QRect(16, 24, 360, 20));
    lblWordsWritten = addLabel(grpStatistics, "lblWordsWritten", QRect(16, 48, 360, 20));
    lblCurrentRun = addLabel(grpStatistics, "lblCurrentRun", QRect(16, 72, 360, 20));
    lblLongestRun = addLabel(grpStatistics, "lblLongestRun", QRect(16, 96, 360, 20));

    btnShow = addButton(RbPanel8, "btnShow", tr("Show Day"), QRect(24, 488, 100, 28));
    btnClose = addButton(RbPanel8, "btnClose", tr("Close"), QRect(341, 488, 75, 28));
    connect(btnShow, &TRbButton::OnClick, this, guardSlot([this] { lstEarlierDblClick(); }));
    connect(btnClose, &TRbButton::OnClick, this, &QDialog::close);
    setTabOrder(lstEarlier, btnShow);
    setTabOrder(btnShow, btnClose);
}

void TfrmOnThisDay::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    runGuarded([this] {
        if (const QWidget* owner = host_.mainWindow()) {
            const QSize frame = frameGeometry().size();
            move(owner->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
        }
        FormShow();
    });
}

void TfrmOnThisDay::FormShow() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        listDate_ = host_.shownDate();
        fillList();
        showStatistics();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    lstEarlier->setFocus();
}

void TfrmOnThisDay::fillList() {
    const QDate shown = listDate_;
    const QListWidgetItem* current = lstEarlier->currentItem();
    const QDate selected = current != nullptr ? current->data(kDateRole).toDate() : QDate();
    lblDay->setText(
        tr("Earlier years on %1").arg(QLocale::system().toString(shown, QStringLiteral("d MMMM"))));
    entries_ = EarlierEntries(host_.journal(), shown, kPreviewLines, kThumbnail);
    lstEarlier->clear();
    for (const EarlierEntry& entry : entries_) {
        QString text = DayCaption(entry.date) + QStringLiteral(" (") + yearsAgo(entry.date, shown) +
                       QLatin1Char(')');
        QString spoken = text;
        if (!entry.error.isEmpty()) {
            text += QLatin1Char('\n') + tr("This entry could not be read: %1").arg(entry.error);
            spoken = text;
        } else if (!entry.firstLines.isEmpty()) {
            spoken += QLatin1Char('\n') + entry.firstLines;
            // Each line on one line of the list: the rest is in the entry.
            const QFontMetrics metrics(lstEarlier->font());
            const int width = lstEarlier->viewport()->width() - kThumbnail.width() - 24;
            for (const QString& line : entry.firstLines.split(QLatin1Char('\n'))) {
                text += QLatin1Char('\n') + metrics.elidedText(line, Qt::ElideRight, width);
            }
        }
        auto* item = new QListWidgetItem(thumbnailIcon(entry.picture), text, lstEarlier);
        item->setData(kDateRole, entry.date);
        // A screen reader hears the lines whole, not as they are cut short.
        item->setData(Qt::AccessibleTextRole,
                      spoken.replace(QLatin1Char('\n'), QStringLiteral(". ")));
    }
    const bool any = !entries_.empty();
    if (!any) {
        auto* item = new QListWidgetItem(tr("Nothing was written on this day in earlier years."),
                                         lstEarlier);
        item->setFlags(Qt::NoItemFlags);
    }
    // The item chosen before a refill stays chosen.
    int row = any ? 0 : -1;
    for (int i = 0; i < int(entries_.size()); ++i) {
        if (entries_[std::size_t(i)].date == selected) {
            row = i;
        }
    }
    lstEarlier->setCurrentRow(row);
    btnShow->setEnabled(any);
}

QStringList TfrmOnThisDay::statisticsLines(const DiaryStatistics& stats, const QLocale& locale) {
    const auto days = [&locale](int count) {
        return count == 1 ? tr("1 day") : tr("%1 days").arg(locale.toString(count));
    };
    QString longest = tr("Longest run: %1").arg(days(stats.longestRun));
    if (stats.longestRun > 0 && stats.longestRunStart.isValid()) {
        longest += tr(", from %1").arg(DayCaption(stats.longestRunStart, locale));
    }
    QString written = tr("Days written: %1").arg(locale.toString(stats.daysWritten));
    if (stats.unreadable > 0) {
        written += tr(" (%1 could not be read)").arg(locale.toString(stats.unreadable));
    }
    return {written, tr("Words written: %1").arg(locale.toString(stats.wordsWritten)),
            tr("Current run: %1").arg(days(stats.currentRun)), longest};
}

void TfrmOnThisDay::showStatistics() {
    // Counted now: a background count still running is out of date.
    ++generation_;
    recountQueued_ = false;
    statistics_ = ComputeStatistics(host_.journal(), host_.today());
    showStatisticsLines();
}

void TfrmOnThisDay::entryStored(double day) {
    if (!isVisible()) {
        return;  // counted afresh when shown
    }
    runGuarded([this, day] {
        const QDate date = dateFromDay(day);
        const std::vector<QDate> now = EarlierEntryDates(host_.journal(), listDate_);
        const auto listed = [&date](const auto& dates, auto dateOf) {
            return std::any_of(dates.begin(), dates.end(),
                               [&](const auto& d) { return dateOf(d) == date; });
        };
        if (listed(now, [](const QDate& d) { return d; }) ||
            listed(entries_, [](const EarlierEntry& e) { return e.date; })) {
            fillList();
        }
        if (counting_) {
            recountQueued_ = true;
        } else {
            startRecount();
        }
    });
}

void TfrmOnThisDay::startRecount() {
    recountQueued_ = false;
    const JournalTable& journal = host_.journal();
    if (!journal.isOpen()) {
        return;
    }
    // The snapshot holds the stored bytes (shared, not copied), so the
    // journal may change while the workers read it.
    auto snapshot =
        std::make_shared<const ScanSnapshot>(takeScanSnapshot(journal, SearchRange{-1e300, 1e300}));
    auto promise = std::make_shared<QPromise<DiaryStatistics>>();
    countingGeneration_ = ++generation_;
    counting_ = true;
    recount_.setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, snapshot, today = host_.today()] {
        promise->start();
        try {
            promise->addResult(StatisticsOfSnapshot(*snapshot, today));
        } catch (const std::bad_alloc&) {
            // Nothing added: the figures shown stay.
        }
        promise->finish();
    });
}

void TfrmOnThisDay::recounted() {
    counting_ = false;
    const QFuture<DiaryStatistics> future = recount_.future();
    if (countingGeneration_ == generation_ && future.resultCount() > 0) {
        statistics_ = future.result();
        showStatisticsLines();
    }
    if (recountQueued_ && isVisible()) {
        startRecount();
    }
    recountQueued_ = false;
}

void TfrmOnThisDay::showStatisticsLines() {
    const QStringList lines = statisticsLines(statistics_, QLocale::system());
    QLabel* const labels[] = {lblDaysWritten, lblWordsWritten, lblCurrentRun, lblLongestRun};
    for (int i = 0; i < 4; ++i) {
        labels[i]->setText(lines[i]);
    }
}

void TfrmOnThisDay::lstEarlierDblClick() {
    const QListWidgetItem* item = lstEarlier->currentItem();
    if (item == nullptr || !item->data(kDateRole).isValid()) {
        return;
    }
    try {
        host_.ShowDay(dayFromDate(item->data(kDateRole).toDate()));
    } catch (const Error& e) {
        host_.showError(e.message());
    }
}

bool TfrmOnThisDay::eventFilter(QObject* watched, QEvent* event) {
    // Escape closes the window, also from the list.
    if (watched == lstEarlier && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quillmere
