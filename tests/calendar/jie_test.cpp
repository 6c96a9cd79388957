#include "calendar/jie.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "calendar/civil.h"

namespace tl {
namespace {

TEST(JieDays, RowsAndRange) {
    EXPECT_EQ(JieDays(1900), "546566788987");
    EXPECT_EQ(JieDays(1984), "645455777877");
    EXPECT_EQ(JieDays(2000), "645455777877");
    EXPECT_EQ(JieDays(2021), "535455777877");
    EXPECT_EQ(JieDays(2050), "535455778877");
    // After the printed rows: the days of the computed moments, to 2101.
    EXPECT_EQ(JieDays(2051), "545556777877");
    EXPECT_EQ(JieDays(2100), "545555777877");
    EXPECT_EQ(JieDays(2101), "546556778877");
    EXPECT_EQ(JieDays(1899), "");
    EXPECT_EQ(JieDays(2102), "");
    EXPECT_EQ(JieDay(1984, 2), 4);
    EXPECT_EQ(JieDay(1899, 12), 0);
    EXPECT_EQ(JieDay(1984, 13), 0);
}

TEST(JieMoment, PrintedCellsAndNeutralValues) {
    EXPECT_EQ(JieMoment(1984, 2), TimeOfDay::Hms(23, 19));
    EXPECT_EQ(JieMomentText(1984, 2), "23时19分");
    EXPECT_EQ(JieMomentText(1984, 6), "20时9分");
    EXPECT_EQ(JieMomentText(1984, 7), "6时30分");
    EXPECT_EQ(JieMoment(2102, 1), TimeOfDay{});
    EXPECT_EQ(JieMomentText(2102, 1), "");
    EXPECT_EQ(JieMomentText(1899, 12), "");
    EXPECT_EQ(JieMomentText(1984, 0), "");
    EXPECT_EQ(JieMomentText(1984, 13), "");
}

TEST(JieMoment, MomentsOf2021To2101) {
    // 2021 holds the moments of the terms rounded to the minute, also 小寒
    // and 立春, which the almanac printed 32 and 9 minutes late (11:55 and
    // 23:08); 惊蛰 at 16:53:40 on 5 March, 立秋 at 14:53:57 on 7 August.
    const char* const expected[12] = {"11时23分", "22时59分", "16时54分", "21时35分", "14时47分", "18时52分",
                                      "5时5分",   "14时54分", "17时53分", "9时39分",  "12时59分", "5时57分"};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(JieMomentText(2021, m), expected[m - 1]) << m;
    EXPECT_EQ(JieMoment(2021, 3), TimeOfDay::Hms(16, 54));
    // 立春 2024 at 16:27:07 on 4 February; the last cells, December 2100
    // (大雪 09:39:43) and January 2101 (小寒 21:06:28).
    EXPECT_EQ(JieMoment(2024, 2), TimeOfDay::Hms(16, 27));
    EXPECT_EQ(JieMomentText(2100, 12), "9时40分");
    EXPECT_EQ(JieMomentText(2101, 1), "21时6分");
}

TEST(JieMoment, MomentsAdvanceAboutThirtyDaysApart) {
    // Consecutive jie lie 29.3 to 31.6 days apart: a cell typed or shifted by
    // hand shows up here. In eleven cells the almanac's day differs by one
    // from the astronomical day of the jie; its day stays authoritative, so
    // the gaps next to those cells may be a day off.
    const std::set<std::pair<int, int>> almanacDayDiffers = {
        {1900, 1},  {1904, 10}, {1917, 12}, {1927, 9}, {1929, 10}, {1977, 5},
        {1981, 11}, {1991, 5},  {2034, 8},  {2049, 4}, {2050, 9}};
    auto at = [](int y, int m) {
        const auto j = JieAt(y, m);
        return DayNumber(j->date) * 1440L + j->time.seconds / 60;
    };
    long previous = at(1899, 12);
    std::pair<int, int> previousCell{1899, 12};
    for (int y = kJieMomentFirstYear; y <= kJieMomentLastYear; ++y) {
        for (int m = 1; m <= 12; ++m) {
            const long now = at(y, m);
            const long gap = now - previous;
            const bool loose = almanacDayDiffers.count({y, m}) || almanacDayDiffers.count(previousCell);
            const long slack = loose ? 1440 : 0;
            EXPECT_GT(gap, 29 * 1440 + 6 * 60 - slack) << y << "-" << m;
            EXPECT_LT(gap, 31 * 1440 + 16 * 60 + slack) << y << "-" << m;
            previous = now;
            previousCell = {y, m};
        }
    }
}

TEST(JieAt, December1899AndTableBounds) {
    const auto dec1899 = JieAt(1899, 12);
    ASSERT_TRUE(dec1899);
    EXPECT_EQ(dec1899->date, (Date{1899, 12, 7}));
    EXPECT_EQ(dec1899->time, TimeOfDay::Hms(15, 5));
    const auto lichun = JieAt(1984, 2);
    ASSERT_TRUE(lichun);
    EXPECT_EQ(lichun->date, (Date{1984, 2, 4}));
    const auto xiaohan2101 = JieAt(2101, 1);
    ASSERT_TRUE(xiaohan2101);
    EXPECT_EQ(xiaohan2101->date, (Date{2101, 1, 5}));
    EXPECT_FALSE(JieAt(1899, 11));
    EXPECT_FALSE(JieAt(2102, 1));
}

TEST(JieName, NamesAndRange) {
    EXPECT_EQ(JieName(1), "小寒");
    EXPECT_EQ(JieName(2), "立春");
    EXPECT_EQ(JieName(12), "大雪");
    EXPECT_EQ(JieName(0), "");
    EXPECT_EQ(JieName(13), "");
}

}  // namespace
}  // namespace tl
