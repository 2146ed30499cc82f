// The date header's caption: "dd mmmm yyyy", the day with two digits, the
// full month name of the user's language, the year with four digits
// ("05 March 2024"). The header, the search's result list and every message
// about one day's entry name a day in these words.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace quillmere {

// The caption of `date` with the month names of `locale`; English names are
// used when the locale offers none.
QString DayCaption(const QDate& date, const QLocale& locale = QLocale::system());

// A message about the entry of one day: its caption, a colon, a blank and
// `message` ("15 June 2010: data error"). `day` is a day value; only its
// whole part counts. A value that names no calendar date gives `message`
// alone.
QString DayMessage(double day, const QString& message, const QLocale& locale = QLocale::system());

}  // namespace quillmere
