// The month model the calendar window rebuilds on every change of year or
// month.
#include <benchmark/benchmark.h>

#include "calendar/years.h"
#include "perpetual/month_view.h"

namespace {

void BM_BuildMonthView(benchmark::State& state) {
    int year = tl::kCalendarFirstYear, month = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tl::BuildMonthView(year, month));
        if (++month > 12) {
            month = 1;
            if (++year > tl::kCalendarLastYear) year = tl::kCalendarFirstYear;
        }
    }
}
BENCHMARK(BM_BuildMonthView);

void BM_DayDetails(benchmark::State& state) {
    int day = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tl::DayDetails(2008, 2, day));
        if (++day > 29) day = 1;
    }
}
BENCHMARK(BM_DayDetails);

}  // namespace
