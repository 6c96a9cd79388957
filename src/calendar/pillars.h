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

// True when the birth at date d (already inside its month), time t lies on
// or after the jie of d's month.
bool OnOrAfterJie(const Date& d, TimeOfDay t);

// The four pillars of a birth. A date past the end of its month counts as
// the matching day of the next month. From 23:00 the day pillar is the next
// day's when `dayChangesAt23`, else the civil day's; the hour stem follows
// the next day's stem either way.
Pillars ComputePillars(const Date& birth, TimeOfDay t, bool dayChangesAt23 = true);

}  // namespace tl
