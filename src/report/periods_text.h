// The text of 流年流月: a year's luck and annual pillar and its twelve
// months, and one month's days, laid out in the report's fixed-width
// columns with CR LF line ends. The current month and today are marked.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/periods.h"
#include "report/report.h"

namespace tl {

struct PeriodsText {
    std::string text;               // UTF-8, CR LF line ends, ending in CR LF
    std::vector<TextRange> marked;  // the lines of the current month and of today
};

struct ClockNow {
    Date date;
    TimeOfDay time;
};

// The year's lines, and when `days` is given (the days of month
// `dayMonth`, 1..12) the days' lines after them. A chart adds its four
// pillars, the luck pillar and the ten-god and growth-stage columns (the
// periods must then be the chart's). The month holding `now`
// and the day `now` falls on carry "▲本月" and "▲今日".
PeriodsText BuildPeriodsText(const YearPeriods& year, const std::vector<PeriodDay>* days, int dayMonth,
                             const Chart* chart, const std::optional<ClockNow>& now);

// "YYYY-MM-DD" and "YYYY-MM-DDTHH:MM".
std::string IsoDate(const Date& d);
std::string IsoMinute(const Date& d, TimeOfDay t);

}  // namespace tl
