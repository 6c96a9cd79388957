#include "calendar/periods.h"

#include "calendar/civil.h"
#include "calendar/pillars.h"

namespace tl {

std::array<SolarMonth, 12> SolarMonthsOfYear(int year) {
    std::array<SolarMonth, 12> months{};
    for (int s = 1; s <= 12; ++s) {
        if (const auto m = SolarMonthOf(year, s)) months[static_cast<std::size_t>(s - 1)] = *m;
    }
    return months;
}

std::vector<CalendarDay> DaysOfSolarMonth(int year, int index) {
    std::vector<CalendarDay> days;
    const auto month = SolarMonthOf(year, index);
    if (!month) return days;
    const long last = DayNumber(month->end.date) - (month->end.time.seconds == 0 ? 1 : 0);
    for (long n = DayNumber(month->start.date); n <= last; ++n) {
        const Date d = DateOfDayNumber(n);
        days.push_back({d, DayPillar(d)});
    }
    return days;
}

}  // namespace tl
