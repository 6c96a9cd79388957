// A whole chart: the calendar run and the full report with its red passages.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "calendar/years.h"
#include "report/html.h"
#include "report/markdown.h"
#include "report/report.h"
#include "chart/run.h"
#include "text/script.h"

namespace {

// A fixed, varied set of births: both sexes, both calendars, leap months,
// hour 23, birthplaces with and without true solar time.
std::vector<tl::ChartRequest> Births() {
    std::vector<tl::ChartRequest> births;
    unsigned seed = 2024;
    auto next = [&](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int i = 0; i < 1024; ++i) {
        tl::ChartRequest r;
        r.personName = "张三";
        r.isMale = next(2) == 0;
        r.isSolarInput = next(4) != 0;
        r.year = tl::kCalendarFirstYear + static_cast<int>(next(tl::kCalendarLastYear - tl::kCalendarFirstYear + 1));
        r.month = 1 + static_cast<int>(next(12));
        r.day = 1 + static_cast<int>(next(31));
        r.isLeapMonth = !r.isSolarInput && next(8) == 0;
        r.hour = static_cast<int>(next(24));
        r.minute = static_cast<int>(next(60));
        r.useTrueSolarTime = next(3) == 0;
        r.provinceIndex = r.useTrueSolarTime ? 1 + static_cast<int>(next(34)) : 0;
        r.placeIndex = 1;
        births.push_back(r);
    }
    return births;
}

void BM_ChartRunAndReport(benchmark::State& state) {
    const auto births = Births();
    std::vector<tl::ReportHeader> headers;
    for (const auto& b : births) headers.push_back(tl::ReportHeaderOf(b, b.personName));
    std::size_t i = 0;
    for (auto _ : state) {
        const tl::Chart c = tl::RunCalendar(births[i]);
        tl::Report report = tl::BuildReport(c, headers[i]);
        benchmark::DoNotOptimize(report);
        i = (i + 1) % births.size();
    }
}
BENCHMARK(BM_ChartRunAndReport)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ReportOnly(benchmark::State& state) {
    const auto births = Births();
    std::vector<tl::Chart> charts;
    std::vector<tl::ReportHeader> headers;
    for (const auto& b : births) {
        charts.push_back(tl::RunCalendar(b));
        headers.push_back(tl::ReportHeaderOf(b, b.personName));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        tl::Report report = tl::BuildReport(charts[i], headers[i]);
        benchmark::DoNotOptimize(report);
        i = (i + 1) % charts.size();
    }
}
BENCHMARK(BM_ReportOnly)->Repetitions(5)->ReportAggregatesOnly(true);

// The ways a chart leaves the program: a report in traditional characters
// (the conversion tables loaded before timing), the HTML page and the
// Markdown.
struct Shared {
    std::vector<tl::ChartRequest> births = Births();
    std::vector<tl::ReportHeader> headers;
    std::vector<tl::Chart> charts;
    std::vector<tl::Report> reports;
    Shared() {
        for (const auto& b : births) {
            headers.push_back(tl::ReportHeaderOf(b, b.personName));
            charts.push_back(tl::RunCalendar(b));
            reports.push_back(tl::BuildReport(charts.back(), headers.back()));
        }
    }
};

void BM_ReportInTraditionalCharacters(benchmark::State& state) {
    const Shared s;
    benchmark::DoNotOptimize(tl::ToScript("干", tl::Script::kHant));
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = tl::ToScript(s.reports[i].text, tl::Script::kHant);
        benchmark::DoNotOptimize(text);
        i = (i + 1) % s.reports.size();
    }
}
BENCHMARK(BM_ReportInTraditionalCharacters)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_ReportHtml(benchmark::State& state) {
    const Shared s;
    std::size_t i = 0;
    for (auto _ : state) {
        std::string page = tl::ReportHtml(s.reports[i], "腾岚八字排盘", tl::Script::kHans);
        benchmark::DoNotOptimize(page);
        i = (i + 1) % s.reports.size();
    }
}
BENCHMARK(BM_ReportHtml)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_ChartMarkdown(benchmark::State& state) {
    const Shared s;
    std::size_t i = 0;
    for (auto _ : state) {
        const tl::NatalTable natal = tl::NatalTableOf(s.charts[i]);
        const tl::LuckTimeline luck = tl::LuckTimelineOf(s.charts[i]);
        std::string md = tl::ChartMarkdown(s.births[i], s.headers[i], s.charts[i], natal, luck);
        benchmark::DoNotOptimize(md);
        i = (i + 1) % s.reports.size();
    }
}
BENCHMARK(BM_ChartMarkdown)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace
