// The commands of tenglan-cli, each with the values its command line gave
// (read and range-checked by the command line, see command_line.h). Each
// returns the process exit status: 0 done, 1 a failure while running (an
// output that could not be written, a bad batch line), 2 bad input.
#pragma once

#include <optional>
#include <string>

#include "cli/chart_args.h"
#include "text/script.h"

namespace tl::cli {

int CmdChart(const ChartOptions& options);
int CmdBatch(bool withReport, bool withValues);
// The province list, or one province's places.
int CmdPlaces(std::optional<int> province);
// A month of the perpetual calendar, or one day of it.
int CmdCalendar(int year, int month, std::optional<int> day, Script script = Script::kHans);
// The archive list of a program folder; without one, tenglan-cli's own.
int CmdArchiveList(const std::optional<std::string>& folder);
// The Model Context Protocol server on stdin and stdout, until stdin ends.
int CmdMcp();

}  // namespace tl::cli
