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

// Births abroad: a dozen zones of both hemispheres and every era, read
// through the zone cache, with and without true solar time.
void BM_RunCalendarAbroad(benchmark::State& state) {
    static constexpr struct {
        const char* zone;
        double longitude;
    } kPlaces[] = {{"America/New_York", -74.0},   {"Europe/London", -0.13},   {"Asia/Kuala_Lumpur", 101.69},
                   {"America/Vancouver", -123.1}, {"Australia/Sydney", 151.2}, {"Asia/Riyadh", 46.72},
                   {"Europe/Paris", 2.35},        {"Asia/Tokyo", 139.69},      {"America/Sao_Paulo", -46.63},
                   {"Africa/Lagos", 3.39},        {"Asia/Kolkata", 88.36},     {"Pacific/Auckland", 174.76}};
    auto births = Births();
    std::size_t k = 0;
    for (tl::ChartRequest& r : births) {
        const auto& p = kPlaces[k++ % std::size(kPlaces)];
        r.world = tl::WorldPlace{};
        r.world->zone = p.zone;
        r.world->longitude = p.longitude;
    }
    std::size_t i = 0;
    for (auto _ : state) {
        tl::Chart c = tl::RunCalendar(births[i]);
        benchmark::DoNotOptimize(c);
        i = (i + 1) % births.size();
    }
}
BENCHMARK(BM_RunCalendarAbroad)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
