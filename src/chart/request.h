// The chart request: what one run takes from the input window (or from a
// command line), list positions already turned into numbers.
#pragma once

#include <string>

#include "calendar/types.h"
#include "calendar/years.h"

namespace tl {

struct ChartRequest {
    std::string personName;         // the name box, blanks trimmed
    bool isMale = true;
    bool isSolarInput = true;       // Gregorian (true) or lunar (false) date
    int year = kCalendarFirstYear;  // kCalendarFirstYear..kCalendarLastYear, either calendar
    int month = 1;                  // 1..12
    int day = 1;                    // 1..31 (a lunar day 31 is read as 30)
    bool isLeapMonth = false;       // read for lunar input only
    int hour = 0;                   // 0..23
    int minute = 0;                 // 0..59
    bool useTrueSolarTime = false;
    int provinceIndex = 0;          // 0..34, 0 = "不考虑"
    int placeIndex = 1;             // 1.. within the province
    ZiDayChange ziDayChange = ZiDayChange::kAt23;
    // Move a clock time in daylight saving time back to standard time (the
    // input window's "夏令时" box; the command line's default).
    bool applyDaylightSaving = false;
};

}  // namespace tl
