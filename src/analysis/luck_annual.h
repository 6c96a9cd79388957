// The luck pillars (大运) and annual pillars (流年): the handover, the ten
// luck pillars and 91 annual pillars grouped under them, with their
// relations and stars.
#pragma once

#include <array>

#include "analysis/attributes.h"
#include "analysis/interactions.h"
#include "analysis/shensha.h"
#include "calendar/types.h"

namespace tl {

struct Chart;

// Luck pillar k (0..9): the first luck pillar stepped k times forward or
// backward through the sixty.
Pillar LuckPillar(const Chart& chart, int k);

// The sexagenary pillar of a calendar year (1864 and 1984 are 甲子).
Pillar AnnualPillar(int year);

// When the first luck pillar takes over: the birth date plus the start
// days, then months, then years (a day past the end of a month is clamped
// to its last day), at the birth hour plus the start hours. A sum above 24
// moves to the next day; exactly 24 stays 24 on the same day.
struct LuckHandover {
    Date date;
    int hour = 0;

    friend bool operator==(const LuckHandover&, const LuckHandover&) = default;
};
LuckHandover LuckHandoverOf(const Chart& chart);

// One luck pillar of the timeline: the pillar, the year and age it starts
// (the age it is listed under), its stem's ten god and its branch's growth
// stage seen from the day stem, its relations with the natal pillars and
// its stars.
struct LuckStep {
    Pillar pillar = 0;
    int startYear = 0;
    int startAge = 0;
    TenGod tenGod = 0;
    GrowthStage growthStage = 0;
    PillarRelations relations;
    StarSet shensha;

    friend bool operator==(const LuckStep&, const LuckStep&) = default;
};

// One annual pillar (流年): its age and year, the luck pillar it stands
// under (0..9), its relations with the natal pillars and that luck pillar,
// its stars, and whether it repeats its luck pillar (岁运并临).
struct AnnualYear {
    int age = 0;
    int year = 0;
    Pillar pillar = 0;
    int luckIndex = 0;
    PillarRelations relations;
    StarSet shensha;
    bool luckAndYearMeet = false;

    friend bool operator==(const AnnualYear&, const AnnualYear&) = default;
};

inline constexpr int kLuckSteps = 10;
inline constexpr int kAnnualYears = 91;

// The luck timeline of a chart: the handover, the ten luck pillars and the
// 91 annual pillars from the first luck year on. Annual rows 1 to 10 stand
// under luck pillar 0, each next ten under the next one, row 91 alone under
// luck pillar 9.
struct LuckTimeline {
    LuckHandover handover;
    std::array<LuckStep, kLuckSteps> luck{};
    std::array<AnnualYear, kAnnualYears> annual{};

    friend bool operator==(const LuckTimeline&, const LuckTimeline&) = default;
};

LuckTimeline LuckTimelineOf(const Chart& chart);

}  // namespace tl
