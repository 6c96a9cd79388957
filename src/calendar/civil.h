// Proleptic Gregorian day arithmetic.
#pragma once

#include "calendar/types.h"

namespace tl {

bool IsGregorianLeapYear(int year);
// Days of month `month` (1..12) of `year`; 0 for any other month.
int DaysInMonth(int year, int month);
// Serial day number: days since 1 January 1900 (that day is 0). A day past
// the end of its month runs on into the next month, so 30 February 1985
// gives the number of 2 March 1985; month must be 1..12.
long DayNumber(const Date& d);
// The date of a serial day number.
Date DateOfDayNumber(long n);
// The same calendar day with the day brought inside its month.
Date NormalizeDate(const Date& d);
// Day of the year, 0 for 1 January (after normalising the date).
int DayOfYear(const Date& d);
// Weekday, 0 = Sunday .. 6 = Saturday.
int Weekday(const Date& d);

}  // namespace tl
