// The chart as JSON, shared by `chart --json` and `batch`.
#pragma once

#include <string>

#include "calendar/chart.h"
#include "cli/json.h"

namespace tl::cli {

// Writes the chart's members (dates, time, lunar date, pillars, luck start)
// into an object the caller has opened.
void WriteChartMembers(JsonWriter& w, const Chart& c);

}  // namespace tl::cli
