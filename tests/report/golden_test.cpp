// Whole reports compared byte for byte with files checked by eye against the
// layout rules (columns counted, pillars, stars and relations verified).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "report/report.h"
#include "chart/run.h"
#include "text/utf8.h"

namespace tl {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct GoldenCase {
    const char* file;
    const char* why;
    const char* name;  // as typed
    bool male;
    bool solar;
    int year, month, day;
    bool leap;
    int hour, minute;
    int province = 0;  // birthplace list positions; 0 = "不考虑"
    int place = 1;
    bool trueSolar = false;
};

// Each birth is here for a reason of its own.
const GoldenCase kGoldens[] = {
    {"male_gregorian_1985", "male, Gregorian; handover 31 March + 1 month clamps to 30 April; 魁罡贵人",
     "张三", true, true, 1985, 3, 12, false, 9, 5},
    {"female_leap_lunar_1984", "female 坤造, lunar 闰十月; jie line wraps to the next year's 小寒",
     "李四", false, false, 1984, 10, 15, true, 8, 30},
    {"hour23_handover_next_day", "entered hour 23 (子时, late 子 day); 23 + 22 start hours = 21 h the next day; "
     "three-digit age 100; name with blanks kept as typed",
     " 王 五 ", false, true, 1998, 8, 3, false, 23, 53},
    {"january_before_xiaohan_1900", "January birth before 小寒: second jie is 大雪 of December 1899; "
     "handover hour exactly 24 stays; month pillar equals day pillar (natal exclusions by index)",
     "赵六", true, true, 1900, 1, 3, false, 10, 0},
    {"december_after_daxue_1999", "December birth after 大雪: second jie is 小寒 of January 2000; empty name; "
     "亥卯未 trio", "", false, true, 1999, 12, 25, false, 14, 30},
    {"rich_relations_and_stars", "every relation kind but the trio with two slots, year–month clash with two "
     "spaces, 十恶大败 and 阴差阳错", "钱七", true, true, 1968, 2, 23, false, 10, 10},
    {"start_age_ten_years", "start age 10 years: ages 11 .. 101, luck lines after ages 20 .. 100",
     "孙八", false, true, 1953, 6, 6, false, 8, 48},
    {"true_solar_beijing", "true solar time in 北京 moves 9:05 to 8:41:11 and the hour pillar from 巳 to 辰; "
     "the life palace and the hour label keep the entered 巳 hour", "周九", true, true, 1985, 3, 12, false, 9, 5,
     1, 1, true},
    {"last_day_2100_late_zi", "the calendar's last day at 23:30: lunar 十二月初二 of 2100, the second jie and the "
     "forward luck count in January 2101, annual pillars 2102 .. 2192", "吴十", true, true, 2100, 12, 31, false, 23, 30},
};

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, ReportMatchesFileByteForByte) {
    const GoldenCase& g = GetParam();
    ChartRequest r;
    r.personName = Trim(g.name);
    r.isMale = g.male;
    r.isSolarInput = g.solar;
    r.year = g.year;
    r.month = g.month;
    r.day = g.day;
    r.isLeapMonth = g.leap;
    r.hour = g.hour;
    r.minute = g.minute;
    r.provinceIndex = g.province;
    r.placeIndex = g.place;
    r.useTrueSolarTime = g.trueSolar;
    const Chart chart = RunCalendar(r);
    const Report report = BuildReport(chart, ReportHeaderOf(r, g.name));

    const std::string expected = ReadFile(std::string(TENGLAN_TEST_DATA_DIR) + "/golden/" + g.file + ".txt");
    ASSERT_FALSE(expected.empty()) << g.file;
    EXPECT_EQ(report.text, expected) << g.file << ": " << g.why;

    // Every line ends in CR LF; no bare LF or CR anywhere.
    for (std::size_t i = 0; i < report.text.size(); ++i) {
        if (report.text[i] == '\n') {
            ASSERT_TRUE(i > 0 && report.text[i - 1] == '\r') << g.file << " at " << i;
        }
        if (report.text[i] == '\r') {
            ASSERT_TRUE(i + 1 < report.text.size() && report.text[i + 1] == '\n') << g.file << " at " << i;
        }
    }
    // A report is 170 lines: 5 header lines, a blank line, the sections.
    std::size_t lines = 1;
    for (char ch : report.text) lines += ch == '\n';
    EXPECT_EQ(lines, 170u) << g.file;
    EXPECT_EQ(report.red.size(), 4u) << g.file;
}

INSTANTIATE_TEST_SUITE_P(Reports, Golden, ::testing::ValuesIn(kGoldens),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.file); });

}  // namespace
}  // namespace tl
