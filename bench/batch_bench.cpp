// tenglan-cli batch: births per second through the whole command (CSV
// parsing, chart run, JSON line out), measured on the built binary. The time
// is the child's CPU time (user + system), one core; the wall-clock rate is
// reported beside it.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "calendar/years.h"

namespace {

constexpr int kBirths = 200000;
constexpr unsigned kFirstYear = ::tl::kCalendarFirstYear;
constexpr unsigned kYears = ::tl::kCalendarLastYear - ::tl::kCalendarFirstYear + 1;

// A varied CSV of births: both sexes and calendars, leap months, every hour,
// some birthplaces (true solar time).
std::filesystem::path WriteBirths() {
    // One file per process: benchmarks run side by side never share it.
    const auto path = std::filesystem::temp_directory_path() /
                      ("tenglan_batch_bench_" + std::to_string(::getpid()) + ".csv");
    std::ofstream out(path, std::ios::binary);
    out << "name,sex,calendar,date,time,leap,province,place\n";
    unsigned seed = 77;
    auto next = [&](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    char line[128];
    for (int i = 0; i < kBirths; ++i) {
        const bool lunar = next(4) == 0;
        std::snprintf(line, sizeof line, "张%d,%s,%s,%u-%02u-%02u,%02u:%02u,%d,%u,1\n", i, next(2) ? "m" : "f",
                      lunar ? "l" : "g", kFirstYear + next(kYears), 1 + next(12), 1 + next(28), next(24), next(60),
                      lunar && next(10) == 0 ? 1 : 0, next(3) == 0 ? 1 + next(34) : 0);
        out << line;
    }
    return path;
}

double ChildCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void RunBatch(benchmark::State& state, const char* options) {
    const auto births = WriteBirths();
    const std::string command = std::string("'") + TENGLAN_CLI_PATH + "' batch " + options + " < '" +
                                births.string() + "' > /dev/null";
    double wall = 0;
    for (auto _ : state) {
        const double cpu0 = ChildCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const auto t1 = std::chrono::steady_clock::now();
        if (status != 0) {
            state.SkipWithError("tenglan-cli batch failed");
            break;
        }
        state.SetIterationTime(ChildCpuSeconds() - cpu0);
        wall += std::chrono::duration<double>(t1 - t0).count();
    }
    state.SetItemsProcessed(state.iterations() * kBirths);
    state.counters["wall_charts_per_s"] =
        wall > 0 ? static_cast<double>(state.iterations()) * kBirths / wall : 0.0;
    std::filesystem::remove(births);
}

void BM_BatchSummaries(benchmark::State& state) { RunBatch(state, ""); }
BENCHMARK(BM_BatchSummaries)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);

void BM_BatchWithReports(benchmark::State& state) { RunBatch(state, "--report"); }
BENCHMARK(BM_BatchWithReports)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
