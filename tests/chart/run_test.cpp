#include "archive/fields.h"
#include "chart/run.h"

#include <gtest/gtest.h>

#include "chart/luck_start.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "place/daylight_saving.h"
#include "place/zone_clock.h"
#include "place/true_solar_time.h"

#include <cmath>
#include "support/chart_fixture.h"

namespace tl {
namespace {

// The request of a Gregorian birth, from the shared chart fixture.
using test::SolarRequest;

ChartRequest Lunar(int y, int m, int d, bool leap, int h, int mi) {
    ChartRequest r = SolarRequest(y, m, d, h, mi);
    r.isSolarInput = false;
    r.isLeapMonth = leap;
    return r;
}

ChartRequest AtMidnight(ChartRequest r) {
    r.ziDayChange = ZiDayChange::kAtMidnight;
    return r;
}

struct LuckStart {
    int years, months, days, hours;
    friend bool operator==(const LuckStart&, const LuckStart&) = default;
};

LuckStart StartOf(const Chart& c) { return {c.luckStartYears, c.luckStartMonths, c.luckStartDays, c.luckStartHours}; }

TEST(RunCalendar, GregorianBirthGetsPillarsLunarDateAndLuck) {
    const Chart c = RunCalendar(SolarRequest(1984, 2, 4, 23, 19));
    EXPECT_EQ(PillarName(c.yearPillar), "甲子");
    EXPECT_EQ(PillarName(c.monthPillar), "丙寅");
    EXPECT_EQ(PillarName(c.dayPillar), "己巳");
    EXPECT_EQ(PillarName(c.hourPillar), "甲子");
    // The entered hour 23 moves the lunar date one day on: 初三 becomes 初四.
    EXPECT_EQ(c.lunarYear, 1984);
    EXPECT_EQ(c.lunarMonth, 1);
    EXPECT_EQ(c.lunarDay, 4);
    EXPECT_EQ(c.enteredHourBranch, 1);
    EXPECT_EQ(c.birthTime, TimeOfDay::Hms(23, 19));
    EXPECT_EQ(c.dayStem, 6);
    EXPECT_EQ(c.dayBranch, 6);
    // A male of an even lunar year counts forward; born at the jie itself.
    EXPECT_TRUE(c.luckForward);
    EXPECT_EQ(StartOf(c), (LuckStart{0, 0, 0, 0}));
    EXPECT_EQ(PillarName(c.firstLuckPillar), "丁卯");
}

TEST(RunCalendar, LunarInputConvertsBeforeThePillars) {
    const Chart c = RunCalendar(Lunar(2020, 4, 1, true, 10, 30));
    EXPECT_EQ(c.BirthDate(), (Date{2020, 5, 23}));
    EXPECT_EQ(c.lunarDay, 1);
    EXPECT_TRUE(c.isLeapMonth);
    EXPECT_EQ(PillarName(c.dayPillar), "丙寅");

    // Day 31 of a lunar month is read as 30.
    const Chart d31 = RunCalendar(Lunar(2020, 12, 31, false, 8, 0));
    EXPECT_EQ(d31.lunarDay, 30);
    EXPECT_EQ(d31.BirthDate(), (Date{2021, 2, 11}));

    // A leap flag on a month without a leap stays set though the conversion
    // ignores it.
    const Chart notLeap = RunCalendar(Lunar(2020, 6, 1, true, 8, 0));
    EXPECT_TRUE(notLeap.isLeapMonth);
    EXPECT_EQ(notLeap.BirthDate(), (Date{2020, 7, 21}));

    // At the late 子 hour a lunar entry and the Gregorian entry whose lunar
    // date it is give the same chart: the next day is counted once.
    const Chart lunarLate = RunCalendar(Lunar(2020, 4, 2, true, 23, 30));
    const Chart solarLate = RunCalendar(SolarRequest(2020, 5, 23, 23, 30));
    EXPECT_EQ(lunarLate.BirthDate(), (Date{2020, 5, 23}));
    EXPECT_EQ(solarLate.lunarDay, 2);
    EXPECT_TRUE(solarLate.isLeapMonth);
    EXPECT_EQ(lunarLate.dayPillar, solarLate.dayPillar);
    EXPECT_EQ(lunarLate.hourPillar, solarLate.hourPillar);
    EXPECT_EQ(PillarName(lunarLate.dayPillar), "丁卯");  // the day after 丙寅
    EXPECT_EQ(PillarName(lunarLate.hourPillar), "庚子");
}

TEST(RunCalendar, DayPastTheEndOfTheMonthIsKeptAndCountedOn) {
    const Chart c = RunCalendar(SolarRequest(1985, 2, 30, 9, 0));
    EXPECT_EQ(c.birthDay, 30);
    EXPECT_EQ(c.birthMonth, 2);
    const Chart march = RunCalendar(SolarRequest(1985, 3, 2, 9, 0));
    EXPECT_EQ(c.dayPillar, march.dayPillar);
    EXPECT_EQ(c.monthPillar, march.monthPillar);
    EXPECT_EQ(c.lunarDay, march.lunarDay);
    EXPECT_EQ(StartOf(c), StartOf(march));
}

TEST(RunCalendar, NothingOfAnEarlierRunLeaksIntoTheNext) {
    // 1990-07-15 14:45, female, run before and after an unrelated lunar leap
    // birth: 闰五月廿三 of 1990, eight days after 小暑 (7 July 17:00), so a
    // woman of an even year counts back 7 d 21 h 45 min to it.
    for (int pass = 0; pass < 2; ++pass) {
        const Chart c = RunCalendar(SolarRequest(1990, 7, 15, 14, 45, false));
        EXPECT_EQ(PillarName(c.yearPillar), "庚午") << pass;
        EXPECT_EQ(PillarName(c.monthPillar), "癸未") << pass;
        EXPECT_EQ(PillarName(c.dayPillar), "辛巳") << pass;
        EXPECT_EQ(PillarName(c.hourPillar), "乙未") << pass;
        EXPECT_EQ((LunarDate{c.lunarYear, c.lunarMonth, c.lunarDay, c.isLeapMonth}), (LunarDate{1990, 5, 23, true}))
            << pass;
        EXPECT_FALSE(c.luckForward) << pass;
        EXPECT_EQ(StartOf(c), (LuckStart{2, 7, 18, 18})) << pass;
        EXPECT_EQ(PillarName(c.firstLuckPillar), "壬午") << pass;
        EXPECT_EQ(RunCalendar(Lunar(1984, 10, 15, true, 8, 30)).BirthDate(), (Date{1984, 12, 7}));
    }
}

TEST(RunCalendar, LateZiUnderBothDayChangeRules) {
    // From 23:00 the default rule gives the next day's pillar and lunar day;
    // under the midnight rule the civil day keeps both, and the 子 hour's
    // stem still follows the next day's stem.
    struct Case {
        ChartRequest request;
        int ziDayChange;
        const char* pillars[4];
        Date solar;
        LunarDate lunar;
    };
    const Case cases[] = {
        {SolarRequest(1988, 2, 15, 23, 30), 23, {"戊辰", "甲寅", "辛丑", "戊子"}, {1988, 2, 15}, {1987, 12, 29, false}},
        {SolarRequest(1988, 2, 15, 23, 30), 0, {"戊辰", "甲寅", "庚子", "戊子"}, {1988, 2, 15}, {1987, 12, 28, false}},
        {SolarRequest(2024, 3, 15, 23, 30), 23, {"甲辰", "丁卯", "己卯", "甲子"}, {2024, 3, 15}, {2024, 2, 7, false}},
        {SolarRequest(2024, 3, 15, 23, 30), 0, {"甲辰", "丁卯", "戊寅", "甲子"}, {2024, 3, 15}, {2024, 2, 6, false}},
        // The same births entered as lunar dates: the lunar date as entered
        // is the civil day's under the midnight rule, the next day's else.
        {Lunar(1987, 12, 29, false, 23, 30), 23, {"戊辰", "甲寅", "辛丑", "戊子"}, {1988, 2, 15}, {1987, 12, 29, false}},
        {Lunar(1987, 12, 28, false, 23, 30), 0, {"戊辰", "甲寅", "庚子", "戊子"}, {1988, 2, 15}, {1987, 12, 28, false}},
        {Lunar(2024, 2, 7, false, 23, 30), 23, {"甲辰", "丁卯", "己卯", "甲子"}, {2024, 3, 15}, {2024, 2, 7, false}},
        {Lunar(2024, 2, 6, false, 23, 30), 0, {"甲辰", "丁卯", "戊寅", "甲子"}, {2024, 3, 15}, {2024, 2, 6, false}},
        // The last day of a lunar month (十二月廿九 of 1987): by default the
        // late 子 hour already lies in the new year's first day.
        {SolarRequest(1988, 2, 16, 23, 30), 23, {"戊辰", "甲寅", "壬寅", "庚子"}, {1988, 2, 16}, {1988, 1, 1, false}},
        {SolarRequest(1988, 2, 16, 23, 30), 0, {"戊辰", "甲寅", "辛丑", "庚子"}, {1988, 2, 16}, {1987, 12, 29, false}},
        {Lunar(1987, 12, 29, false, 23, 30), 0, {"戊辰", "甲寅", "辛丑", "庚子"}, {1988, 2, 16}, {1987, 12, 29, false}},
        // Before 23:00 both rules agree.
        {SolarRequest(1988, 2, 15, 22, 59), 0, {"戊辰", "甲寅", "庚子", "丁亥"}, {1988, 2, 15}, {1987, 12, 28, false}},
    };
    for (const Case& k : cases) {
        ChartRequest r = k.request;
        r.ziDayChange = k.ziDayChange == 0 ? ZiDayChange::kAtMidnight : ZiDayChange::kAt23;
        const Chart c = RunCalendar(r);
        const std::string where = std::to_string(r.year) + "-" + std::to_string(r.month) + "-" +
                                  std::to_string(r.day) + (r.isSolarInput ? " solar" : " lunar") + " zi " +
                                  std::to_string(k.ziDayChange);
        EXPECT_EQ(ZiDayChangeHour(c.ziDayChange), k.ziDayChange) << where;
        EXPECT_EQ(PillarName(c.yearPillar), k.pillars[0]) << where;
        EXPECT_EQ(PillarName(c.monthPillar), k.pillars[1]) << where;
        EXPECT_EQ(PillarName(c.dayPillar), k.pillars[2]) << where;
        EXPECT_EQ(PillarName(c.hourPillar), k.pillars[3]) << where;
        EXPECT_EQ(c.BirthDate(), k.solar) << where;
        EXPECT_EQ((LunarDate{c.lunarYear, c.lunarMonth, c.lunarDay, c.isLeapMonth}), k.lunar) << where;
        EXPECT_EQ(c.dayStem, StemOf(c.dayPillar)) << where;
    }
}

TEST(DaylightSaving, FromTheTimeZoneDatabase) {
    ASSERT_TRUE(ZoneKnown(kBeijingZone)) << "no zone Asia/Shanghai in the system's time-zone database";
    const struct {
        Date date;
        int hour, minute;
        bool inEffect;
    } cases[] = {
        // 1986: the clocks went from 2:00 to 3:00 on 4 May and back from
        // 2:00 to 1:00 on 14 September; the skipped and the repeated hour
        // count as daylight saving time.
        {{1986, 5, 4}, 1, 59, false},
        {{1986, 5, 4}, 2, 0, true},
        {{1986, 5, 4}, 2, 30, true},
        {{1986, 5, 4}, 3, 0, true},
        {{1986, 9, 14}, 1, 30, true},
        {{1986, 9, 14}, 1, 59, true},
        {{1986, 9, 14}, 2, 0, false},
        // 1991: 14 April to 15 September.
        {{1991, 4, 14}, 1, 59, false},
        {{1991, 4, 14}, 2, 0, true},
        {{1991, 9, 15}, 1, 59, true},
        {{1991, 9, 15}, 2, 0, false},
        {{1945, 7, 1}, 12, 0, true},
        {{1919, 6, 1}, 12, 0, true},
        {{1985, 7, 1}, 12, 0, false},
        {{1992, 7, 1}, 12, 0, false},
        {{1900, 1, 1}, 0, 0, false},
        {{2100, 7, 1}, 12, 0, false},
        {{2100, 12, 31}, 23, 59, false},
        // 31 June is 1 July.
        {{1988, 6, 31}, 12, 0, true},
    };
    for (const auto& c : cases) {
        const auto clock = ReadClock(kBeijingZone, c.date, TimeOfDay::Hms(c.hour, c.minute));
        ASSERT_TRUE(clock && clock->daylightSavingKnown);
        EXPECT_EQ(std::pair(clock->daylightSaving, clock->DaylightSavingSeconds()),
                  std::pair(c.inEffect, c.inEffect ? 3600 : 0))
            << c.date.year << "-" << c.date.month << "-" << c.date.day << " " << c.hour << ":" << c.minute;
    }
}

TEST(RunCalendar, DaylightSavingMovesTheBirthBackToStandardTime) {
    // A summer 1988 birth with the box ticked equals the same birth entered
    // one hour earlier with it unticked, across midnight too.
    const struct {
        ChartRequest ticked;
        ChartRequest standard;
    } cases[] = {
        {SolarRequest(1988, 7, 10, 15, 30), SolarRequest(1988, 7, 10, 14, 30)},
        {SolarRequest(1988, 7, 10, 0, 30), SolarRequest(1988, 7, 9, 23, 30)},
        {SolarRequest(1988, 8, 1, 0, 10, false), SolarRequest(1988, 7, 31, 23, 10, false)},
        // 立秋 fell at 15:20 standard time: 16:00 summer time lies before it.
        {SolarRequest(1988, 8, 7, 16, 0), SolarRequest(1988, 8, 7, 15, 0)},
        {Lunar(1988, 5, 27, false, 15, 30), SolarRequest(1988, 7, 10, 14, 30)},
        // 01:00 is midnight of the same day, not 24:00 of the day before.
        {SolarRequest(1988, 7, 10, 1, 0), SolarRequest(1988, 7, 10, 0, 0)},
        // The first and the last minute of the summer time of 1988.
        {SolarRequest(1988, 4, 17, 2, 0), SolarRequest(1988, 4, 17, 1, 0)},
        {SolarRequest(1988, 9, 11, 1, 59), SolarRequest(1988, 9, 11, 0, 59)},
        // Into the 子 hour and out of it. A birth moved back to 23:xx keeps
        // the lunar date of the clock's day by default (its late 子 hour);
        // under the midnight rule it takes the day before with its lunar
        // date, while a lunar entry keeps the lunar date as entered.
        {SolarRequest(1988, 7, 10, 0, 0), SolarRequest(1988, 7, 9, 23, 0)},
        {SolarRequest(1988, 7, 10, 23, 59), SolarRequest(1988, 7, 10, 22, 59)},
        {AtMidnight(SolarRequest(1988, 7, 10, 0, 30)), AtMidnight(SolarRequest(1988, 7, 9, 23, 30))},
        {Lunar(1988, 5, 27, false, 0, 30), SolarRequest(1988, 7, 9, 23, 30)},
        {AtMidnight(Lunar(1988, 5, 27, false, 0, 30)), AtMidnight(SolarRequest(1988, 7, 9, 23, 30))},
    };
    for (const auto& c : cases) {
        ChartRequest ticked = c.ticked;
        ticked.applyDaylightSaving = true;
        const Chart a = RunCalendar(ticked);
        const Chart b = RunCalendar(c.standard);
        const std::string where = std::to_string(ticked.month) + "-" + std::to_string(ticked.day) + " " +
                                  std::to_string(ticked.hour) + ":" + std::to_string(ticked.minute) + " zi " +
                                  std::to_string(ZiDayChangeHour(ticked.ziDayChange));
        EXPECT_TRUE(a.daylightSavingInEffect && a.daylightSavingApplied) << where;
        EXPECT_EQ(a.daylightSavingMinutes, 60) << where;
        EXPECT_FALSE(b.daylightSavingApplied) << where;
        EXPECT_EQ(b.BirthDate(), (Date{c.standard.year, c.standard.month, c.standard.day})) << where;
        EXPECT_EQ(b.birthTime, TimeOfDay::Hms(c.standard.hour, c.standard.minute)) << where;
        EXPECT_EQ(a.BirthDate(), b.BirthDate()) << where;
        EXPECT_EQ(a.birthTime, b.birthTime) << where;
        EXPECT_EQ((Pillars{a.yearPillar, a.monthPillar, a.dayPillar, a.hourPillar}),
                  (Pillars{b.yearPillar, b.monthPillar, b.dayPillar, b.hourPillar}))
            << where;
        if (ticked.isSolarInput) {
            EXPECT_EQ((LunarDate{a.lunarYear, a.lunarMonth, a.lunarDay, a.isLeapMonth}),
                      (LunarDate{b.lunarYear, b.lunarMonth, b.lunarDay, b.isLeapMonth}))
                << where;
        } else {
            EXPECT_EQ(a.lunarDay, ticked.day) << where;
        }
        EXPECT_EQ(StartOf(a), StartOf(b)) << where;
        EXPECT_EQ(a.firstLuckPillar, b.firstLuckPillar) << where;
        EXPECT_EQ(a.luckForward, b.luckForward) << where;
    }
    // Unticked, the time in daylight saving time stays as entered, and the
    // chart still notes it.
    const Chart kept = RunCalendar(SolarRequest(1988, 7, 10, 15, 30));
    EXPECT_TRUE(kept.daylightSavingInEffect);
    EXPECT_FALSE(kept.daylightSavingApplied);
    EXPECT_EQ(kept.birthTime, TimeOfDay::Hms(15, 30));
    // Outside daylight saving time the box changes nothing.
    ChartRequest winter = SolarRequest(1988, 1, 10, 15, 30);
    winter.applyDaylightSaving = true;
    const Chart w = RunCalendar(winter);
    EXPECT_FALSE(w.daylightSavingInEffect || w.daylightSavingApplied);
    EXPECT_EQ(w.birthTime, TimeOfDay::Hms(15, 30));
    // What the box shows for a lunar entry is that of its Gregorian date.
    EXPECT_TRUE(DaylightSavingOf(Lunar(1988, 5, 27, false, 15, 30)).inEffect);
    EXPECT_FALSE(DaylightSavingOf(Lunar(1988, 1, 27, false, 15, 30)).inEffect);
    // At 23:30 under the midnight rule it is that of the lunar day itself, by
    // default that of the evening before: 三月初二 is 17 April, the first day
    // of the summer time, 八月初一 11 September, its last.
    EXPECT_TRUE(DaylightSavingOf(AtMidnight(Lunar(1988, 3, 2, false, 23, 30))).inEffect);
    EXPECT_FALSE(DaylightSavingOf(Lunar(1988, 3, 2, false, 23, 30)).inEffect);
    EXPECT_FALSE(DaylightSavingOf(AtMidnight(Lunar(1988, 8, 1, false, 23, 30))).inEffect);
    EXPECT_TRUE(DaylightSavingOf(Lunar(1988, 8, 1, false, 23, 30)).inEffect);
}

TEST(RunCalendar, EachProvinceReadsItsOwnZonesClock) {
    // The clock as entered turns into Beijing time by its zone's offset then:
    // daylight saving time where that zone kept it (the box ticked, or read
    // as standard time when unticked), Taiwan's and Hong Kong's UTC+9, Hong
    // Kong's half-hour winter time of 1941, and Beijing time before a
    // zone's first standard time.
    const struct {
        int province;
        Date date;
        int hour, minute;
        bool ticked;
        TimeOfDay beijing;
        bool inEffect;
        int minutes;
        std::string_view hourName;  // the clock read as standard time
        bool localMeanTime;
    } cases[] = {
        {2, {1988, 7, 1}, 12, 0, true, TimeOfDay::Hms(12, 0), false, 0, "午", false},   // only the mainland kept it
        {6, {1988, 7, 1}, 12, 0, true, TimeOfDay::Hms(11, 0), true, 60, "午", false},
        {6, {1988, 7, 1}, 13, 30, true, TimeOfDay::Hms(12, 30), true, 60, "午", false},
        {2, {1975, 7, 1}, 12, 0, true, TimeOfDay::Hms(11, 0), true, 60, "午", false},
        {2, {1975, 7, 1}, 13, 30, false, TimeOfDay::Hms(13, 30), true, 60, "未", false},
        {4, {1979, 8, 1}, 12, 0, true, TimeOfDay::Hms(11, 0), true, 60, "午", false},
        {4, {1940, 6, 1}, 13, 30, true, TimeOfDay::Hms(12, 30), false, 0, "午", false},   // UTC+9 standard time
        {4, {1940, 6, 1}, 13, 30, false, TimeOfDay::Hms(12, 30), false, 0, "午", false},
        {2, {1941, 10, 15}, 12, 0, true, TimeOfDay::Hms(11, 30), true, 30, "午", false},  // UTC+8:30
        {2, {1943, 1, 10}, 0, 30, true, TimeOfDay::Hms(23, 30), false, 0, "子", false},   // UTC+9, day before
        {2, {1943, 12, 31}, 0, 30, true, TimeOfDay::Hms(23, 30), false, 0, "子", false},
        {3, {1904, 10, 29}, 12, 0, true, TimeOfDay::Hms(12, 0), false, 0, "午", true},    // Macau's LMT
        {1, {1900, 6, 1}, 12, 0, true, TimeOfDay::Hms(12, 0), false, 0, "午", true},
    };
    for (const auto& k : cases) {
        ChartRequest r = SolarRequest(k.date.year, k.date.month, k.date.day, k.hour, k.minute);
        r.provinceIndex = k.province;
        r.applyDaylightSaving = k.ticked;
        const Chart c = RunCalendar(r);
        const std::string where = std::to_string(k.province) + " " + std::to_string(k.date.year) + "-" +
                                  std::to_string(k.date.month) + "-" + std::to_string(k.date.day) + " " +
                                  std::to_string(k.hour) + ":" + std::to_string(k.minute);
        EXPECT_EQ(c.beijingTime, k.beijing) << where;
        EXPECT_EQ(c.birthTime, k.beijing) << where;
        EXPECT_EQ(c.daylightSavingInEffect, k.inEffect) << where;
        EXPECT_EQ(c.daylightSavingMinutes, k.minutes) << where;
        EXPECT_EQ(BranchName(c.enteredHourBranch), k.hourName) << where;
        EXPECT_EQ(c.clock.localMeanTime, k.localMeanTime) << where;
        EXPECT_EQ(DaylightSavingOf(r).inEffect, k.inEffect) << where;
        // The pillars are those of the same birth entered at Beijing time.
        ChartRequest atBeijing = SolarRequest(c.BirthDate().year, c.BirthDate().month, c.BirthDate().day,
                                              k.beijing.hour(), k.beijing.minute());
        const Chart b = RunCalendar(atBeijing);
        EXPECT_EQ((Pillars{c.yearPillar, c.monthPillar, c.dayPillar, c.hourPillar}),
                  (Pillars{b.yearPillar, b.monthPillar, b.dayPillar, b.hourPillar}))
            << where;
    }
}

ChartRequest Abroad(std::string_view zone, double longitude, int y, int m, int d, int h, int mi) {
    ChartRequest r = SolarRequest(y, m, d, h, mi);
    r.world = WorldPlace{};
    r.world->zone = std::string(zone);
    r.world->longitude = longitude;
    r.applyDaylightSaving = true;
    return r;
}

TEST(RunCalendar, BirthAbroadSplitsBetweenBeijingAndLocalTime) {
    // The instant in Beijing time decides the year and month pillars and the
    // luck count; the birthplace's standard time the day and hour pillars
    // and the lunar date.
    const struct {
        const char* what;
        ChartRequest request;
        Date beijingDate;
        TimeOfDay beijing;
        Date localDate;
        TimeOfDay local;
        int utcOffset;  // seconds, as read
        int daylightMinutes;
        bool localMeanTime;
    } cases[] = {
        {"New York, summer time", Abroad("America/New_York", -74.0, 1990, 7, 1, 8, 0), {1990, 7, 1},
         TimeOfDay::Hms(20, 0), {1990, 7, 1}, TimeOfDay::Hms(7, 0), -4 * 3600, 60, false},
        {"London, double summer time", Abroad("Europe/London", -0.1, 1943, 6, 1, 12, 0), {1943, 6, 1},
         TimeOfDay::Hms(18, 0), {1943, 6, 1}, TimeOfDay::Hms(10, 0), 2 * 3600, 120, false},
        // Before 1947 the zone of Riyadh holds its local mean time; Jeddah
        // (39.1725° east) kept its own, 2:36:41 ahead of UTC.
        {"Jeddah, its own local mean time", Abroad("Asia/Riyadh", 39.1725, 1940, 6, 1, 12, 0),
         {1940, 6, 1}, TimeOfDay::Hms(17, 23, 19), {1940, 6, 1}, TimeOfDay::Hms(12, 0), 9401, 0, true},
        {"New York, the skipped hour", Abroad("America/New_York", -74.0, 1990, 4, 1, 2, 30), {1990, 4, 1},
         TimeOfDay::Hms(14, 30), {1990, 4, 1}, TimeOfDay::Hms(1, 30), -4 * 3600, 60, false},
        {"New York, the repeated hour", Abroad("America/New_York", -74.0, 1990, 10, 28, 1, 30), {1990, 10, 28},
         TimeOfDay::Hms(13, 30), {1990, 10, 28}, TimeOfDay::Hms(0, 30), -4 * 3600, 60, false},
        {"Los Angeles, the next day in Beijing", Abroad("America/Los_Angeles", -118.24, 1985, 1, 21, 20, 0),
         {1985, 1, 22}, TimeOfDay::Hms(12, 0), {1985, 1, 21}, TimeOfDay::Hms(20, 0), -8 * 3600, 0, false},
    };
    for (const auto& k : cases) {
        const Chart c = RunCalendar(k.request);
        EXPECT_TRUE(c.abroad) << k.what;
        EXPECT_EQ(c.beijingDate, k.beijingDate) << k.what;
        EXPECT_EQ(c.beijingTime, k.beijing) << k.what;
        EXPECT_EQ(c.BirthDate(), k.localDate) << k.what;
        EXPECT_EQ(c.birthTime, k.local) << k.what;
        EXPECT_EQ(c.daylightSavingApplied ? c.clock.utcOffsetSeconds : c.clock.standardOffsetSeconds, k.utcOffset)
            << k.what;
        EXPECT_EQ(c.daylightSavingMinutes, k.daylightMinutes) << k.what;
        EXPECT_EQ(c.clock.localMeanTime, k.localMeanTime) << k.what;
        EXPECT_EQ(c.enteredHourBranch, HourBranch(k.local.hour())) << k.what;
        const Pillars instant = ComputePillars(k.beijingDate, k.beijing);
        const Pillars local = ComputePillars(k.localDate, k.local);
        EXPECT_EQ((Pillars{c.yearPillar, c.monthPillar, c.dayPillar, c.hourPillar}),
                  (Pillars{instant.year, instant.month, local.day, local.hour}))
            << k.what;
        const auto lunar = SolarToLunar(k.localDate, k.local.hour() == 23);
        ASSERT_TRUE(lunar) << k.what;
        EXPECT_EQ(c.lunarDay, lunar->day) << k.what;
    }
}

TEST(RunCalendar, BirthAbroadNearAJie) {
    // 立秋 1988 fell at 15:20 Beijing time. A New York birth at 05:00 summer
    // time on 7 August is 17:00 in Beijing, after it: the 申 month, although
    // the local clock (04:00 standard time) lies before the table's moment.
    ChartRequest woman = Abroad("America/New_York", -74.0, 1988, 8, 7, 5, 0);
    woman.isMale = false;
    const Chart c = RunCalendar(woman);
    EXPECT_EQ(PillarName(c.monthPillar), "庚申");
    EXPECT_EQ(c.birthTime, TimeOfDay::Hms(4, 0));
    EXPECT_EQ(PillarName(ComputePillars({1988, 8, 7}, TimeOfDay::Hms(4, 0)).month), "己未");
    // Her luck counts back from the instant to the jie 100 minutes before:
    // 8 days and 8 hours.
    EXPECT_FALSE(c.luckForward);
    EXPECT_EQ(StartOf(c), (LuckStart{0, 0, 8, 8}));
    // True solar time from the longitude: UTC 09:00 − 4 min × 74 + the
    // equation of time of 7 August.
    ChartRequest solar = Abroad("America/New_York", -74.0, 1988, 8, 7, 5, 0);
    solar.useTrueSolarTime = true;
    const Chart s = RunCalendar(solar);
    const int equation = static_cast<int>(std::lround(EquationOfTime(8, 7) * 60.0f));
    EXPECT_EQ(s.birthTime.seconds, TimeOfDay::Hms(9, 0).seconds - 74 * 240 + equation);
    EXPECT_EQ(s.beijingTime, TimeOfDay::Hms(17, 0));
}

TEST(LuckStart, DirectionAndTargetJie) {
    // Backward from the jie moment itself: counts to the previous jie,
    // 小寒 1984 at 6 January 11:42, 29 days 11 h 37 min earlier.
    const Chart female = RunCalendar(SolarRequest(1984, 2, 4, 23, 19, false));
    EXPECT_FALSE(female.luckForward);
    EXPECT_EQ(StartOf(female), (LuckStart{9, 9, 28, 2}));
    EXPECT_EQ(PillarName(female.firstLuckPillar), "乙丑");

    // Three days before 惊蛰 (5 March 1984, 17:26) is exactly one year.
    EXPECT_EQ(StartOf(RunCalendar(SolarRequest(1984, 3, 2, 17, 26))), (LuckStart{1, 0, 0, 0}));
    EXPECT_EQ(StartOf(RunCalendar(SolarRequest(1984, 3, 2, 17, 27))), (LuckStart{0, 11, 29, 22}));

    // Early January 1900, backward: counts to 大雪 1899 (7 December, 15:05),
    // 25 days 20 h 55 min earlier.
    const Chart jan1900 = RunCalendar(SolarRequest(1900, 1, 2, 12, 0));
    EXPECT_EQ(jan1900.lunarYear, 1899);
    EXPECT_FALSE(jan1900.luckForward);
    EXPECT_EQ(StartOf(jan1900), (LuckStart{8, 7, 14, 14}));
}

TEST(LuckStart, DecemberForwardCountsToNextJanuary) {
    // After 大雪 (7 December 1984) a forward count runs to 小寒 of 1985, on
    // 5 January at 17:35: 16 days 7 h 35 min = 23,495 minutes = 5 years,
    // 5 months, 7 days, 22 hours.
    const Chart c = RunCalendar(SolarRequest(1984, 12, 20, 10, 0));
    ASSERT_TRUE(c.luckForward);
    EXPECT_EQ(StartOf(c), (LuckStart{5, 5, 7, 22}));
    EXPECT_EQ(PillarName(c.firstLuckPillar), "丁丑");

    // The last day of the calendar at 23:30, lunar 2100 十二月初二: a male
    // counts forward to 小寒 2101 (5 January, 21:06), 4 d 21 h 36 min =
    // 7,056 minutes; a female back to 大雪 2100 (7 December, 9:40),
    // 24 d 13 h 50 min = 35,390 minutes.
    const Chart male = RunCalendar(SolarRequest(2100, 12, 31, 23, 30));
    EXPECT_EQ((LunarDate{male.lunarYear, male.lunarMonth, male.lunarDay, male.isLeapMonth}),
              (LunarDate{2100, 12, 2, false}));
    ASSERT_TRUE(male.luckForward);
    EXPECT_EQ(StartOf(male), (LuckStart{1, 7, 18, 0}));
    EXPECT_EQ(PillarName(male.firstLuckPillar), "己丑");
    const Chart female = RunCalendar(SolarRequest(2100, 12, 31, 23, 30, false));
    ASSERT_FALSE(female.luckForward);
    EXPECT_EQ(StartOf(female), (LuckStart{8, 2, 9, 4}));
}

TEST(LuckStart, FirstPillarWrapsAroundTheCycle) {
    // 癸亥 month (Nov 1983, after 立冬), female of an odd year: forward to 甲子.
    const Chart forward = RunCalendar(SolarRequest(1983, 11, 20, 12, 0, false));
    ASSERT_EQ(forward.monthPillar, 60);
    ASSERT_TRUE(forward.luckForward);
    EXPECT_EQ(forward.firstLuckPillar, 1);
    // 甲子 month (Dec 1983, after 大雪), male of an odd year: backward to 癸亥.
    const Chart backward = RunCalendar(SolarRequest(1983, 12, 20, 12, 0, true));
    ASSERT_EQ(backward.monthPillar, 1);
    ASSERT_FALSE(backward.luckForward);
    EXPECT_EQ(backward.firstLuckPillar, 60);
}

TEST(LuckStart, SecondsCountAgainstTheJie) {
    // 17:26:26 on the day of a jie at 17:26 lies after it, for the luck count
    // as for the pillars; the distance counts whole minutes.
    const Date d{1984, 3, 5};
    EXPECT_EQ(LuckTargetOffsetSeconds(d, TimeOfDay::Hms(17, 26, 26), false), -26);
    // Forward it runs on to 清明, 4 April 22:23: 30 d 4 h 56 min 34 s.
    EXPECT_EQ(LuckTargetOffsetSeconds(d, TimeOfDay::Hms(17, 26, 26), true), 30 * 86400L + 4 * 3600 + 56 * 60 + 34);
    EXPECT_EQ(LuckTargetOffsetSeconds(d, TimeOfDay::Hms(17, 26, 0), true), 0);
}

TEST(ArchiveFields, NamePlaceSexDateTime) {
    const Chart c = RunCalendar(SolarRequest(1985, 3, 12, 9, 5));
    const ChartRecord r = ArchiveFields(c, "张三", "1北京", "北京");
    EXPECT_EQ(r.name, "张三          ");
    EXPECT_EQ(r.sex, "男 ");
    EXPECT_EQ(r.place, "1北京,北京        ");
    EXPECT_DOUBLE_EQ(r.birthDate, 31118.0);
    EXPECT_NEAR(r.birthTime, (9 * 60 + 5) / 1440.0, 1e-12);
    EXPECT_EQ(r.deleted, 0);

    const ChartRecord blank = ArchiveFields(RunCalendar(SolarRequest(1985, 3, 12, 9, 5, false)), "   ", "不考虑", "不考虑");
    EXPECT_EQ(blank.name, "没有名字        ");
    EXPECT_EQ(blank.sex, "女 ");
    EXPECT_EQ(blank.place, "不考虑,不考虑       ");

    const ChartRecord longName = ArchiveFields(c, "一二三四五六七八九十甲乙丙丁", "1北京", "北京");
    EXPECT_EQ(longName.name, "一二三四五六七八九十甲乙");
}

}  // namespace
}  // namespace tl
