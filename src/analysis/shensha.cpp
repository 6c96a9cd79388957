#include "analysis/shensha.h"

#include <array>
#include <string_view>

#include "analysis/attributes.h"
#include "analysis/natal_section.h"
#include "analysis/text_build.h"
#include "chart/chart.h"

namespace tl {

namespace {

// Star names in the order they are tested and listed.
constexpr std::array<std::string_view, 20> kStarNames = {
    "天乙贵人", "天德贵人", "月德贵人", "太极贵人", "福星贵人", "文昌贵人", "国印贵人",
    "驿马",     "华盖",     "将星",     "金舆",     "禄神",     "天医",     "羊刃",
    "亡神",     "劫煞",     "灾煞",     "孤辰寡宿", "咸池",     "空亡"};

// Day stem 甲..癸 → the two branches of 天乙贵人 and the branches of 太极贵人
// (0 = unused place).
constexpr Branch kTianYi[10][2] = {{2, 8}, {1, 9}, {12, 10}, {12, 10}, {2, 8},
                                   {1, 9}, {7, 3}, {7, 3},   {4, 6},   {4, 6}};
constexpr Branch kTaiJi[10][4] = {{1, 7, 0, 0},  {1, 7, 0, 0},  {4, 10, 0, 0}, {4, 10, 0, 0},
                                  {5, 11, 2, 8}, {5, 11, 2, 8}, {3, 12, 0, 0}, {3, 12, 0, 0},
                                  {6, 9, 0, 0},  {6, 9, 0, 0}};

// 天德贵人 by month branch 子..亥: a stem (compared with the pillar's stem)
// or a branch (compared with its branch).
struct TianDeMark {
    bool isStem;
    int code;
};
constexpr TianDeMark kTianDe[12] = {{false, 6}, {true, 7}, {true, 4},  {false, 9}, {true, 9}, {true, 8},
                                    {false, 12}, {true, 1}, {true, 10}, {false, 3}, {true, 3}, {true, 2}};

// 月德贵人 stem by the trine of the month branch: 申子辰 巳酉丑 寅午戌 亥卯未.
constexpr Stem kYueDeByTrine[4] = {9, 7, 3, 1};

// Day stem 甲..癸 → the one branch of 文昌贵人 国印贵人 金舆 禄神 羊刃.
enum { kWenChang, kGuoYin, kJinYu, kLuShen, kYangRen };
constexpr Branch kByDayStem[10][5] = {{6, 11, 5, 3, 4},  {7, 12, 6, 4, 3},   {9, 2, 8, 6, 7}, {10, 3, 9, 7, 6},
                                      {9, 2, 8, 6, 7},   {10, 3, 9, 7, 6},   {12, 5, 11, 9, 10},
                                      {1, 6, 12, 10, 9}, {3, 8, 2, 12, 1},   {4, 9, 3, 1, 12}};

// Trine 申子辰 巳酉丑 寅午戌 亥卯未 → the one branch of 驿马 华盖 将星 亡神 劫煞
// (trine of the day branch) and 灾煞 咸池 (trine of the year branch).
enum { kYiMa, kHuaGai, kJiangXing, kWangShen, kJieSha, kZaiSha, kXianChi };
constexpr Branch kByTrine[4][7] = {
    {3, 5, 1, 12, 6, 7, 10}, {12, 2, 10, 9, 3, 4, 7}, {9, 11, 7, 6, 12, 1, 4}, {6, 8, 4, 3, 9, 10, 1}};

// 孤辰寡宿 by the season of the year branch: 寅卯辰 巳午未 申酉戌 亥子丑.
constexpr Branch kGuChen[4][2] = {{6, 2}, {9, 5}, {12, 8}, {3, 11}};

// Chart-wide stars.
constexpr std::array<std::array<Stem, 3>, 3> kSanQi = {{{1, 5, 7}, {2, 3, 4}, {9, 10, 8}}};  // 甲戊庚 乙丙丁 壬癸辛
constexpr Pillar kKuiGang[] = {17, 29, 35, 47};
constexpr Pillar kJinShen[] = {2, 6, 10};
constexpr Pillar kTianShe[4] = {15, 31, 45, 1};  // the season's day: spring summer autumn winter
constexpr Pillar kShiEDaBai[] = {41, 42, 33, 24, 35, 26, 17, 18, 9, 60};
constexpr Pillar kYinChaYangCuo[] = {13, 14, 15, 28, 29, 30, 43, 44, 45, 58, 59, 60};

// Trine of a branch: 0 申子辰, 1 巳酉丑, 2 寅午戌, 3 亥卯未.
constexpr int Trine(Branch b) { return (b - 1) % 4; }
// Season of a branch: 0 spring 寅卯辰, 1 summer 巳午未, 2 autumn 申酉戌,
// 3 winter 亥子丑.
constexpr int Season(Branch b) { return (b + 9) % 12 / 3; }

constexpr bool IsStem(int s) { return s >= 1 && s <= 10; }
constexpr bool IsBranch(int b) { return b >= 1 && b <= 12; }

template <std::size_t N>
constexpr bool OneOf(Pillar p, const Pillar (&list)[N]) {
    for (Pillar x : list)
        if (x == p) return true;
    return false;
}

// 福星贵人 by its rule of indices: never on 戌 or 亥; otherwise when day stem
// plus branch is 4 or 14, or 甲 and 丙 on 寅 and 子, or 乙 on 卯 and 丑.
constexpr bool FuXing(Stem dayStem, Branch b) {
    if (b > 10) return false;
    if (dayStem + b == 4 || dayStem + b == 14) return true;
    if ((dayStem == 1 || dayStem == 3) && (b == 3 || b == 1)) return true;
    return dayStem == 2 && (b == 4 || b == 2);
}

}  // namespace

void AppendPillarShensha(std::string& out, const Chart& c, Pillar p, bool natal) {
    const Stem s = StemOf(p);
    const Branch b = BranchOf(p);
    if (!IsBranch(b)) return;
    // In natal mode a star with an exclusion pillar is skipped on every pillar
    // whose index equals that natal pillar's.
    const bool skipDay = natal && p == c.dayPillar;
    const bool skipMonth = natal && p == c.monthPillar;
    const bool skipYear = natal && p == c.yearPillar;
    const bool dayStemOk = IsStem(c.dayStem);
    const int ds = c.dayStem - 1;
    const bool dayBranchOk = IsBranch(c.dayBranch);
    const bool yearBranchOk = IsBranch(c.yearBranch);
    const bool monthBranchOk = IsBranch(c.monthBranch);

    auto add = [&](int star) {
        out += kStarNames[star];
        out += "  ";
    };

    if (dayStemOk && (b == kTianYi[ds][0] || b == kTianYi[ds][1])) add(0);
    if (monthBranchOk) {
        const TianDeMark m = kTianDe[c.monthBranch - 1];
        if (m.isStem ? s == m.code : b == m.code) add(1);
        if (s == kYueDeByTrine[Trine(c.monthBranch)]) add(2);
    }
    if (dayStemOk) {
        for (Branch x : kTaiJi[ds])
            if (x != 0 && x == b) {
                add(3);
                break;
            }
        if (FuXing(c.dayStem, b)) add(4);
        if (b == kByDayStem[ds][kWenChang]) add(5);
        if (b == kByDayStem[ds][kGuoYin]) add(6);
    }
    const int dayTrine = dayBranchOk ? Trine(c.dayBranch) : -1;
    if (dayTrine >= 0 && !skipDay) {
        if (b == kByTrine[dayTrine][kYiMa]) add(7);
        if (b == kByTrine[dayTrine][kHuaGai]) add(8);
        if (b == kByTrine[dayTrine][kJiangXing]) add(9);
    }
    if (dayStemOk) {
        if (b == kByDayStem[ds][kJinYu]) add(10);
        if (b == kByDayStem[ds][kLuShen]) add(11);
    }
    // 天医: the branch just before the month branch (亥 before 子).
    if (monthBranchOk && !skipMonth && (c.monthBranch - b == 1 || (c.monthBranch == 1 && b == 12))) add(12);
    if (dayStemOk && b == kByDayStem[ds][kYangRen]) add(13);
    if (dayTrine >= 0 && !skipDay) {
        if (b == kByTrine[dayTrine][kWangShen]) add(14);
        if (b == kByTrine[dayTrine][kJieSha]) add(15);
    }
    if (yearBranchOk) {
        if (!skipYear && b == kByTrine[Trine(c.yearBranch)][kZaiSha]) add(16);
        const Branch* gu = kGuChen[Season(c.yearBranch)];
        if (!skipYear && (b == gu[0] || b == gu[1])) add(17);
        // 咸池 is keyed on the year branch but skips the day pillar.
        if (!skipDay && b == kByTrine[Trine(c.yearBranch)][kXianChi]) add(18);
    }
    const Branch voidFirst = DayVoid(c.dayPillar);
    if (b == voidFirst || b == voidFirst + 1) add(19);
}

std::string PillarShensha(const Chart& c, Pillar p, bool natal) {
    std::string out;
    AppendPillarShensha(out, c, p, natal);
    return out;
}

std::string ChartWideStars(const Chart& c) {
    std::string out;
    auto add = [&](std::string_view name) {
        out += name;
        out += "  ";
    };
    const std::array<Stem, 3> first = {c.yearStem, c.monthStem, c.dayStem};
    const std::array<Stem, 3> second = {c.monthStem, c.dayStem, c.hourStem};
    for (const auto& triple : {first, second}) {
        for (const auto& t : kSanQi)
            if (triple == t) add("三奇贵人");
    }
    if (OneOf(c.dayPillar, kKuiGang)) add("魁罡贵人");
    if (OneOf(c.dayPillar, kJinShen) || OneOf(c.hourPillar, kJinShen)) add("金神");
    if (IsBranch(c.monthBranch) && c.dayPillar == kTianShe[Season(c.monthBranch)]) add("天赦");
    if (OneOf(c.dayPillar, kShiEDaBai)) add("十恶大败");
    if (OneOf(c.dayPillar, kYinChaYangCuo)) add("阴差阳错");
    return out;
}

void AppendNatalShenshaSection(std::string& out, const Chart& c) {
    out += kCrLf;
    out += "  命局中出现的神煞:  ";
    out += ChartWideStars(c);
    out += kCrLf;
    out += "  年柱:  ";
    AppendPillarShensha(out, c, c.yearPillar, true);
    out += kCrLf;
    out += "  月柱:  ";
    AppendPillarShensha(out, c, c.monthPillar, true);
    out += kCrLf;
    out += "  日柱:  ";
    AppendPillarShensha(out, c, c.dayPillar, true);
    out += kCrLf;
    out += "  时柱:  ";
    AppendPillarShensha(out, c, c.hourPillar, true);
    out += kCrLf;
    out += kCrLf;
}

std::string NatalShenshaSection(const Chart& c) {
    std::string out;
    AppendNatalShenshaSection(out, c);
    return out;
}

}  // namespace tl
