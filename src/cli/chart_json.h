// The chart and its report as JSON, shared by `chart --json` and `batch`.
#pragma once

#include <string>

#include "calendar/chart.h"
#include "chart/report.h"
#include "cli/json.h"

namespace tl::cli {

// Writes the chart's members (dates, time, lunar date, pillars, luck start)
// into an object the caller has opened.
void WriteChartMembers(JsonWriter& w, const Chart& c);

// Writes "report" (the text) and "red" (its passages as start and length).
void WriteReportMembers(JsonWriter& w, const Report& report);

}  // namespace tl::cli
