// The chart run with the true-solar-time correction: the corrected date and
// time feed the pillars, the lunar date and the luck start.
#include <gtest/gtest.h>

#include <string>

#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "chart/run.h"

namespace tl {
namespace {

ChartRequest Request(Date d, int hour, int minute, int province, int place, bool solar = true, bool male = true) {
    ChartRequest r;
    r.isSolarInput = true;
    r.year = d.year;
    r.month = d.month;
    r.day = d.day;
    r.hour = hour;
    r.minute = minute;
    r.useTrueSolarTime = solar;
    r.provinceIndex = province;
    r.placeIndex = place;
    r.isMale = male;
    return r;
}

std::string PillarNames(const Chart& c) {
    return std::string(PillarName(c.yearPillar)) + " " + std::string(PillarName(c.monthPillar)) + " " +
           std::string(PillarName(c.dayPillar)) + " " + std::string(PillarName(c.hourPillar));
}

struct RunCase {
    const char* what;
    ChartRequest request;
    Date date;  // Gregorian date the run leaves
    TimeOfDay time;
    LunarDate lunar;
    const char* pillars;  // year month day hour
};

TEST(RunCalendarTrueSolar, CorrectedBirths) {
    const RunCase cases[] = {
        // 12:01 becomes 10:54:05: the 午 hour turns into 巳.
        {"成都", Request({2000, 1, 1}, 12, 1, 30, 1), {2000, 1, 1}, TimeOfDay::Hms(10, 54, 5), {1999, 11, 25, false},
         "己卯 丙子 戊午 丁巳"},
        {"成都 unticked", Request({2000, 1, 1}, 12, 1, 30, 1, false), {2000, 1, 1}, TimeOfDay::Hms(12, 1, 0),
         {1999, 11, 25, false}, "己卯 丙子 戊午 戊午"},
        // 抚远 at 23:50 on the last day of 2020: 00:43:33 on 1 January 2021.
        // The late 子 hour of the entered 23 must not move the lunar date a
        // second day: 1 January 2021 is 十一月十八, not 十九.
        {"抚远 new year", Request({2020, 12, 31}, 23, 50, 16, 36), {2021, 1, 1}, TimeOfDay::Hms(0, 43, 33),
         {2020, 11, 18, false}, "庚子 戊子 己酉 甲子"},
        // Entered 23 without a carry (乌鲁木齐 makes it 21:37:40): the late 子
        // hour still moves the lunar date as entered, the day pillar follows
        // the corrected clock.
        {"乌鲁木齐 at 23:50", Request({2020, 12, 31}, 23, 50, 31, 1), {2020, 12, 31}, TimeOfDay::Hms(21, 37, 40),
         {2020, 11, 18, false}, "庚子 戊子 戊申 癸亥"},
        // 乌鲁木齐 at 01:30 on New Year's Day 1985: 23:17:34 on 31 December
        // 1984, the late 子 hour of 己亥 that belongs to 庚子.
        {"乌鲁木齐 new year", Request({1985, 1, 1}, 1, 30, 31, 1), {1984, 12, 31}, TimeOfDay::Hms(23, 17, 34),
         {1984, 11, 10, false}, "甲子 丙子 庚子 丙子"},
        {"乌鲁木齐 new year unticked", Request({1985, 1, 1}, 1, 30, 31, 1, false), {1985, 1, 1},
         TimeOfDay::Hms(1, 30, 0), {1984, 11, 11, false}, "甲子 丙子 庚子 丁丑"},
        // The first minutes of 1900 in the far west fall on 31 December 1899:
        // day 癸酉 of the unbroken cycle, month 丙子 of 己亥 after 大雪 1899,
        // lunar date from the 1899 row.
        {"乌鲁木齐 1900", Request({1900, 1, 1}, 0, 5, 31, 1), {1899, 12, 31}, TimeOfDay::Hms(21, 52, 34),
         {1899, 11, 29, false}, "己亥 丙子 癸酉 癸亥"},
        {"乌恰 1900", Request({1900, 1, 1}, 1, 59, 31, 48), {1899, 12, 31}, TimeOfDay::Hms(22, 56, 34),
         {1899, 11, 29, false}, "己亥 丙子 癸酉 癸亥"},
    };
    for (const auto& c : cases) {
        const Chart chart = RunCalendar(c.request);
        EXPECT_EQ(chart.BirthDate(), c.date) << c.what;
        EXPECT_EQ(chart.birthTime, c.time) << c.what << ": " << chart.birthTime.hour() << ":"
                                           << chart.birthTime.minute() << ":" << chart.birthTime.second();
        EXPECT_EQ((LunarDate{chart.lunarYear, chart.lunarMonth, chart.lunarDay, chart.isLeapMonth}), c.lunar)
            << c.what << ": " << chart.lunarYear << "-" << chart.lunarMonth << "-" << chart.lunarDay;
        EXPECT_EQ(PillarNames(chart), c.pillars) << c.what;
        // The entered hour's branch never changes.
        EXPECT_EQ(chart.enteredHourBranch, HourBranch(c.request.hour)) << c.what;
    }
}

TEST(RunCalendarTrueSolar, LunarInputKeepsItsLunarDate) {
    // Lunar 2020 十一月十八 is 1 January 2021; at 乌鲁木齐 01:30 the birth
    // moves back to 31 December 2020 while the lunar date stays as entered.
    ChartRequest r = Request({2020, 11, 18}, 1, 30, 31, 1);
    r.isSolarInput = false;
    const Chart c = RunCalendar(r);
    EXPECT_EQ(c.BirthDate(), (Date{2020, 12, 31}));
    EXPECT_EQ(c.birthTime, TimeOfDay::Hms(23, 17, 34));
    EXPECT_EQ((LunarDate{c.lunarYear, c.lunarMonth, c.lunarDay, c.isLeapMonth}), (LunarDate{2020, 11, 18, false}));
    EXPECT_EQ(PillarNames(c), "庚子 戊子 己酉 甲子");

    // 抚远 at 01:30 on the same lunar day stays on 1 January 2021.
    r.provinceIndex = 16;
    r.placeIndex = 36;
    const Chart east = RunCalendar(r);
    EXPECT_EQ(east.BirthDate(), (Date{2021, 1, 1}));
    EXPECT_EQ(east.birthTime, TimeOfDay::Hms(2, 23, 27));  // 30 − 3.15 + 56.60 = 83.45
    EXPECT_EQ(east.lunarDay, 18);
}

TEST(RunCalendarTrueSolar, SecondsPastTheJieCountForPillarsAndLuck) {
    // 惊蛰 1984 is 5 March 17:26. 北京 at 17:52 is corrected to 17:26:26:
    // 52 − 11.41 − 14.16 = 26.43, 26 minutes 26 seconds. The birth lies
    // after the jie for the month pillar and for the luck count alike.
    const Chart male = RunCalendar(Request({1984, 3, 5}, 17, 52, 1, 1, true, true));
    ASSERT_EQ(male.birthTime, TimeOfDay::Hms(17, 26, 26));
    EXPECT_EQ(PillarName(male.monthPillar), "丁卯");
    // A man of the 甲子 year counts forward, to 清明 on 4 April 22:23:
    // 30 days 4 h 56 min 34 s = 43,496 whole minutes = 10 years, 0 months,
    // 24 days, 16 hours.
    EXPECT_TRUE(male.luckForward);
    EXPECT_EQ(male.luckStartYears, 10);
    EXPECT_EQ(male.luckStartMonths, 0);
    EXPECT_EQ(male.luckStartDays, 24);
    EXPECT_EQ(male.luckStartHours, 16);
    EXPECT_EQ(PillarName(male.firstLuckPillar), "戊辰");

    // A woman counts backward to the 惊蛰 just passed, 26 seconds ago.
    const Chart female = RunCalendar(Request({1984, 3, 5}, 17, 52, 1, 1, true, false));
    EXPECT_FALSE(female.luckForward);
    EXPECT_EQ(female.luckStartYears, 0);
    EXPECT_EQ(female.luckStartMonths, 0);
    EXPECT_EQ(female.luckStartDays, 0);
    EXPECT_EQ(female.luckStartHours, 0);
    EXPECT_EQ(PillarName(female.firstLuckPillar), "丙寅");

    // One minute earlier (17:25:26) the birth is still before the jie.
    const Chart before = RunCalendar(Request({1984, 3, 5}, 17, 51, 1, 1, true, false));
    ASSERT_EQ(before.birthTime, TimeOfDay::Hms(17, 25, 26));
    EXPECT_EQ(PillarName(before.monthPillar), "丙寅");
    EXPECT_EQ(PillarName(before.firstLuckPillar), "乙丑");
    // Back to 立春 on 4 February 23:19: 29 days 18 h 6 min 26 s = 42,846
    // whole minutes = 9 years, 11 months, 0 days, 12 hours.
    EXPECT_EQ(before.luckStartYears, 9);
    EXPECT_EQ(before.luckStartMonths, 11);
    EXPECT_EQ(before.luckStartDays, 0);
    EXPECT_EQ(before.luckStartHours, 12);
}

}  // namespace
}  // namespace tl
