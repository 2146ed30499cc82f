// The date header's caption: "dd mmmm yyyy", the day with two digits, the
// full month name of the user's language, the year with four digits
// ("05 March 2024").
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace quillmere {

// The caption of `date` with the month names of `locale`; English names are
// used when the locale offers none.
QString DayCaption(const QDate& date, const QLocale& locale = QLocale::system());

}  // namespace quillmere
