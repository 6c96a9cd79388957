// The relations between stems and between branches that the report lists:
// clashes, combinations and harms of two codes, and the three-branch
// combinations (三合). Each rule is stated here once; the natal interactions
// and the relations of the luck and annual pillars both read it.
#pragma once

#include <array>
#include <string_view>
#include <utility>

namespace tl {

// The pairwise relation kinds, in the order the annual relations list them.
enum RelationKind { kStemClash, kBranchClash, kStemCombine, kBranchCombine, kBranchHarm, kRelationKinds };

// One pairwise kind: which codes it relates and the words that report it.
struct RelationRule {
    // Stems (1..10) or branches (1..12).
    bool onStems;
    // Two codes are related when they lie `apart` from each other either way,
    // or, when `apart` is 0, when they sum to one of `sums`.
    int apart;
    std::array<int, 2> sums;
    // The natal interactions: the line's label and the word after a pair;
    // a year–month pair takes `yearMonthWord`.
    std::string_view natalLabel;
    std::string_view pairWord;
    std::string_view yearMonthWord;
    // A luck or annual pillar: the word naming the other pillar, by year,
    // month, day, hour, luck.
    std::array<std::string_view, 5> pillarWords;
};

// Stems six apart clash (甲庚 乙辛 丙壬 丁癸) and five apart combine (甲己 乙庚
// 丙辛 丁壬 戊癸); branches six apart clash (子午 丑未 寅申 卯酉 辰戌 巳亥),
// summing to 3 or 15 combine (子丑 寅亥 卯戌 辰酉 巳申 午未), summing to 9 or
// 21 harm (子未 丑午 寅巳 卯辰 申亥 酉戌). In the natal lines a clash of the
// year and month branches is followed by two spaces only.
inline constexpr std::array<RelationRule, kRelationKinds> kRelationRules = {{
    {true, 6, {0, 0}, "  天干相冲:  ", "相冲   ", "相冲   ", {"冲年", "冲月", "冲日", "冲时", "冲运"}},
    {false, 6, {0, 0}, "  地支相冲:  ", "相冲   ", "相冲  ", {"冲年", "冲月", "冲日", "冲时", "冲运"}},
    {true, 5, {0, 0}, "  天干相合:  ", "相合   ", "相合   ", {"合年", "合月", "合日", "合时", "合运"}},
    {false, 0, {3, 15}, "  地支相合:  ", "相合   ", "相合   ", {"合年", "合月", "合日", "合时", "合运"}},
    {false, 0, {9, 21}, "  地支相害:  ", "相害   ", "相害   ", {"害年", "害月", "害日", "害时", "害运"}},
}};

// The two codes that stand in the relation `kind` with y, whether in range
// or not.
constexpr std::array<int, 2> Partners(RelationKind kind, int y) {
    const RelationRule& r = kRelationRules[kind];
    if (r.apart != 0) return {y - r.apart, y + r.apart};
    return {r.sums[0] - y, r.sums[1] - y};
}

// Whether x and y stand in the relation `kind`; equal codes never do.
constexpr bool Related(RelationKind kind, int x, int y) {
    const std::array<int, 2> p = Partners(kind, y);
    return x == p[0] || x == p[1];
}

// Three branches form a trio when, sorted ascending, each is four above the
// previous one: 申子辰, 巳酉丑, 寅午戌, 亥卯未.
constexpr bool FormTrio(int a, int b, int c) {
    if (a > b) std::swap(a, b);
    if (b > c) std::swap(b, c);
    if (a > b) std::swap(a, b);
    return b - a == 4 && c - b == 4;
}

// The natal text of a trio, by its smallest branch 子 丑 寅 卯 (1..4).
inline constexpr std::array<std::string_view, 4> kTrioTexts = {"申子辰相合", "巳酉丑相合", "寅午戌相合",
                                                               "亥卯未相合"};

// The pairs of natal pillars (0 year .. 3 hour) in the order they are
// examined: year–month, year–day, year–hour, month–day, month–hour, day–hour.
inline constexpr int kNatalPairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};

}  // namespace tl
