// The report's texts of single analysis values, for tests that read a rule
// most clearly in the words the report prints.
#pragma once

#include <string>

#include "analysis/luck_annual.h"
#include "analysis/natal_table.h"
#include "chart/chart.h"
#include "report/sections.h"

namespace tl::test {

// The relations of a luck or annual pillar as its line lists them.
inline std::string RelationsText(const Chart& c, Pillar pillar, Pillar luck) {
    std::string text;
    WritePillarRelations(text, c, pillar, luck, RelationFinder(c).Of(pillar, luck));
    return text;
}

// The stars of a pillar as the report lists them, each with two spaces.
inline std::string StarsText(StarSet stars) {
    std::string text;
    WriteStars(text, stars);
    return text;
}
inline std::string StarsText(const Chart& c, Pillar pillar, bool natal) {
    return StarsText(PillarShensha(c, pillar, natal));
}

// The report's sections of a chart.
inline std::string NatalChartText(const Chart& c) {
    std::string text;
    WriteNatalChart(text, c, NatalTableOf(c));
    return text;
}
inline std::string NatalShenshaText(const Chart& c) {
    std::string text;
    WriteNatalShensha(text, NatalTableOf(c));
    return text;
}
inline std::string LuckAndAnnualText(const Chart& c) {
    std::string text;
    WriteLuckAndAnnual(text, c, LuckTimelineOf(c));
    return text;
}

}  // namespace tl::test
