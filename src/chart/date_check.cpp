#include "chart/date_check.h"

#include "calendar/civil.h"
#include "calendar/lunar.h"

namespace tl {

std::optional<DateProblem> ImpossibleDate(const ChartRequest& r) {
    if (r.isSolarInput) {
        const int days = DaysInMonth(r.year, r.month);
        if (days > 0 && r.day > days) return DateProblem{DateProblem::Kind::DayPastMonthEnd, days, 0};
        return std::nullopt;
    }
    const std::optional<LunarYear> year = LunarYearOf(r.year);
    if (!year) return std::nullopt;
    if (r.isLeapMonth && r.month != year->leapMonth) {
        if (year->leapMonth == 0) return DateProblem{DateProblem::Kind::NoLeapMonth, 0, 0};
        return DateProblem{DateProblem::Kind::OtherLeapMonth, 0, year->leapMonth};
    }
    const int days = year->MonthDays(r.month, r.isLeapMonth);
    if (days > 0 && r.day > days) return DateProblem{DateProblem::Kind::DayPastMonthEnd, days, 0};
    return std::nullopt;
}

std::string DateProblemText(const ChartRequest& r, const DateProblem& p) {
    const std::string year = std::to_string(r.year) + "年";
    if (r.isSolarInput) return year + std::to_string(r.month) + "月只有" + std::to_string(p.monthDays) + "天";
    const std::string month = std::string(NumeralName(r.month));
    switch (p.kind) {
        case DateProblem::Kind::NoLeapMonth: return "农历" + year + "没有闰月";
        case DateProblem::Kind::OtherLeapMonth:
            return "农历" + year + "的闰月是闰" + std::string(NumeralName(p.leapMonth)) + "月,没有闰" + month + "月";
        case DateProblem::Kind::DayPastMonthEnd: break;
    }
    return "农历" + year + (r.isLeapMonth ? "闰" : "") + month + "月只有" + std::to_string(p.monthDays) + "天";
}

}  // namespace tl
