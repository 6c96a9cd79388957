#include "calendar/solar_month.h"

#include "calendar/civil.h"
#include "calendar/pillars.h"

namespace tl {

namespace {

// The jie that opens solar month `index` (1..13, 13 being the next year's
// 寅 month) of a pillar year: jie k of Gregorian month k opens solar month
// k - 1, 小寒 of the next January the 丑 month.
std::optional<JieInstant> OpeningJie(int pillarYear, int index) {
    if (index <= 11) return JieAt(pillarYear, index + 1);
    return JieAt(pillarYear + 1, index - 11);
}

}  // namespace

std::optional<SolarMonth> SolarMonthOf(int pillarYear, int index) {
    if (index < 1 || index > 12) return std::nullopt;
    const auto start = OpeningJie(pillarYear, index);
    const auto end = OpeningJie(pillarYear, index + 1);
    if (!start || !end) return std::nullopt;
    return SolarMonth{pillarYear, index, MonthPillarOf(pillarYear, index), *start, *end};
}

long MinuteNumber(const Date& d, TimeOfDay t) { return DayNumber(d) * 1440L + t.seconds / 60; }

long MinuteNumber(const JieInstant& jie) { return MinuteNumber(jie.date, jie.time); }

}  // namespace tl
