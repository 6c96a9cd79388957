// Whole reports compared byte for byte with files checked by eye against the
// layout rules (columns counted, pillars, stars and relations verified).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "calendar/names.h"
#include "report/html.h"
#include "report/markdown.h"
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

ChartRequest RequestOf(const GoldenCase& g) {
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
    return r;
}

// The characters [start, start + length) of a text, its CR LF as LF.
std::string Passage(const std::string& text, int start, int length) {
    std::string s = Utf8Left(text, static_cast<std::size_t>(start + length));
    s.erase(0, Utf8Left(text, static_cast<std::size_t>(start)).size());
    std::string out;
    for (char c : s)
        if (c != '\r') out += c;
    return out;
}

// The text of an HTML fragment: tags left out, the three entities read.
std::string TextOf(std::string_view html) {
    std::string out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '<') {
            i = html.find('>', i);
            continue;
        }
        if (html[i] == '&') {
            const std::size_t end = html.find(';', i);
            const std::string_view entity = html.substr(i, end + 1 - i);
            out += entity == "&lt;" ? "<" : entity == "&gt;" ? ">" : entity == "&amp;" ? "&" : "?";
            i = end;
            continue;
        }
        out += html[i];
    }
    return out;
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, ReportMatchesFileByteForByte) {
    const GoldenCase& g = GetParam();
    const ChartRequest r = RequestOf(g);
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

TEST_P(Golden, HtmlPageAndMarkdownCarryTheReportAndTheValues) {
    const GoldenCase& g = GetParam();
    const ChartRequest r = RequestOf(g);
    const Chart chart = RunCalendar(r);
    const NatalTable natal = NatalTableOf(chart);
    const LuckTimeline luck = LuckTimelineOf(chart);
    const ReportHeader header = ReportHeaderOf(r, g.name);
    const Report report = BuildReport(chart, natal, luck, header);

    // The page: self-contained, its block's text the report's lines, its
    // red spans the four passages.
    const std::string html = ReportHtml(report, "腾岚八字排盘", Script::kHans);
    for (const char* outside : {"<script", "http:", "https:", "src=", "url(", "@import", "<link"})
        EXPECT_EQ(html.find(outside), std::string::npos) << g.file << ": " << outside;
    const std::size_t pre = html.find("<pre>");
    const std::size_t preEnd = html.find("</pre>");
    ASSERT_TRUE(pre != std::string::npos && preEnd != std::string::npos) << g.file;
    const std::string_view block = std::string_view(html).substr(pre + 5, preEnd - pre - 5);
    EXPECT_EQ(TextOf(block), Passage(report.text, 0, static_cast<int>(Utf8Length(report.text)))) << g.file;
    std::vector<std::string> spans;
    const std::string_view open = "<span class=\"red\">";
    for (std::size_t at = block.find(open); at != std::string::npos; at = block.find(open, at + 1))
        spans.push_back(TextOf(block.substr(at + open.size(), block.find("</span>", at) - at - open.size())));
    ASSERT_EQ(spans.size(), 4u) << g.file;
    // The spans stand in text order, the passages in colouring order (the
    // title's last).
    std::vector<TextRange> byStart = report.red;
    std::sort(byStart.begin(), byStart.end(), [](TextRange a, TextRange b) { return a.start < b.start; });
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(spans[i], Passage(report.text, byStart[i].start, byStart[i].length)) << g.file << " span " << i;

    // The Markdown: the pillars with their ten gods, and one row per annual
    // year with its age and pillar, in order.
    const std::string md = ChartMarkdown(r, header, chart, natal, luck);
    std::string pillars = "| 干支 |";
    std::string tenGods = "| 十神 |";
    for (std::size_t i = 0; i < 4; ++i) {
        pillars.append(" ").append(PillarName(natal.pillars[i].pillar)).append(" |");
        tenGods.append(" ").append(i == 2 ? "日" : TenGodName(natal.pillars[i].tenGod)).append(" |");
    }
    EXPECT_NE(md.find(pillars + "\n"), std::string::npos) << g.file << "\n" << md;
    EXPECT_NE(md.find(tenGods + "\n"), std::string::npos) << g.file << "\n" << md;
    std::size_t at = md.find("## 流年");
    ASSERT_NE(at, std::string::npos) << g.file;
    for (const AnnualYear& y : luck.annual) {
        const std::string row = "\n| " + std::to_string(y.age) + " | " + std::to_string(y.year) + " | " +
                                std::string(PillarName(y.pillar)) + " | ";
        at = md.find(row, at);
        ASSERT_NE(at, std::string::npos) << g.file << ": " << row;
    }
    EXPECT_EQ(md.find('<'), std::string::npos) << g.file;  // no HTML
}

INSTANTIATE_TEST_SUITE_P(Reports, Golden, ::testing::ValuesIn(kGoldens),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.file); });

}  // namespace
}  // namespace tl
