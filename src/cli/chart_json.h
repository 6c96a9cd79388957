// The chart and its report as JSON, shared by `chart --json` and `batch`.
#pragma once

#include <string_view>

#include <string>

#include "analysis/luck_annual.h"
#include "analysis/natal_table.h"
#include "chart/chart.h"
#include "cli/json.h"
#include "report/report.h"

namespace tl::cli {

// Writes the chart's members (dates, time, lunar date, pillars, luck start)
// into an object the caller has opened.
// The "birthplace" member: for a birth in China the province and place
// numbers and items, the country "CN", region and city as the lists name
// them; abroad the country, region and city; both with the zone, the
// longitude (null for "不考虑") and the latitude (null where unknown).
void WriteBirthplaceMember(JsonWriter& w, const ChartRequest& request, const ReportHeader& header);

void WriteChartMembers(JsonWriter& w, const Chart& c);

// Writes "natal" (the chart table, relations and stars), "luckPillars"
// and "annual" (the luck timeline) in the report's own words.
void WriteAnalysisMembers(JsonWriter& w, const Chart& c, const NatalTable& natal, const LuckTimeline& luck);

// When the chart's daylight saving time could not be known, says so on
// stderr, once per run of the program: the clock time was taken as standard
// time, which may change the chart.
void WarnIfDaylightSavingUnknown(std::string_view command, const Chart& c);

// Writes "report" (the text) and "red" (its passages as start and length).
void WriteReportMembers(JsonWriter& w, const Report& report);

}  // namespace tl::cli
