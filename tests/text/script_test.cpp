// Traditional characters: the chart's terms, and whole reports that keep
// their columns and convert back to the simplified report.
#include <gtest/gtest.h>

#include <opencc/SimpleConverter.hpp>

#include <string>

#include "chart/run.h"
#include "place/gazetteer.h"
#include "report/report.h"
#include "support/chart_fixture.h"
#include "text/script.h"
#include "text/utf8.h"

namespace tl {
namespace {

TEST(ToScript, ChartTermsAndEverydayWords) {
    const struct {
        const char* hans;
        const char* hant;
    } table[] = {
        {"藏干   戊官", "藏干   戊官"},                         // the stem, not 幹
        {"干旺   [死]", "干旺   [死]"},
        {"大运干支:   乙卯", "大運干支:   乙卯"},
        {"(日空:子丑)", "(日空:子丑)"},                     // the branch, not 醜
        {"寅冲年申  癸冲时丁", "寅沖年申  癸沖時丁"},         // the clash, as in 相沖
        {"天干相冲:  癸丁相冲", "天干相沖:  癸丁相沖"},
        {"公历:1968年2月23日", "公曆:1968年2月23日"},
        {"起运后3年又9个月", "起運後3年又9個月"},
        {"纳音  [剑锋金]", "納音  [劍鋒金]"},
        {"十恶大败  阴差阳错", "十惡大敗  陰差陽錯"},
        {"", ""},
        {"ASCII only\r\n", "ASCII only\r\n"},
    };
    for (const auto& c : table) {
        EXPECT_EQ(ToScript(c.hans, Script::kHant), c.hant) << c.hans;
        EXPECT_EQ(ToScript(c.hans, Script::kHans), c.hans) << c.hans;
    }
    // Not UTF-8: left alone.
    EXPECT_EQ(ToScript("\xB0\xA1\xC7\xF8", Script::kHant), "\xB0\xA1\xC7\xF8");
    EXPECT_EQ(ScriptFromName("hant"), Script::kHant);
    EXPECT_EQ(ScriptFromName("hans"), Script::kHans);
    EXPECT_EQ(ScriptFromName("Hant"), std::nullopt);
}

TEST(ToScript, RandomReportsKeepTheirColumnsAndConvertBack) {
    // OpenCC's own traditional-to-simplified conversion of the traditional
    // report gives the simplified report back, line for line, and every
    // line keeps its width; births, names and birthplaces vary.
    const opencc::SimpleConverter back("t2s.json");
    const char* names[] = {"张三", "", "欧阳发财", "钟丽华", "  李 四  ", "Tom 王"};
    unsigned seed = 2024;
    auto next = [&](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int i = 0; i < 300; ++i) {
        ChartRequest r;
        r.isMale = next(2) == 0;
        r.isSolarInput = next(3) != 0;
        r.year = 1900 + static_cast<int>(next(200));
        r.month = 1 + static_cast<int>(next(12));
        r.day = 1 + static_cast<int>(next(28));
        r.hour = static_cast<int>(next(24));
        r.minute = static_cast<int>(next(60));
        r.provinceIndex = static_cast<int>(next(35));
        r.placeIndex = r.provinceIndex == 0 ? 1 : 1 + static_cast<int>(next(PlaceCount(r.provinceIndex)));
        r.useTrueSolarTime = r.provinceIndex != 0 && next(2) == 0;
        const std::string name = names[i % std::size(names)];
        r.personName = Trim(name);
        const Report report = BuildReport(RunCalendar(r), ReportHeaderOf(r, name));
        const std::string hant = ToScript(report.text, Script::kHant);
        ASSERT_NE(hant, report.text) << i;
        const auto lines = test::Lines(report.text);
        const auto hantLines = test::Lines(hant);
        ASSERT_EQ(hantLines.size(), lines.size()) << i;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            ASSERT_EQ(DisplayWidth(hantLines[k]), DisplayWidth(lines[k])) << i << " line " << k << ": " << hantLines[k];
            ASSERT_EQ(Utf8Length(hantLines[k]), Utf8Length(lines[k])) << i << " line " << k;
        }
        ASSERT_EQ(back.Convert(hant), report.text) << i;
    }
}

}  // namespace
}  // namespace tl
