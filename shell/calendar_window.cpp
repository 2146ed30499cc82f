#include "shell/calendar_window.h"

#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"
#include "shell/dialog_frame.h"
#include "shell/glyphs.h"
#include "store/handler_guard.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCalendarWidget>
#include <QLabel>
#include <QTextCharFormat>
#include <QToolButton>

#include <algorithm>

namespace quillmere {

namespace {

// The calendar's month arrows show only pictures; screen readers need their
// names. The month and year buttons read their own text.
void nameCalendarButtons(QCalendarWidget* calendar) {
    const std::pair<const char*, QString> names[] = {
        {"qt_calendar_prevmonth", TfrmCalendar::tr("Previous month")},
        {"qt_calendar_nextmonth", TfrmCalendar::tr("Next month")},
        {"qt_calendar_yearedit", TfrmCalendar::tr("Year")},
        {"qt_calendar_calendarview", TfrmCalendar::tr("Days")},
    };
    for (const auto& [objectName, name] : names) {
        if (auto* w = calendar->findChild<QWidget*>(QString::fromLatin1(objectName))) {
            w->setAccessibleName(name);
            if (w->toolTip().isEmpty()) {
                w->setToolTip(name);
            }
        }
    }
    calendar->setAccessibleName(TfrmCalendar::tr("Calendar"));
}

}  // namespace

TfrmCalendar::TfrmCalendar(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmCalendar"));
    setWindowTitle(tr("Calendar"));
    setFixedSize(280, 274);
    RbPanel8 = MakeContentFrame(this, tr("Calendar"));

    MonthCalendar1 = new QCalendarWidget(RbPanel8);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    MonthCalendar1->setGeometry(24, 40, 233, 163);
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    MonthCalendar1->setGridVisible(false);
    MonthCalendar1->setFont(ArialPixels(11));
    // The month and year buttons took a bold copy of the font the calendar
    // had when it was made; they follow the calendar's font too.
    for (QToolButton* button : MonthCalendar1->findChildren<QToolButton*>()) {
        button->setFont(ArialPixels(11, true));
    }
    nameCalendarButtons(MonthCalendar1);
    connect(MonthCalendar1, &QCalendarWidget::clicked, this,
            guardSlot(this, &TfrmCalendar::MonthCalendar1Click));
    connect(MonthCalendar1, &QCalendarWidget::activated, this, &TfrmCalendar::accept);
    connect(MonthCalendar1, &QCalendarWidget::currentPageChanged, this,
            guardSlot(this, &TfrmCalendar::markDaysWithEntries));
    connect(MonthCalendar1, &QCalendarWidget::selectionChanged, this,
            guardSlot(this, &TfrmCalendar::describeSelectedDay));
    // The table of days, the part that has the focus while the keys move.
    dayTable_ = MonthCalendar1->findChild<QAbstractItemView*>();

    btnOK = MakeDialogButton(RbPanel8, QStringLiteral("btnOK"), tr("OK"),
                             QRect(104, 218, 75, 25), glyph::kCheck);
    btnOK->setEnabled(false);
    connect(btnOK, &TRbButton::OnClick, this, guardSlot(this, &TfrmCalendar::btnOKClick));

    Label1 = new QLabel(tr("Select a date to enable OK button"), RbPanel8);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(ArialPixels(11));
    Label1->move(64, 248);
    Label1->adjustSize();
    SetBlackText(Label1);
}

QDate TfrmCalendar::selectedDate() const {
    return MonthCalendar1->selectedDate();
}

void TfrmCalendar::showEvent(QShowEvent* event) {
    CentreOn(*this, parentWidget());
    FormActivate();
    QDialog::showEvent(event);
}

void TfrmCalendar::FormActivate() {
    btnOK->setEnabled(false);
    if (currentDay) {
        const QDate day = currentDay();
        MonthCalendar1->setSelectedDate(day);
        MonthCalendar1->setCurrentPage(day.year(), day.month());
    }
    markDaysWithEntries();
}

QString TfrmCalendar::entryMarkText() {
    return tr("has an entry");
}

void TfrmCalendar::markDaysWithEntries() {
    // Only the month shown is marked: the days of the neighbouring months in
    // its first and last rows stay plain.
    MonthCalendar1->setDateTextFormat(QDate(), QTextCharFormat());
    marked_.clear();
    if (daysWithEntries) {
        const int year = MonthCalendar1->yearShown();
        const int month = MonthCalendar1->monthShown();
        QTextCharFormat marked;
        marked.setFontWeight(QFont::Bold);
        marked.setToolTip(entryMarkText());
        marked_ = daysWithEntries(year, month);
        for (int day : marked_) {
            MonthCalendar1->setDateTextFormat(QDate(year, month, day), marked);
        }
    }
    describeSelectedDay();
}

void TfrmCalendar::describeSelectedDay() {
    const QDate date = MonthCalendar1->selectedDate();
    const bool marked = date.year() == MonthCalendar1->yearShown() &&
                        date.month() == MonthCalendar1->monthShown() &&
                        std::binary_search(marked_.begin(), marked_.end(), date.day());
    const QString description = marked ? entryMarkText() : QString();
    if (MonthCalendar1->accessibleDescription() == description) {
        return;
    }
    MonthCalendar1->setAccessibleDescription(description);
    QAccessibleEvent calendarChanged(MonthCalendar1, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&calendarChanged);
    if (dayTable_ != nullptr) {
        dayTable_->setAccessibleDescription(description);
        QAccessibleEvent tableChanged(dayTable_, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&tableChanged);
    }
}

void TfrmCalendar::MonthCalendar1Click() {
    btnOK->setEnabled(true);
}

void TfrmCalendar::btnOKClick() {
    accept();
}

}  // namespace quillmere
