// The vocabulary every analysis speaks: ten gods, hidden stems, the twelve
// growth stages, seasonal strength and nayin, each a pure lookup on small
// integer codes with its name.
#pragma once

#include <array>
#include <string_view>

#include "calendar/names.h"
#include "calendar/types.h"

namespace tl {

// Ten-god codes 1..10: 劫 比 伤 食 财 才 官 杀 印 枭; 0 = none.
using TenGod = int;
// Growth-stage codes 1..12: 长生 沐浴 冠带 临官 帝旺 衰 病 死 墓 绝 胎 养.
using GrowthStage = int;
// Seasonal-strength codes 1..5: 旺 相 休 囚 死; 0 = none.
using SeasonalStrength = int;

// The ten god of `other` seen from the day stem; 0 when other is 0 (an empty
// hidden-stem slot) or either code is out of range.
TenGod TenGodOf(Stem dayStem, Stem other);
// One-character name (劫 比 伤 ...); empty for any other code.
std::string_view TenGodName(TenGod g);

// The three hidden-stem slots of a branch in printed order (0 = empty slot).
std::array<Stem, 3> HiddenStems(Branch b);

GrowthStage GrowthStageOf(Stem s, Branch b);
// "长生" .. "养"; empty for any other code.
std::string_view GrowthStageName(GrowthStage g);

SeasonalStrength SeasonalStrengthOf(Branch monthBranch, Stem s);
// "旺" .. "死"; empty for any other code.
std::string_view StrengthName(SeasonalStrength s);

// "海中金" .. "大海水", one per pair of pillars; empty outside 1..60.
std::string_view NayinName(Pillar p);

}  // namespace tl
