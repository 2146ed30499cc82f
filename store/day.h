// Day values: the platform's date-time as a double counting days since
// 30 December 1899, the fraction being the time of day. Every day the program
// stores or looks up is a whole day (fraction 0).
#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace quillmere {

// The whole-day value of a date (30 December 1899 is 0, 15 June 2010 is
// 40 344). An invalid date gives 0.
double dayFromDate(const QDate& date);

// The calendar date of a day value's whole part (the fraction is ignored;
// for values before 30 December 1899 the whole part is taken toward zero, as
// the platform does). A value outside the dates Qt can hold gives an invalid
// QDate.
QDate dateFromDay(double day);

// Today's local date as a whole-day value.
double today();

// The day value `count` whole days later (earlier for a negative count).
double addDays(double day, int count);

// The whole-day part of a value (its time of day dropped).
double wholeDay(double value);

// The day a "yyyy-mm-dd" text names (exactly ten characters, a real calendar
// date), or nothing for any other text. Never throws.
std::optional<double> dayFromIsoText(const QString& text);

// "yyyy-mm-dd" of a day value's date (its time of day ignored); an empty
// string for a value outside the dates Qt can hold.
QString isoTextOfDay(double day);

// isoTextOfDay, followed by " hh:mm:ss.zzz" when the value has a time of day
// (a date written by another program). Never throws.
QString isoTextOfDayTime(double value);

}  // namespace quillmere
