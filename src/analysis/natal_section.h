// The natal chart section of the report: the four pillars as a table with
// the ten gods, hidden stems, seasonal strength, growth stages and nayin,
// the life palace (命宫) and the day void (日空).
#pragma once

#include <string>

#include "calendar/types.h"

namespace tl {

struct Chart;

// The life palace: counted from the month branch and the branch of the hour
// as entered (a true-solar-time correction never moves it); its stem follows
// the stem the year gives to its 寅 month.
Pillar LifePalace(const Chart& chart);

// The first of the two void branches of a day pillar's ten-day group (甲子
// to 癸酉 leave 戌 and 亥 void, ...); the second is the next branch. An index
// outside 1..60 gives 戌 (11).
Branch DayVoid(Pillar dayPillar);

// The section text, starting with "四柱:" and ending after the nayin line
// without a line end. Reads the stems and branches DeriveNatalAttributes
// stored in the chart.
std::string NatalChartSection(const Chart& chart);
void AppendNatalChartSection(std::string& out, const Chart& chart);

}  // namespace tl
