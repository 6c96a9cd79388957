#include "chart/run.h"

#include <algorithm>
#include <string>

#include "chart/luck_start.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "calendar/civil.h"
#include "place/daylight_saving.h"
#include "place/true_solar_time.h"

namespace tl {

namespace {

void StorePillars(Chart& c) {
    const Pillars p = ComputePillars(c.BirthDate(), c.birthTime, c.ziDayChange == ZiDayChange::kAt23);
    c.SetPillars(p.year, p.month, p.day, p.hour);
}

// Moves the birth to the true solar time of the chosen place; the date moves
// with it when the corrected time crosses midnight. Returns the day shift.
int ApplyTrueSolarTime(Chart& c, const ChartRequest& r) {
    const SolarTimeResult t = TrueSolarTime(c.BirthDate(), c.birthTime, r.provinceIndex, r.placeIndex);
    c.birthYear = t.date.year;
    c.birthMonth = t.date.month;
    c.birthDay = t.date.day;
    c.birthTime = t.time;
    return t.dayShift;
}

// Notes the daylight saving time at the chart's Gregorian date and entered
// clock time and, when it is to be applied, moves the birth back to
// standard time, the date with it across midnight.
void ApplyDaylightSaving(Chart& c, const ChartRequest& r) {
    const DaylightSaving dst = DaylightSavingAt(c.BirthDate(), c.birthTime);
    c.daylightSavingKnown = dst.known;
    c.daylightSavingInEffect = dst.inEffect;
    c.daylightSavingMinutes = dst.minutes;
    c.daylightSavingApplied = r.applyDaylightSaving && dst.inEffect && dst.minutes != 0;
    if (!c.daylightSavingApplied) return;
    int seconds = c.birthTime.seconds - dst.minutes * 60;
    if (seconds < 0) {
        const Date earlier = DateOfDayNumber(DayNumber(c.BirthDate()) - 1);
        c.birthYear = earlier.year;
        c.birthMonth = earlier.month;
        c.birthDay = earlier.day;
        seconds += 86400;
    }
    c.birthTime = TimeOfDay{seconds};
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
    return DaylightSavingAt(date, TimeOfDay::Hms(r.hour, r.minute));
}

Chart RunCalendar(const ChartRequest& r) {
    Chart c;
    c.isMale = r.isMale;
    c.isSolarInput = r.isSolarInput;
    c.birthTime = TimeOfDay::Hms(r.hour, r.minute);
    c.enteredHourBranch = HourBranch(r.hour);
    c.ziDayChange = r.ziDayChange;
    // The late 子 hour as entered belongs to the next lunar day, unless the
    // day changes only at midnight.
    const bool enteredLateZi = r.hour == 23 && c.ziDayChange == ZiDayChange::kAt23;

    if (r.isSolarInput) {
        c.birthYear = r.year;
        c.birthMonth = r.month;
        c.birthDay = r.day;
        // Daylight saving time first: the birth then is as if entered at
        // the standard clock time, late 子 hour included.
        ApplyDaylightSaving(c, r);
        const bool lateZi = c.daylightSavingApplied ? c.birthTime.hour() == 23 && c.ziDayChange == ZiDayChange::kAt23 : enteredLateZi;
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
        c.lunarYear = r.year;
        c.lunarMonth = r.month;
        c.lunarDay = std::min(r.day, 30);
        c.isLeapMonth = r.isLeapMonth;
        if (const auto solar = LunarToSolar({c.lunarYear, c.lunarMonth, c.lunarDay, c.isLeapMonth}, enteredLateZi)) {
            c.birthYear = solar->year;
            c.birthMonth = solar->month;
            c.birthDay = solar->day;
        }
        // The lunar date stays as entered even when the corrections move the
        // Gregorian date.
        ApplyDaylightSaving(c, r);
        if (r.useTrueSolarTime) ApplyTrueSolarTime(c, r);
        StorePillars(c);
    }

    ComputeLuckStart(c);
    return c;
}


}  // namespace tl
