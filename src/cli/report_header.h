// The header inputs of a report for a birth given on the command line: the
// name as typed, the province and place item texts of the birthplace lists,
// the true-solar-time switch and the hour label of the entered hour.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calendar/chart.h"
#include "chart/request.h"
#include "chart/report.h"

namespace tl::cli {

// Empty when the province or place index names no list item.
std::optional<ReportHeader> ReportHeaderFor(const ChartRequest& request, std::string_view rawName);

// Appends "\"report\":...,\"red\":[{\"start\":..,\"length\":..},...]" members.
class JsonWriter;
void WriteReportMembers(JsonWriter& w, const Report& report);

}  // namespace tl::cli
