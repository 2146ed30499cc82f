// The On This Day window: for the day the main window shows, the entries of
// the same month and day in every earlier year (newest first: the date, the
// first lines and a small copy of the first picture), and figures about the
// whole diary (days and words written, the current and the longest run of
// consecutive days). A double-click or Enter on an entry shows that day in
// the main window, storing the entry being written first. Non-modal; it
// stays above the main window.
#pragma once

#include "lookback/core/lookback.h"

#include <QDate>
#include <QDialog>
#include <QFutureWatcher>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QGroupBox;

namespace quillmere {

class JournalTable;
class TRbButton;
class TRbPanel;

// What the window needs of the main window.
class LookbackHost {
public:
    virtual ~LookbackHost() = default;
    // The journal table, only read.
    virtual const JournalTable& journal() const = 0;
    // The day the main window shows, and today's date.
    virtual QDate shownDate() const = 0;
    virtual QDate today() const = 0;
    // The ShowDay sequence of the main window (a modified entry is stored
    // first). May throw Error; the window shows it in the error box.
    virtual void ShowDay(double day) = 0;
    virtual void showError(const QString& message) = 0;
    // The owner the window is centred on (may be null).
    virtual QWidget* mainWindow() const = 0;
};

class TfrmOnThisDay : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 440;
    static constexpr int kClientHeight = 540;

    // Builds the window (hidden); its owner is host.mainWindow(). The host
    // must outlive the window.
    explicit TfrmOnThisDay(LookbackHost& host);

    // Fills the list for the day shown and counts the statistics; runs each
    // time the window is shown. The list keeps that day while days are shown
    // from it, so the other years stay one step away.
    void FormShow();
    // The entry of `day` was stored. While the window is open, the list is
    // filled again when the day is one of its years, and the statistics are
    // recounted on the search's worker threads: the figures shown stay until
    // the new ones are ready (statisticsPending()), and stores in quick
    // succession make one more count, not one each. Never throws.
    void entryStored(double day);
    // Whether a recount is running or waiting to run.
    bool statisticsPending() const { return counting_ || recountQueued_; }
    // Shows the day of the list's current item in the main window (nothing
    // without one). Errors go to the error box.
    void lstEarlierDblClick();

    // The list's entries and the statistics of the last FormShow.
    const std::vector<EarlierEntry>& entries() const { return entries_; }
    const DiaryStatistics& statistics() const { return statistics_; }

    // The statistics as the window words them, one line each:
    // "Days written: 1,234", "Words written: 56,789",
    // "Current run: 3 days", "Longest run: 40 days, from 01 March 2012".
    static QStringList statisticsLines(const DiaryStatistics& stats, const QLocale& locale);

    TRbPanel* RbPanel8 = nullptr;
    QLabel* lblDay = nullptr;
    QListWidget* lstEarlier = nullptr;
    QGroupBox* grpStatistics = nullptr;
    QLabel* lblDaysWritten = nullptr;
    QLabel* lblWordsWritten = nullptr;
    QLabel* lblCurrentRun = nullptr;
    QLabel* lblLongestRun = nullptr;
    TRbButton* btnShow = nullptr;
    TRbButton* btnClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillList();
    void showStatistics();
    void showStatisticsLines();
    void startRecount();
    void recounted();

    LookbackHost& host_;
    std::vector<EarlierEntry> entries_;
    DiaryStatistics statistics_;
    QDate listDate_;  // the day the list was filled for
    // The background recount: a count started before the newest shown one
    // (generation_) is dropped when it ends.
    QFutureWatcher<DiaryStatistics> recount_;
    quint64 generation_ = 0;
    quint64 countingGeneration_ = 0;
    bool counting_ = false;
    bool recountQueued_ = false;
};

}  // namespace quillmere
