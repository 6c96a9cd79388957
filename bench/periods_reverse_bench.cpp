// 八字反推 and a year of 流月 and 流日: what the two windows compute on
// every change of a list.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "analysis/periods.h"
#include "calendar/civil.h"
#include "calendar/reverse.h"
#include "calendar/years.h"
#include "chart/run.h"

namespace {

// Pillars of births drawn from the whole range, so that each query finds
// its windows; both 子 rules.
void BM_ReversePillars(benchmark::State& state) {
    std::mt19937 random(1);
    const long first = tl::DayNumber({tl::kCalendarFirstYear, 1, 1});
    const long last = tl::DayNumber({tl::kCalendarLastYear, 12, 31});
    std::uniform_int_distribution<long> day(first, last);
    std::uniform_int_distribution<int> minute(0, 1439);
    std::vector<tl::Pillars> queries;
    for (int i = 0; i < 1024; ++i) {
        const int m = minute(random);
        queries.push_back(tl::ComputePillars(tl::DateOfDayNumber(day(random)), tl::TimeOfDay::Hms(m / 60, m % 60),
                                             i % 2 == 0));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tl::ReversePillars(queries[i % queries.size()], i % 2 == 0));
        ++i;
    }
}
BENCHMARK(BM_ReversePillars);

// A year with a chart: its luck, annual and twelve month pillars and the
// days of all twelve months, each with its ten god and growth stage.
void BM_YearOfPeriods(benchmark::State& state) {
    tl::ChartRequest r;
    r.year = 1990, r.month = 7, r.day = 1, r.hour = 7;
    const tl::Chart chart = tl::RunCalendar(r);
    int year = tl::kCalendarFirstYear;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tl::PeriodsOfYear(year, &chart));
        for (int m = 1; m <= 12; ++m) benchmark::DoNotOptimize(tl::PeriodDaysOf(year, m, &chart));
        if (++year > tl::kCalendarLastYear) year = tl::kCalendarFirstYear;
    }
}
BENCHMARK(BM_YearOfPeriods);

}  // namespace
