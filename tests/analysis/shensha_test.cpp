#include "analysis/shensha.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/chart_fixture.h"
#include "support/report_text.h"

namespace tl {
namespace {

using namespace test;
using test::ChartOf;
using test::P;

bool Has(const std::string& stars, const std::string& name) {
    // Names are followed by two spaces; match the whole name.
    std::size_t at = 0;
    while ((at = stars.find(name + "  ", at)) != std::string::npos) {
        if (at == 0 || stars.substr(at - 2, 2) == "  ") return true;
        ++at;
    }
    return false;
}

// A pillar with the given branch (and a stem of matching parity).
Pillar WithBranch(Branch b, Stem s = 0) { return PillarOf(s != 0 ? s : (b % 2 == 1 ? 1 : 2), b); }

// The chart-wide stars' names, each followed by two spaces.
std::string WideStars(const Chart& c) {
    std::string names;
    for (ChartStar s : ChartWideStars(c)) {
        names += ChartStarName(s);
        names += "  ";
    }
    return names;
}

TEST(PillarShensha, FuXingFollowsItsIndexRule) {
    // Day stem → the branches that carry 福星贵人.
    const struct {
        const char* dayStem;
        const char* branches;
    } column[] = {{"甲", "子寅"}, {"乙", "丑卯"}, {"丙", "子寅"}, {"丁", "酉"}, {"戊", "申"},
                  {"己", "未"},   {"庚", "午"},   {"辛", "巳"},   {"壬", "辰"}, {"癸", "卯"}};
    const std::string names = "子丑寅卯辰巳午未申酉戌亥";
    for (const auto& c : column) {
        // A day pillar with this stem.
        Pillar day = 0;
        for (Pillar p = 1; p <= 60 && day == 0; ++p)
            if (StemName(StemOf(p)) == c.dayStem) day = p;
        const Chart chart = ChartOf(P("甲子"), P("丙寅"), day, P("甲子"));
        for (Branch b = 1; b <= 12; ++b) {
            const bool expected = std::string(c.branches).find(names.substr(3 * (b - 1), 3)) != std::string::npos;
            EXPECT_EQ(Has(StarsText(chart, WithBranch(b), false), "福星贵人"), expected)
                << c.dayStem << " " << names.substr(3 * (b - 1), 3);
        }
    }
}

TEST(PillarShensha, ListsInTableOrderEachWithTwoSpaces) {
    // Day 甲申 (void 午未): 辛未 carries 天乙贵人 (甲 → 丑未) and 空亡.
    const Chart chart = ChartOf(P("甲子"), P("丙寅"), P("甲申"), P("甲子"));
    const std::string stars = StarsText(chart, P("辛未"), false);
    EXPECT_EQ(stars.rfind("天乙贵人  ", 0), 0u) << stars;
    EXPECT_EQ(stars.substr(stars.size() - std::string("空亡  ").size()), "空亡  ") << stars;
}

TEST(PillarShensha, DayLineNeverShowsVoid) {
    for (Pillar day = 1; day <= 60; ++day) {
        const Chart chart = ChartOf(P("甲子"), P("丙寅"), day, P("甲子"));
        EXPECT_FALSE(Has(StarsText(chart, day, true), "空亡")) << day;
        EXPECT_FALSE(Has(StarsText(chart, day, false), "空亡")) << day;
    }
}

TEST(PillarShensha, NatalExclusionsCompareIndexValues) {
    // Day 甲辰: its own 辰 is the 华盖 of 申子辰. Looked at as a luck or annual
    // pillar it carries 华盖; as a natal pillar with the day's index it does
    // not, on the year line too when the year pillar has the same index.
    const Chart same = ChartOf(P("甲辰"), P("丙寅"), P("甲辰"), P("甲子"));
    EXPECT_TRUE(Has(StarsText(same, P("甲辰"), false), "华盖"));
    EXPECT_FALSE(Has(StarsText(same, same.dayPillar, true), "华盖"));
    EXPECT_FALSE(Has(StarsText(same, same.yearPillar, true), "华盖"));
    // A natal pillar of another index with the same branch keeps it.
    const Chart other = ChartOf(P("丙辰"), P("丙寅"), P("甲辰"), P("甲子"));
    EXPECT_TRUE(Has(StarsText(other, other.yearPillar, true), "华盖"));

    // Day 甲子: 将星 of 申子辰 is 子, its own branch.
    const Chart zi = ChartOf(P("丙子"), P("丙寅"), P("甲子"), P("甲子"));
    EXPECT_FALSE(Has(StarsText(zi, zi.dayPillar, true), "将星"));
    EXPECT_FALSE(Has(StarsText(zi, zi.hourPillar, true), "将星"));  // hour index equals the day's
    EXPECT_TRUE(Has(StarsText(zi, zi.yearPillar, true), "将星"));   // 丙子, another index
}

TEST(PillarShensha, XianChiIsKeyedOnTheYearBranchButSkipsTheDayPillar) {
    // Year 子 (申子辰): 咸池 falls on 酉.
    const Chart chart = ChartOf(P("甲子"), P("癸酉"), P("辛酉"), P("甲子"));
    EXPECT_TRUE(Has(StarsText(chart, chart.monthPillar, true), "咸池"));
    EXPECT_FALSE(Has(StarsText(chart, chart.dayPillar, true), "咸池"));
    EXPECT_TRUE(Has(StarsText(chart, chart.dayPillar, false), "咸池"));
}

TEST(PillarShensha, TianYiIsTheBranchBeforeTheMonthBranch) {
    const struct {
        const char* month;
        const char* carrier;
    } cases[] = {{"丙寅", "丑"}, {"甲子", "亥"}, {"乙亥", "戌"}, {"丁卯", "寅"}};
    const std::string names = "子丑寅卯辰巳午未申酉戌亥";
    for (const auto& c : cases) {
        const Chart chart = ChartOf(P("甲辰"), P(c.month), P("甲午"), P("甲子"));
        for (Branch b = 1; b <= 12; ++b) {
            const bool expected = names.substr(3 * (b - 1), 3) == c.carrier;
            EXPECT_EQ(Has(StarsText(chart, WithBranch(b), false), "天医"), expected) << c.month << " " << b;
        }
    }
    // In natal mode the other natal lines still show it.
    const Chart chart = ChartOf(P("乙丑"), P("丙寅"), P("甲午"), P("甲子"));
    EXPECT_TRUE(Has(StarsText(chart, chart.yearPillar, true), "天医"));
}

TEST(PillarShensha, KnownStarsOfOneChart) {
    // 乙丑 己卯 庚戌 辛巳, checked star by star against the tables.
    const Chart c = ChartOf(P("乙丑"), P("己卯"), P("庚戌"), P("辛巳"));
    EXPECT_EQ(StarsText(c, c.yearPillar, true), "");
    EXPECT_EQ(StarsText(c, c.monthPillar, true), "灾煞  空亡  ");
    EXPECT_EQ(StarsText(c, c.dayPillar, true), "金舆  孤辰寡宿  ");
    EXPECT_EQ(StarsText(c, c.hourPillar, true), "亡神  ");
    // Luck and annual pillars: the natal keys, the pillar's own stem and branch.
    EXPECT_EQ(StarsText(c, P("戊寅"), false), "天乙贵人  太极贵人  天医  孤辰寡宿  空亡  ");
    EXPECT_EQ(StarsText(c, P("甲申"), false), "天德贵人  月德贵人  驿马  禄神  ");
    EXPECT_EQ(StarsText(c, P("丙午"), false), "天乙贵人  福星贵人  将星  咸池  ");
}

TEST(ChartWideStars, ByDayPillarName) {
    const std::set<std::string> kuiGang = {"庚辰", "壬辰", "戊戌", "庚戌"};
    const std::set<std::string> shiE = {"甲辰", "乙巳", "丙申", "丁亥", "戊戌",
                                        "己丑", "庚辰", "辛巳", "壬申", "癸亥"};
    const std::set<std::string> yinCha = {"丙子", "丁丑", "戊寅", "辛卯", "壬辰", "癸巳",
                                          "丙午", "丁未", "戊申", "辛酉", "壬戌", "癸亥"};
    const std::set<std::string> jinShen = {"乙丑", "己巳", "癸酉"};
    for (Pillar day = 1; day <= 60; ++day) {
        // Year 甲子 and month 丙子 (winter) and hour 丙寅: no 三奇 with these stems.
        const Chart c = ChartOf(P("甲子"), P("丙子"), day, P("丙寅"));
        const std::string stars = WideStars(c);
        const std::string name(PillarName(day));
        EXPECT_EQ(Has(stars, "魁罡贵人"), kuiGang.count(name) == 1) << name;
        EXPECT_EQ(Has(stars, "十恶大败"), shiE.count(name) == 1) << name;
        EXPECT_EQ(Has(stars, "阴差阳错"), yinCha.count(name) == 1) << name;
        EXPECT_EQ(Has(stars, "金神"), jinShen.count(name) == 1) << name;
        EXPECT_EQ(Has(stars, "天赦"), name == "甲子") << name;  // the winter day
    }
    // 金神 also on the hour pillar.
    EXPECT_TRUE(Has(WideStars(ChartOf(P("甲子"), P("丙子"), P("甲午"), P("己巳"))), "金神"));
    // 天赦 by the season of the month branch.
    EXPECT_EQ(WideStars(ChartOf(P("甲子"), P("丙寅"), P("戊寅"), P("甲子"))), "天赦  阴差阳错  ");
    EXPECT_EQ(WideStars(ChartOf(P("甲子"), P("庚午"), P("甲午"), P("甲子"))), "天赦  ");
    EXPECT_EQ(WideStars(ChartOf(P("甲子"), P("壬申"), P("戊申"), P("甲子"))), "天赦  阴差阳错  ");
    EXPECT_EQ(WideStars(ChartOf(P("甲子"), P("庚午"), P("戊申"), P("甲子"))), "阴差阳错  ");
}

TEST(ChartWideStars, SanQiInOrderOnly) {
    // 乙 丙 丁 in year, month, day.
    EXPECT_EQ(WideStars(ChartOf(P("乙丑"), P("丙戌"), P("丁卯"), P("甲辰"))), "三奇贵人  ");
    // 丁 丙 乙 in that order counts for nothing.
    EXPECT_EQ(WideStars(ChartOf(P("丁卯"), P("丙戌"), P("乙亥"), P("甲申"))), "");
    // 甲 戊 庚 in month, day, hour.
    EXPECT_EQ(WideStars(ChartOf(P("乙丑"), P("甲申"), P("戊午"), P("庚申"))), "三奇贵人  ");
    // 壬 癸 辛.
    EXPECT_EQ(WideStars(ChartOf(P("壬午"), P("癸卯"), P("辛亥"), P("甲午"))), "三奇贵人  ");
}

TEST(NatalShenshaSection, TitleAndFourLines) {
    const Chart none = ChartOf(P("乙丑"), P("己卯"), P("庚子"), P("辛巳"));
    ASSERT_EQ(WideStars(none), "");
    const std::string text = NatalShenshaText(none);
    EXPECT_EQ(text.rfind("\r\n  命局中出现的神煞:  \r\n  年柱:  ", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");

    const Chart c = ChartOf(P("乙丑"), P("己卯"), P("庚戌"), P("辛巳"));
    EXPECT_EQ(NatalShenshaText(c),
              "\r\n  命局中出现的神煞:  魁罡贵人  \r\n"
              "  年柱:  \r\n"
              "  月柱:  灾煞  空亡  \r\n"
              "  日柱:  金舆  孤辰寡宿  \r\n"
              "  时柱:  亡神  \r\n\r\n");
}

}  // namespace
}  // namespace tl
