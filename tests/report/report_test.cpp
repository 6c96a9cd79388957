#include "report/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/chart_fixture.h"
#include "support/report_text.h"
#include "calendar/jie.h"
#include "chart/run.h"
#include "text/utf8.h"

namespace tl {
namespace {

using namespace test;
using test::Lines;
using test::RunSolar;

// The characters [start, start + length) of UTF-8 text, counted in code
// points.
std::string CharSlice(const std::string& s, int start, int length) {
    std::size_t i = 0;
    int chars = 0;
    auto advance = [&]() {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        ++chars;
    };
    while (i < s.size() && chars < start) advance();
    const std::size_t from = i;
    while (i < s.size() && chars < start + length) advance();
    return s.substr(from, i - from);
}

// The header of a birth entered at `hour` without a birthplace.
ReportHeader Header(std::string_view name = "张三", int hour = 9) {
    ChartRequest r;
    r.hour = hour;
    return ReportHeaderOf(r, name);
}

TEST(HourLabel, BranchOfTheEnteredHour) {
    const struct {
        int hour;
        const char* label;
    } cases[] = {{0, "子时"},  {23, "子时"}, {1, "丑时"}, {2, "丑时"},  {3, "寅时"}, {11, "午时"},
                 {12, "午时"}, {21, "亥时"}, {22, "亥时"}, {24, ""}, {-1, ""}};
    for (const auto& c : cases) EXPECT_EQ(HourLabel(c.hour), c.label) << c.hour;
}

TEST(JieMoments, FirstIsTheBirthMonthsJieSecondOpensOrClosesTheSolarMonth) {
    const struct {
        Date birth;
        const char* expected;
    } cases[] = {
        // Before the month's jie: the previous month's jie opened the solar month.
        {{1985, 3, 4}, "3月5日23时16分惊蛰      2月4日5时12分立春"},
        // On the jie day itself counts as on or after it.
        {{1985, 3, 5}, "3月5日23时16分惊蛰      4月5日4时14分清明"},
        {{1985, 3, 31}, "3月5日23时16分惊蛰      4月5日4时14分清明"},
        // January before 小寒: the 大雪 of the previous December.
        {{1985, 1, 3}, "1月5日17时35分小寒      12月7日6时28分大雪"},
        {{1900, 1, 1}, "1月5日2时4分小寒      12月7日15时5分大雪"},
        {{1900, 1, 4}, "1月5日2时4分小寒      12月7日15时5分大雪"},
        // December on or after 大雪: the 小寒 of the next January.
        {{1984, 12, 7}, "12月7日6时28分大雪      1月5日17时35分小寒"},
        {{1999, 12, 25}, "12月7日21时47分大雪      1月6日9时1分小寒"},
        {{2020, 12, 20}, "12月7日0时9分大雪      1月5日11时23分小寒"},
        {{2100, 12, 31}, "12月7日9时40分大雪      1月5日21时6分小寒"},
        // December before 大雪 and January after 小寒 stay inside the year.
        {{1984, 12, 6}, "12月7日6时28分大雪      11月7日13时46分立冬"},
        {{1985, 1, 5}, "1月5日17时35分小寒      2月4日5时12分立春"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JieMomentsText(c.birth), c.expected) << c.birth.year << "-" << c.birth.month << "-" << c.birth.day;
}

TEST(ReportHeaderLines, LayoutOfTheFiveHeaderLines) {
    const Chart chart = RunSolar(1985, 3, 12, 9, 5);
    {
        const auto lines = Lines(BuildReport(chart, Header()).text);
        EXPECT_EQ(lines[0], std::string(40, ' ') + "腾岚八字排盘");
        EXPECT_EQ(lines[1], "  姓名:张三");
        EXPECT_EQ(lines[2], "  出生地点: 不考虑,不考虑");
        EXPECT_EQ(lines[3], "  出生年月: 公历:1985年3月12日9:05:00时        农历:一九八五年一月廿一日巳时");
        EXPECT_EQ(lines[4], "  交节时刻: 3月5日23时16分惊蛰      4月5日4时14分清明");
        EXPECT_EQ(lines[5], "");
        EXPECT_EQ(lines[6], "四柱:");
    }
    {
        // An empty name ends the name line right after the colon; the
        // birthplace is written as its list items; the true-solar-time
        // marker stands before "公历:".
        ChartRequest r;
        r.hour = 9;
        r.useTrueSolarTime = true;
        r.provinceIndex = 1;
        r.placeIndex = 1;
        const auto lines = Lines(BuildReport(chart, ReportHeaderOf(r, "")).text);
        EXPECT_EQ(lines[1], "  姓名:");
        EXPECT_EQ(lines[2], "  出生地点: 1北京,北京");
        EXPECT_EQ(lines[3].rfind("  出生年月: (真太阳时)公历:1985年3月12日9:05:00时", 0), 0u) << lines[3];
    }
}

TEST(ReportHeaderLines, LeapMonthAndSecondsOfACorrectedTime) {
    ChartRequest r;
    r.isSolarInput = false;
    r.year = 1984;
    r.month = 10;
    r.day = 15;
    r.isLeapMonth = true;
    r.hour = 8;
    r.minute = 30;
    Chart chart = RunCalendar(r);
    auto lines = Lines(BuildReport(chart, Header("李四", 8)).text);
    EXPECT_EQ(lines[3], "  出生年月: 公历:1984年12月7日8:30:00时        农历:一九八四年闰十月十五日辰时");
    // A corrected time carries seconds; hours never get a leading zero.
    chart.birthTime = TimeOfDay::Hms(7, 4, 9);
    lines = Lines(BuildReport(chart, Header("李四", 8)).text);
    EXPECT_NE(lines[3].find("公历:1984年12月7日7:04:09时"), std::string::npos) << lines[3];
}

TEST(RedPassages, LandExactlyOnTheDescribedLines) {
    for (const bool male : {true, false}) {
        const Chart chart = RunSolar(1968, 2, 23, 10, 10, male);
        const Report report = BuildReport(chart, Header("钱七", 10));
        const auto lines = Lines(report.text);
        ASSERT_EQ(report.red.size(), 4u);
        auto lineWith = [&](const std::string& marker) {
            for (const auto& l : lines)
                if (l.find(marker) != std::string::npos) return l;
            return std::string();
        };
        auto indexOf = [&](const std::string& marker) {
            for (std::size_t i = 0; i < lines.size(); ++i)
                if (lines[i].find(marker) != std::string::npos) return i;
            return lines.size();
        };
        // 1: from the space before 乾造/坤造 through the branches line up to
        // the ")" that closes the day void: 39 + 41 + 16 characters.
        const std::size_t stems = indexOf("造");
        ASSERT_LT(stems + 2, lines.size());
        EXPECT_EQ(CharSlice(report.text, report.red[0].start, report.red[0].length),
                  lines[stems].substr(4) + "\r\n\r\n" + lines[stems + 2]);
        EXPECT_EQ(report.red[0].length, 96);
        EXPECT_EQ(lines[stems + 2].back(), ')');
        // 2: the luck-pillar line up to the last character of the tenth name.
        const std::string luck = lineWith("大运干支");
        EXPECT_EQ(CharSlice(report.text, report.red[1].start, report.red[1].length), luck.substr(0, luck.size() - 4));
        // 3: the annual heading with its line end and the table header line.
        EXPECT_EQ(CharSlice(report.text, report.red[2].start, report.red[2].length),
                  "  排流年:\r\n" + lineWith("※神煞"));
        // 4: the last two spaces of the title line, the title and CR LF.
        EXPECT_EQ(report.red[3], (TextRange{38, 10}));
        EXPECT_EQ(CharSlice(report.text, 38, 10), "  腾岚八字排盘\r\n");
    }
}

TEST(RedPassages, CountCharactersNotBytesAndCrLfAsTwo) {
    const Chart chart = RunSolar(1985, 3, 12, 9, 5);
    const Report wide = BuildReport(chart, Header("张三丰", 9));
    const Report narrow = BuildReport(chart, Header("Zha", 9));
    const Report longer = BuildReport(chart, Header("Zhang", 9));
    // Three Chinese characters move the passages after the name by three
    // positions, like three ASCII letters, though they take nine bytes.
    ASSERT_EQ(wide.red.size(), 4u);
    ASSERT_EQ(narrow.red.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(wide.red[i], narrow.red[i]) << i;
    // The space before 乾造 is character 222: the title line (46 + 2), the
    // name line (8 + 2), the place line (15 + 2), the date line (52 + 2),
    // the jie line (37 + 2), an empty line (2), "四柱:" (3 + 2), the ten-god
    // line (39 + 2), an empty line (2) and the four spaces before it.
    EXPECT_EQ(wide.red[0], (TextRange{222, 96}));
    EXPECT_EQ(longer.red[0], (TextRange{224, 96}));
}

TEST(RedPassages, FirstOccurrenceOfTheMarkerEvenInTheName) {
    // The marker is searched in the whole text: a name holding "造" takes
    // the first passage onto the name line.
    const Chart chart = RunSolar(1985, 3, 12, 9, 5);
    const Report report = BuildReport(chart, Header("王造", 9));
    ASSERT_EQ(report.red.size(), 4u);
    // "  姓名:王造" follows the 51-character title line with its line end.
    const int nameLineStart = 40 + 6 + 2;
    EXPECT_EQ(report.red[0].start, nameLineStart + 6 - 2);  // 造 is the 7th character of the line
}

TEST(RedPassages, SameAsSearchingTheWholeTextForManyCharts) {
    // The first occurrence of each marker, searched the plain way over the
    // whole text, for varied births and names (some holding a marker).
    const char* names[] = {"张三", "", "王造", "大运干支", "腾岚", "排流年先生", "  李 四  "};
    const struct {
        std::string_view marker;
        int length;
    } markers[] = {{"造", 96}, {"大运干支", 66}, {"排流年", 68}, {"腾岚", 10}};
    unsigned seed = 99;
    auto next = [&](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int i = 0; i < 300; ++i) {
        ChartRequest r;
        r.isMale = next(2) == 0;
        r.isSolarInput = next(3) != 0;
        r.year = 1900 + static_cast<int>(next(121));
        r.month = 1 + static_cast<int>(next(12));
        r.day = 1 + static_cast<int>(next(31));
        r.hour = static_cast<int>(next(24));
        r.minute = static_cast<int>(next(60));
        const Chart chart = RunCalendar(r);
        const Report report = BuildReport(chart, Header(names[i % std::size(names)], r.hour));
        std::vector<TextRange> expected;
        const long total = static_cast<long>(Utf8Length(report.text));
        for (const auto& m : markers) {
            const std::size_t at = report.text.find(m.marker);
            if (at == std::string::npos) continue;
            const long start = std::max<long>(0, static_cast<long>(Utf8Length(report.text.substr(0, at))) - 2);
            expected.push_back({static_cast<int>(start), static_cast<int>(std::min<long>(m.length, total - start))});
        }
        ASSERT_EQ(report.red, expected) << i << " " << names[i % std::size(names)];
    }
}

TEST(ReportHeaderLines, LateZiHourInALeapLunarMonth) {
    // 15 July 1990 is 闰五月廿三; the entered hour 23 moves the lunar date
    // on to 廿四. The birth lies after 小暑 (7 July 17:00), so the second jie
    // is the next month's 立秋 (8 August 2:46).
    const auto lines = Lines(BuildReport(RunSolar(1990, 7, 15, 23, 30), Header("x", 23)).text);
    EXPECT_EQ(lines[3], "  出生年月: 公历:1990年7月15日23:30:00时        农历:一九九零年闰五月廿四日子时");
    EXPECT_EQ(lines[4], "  交节时刻: 7月7日17时0分小暑      8月8日2时46分立秋");
}

TEST(ReportHeaderLines, TheMidnightZiRuleIsNamedOnTheBirthLine) {
    // With the day changing at 0:00 the late 子 hour keeps the civil day and
    // its lunar date, and the birth line says which rule made the chart;
    // the default rule adds nothing (the test above).
    ChartRequest r = test::SolarRequest(1990, 7, 15, 23, 30, true);
    r.ziDayChange = ZiDayChange::kAtMidnight;
    const auto lines = Lines(BuildReport(RunCalendar(r), Header("x", 23)).text);
    EXPECT_EQ(lines[3],
              "  出生年月: 公历:1990年7月15日23:30:00时        农历:一九九零年闰五月廿三日子时(子时按0点换日)");
}

TEST(ReportHeaderLines, DaylightSavingNoteAfterTheTime) {
    ChartRequest r = test::SolarRequest(1988, 7, 10, 0, 30, true);
    r.applyDaylightSaving = true;
    const auto applied = Lines(BuildReport(RunCalendar(r), Header("x", 0)).text);
    EXPECT_EQ(applied[3], "  出生年月: 公历:1988年7月9日23:30:00时(已减夏令时1小时)        农历:一九八八年五月廿七日子时");
    // Not applied, or not in effect: the line is as always.
    r.applyDaylightSaving = false;
    EXPECT_EQ(Lines(BuildReport(RunCalendar(r), Header("x", 0)).text)[3],
              "  出生年月: 公历:1988年7月10日0:30:00时        农历:一九八八年五月廿七日子时");
    r = test::SolarRequest(1988, 1, 10, 0, 30, true);
    r.applyDaylightSaving = true;
    EXPECT_EQ(Lines(BuildReport(RunCalendar(r), Header("x", 0)).text)[3],
              "  出生年月: 公历:1988年1月10日0:30:00时        农历:一九八七年十一月廿一日子时");
}

TEST(ReportHeaderLines, NearJieLineAfterTheJieMoments) {
    // 立春 1984 fell on 4 February at 23:19; 惊蛰 1985 on 5 March at 23:16.
    const struct {
        Date birth;
        int hour, minute;
        const char* line;  // empty: no line, the blank line follows the jie moments
        const char* json;  // the term and minutes, or empty
    } cases[] = {
        {{1984, 2, 4}, 23, 5, "  临近交节: 出生时刻在立春前14分钟,月柱和年柱在此更换,请核实出生时间", "立春 -14"},
        {{1984, 2, 4}, 23, 30, "  临近交节: 出生时刻在立春后11分钟,月柱和年柱在此更换,请核实出生时间", "立春 11"},
        {{1984, 2, 4}, 23, 19, "  临近交节: 出生时刻在立春交节的同一分钟,月柱和年柱在此更换,请核实出生时间", "立春 0"},
        {{1984, 2, 4}, 23, 40, "", ""},
        {{1984, 2, 4}, 23, 3, "", ""},
        {{1985, 3, 5}, 23, 1, "  临近交节: 出生时刻在惊蛰前15分钟,月柱在此更换,请核实出生时间", "惊蛰 -15"},
        {{1985, 3, 5}, 23, 0, "", ""},
        {{1985, 3, 4}, 23, 16, "", ""},
    };
    for (const auto& c : cases) {
        const Chart chart = RunSolar(c.birth.year, c.birth.month, c.birth.day, c.hour, c.minute);
        const Report report = BuildReport(chart, Header("x", c.hour));
        const auto lines = Lines(report.text);
        const std::string at = std::to_string(c.birth.month) + "-" + std::to_string(c.birth.day) + " " +
                               std::to_string(c.hour) + ":" + std::to_string(c.minute);
        EXPECT_EQ(lines[4].rfind("  交节时刻: ", 0), 0u) << at;
        const std::size_t blank = *c.line ? 6 : 5;
        if (*c.line) {
            EXPECT_EQ(lines[5], c.line) << at;
        }
        EXPECT_EQ(lines[blank], "") << at;
        EXPECT_EQ(lines[blank + 1], "四柱:") << at;
        const auto near = NearJieOf(chart.BirthDate(), chart.birthTime);
        EXPECT_EQ(near ? std::string(JieName(near->term)) + " " + std::to_string(near->minutes) : "", c.json) << at;
        // The red passages still start on their lines.
        EXPECT_EQ(CharSlice(report.text, report.red[0].start, 3), " 乾造") << at;
    }
}

}  // namespace
}  // namespace tl
