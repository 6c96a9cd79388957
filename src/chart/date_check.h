// Whether the date of a request exists: the lists of the input window and
// the command line offer day 31 in every month and a leap flag for every
// lunar month, so an impossible date is refused before a run instead of
// being charted as some other day.
#pragma once

#include <optional>
#include <string>

#include "chart/request.h"

namespace tl {

struct DateProblem {
    enum class Kind {
        DayPastMonthEnd,  // the day is past the end of its month
        NoLeapMonth,      // a leap month asked for in a lunar year without one
        OtherLeapMonth,   // a leap month asked for that is not the year's
    };
    Kind kind = Kind::DayPastMonthEnd;
    int monthDays = 0;  // DayPastMonthEnd: the days the month has
    int leapMonth = 0;  // OtherLeapMonth: the year's leap month

    friend bool operator==(const DateProblem&, const DateProblem&) = default;
};

// What is wrong with the request's date: a Gregorian day past the end of
// its month (30 February), a lunar day past the end of its 29-day month, or
// the leap flag on a lunar month that is not the year's leap month. Nothing
// for a date that exists; a year outside the calendar tables is no date
// problem here (the lists and the command line keep the years inside them).
std::optional<DateProblem> ImpossibleDate(const ChartRequest& request);

// The input window's words for it: "1990年2月只有28天", "农历2024年二月只有
// 29天", "农历2024年没有闰月", "农历2023年的闰月是闰二月,没有闰五月".
std::string DateProblemText(const ChartRequest& request, const DateProblem& problem);

}  // namespace tl
