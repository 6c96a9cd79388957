#include "analysis/attributes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "calendar/pillars.h"
#include "chart/chart.h"

namespace tl {
namespace {

TEST(TenGod, FullTableFromTheDayStem) {
    // Rows: day stem 甲..癸; columns: the other stem 甲..癸.
    const char* const kTable[10] = {
        "比劫食伤才财杀官枭印", "劫比伤食财才官杀印枭", "枭印比劫食伤才财杀官", "印枭劫比伤食财才官杀",
        "杀官枭印比劫食伤才财", "官杀印枭劫比伤食财才", "才财杀官枭印比劫食伤", "财才官杀印枭劫比伤食",
        "食伤才财杀官枭印比劫", "伤食财才官杀印枭劫比"};
    for (Stem d = 1; d <= 10; ++d) {
        std::string row;
        for (Stem x = 1; x <= 10; ++x) row += TenGodName(TenGodOf(d, x));
        EXPECT_EQ(row, kTable[d - 1]) << "day stem " << StemName(d);
    }
    EXPECT_EQ(TenGodOf(1, 0), 0);
    EXPECT_EQ(TenGodName(0), "");
    EXPECT_EQ(TenGodName(11), "");
}

TEST(GrowthStage, TableOfEveryStemAndBranch) {
    // Rows: stems 甲..癸; the stage codes over the branches 子..亥.
    const int kStages[10][12] = {
        {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1},   // 甲: 长生 in 亥
        {7, 6, 5, 4, 3, 2, 1, 12, 11, 10, 9, 8},   // 乙: 长生 in 午
        {11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},   // 丙: 长生 in 寅
        {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 12, 11},   // 丁: 长生 in 酉
        {11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},   // 戊 as 丙
        {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 12, 11},   // 己 as 丁
        {8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 7},   // 庚: 长生 in 巳
        {1, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2},   // 辛: 长生 in 子
        {5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3, 4},   // 壬: 长生 in 申
        {4, 3, 2, 1, 12, 11, 10, 9, 8, 7, 6, 5},   // 癸: 长生 in 卯
    };
    for (Stem s = 1; s <= 10; ++s) {
        std::set<int> seen;
        for (Branch b = 1; b <= 12; ++b) {
            EXPECT_EQ(GrowthStageOf(s, b), kStages[s - 1][b - 1]) << StemName(s) << BranchName(b);
            seen.insert(GrowthStageOf(s, b));
        }
        EXPECT_EQ(seen.size(), 12u) << StemName(s);
    }
    EXPECT_EQ(GrowthStageName(1), "长生");
    EXPECT_EQ(GrowthStageName(6), "衰");
    EXPECT_EQ(GrowthStageName(12), "养");
    EXPECT_EQ(GrowthStageName(0), "");
    EXPECT_EQ(GrowthStageName(13), "");
    EXPECT_EQ(GrowthStageOf(0, 1), 0);
}

TEST(SeasonalStrength, SeasonsAgainstStemElements) {
    // Rows: month branches 子..亥; columns: stems 甲..癸.
    const char* const kTable[12] = {
        "相相死死囚囚休休旺旺",  // 子: water
        "囚囚休休旺旺相相死死",  // 丑: earth
        "旺旺相相死死囚囚休休",  // 寅: wood
        "旺旺相相死死囚囚休休",  // 卯
        "囚囚休休旺旺相相死死",  // 辰
        "休休旺旺相相死死囚囚",  // 巳: fire
        "休休旺旺相相死死囚囚",  // 午
        "囚囚休休旺旺相相死死",  // 未
        "死死囚囚休休旺旺相相",  // 申: metal
        "死死囚囚休休旺旺相相",  // 酉
        "囚囚休休旺旺相相死死",  // 戌
        "相相死死囚囚休休旺旺",  // 亥
    };
    for (Branch b = 1; b <= 12; ++b) {
        std::string row;
        for (Stem s = 1; s <= 10; ++s) {
            row += StrengthName(SeasonalStrengthOf(b, s));
        }
        EXPECT_EQ(row, kTable[b - 1]) << BranchName(b);
    }
    EXPECT_EQ(SeasonalStrengthOf(1, 0), 0);
    EXPECT_EQ(StrengthName(0), "");
    EXPECT_EQ(StrengthName(6), "");
}

TEST(PillarCodes, StemsBranchesAndBack) {
    EXPECT_EQ(StemOf(60), 10);
    EXPECT_EQ(StemOf(10), 10);
    EXPECT_EQ(BranchOf(60), 12);
    EXPECT_EQ(BranchOf(13), 1);
    EXPECT_EQ(BranchOf(0), 0);
    EXPECT_EQ(PillarOf(1, 1), 1);
    EXPECT_EQ(PillarOf(1, 11), 11);
    EXPECT_EQ(PillarOf(9, 11), 59);
    EXPECT_EQ(PillarOf(2, 12), 12);
    for (Pillar p = 1; p <= 60; ++p) {
        ASSERT_EQ(PillarOf(StemOf(p), BranchOf(p)), p);
        ASSERT_EQ(std::string(StemName(StemOf(p))) + std::string(BranchName(BranchOf(p))), PillarName(p));
    }
    EXPECT_EQ(StemName(0), "  ");
    EXPECT_EQ(StemName(11), "  ");
    EXPECT_EQ(BranchName(0), "  ");
    EXPECT_EQ(BranchName(13), "  ");
}

TEST(HiddenStems, PrintedSlotOrder) {
    const char* const kNames[12] = {"癸", "癸辛己", "甲丙戊", "乙", "乙戊癸", "庚丙戊",
                                    "丁己", "乙丁己", "戊庚壬", "辛", "辛丁戊", "壬甲"};
    for (Branch b = 1; b <= 12; ++b) {
        std::string names;
        for (Stem s : HiddenStems(b))
            if (s) names += StemName(s);
        EXPECT_EQ(names, kNames[b - 1]) << BranchName(b);
    }
    EXPECT_EQ(HiddenStems(0), (std::array<Stem, 3>{0, 0, 0}));
}

TEST(Nayin, PairsOfPillars) {
    EXPECT_EQ(NayinName(1), "海中金");
    EXPECT_EQ(NayinName(2), "海中金");
    EXPECT_EQ(NayinName(3), "炉中火");
    EXPECT_EQ(NayinName(59), "大海水");
    EXPECT_EQ(NayinName(60), "大海水");
    EXPECT_EQ(NayinName(0), "");
    EXPECT_EQ(NayinName(61), "");
}

TEST(SetPillars, StemsAndBranchesOfTheFourPillars) {
    Chart c;
    c.SetPillars(1, 3, 60, 13);  // 甲子 丙寅 癸亥 丙子
    EXPECT_EQ(c.yearStem, 1);
    EXPECT_EQ(c.yearBranch, 1);
    EXPECT_EQ(c.monthStem, 3);
    EXPECT_EQ(c.monthBranch, 3);
    EXPECT_EQ(c.dayStem, 10);
    EXPECT_EQ(c.dayBranch, 12);
    EXPECT_EQ(c.hourStem, 3);
    EXPECT_EQ(c.hourBranch, 1);
}

}  // namespace
}  // namespace tl
