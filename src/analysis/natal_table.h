// The natal chart as a table: for each of the four pillars its ten god,
// hidden stems with their ten gods, seasonal strength, growth stage, nayin
// and stars; the life palace (命宫), the day void (日空), the relations among
// the pillars and the chart-wide stars.
#pragma once

#include <array>

#include "analysis/attributes.h"
#include "analysis/interactions.h"
#include "analysis/shensha.h"
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

struct HiddenStem {
    Stem stem = 0;  // 0: an empty slot
    TenGod tenGod = 0;

    friend bool operator==(const HiddenStem&, const HiddenStem&) = default;
};

// One natal pillar seen from the day stem.
struct NatalPillar {
    Pillar pillar = 0;
    Stem stem = 0;
    Branch branch = 0;
    TenGod tenGod = 0;  // 0 for the day pillar: the day stem is the self
    std::array<HiddenStem, 3> hiddenStems{};
    SeasonalStrength strength = 0;  // of the stem in the month
    GrowthStage growthStage = 0;    // of the day stem in the branch
    StarSet shensha;

    friend bool operator==(const NatalPillar&, const NatalPillar&) = default;
};

struct NatalTable {
    std::array<NatalPillar, 4> pillars{};  // year, month, day, hour
    Pillar lifePalace = 0;
    Branch dayVoid = 0;  // the first of the two void branches
    NatalRelations relations;
    ChartStars shensha;

    friend bool operator==(const NatalTable&, const NatalTable&) = default;
};

NatalTable NatalTableOf(const Chart& chart);

}  // namespace tl
