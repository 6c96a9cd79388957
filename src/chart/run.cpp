#include "chart/run.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "chart/luck_start.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "calendar/civil.h"
#include "place/daylight_saving.h"
#include "place/gazetteer.h"
#include "place/true_solar_time.h"

namespace tl {

namespace {

constexpr int kSecondsPerDay = 86400;

struct Moment {
    Date date;
    TimeOfDay time;
};

// A date and time moved by a number of seconds. The date stays as given
// (a date past the end of its month included) unless the move crosses
// midnight.
Moment Shifted(const Date& date, TimeOfDay time, long seconds) {
    const long total = time.seconds + seconds;
    const long days = total >= 0 ? total / kSecondsPerDay : -((-total + kSecondsPerDay - 1) / kSecondsPerDay);
    const TimeOfDay t{static_cast<int>(total - days * kSecondsPerDay)};
    if (days == 0 || date.month < 1 || date.month > 12) return {date, t};
    return {DateOfDayNumber(DayNumber(date) + days), t};
}

void SetBirth(Chart& c, const Moment& m) {
    c.birthYear = m.date.year;
    c.birthMonth = m.date.month;
    c.birthDay = m.date.day;
    c.birthTime = m.time;
}

void StorePillars(Chart& c) {
    const Pillars p = ComputePillars(c.BirthDate(), c.birthTime, c.ziDayChange == ZiDayChange::kAt23);
    c.SetPillars(p.year, p.month, p.day, p.hour);
}

// A birth abroad: the year and month pillars of the instant in Beijing time,
// the day and hour pillars of the birthplace's time.
void StoreSplitPillars(Chart& c) {
    const bool at23 = c.ziDayChange == ZiDayChange::kAt23;
    const Pillars instant = ComputePillars(c.beijingDate, c.beijingTime, at23);
    const Pillars local = ComputePillars(c.BirthDate(), c.birthTime, at23);
    c.SetPillars(instant.year, instant.month, local.day, local.hour);
}

// Moves the birth to the true solar time of the chosen place; the date moves
// with it when the corrected time crosses midnight. Returns the day shift.
int ApplyTrueSolarTime(Chart& c, const ChartRequest& r) {
    const SolarTimeResult t = TrueSolarTime(c.BirthDate(), c.birthTime, r.provinceIndex, r.placeIndex);
    SetBirth(c, {t.date, t.time});
    return t.dayShift;
}

// How the entered clock reads in the birthplace's zone. Before a zone's
// first standard time the clock is the local mean time: for a province the
// program takes it as Beijing time, as it always has; abroad it is the
// birthplace's own, UTC + 4 minutes × longitude. Without the zone (missing
// or damaged in the database) the clock reads as Beijing time and its
// daylight saving time is unknown.
ClockReading ClockOf(const ChartRequest& r, const Date& date, TimeOfDay time) {
    const std::string_view zone = r.world ? std::string_view(r.world->zone) : ProvinceZone(r.provinceIndex);
    ClockReading clock;
    if (const auto read = ReadClock(zone, date, time)) {
        clock = *read;
    } else {
        clock.daylightSavingKnown = false;
        clock.zone = r.world ? std::string_view{} : kBeijingZone;
        clock.utcOffsetSeconds = clock.standardOffsetSeconds = kBeijingOffsetSeconds;
    }
    if (clock.localMeanTime) {
        const int offset = r.world ? static_cast<int>(std::lround(r.world->longitude * 240.0)) : kBeijingOffsetSeconds;
        clock.utcOffsetSeconds = clock.standardOffsetSeconds = offset;
        clock.daylightSaving = false;
    }
    return clock;
}

// Reads the chart's clock date and time in the birthplace's zone: notes the
// daylight saving time and sets the instant in Beijing time. The clock
// counts as the zone's standard time unless daylight saving time is to be
// applied. Returns the seconds from the clock to the zone's standard time
// the reading used.
long ReadTheClock(Chart& c, const ChartRequest& r) {
    c.clock = ClockOf(r, c.clockDate, c.clockTime);
    c.daylightSavingKnown = c.clock.daylightSavingKnown;
    if (!c.daylightSavingKnown) {
        const std::string_view zone = r.world ? std::string_view(r.world->zone) : ProvinceZone(r.provinceIndex);
        c.daylightSavingProblem = ZoneProblem(zone);
        if (c.daylightSavingProblem.empty())
            c.daylightSavingProblem = std::string(zone) + ": the zone file lists no changes that late, and its rule for later times is not read";
    }
    const int ahead = c.clock.DaylightSavingSeconds();
    c.daylightSavingInEffect = c.clock.daylightSaving;
    c.daylightSavingMinutes = c.clock.daylightSaving ? ahead / 60 : 0;
    c.daylightSavingApplied = r.applyDaylightSaving && c.clock.daylightSaving && ahead != 0;
    const int offset = c.daylightSavingApplied ? c.clock.utcOffsetSeconds : c.clock.standardOffsetSeconds;
    const Moment beijing = Shifted(c.clockDate, c.clockTime, kBeijingOffsetSeconds - offset);
    c.beijingDate = beijing.date;
    c.beijingTime = beijing.time;
    return c.daylightSavingApplied ? -ahead : 0;
}

// A birth abroad: the birthplace's standard time, or its true solar time
// (UTC + 4 minutes × longitude + the equation of time of the date, to the
// second), becomes the birth time.
void SetLocalTime(Chart& c, const ChartRequest& r, long toStandard) {
    Moment local = Shifted(c.clockDate, c.clockTime, toStandard);
    c.enteredHourBranch = HourBranch(local.time.hour());
    if (r.useTrueSolarTime) {
        const Date day = NormalizeDate(local.date);
        const long utc = -static_cast<long>(c.clock.standardOffsetSeconds);
        const long longitude = std::lround(r.world->longitude * 240.0);
        const long equation = std::lround(EquationOfTime(day.month, day.day) * 60.0f);
        local = Shifted(local.date, local.time, utc + longitude + equation);
    }
    SetBirth(c, local);
}

}  // namespace

DaylightSaving DaylightSavingOf(const ChartRequest& r) {
    Date date{r.year, r.month, r.day};
    if (!r.isSolarInput) {
        const bool lateZi = r.hour == 23 && r.ziDayChange == ZiDayChange::kAt23;
        const auto solar = LunarToSolar({r.year, r.month, std::min(r.day, 30), r.isLeapMonth}, lateZi);
        if (!solar) return {};
        date = *solar;
    }
    const ClockReading clock = ClockOf(r, date, TimeOfDay::Hms(r.hour, r.minute));
    if (!clock.daylightSavingKnown) return {false, 0, false};
    if (!clock.daylightSaving) return {};
    return {true, clock.DaylightSavingSeconds() / 60};
}

Chart RunCalendar(const ChartRequest& r) {
    Chart c;
    c.isMale = r.isMale;
    c.isSolarInput = r.isSolarInput;
    c.clockTime = TimeOfDay::Hms(r.hour, r.minute);
    c.ziDayChange = r.ziDayChange;
    c.abroad = r.world.has_value();
    const bool at23 = c.ziDayChange == ZiDayChange::kAt23;
    // The late 子 hour as entered belongs to the next lunar day, unless the
    // day changes only at midnight.
    const bool enteredLateZi = r.hour == 23 && at23;

    if (r.isSolarInput) {
        c.clockDate = {r.year, r.month, r.day};
    } else {
        c.lunarYear = r.year;
        c.lunarMonth = r.month;
        c.lunarDay = std::min(r.day, 30);
        c.isLeapMonth = r.isLeapMonth;
        if (const auto solar = LunarToSolar({c.lunarYear, c.lunarMonth, c.lunarDay, c.isLeapMonth}, enteredLateZi))
            c.clockDate = *solar;
        else
            c.clockDate = {};
    }
    const long toStandard = ReadTheClock(c, r);

    if (c.abroad) {
        SetLocalTime(c, r, toStandard);
        StoreSplitPillars(c);
        // The lunar date is that of the birthplace's day: the late 子 hour
        // of its time belongs to the next lunar day.
        if (r.isSolarInput) {
            if (const auto lunar = SolarToLunar(c.BirthDate(), c.birthTime.hour() == 23 && at23)) {
                c.lunarYear = lunar->year;
                c.lunarMonth = lunar->month;
                c.lunarDay = lunar->day;
                c.isLeapMonth = lunar->isLeapMonth;
            }
        }
        ComputeLuckStart(c);
        return c;
    }

    // In China the clock, turned into Beijing time, is the birth time; true
    // solar time corrects it from there.
    SetBirth(c, {c.beijingDate, c.beijingTime});
    c.enteredHourBranch = HourBranch(c.birthTime.hour());
    if (r.isSolarInput) {
        // The birth as if entered at Beijing time, late 子 hour included.
        const bool lateZi = c.birthTime.hour() == 23 && at23;
        const int shift = r.useTrueSolarTime ? ApplyTrueSolarTime(c, r) : 0;
        StorePillars(c);
        // The lunar date follows the corrected date. When the correction has
        // already carried the birth past midnight, the late 子 hour must not
        // move it a second day.
        if (const auto lunar = SolarToLunar(c.BirthDate(), lateZi && shift <= 0)) {
            c.lunarYear = lunar->year;
            c.lunarMonth = lunar->month;
            c.lunarDay = lunar->day;
            c.isLeapMonth = lunar->isLeapMonth;
        }
    } else {
        // The lunar date stays as entered even when the corrections move the
        // Gregorian date.
        if (r.useTrueSolarTime) ApplyTrueSolarTime(c, r);
        StorePillars(c);
    }

    ComputeLuckStart(c);
    return c;
}

}  // namespace tl
