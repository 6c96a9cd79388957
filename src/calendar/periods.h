// 流月 and 流日 on the calendar alone: the twelve month pillars of a solar
// year with the moments of the jie that open them, and the day pillars of
// one of those months.
#pragma once

#include <array>
#include <vector>

#include "calendar/solar_month.h"
#include "calendar/types.h"

namespace tl {

// The twelve solar months of `year` (1 = the 寅 month from its 立春 .. 12 =
// the 丑 month up to the next 立春). Every year of the calendar has all
// twelve.
std::array<SolarMonth, 12> SolarMonthsOfYear(int year);

struct CalendarDay {
    Date date;
    Pillar pillar = 0;  // the civil day's pillar, without the 23:00 rule
};

// The days of solar month `index` (1..12) of `year`: every civil day that
// some of its minutes fall on, from the day of the jie that opens it to the
// day of the jie that opens the next (unless that jie falls at midnight).
// A jie day is thus listed in both months it is shared by.
std::vector<CalendarDay> DaysOfSolarMonth(int year, int index);

}  // namespace tl
