#include "analysis/natal_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/chart_fixture.h"
#include "support/report_text.h"
#include "text/utf8.h"

namespace tl {
namespace {

using namespace test;
using test::Lines;

using test::ChartOf;
using test::P;

TEST(LifePalace, CountedFromMonthAndEnteredHour) {
    const struct {
        const char *year, *month;
        Branch hour;
        const char* palace;
    } cases[] = {
        // A 寅 month at a 卯 hour puts the palace on 子; a 甲 year gives it 丙.
        {"甲子", "丙寅", 4, "丙子"},
        // The stem counts on from the year's 寅 month: 丑, 寅 and 卯 around it.
        {"甲子", "丙寅", 3, "丁丑"},
        {"甲子", "丙寅", 2, "丙寅"},
        {"甲子", "丙寅", 1, "丁卯"},
        // A 丑 month (twelfth from 寅) at a 子 hour: branch 辰.
        {"甲子", "丁丑", 1, "戊辰"},
        // 戊 and 癸 years give their 寅 month the stem 甲.
        {"戊辰", "甲寅", 4, "甲子"},
        {"癸巳", "戊午", 5, "己未"},
        // Hours from 辰 on count from the other end.
        {"戊申", "甲寅", 6, "壬戌"},
        {"乙丑", "己卯", 6, "乙酉"},
        {"己亥", "丙子", 6, "丙子"},
    };
    for (const auto& c : cases) {
        const Chart chart = ChartOf(P(c.year), P(c.month), 1, 1, true, c.hour);
        EXPECT_EQ(PillarName(LifePalace(chart)), c.palace) << c.year << " " << c.month << " " << c.hour;
    }
}

TEST(LifePalace, UsesTheHourAsEnteredNotTheCorrectedHourPillar) {
    // True solar time moved the hour pillar from 卯 to 寅; the palace stays.
    const Chart entered = ChartOf(P("甲子"), P("丙寅"), 1, P("丁卯"), true, 4);
    const Chart corrected = ChartOf(P("甲子"), P("丙寅"), 1, P("丙寅"), true, 4);
    EXPECT_EQ(LifePalace(entered), LifePalace(corrected));
    EXPECT_NE(NatalChartText(corrected).find("(命宫:丙子)"), std::string::npos);
}

TEST(DayVoid, TenDayGroups) {
    const struct {
        Pillar day;
        const char* pair;
    } cases[] = {{1, "戌亥"},  {10, "戌亥"}, {11, "申酉"}, {20, "申酉"}, {21, "午未"}, {31, "辰巳"},
                 {41, "寅卯"}, {50, "寅卯"}, {51, "子丑"}, {60, "子丑"}, {0, "戌亥"}, {61, "戌亥"}};
    for (const auto& c : cases) {
        const Branch first = DayVoid(c.day);
        EXPECT_EQ(std::string(BranchName(first)) + std::string(BranchName(first + 1)), c.pair) << c.day;
    }
    // In the section: 甲子 and 癸亥 days.
    EXPECT_NE(NatalChartText(ChartOf(1, 1, P("甲子"), 1)).find("(日空:戌亥)"), std::string::npos);
    EXPECT_NE(NatalChartText(ChartOf(1, 1, P("癸亥"), 1)).find("(日空:子丑)"), std::string::npos);
}

TEST(NatalChartSection, WholeSectionOfOneChart) {
    // 甲子 庚午 乙亥 戊寅, entered at a 寅 hour.
    const Chart c = ChartOf(P("甲子"), P("庚午"), P("乙亥"), P("戊寅"), true, 3);
    const std::string text = NatalChartText(c);
    const std::string gap(6, ' ');
    const std::string empty(4, ' ');  // an empty hidden slot: stem and ten god blank
    const std::vector<std::string> expected = {
        "四柱:",
        "     十神    劫        官        日        财",
        "",
        "     乾造    甲        庚        乙        戊",
        "",
        "             子        午        亥        寅  (命宫:癸酉)(日空:申酉)",
        "",
        // 子 has one hidden stem, 午 and 亥 two.
        "     藏干   癸枭      丁食      壬印      甲劫",
        std::string(12, ' ') + empty + gap + "己才" + gap + "甲劫" + gap + "丙伤",
        std::string(12, ' ') + empty + gap + empty + gap + empty + gap + "戊财",
        "",
        "     干旺   [休]      [死]      [休]      [相]",
        "     长生  [ 病 ]    [长生]    [ 死 ]    [帝旺]",
        "",
        "     纳音  [海中金]  [路旁土]  [山头火]  [城墙土]",
    };
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), expected.size()) << text;
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << i;
    // No line end after the nayin line.
    EXPECT_NE(text.substr(text.size() - 2), "\r\n");
}

TEST(NatalChartSection, FemaleChartChangesOnlyTheStemsLabel) {
    const std::string male = NatalChartText(ChartOf(P("乙丑"), P("己卯"), P("庚戌"), P("辛巳"), true));
    const std::string female = NatalChartText(ChartOf(P("乙丑"), P("己卯"), P("庚戌"), P("辛巳"), false));
    const std::size_t at = male.find("乾造    ");
    ASSERT_NE(at, std::string::npos);
    std::string expected = male;
    expected.replace(at, std::string("乾造").size(), "坤造");
    EXPECT_EQ(female, expected);
}

