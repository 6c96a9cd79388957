#include "analysis/luck_annual.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/chart_fixture.h"
#include "support/report_text.h"
#include "chart/run.h"

namespace tl {
namespace {

using namespace test;
using test::Lines;
using test::RunSolar;

using test::ChartOf;
using test::P;
using test::StemsBranches;

TEST(AnnualFill, SixCharactersOfRelationsTakeTenColumns) {
    const struct {
        std::size_t chars;
        int fill;
    } cases[] = {
        {0, 42},   // no relation
        {6, 32},   // one token such as 甲冲年庚 and two spaces
        {7, 30},   // one trio token
        {12, 22}, {18, 12}, {19, 10},
        {24, 2},   // four tokens reach the minimum
        {30, 2},   {1, 40},  {2, 39},
    };
    for (const auto& c : cases) EXPECT_EQ(AnnualFill(c.chars), c.fill) << c.chars;
}

TEST(AnnualPillar, SixtyYearCycle) {
    EXPECT_EQ(PillarName(AnnualPillar(1864)), "甲子");
    EXPECT_EQ(PillarName(AnnualPillar(1984)), "甲子");
    EXPECT_EQ(PillarName(AnnualPillar(1985)), "乙丑");
    EXPECT_EQ(PillarName(AnnualPillar(1900)), "庚子");
    EXPECT_EQ(PillarName(AnnualPillar(2043)), "癸亥");
    EXPECT_EQ(AnnualPillar(1923), 60);
}

TEST(LuckPillar, StepsThroughTheSixtyBothWays) {
    Chart c;
    c.luckForward = true;
    c.firstLuckPillar = 1;  // month pillar 60 going forward
    EXPECT_EQ(LuckPillar(c, 0), 1);
    EXPECT_EQ(LuckPillar(c, 9), 10);
    c.firstLuckPillar = 55;
    EXPECT_EQ(LuckPillar(c, 5), 60);
    EXPECT_EQ(LuckPillar(c, 6), 1);
    c.luckForward = false;
    c.firstLuckPillar = 60;  // month pillar 1 going backward
    EXPECT_EQ(LuckPillar(c, 1), 59);
    EXPECT_EQ(LuckPillar(c, 2), 58);
    c.firstLuckPillar = 3;
    EXPECT_EQ(LuckPillar(c, 3), 60);
    EXPECT_EQ(LuckPillar(c, 9), 54);
}

TEST(LuckHandover, DaysThenMonthsThenYearsThenHours) {
    const struct {
        Date birth;
        int hour, years, months, days, hours;
        LuckHandover expected;
    } cases[] = {
        // 23 h plus 22 h is 45: 21 h on the next day.
        {{1998, 8, 3}, 23, 9, 1, 11, 22, {{2007, 9, 15}, 21}},
        // Exactly 24 stays 24 on the same day.
        {{1900, 1, 3}, 10, 8, 11, 4, 14, {{1908, 12, 7}, 24}},
        // 31 March plus one month is clamped to 30 April.
        {{1985, 3, 12}, 9, 2, 1, 19, 2, {{1987, 4, 30}, 11}},
        {{2000, 1, 31}, 0, 0, 1, 0, 0, {{2000, 2, 29}, 0}},
        {{2000, 2, 29}, 10, 1, 0, 0, 0, {{2001, 2, 28}, 10}},
        // The days come first: 29 January + 2 days, then one month.
        {{2001, 1, 29}, 6, 0, 1, 2, 0, {{2001, 2, 28}, 6}},
        // 30 February 1985 counts as 2 March.
        {{1985, 2, 30}, 8, 0, 0, 1, 0, {{1985, 3, 3}, 8}},
        // A day moved on past the end of the year.
        {{1999, 12, 31}, 23, 0, 0, 0, 2, {{2000, 1, 1}, 1}},
    };
    for (const auto& c : cases) {
        Chart chart;
        chart.birthYear = c.birth.year;
        chart.birthMonth = c.birth.month;
        chart.birthDay = c.birth.day;
        chart.birthTime = TimeOfDay::Hms(c.hour, 30);
        chart.luckStartYears = c.years;
        chart.luckStartMonths = c.months;
        chart.luckStartDays = c.days;
        chart.luckStartHours = c.hours;
        EXPECT_EQ(LuckHandoverOf(chart), c.expected) << c.birth.year << "-" << c.birth.month << "-" << c.birth.day;
    }
}

TEST(PillarRelations, StemClashesOnlyWithTheStemSixApart) {
    // All natal branches 亥, like the examined pillar's: no branch relation.
    for (Stem x = 1; x <= 10; ++x) {
        const Chart c = StemsBranches(x, 10, 10, 10, 12, 12, 12, 12);
        EXPECT_EQ(RelationsText(c, P("癸亥"), 0).find("癸冲年") != std::string::npos, x == 4) << x;  // 丁
        // 戊 and 己 clash with nothing.
        EXPECT_EQ(RelationsText(c, P("戊戌"), 0).find("戊冲"), std::string::npos);
        EXPECT_EQ(RelationsText(c, P("己亥"), 0).find("己冲"), std::string::npos);
    }
}

TEST(PillarRelations, TokensInKindOrderNamingTheLastMatch) {
    // 甲子 against 庚午 己丑 甲未 甲子 (stems and branches set directly).
    const Chart c = StemsBranches(7, 6, 1, 1, 7, 2, 8, 1);
    EXPECT_EQ(RelationsText(c, P("甲子"), 0), "甲冲年庚  子冲年午  甲合月己  子合月丑  子害日未  ");
    // Clashing both year and hour: the hour, the last one, is named.
    const Chart twice = StemsBranches(7, 1, 1, 7, 12, 12, 12, 12);
    EXPECT_EQ(RelationsText(twice, P("甲戌"), 0), "甲冲时庚  ");
    // A match with the luck pillar hides the natal one of the same kind.
    EXPECT_EQ(RelationsText(twice, P("甲戌"), P("庚寅")), "甲冲运庚  ");
    EXPECT_EQ(RelationsText(twice, P("甲戌"), P("丙寅")), "甲冲时庚  ");
}

TEST(PillarRelations, TrioWithAPairOfNatalBranches) {
    // Annual branch 子 with year 辰 and month 申, whatever the stems.
    const Chart c = StemsBranches(1, 1, 1, 1, 5, 9, 4, 4);
    EXPECT_EQ(RelationsText(c, P("甲子"), 0), "子辰申三合  ");
    EXPECT_EQ(RelationsText(c, P("丙子"), 0), "子辰申三合  ");
    // Each pair completing a trio gives its own token; the luck pillar takes
    // no part in trios.
    const Chart twoPairs = StemsBranches(1, 1, 1, 1, 1, 1, 5, 2);
    EXPECT_EQ(RelationsText(twoPairs, P("壬申"), 0), "申子辰三合  申子辰三合  ");
    EXPECT_EQ(RelationsText(twoPairs, P("壬申"), P("甲辰")), "申子辰三合  申子辰三合  ");
}

TEST(LuckAndAnnualText, LuckLinesForAStartOfTenYears) {
    // 1953-06-06 08:48 female: 10 years 5 months 18 days 22 hours.
    const Chart c = RunSolar(1953, 6, 6, 8, 48, false);
    ASSERT_EQ(c.luckStartYears, 10);
    const auto lines = Lines(LuckAndAnnualText(c));
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "  起大运:  命主从出生后10年又5个月18天22小时开始起运   命主于公历1963年11月25日6时交运");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "  排大运:");
    EXPECT_EQ(lines[4], "  大运年份:  1964年  1974年  1984年  1994年  2004年  2014年  2024年  2034年  2044年  2054年  ");
    // The last age has three digits.
    EXPECT_EQ(lines[5], "  大运岁数:   11岁    21岁    31岁    41岁    51岁    61岁    71岁    81岁    91岁    101岁    ");
    EXPECT_EQ(lines[6], "  大运干支:   己未    庚申    辛酉    壬戌    癸亥    甲子    乙丑    丙寅    丁卯    戊辰    ");
    EXPECT_EQ(lines[7], "  大运十神:   劫      食      伤      才      财      杀      官      枭      印      比      ");
    EXPECT_EQ(lines[8], "  大运长生:  [ 衰 ]  [ 病 ]  [ 死 ]  [ 墓 ]  [ 绝 ]  [ 胎 ]  [ 养 ]  [长生]  [沐浴]  [冠带]  ");
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[10], "  <" + std::string(86, '-') + ">");
    EXPECT_EQ(lines[11], "  排流年:");
    EXPECT_EQ(lines[12], "  岁数   年份   流年干支     相关刑冲合害 " + std::string(29, ' ') + "※神煞");
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14].rfind("  大运:己未      [", 0), 0u);
    EXPECT_EQ(lines[15], "  " + std::string(40, '-'));
    EXPECT_EQ(lines[16].rfind("  11岁   1964年   甲辰       ", 0), 0u) << lines[16];
    // The last row: age 101, no line end after it.
    EXPECT_EQ(lines.back().rfind("  101岁   2054年   甲戌       ", 0), 0u) << lines.back();
}

