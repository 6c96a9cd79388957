// Reading a birth from command-line options into a chart request, with the
// same ranges the input window offers.
#pragma once

#include <optional>
#include <string>

#include "chart/chart.h"
#include "cli/commands.h"

namespace tl::cli {

struct ChartOptions {
    ChartRequest request;
    std::string rawName;  // the name as given, untrimmed (the report shows it as typed)
    bool json = false;
    bool gbk = false;
};

// Parses `--date YYYY-MM-DD --time HH:MM [--female] [--lunar [--leap]]
// [--name TEXT] [--json] [--gbk]`. On a bad or missing value returns nothing
// and sets `error` to a one-line message naming the option.
std::optional<ChartOptions> ParseChartOptions(const Args& args, std::string& error);

// Strict decimal parse of a whole string into [lo, hi].
std::optional<int> ParseIntInRange(const std::string& s, int lo, int hi);

}  // namespace tl::cli
