// The chart as GitHub-flavoured Markdown, for a reader or an AI assistant:
// written from the values of the analysis, not from the report's layout.
#pragma once

#include <string>

#include "analysis/luck_annual.h"
#include "analysis/natal_table.h"
#include "chart/chart.h"
#include "chart/request.h"
#include "report/report.h"

namespace tl {

// The chart of a request in plain Markdown (no HTML): a title with the name
// as typed, the birth data (sex, the date and time as entered and as the
// chart counts them, the lunar date, the birthplace, every correction made
// or declined: true solar time, daylight saving time, the day change of the
// 子 hour, a birth close to a jie), the jie moments and the luck start; a
// table of the four pillars (ten gods, stems, branches, hidden stems with
// their ten gods, seasonal strength, growth stage, 纳音, stars), the life
// palace and day void; the natal relations and the chart-wide stars; the
// ten luck pillars with their years, ages, ten gods, growth stages,
// relations and stars; the 91 annual pillars as a table. Terms are the
// report's own words (the one-character ten gods 劫 比 伤 食 财 才 官 杀 印
// 枭). Free text (the name, the birthplace) is escaped so that it stays
// text. LF line ends.
std::string ChartMarkdown(const ChartRequest& request, const ReportHeader& header, const Chart& chart,
                          const NatalTable& natal, const LuckTimeline& luck);

}  // namespace tl
