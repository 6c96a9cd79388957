#include "analysis/natal_section.h"

#include <array>

#include "analysis/attributes.h"
#include "text/text_build.h"
#include "calendar/pillars.h"
#include "calendar/chart.h"

namespace tl {

namespace {

// About the bytes of the section (fifteen short lines of fixed labels, some
// 550 bytes in UTF-8); a longer one grows the string as it is written.
constexpr std::size_t kExpectedBytes = 640;

}  // namespace

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
    TextWriter w(out, kExpectedBytes);
    const std::array<Stem, 4> stems = {c.yearStem, c.monthStem, c.dayStem, c.hourStem};
    const std::array<Branch, 4> branches = {c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch};
    const std::array<Pillar, 4> pillars = {c.yearPillar, c.monthPillar, c.dayPillar, c.hourPillar};

    w.Put("四柱:");
    w.Put(kCrLf);

    // Ten gods of the stems; the day stem is the self, "日".
    w.PutSpaces(5);
    w.Put("十神    ");
    w.Put(TenGodLabel(TenGodOf(c.dayStem, c.yearStem)));
    w.PutSpaces(8);
    w.Put(TenGodLabel(TenGodOf(c.dayStem, c.monthStem)));
    w.PutSpaces(8);
    w.Put("日");
    w.PutSpaces(8);
    w.Put(TenGodLabel(TenGodOf(c.dayStem, c.hourStem)));
    w.Put(kCrLf);
    w.Put(kCrLf);

    w.PutSpaces(5);
    w.Put(c.isMale ? std::string_view("乾造    ") : std::string_view("坤造    "));
    for (int i = 0; i < 4; ++i) {
        if (i > 0) w.PutSpaces(8);
        w.Put(StemName(stems[i]));
    }
    w.Put(kCrLf);
    w.Put(kCrLf);

    w.PutSpaces(13);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) w.PutSpaces(8);
        w.Put(BranchName(branches[i]));
    }
    const Branch voidFirst = DayVoid(c.dayPillar);
    w.Put("  (命宫:");
    w.Put(PillarName(LifePalace(c)));
    w.Put(")(日空:");
    w.Put(BranchName(voidFirst));
    w.Put(BranchName(voidFirst % 12 + 1));
    w.Put(")");
    w.Put(kCrLf);
    w.Put(kCrLf);

    // Hidden stems, slot by slot; an empty slot keeps its four columns.
    for (int slot = 0; slot < 3; ++slot) {
        if (slot == 0) {
            w.PutSpaces(5);
            w.Put("藏干   ");
        } else {
            w.PutSpaces(12);
        }
        for (int i = 0; i < 4; ++i) {
            if (i > 0) w.PutSpaces(6);
            const Stem hidden = HiddenStems(branches[i])[slot];
            w.Put(StemName(hidden));
            w.Put(TenGodLabel(TenGodOf(c.dayStem, hidden)));
        }
        w.Put(kCrLf);
    }
    w.Put(kCrLf);

    w.PutSpaces(5);
    w.Put("干旺   ");
    for (int i = 0; i < 4; ++i) {
        if (i > 0) w.PutSpaces(6);
        w.Put(StrengthLabel(SeasonalStrengthOf(c.monthBranch, stems[i])));
    }
    w.Put(kCrLf);

    // Growth stage of the day stem in each branch.
    w.PutSpaces(5);
    w.Put("长生  ");
    for (int i = 0; i < 4; ++i) {
        if (i > 0) w.PutSpaces(4);
        w.Put(GrowthStageLabel(GrowthStageOf(c.dayStem, branches[i])));
    }
    w.Put(kCrLf);
    w.Put(kCrLf);

    w.PutSpaces(5);
    w.Put("纳音  ");
    for (int i = 0; i < 4; ++i) {
        if (i > 0) w.PutSpaces(2);
        w.Put(NayinLabel(pillars[i]));
    }
}

std::string NatalChartSection(const Chart& c) {
    std::string out;
    AppendNatalChartSection(out, c);
    return out;
}

}  // namespace tl
