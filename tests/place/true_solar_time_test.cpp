#include "place/true_solar_time.h"

#include <gtest/gtest.h>

#include "calendar/civil.h"

namespace tl {
namespace {

struct SolarCase {
    const char* what;
    Date birth;
    int hour, minute;
    int province, place;
    Date date;  // expected
    int h, m, s;
    int shift;
};

TEST(TrueSolarTime, WorkedExamples) {
    const SolarCase cases[] = {
        // 5 − 14.25 − 14.16 = −23.41: s = round(−24.6) = −25, m = −23.
        {"北京", {1984, 2, 10}, 8, 5, 1, 1, {1984, 2, 10}, 7, 36, 35, 0},
        // 1 − 3.15 − 63.76 = −65.91: s = −55, m = −65 = −1 h −5 min.
        {"成都", {2000, 1, 1}, 12, 1, 30, 1, {2000, 1, 1}, 10, 54, 5, 0},
        // 50 + 16.42 + 56.60 = 123.02: s = 1, 23 h + 2 h = 25 h: next day.
        {"抚远", {1990, 11, 3}, 23, 50, 16, 36, {1990, 11, 4}, 1, 3, 1, 1},
        // Only the equation of time: 30 + 16.42.
        {"不考虑", {1990, 11, 3}, 10, 30, 0, 1, {1990, 11, 3}, 10, 46, 25, 0},
        // 1 − 3.15 − 129.28 = −131.43: s = −26, m = −131 = −2 h −11 min.
        {"乌鲁木齐", {2000, 1, 1}, 12, 1, 31, 1, {2000, 1, 1}, 9, 48, 34, 0},
        // 30 − 3.15 + 0.76 = 27.61: s = round(36.6) = 37.
        {"杭州", {2000, 1, 1}, 6, 30, 34, 1, {2000, 1, 1}, 6, 27, 37, 0},
        // 59 − 14.25 − 26.68 = 18.07: s = round(4.2) = 4.
        {"香港", {2000, 2, 10}, 0, 59, 2, 1, {2000, 2, 10}, 0, 18, 4, 0},
        // A place of the province list with no place of its own: no correction.
        {"四川 in 陕西", {1990, 11, 3}, 10, 30, 29, 97, {1990, 11, 3}, 10, 46, 25, 0},
    };
    for (const auto& c : cases) {
        const SolarTimeResult r = TrueSolarTime(c.birth, TimeOfDay::Hms(c.hour, c.minute), c.province, c.place);
        EXPECT_EQ(r.date, c.date) << c.what;
        EXPECT_EQ(r.time, TimeOfDay::Hms(c.h, c.m, c.s))
            << c.what << " gives " << r.time.hour() << ":" << r.time.minute() << ":" << r.time.second();
        EXPECT_EQ(r.dayShift, c.shift) << c.what;
    }
}

TEST(TrueSolarTime, CarryPastMidnightRollsMonthAndYear) {
    const SolarCase cases[] = {
        // 50 − 3.05 + 56.60 = 103.55: s = 33, 23 h + 1 h 43 min.
        {"抚远 new year", {2020, 12, 31}, 23, 50, 16, 36, {2021, 1, 1}, 0, 43, 33, 1},
        // Before 00:00 the birth moves to the previous evening:
        // 30 − 3.15 − 129.28 = −102.43: s = −26, m = −102 = −1 h −42 min.
        {"乌鲁木齐 new year", {1985, 1, 1}, 1, 30, 31, 1, {1984, 12, 31}, 23, 17, 34, -1},
        // 5 − 3.15 − 129.28 = −127.43: −2 h −7 min −26 s before 00:05.
        {"乌鲁木齐 1900", {1900, 1, 1}, 0, 5, 31, 1, {1899, 12, 31}, 21, 52, 34, -1},
        // Exactly midnight from either side: 59 − 4.70 + 5.70 = 60.00 makes
        // 24:00:00, which is 00:00:00 of the next day; 2 − 3.15 + 1.15 = 0.00
        // is 00:00:00 of the same day.
        {"宁海 at 24:00", {1990, 1, 4}, 23, 59, 34, 39, {1990, 1, 5}, 0, 0, 0, 1},
        {"无锡 at 00:00", {1990, 1, 1}, 0, 2, 20, 9, {1990, 1, 1}, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const SolarTimeResult r = TrueSolarTime(c.birth, TimeOfDay::Hms(c.hour, c.minute), c.province, c.place);
        EXPECT_EQ(r.date, c.date) << c.what;
        EXPECT_EQ(r.time, TimeOfDay::Hms(c.h, c.m, c.s))
            << c.what << " gives " << r.time.hour() << ":" << r.time.minute() << ":" << r.time.second();
        EXPECT_EQ(r.dayShift, c.shift) << c.what;
    }
}

TEST(TrueSolarTime, EveryDayMovesToItsNeighbour) {
    // 抚远 at 23:50 is always past midnight and 乌鲁木齐 at 00:59 always
    // before it, whatever the equation of time; the date rolls over month
    // ends, 29 February of leap years and year ends alike.
    for (long n = DayNumber({1900, 1, 1}); n <= DayNumber({2021, 2, 13}); ++n) {
        const Date d = DateOfDayNumber(n);
        const SolarTimeResult east = TrueSolarTime(d, TimeOfDay::Hms(23, 50), 16, 36);
        ASSERT_EQ(east.dayShift, 1) << d.year << "-" << d.month << "-" << d.day;
        ASSERT_EQ(east.date, DateOfDayNumber(n + 1)) << d.year << "-" << d.month << "-" << d.day;
        ASSERT_LT(east.time, TimeOfDay::Hms(1, 20));
        const SolarTimeResult west = TrueSolarTime(d, TimeOfDay::Hms(0, 59), 31, 48);
        ASSERT_EQ(west.dayShift, -1) << d.year << "-" << d.month << "-" << d.day;
        ASSERT_EQ(west.date, DateOfDayNumber(n - 1)) << d.year << "-" << d.month << "-" << d.day;
        ASSERT_GT(west.time, TimeOfDay::Hms(21, 0));
    }
}

TEST(TrueSolarTime, LeapDayIsReachedFromBothSides) {
    // 乌鲁木齐, 1 March 1984 01:30 lands on 29 February; 1985 on 28 February.
    EXPECT_EQ(TrueSolarTime({1984, 3, 1}, TimeOfDay::Hms(1, 30), 31, 1).date, (Date{1984, 2, 29}));
    EXPECT_EQ(TrueSolarTime({1985, 3, 1}, TimeOfDay::Hms(1, 30), 31, 1).date, (Date{1985, 2, 28}));
    EXPECT_EQ(TrueSolarTime({1900, 3, 1}, TimeOfDay::Hms(1, 30), 31, 1).date, (Date{1900, 2, 28}));
    EXPECT_EQ(TrueSolarTime({2000, 3, 1}, TimeOfDay::Hms(1, 30), 31, 1).date, (Date{2000, 2, 29}));
    EXPECT_EQ(TrueSolarTime({1984, 2, 28}, TimeOfDay::Hms(23, 50), 16, 36).date, (Date{1984, 2, 29}));
    EXPECT_EQ(TrueSolarTime({1984, 2, 29}, TimeOfDay::Hms(23, 50), 16, 36).date, (Date{1984, 3, 1}));
}

TEST(TrueSolarTime, DatePastTheMonthEndCountsAsTheDayItStandsFor) {
    // 30 February 1985 is 2 March 1985: the sun of 2 March applies, and the
    // date stays as entered unless the time crosses midnight.
    // 5 − 12.07 − 14.16 = −21.23: s = round(−13.8) = −14, m = −21.
    const SolarTimeResult entered = TrueSolarTime({1985, 2, 30}, TimeOfDay::Hms(8, 5), 1, 1);
    EXPECT_EQ(entered.time, TimeOfDay::Hms(7, 38, 46));
    EXPECT_EQ(TrueSolarTime({1985, 3, 2}, TimeOfDay::Hms(8, 5), 1, 1).time, TimeOfDay::Hms(7, 38, 46));
    EXPECT_EQ(entered.date, (Date{1985, 2, 30}));
    EXPECT_EQ(entered.dayShift, 0);
    EXPECT_EQ(TrueSolarTime({1985, 2, 30}, TimeOfDay::Hms(23, 50), 16, 36).date, (Date{1985, 3, 3}));
    EXPECT_EQ(TrueSolarTime({1985, 4, 31}, TimeOfDay::Hms(0, 59), 31, 48).date, (Date{1985, 4, 30}));
}

TEST(TrueSolarTime, NoPlaceLeavesTheEquationOfTime) {
    // Province "不考虑" and places outside the lists add nothing to the
    // equation of time.
    for (int place : {1, 0, 174}) {
        EXPECT_EQ(TrueSolarTime({1990, 11, 3}, TimeOfDay::Hms(10, 30), 0, place).time, TimeOfDay::Hms(10, 46, 25));
        EXPECT_EQ(TrueSolarTime({1990, 11, 3}, TimeOfDay::Hms(10, 30), 35, place).time, TimeOfDay::Hms(10, 46, 25));
    }
    // 1 September, +1.00 exactly: one whole minute, no seconds.
    EXPECT_EQ(TrueSolarTime({1990, 9, 1}, TimeOfDay::Hms(10, 30), 0, 1).time, TimeOfDay::Hms(10, 31, 0));
}

TEST(TrueSolarTime, ResultIsAlwaysATimeOfDay) {
    // Every place at the extreme minutes of the day, on the days of the
    // largest equation of time either way.
    const Date days[] = {{2000, 2, 10}, {2000, 11, 3}, {2000, 6, 13}};
    for (const Date& d : days)
        for (int p = 0; p <= 34; ++p)
            for (int q = 1; q <= 173; ++q)
                for (int hm : {0, 1, 59, 60, 119, 1380, 1439}) {
                    const SolarTimeResult r = TrueSolarTime(d, TimeOfDay::Hms(hm / 60, hm % 60), p, q);
                    ASSERT_GE(r.time.seconds, 0);
                    ASSERT_LT(r.time.seconds, 86400);
                    ASSERT_GE(r.dayShift, -1);
                    ASSERT_LE(r.dayShift, 1);
                    // The correction never exceeds about three and a half hours.
                    const long moved = (DayNumber(r.date) - DayNumber(d)) * 86400L + r.time.seconds - hm * 60L;
                    ASSERT_LE(std::abs(moved), 3 * 3600 + 20 * 60) << p << "," << q << " " << hm;
                }
}

}  // namespace
}  // namespace tl
