// The search window `TfrmDBSearch`: finds every day within a range of days
// whose stored entry contains a text, and lists those days; a double-click on
// a listed day shows it in the main window. Created once with the program,
// non-modal, kept above the main window and centred on it when shown.
//
// While a search runs, pending input is handled every few milliseconds so
// that Stop works; during that time Close, the Enter key in `edtText`, the
// result list and the main window's journal commands do not act.
#pragma once

#include "search/core/journal_search.h"
#include "search/type_list.h"

#include <QDialog>
#include <QLocale>
#include <QPointer>

#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace quillmere {

class RichEditor;
class SearchHost;
class TDateField;
class TRbButton;
class TRbPanel;
class TResultListBox;

class TfrmDBSearch : public QDialog {
    Q_OBJECT
public:
    // Builds the window; its owner is host.mainWindow(). The host must outlive
    // the window.
    explicit TfrmDBSearch(SearchHost& host);
    ~TfrmDBSearch() override;

    // Resets the window each time it is shown: both dates today, list,
    // hidden editor and search text cleared, Search enabled, Stop disabled.
    // ResultList is kept.
    void FormShow();
    // Runs a search over the stored entries from the From date to the To date
    // (both inclusive) for the text of edtText, and lists the days found.
    // Does nothing on an empty journal, for an empty text, or while a search
    // is already running. An entry that cannot be decoded is passed over and
    // the search goes on; after the days found are listed, an information box
    // names the entries that could not be read ("Could not read: 18 June
    // 2010, ...").
    void btnSearchClick();
    // True when `blob` (a stored JournalEntry) shows the search text.
    // Throws ZlibError / rtf::RtfError for an entry that cannot be read.
    bool SearchEntry(const QByteArray& blob) const;
    // Asks the running search to end after the record it is examining.
    void btnStopClick();
    // Discards the results and hides the window (not while searching).
    void btnCloseClick();
    // A date was picked, or typed to its end: the focus moves to edtText.
    void DateEdit1Change();
    void DateEdit2Change();
    // Key-down in edtText: Enter (13) searches.
    void edtTextKeyDown(int key);
    // Lists the days of ResultList as "dd mmmm yyyy".
    void FillResultList();
    // Shows the day of the selected item in the main window (a double-click,
    // or Enter or Space on the list). Does nothing without a selected item,
    // without ResultList, or while searching.
    void ListBox1DblClick();

    bool isSearching() const { return searching_; }
    // What the last search found, as told to screen readers ("3 days
    // found", "No day found", "Search stopped: ..."); empty before.
    QString lastStatus() const { return lastStatus_; }
    // How much scan work (milliseconds) may pass before pending input is
    // handled; kSearchInputIntervalMs unless changed (0: after every record).
    void setInputIntervalMs(qint64 ms) { inputIntervalMs_ = ms; }
    // The longest stretch of scan work between two input checks of the last
    // search, in milliseconds.
    double lastLongestInputGapMs() const { return lastInputGapMs_; }

    // The days found by the last search; absent before the first search and
    // after Close.
    std::unique_ptr<TTypeList> ResultList;
    // Set by Stop; tested by the scan after each record.
    bool StopRequested = false;

    // Controls, by their design names.
    TRbPanel* RbPanel8 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    TDateField* DateEdit1 = nullptr;
    QLabel* Label2 = nullptr;
    TDateField* DateEdit2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* edtText = nullptr;
    TRbButton* btnSearch = nullptr;
    TRbButton* btnStop = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    TResultListBox* ListBox1 = nullptr;
    TRbButton* btnClose = nullptr;
    RichEditor* tmpEditor = nullptr;

    // "dd mmmm yyyy" of a day value with the month names of `locale` (the
    // user's language), in the form the date header uses; English names when
    // the locale offers none.
    static QString formatResultDay(double day, const QLocale& locale = QLocale());

public slots:
    // The title-bar close box and Escape hide the window (not while
    // searching); ResultList is kept.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildCriteriaGroup();
    void buildResultsGroup();
    void nameControls();
    void connectHandlers();
    void centreOnMainWindow();
    void setSearching(bool searching);
    void runScan(const QString& text);
    void announceResults(int found, bool stopped);

    SearchHost& host_;
    TextMatcher matcher_{QString()};
    bool searching_ = false;
    double lastInputGapMs_ = 0;
    qint64 inputIntervalMs_ = kSearchInputIntervalMs;
    QString lastStatus_;
    QPointer<QWidget> statusCarrier_;
};

}  // namespace quillmere
