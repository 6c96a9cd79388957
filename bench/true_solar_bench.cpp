// The true-solar-time correction over every place of the lists, and the
// chart run with the correction switched on.
#include <benchmark/benchmark.h>

#include <vector>

#include "calendar/years.h"
#include "chart/run.h"
#include "place/gazetteer.h"
#include "place/true_solar_time.h"

namespace {

struct Place {
    int province;
    int place;
};

std::vector<Place> AllPlaces() {
    std::vector<Place> places;
    for (int p = 0; p < tl::kProvinceCount; ++p)
        for (int q = 1; q <= tl::PlaceCount(p); ++q) places.push_back({p, q});
    return places;
}

void BM_TrueSolarTime(benchmark::State& state) {
    const auto places = AllPlaces();
    std::size_t i = 0;
    int day = 1;
    for (auto _ : state) {
        const Place& pl = places[i];
        auto r = tl::TrueSolarTime({1990, 12, day}, tl::TimeOfDay::Hms(23, 50), pl.province, pl.place);
        benchmark::DoNotOptimize(r);
        if (++i == places.size()) i = 0;
        day = day % 31 + 1;
    }
}
BENCHMARK(BM_TrueSolarTime);

void BM_RunCalendarTrueSolar(benchmark::State& state) {
    const auto places = AllPlaces();
    std::size_t i = 0;
    for (auto _ : state) {
        tl::ChartRequest r;
        r.year = tl::kCalendarFirstYear + static_cast<int>(i % (tl::kCalendarLastYear - tl::kCalendarFirstYear + 1));
        r.month = 1 + static_cast<int>(i % 12);
        r.day = 1 + static_cast<int>(i % 31);
        r.hour = static_cast<int>(i % 24);
        r.minute = static_cast<int>(i % 60);
        r.useTrueSolarTime = true;
        r.provinceIndex = places[i].province;
        r.placeIndex = places[i].place;
        tl::Chart c = tl::RunCalendar(r);
        benchmark::DoNotOptimize(c);
        if (++i == places.size()) i = 0;
    }
}
BENCHMARK(BM_RunCalendarTrueSolar);

}  // namespace
