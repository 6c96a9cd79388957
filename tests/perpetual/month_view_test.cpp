#include "perpetual/month_view.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/civil.h"
#include "calendar/jie.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"

namespace tl {
namespace {

TEST(yueend, MonthLengths) {
    const int lengths2001[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(yueend(2001, m), lengths2001[m - 1]) << m;
    EXPECT_EQ(yueend(1900, 2), 28);
    EXPECT_EQ(yueend(2000, 2), 29);
    EXPECT_EQ(yueend(2008, 2), 29);
    EXPECT_EQ(yueend(2100, 2), 28);
    EXPECT_EQ(yueend(2008, 0), 0);
    EXPECT_EQ(yueend(2008, 13), 0);
}

TEST(wNUM_A, ZeroBasedDayOfTheYear) {
    EXPECT_EQ(wNUM_A(2008, 1, 1), 0);
    EXPECT_EQ(wNUM_A(2008, 3, 1), 60);
    EXPECT_EQ(wNUM_A(2007, 3, 1), 59);
    EXPECT_EQ(wNUM_A(2000, 12, 31), 365);
    EXPECT_EQ(wNUM_A(1900, 3, 1), 59);  // 1900 has no 29 February
    EXPECT_EQ(wNUM_A(1900, 12, 31), 364);
    EXPECT_EQ(wNUM_A(1984, 12, 31), 365);
    EXPECT_EQ(wNUM_A(2021, 12, 31), 364);
    EXPECT_EQ(wNUM_A(2021, 7, 10), 190);
    EXPECT_EQ(wNUM_A(2007, 2, 30), 60);  // counts on into March
    EXPECT_EQ(wNUM_A(2008, 0, 5), 4);
}

TEST(wTO_DAY, OneStepADayAcrossEveryYear) {
    EXPECT_EQ(wjzname(wTO_DAY(1900, 1, 1)), "甲戌");
    EXPECT_EQ(wjzname(wTO_DAY(2000, 1, 1)), "戊午");
    int previous = wTO_DAY(1900, 1, 1);
    for (long n = DayNumber({1900, 1, 2}); n <= DayNumber({kCalendarLastYear, 12, 31}); ++n) {
        const Date d = DateOfDayNumber(n);
        const int e = wTO_DAY(d.year, d.month, d.day);
        ASSERT_EQ(e, previous % 60 + 1) << d.year << "-" << d.month << "-" << d.day;
        previous = e;
    }
}

TEST(wTO_N, TheSameLunarDatesAsTheChartRun) {
    // Forwards from the new year, and backwards through the previous lunar
    // year before it: both walks give the dates of the chart's conversion.
    for (long n = DayNumber({kCalendarFirstYear, 1, 1}); n <= DayNumber({kCalendarLastYear, 12, 31}); ++n) {
        const Date d = DateOfDayNumber(n);
        const auto ly = LunarYearOf(d.year);
        ASSERT_TRUE(ly.has_value());
        const LunarMonthDay got =
            wTO_N(d.year, wNUM_A(d.year, ly->newYear.month, ly->newYear.day), wNUM_A(d.year, d.month, d.day));
        const auto want = SolarToLunar(d, false);
        ASSERT_TRUE(want.has_value());
        ASSERT_EQ(got, (LunarMonthDay{want->month, want->day, want->isLeapMonth}))
            << d.year << "-" << d.month << "-" << d.day;
    }
    EXPECT_EQ(wTO_N(1899, 10, 0), LunarMonthDay{});  // no row before 1899's
    EXPECT_EQ(wTO_N(2101, 28, 30), LunarMonthDay{});  // no row for lunar 2101
}

TEST(NameLists, RangesAndNeutralValues) {
    EXPECT_EQ(wjzname(1), "甲子");
    EXPECT_EQ(wjzname(60), "癸亥");
    EXPECT_EQ(wjzname(0), "");
    EXPECT_EQ(wn_name(1), "初一");
    EXPECT_EQ(wn_name(30), "三十");
    EXPECT_EQ(wn_name(31), "");
    EXPECT_EQ(wwnyue(11), "十一");
    EXPECT_EQ(wwnyue(0), "");
    EXPECT_EQ(wwnyue(13), "");
    EXPECT_EQ(wn_jei(2), "立春");
    EXPECT_EQ(wn_jei(13), "");
    const char* qi[] = {"大寒", "雨水", "春分", "谷雨", "小满", "夏至", "大暑", "处暑", "秋分", "霜降", "小雪", "冬至"};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(wn_qi(m), qi[m - 1]);
    EXPECT_EQ(wn_qi(0), "");
    const std::pair<int, const char*> zodiac[] = {{1, "鼠"}, {12, "猪"}, {13, "鼠"}, {25, "鼠"}, {60, "猪"}, {0, "猪"}};
    for (const auto& [n, name] : zodiac) EXPECT_EQ(wshxiao(n), name) << n;
}

TEST(QiDays, TheTableWithItsRowFor1900) {
    EXPECT_EQ(QiDays(1900), "546567888987");
    EXPECT_EQ(QiDays(1901), "646677899987");
    EXPECT_EQ(QiDays(2008), "645566787876");
    EXPECT_EQ(QiDays(2050), "535566788877");
    // After the printed rows: the days of the computed moments, to 2100.
    EXPECT_EQ(QiDays(2051), "545566888877");
    EXPECT_EQ(QiDays(2100), "535566888877");
    EXPECT_EQ(QiDays(1899), "");
    EXPECT_EQ(QiDays(2101), "");
}

void ExpectCell(const MonthView& v, int cell, const char* day, const char* lunar, bool highlighted) {
    const DayCell& c = v.cells[static_cast<std::size_t>(cell)];
    EXPECT_EQ(c.dayText, day) << "cell " << cell;
    EXPECT_EQ(c.lunarText, lunar) << "cell " << cell;
    EXPECT_EQ(c.highlighted, highlighted) << "cell " << cell;
}

TEST(BuildMonthView, February2008) {
    const MonthView v = BuildMonthView(2008, 2);
    EXPECT_EQ(v.firstColumn, 5);
    EXPECT_EQ(v.monthLength, 29);
    EXPECT_EQ(v.titleYearName, "戊子年");
    EXPECT_EQ(v.zodiac, "鼠");
    EXPECT_EQ(v.jieLine, "立春: 19时0分");
    ExpectCell(v, 5, "1", "廿五", false);
    ExpectCell(v, 8, "4", "立春", true);
    ExpectCell(v, 11, "7", "一月", true);
    ExpectCell(v, 12, "8", "初二", false);
    ExpectCell(v, 23, "19", "雨水", true);
    ExpectCell(v, 33, "29", "廿三", false);
    for (int i : {0, 1, 2, 3, 4, 34, 35, 36, 37, 38}) ExpectCell(v, i, "", "", false);
    EXPECT_EQ(&v.Day(4), &v.cells[8]);
    EXPECT_EQ(v.Day(30).dayText, "");
}

TEST(BuildMonthView, March2008EndsInCell36) {
    const MonthView v = BuildMonthView(2008, 3);
    EXPECT_EQ(v.firstColumn, 6);
    EXPECT_EQ(v.monthLength, 31);
    ExpectCell(v, 6, "1", "廿四", false);
    EXPECT_EQ(v.cells[36].dayText, "31");
    ExpectCell(v, 37, "", "", false);
    ExpectCell(v, 38, "", "", false);
    EXPECT_EQ(v.titleYearName, "戊子年");
}

TEST(BuildMonthView, August2006HasTheLeapSeventhMonth) {
    const MonthView v = BuildMonthView(2006, 8);
    EXPECT_EQ(v.Day(23).lunarText, "处暑");
    EXPECT_TRUE(v.Day(23).highlighted);
    EXPECT_EQ(v.Day(24).lunarText, "闰七月");
    EXPECT_TRUE(v.Day(24).highlighted);
    EXPECT_EQ(v.Day(25).lunarText, "初二");
    EXPECT_FALSE(v.Day(25).highlighted);
    EXPECT_EQ(v.titleYearName, "丙戌年");
    EXPECT_EQ(v.zodiac, "狗");
}

TEST(BuildMonthView, January1900UsesTheLunarYear1899) {
    const MonthView v = BuildMonthView(1900, 1);
    EXPECT_EQ(v.Day(1).lunarText, "十二月");  // 1899's twelfth month begins on 1 January 1900
    EXPECT_TRUE(v.Day(1).highlighted);
    EXPECT_EQ(v.Day(2).lunarText, "初二");
    EXPECT_EQ(v.Day(30).lunarText, "三十");
    EXPECT_EQ(v.Day(31).lunarText, "一月");  // the new year of 1900
    EXPECT_EQ(v.Day(20).lunarText, "大寒");  // from the 1900 qi row
    EXPECT_EQ(v.Day(5).lunarText, "小寒");
    EXPECT_EQ(v.titleYearName, "己亥年");
    EXPECT_EQ(v.zodiac, "猪");
}

TEST(BuildMonthView, December2100TheLastMonth) {
    const MonthView v = BuildMonthView(2100, 12);
    EXPECT_EQ(v.firstColumn, 3);
    EXPECT_EQ(v.monthLength, 31);
    EXPECT_EQ(v.Day(1).lunarText, "十一月");
    EXPECT_TRUE(v.Day(1).highlighted);
    EXPECT_EQ(v.Day(2).lunarText, "初二");
    EXPECT_EQ(v.Day(7).lunarText, "大雪");
    EXPECT_EQ(v.Day(22).lunarText, "冬至");
    EXPECT_EQ(v.Day(30).lunarText, "三十");
    EXPECT_EQ(v.Day(31).lunarText, "十二月");  // lunar 2100's last month, to 28 January 2101
    EXPECT_EQ(v.titleYearName, "庚申年");
    EXPECT_EQ(v.zodiac, "猴");
    EXPECT_EQ(v.jieLine, "大雪: 9时40分");
    // The cell of a date: only dates of this month have one.
    EXPECT_EQ(v.CellOf({2100, 12, 1}), 3);
    EXPECT_EQ(v.CellOf({2100, 12, 31}), 33);
    EXPECT_EQ(v.CellOf({2100, 11, 30}), -1);
    EXPECT_EQ(v.CellOf({2099, 12, 9}), -1);
    EXPECT_EQ(v.CellOf({2100, 12, 32}), -1);
}

TEST(BuildMonthView, August1989StartsTheSeventhMonthOnTheSecond) {
    const MonthView v = BuildMonthView(1989, 8);
    EXPECT_EQ(v.Day(1).lunarText, "三十");
    EXPECT_FALSE(v.Day(1).highlighted);
    EXPECT_EQ(v.Day(2).lunarText, "七月");
    EXPECT_TRUE(v.Day(2).highlighted);
    EXPECT_EQ(v.Day(30).lunarText, "廿九");
    EXPECT_EQ(v.Day(31).lunarText, "八月");
}

TEST(BuildMonthView, TheGuiYearTitlesItsMonthsGuiHai) {
    // 癸亥 is index 60: (1983 - 1863) mod 60 = 0 is read as 60.
    for (int m = 2; m <= 12; ++m) {
        EXPECT_EQ(BuildMonthView(1983, m).titleYearName, "癸亥年") << m;
        EXPECT_EQ(BuildMonthView(1983, m).zodiac, "猪") << m;
    }
    EXPECT_EQ(BuildMonthView(1983, 1).titleYearName, "壬戌年");
    EXPECT_EQ(BuildMonthView(1984, 1).titleYearName, "癸亥年");
    EXPECT_EQ(BuildMonthView(1984, 2).titleYearName, "甲子年");
    EXPECT_EQ(BuildMonthView(2043, 6).titleYearName, "癸亥年");
}

TEST(BuildMonthView, EveryMonthOfTheCalendar) {
    for (int y = kCalendarFirstYear; y <= kCalendarLastYear; ++y) {
        for (int m = 1; m <= 12; ++m) {
            const MonthView v = BuildMonthView(y, m);
            ASSERT_EQ(v.firstColumn, Weekday({y, m, 1}));
            ASSERT_EQ(v.monthLength, yueend(y, m));
            for (int i = 0; i < kMonthCells; ++i) {
                const DayCell& c = v.cells[static_cast<std::size_t>(i)];
                const int d = i - v.firstColumn + 1;
                if (d < 1 || d > v.monthLength) {
                    ASSERT_TRUE(c.dayText.empty() && c.lunarText.empty() && !c.highlighted) << y << "-" << m;
                } else {
                    ASSERT_EQ(c.dayText, std::to_string(d));
                    ASSERT_FALSE(c.lunarText.empty()) << y << "-" << m << "-" << d;
                }
            }
            EXPECT_EQ(v.Day(JieDay(y, m)).lunarText, wn_jei(m)) << y << "-" << m;
            EXPECT_EQ(v.Day(QiDays(y)[static_cast<std::size_t>(m - 1)] - '0' + 15).lunarText, wn_qi(m))
                << y << "-" << m;
            EXPECT_EQ(v.jieLine, std::string(wn_jei(m)) + ": " + JieMomentText(y, m));
        }
    }
}

TEST(BuildMonthView, MonthsOutsideTheYear) {
    for (int m : {0, 13}) {
        const MonthView v = BuildMonthView(2008, m);
        EXPECT_EQ(v.monthLength, 0);
        for (const DayCell& c : v.cells) EXPECT_TRUE(c.dayText.empty() && c.lunarText.empty());
    }
}

TEST(DayDetails, TheJieDayBelongsToTheNewMonth) {
    const std::tuple<int, int, int, const char*> cases[] = {
        {2008, 2, 3, "2008年2月3日\r\n丁亥年 癸丑月 癸酉日 壬子起时 "},
        {2008, 2, 4, "2008年2月4日\r\n戊子年 甲寅月 甲戌日 甲子起时 "},
        {2008, 3, 4, "2008年3月4日\r\n戊子年 甲寅月 癸卯日 壬子起时 "},
        {2008, 3, 5, "2008年3月5日\r\n戊子年 乙卯月 甲辰日 甲子起时 "},
        // January: the previous sexagenary year, and the month index wraps.
        {1985, 1, 10, "1985年1月10日\r\n甲子年 丁丑月 己酉日 甲子起时 "},
        {1985, 1, 2, "1985年1月2日\r\n甲子年 丙子月 辛丑日 戊子起时 "},
        {1900, 1, 1, "1900年1月1日\r\n己亥年 丙子月 甲戌日 甲子起时 "},
        {2021, 12, 31, "2021年12月31日\r\n辛丑年 庚子月 癸丑日 壬子起时 "},
        {2100, 12, 31, "2100年12月31日\r\n庚申年 戊子月 丁未日 庚子起时 "},
    };
    for (const auto& [y, m, d, text] : cases) EXPECT_EQ(DayDetails(y, m, d), text) << y << "-" << m << "-" << d;
    EXPECT_EQ(DayDetails(2008, 0, 1), "");
    EXPECT_EQ(DayDetails(2008, 1, 0), "");
}

TEST(DayDetails, AgreesWithTheBirthPillarsOfTheFirstDoubleHour) {
    // Away from the jie day, the details name the four pillars of a birth
    // at 00:30 of that day: the year changing at 立春, the month at the jie,
    // the hour stem following the day stem.
    for (int y = kCalendarFirstYear; y <= kCalendarLastYear; ++y) {
        for (int m = 1; m <= 12; ++m) {
            const int j = JieDay(y, m);
            for (int d = 1; d <= yueend(y, m); ++d) {
                if (d == j) continue;
                const Pillars p = ComputePillars({y, m, d}, TimeOfDay::Hms(0, 30));
                const std::string second = std::string(PillarName(p.year)) + "年 " + std::string(PillarName(p.month)) +
                                           "月 " + std::string(PillarName(p.day)) + "日 " +
                                           std::string(PillarName(p.hour)) + "起时 ";
                const std::string text = DayDetails(y, m, d);
                ASSERT_EQ(text.substr(text.find("\r\n") + 2), second) << y << "-" << m << "-" << d;
            }
        }
    }
}

}  // namespace
}  // namespace tl
