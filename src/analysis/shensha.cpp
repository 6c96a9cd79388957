#include "analysis/shensha.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "analysis/attributes.h"
#include "analysis/natal_table.h"
#include "chart/chart.h"

namespace tl {

namespace {

constexpr std::array<std::string_view, kStarCount> kStarNames = {
    "天乙贵人", "天德贵人", "月德贵人", "太极贵人", "福星贵人", "文昌贵人", "国印贵人",
    "驿马",     "华盖",     "将星",     "金舆",     "禄神",     "天医",     "羊刃",
    "亡神",     "劫煞",     "灾煞",     "孤辰寡宿", "咸池",     "空亡"};

constexpr std::array<std::string_view, 6> kChartStarNames = {"三奇贵人", "魁罡贵人", "金神",
                                                              "天赦",     "十恶大败", "阴差阳错"};

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

using enum Star;

constexpr std::uint32_t Bit(Star star) { return std::uint32_t{1} << static_cast<int>(star); }

// Natal exclusions: stars not tested on a natal pillar whose index equals the
// day, month or year pillar's.
constexpr std::uint32_t kSkipOnDayPillar =
    Bit(kYiMaStar) | Bit(kHuaGaiStar) | Bit(kJiangXingStar) | Bit(kWangShenStar) | Bit(kJieShaStar) |
    Bit(kXianChiStar);
constexpr std::uint32_t kSkipOnMonthPillar = Bit(kTianYiStar);
constexpr std::uint32_t kSkipOnYearPillar = Bit(kZaiShaStar) | Bit(kGuChenGuaSuStar);

StarTable::StarTable(const Chart& c)
    : yearPillar_(c.yearPillar), monthPillar_(c.monthPillar), dayPillar_(c.dayPillar) {
    const bool dayStemOk = IsStem(c.dayStem);
    const int ds = c.dayStem - 1;
    const int dayTrine = IsBranch(c.dayBranch) ? Trine(c.dayBranch) : -1;
    const Branch voidFirst = DayVoid(c.dayPillar);

    // Stars that look at the pillar's stem.
    if (IsBranch(c.monthBranch)) {
        const TianDeMark m = kTianDe[c.monthBranch - 1];
        if (m.isStem) byStem_[m.code] |= Bit(kTianDeGuiRen);
        byStem_[kYueDeByTrine[Trine(c.monthBranch)]] |= Bit(kYueDeGuiRen);
    }

    // Stars that look at the pillar's branch.
    for (Branch b = 1; b <= 12; ++b) {
        std::uint32_t m = 0;
        if (dayStemOk) {
            if (b == kTianYi[ds][0] || b == kTianYi[ds][1]) m |= Bit(kTianYiGuiRen);
            for (Branch x : kTaiJi[ds])
                if (x != 0 && x == b) m |= Bit(kTaiJiGuiRen);
            if (FuXing(c.dayStem, b)) m |= Bit(kFuXingGuiRen);
            if (b == kByDayStem[ds][kWenChang]) m |= Bit(kWenChangGuiRen);
            if (b == kByDayStem[ds][kGuoYin]) m |= Bit(kGuoYinGuiRen);
            if (b == kByDayStem[ds][kJinYu]) m |= Bit(kJinYuStar);
            if (b == kByDayStem[ds][kLuShen]) m |= Bit(kLuShenStar);
            if (b == kByDayStem[ds][kYangRen]) m |= Bit(kYangRenStar);
        }
        if (IsBranch(c.monthBranch)) {
            const TianDeMark mark = kTianDe[c.monthBranch - 1];
            if (!mark.isStem && b == mark.code) m |= Bit(kTianDeGuiRen);
            // 天医: the branch just before the month branch (亥 before 子).
            if (c.monthBranch - b == 1 || (c.monthBranch == 1 && b == 12)) m |= Bit(kTianYiStar);
        }
        if (dayTrine >= 0) {
            const Branch* t = kByTrine[dayTrine];
            if (b == t[kYiMa]) m |= Bit(kYiMaStar);
            if (b == t[kHuaGai]) m |= Bit(kHuaGaiStar);
            if (b == t[kJiangXing]) m |= Bit(kJiangXingStar);
            if (b == t[kWangShen]) m |= Bit(kWangShenStar);
            if (b == t[kJieSha]) m |= Bit(kJieShaStar);
        }
        if (IsBranch(c.yearBranch)) {
            const Branch* t = kByTrine[Trine(c.yearBranch)];
            if (b == t[kZaiSha]) m |= Bit(kZaiShaStar);
            const Branch* gu = kGuChen[Season(c.yearBranch)];
            if (b == gu[0] || b == gu[1]) m |= Bit(kGuChenGuaSuStar);
            // 咸池 is keyed on the year branch (and skips the day pillar).
            if (b == t[kXianChi]) m |= Bit(kXianChiStar);
        }
        if (b == voidFirst || b == voidFirst + 1) m |= Bit(kKongWangStar);
        byBranch_[b] = m;
    }
}

std::string_view StarName(Star star) {
    const auto i = static_cast<std::size_t>(star);
    return i < kStarNames.size() ? kStarNames[i] : std::string_view{};
}

std::string_view ChartStarName(ChartStar star) {
    const auto i = static_cast<std::size_t>(star);
    return i < kChartStarNames.size() ? kChartStarNames[i] : std::string_view{};
}

StarSet StarTable::Of(Pillar p, bool natal) const {
    const Stem s = StemOf(p);
    const Branch b = BranchOf(p);
    if (!IsBranch(b) || !IsStem(s)) return {};
    std::uint32_t m = byBranch_[b] | byStem_[s];
    if (natal) {
        if (p == dayPillar_) m &= ~kSkipOnDayPillar;
        if (p == monthPillar_) m &= ~kSkipOnMonthPillar;
        if (p == yearPillar_) m &= ~kSkipOnYearPillar;
    }
    return StarSet(m);
}

StarSet PillarShensha(const Chart& c, Pillar p, bool natal) { return StarTable(c).Of(p, natal); }

ChartStars ChartWideStars(const Chart& c) {
    ChartStars out;
    auto add = [&](ChartStar star) { out.stars[out.count++] = star; };
    const std::array<Stem, 3> first = {c.yearStem, c.monthStem, c.dayStem};
    const std::array<Stem, 3> second = {c.monthStem, c.dayStem, c.hourStem};
    for (const auto& triple : {first, second}) {
        for (const auto& t : kSanQi)
            if (triple == t) add(ChartStar::kSanQi);
    }
    if (OneOf(c.dayPillar, kKuiGang)) add(ChartStar::kKuiGang);
    if (OneOf(c.dayPillar, kJinShen) || OneOf(c.hourPillar, kJinShen)) add(ChartStar::kJinShen);
    if (IsBranch(c.monthBranch) && c.dayPillar == kTianShe[Season(c.monthBranch)]) add(ChartStar::kTianShe);
    if (OneOf(c.dayPillar, kShiEDaBai)) add(ChartStar::kShiEDaBai);
    if (OneOf(c.dayPillar, kYinChaYangCuo)) add(ChartStar::kYinChaYangCuo);
    return out;
}

}  // namespace tl
