// 八字反推: from four pillars back to the births they stand for. Every
// stretch of Beijing clock time (to the minute, no daylight saving time, no
// true solar time) between the calendar's first and last day whose chart
// has exactly the given pillars, found by construction: the year pillar
// gives the pillar years, the month pillar the solar month between two jie
// moments in each, the day pillar its days and the hour pillar their two
// hours.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/pillars.h"
#include "calendar/types.h"

namespace tl {

// A minute of the Beijing clock.
struct ClockMinute {
    Date date;
    int hour = 0;
    int minute = 0;

    friend bool operator==(const ClockMinute&, const ClockMinute&) = default;
};

// Every minute from `first` to `last`, both included, charts to the pillars.
// A window ends where a jie changes the month pillar; a 子 hour under the
// 23:00 rule runs from 23:00 across midnight to 00:59.
struct BirthWindow {
    ClockMinute first;
    ClockMinute last;

    friend bool operator==(const BirthWindow&, const BirthWindow&) = default;
};

// Why four pillars can stand for no birth at all.
enum class ReverseFault {
    None,
    NotAPillar,  // a value outside 甲子..癸亥
    MonthStem,   // the month stem does not follow from the year stem (五虎遁)
    HourStem,    // the hour stem does not follow from the day stem (五鼠遁)
};

struct ReverseResult {
    ReverseFault fault = ReverseFault::None;
    std::string reason;               // names the rule; empty without a fault
    std::vector<BirthWindow> windows;  // in time order; empty with a fault
};

// The windows of the pillars under the 子 rule (`dayChangesAt23` as in
// ComputePillars), from kCalendarFirstYear-01-01 00:00 to
// kCalendarLastYear-12-31 23:59.
ReverseResult ReversePillars(const Pillars& pillars, bool dayChangesAt23);

// The twelve month pillars a year pillar's year can have, 寅 month first.
std::array<Pillar, 12> MonthPillarsOfYear(Pillar year);

// The hour pillars a day pillar's day can have, in clock order from
// midnight: 子 .. 亥, and under the midnight rule the late 子 hour
// (23:00..23:59), whose stem follows the next day's, after them.
std::vector<Pillar> HourPillarsOfDay(Pillar day, bool dayChangesAt23);

// The pillar a two-character name such as "庚午" stands for, or why it
// stands for none ("甲丑": a yang stem with a yin branch).
struct NamedPillar {
    Pillar pillar = 0;
    std::string problem;
};
NamedPillar PillarFromName(std::string_view name);

}  // namespace tl
