#include "search/date_field.h"

#include "store/day.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QTimer>

namespace quillmere {

namespace {

// The locale's short date format with a four-digit year, so that no day of
// the journal is shown ambiguously.
QString shortFormatWithFullYear(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) {
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    }
    return format;
}

}  // namespace

TDateField::TDateField(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(shortFormatWithFullYear(locale()));
    setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    setDate(QDate::currentDate());
    // Typing changes the inner editor's text; the calendar and setDate change
    // the date (the spin box updates its editor without a signal).
    connect(lineEdit(), &QLineEdit::textChanged, this, &TDateField::textChanged);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TDateField::typedTextChanged);
    connect(this, &QDateEdit::dateChanged, this, &TDateField::textChanged);
    // A day picked in the drop-down calendar, by click or by Enter there. The
    // report waits until the calendar has closed and given the focus back.
    for (auto signal : {&QCalendarWidget::clicked, &QCalendarWidget::activated}) {
        connect(calendarWidget(), signal, this,
                [this] { QTimer::singleShot(0, this, [this] { emit dateEntered(); }); });
    }
}

bool TDateField::isCompleteDate(const QString& text, const QString& format, const QLocale& locale) {
    const QDate date = locale.toDate(text, format);
    // Written back in the same format it must give the same text: "3/5/2" is
    // a date of the year 2 but not what the user is done typing.
    return date.isValid() && locale.toString(date, format) == text;
}

void TDateField::typedTextChanged() {
    if (settingDay_) {
        return;
    }
    const QString text = lineEdit()->text();
    if (lineEdit()->cursorPosition() == text.size() &&
        isCompleteDate(text, displayFormat(), locale())) {
        emit dateEntered();
    }
}

double TDateField::day() const {
    const QDate date = locale().toDate(lineEdit()->text(), displayFormat());
    return date.isValid() ? dayFromDate(date) : today();
}

void TDateField::setDay(double value) {
    const QDate date = dateFromDay(value);
    if (date.isValid() && date >= minimumDate() && date <= maximumDate()) {
        settingDay_ = true;
        setDate(date);
        settingDay_ = false;
        emit dateEntered();
    }
}

void TDateField::keyPressEvent(QKeyEvent* event) {
    // A part typed to its full width moves the caret on to the next part by
    // itself; the separator typed after it ("18/") must not skip that part
    // too, so "18/06/2010" reads as typed.
    const QString typed = event->text();
    if (typed.size() == 1 && !typed.at(0).isLetterOrNumber() && !typed.at(0).isSpace()) {
        const QLineEdit* edit = lineEdit();
        const int caret = edit->cursorPosition();
        if (caret > 0 && caret < edit->text().size() && edit->text().at(caret - 1) == typed.at(0)) {
            event->accept();
            return;
        }
    }
    QDateEdit::keyPressEvent(event);
}

void TDateField::mousePressEvent(QMouseEvent* event) {
    dateAtMousePress_ = date();
    mouseHeld_ = true;
    QDateEdit::mousePressEvent(event);
}

void TDateField::mouseReleaseEvent(QMouseEvent* event) {
    QDateEdit::mouseReleaseEvent(event);
    // Stepped with the arrows: reported once the button is let go, so that
    // holding it keeps stepping.
    if (mouseHeld_ && date() != dateAtMousePress_) {
        mouseHeld_ = false;
        emit dateEntered();
    }
    mouseHeld_ = false;
}

QString TDateField::shownText() const {
    return lineEdit()->text();
}

void TDateField::setShownText(const QString& text) {
    lineEdit()->setText(text);
}

}  // namespace quillmere
