#include "search/date_field.h"

#include "store/day.h"

#include <QLineEdit>
#include <QLocale>

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
    connect(this, &QDateEdit::dateChanged, this, &TDateField::textChanged);
}

double TDateField::day() const {
    const QDate date = locale().toDate(lineEdit()->text(), displayFormat());
    return date.isValid() ? dayFromDate(date) : today();
}

void TDateField::setDay(double value) {
    const QDate date = dateFromDay(value);
    if (date.isValid() && date >= minimumDate() && date <= maximumDate()) {
        setDate(date);
    }
}

QString TDateField::shownText() const {
    return lineEdit()->text();
}

void TDateField::setShownText(const QString& text) {
    lineEdit()->setText(text);
}

}  // namespace quillmere
