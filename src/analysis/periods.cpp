#include "analysis/periods.h"

#include "analysis/luck_annual.h"
#include "chart/chart.h"

namespace tl {

namespace {

PeriodPillar Seen(Pillar p, const Chart* chart) {
    if (!chart) return {p, 0, 0};
    return {p, TenGodOf(chart->dayStem, StemOf(p)), GrowthStageOf(chart->dayStem, BranchOf(p))};
}

}  // namespace

Pillar LuckPillarOfYear(const Chart& chart, int year) {
    // Luck pillar k is listed from the calendar year birthYear + start + 1 +
    // 10k, as the report's annual rows are grouped.
    const int sinceFirst = year - (chart.birthYear + chart.luckStartYears + 1);
    if (sinceFirst < 0 || sinceFirst >= 100) return 0;
    return LuckPillar(chart, sinceFirst / 10);
}

YearPeriods PeriodsOfYear(int year, const Chart* chart) {
    YearPeriods out;
    out.year = year;
    out.annualPillar = AnnualPillar(year);
    if (chart) out.luckPillar = LuckPillarOfYear(*chart, year);
    const std::array<SolarMonth, 12> months = SolarMonthsOfYear(year);
    for (std::size_t i = 0; i < months.size(); ++i)
        out.months[i] = {Seen(months[i].pillar, chart), months[i].start, months[i].end};
    return out;
}

std::vector<PeriodDay> PeriodDaysOf(int year, int index, const Chart* chart) {
    std::vector<PeriodDay> out;
    for (const CalendarDay& d : DaysOfSolarMonth(year, index)) out.push_back({d.date, Seen(d.pillar, chart)});
    return out;
}

int MonthHolding(const YearPeriods& periods, const Date& d, TimeOfDay t) {
    const long at = MinuteNumber(d, t);
    for (std::size_t i = 0; i < periods.months.size(); ++i) {
        const PeriodMonth& m = periods.months[i];
        if (m.pillar.pillar && MinuteNumber(m.start) <= at && at < MinuteNumber(m.end)) return static_cast<int>(i) + 1;
    }
    return 0;
}

}  // namespace tl
