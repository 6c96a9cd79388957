#include "analysis/natal_table.h"

#include "calendar/names.h"
#include "chart/chart.h"

namespace tl {

Pillar LifePalace(const Chart& c) {
    // Month number counted from 寅 (寅 = 1 .. 子 = 11, 丑 = 12).
    const int m = c.monthBranch > 2 ? c.monthBranch - 2 : c.monthBranch + 10;
    int p = 14 - m;
    if (p > 12) p -= 12;
    // Count back from the month's place by the hour as entered.
    const int h = c.enteredHourBranch;
    p = h > 4 ? p + 16 - h : p + 4 - h;
    if (p > 12) p -= 12;
    // The year stem fixes the stem of its 寅 month (甲己 → 丙, 乙庚 → 戊,
    // 丙辛 → 庚, 丁壬 → 壬, 戊癸 → 甲); count on from 寅 to the palace branch.
    int q = (c.yearStem % 5) * 2 + 1;
    q = p < 3 ? q + p + 9 : q + p - 3;
    if (q > 10) q -= 10;
    return PillarOf(q, p);
}

Branch DayVoid(Pillar dayPillar) {
    if (dayPillar < 1 || dayPillar > 60) return 11;
    // Each ten-day group leaves the two branches after its last day void.
    return 11 - 2 * ((dayPillar - 1) / 10);
}

NatalTable NatalTableOf(const Chart& c) {
    NatalTable t;
    const Pillar pillars[4] = {c.yearPillar, c.monthPillar, c.dayPillar, c.hourPillar};
    const StarTable stars(c);
    for (int i = 0; i < 4; ++i) {
        NatalPillar& p = t.pillars[static_cast<std::size_t>(i)];
        p.pillar = pillars[i];
        p.stem = StemOf(p.pillar);
        p.branch = BranchOf(p.pillar);
        p.tenGod = i == 2 ? 0 : TenGodOf(c.dayStem, p.stem);
        const std::array<Stem, 3> hidden = HiddenStems(p.branch);
        for (std::size_t slot = 0; slot < 3; ++slot) p.hiddenStems[slot] = {hidden[slot], TenGodOf(c.dayStem, hidden[slot])};
        p.strength = SeasonalStrengthOf(c.monthBranch, p.stem);
        p.growthStage = GrowthStageOf(c.dayStem, p.branch);
        p.shensha = stars.Of(p.pillar, true);
    }
    t.lifePalace = LifePalace(c);
    t.dayVoid = DayVoid(c.dayPillar);
    t.relations = NatalRelationsOf(c);
    t.shensha = ChartWideStars(c);
    return t;
}

}  // namespace tl
