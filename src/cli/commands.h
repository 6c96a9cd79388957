// The commands of tenglan-cli, each with the values its command line gave
// (read and range-checked by the command line, see command_line.h). Each
// returns the process exit status: 0 done, 1 a failure while running (an
// output that could not be written, a bad batch line), 2 bad input.
#pragma once

#include <optional>
#include <string>

#include "cli/chart_args.h"

namespace tl::cli {

int CmdChart(const ChartOptions& options);
int CmdBatch(bool withReport, bool withValues);
// The province list, or one province's places.
int CmdPlaces(std::optional<int> province);
// The countries of the world list (no code given), or one country's cities;
// as text or JSON.
int CmdWorldPlaces(const std::optional<std::string>& country, bool json);
// A month of the perpetual calendar, or one day of it.
int CmdCalendar(int year, int month, std::optional<int> day);
// The archive list of a program folder; without one, tenglan-cli's own.
int CmdArchiveList(const std::optional<std::string>& folder);

}  // namespace tl::cli
