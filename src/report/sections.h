// The sections of the report after its header, each written from the values
// of the analysis: the natal chart table, the natal interactions, the natal
// shensha, and the luck and annual pillars. Each writer appends to the
// report and says where the marker of its red passage lies.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "analysis/luck_annual.h"
#include "analysis/natal_table.h"

namespace tl {

struct Chart;

// The labels of the table: a ten god's name, two spaces for none; a growth
// stage, a strength and a nayin in brackets ("[长生]", "[ 衰 ]", "[旺]",
// "[海中金]"), empty for none.
std::string_view TenGodLabel(TenGod g);
std::string_view GrowthStageLabel(GrowthStage g);
std::string_view StrengthLabel(SeasonalStrength s);
std::string_view NayinLabel(Pillar p);

// The natal chart table, from "四柱:" to the nayin line without its line
// end. Returns where "造" of its 乾造/坤造 lies in `out`.
std::size_t WriteNatalChart(std::string& out, const Chart& chart, const NatalTable& natal);

// A blank line, the heading and six lines, one per kind of relation.
void WriteNatalRelations(std::string& out, const Chart& chart, const NatalRelations& relations);

// A blank line, the title line with the chart-wide stars, one line per natal
// pillar with its stars, and a blank line.
void WriteNatalShensha(std::string& out, const NatalTable& natal);

// The stars of a pillar, each name followed by two spaces.
void WriteStars(std::string& out, StarSet stars);

// The luck part (start age, handover, the five luck lines, the separator,
// the "排流年:" heading) followed by the annual table, ending after the last
// row without a line end. Returns where "大运干支" and "排流年" lie in `out`.
struct LuckMarkers {
    std::size_t luckPillars = 0;
    std::size_t annualHeading = 0;
};
LuckMarkers WriteLuckAndAnnual(std::string& out, const Chart& chart, const LuckTimeline& timeline);

// The relations of a luck or annual pillar as its line lists them: one
// token per kind of relation, then one per trio, each followed by two
// spaces; `luckPillar` 0 for a luck pillar itself.
void WritePillarRelations(std::string& out, const Chart& chart, Pillar pillar, Pillar luckPillar,
                          const PillarRelations& relations);

// The spaces between a row's relations and its "※": 42 columns minus the
// relations counted as ten columns per six characters, at least 2.
int AnnualFill(std::size_t relationChars);

}  // namespace tl
