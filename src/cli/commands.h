// The commands of tenglan-cli, each with the values its command line gave
// (read and range-checked by the command line, see command_line.h). Each
// returns the process exit status: 0 done, 1 a failure while running (an
// output that could not be written, a bad batch line), 2 bad input.
#pragma once

#include <optional>
#include <string>

#include "cli/chart_args.h"
#include "text/script.h"

namespace CLI {
class App;
}

namespace tl::cli {

int CmdChart(const ChartOptions& options);
int CmdBatch(bool withReport, bool withValues);
// The province list, or one province's places.
int CmdPlaces(std::optional<int> province);
// The countries of the world list (no code given), or one country's cities;
// as text or JSON.
int CmdWorldPlaces(const std::optional<std::string>& country, bool json);
// A month of the perpetual calendar, or one day of it.
int CmdCalendar(int year, int month, std::optional<int> day, Script script = Script::kHans);
// The archive list of a program folder; without one, tenglan-cli's own.
int CmdArchiveList(const std::optional<std::string>& folder);
// The Model Context Protocol server on stdin and stdout, until stdin ends.
int CmdMcp();

// reverse --pillars Y,M,D,H [--zi-day-change 23|0] [--json]: the birth
// windows of four pillars.
struct ReverseOptions {
    std::string pillars;
    ZiDayChange ziDayChange = ZiDayChange::kAt23;
    bool json = false;
};
CLI::App* AddReverseCommand(CLI::App& app, ReverseOptions& options);
int CmdReverse(const ReverseOptions& options);

// periods --year Y [--month M] [--json] and the birth options of `chart`
// (added to `periods` by the caller): a year's periods, a month's days.
struct PeriodsOptions {
    int year = 0;
    std::optional<int> month;
    bool json = false;
    bool withChart = false;           // a birth was given
    std::optional<ChartRequest> chart;
};
CLI::App* AddPeriodsCommand(CLI::App* periods, PeriodsOptions& options);
int CmdPeriods(const PeriodsOptions& options);

}  // namespace tl::cli
