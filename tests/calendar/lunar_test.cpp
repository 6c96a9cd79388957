#include "calendar/lunar.h"

#include <gtest/gtest.h>

#include "calendar/civil.h"

namespace tl {
namespace {

struct SolarCase {
    Date date;
    bool nextDay;
    LunarDate expected;
};

TEST(SolarToLunar, KnownDates) {
    const SolarCase cases[] = {
        {{2020, 5, 23}, false, {2020, 4, 1, true}},
        {{2020, 5, 23}, true, {2020, 4, 2, true}},
        {{2021, 2, 11}, false, {2020, 12, 30, false}},
        {{2021, 2, 11}, true, {2021, 1, 1, false}},
        {{2000, 1, 1}, false, {1999, 11, 25, false}},
        {{1984, 2, 4}, false, {1984, 1, 3, false}},
        {{1984, 12, 21}, false, {1984, 10, 29, true}},
        {{1985, 1, 21}, false, {1984, 12, 1, false}},
        {{1900, 1, 31}, false, {1900, 1, 1, false}},
        // Before the 1900 new year: the 1899 row.
        {{1900, 1, 30}, false, {1899, 12, 30, false}},
        {{1900, 1, 1}, false, {1899, 12, 1, false}},
        {{1899, 12, 31}, false, {1899, 11, 29, false}},
        // 30 February 1985 counts as 2 March 1985, ten days after the new
        // year of 20 February.
        {{1985, 2, 30}, false, {1985, 1, 11, false}},
        {{1985, 3, 2}, false, {1985, 1, 11, false}},
        // 31 December with the late 子 hour crosses into the next year:
        // 1 January 2021 lies 42 days before the new year of 12 February,
        // in the 29-day eleventh month after the 30-day twelfth.
        {{2020, 12, 31}, true, {2020, 11, 18, false}},
        {{2021, 1, 1}, false, {2020, 11, 18, false}},
        // 1989: the seventh month begins on 2 August, the day of the new moon
        // (00:05:35 China Standard Time), after a sixth month of 30 days.
        {{1989, 8, 1}, false, {1989, 6, 30, false}},
        {{1989, 8, 2}, false, {1989, 7, 1, false}},
        {{1989, 8, 30}, false, {1989, 7, 29, false}},
        {{1989, 8, 31}, false, {1989, 8, 1, false}},
        // Lunar 2023 has 闰二月, from 22 March; 2033 has 闰十一月, from
        // 22 December.
        {{2023, 3, 21}, false, {2023, 2, 30, false}},
        {{2023, 3, 22}, false, {2023, 2, 1, true}},
        {{2033, 12, 22}, false, {2033, 11, 1, true}},
        // The last lunar year of the table, 2100, runs to 28 January 2101.
        {{2100, 12, 31}, true, {2100, 12, 2, false}},
        {{2101, 1, 28}, false, {2100, 12, 29, false}},
    };
    for (const auto& c : cases) {
        const auto got = SolarToLunar(c.date, c.nextDay);
        ASSERT_TRUE(got) << c.date.year << "-" << c.date.month << "-" << c.date.day;
        EXPECT_EQ(*got, c.expected) << c.date.year << "-" << c.date.month << "-" << c.date.day << " -> "
                                    << got->year << "/" << got->month << "/" << got->day << " leap "
                                    << got->isLeapMonth;
    }
}

struct LunarCase {
    LunarDate lunar;
    bool nextDay;
    Date expected;
};

TEST(LunarToSolar, KnownDates) {
    const LunarCase cases[] = {
        {{2020, 4, 1, true}, false, {2020, 5, 23}},
        {{2020, 4, 1, false}, false, {2020, 4, 23}},
        // At the late 子 hour the lunar day has already turned: 闰四月初一
        // at 23:xx is the evening of 22 May, which SolarToLunar reads back as
        // 闰四月初一.
        {{2020, 4, 1, true}, true, {2020, 5, 22}},
        {{2020, 4, 2, true}, true, {2020, 5, 23}},
        {{1900, 1, 1, false}, true, {1900, 1, 30}},
        {{1984, 12, 1, false}, false, {1985, 1, 21}},
        {{2020, 12, 30, false}, false, {2021, 2, 11}},
        // Day 30 of a 29-day month is the first day of the next month.
        {{2020, 1, 30, false}, false, {2020, 2, 23}},
        // The leap flag on a month that is not the leap month is ignored:
        // 五月初一 2020 follows the 148 days of months 1 to 4 and the leap 4th.
        {{2020, 5, 1, true}, false, {2020, 6, 21}},
        {{2020, 5, 1, false}, false, {2020, 6, 21}},
        {{1901, 3, 1, true}, false, {1901, 4, 19}},
        {{1901, 3, 1, false}, false, {1901, 4, 19}},
        {{1984, 10, 1, true}, false, {1984, 11, 23}},
        {{1989, 7, 1, false}, false, {1989, 8, 2}},
        {{2033, 11, 1, true}, false, {2033, 12, 22}},
        {{2033, 11, 1, false}, false, {2033, 11, 22}},
        {{2100, 12, 29, false}, false, {2101, 1, 28}},
    };
    for (const auto& c : cases) {
        const auto got = LunarToSolar(c.lunar, c.nextDay);
        ASSERT_TRUE(got);
        EXPECT_EQ(*got, c.expected) << c.lunar.year << "/" << c.lunar.month << "/" << c.lunar.day << " -> "
                                    << got->year << "-" << got->month << "-" << got->day;
    }
    EXPECT_FALSE(LunarToSolar({1898, 1, 1, false}, false));
    EXPECT_FALSE(LunarToSolar({2101, 1, 1, false}, false));
    EXPECT_FALSE(LunarToSolar({2000, 13, 1, false}, false));
}

TEST(LunarYearTable, EachNewYearPlusItsMonthsIsTheNextNewYear) {
    for (int y = kLunarFirstYear; y < kLunarLastYear; ++y) {
        const auto row = LunarYearOf(y);
        const auto next = LunarYearOf(y + 1);
        ASSERT_TRUE(row && next);
        EXPECT_EQ(DayNumber(row->newYear) + row->Days(), DayNumber(next->newYear)) << y;
        EXPECT_GE(row->Days(), 353) << y;
        EXPECT_LE(row->Days(), 385) << y;
    }
    EXPECT_EQ(LunarYearOf(1984)->leapMonth, 10);
    // Months 1..12 and the leap month have 29 or 30 days; any other has none.
    const auto y1984 = LunarYearOf(1984);
    for (const auto& [month, leap] : {std::pair{1, false}, {12, false}, {10, true}})
        EXPECT_GE(y1984->MonthDays(month, leap), 29) << month;
    for (const auto& [month, leap] : {std::pair{0, false}, {13, false}, {9, true}})
        EXPECT_EQ(y1984->MonthDays(month, leap), 0) << month;
    EXPECT_EQ(LunarYearOf(2020)->leapMonth, 4);
    EXPECT_EQ(LunarYearOf(1900)->lengths[9], 29);  // the leap eighth month of 1900
    EXPECT_EQ(LunarYearOf(2023)->leapMonth, 2);
    EXPECT_EQ(LunarYearOf(2033)->leapMonth, 11);
    // The printed rows run on into the computed ones, and the last row ends
    // where lunar 2101 begins, on 29 January 2101.
    const auto last = LunarYearOf(kLunarLastYear);
    EXPECT_EQ(DayNumber(last->newYear) + last->Days(), DayNumber({2101, 1, 29}));
    EXPECT_FALSE(LunarYearOf(1898));
    EXPECT_FALSE(LunarYearOf(2101));
}

TEST(LunarConversions, RoundTripEveryDateAndHourOfTheCalendar) {
    // Every Gregorian date of 1900..2100 converts to a lunar date that
    // converts back to it, at hours 0, 12 and 23: a birth at 23:xx and the
    // lunar date the program shows for it (already the next lunar day) name
    // the same moment.
    const long first = DayNumber({kCalendarFirstYear, 1, 1});
    const long last = DayNumber({kCalendarLastYear, 12, 31});
    LunarDate previous{};
    for (long n = first; n <= last; ++n) {
        const Date d = DateOfDayNumber(n);
        for (const int hour : {0, 12, 23}) {
            const bool lateZi = hour == 23;
            const auto lunar = SolarToLunar(d, lateZi);
            ASSERT_TRUE(lunar) << d.year << "-" << d.month << "-" << d.day << " " << hour;
            const auto back = LunarToSolar(*lunar, lateZi);
            ASSERT_TRUE(back);
            ASSERT_EQ(*back, d) << lunar->year << "/" << lunar->month << "/" << lunar->day << " " << hour;
            if (hour != 0) continue;
            // Lunar days count up by one or restart at 1 with a new month.
            if (n > first) {
                ASSERT_TRUE(lunar->day == previous.day + 1 || lunar->day == 1);
            }
            previous = *lunar;
        }
    }
}

TEST(LunarNames, DaysNumeralsYears) {
    EXPECT_EQ(LunarDayName(1), "初一");
    EXPECT_EQ(LunarDayName(10), "初十");
    EXPECT_EQ(LunarDayName(20), "二十");
    EXPECT_EQ(LunarDayName(21), "廿一");
    EXPECT_EQ(LunarDayName(30), "三十");
    EXPECT_EQ(LunarDayName(0), "");
    EXPECT_EQ(LunarDayName(31), "");
    EXPECT_EQ(NumeralName(0), "零");
    EXPECT_EQ(NumeralName(12), "十二");
    EXPECT_EQ(NumeralName(13), "");
    EXPECT_EQ(NumeralName(-1), "");
    EXPECT_EQ(YearNumerals(1984), "一九八四");
    EXPECT_EQ(YearNumerals(2000), "二零零零");
    EXPECT_EQ(YearNumerals(1900), "一九零零");
}

}  // namespace
}  // namespace tl
