#include "calendar/names.h"

#include <array>

namespace tl {

namespace {

constexpr std::array<std::string_view, 10> kStemNames = {"甲", "乙", "丙", "丁", "戊",
                                                         "己", "庚", "辛", "壬", "癸"};
constexpr std::array<std::string_view, 12> kBranchNames = {"子", "丑", "寅", "卯", "辰", "巳",
                                                           "午", "未", "申", "酉", "戌", "亥"};
constexpr std::array<std::string_view, 60> kPillarNames = {
    "甲子", "乙丑", "丙寅", "丁卯", "戊辰", "己巳", "庚午", "辛未", "壬申", "癸酉",
    "甲戌", "乙亥", "丙子", "丁丑", "戊寅", "己卯", "庚辰", "辛巳", "壬午", "癸未",
    "甲申", "乙酉", "丙戌", "丁亥", "戊子", "己丑", "庚寅", "辛卯", "壬辰", "癸巳",
    "甲午", "乙未", "丙申", "丁酉", "戊戌", "己亥", "庚子", "辛丑", "壬寅", "癸卯",
    "甲辰", "乙巳", "丙午", "丁未", "戊申", "己酉", "庚戌", "辛亥", "壬子", "癸丑",
    "甲寅", "乙卯", "丙辰", "丁巳", "戊午", "己未", "庚申", "辛酉", "壬戌", "癸亥"};

}  // namespace

Pillar PillarOf(Stem s, Branch b) { return s >= b ? (s - b) * 6 + b : (s + 10 - b) * 6 + b; }

std::string_view StemName(Stem s) { return s >= 1 && s <= 10 ? kStemNames[s - 1] : "  "; }

std::string_view BranchName(Branch b) { return b >= 1 && b <= 12 ? kBranchNames[b - 1] : "  "; }

std::string_view PillarName(Pillar p) {
    if (p < 1 || p > 60) return {};
    return kPillarNames[p - 1];
}

}  // namespace tl
