#include "analysis/interactions.h"
#include "analysis/relations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/sections.h"
#include "support/chart_fixture.h"

namespace tl {
namespace {

using test::StemsBranches;

// Stem and branch codes by name.
int S(const char* name) {
    const std::string all = "甲乙丙丁戊己庚辛壬癸";
    return static_cast<int>(all.find(name) / 3) + 1;
}
int B(const char* name) {
    const std::string all = "子丑寅卯辰巳午未申酉戌亥";
    return static_cast<int>(all.find(name) / 3) + 1;
}

// The report's section of the natal relations.
std::string NatalInteractionsSection(const Chart& c) {
    std::string text;
    WriteNatalRelations(text, c, NatalRelationsOf(c));
    return text;
}

// The six kind lines of the section, without their labels.
std::vector<std::string> KindLines(const Chart& c) {
    const std::string text = NatalInteractionsSection(c);
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find("\r\n", start);
        if (at == std::string::npos) break;
        const std::string line = text.substr(start, at - start);
        if (line.size() > 13 && line.rfind("  ", 0) == 0 && line.find(":  ") != std::string::npos)
            out.push_back(line.substr(line.find(":  ") + 3));
        start = at + 2;
    }
    return out;
}

// The six lines of the section in their order.
enum Line { kStemClashLine, kBranchClashLine, kStemCombineLine, kBranchCombineLine, kTrioLine, kHarmLine };

TEST(NatalInteractions, HeadingAndLabels) {
    const Chart c = StemsBranches(S("甲"), S("甲"), S("甲"), S("甲"), B("子"), B("子"), B("子"), B("子"));
    EXPECT_EQ(NatalInteractionsSection(c),
              "\r\n\r\n  命局中出现的刑冲合害情况:\r\n"
              "  天干相冲:  无.\r\n  地支相冲:  无.\r\n  天干相合:  无.\r\n"
              "  地支相合:  无.\r\n  地支三合:  无.\r\n  地支相害:  无.\r\n");
}

TEST(NatalInteractions, SlotsAndTheirOverwriteOrder) {
    const struct {
        const char* what;
        Chart chart;
        int kind;
        const char* expected;
    } cases[] = {
        {"year–day in A, month–hour in B",
         StemsBranches(S("庚"), S("丙"), S("甲"), S("壬"), 1, 1, 1, 1), kStemClashLine, "庚甲相冲   丙壬相冲   "},
        {"both orders: 甲 then 庚", StemsBranches(S("甲"), S("庚"), S("乙"), S("乙"), 1, 1, 1, 1), kStemClashLine,
         "甲庚相冲   "},
        {"both orders: 庚 then 甲", StemsBranches(S("庚"), S("甲"), S("乙"), S("乙"), 1, 1, 1, 1), kStemClashLine,
         "庚甲相冲   "},
        {"庚 facing 甲 in month and hour: only year–hour stays",
         StemsBranches(S("庚"), S("甲"), S("乙"), S("甲"), 1, 1, 1, 1), kStemClashLine, "庚甲相冲   "},
        {"equal stems never clash or combine", StemsBranches(S("甲"), S("甲"), S("己"), S("己"), 1, 1, 1, 1),
         kStemClashLine, "无."},
        {"equal stems never clash or combine (combination line)",
         StemsBranches(S("甲"), S("甲"), S("甲"), S("甲"), 1, 1, 1, 1), kStemCombineLine, "无."},
        {"day–hour goes to B when A is filled",
         StemsBranches(S("甲"), S("己"), S("乙"), S("庚"), 1, 1, 1, 1), kStemCombineLine, "甲己相合   乙庚相合   "},
        {"year–month branch clash takes two spaces",
         StemsBranches(1, 1, 1, 1, B("子"), B("午"), B("寅"), B("申")), kBranchClashLine, "子午相冲  寅申相冲   "},
        {"a year–month clash overwritten by year–day takes three",
         StemsBranches(1, 1, 1, 1, B("子"), B("午"), B("午"), B("丑")), kBranchClashLine, "子午相冲   "},
        {"A empty, B a month pair: day–hour fills A and prints first",
         StemsBranches(1, 1, 1, 1, B("丑"), B("子"), B("午"), B("子")), kBranchClashLine, "午子相冲   子午相冲   "},
        {"子 and 丑 combine in any pair", StemsBranches(1, 1, 1, 1, B("寅"), B("寅"), B("子"), B("丑")),
         kBranchCombineLine, "子丑相合   "},
        {"six-combinations by sum 3 or 15", StemsBranches(1, 1, 1, 1, B("卯"), B("戌"), B("巳"), B("申")),
         kBranchCombineLine, "卯戌相合   巳申相合   "},
        {"harms by sum 9 or 21", StemsBranches(1, 1, 1, 1, B("子"), B("未"), B("酉"), B("戌")), kHarmLine,
         "子未相害   酉戌相害   "},
        {"a duplicated branch may complete a trio",
         StemsBranches(1, 1, 1, 1, B("子"), B("子"), B("辰"), B("申")), kTrioLine, "申子辰相合"},
        {"巳酉丑", StemsBranches(1, 1, 1, 1, B("酉"), B("午"), B("丑"), B("巳")), kTrioLine, "巳酉丑相合"},
        {"寅午戌", StemsBranches(1, 1, 1, 1, B("戌"), B("寅"), B("午"), B("午")), kTrioLine, "寅午戌相合"},
        {"亥卯未 with its smallest branch in the middle",
         StemsBranches(1, 1, 1, 1, B("子"), B("卯"), B("未"), B("亥")), kTrioLine, "亥卯未相合"},
        {"two of a trio are not a trio", StemsBranches(1, 1, 1, 1, B("子"), B("子"), B("辰"), B("辰")), kTrioLine,
         "无."},
    };
    for (const auto& c : cases) {
        const auto lines = KindLines(c.chart);
        ASSERT_EQ(lines.size(), 6u) << c.what;
        EXPECT_EQ(lines[c.kind], c.expected) << c.what;
    }
}

TEST(NatalInteractions, FillPairSlotsCodes) {
    auto same = [](int x, int y) { return x == y; };
    const struct {
        int v[4];
        PairSlots expected;
    } cases[] = {
        {{1, 2, 3, 4}, {0, 0}},
        {{1, 1, 3, 4}, {1, 0}},
        {{1, 1, 1, 4}, {2, 4}},
        {{1, 1, 1, 1}, {3, 6}},   // year–hour stays in A; day–hour overwrites B
        {{1, 2, 2, 2}, {6, 5}},   // month–hour stays in B; day–hour fills the empty A
        {{1, 2, 3, 3}, {6, 0}},
        {{1, 2, 3, 2}, {0, 5}},
    };
    for (const auto& c : cases) EXPECT_EQ(FillPairSlots(c.v, same), c.expected);
}

TEST(NatalInteractions, RelationTests) {
    // Clashes: 甲庚 乙辛 丙壬 丁癸, and for branches six apart.
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 10; ++y) {
            EXPECT_EQ(Related(kStemClash, x, y), x - y == 6 || y - x == 6);
            EXPECT_EQ(Related(kStemCombine, x, y), x - y == 5 || y - x == 5);
        }
    EXPECT_TRUE(Related(kStemClash, S("丁"), S("癸")));
    EXPECT_FALSE(Related(kStemClash, S("戊"), S("甲")));
    EXPECT_TRUE(Related(kStemCombine, S("戊"), S("癸")));
    EXPECT_TRUE(Related(kBranchClash, B("巳"), B("亥")));
    EXPECT_TRUE(Related(kBranchCombine, B("午"), B("未")));
    EXPECT_TRUE(Related(kBranchCombine, B("寅"), B("亥")));
    EXPECT_TRUE(Related(kBranchHarm, B("申"), B("亥")));
    EXPECT_TRUE(Related(kBranchHarm, B("卯"), B("辰")));
    EXPECT_FALSE(Related(kBranchHarm, B("子"), B("子")));
}

}  // namespace
}  // namespace tl
