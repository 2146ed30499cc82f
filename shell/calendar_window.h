// The calendar window: a borderless modal window with a month calendar from
// which the Calendar command takes the day to go to. It opens on the day
// shown; OK becomes usable only after a click in the calendar; a double
// click closes it at once. It has no cancel: the date it shows when it
// closes is the result.
#pragma once

#include <QDate>
#include <QDialog>

#include <functional>
#include <vector>

class QAbstractItemView;
class QCalendarWidget;
class QLabel;

namespace quillmere {

class TRbButton;
class TRbPanel;

class TfrmCalendar : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCalendar(QWidget* parent = nullptr);

    // The day the calendar opens on (the main window's CurrentDay).
    std::function<QDate()> currentDay;
    // The days of a month (1 .. 31) that have an entry: drawn bold, with the
    // tool tip "has an entry", for the month shown, and again at once when
    // another month is shown. Unset: no marks.
    std::function<std::vector<int>(int year, int month)> daysWithEntries;

    // The text a marked day carries. Qt gives a screen reader only the day
    // number of a calendar cell, so while a marked day is selected the
    // calendar and its day table carry this text as their accessible
    // description (empty otherwise), and a change of it is announced.
    static QString entryMarkText();

    // The date shown in the calendar (the result once the window closed).
    QDate selectedDate() const;

    TRbPanel* RbPanel8 = nullptr;
    QCalendarWidget* MonthCalendar1 = nullptr;
    TRbButton* btnOK = nullptr;
    QLabel* Label1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void MonthCalendar1Click();
    void btnOKClick();
    // Marks the days with an entry of the month shown.
    void markDaysWithEntries();
    // The accessible description for the selected day.
    void describeSelectedDay();

    std::vector<int> marked_;  // the marked days of the month shown
    QAbstractItemView* dayTable_ = nullptr;
};

}  // namespace quillmere
