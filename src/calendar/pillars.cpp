#include "calendar/pillars.h"

#include <array>

#include "calendar/civil.h"
#include "calendar/jie.h"
#include "calendar/names.h"

namespace tl {

namespace {

constexpr int Mod(long a, int n) {
    const long r = a % n;
    return static_cast<int>(r < 0 ? r + n : r);
}

constexpr TimeOfDay kLateZi = TimeOfDay::Hms(23, 0);

}  // namespace

Branch HourBranch(int hour) {
    if (hour < 0 || hour > 23) return 0;
    return (hour + 1) / 2 % 12 + 1;
}

Pillar DayPillar(const Date& d) { return Mod(DayNumber(d) + 10, 60) + 1; }

Pillar YearPillarOf(int pillarYear) { return Mod(pillarYear - 4, 60) + 1; }

Pillar MonthPillarOf(int pillarYear, int solarMonth) {
    const Pillar p = Mod(pillarYear, 5) * 12 + 14 + solarMonth;
    return p > 60 ? p - 60 : p;
}

Pillar HourPillarOf(Pillar stemDay, Branch h) {
    const Pillar p = Mod(stemDay + 4, 5) * 12 + h;
    return p > 60 ? p - 60 : p;
}

bool OnOrAfterJie(const Date& d, TimeOfDay t) {
    // Outside the tables the jie day reads as 0, so every day lies after it.
    const auto jie = JieAt(d.year, d.month);
    if (!jie) return true;
    return d.day > jie->date.day || (d.day == jie->date.day && t >= jie->time);
}

Pillars ComputePillars(const Date& birth, TimeOfDay t, bool dayChangesAt23) {
    const Date d = NormalizeDate(birth);
    const int y = d.year;
    const int m = d.month;
    const bool after = OnOrAfterJie(d, t);

    // The pillar year begins at 立春, the jie of February.
    const int yp = m >= 3 ? y : (m == 2 && after) ? y : y - 1;
    // Solar month 1 is the 寅 month opened by 立春 .. 12 the 丑 month opened by 小寒.
    int s = 0;
    if (m >= 3) s = after ? m - 1 : m - 2;
    else if (m == 2) s = after ? 1 : 12;
    else s = after ? 12 : 11;

    Pillars p;
    p.year = YearPillarOf(yp);
    p.month = MonthPillarOf(yp, s);
    p.day = DayPillar(d);
    // The late 子 hour takes its stem from the next day; under the default
    // rule it belongs to the next day altogether.
    const Pillar stemDay = t >= kLateZi ? p.day % 60 + 1 : p.day;
    if (dayChangesAt23) p.day = stemDay;
    p.hour = HourPillarOf(stemDay, HourBranch(t.hour()));
    return p;
}

}  // namespace tl
