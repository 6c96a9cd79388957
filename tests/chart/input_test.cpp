#include "chart/input.h"
#include "chart/date_check.h"

#include <gtest/gtest.h>

#include "archive/fields.h"
#include "archive/record.h"
#include "report/report.h"
#include "chart/run.h"

namespace tl {
namespace {

TEST(InputListItems, ListsOfTheWindow) {
    struct Case {
        InputList list;
        std::size_t count;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {InputList::Year, 201, "1900", "2100"},
        {InputList::Month, 12, "1", "12"},
        {InputList::Day, 31, "1", "31"},  // 31 days in every month
        {InputList::Hour, 24, "0", "23"},
        {InputList::Minute, 60, "0", "59"},  // minute 0 too: births on the hour
    };
    for (const auto& c : cases) {
        const auto items = InputListItems(c.list);
        ASSERT_EQ(items.size(), c.count) << c.first;
        EXPECT_EQ(items.front(), c.first);
        EXPECT_EQ(items.back(), c.last);
    }
    // Consecutive numbers, no gaps: position i of the year list is 1900 + i.
    const auto years = InputListItems(InputList::Year);
    for (std::size_t i = 0; i < years.size(); ++i) EXPECT_EQ(years[i], std::to_string(1900 + i));
}

TEST(TodayPositions, SelectsTodayOrNothing) {
    struct Case {
        Date today;
        int hour, minute;
        DateTimePositions expected;
    };
    const Case cases[] = {
        {{1985, 3, 12}, 9, 5, {85, 2, 11, 9, 5}},
        {{1900, 1, 1}, 0, 1, {0, 0, 0, 0, 1}},
        {{2020, 12, 31}, 23, 59, {120, 11, 30, 23, 59}},
        {{2026, 12, 9}, 7, 31, {126, 11, 8, 7, 31}},
        {{2100, 12, 31}, 23, 59, {200, 11, 30, 23, 59}},
        // After 2100 there is no year item to select.
        {{2101, 1, 1}, 12, 30, {-1, 0, 0, 12, 30}},
        // Minute 0 of the clock selects the item "0".
        {{1999, 6, 15}, 14, 0, {99, 5, 14, 14, 0}},
        {{1899, 12, 31}, 0, 0, {-1, 11, 30, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TodayPositions(c.today, TimeOfDay::Hms(c.hour, c.minute)), c.expected)
            << c.today.year << "-" << c.today.month << "-" << c.today.day << " " << c.hour << ":" << c.minute;
    }
}

InputSelections Sample() {
    InputSelections in;
    in.nameText = "  张三 ";
    in.positions = {85, 2, 11, 9, 5};
    in.provincePosition = 1;
    in.placePosition = 0;
    return in;
}

TEST(ReadRequest, GregorianPositionsBecomeTheDate) {
    const auto r = ReadRequest(Sample());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->personName, "张三");
    EXPECT_TRUE(r->isMale);
    EXPECT_TRUE(r->isSolarInput);
    EXPECT_EQ(r->year, 1985);
    EXPECT_EQ(r->month, 3);
    EXPECT_EQ(r->day, 12);
    EXPECT_EQ(r->hour, 9);
    EXPECT_EQ(r->minute, 5);
    EXPECT_FALSE(r->useTrueSolarTime);
    EXPECT_EQ(r->provinceIndex, 1);
    EXPECT_EQ(r->placeIndex, 1);
}

TEST(ReadRequest, DayAndLeapFlagByCalendar) {
    struct Case {
        bool solar;
        int dayPosition;
        bool leapTicked;
        int day;
        bool leap;
    };
    const Case cases[] = {
        {true, 30, true, 31, false},   // Gregorian: day 31 kept, leap box not read
        {true, 29, false, 30, false},  // 30 February stays 30; the run counts it on
        {false, 30, true, 30, true},   // lunar day 31 is read as 30
        {false, 29, false, 30, false},
        {false, 0, true, 1, true},
    };
    for (const auto& c : cases) {
        InputSelections in = Sample();
        in.isSolarInput = c.solar;
        in.positions.month = 1;
        in.positions.day = c.dayPosition;
        in.leapTicked = c.leapTicked;
        const auto r = ReadRequest(in);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->day, c.day) << c.solar << " " << c.dayPosition;
        EXPECT_EQ(r->isLeapMonth, c.leap) << c.solar << " " << c.dayPosition;
        EXPECT_EQ(r->isSolarInput, c.solar);
    }
}

TEST(ReadRequest, EmptySelections) {
    InputSelections in = Sample();
    in.positions.minute = 0;  // the item "0": a birth on the hour
    in.trueSolarTicked = true;
    in.isMale = false;
    in.nameText = " \t\u3000";
    auto r = ReadRequest(in);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->minute, 0);
    in.positions.minute = 59;
    EXPECT_EQ(ReadRequest(in)->minute, 59);
    in.positions.minute = -1;  // a list without a selection reads as its first item
    EXPECT_EQ(ReadRequest(in)->minute, 0);
    EXPECT_TRUE(r->useTrueSolarTime);
    EXPECT_FALSE(r->isMale);
    EXPECT_EQ(r->personName, "");

