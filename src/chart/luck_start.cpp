#include "chart/luck_start.h"

#include <cstdlib>

#include "calendar/civil.h"
#include "calendar/jie.h"
#include "chart/chart.h"

namespace tl {

namespace {

// Seconds since 1 January 1900 00:00 of the jie of a Gregorian month. A month
// the tables do not know reads as day 0 at 00:00, like every other lookup
// outside the tables.
long JieSeconds(int year, int month) {
    if (month == 0) { --year; month = 12; }
    if (month == 13) { ++year; month = 1; }
    const auto jie = JieAt(year, month);
    const Date d = jie ? jie->date : Date{year, month, 0};
    const int t = jie ? jie->time.seconds : 0;
    return DayNumber(d) * 86400L + t;
}

}  // namespace

long LuckTargetOffsetSeconds(const Date& birth, TimeOfDay t, bool forward) {
    const long b = DayNumber(birth) * 86400L + t.seconds;
    const long own = JieSeconds(birth.year, birth.month);
    long target = 0;
    if (forward) target = b <= own ? own : JieSeconds(birth.year, birth.month + 1);
    else target = b > own ? own : JieSeconds(birth.year, birth.month - 1);
    return target - b;
}

void ComputeLuckStart(Chart& c) {
    const bool evenYear = c.lunarYear % 2 == 0;
    c.luckForward = evenYear == c.isMale;

    const Date birth = NormalizeDate(c.JieDate());
    // Whole minutes between the birth and the target jie.
    const long minutes = std::labs(LuckTargetOffsetSeconds(birth, c.JieTime(), c.luckForward)) / 60;
    c.luckStartYears = static_cast<int>(minutes / 4320);
    long rest = minutes % 4320;
    c.luckStartMonths = static_cast<int>(rest / 360);
    rest %= 360;
    c.luckStartDays = static_cast<int>(rest / 12);
    c.luckStartHours = static_cast<int>(2 * (rest % 12));

    if (c.luckForward) c.firstLuckPillar = c.monthPillar >= 60 ? 1 : c.monthPillar + 1;
    else c.firstLuckPillar = c.monthPillar <= 1 ? 60 : c.monthPillar - 1;
}

}  // namespace tl
