#include "analysis/luck_annual.h"

#include <array>
#include <utility>
#include <string_view>

#include "analysis/attributes.h"
#include "analysis/interactions.h"
#include "analysis/shensha.h"
#include "analysis/text_build.h"
#include "calendar/civil.h"
#include "calendar/pillars.h"
#include "chart/chart.h"
#include "chart/utf8.h"

namespace tl {

namespace {

// The other pillar of a relation token: year, month, day, hour, luck.
constexpr std::array<std::string_view, 5> kClashWords = {"冲年", "冲月", "冲日", "冲时", "冲运"};
constexpr std::array<std::string_view, 5> kCombineWords = {"合年", "合月", "合日", "合时", "合运"};
constexpr std::array<std::string_view, 5> kHarmWords = {"害年", "害月", "害日", "害时", "害运"};

constexpr int kAnnualRows = 91;

using NameOf = std::string_view (*)(int);

// One token for the last of the others (year, month, day, hour[, luck]) that
// stands in the relation with x.
template <typename Related>
void AppendLastMatch(std::string& out, int x, const int (&others)[5], int count, Related related, NameOf name,
                     const std::array<std::string_view, 5>& words) {
    int last = -1;
    for (int i = 0; i < count; ++i)
        if (related(x, others[i])) last = i;
    if (last < 0) return;
    out += name(x);
    out += words[last];
    out += name(others[last]);
    out += "  ";
}

bool IsTrio(Branch a, Branch b, Branch c) {
    // Sorted ascending, each four above the previous one.
    if (a > b) std::swap(a, b);
    if (b > c) std::swap(b, c);
    if (a > b) std::swap(a, b);
    return b - a == 4 && c - b == 4;
}

// "  大运:" line with its underline, for luck pillar L.
void AppendLuckLine(std::string& out, const Chart& c, Pillar luck) {
    out += "  大运:";
    out += PillarName(luck);
    AppendSpaces(out, 6);
    out += "[";
    AppendPillarRelations(out, c, luck, 0);
    out += "  ※";
    AppendPillarShensha(out, c, luck, false);
    out += "]";
    out += kCrLf;
    out += "  ----------------------------------------";
}

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

void AppendPillarRelations(std::string& out, const Chart& c, Pillar p, Pillar luck) {
    const Stem s = StemOf(p);
    const Branch b = BranchOf(p);
    const int count = luck != 0 ? 5 : 4;
    const int stems[5] = {c.yearStem, c.monthStem, c.dayStem, c.hourStem, luck != 0 ? StemOf(luck) : 0};
    const int branches[5] = {c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch,
                             luck != 0 ? BranchOf(luck) : 0};
    const NameOf stemName = [](int x) { return StemName(x); };
    const NameOf branchName = [](int x) { return BranchName(x); };

    AppendLastMatch(out, s, stems, count, StemsClash, stemName, kClashWords);
    AppendLastMatch(out, b, branches, count, BranchesClash, branchName, kClashWords);
    AppendLastMatch(out, s, stems, count, StemsCombine, stemName, kCombineWords);
    AppendLastMatch(out, b, branches, count, BranchesCombine, branchName, kCombineWords);
    AppendLastMatch(out, b, branches, count, BranchesHarm, branchName, kHarmWords);
    // Three-branch combinations with each pair of natal branches; the luck
    // pillar takes no part in them.
    static constexpr int kPairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
    for (const auto& pair : kPairs) {
        const Branch x = branches[pair[0]];
        const Branch y = branches[pair[1]];
        if (!IsTrio(b, x, y)) continue;
        out += BranchName(b);
        out += BranchName(x);
        out += BranchName(y);
        out += "三合  ";
    }
}

std::string PillarRelations(const Chart& c, Pillar p, Pillar luck) {
    std::string out;
    AppendPillarRelations(out, c, p, luck);
    return out;
}

int AnnualFill(std::size_t relationChars) {
    // Six characters of relation text take ten display columns; the nearest
    // whole number of columns (n × 10 / 6 never ends in one half).
    const long columns = (static_cast<long>(relationChars) * 10 + 3) / 6;
    const long fill = 42 - columns;
    return fill < 2 ? 2 : static_cast<int>(fill);
}

void AppendLuckAndAnnualText(std::string& out, const Chart& c) {
    std::array<Pillar, 10> luck{};
    for (int k = 0; k < 10; ++k) luck[k] = LuckPillar(c, k);
    const int firstAge = c.luckStartYears + 1;

    // Start age and handover.
    const LuckHandover h = LuckHandoverOf(c);
    out += kCrLf;
    out += "  起大运:  命主从出生后";
    AppendInt(out, c.luckStartYears);
    out += "年又";
    AppendInt(out, c.luckStartMonths);
    out += "个月";
    AppendInt(out, c.luckStartDays);
    out += "天";
    AppendInt(out, c.luckStartHours);
    out += "小时开始起运";
    out += "   命主于公历";
    AppendInt(out, h.date.year);
    out += "年";
    AppendInt(out, h.date.month);
    out += "月";
    AppendInt(out, h.date.day);
    out += "日";
    AppendInt(out, h.hour);
    out += "时交运";

    // The ten luck pillars in five lines of eight-column entries.
    out += kCrLf;
    out += kCrLf;
    out += "  排大运:";
    out += kCrLf;
    out += "  大运年份:  ";
    for (int k = 0; k < 10; ++k) {
        AppendInt(out, c.birthYear + firstAge + 10 * k);
        out += "年  ";
    }
    out += kCrLf;
    out += "  大运岁数:   ";
    for (int k = 0; k < 10; ++k) {
        AppendInt2(out, firstAge + 10 * k);
        out += "岁    ";
    }
    out += kCrLf;
    out += "  大运干支:   ";
    for (int k = 0; k < 10; ++k) {
        out += PillarName(luck[k]);
        AppendSpaces(out, 4);
    }
    out += kCrLf;
    out += "  大运十神:   ";
    for (int k = 0; k < 10; ++k) {
        out += TenGodLabel(TenGodOf(c.dayStem, StemOf(luck[k])));
        AppendSpaces(out, 6);
    }
    out += kCrLf;
    out += "  大运长生:  ";
    for (int k = 0; k < 10; ++k) {
        out += GrowthStageLabel(GrowthStageOf(c.dayStem, BranchOf(luck[k])));
        AppendSpaces(out, 2);
    }
    out += kCrLf;
    out += kCrLf;
    out += "  <";
    out.append(86, '-');
    out += ">";
    out += kCrLf;
    out += "  排流年:";
    out += kCrLf;

    // The annual table: header, then rows grouped under their luck pillars.
    out += "  岁数   ";
    out += "年份   ";
    out += "流年干支    ";
    out += " 相关刑冲合害 ";
    AppendSpaces(out, 29);
    out += "※神煞";
    out += kCrLf;
    out += kCrLf;
    AppendLuckLine(out, c, luck[0]);
    int k = 0;
    for (int row = 1; row <= kAnnualRows; ++row) {
        const int age = c.luckStartYears + row;
        const int year = c.birthYear + age;
        const Pillar annual = AnnualPillar(year);
        out += kCrLf;
        out += "  ";
        AppendInt2(out, age);
        out += "岁   ";
        AppendInt(out, year);
        out += "年   ";
        out += PillarName(annual);
        AppendSpaces(out, 7);
        const std::size_t before = out.size();
        AppendPillarRelations(out, c, annual, luck[k]);
        AppendSpaces(out, AnnualFill(Utf8Length(std::string_view(out).substr(before))));
        out += "※";
        AppendPillarShensha(out, c, annual, false);
        if (annual == luck[k]) out += "   ▲本年岁运并临";
        if (row % 10 == 0) {
            ++k;
            out += kCrLf;
            out += kCrLf;
            AppendLuckLine(out, c, luck[k]);
        }
    }
}

std::string LuckAndAnnualText(const Chart& c) {
    std::string out;
    AppendLuckAndAnnualText(out, c);
    return out;
}

}  // namespace tl
