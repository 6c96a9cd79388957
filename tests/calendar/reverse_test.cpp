#include "calendar/reverse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "calendar/civil.h"
#include "calendar/jie.h"
#include "calendar/solar_month.h"
#include "calendar/years.h"

namespace tl {
namespace {

long Minute(const ClockMinute& m) { return MinuteNumber(m.date, TimeOfDay::Hms(m.hour, m.minute)); }

Pillars PillarsAt(long minute, bool at23) {
    const long day = minute / 1440;
    const long rest = minute % 1440;
    return ComputePillars(DateOfDayNumber(day), TimeOfDay::Hms(static_cast<int>(rest / 60), static_cast<int>(rest % 60)),
                          at23);
}

std::string Text(long minute) {
    const Date d = DateOfDayNumber(minute / 1440);
    std::ostringstream s;
    s << d.year << "-" << d.month << "-" << d.day << " " << minute % 1440 / 60 << ":" << minute % 60;
    return s.str();
}

// Random births, a third anywhere, a third at 23:xx or 00:xx, a third within
// ten minutes of a jie; each charted under both 子 rules and searched back.
// The birth lies in exactly one window; every window charts to the pillars
// at its first and last minute and not at the minute outside either end
// (unless that lies outside the range); the windows are in time order and
// apart; the month and hour pillars are among those the lists offer.
TEST(ReversePillars, EveryBirthIsFoundAndEveryWindowIsExact) {
    const long first = MinuteNumber(Date{kCalendarFirstYear, 1, 1}, TimeOfDay{});
    const long last = MinuteNumber(Date{kCalendarLastYear, 12, 31}, TimeOfDay::Hms(23, 59));
    std::mt19937 random(20);
    std::uniform_int_distribution<long> anyMinute(first, last);
    std::uniform_int_distribution<int> anyYear(kCalendarFirstYear, kCalendarLastYear);
    std::uniform_int_distribution<int> anyMonth(1, 12);
    std::uniform_int_distribution<int> near(-10, 10);
    std::uniform_int_distribution<int> minuteOfHour(0, 59);

    // Besides, around every jie that falls in the last minute of a two-hour
    // block or the minute after one begins: a window of a single minute.
    std::vector<long> edges;
    for (int y = kCalendarFirstYear; y <= kCalendarLastYear; ++y)
        for (int m = 1; m <= 12; ++m) {
            const long jie = MinuteNumber(*JieAt(y, m));
            if ((jie + 60) % 120 == 119 || (jie + 60) % 120 == 1) edges.insert(edges.end(), {jie - 1, jie});
        }
    ASSERT_GT(edges.size(), 40u);

    int checked = 0;
    std::vector<std::string> faults;
    for (int i = 0; i < 3000 + static_cast<int>(edges.size()); ++i) {
        long birth = anyMinute(random);
        if (i >= 3000) {
            birth = edges[static_cast<std::size_t>(i - 3000)];
        } else if (i % 3 == 1) {
            birth = birth / 1440 * 1440 + (i % 2 ? 23 * 60 : 0) + minuteOfHour(random);
        } else if (i % 3 == 2) {
            const auto jie = JieAt(anyYear(random), anyMonth(random));
            birth = MinuteNumber(*jie) + near(random);
        }
        if (birth < first || birth > last) continue;
        for (bool at23 : {true, false}) {
            const Pillars p = PillarsAt(birth, at23);
            const ReverseResult r = ReversePillars(p, at23);
            const std::string what = Text(birth) + (at23 ? " 23点: " : " 0点: ");
            ++checked;
            if (r.fault != ReverseFault::None) {
                faults.push_back(what + "rejected: " + r.reason);
                continue;
            }
            const auto months = MonthPillarsOfYear(p.year);
            if (std::find(months.begin(), months.end(), p.month) == months.end())
                faults.push_back(what + "month pillar not offered");
            const auto hours = HourPillarsOfDay(p.day, at23);
            if (std::find(hours.begin(), hours.end(), p.hour) == hours.end())
                faults.push_back(what + "hour pillar not offered");
            int holding = 0;
            long previousEnd = first - 2;
            for (const BirthWindow& w : r.windows) {
                const long a = Minute(w.first), b = Minute(w.last);
                if (a <= birth && birth <= b) ++holding;
                if (a > b || a <= previousEnd + 1) faults.push_back(what + "windows out of order at " + Text(a));
                previousEnd = b;
                if (!(PillarsAt(a, at23) == p) || !(PillarsAt(b, at23) == p))
                    faults.push_back(what + "window end charts otherwise: " + Text(a) + " .. " + Text(b));
                if ((a > first && PillarsAt(a - 1, at23) == p) || (b < last && PillarsAt(b + 1, at23) == p))
                    faults.push_back(what + "window too short: " + Text(a) + " .. " + Text(b));
            }
            if (holding != 1) faults.push_back(what + "in " + std::to_string(holding) + " windows");
        }
    }
    EXPECT_GT(checked, 5000);
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front();
}

TEST(ReversePillars, KnownQueries) {
    struct Case {
        Pillars pillars;
        bool at23;
        const char* first;  // "Y-M-D H:M .. Y-M-D H:M" of one expected window
    };
    auto window = [](const BirthWindow& w) {
        auto t = [](const ClockMinute& m) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d", m.date.year, m.date.month, m.date.day, m.hour,
                          m.minute);
            return std::string(buf);
        };
        return t(w.first) + " .. " + t(w.last);
    };
    const Case cases[] = {
        // 庚午 壬午 丁卯 甲辰: the 辰 hour of 1 July 1990.
        {{7, 19, 4, 41}, true, "1990-07-01 07:00 .. 1990-07-01 08:59"},
        // 立春 1984 at 23:19 on 4 February cuts the 子 hour of 己巳 (6) day:
        // under the 23点 rule 甲子 甲子-hour begins at the jie.
        {{1, 3, 6, 1}, true, "1984-02-04 23:19 .. 1984-02-05 00:59"},
        // Under the 0点 rule the late 子 hour keeps the civil day 戊辰 (5)
        // and takes its stem from 己巳: 甲子.
        {{1, 3, 5, 1}, false, "1984-02-04 23:19 .. 1984-02-04 23:59"},
        // The early 子 hour of 己巳 under the 0点 rule is 甲子 too.
        {{1, 3, 6, 1}, false, "1984-02-05 00:00 .. 1984-02-05 00:59"},
    };
    for (const Case& c : cases) {
        const ReverseResult r = ReversePillars(c.pillars, c.at23);
        std::vector<std::string> found;
        for (const BirthWindow& w : r.windows) found.push_back(window(w));
        EXPECT_NE(std::find(found.begin(), found.end(), c.first), found.end())
            << c.first << " among " << found.size() << " windows, fault: " << r.reason;
    }
}

