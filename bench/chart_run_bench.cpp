// The whole calendar run of one chart: pillars, lunar date and luck start.
#include <benchmark/benchmark.h>

#include <vector>

#include "calendar/years.h"
#include "chart/run.h"
#include "place/gazetteer.h"

namespace {

// A fixed, varied set of births: both sexes, both calendars, leap months,
// hour 23, jie days, both ends of the tables, every province (each reading
// its clock through its own zone); daylight saving time looked up for each
// and applied as the command line does.
std::vector<tl::ChartRequest> Births() {
    std::vector<tl::ChartRequest> births;
    unsigned seed = 12345;
    auto next = [&](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int i = 0; i < 1024; ++i) {
        tl::ChartRequest r;
        r.isMale = next(2) == 0;
        r.isSolarInput = next(4) != 0;
        r.year = tl::kCalendarFirstYear + static_cast<int>(next(tl::kCalendarLastYear - tl::kCalendarFirstYear + 1));
        r.month = 1 + static_cast<int>(next(12));
        r.day = 1 + static_cast<int>(next(31));
        r.isLeapMonth = !r.isSolarInput && next(8) == 0;
        r.hour = static_cast<int>(next(24));
        r.minute = static_cast<int>(next(60));
        r.applyDaylightSaving = true;
        r.provinceIndex = static_cast<int>(next(tl::kProvinceCount));
        r.useTrueSolarTime = next(2) == 0;
        births.push_back(r);
    }
    return births;
}

void BM_RunCalendar(benchmark::State& state) {
    const auto births = Births();
    std::size_t i = 0;
    for (auto _ : state) {
        tl::Chart c = tl::RunCalendar(births[i]);
        benchmark::DoNotOptimize(c);
        i = (i + 1) % births.size();
    }
}
BENCHMARK(BM_RunCalendar)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
