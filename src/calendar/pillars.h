// The four pillars of year, month, day and hour of a Gregorian birth: the
// year changes at 立春, the month at each jie, the day at 23:00, and the hour
// stems follow the day stem.
#pragma once

#include <string_view>

#include "calendar/names.h"
#include "calendar/types.h"

namespace tl {

struct Pillars {
    Pillar year = 0;
    Pillar month = 0;
    Pillar day = 0;
    Pillar hour = 0;

    friend bool operator==(const Pillars&, const Pillars&) = default;
};

// Hour slot of a clock hour: 23 and 0 give 1 (子), 1 and 2 give 2 (丑), ...,
// 21 and 22 give 12 (亥); any other value gives 0.
Branch HourBranch(int hour);

// The pillar of a Gregorian date, without the 23:00 rule: one unbroken
// 60-day cycle in which 1 January 1900 is 甲戌 (11).
Pillar DayPillar(const Date& d);

// The year pillar of a pillar year (the year that began at its 立春):
// 1984 is 甲子 (1), 1983 癸亥 (60).
Pillar YearPillarOf(int pillarYear);
// The month pillar of solar month s (1 = the 寅 month opened by 立春 .. 12
// = the 丑 month opened by 小寒) of a pillar year: its stem follows from the
// year stem (五虎遁).
Pillar MonthPillarOf(int pillarYear, int solarMonth);
// The hour pillar of hour slot h (1 = 子 .. 12 = 亥) on a day whose pillar
// gives the hour stems (五鼠遁).
Pillar HourPillarOf(Pillar stemDay, Branch h);

// True when the birth at date d (already inside its month), time t lies on
// or after the jie of d's month.
bool OnOrAfterJie(const Date& d, TimeOfDay t);

// The four pillars of a birth. A date past the end of its month counts as
// the matching day of the next month. From 23:00 the day pillar is the next
// day's when `dayChangesAt23`, else the civil day's; the hour stem follows
// the next day's stem either way.
Pillars ComputePillars(const Date& birth, TimeOfDay t, bool dayChangesAt23 = true);

}  // namespace tl