TEST(ReversePillars, ImpossibleCombinationsNameTheirRule) {
    struct Case {
        Pillars pillars;
        bool at23;
        ReverseFault fault;
        const char* reasonHas;
    };
    const Case cases[] = {
        {{0, 19, 4, 41}, true, ReverseFault::NotAPillar, "year pillar 0"},
        {{7, 19, 4, 61}, true, ReverseFault::NotAPillar, "hour pillar 61"},
        // A 庚 year's 午 month is 壬午, not 甲午 (31).
        {{7, 31, 4, 41}, true, ReverseFault::MonthStem, "五虎遁"},
        {{7, 31, 4, 41}, true, ReverseFault::MonthStem, "壬午"},
        // A 丁 day's 辰 hour is 甲辰, not 丙辰 (53).
        {{7, 19, 4, 53}, true, ReverseFault::HourStem, "五鼠遁"},
        // 丁卯 day, 子 hour: 庚子 (37) under both rules; 壬子 (49) only as the
        // late 子 hour under the 0点 rule; 甲子 under neither.
        {{7, 19, 4, 49}, true, ReverseFault::HourStem, "庚子"},
        {{7, 19, 4, 49}, false, ReverseFault::None, ""},
        {{7, 19, 4, 37}, false, ReverseFault::None, ""},
        {{7, 19, 4, 1}, false, ReverseFault::HourStem, "壬子 from 23:00"},
        {{7, 19, 4, 1}, true, ReverseFault::HourStem, "23点"},
    };
    for (const Case& c : cases) {
        const ReverseResult r = ReversePillars(c.pillars, c.at23);
        EXPECT_EQ(r.fault, c.fault) << c.reasonHas;
        EXPECT_NE(r.reason.find(c.reasonHas), std::string::npos) << r.reason;
        if (c.fault != ReverseFault::None) EXPECT_TRUE(r.windows.empty());
        else EXPECT_FALSE(r.windows.empty());
    }
}

TEST(PillarFromName, SixtyNamesAndTheRest) {
    for (Pillar p = 1; p <= 60; ++p) EXPECT_EQ(PillarFromName(PillarName(p)).pillar, p);
    const std::pair<const char*, const char*> bad[] = {
        {"甲丑", "甲 is a yang stem and 丑 a yin branch"}, {"乙子", "乙 is a yin stem and 子 a yang branch"},
        {"甲", "no pillar"}, {"甲子子", "no pillar"}, {"", "no pillar"}, {"ab", "no pillar"}};
    for (const auto& [name, problem] : bad) {
        const NamedPillar n = PillarFromName(name);
        EXPECT_EQ(n.pillar, 0) << name;
        EXPECT_NE(n.problem.find(problem), std::string::npos) << n.problem;
    }
}

}  // namespace
}  // namespace tl
