// The relations between stems and between branches: clashes, combinations
// and harms of two codes, and the three-branch combinations (三合). Each
// rule is stated here once; the natal interactions and the relations of the
// luck and annual pillars both read it.
#pragma once

#include <array>
#include <utility>

namespace tl {

// The pairwise relation kinds, in the order the annual relations list them.
enum RelationKind { kStemClash, kBranchClash, kStemCombine, kBranchCombine, kBranchHarm, kRelationKinds };

// One pairwise kind: which codes it relates.
struct RelationRule {
    // Stems (1..10) or branches (1..12).
    bool onStems;
    // Two codes are related when they lie `apart` from each other either way,
    // or, when `apart` is 0, when they sum to one of `sums`.
    int apart;
    std::array<int, 2> sums;
};

// Stems six apart clash (甲庚 乙辛 丙壬 丁癸) and five apart combine (甲己 乙庚
// 丙辛 丁壬 戊癸); branches six apart clash (子午 丑未 寅申 卯酉 辰戌 巳亥),
// summing to 3 or 15 combine (子丑 寅亥 卯戌 辰酉 巳申 午未), summing to 9 or
// 21 harm (子未 丑午 寅巳 卯辰 申亥 酉戌).
inline constexpr std::array<RelationRule, kRelationKinds> kRelationRules = {{
    {true, 6, {0, 0}},
    {false, 6, {0, 0}},
    {true, 5, {0, 0}},
    {false, 0, {3, 15}},
    {false, 0, {9, 21}},
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

// The pairs of natal pillars (0 year .. 3 hour) in the order they are
// examined: year–month, year–day, year–hour, month–day, month–hour, day–hour.
inline constexpr int kNatalPairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};

}  // namespace tl
