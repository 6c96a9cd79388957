#include "analysis/luck_annual.h"

#include "calendar/civil.h"
#include "calendar/names.h"
#include "chart/chart.h"

namespace tl {

namespace {

Date AddMonthsClamped(Date d, int months) {
    const int total = d.year * 12 + (d.month - 1) + months;
    d.year = total / 12;
    d.month = total % 12 + 1;
    const int last = DaysInMonth(d.year, d.month);
    if (d.day > last) d.day = last;
    return d;
}

}  // namespace

Pillar LuckPillar(const Chart& c, int k) {
    int p = c.luckForward ? c.firstLuckPillar + k : c.firstLuckPillar - k;
    if (p > 60) p -= 60;
    if (p <= 0) p += 60;
    return p;
}

Pillar AnnualPillar(int year) {
    const int p = ((year - 1863) % 60 + 60) % 60;
    return p == 0 ? 60 : p;
}

LuckHandover LuckHandoverOf(const Chart& c) {
    Date d = NormalizeDate(c.BirthDate());
    d = DateOfDayNumber(DayNumber(d) + c.luckStartDays);
    d = AddMonthsClamped(d, c.luckStartMonths);
    d = AddMonthsClamped(d, 12 * c.luckStartYears);
    int hour = c.birthTime.hour() + c.luckStartHours;
    if (hour > 24) {
        d = DateOfDayNumber(DayNumber(d) + 1);
        hour -= 24;
    }
    return {d, hour};
}

LuckTimeline LuckTimelineOf(const Chart& c) {
    LuckTimeline t;
    t.handover = LuckHandoverOf(c);
    RelationFinder relations(c);
    const StarTable stars(c);
    const int firstAge = c.luckStartYears + 1;
    for (int k = 0; k < kLuckSteps; ++k) {
        LuckStep& step = t.luck[static_cast<std::size_t>(k)];
        step.pillar = LuckPillar(c, k);
        step.startAge = firstAge + 10 * k;
        step.startYear = c.birthYear + step.startAge;
        step.tenGod = TenGodOf(c.dayStem, StemOf(step.pillar));
        step.growthStage = GrowthStageOf(c.dayStem, BranchOf(step.pillar));
        step.relations = relations.Of(step.pillar, 0);
        step.shensha = stars.Of(step.pillar, false);
    }
    for (int row = 1; row <= kAnnualYears; ++row) {
        AnnualYear& y = t.annual[static_cast<std::size_t>(row - 1)];
        y.luckIndex = (row - 1) / 10;
        const Pillar luck = t.luck[static_cast<std::size_t>(y.luckIndex)].pillar;
        y.age = c.luckStartYears + row;
        y.year = c.birthYear + y.age;
        y.pillar = AnnualPillar(y.year);
        if (row % 10 == 1) relations.SetLuck(luck);
        y.relations = relations.OfUnderLuck(y.pillar);
        y.shensha = stars.Of(y.pillar, false);
        y.luckAndYearMeet = y.pillar == luck;
    }
    return t;
}

}  // namespace tl