    in.positions.year = -1;  // today after 2100: no year to run
    EXPECT_FALSE(ReadRequest(in));
}

TEST(DateProblemText, TheInputWindowSaysWhatIsWrong) {
    const struct {
        bool solar;
        int year, month, day;
        bool leap;
        const char* text;  // empty: the date exists
    } cases[] = {
        {true, 1990, 2, 30, false, "1990年2月只有28天"},
        {true, 2000, 2, 30, false, "2000年2月只有29天"},
        {true, 1990, 2, 28, false, ""},
        {false, 2024, 5, 1, true, "农历2024年没有闰月"},
        {false, 2023, 5, 1, true, "农历2023年的闰月是闰二月,没有闰五月"},
        {false, 2024, 3, 30, false, "农历2024年三月只有29天"},
        {false, 2023, 2, 30, true, "农历2023年闰二月只有29天"},
        {false, 2023, 2, 30, false, ""},  // the ordinary second month has 30
    };
    for (const auto& c : cases) {
        ChartRequest r;
        r.isSolarInput = c.solar;
        r.year = c.year;
        r.month = c.month;
        r.day = c.day;
        r.isLeapMonth = c.leap;
        const auto problem = ImpossibleDate(r);
        EXPECT_EQ(problem ? DateProblemText(r, *problem) : std::string(), c.text) << c.year << "-" << c.month;
    }
}

TEST(ParseDegrees, BothEndsOfTheRangeAndNothingButPlainDecimals) {
    for (const char* ok : {"-180", "180", "180.000", "0", "99.9", "-74.006000000000"})
        EXPECT_TRUE(ParseDegrees(ok, -180.0, 180.0)) << ok;
    for (const char* bad : {"-180.001", "180.001", "+74", "1e2", "", " 74", "nan", "-74.0060000000000", "7-4"})
        EXPECT_FALSE(ParseDegrees(bad, -180.0, 180.0)) << bad;
}

TEST(SelectionsOfRecord, ASavedChartComesBackToTheLists) {
    const struct {
        int province, place;  // of the run that made the record
        bool trueSolar;
        bool male;
        const char* name;
        Date date;
    } cases[] = {
        {0, 0, false, true, "张三", {1985, 3, 12}},
        {1, 0, true, false, "李四", {1900, 1, 1}},  // the first day of the lists
        {24, 0, false, true, "", {2100, 12, 31}},   // "24内蒙古,呼和浩特" keeps "24内蒙古,呼和" in 14 bytes
    };
    for (const auto& c : cases) {
        ChartRequest r;
        r.personName = c.name;
        r.isMale = c.male;
        r.year = c.date.year;
        r.month = c.date.month;
        r.day = c.date.day;
        r.hour = 9;
        r.minute = 5;
        r.provinceIndex = c.province;
        r.placeIndex = c.place + 1;
        r.useTrueSolarTime = c.trueSolar;
        const Chart chart = RunCalendar(r);
        const ReportHeader header = ReportHeaderOf(r, c.name);
        const ChartRecord record = DecodeRecord(EncodeRecord(ArchiveFields(chart, c.name, header.provinceItem,
                                                                           header.placeItem)));
        const auto in = SelectionsOfRecord(record);
        ASSERT_TRUE(in) << c.name;
        EXPECT_EQ(in->nameText, c.name);
        EXPECT_EQ(in->isMale, c.male);
        EXPECT_TRUE(in->isSolarInput);
        EXPECT_EQ(in->provincePosition, c.province) << record.place;
        EXPECT_EQ(in->placePosition, c.place) << record.place;
        EXPECT_FALSE(in->trueSolarTicked);
        // The chart again: the same pillars from the time the record keeps
        // (true solar time to the minute).
        const Chart again = RunCalendar(*ReadRequest(*in));
        EXPECT_EQ(again.BirthDate(), chart.BirthDate()) << c.name;
        EXPECT_EQ(again.birthTime.seconds / 60, chart.birthTime.seconds / 60) << c.name;
        EXPECT_EQ(std::tie(again.yearPillar, again.monthPillar, again.dayPillar, again.hourPillar),
                  std::tie(chart.yearPillar, chart.monthPillar, chart.dayPillar, chart.hourPillar))
            << c.name;
    }
    // A record saved before any run holds no date to chart.
    EXPECT_FALSE(SelectionsOfRecord(ChartRecord{}));
}

}  // namespace
}  // namespace tl
