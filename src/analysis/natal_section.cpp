#include "analysis/natal_section.h"

#include <array>

#include "analysis/attributes.h"
#include "analysis/text_build.h"
#include "calendar/pillars.h"
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

void AppendNatalChartSection(std::string& out, const Chart& c) {
    const std::array<Stem, 4> stems = {c.yearStem, c.monthStem, c.dayStem, c.hourStem};
    const std::array<Branch, 4> branches = {c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch};
    const std::array<Pillar, 4> pillars = {c.yearPillar, c.monthPillar, c.dayPillar, c.hourPillar};

    out += "四柱:";
    out += kCrLf;

    // Ten gods of the stems; the day stem is the self, "日".
    AppendSpaces(out, 5);
    out += "十神    ";
    out += TenGodLabel(TenGodOf(c.dayStem, c.yearStem));
    AppendSpaces(out, 8);
    out += TenGodLabel(TenGodOf(c.dayStem, c.monthStem));
    AppendSpaces(out, 8);
    out += "日";
    AppendSpaces(out, 8);
    out += TenGodLabel(TenGodOf(c.dayStem, c.hourStem));
    out += kCrLf;
    out += kCrLf;

    AppendSpaces(out, 5);
    out += c.isMale ? "乾造    " : "坤造    ";
    for (int i = 0; i < 4; ++i) {
        if (i > 0) AppendSpaces(out, 8);
        out += StemName(stems[i]);
    }
    out += kCrLf;
    out += kCrLf;

    AppendSpaces(out, 13);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) AppendSpaces(out, 8);
        out += BranchName(branches[i]);
    }
    const Branch voidFirst = DayVoid(c.dayPillar);
    out += "  (命宫:";
    out += PillarName(LifePalace(c));
    out += ")(日空:";
    out += BranchName(voidFirst);
    out += BranchName(voidFirst % 12 + 1);
    out += ")";
    out += kCrLf;
    out += kCrLf;

    // Hidden stems, slot by slot; an empty slot keeps its four columns.
    for (int slot = 0; slot < 3; ++slot) {
        if (slot == 0) {
            AppendSpaces(out, 5);
            out += "藏干   ";
        } else {
            AppendSpaces(out, 12);
        }
        for (int i = 0; i < 4; ++i) {
            if (i > 0) AppendSpaces(out, 6);
            const Stem hidden = HiddenStems(branches[i])[slot];
            out += StemName(hidden);
            out += TenGodLabel(TenGodOf(c.dayStem, hidden));
        }
        out += kCrLf;
    }
    out += kCrLf;

    AppendSpaces(out, 5);
    out += "干旺   ";
    for (int i = 0; i < 4; ++i) {
        if (i > 0) AppendSpaces(out, 6);
        out += StrengthLabel(SeasonalStrengthOf(c.monthBranch, stems[i]));
    }
    out += kCrLf;

    // Growth stage of the day stem in each branch.
    AppendSpaces(out, 5);
    out += "长生  ";
    for (int i = 0; i < 4; ++i) {
        if (i > 0) AppendSpaces(out, 4);
        out += GrowthStageLabel(GrowthStageOf(c.dayStem, branches[i]));
    }
    out += kCrLf;
    out += kCrLf;

    AppendSpaces(out, 5);
    out += "纳音  ";
    for (int i = 0; i < 4; ++i) {
        if (i > 0) AppendSpaces(out, 2);
        out += NayinLabel(pillars[i]);
    }
}

std::string NatalChartSection(const Chart& c) {
    std::string out;
    AppendNatalChartSection(out, c);
    return out;
}

}  // namespace tl
