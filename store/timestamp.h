// The dataset's form of a date-time. The program's date-time is a day value
// (days since 30 December 1899, the fraction being the time of day); a table
// holds it, and a packet stores it, as an IEEE 754 double counting whole
// milliseconds from midnight at the start of the day before 1 January 0001:
//
//   m      = round-half-even(value * 86 400 000)
//   days   = trunc(m / 86 400 000) + 693 594       (1 January 0001 is day 1)
//   millis = |m| mod 86 400 000
//   stored = days * 86 400 000 + millis
//
// From 30 December 1899 on, stored is simply m + 59 926 521 600 000.
#pragma once

#include <cstdint>

namespace quillmere {

constexpr int64_t kMillisPerDay = 86400000;
// Day number (1 January 0001 = 1) of 30 December 1899.
constexpr int64_t kDayOffset = 693594;

// The stored form of a day value. Throws DatasetError (code 0) with
// "'%d.%d' is not a valid timestamp" (day part, time part) for a value before
// 1 January 0001, and for a value too large or not a number.
double DateTimeToStored(double value);

// The day value of a stored date-time. The stored double is rounded to whole
// milliseconds first. For a day before 30 December 1899 the time of day is
// subtracted, mirroring the platform's convention that the fraction of a
// negative value counts from the midnight its whole part names.
double StoredToDateTime(double stored);

}  // namespace quillmere