TEST(LuckAndAnnualText, RowsGroupedUnderTheirLuckPillars) {
    int markers = 0;
    for (const Chart& c : {RunSolar(1953, 6, 6, 8, 48, false), RunSolar(1984, 2, 4, 23, 19, true),
                           RunSolar(1998, 8, 3, 23, 53, false), RunSolar(1985, 3, 12, 9, 5, true)}) {
        const auto lines = Lines(LuckAndAnnualText(c));
        int rows = 0, luckLines = 0;
        std::string luck;
        std::string previous;
        for (const std::string& l : lines) {
            if (l.rfind("  大运:", 0) == 0) {
                luck = l.substr(std::string("  大运:").size(), 6);
                // A luck line is examined without a luck pillar.
                EXPECT_EQ(l.find("冲运"), std::string::npos) << l;
                EXPECT_EQ(l.find("合运"), std::string::npos) << l;
                EXPECT_EQ(l.find("害运"), std::string::npos) << l;
                // It follows the first row or every tenth row.
                if (luckLines > 0) {
                    const int age = std::stoi(previous.substr(2));
                    EXPECT_EQ((age - c.luckStartYears) % 10, 0) << previous;
                }
                EXPECT_EQ(luck, PillarName(LuckPillar(c, luckLines)));
                ++luckLines;
            } else if (l.find("岁   ") != std::string::npos && l.find("※") != std::string::npos) {
                ++rows;
                const int age = c.luckStartYears + rows;
                EXPECT_EQ(std::stoi(l.substr(2)), age) << l;
                // Ages below 10 are written with two digits.
                if (age < 10) {
                    EXPECT_EQ(l[2], '0') << l;
                    EXPECT_EQ(l[3], static_cast<char>('0' + age)) << l;
                }
                const std::string annual(PillarName(AnnualPillar(c.birthYear + age)));
                EXPECT_NE(l.find(std::to_string(c.birthYear + age) + "年   " + annual + "       "), std::string::npos);
                const bool marked = l.find("   ▲本年岁运并临") != std::string::npos;
                EXPECT_EQ(marked, annual == luck) << l;
                markers += marked;
            }
            if (!l.empty()) previous = l;
        }
        EXPECT_EQ(rows, 91);
        EXPECT_EQ(luckLines, 10);
    }
    // These charts meet their luck pillar in some year.
    EXPECT_GT(markers, 0);
}

TEST(LuckAndAnnualText, EndsAfterTheLastRowWithoutLineEnd) {
    const std::string text = LuckAndAnnualText(RunSolar(1985, 3, 12, 9, 5, true));
    EXPECT_EQ(text.rfind("\r\n  ", 0), 0u);
    EXPECT_NE(text.substr(text.size() - 2), "\r\n");
}

}  // namespace
}  // namespace tl

namespace tl {
namespace {

TEST(RelationFinder, UnderALuckPillarAsForEachPillarAlone) {
    // The marks made once per luck pillar give what each pillar examined with
    // that luck pillar gives, for every luck and annual pillar of a few charts.
    for (const Chart& c : {test::RunSolar(1985, 3, 12, 9, 5, true), test::RunSolar(1950, 1, 1, 0, 30, false),
                           test::RunSolar(2024, 2, 4, 16, 27, true)}) {
        RelationFinder finder(c);
        for (Pillar luck = 1; luck <= 60; ++luck) {
            finder.SetLuck(luck);
            for (Pillar p = 1; p <= 60; ++p)
                ASSERT_EQ(finder.OfUnderLuck(p), finder.Of(p, luck)) << PillarName(luck) << " " << PillarName(p);
        }
    }
}

}  // namespace
}  // namespace tl
