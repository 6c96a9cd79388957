#include "analysis/natal_section.h"

#include <array>

#include "analysis/attributes.h"
#include "text/text_build.h"
#include "calendar/pillars.h"
#include "calendar/chart.h"

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
    // Fifteen short lines of fixed labels: well under the buffer.
    char text[4096];
    char* p = text;
    const std::array<Stem, 4> stems = {c.yearStem, c.monthStem, c.dayStem, c.hourStem};
    const std::array<Branch, 4> branches = {c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch};
    const std::array<Pillar, 4> pillars = {c.yearPillar, c.monthPillar, c.dayPillar, c.hourPillar};

    p = Put(p, "四柱:");
    p = Put(p, kCrLf);

    // Ten gods of the stems; the day stem is the self, "日".
    p = PutSpaces(p, 5);
    p = Put(p, "十神    ");
    p = Put(p, TenGodLabel(TenGodOf(c.dayStem, c.yearStem)));
    p = PutSpaces(p, 8);
    p = Put(p, TenGodLabel(TenGodOf(c.dayStem, c.monthStem)));
    p = PutSpaces(p, 8);
    p = Put(p, "日");
    p = PutSpaces(p, 8);
    p = Put(p, TenGodLabel(TenGodOf(c.dayStem, c.hourStem)));
    p = Put(p, kCrLf);
    p = Put(p, kCrLf);

    p = PutSpaces(p, 5);
    p = Put(p, c.isMale ? std::string_view("乾造    ") : std::string_view("坤造    "));
    for (int i = 0; i < 4; ++i) {
        if (i > 0) p = PutSpaces(p, 8);
        p = Put(p, StemName(stems[i]));
    }
    p = Put(p, kCrLf);
    p = Put(p, kCrLf);

    p = PutSpaces(p, 13);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) p = PutSpaces(p, 8);
        p = Put(p, BranchName(branches[i]));
    }
    const Branch voidFirst = DayVoid(c.dayPillar);
    p = Put(p, "  (命宫:");
    p = Put(p, PillarName(LifePalace(c)));
    p = Put(p, ")(日空:");
    p = Put(p, BranchName(voidFirst));
    p = Put(p, BranchName(voidFirst % 12 + 1));
    p = Put(p, ")");
    p = Put(p, kCrLf);
    p = Put(p, kCrLf);

    // Hidden stems, slot by slot; an empty slot keeps its four columns.
    for (int slot = 0; slot < 3; ++slot) {
        if (slot == 0) {
            p = PutSpaces(p, 5);
            p = Put(p, "藏干   ");
        } else {
            p = PutSpaces(p, 12);
        }
        for (int i = 0; i < 4; ++i) {
            if (i > 0) p = PutSpaces(p, 6);
            const Stem hidden = HiddenStems(branches[i])[slot];
            p = Put(p, StemName(hidden));
            p = Put(p, TenGodLabel(TenGodOf(c.dayStem, hidden)));
        }
        p = Put(p, kCrLf);
    }
    p = Put(p, kCrLf);

    p = PutSpaces(p, 5);
    p = Put(p, "干旺   ");
    for (int i = 0; i < 4; ++i) {
        if (i > 0) p = PutSpaces(p, 6);
        p = Put(p, StrengthLabel(SeasonalStrengthOf(c.monthBranch, stems[i])));
    }
    p = Put(p, kCrLf);

    // Growth stage of the day stem in each branch.
    p = PutSpaces(p, 5);
    p = Put(p, "长生  ");
    for (int i = 0; i < 4; ++i) {
        if (i > 0) p = PutSpaces(p, 4);
        p = Put(p, GrowthStageLabel(GrowthStageOf(c.dayStem, branches[i])));
    }
    p = Put(p, kCrLf);
    p = Put(p, kCrLf);

    p = PutSpaces(p, 5);
    p = Put(p, "纳音  ");
    for (int i = 0; i < 4; ++i) {
        if (i > 0) p = PutSpaces(p, 2);
        p = Put(p, NayinLabel(pillars[i]));
    }
    out.append(text, static_cast<std::size_t>(p - text));
}

std::string NatalChartSection(const Chart& c) {
    std::string out;
    AppendNatalChartSection(out, c);
    return out;
}

}  // namespace tl
