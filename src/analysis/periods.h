// The periods of a life below the luck pillar: for a year, the luck pillar
// and the annual pillar in force and the twelve 流月 with their start
// moments; for one of those months its 流日. With a chart, each month and
// day also carries the ten god of its stem and the growth stage of its
// branch seen from the chart's day stem.
#pragma once

#include <array>
#include <vector>

#include "analysis/attributes.h"
#include "calendar/periods.h"

namespace tl {

struct Chart;

// A month or day pillar with, when a chart is given, its two words from the
// day stem (0 without a chart).
struct PeriodPillar {
    Pillar pillar = 0;
    TenGod tenGod = 0;
    GrowthStage growthStage = 0;

    friend bool operator==(const PeriodPillar&, const PeriodPillar&) = default;
};

struct PeriodMonth {
    PeriodPillar pillar;
    JieInstant start;  // the jie that opens the month
    JieInstant end;    // the jie that opens the next
};

struct PeriodDay {
    Date date;
    PeriodPillar pillar;
};

struct YearPeriods {
    int year = 0;
    // The luck pillar whose ten years hold `year` as the report lists them
    // (from the calendar year birthYear + start years + 1 on); 0 before the
    // first and after the tenth, or without a chart.
    Pillar luckPillar = 0;
    Pillar annualPillar = 0;
    std::array<PeriodMonth, 12> months{};
};

// `chart` may be null: the pillars and start moments only.
YearPeriods PeriodsOfYear(int year, const Chart* chart);
// The days of solar month `index` (1..12) of `year`.
std::vector<PeriodDay> PeriodDaysOf(int year, int index, const Chart* chart);

// The luck pillar in force in a calendar year, 0 when none is.
Pillar LuckPillarOfYear(const Chart& chart, int year);

// The solar month of `year` (1..12) that holds the clock time, 0 when it
// lies in none of them.
int MonthHolding(const YearPeriods& periods, const Date& d, TimeOfDay t);

}  // namespace tl
