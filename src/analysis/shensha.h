// Shensha (神煞): the symbolic stars a chart or one of its pillars carries,
// each a fixed lookup keyed on the natal chart.
#pragma once

#include <cstdint>
#include <string>

#include "text/text_build.h"
#include "calendar/types.h"

namespace tl {

struct Chart;

// The per-pillar stars of one chart, worked out once for every stem and
// branch, for listing the stars of many pillars (the luck and annual lines).
class PillarStars {
public:
    explicit PillarStars(const Chart& chart);

    // The same text as PillarShensha.
    void Append(std::string& out, Pillar pillar, bool natal) const;
    // Writes the same text into `out` and returns its end (null when the
    // room was too short).
    char* Put(TextSpan out, Pillar pillar, bool natal) const;

private:
    std::uint32_t byBranch_[13] = {};  // bit i: star i holds for the branch
    std::uint32_t byStem_[11] = {};    // bit i: star i holds for the stem
    Pillar yearPillar_ = 0, monthPillar_ = 0, dayPillar_ = 0;
};

// The per-pillar stars a pillar carries, keyed on the natal chart, in table
// order, each name followed by two spaces; empty when it carries none.
// `natal` is set only for the four natal pillars themselves: a star that
// looks at a natal pillar is then not tested on any pillar whose index
// equals that natal pillar's (驿马 华盖 将星 亡神 劫煞 咸池 skip the day
// pillar, 天医 the month pillar, 灾煞 孤辰寡宿 the year pillar).
std::string PillarShensha(const Chart& chart, Pillar pillar, bool natal);
void AppendPillarShensha(std::string& out, const Chart& chart, Pillar pillar, bool natal);

// The chart-wide stars (三奇贵人 魁罡贵人 金神 天赦 十恶大败 阴差阳错) that
// hold, each followed by two spaces.
std::string ChartWideStars(const Chart& chart);

// The natal shensha section: a blank line, the title line with the
// chart-wide stars, then one line per natal pillar, ending in a blank line.
std::string NatalShenshaSection(const Chart& chart);
void AppendNatalShenshaSection(std::string& out, const Chart& chart);

}  // namespace tl
