// The Chinese lunar calendar of 1899..2100 as a table of month lengths, leap
// months and new-year dates, with the two conversions and the Chinese names
// of lunar dates. Table walks only, no astronomy. The row of 1899 gives
// January 1900 its lunar dates; the last row, 2100, runs to 28 January 2101.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calendar/types.h"
#include "calendar/years.h"

namespace tl {

inline constexpr int kLunarFirstYear = 1899;
inline constexpr int kLunarLastYear = 2100;
static_assert(kLunarFirstYear < kCalendarFirstYear && kLunarLastYear >= kCalendarLastYear);

struct LunarDate {
    int year = 0;   // the Gregorian year in which this lunar year's new year falls
    int month = 0;  // 1..12
    int day = 0;    // 1..30
    bool isLeapMonth = false;

    friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

// One row of the lunar-year table, decoded. Months sit at positions 1..13 in
// calendar order; a leap month L stands at position L + 1, right after the
// ordinary month L, and then months above L move one position on.
struct LunarYear {
    int year = 0;
    int leapMonth = 0;      // 0 = none
    int positions = 12;     // 13 with a leap month
    int lengths[14] = {};   // lengths[1..positions]: 29 or 30
    Date newYear;           // Gregorian date of day 1 of month 1

    int Days() const;
    // The month number and leap flag of a position.
    int MonthAt(int position) const;
    bool IsLeapAt(int position) const { return leapMonth != 0 && position == leapMonth + 1; }
    // The days of month `month` (1..12), of the leap month `month` when
    // `leap`: 29 or 30; 0 for a month the year does not have (a leap month
    // other than the year's own).
    int MonthDays(int month, bool leap) const;
};

// The raw 18-character row of a lunar year, empty outside
// kLunarFirstYear..kLunarLastYear.
std::string_view LunarYearRow(int year);
std::optional<LunarYear> LunarYearOf(int year);

// Gregorian → lunar. With `nextDay` (the entered hour is 23, the late 子
// hour) the date converted is the following day. A date past the end of its
// month counts into the next month. Empty outside the table.
std::optional<LunarDate> SolarToLunar(const Date& d, bool nextDay);

// Lunar → Gregorian. The leap flag only counts when the month is the year's
// leap month; a day past the month's length runs into the next month. With
// `lateZi` (the entered hour is 23) the lunar date is read the way
// SolarToLunar writes it: the late 子 hour already belongs to the next lunar
// day, so the birth lies on the evening of the Gregorian day before. The two
// conversions are inverse to each other at every hour, and the day pillar's
// own 23:00 rule then counts the next day exactly once. Empty outside the
// table.
std::optional<Date> LunarToSolar(const LunarDate& ld, bool lateZi);

// "初一" .. "三十" for 1..30, else empty.
std::string_view LunarDayName(int d);
// "零" "一" .. "十二" for 0..12, else empty.
std::string_view NumeralName(int n);
// A year written digit by digit: 1984 → 一九八四, 2000 → 二零零零.
std::string YearNumerals(int y);

}  // namespace tl
