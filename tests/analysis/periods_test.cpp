#include "analysis/periods.h"

#include <gtest/gtest.h>

#include <string>

#include "analysis/luck_annual.h"
#include "chart/chart.h"
#include "calendar/civil.h"
#include "calendar/jie.h"
#include "calendar/pillars.h"
#include "calendar/years.h"
#include "report/periods_text.h"
#include "chart/run.h"
#include "perpetual/month_view.h"

namespace tl {
namespace {

Pillars At(const Date& d, TimeOfDay t) { return ComputePillars(d, t); }

TimeOfDay MinuteBefore(TimeOfDay t) { return TimeOfDay{t.seconds - 60}; }

// Every year of the calendar: month k starts at the jie of Gregorian month
// k + 1 (the 丑 month at 小寒 of the next January), the month pillar a birth
// at that minute gets and a birth a minute earlier does not; the days run
// from the month's first civil day to its last (a jie day is listed in both
// months that share it), each with the day pillar of the perpetual
// calendar.
TEST(PeriodsOfYear, StartsAreTheJieMomentsAndDaysThePerpetualCalendars) {
    int faults = 0;
    std::string first;
    auto fault = [&](const std::string& what) {
        if (faults++ == 0) first = what;
    };
    for (int y = kCalendarFirstYear; y <= kCalendarLastYear; ++y) {
        const YearPeriods periods = PeriodsOfYear(y, nullptr);
        if (periods.annualPillar != At({y, 6, 1}, TimeOfDay::Hms(12, 0)).year) fault(std::to_string(y) + " annual");
        for (int k = 1; k <= 12; ++k) {
            const PeriodMonth& m = periods.months[static_cast<std::size_t>(k - 1)];
            const auto jie = k <= 11 ? JieAt(y, k + 1) : JieAt(y + 1, 1);
            const std::string what = std::to_string(y) + " month " + std::to_string(k);
            if (!jie || !(m.start.date == jie->date) || m.start.time != jie->time) fault(what + " start");
            const Date d = m.start.date;
            if (At(d, m.start.time).month != m.pillar.pillar || At(d, MinuteBefore(m.start.time)).month == m.pillar.pillar)
                fault(what + " pillar");
            const std::vector<PeriodDay> days = PeriodDaysOf(y, k, nullptr);
            if (days.empty() || !(days.front().date == d)) fault(what + " first day");
            // The last day holds minutes of the month, the day after it none.
            const long endMinute = MinuteNumber(m.end);
            if (days.empty() || DayNumber(days.back().date) * 1440 >= endMinute ||
                (DayNumber(days.back().date) + 1) * 1440 < endMinute)
                fault(what + " last day");
            for (const PeriodDay& day : days) {
                const Date c = day.date;
                if (day.pillar.pillar != wTO_DAY(c.year, c.month, c.day)) fault(what + " day pillar");
            }
        }
    }
    EXPECT_EQ(faults, 0) << "first: " << first;
}

TEST(PeriodsOfYear, ChartWordsLuckPillarAndNow) {
    ChartRequest r;
    r.year = 1990, r.month = 7, r.day = 1, r.hour = 7, r.minute = 30;  // 丁卯 day: day stem 丁
    const Chart chart = RunCalendar(r);
    ASSERT_EQ(chart.dayStem, 4);
    const int firstLuckYear = chart.birthYear + chart.luckStartYears + 1;

    // Luck pillar 0 from its first year for ten years, pillar 9 for the last
    // ten, none before or after.
    const std::pair<int, Pillar> luck[] = {{firstLuckYear - 1, 0},
                                           {firstLuckYear, chart.firstLuckPillar},
                                           {firstLuckYear + 9, chart.firstLuckPillar},
                                           {firstLuckYear + 10, LuckPillar(chart, 1)},
                                           {firstLuckYear + 99, LuckPillar(chart, 9)},
                                           {firstLuckYear + 100, 0}};
    for (const auto& [year, expected] : luck) EXPECT_EQ(LuckPillarOfYear(chart, year), expected) << year;

    // 2024: 甲辰 year; its 寅 month 丙寅 is 劫 to a 丁 day, and 丁 in 寅 is 死.
    const YearPeriods y = PeriodsOfYear(2024, &chart);
    EXPECT_EQ(PillarName(y.annualPillar), "甲辰");
    EXPECT_EQ(PillarName(y.months[0].pillar.pillar), "丙寅");
    EXPECT_EQ(TenGodName(y.months[0].pillar.tenGod), "劫");
    EXPECT_EQ(GrowthStageName(y.months[0].pillar.growthStage), "死");
    const std::vector<PeriodDay> days = PeriodDaysOf(2024, 1, &chart);
    EXPECT_EQ(days.front().pillar.tenGod, TenGodOf(4, StemOf(days.front().pillar.pillar)));
    EXPECT_EQ(PeriodsOfYear(2024, nullptr).months[0].pillar.tenGod, 0);

    // Now: 立春 2024 at 16:27 on 4 February opens the 寅 month; a minute
    // before is still the 丑 month of 2023.
    EXPECT_EQ(MonthHolding(y, {2024, 2, 4}, TimeOfDay::Hms(16, 27)), 1);
    EXPECT_EQ(MonthHolding(y, {2024, 2, 4}, TimeOfDay::Hms(16, 26)), 0);
    EXPECT_EQ(MonthHolding(PeriodsOfYear(2023, nullptr), {2024, 2, 4}, TimeOfDay::Hms(16, 26)), 12);
    // Each later jie opens its month: the month that ends there holds it no longer.
    for (std::size_t i = 1; i < y.months.size(); ++i)
        EXPECT_EQ(MonthHolding(y, y.months[i].start.date, y.months[i].start.time), static_cast<int>(i) + 1) << i;

    // The text marks that month and that day, and only them.
    const PeriodsText text = BuildPeriodsText(y, &days, 1, &chart, ClockNow{{2024, 2, 5}, TimeOfDay::Hms(9, 0)});
    ASSERT_EQ(text.marked.size(), 2u);
    // Ranges count characters, CR LF as two.
    auto chars = [&](TextRange r) {
        std::size_t at = 0, n = 0;
        auto skip = [&](int count) {
            for (; count > 0; --count) do ++at; while (at < text.text.size() && (text.text[at] & 0xC0) == 0x80);
        };
        skip(r.start);
        n = at;
        skip(r.length);
        return text.text.substr(n, at - n);
    };
    EXPECT_EQ(chars(text.marked[0]), "  寅月   丙寅   2024-02-04 16:27 立春   劫  [ 死 ]   ▲本月");
    EXPECT_EQ(chars(text.marked[1]).substr(0, 12), "  2024-02-05");
    EXPECT_NE(text.text.find("丙寅   2024-02-04 16:27 立春   劫  [ 死 ]   ▲本月\r\n"), std::string::npos) << text.text;
    EXPECT_NE(text.text.find("2024-02-05   " + std::string(PillarName(days[1].pillar.pillar))), std::string::npos);
    EXPECT_NE(text.text.find("▲今日"), std::string::npos);
}

}  // namespace
}  // namespace tl
