// Reading a birth from command-line options into a chart request, with the
// same ranges the input window offers.
#pragma once

#include <optional>
#include <string>

#include "calendar/chart.h"
#include "chart/request.h"
#include "cli/commands.h"

namespace tl::cli {

struct ChartOptions {
    ChartRequest request;
    std::string rawName;  // the name as given, untrimmed (the report shows it as typed)
    bool json = false;
    bool gbk = false;
};

// Parses `--date YYYY-MM-DD --time HH:MM [--female] [--lunar [--leap]]
// [--true-solar] [--province N] [--place N] [--name TEXT] [--json] [--gbk]`.
// The province is a list position 0..34 (0 = "不考虑", the default), the
// place a number within that province's list (default 1). On a bad or
// missing value returns nothing and sets `error` to a one-line message
// naming the option.
std::optional<ChartOptions> ParseChartOptions(const Args& args, std::string& error);

// Strict decimal parse of a whole string into [lo, hi].
std::optional<int> ParseIntInRange(const std::string& s, int lo, int hi);

}  // namespace tl::cli