TEST(NatalChartSection, EntriesStandTenColumnsApartOnTheStemColumns) {
    const std::string text = NatalChartText(ChartOf(P("乙丑"), P("己卯"), P("庚戌"), P("辛巳")));
    const auto lines = Lines(text);
    // Stems on columns 14-15, 24-25, 34-35, 44-45 (counted from 1).
    const std::string& stems = lines[3];
    for (int k = 0; k < 4; ++k) {
        const std::size_t w = DisplayWidth(stems.substr(0, stems.find(std::string("乙己庚辛").substr(3 * k, 3))));
        EXPECT_EQ(w, 13u + 10u * k) << k;
    }
    // Every table line of fixed width entries: the line widths follow.
    EXPECT_EQ(DisplayWidth(lines[1]), 45u);                         // ten gods
    EXPECT_EQ(DisplayWidth(lines[5]), 45u + 24u);  // branches, "  (命宫:乙酉)(日空:寅卯)"
    EXPECT_EQ(DisplayWidth(lines[7]), 12u + 4u * 4u + 3u * 6u);     // hidden stems
    EXPECT_EQ(DisplayWidth(lines[11]), 12u + 4u * 4u + 3u * 6u);    // strength
    EXPECT_EQ(DisplayWidth(lines[12]), 11u + 4u * 6u + 3u * 4u);    // growth stages
    EXPECT_EQ(DisplayWidth(lines[14]), 11u + 4u * 8u + 3u * 2u);    // nayin
}

}  // namespace
}  // namespace tl

namespace tl {
namespace {

StarSet Stars(std::initializer_list<Star> stars) {
    std::uint32_t bits = 0;
    for (Star s : stars) bits |= 1u << static_cast<int>(s);
    return StarSet(bits);
}

TEST(NatalTableOf, AGoldenBirthByValue) {
    // 1985-03-12 09:05, a man: 乙丑 己卯 庚戌 辛巳 (the golden report
    // male_gregorian_1985).
    using enum Star;
    const NatalTable expected{
        .pillars = {{
            {.pillar = 2, .stem = 2, .branch = 2, .tenGod = 5, .hiddenStems = {{{10, 3}, {8, 1}, {6, 9}}},
             .strength = 1, .growthStage = 9, .shensha = {}},
            {.pillar = 16, .stem = 6, .branch = 4, .tenGod = 9, .hiddenStems = {{{2, 5}, {0, 0}, {0, 0}}},
             .strength = 5, .growthStage = 11, .shensha = Stars({kZaiShaStar, kKongWangStar})},
            {.pillar = 47, .stem = 7, .branch = 11, .tenGod = 0, .hiddenStems = {{{8, 1}, {4, 7}, {5, 10}}},
             .strength = 4, .growthStage = 6, .shensha = Stars({kJinYuStar, kGuChenGuaSuStar})},
            {.pillar = 18, .stem = 8, .branch = 6, .tenGod = 1, .hiddenStems = {{{7, 2}, {3, 8}, {5, 10}}},
             .strength = 4, .growthStage = 1, .shensha = Stars({kWangShenStar})},
        }},
        .lifePalace = 22,  // 乙酉
        .dayVoid = 3,      // 寅卯
        // 乙辛 year–hour, 乙庚 year–day, 卯戌 month–day.
        .relations = {.pairs = {{{3, 0}, {0, 0}, {2, 0}, {0, 4}, {0, 0}}}, .trio = 0},
        .shensha = {.stars = {ChartStar::kKuiGang}, .count = 1},
    };
    EXPECT_EQ(NatalTableOf(test::RunSolar(1985, 3, 12, 9, 5, true)), expected);
}

TEST(LuckTimelineOf, AGoldenBirthByValue) {
    const LuckTimeline t = LuckTimelineOf(test::RunSolar(1985, 3, 12, 9, 5, true));
    EXPECT_EQ(t.handover, (LuckHandover{{1987, 4, 30}, 11}));
    // Backward from 己卯: 戊寅 from 3 (1988), 丁丑 from 13.
    EXPECT_EQ(t.luck[0].pillar, 15);
    EXPECT_EQ(t.luck[0].startAge, 3);
    EXPECT_EQ(t.luck[0].startYear, 1988);
    EXPECT_EQ(t.luck[1].pillar, 14);
    EXPECT_EQ(t.luck[9].startAge, 93);
    // The first annual row, 1988 戊辰 at 3 under 戊寅; the last, 2078 at 93,
    // alone under the tenth luck pillar.
    EXPECT_EQ(t.annual[0].year, 1988);
    EXPECT_EQ(t.annual[0].age, 3);
    EXPECT_EQ(t.annual[0].pillar, 5);
    EXPECT_EQ(t.annual[0].luckIndex, 0);
    EXPECT_EQ(t.annual[90].year, 2078);
    EXPECT_EQ(t.annual[90].luckIndex, 9);
    // 岁运并临 where an annual pillar repeats its luck pillar, and nowhere else.
    for (const AnnualYear& y : t.annual)
        EXPECT_EQ(y.luckAndYearMeet, y.pillar == t.luck[static_cast<std::size_t>(y.luckIndex)].pillar) << y.year;
}

}  // namespace
}  // namespace tl
