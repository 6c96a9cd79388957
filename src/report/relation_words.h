// The words the report uses for the relations of stems and branches: the
// natal lines and the tokens of the luck and annual pillars.
#pragma once

#include <array>
#include <string_view>

#include "analysis/relations.h"

namespace tl {

struct RelationWords {
    // The natal interactions: the line's label and the word after a pair;
    // a year–month pair takes `yearMonthWord`.
    std::string_view natalLabel;
    std::string_view pairWord;
    std::string_view yearMonthWord;
    // A luck or annual pillar: the word naming the other pillar, by year,
    // month, day, hour, luck.
    std::array<std::string_view, 5> pillarWords;
};

// By RelationKind. In the natal lines a clash of the year and month branches
// is followed by two spaces only.
inline constexpr std::array<RelationWords, kRelationKinds> kRelationWords = {{
    {"  天干相冲:  ", "相冲   ", "相冲   ", {"冲年", "冲月", "冲日", "冲时", "冲运"}},
    {"  地支相冲:  ", "相冲   ", "相冲  ", {"冲年", "冲月", "冲日", "冲时", "冲运"}},
    {"  天干相合:  ", "相合   ", "相合   ", {"合年", "合月", "合日", "合时", "合运"}},
    {"  地支相合:  ", "相合   ", "相合   ", {"合年", "合月", "合日", "合时", "合运"}},
    {"  地支相害:  ", "相害   ", "相害   ", {"害年", "害月", "害日", "害时", "害运"}},
}};

// The natal text of a trio, by its smallest branch 子 丑 寅 卯 (1..4).
inline constexpr std::array<std::string_view, 4> kTrioTexts = {"申子辰相合", "巳酉丑相合", "寅午戌相合",
                                                               "亥卯未相合"};

}  // namespace tl
