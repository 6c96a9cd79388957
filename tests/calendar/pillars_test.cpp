#include "calendar/pillars.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/civil.h"

namespace tl {
namespace {

std::string Names(const Pillars& p) {
    return std::string(PillarName(p.year)) + " " + std::string(PillarName(p.month)) + " " +
           std::string(PillarName(p.day)) + " " + std::string(PillarName(p.hour));
}

struct PillarCase {
    Date date;
    int hour, minute;
    const char* expected;  // year month day hour
};

TEST(ComputePillars, KnownBirths) {
    const PillarCase cases[] = {
        // 立春 1984 falls at 23:19 on 4 February: the year and month change
        // exactly then; the day changes at 23:00.
        {{1984, 2, 4}, 23, 19, "甲子 丙寅 己巳 甲子"},
        {{1984, 2, 4}, 23, 18, "癸亥 乙丑 己巳 甲子"},
        {{1984, 2, 4}, 22, 59, "癸亥 乙丑 戊辰 癸亥"},
        {{1983, 6, 1}, 10, 0, "癸亥 丁巳 庚申 辛巳"},
        {{2000, 1, 1}, 12, 0, "己卯 丙子 戊午 戊午"},
        {{1900, 1, 1}, 0, 30, "己亥 丙子 甲戌 甲子"},
        {{1901, 1, 1}, 0, 30, "庚子 戊子 己卯 甲子"},
        {{1985, 1, 21}, 8, 5, "甲子 丁丑 庚申 庚辰"},
        // 30 February 1985 counts as 2 March 1985 (40 days after 庚申 21 January).
        {{1985, 2, 30}, 8, 5, "乙丑 戊寅 庚子 庚辰"},
        {{1985, 3, 2}, 8, 5, "乙丑 戊寅 庚子 庚辰"},
        // 31 December 1899 continues the cycle; its month follows 大雪 1899.
        {{1899, 12, 31}, 23, 50, "己亥 丙子 甲戌 甲子"},
        {{1899, 12, 31}, 12, 0, "己亥 丙子 癸酉 戊午"},
        // 立春 2024 falls at 16:27 on 4 February.
        {{2024, 2, 4}, 16, 26, "癸卯 乙丑 戊戌 庚申"},
        {{2024, 2, 4}, 16, 27, "甲辰 丙寅 戊戌 庚申"},
        // 立春 2021 at 22:59: a birth at 23:00 on 3 February is in 辛丑.
        {{2021, 2, 3}, 23, 0, "辛丑 庚寅 癸未 壬子"},
        {{2021, 2, 3}, 22, 58, "庚子 己丑 壬午 辛亥"},
        // The last day of the calendar, and the first of 2101 that a late
        // hour or a corrected time reaches.
        {{2100, 12, 31}, 23, 30, "庚申 戊子 戊申 壬子"},
        {{2101, 1, 5}, 21, 6, "庚申 己丑 壬子 辛亥"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Names(ComputePillars(c.date, TimeOfDay::Hms(c.hour, c.minute))), c.expected)
            << c.date.year << "-" << c.date.month << "-" << c.date.day << " " << c.hour << ":" << c.minute;
    }
}

TEST(ComputePillars, LateZiHourOnTheLastDayOfTheCycle) {
    // Find a 癸亥 day and be born at 23:30 on it.
    Date d{2000, 1, 1};
    while (DayPillar(d) != 60) d = DateOfDayNumber(DayNumber(d) + 1);
    const Pillars p = ComputePillars(d, TimeOfDay::Hms(23, 30));
    EXPECT_EQ(p.day, 1);
    EXPECT_EQ(p.hour, 1);
}

TEST(ComputePillars, JieMomentItselfCountsAsAfter) {
    // 惊蛰 1984: 5 March 17:26.
    EXPECT_EQ(PillarName(ComputePillars({1984, 3, 5}, TimeOfDay::Hms(17, 26)).month), "丁卯");
    EXPECT_EQ(PillarName(ComputePillars({1984, 3, 5}, TimeOfDay::Hms(17, 25)).month), "丙寅");
    // 小寒 1984: 6 January 11:42 opens the 丑 month of 癸亥.
    EXPECT_EQ(PillarName(ComputePillars({1984, 1, 6}, TimeOfDay::Hms(11, 42)).month), "乙丑");
    EXPECT_EQ(PillarName(ComputePillars({1984, 1, 6}, TimeOfDay::Hms(11, 41)).month), "甲子");
}

TEST(DayPillar, AdvancesByOneEveryDayFrom1900To2101) {
    const long first = DayNumber({1900, 1, 1});
    const long last = DayNumber({2101, 12, 31});
    EXPECT_EQ(DayPillar({1900, 1, 1}), 11);
    EXPECT_EQ(DayPillar({1901, 1, 1}), 16);
    EXPECT_EQ(DayPillar({2000, 1, 1}), 55);
    Pillar previous = DayPillar(DateOfDayNumber(first - 1));
    EXPECT_EQ(previous, 10);  // 31 December 1899, 癸酉
    for (long n = first; n <= last; ++n) {
        const Date d = DateOfDayNumber(n);
        const Pillar p = DayPillar(d);
        ASSERT_EQ(p, previous % 60 + 1) << d.year << "-" << d.month << "-" << d.day;
        previous = p;
    }
}

TEST(DayPillar, MatchesTheYearlyBaseRule) {
    // 1 January of each year: the previous base plus 5 after a common year,
    // plus 6 after a leap year.
    int base = 11;
    for (int y = 1900; y <= 2101; ++y) {
        ASSERT_EQ(DayPillar({y, 1, 1}), base) << y;
        base += IsGregorianLeapYear(y) ? 6 : 5;
        if (base > 60) base -= 60;
    }
}

TEST(HourBranch, SlotsOfTheClock) {
    const int expected[24] = {1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 1};
    for (int h = 0; h < 24; ++h) EXPECT_EQ(HourBranch(h), expected[h]) << h;
    EXPECT_EQ(HourBranch(24), 0);
    EXPECT_EQ(HourBranch(-1), 0);
}

TEST(PillarName, RangeAndNames) {
    EXPECT_EQ(PillarName(1), "甲子");
    EXPECT_EQ(PillarName(11), "甲戌");
    EXPECT_EQ(PillarName(60), "癸亥");
    EXPECT_EQ(PillarName(0), "");
    EXPECT_EQ(PillarName(61), "");
}

}  // namespace
}  // namespace tl
