// The sexagenary vocabulary: stems 1..10 (甲 .. 癸), branches 1..12 (子 ..
// 亥) and pillars 1..60 (甲子 .. 癸亥), the stem and branch of a pillar and
// back, and their names. Every lookup answers an argument outside its range
// with a neutral value instead of failing.
#pragma once

#include <string_view>

#include "calendar/types.h"

namespace tl {

// The stem of a pillar: p mod 10, 0 read as 10.
inline Stem StemOf(Pillar p) {
    const int s = p % 10;
    return s == 0 ? 10 : s;
}
// The branch of a pillar: p mod 12, 0 read as 12; 0 for p below 1.
inline Branch BranchOf(Pillar p) { return p < 1 ? 0 : (p - 1) % 12 + 1; }
// The pillar of a stem and branch of equal parity.
Pillar PillarOf(Stem s, Branch b);

// "甲" .. "癸"; two spaces for any other code.
std::string_view StemName(Stem s);
// "子" .. "亥"; two spaces for any other code.
std::string_view BranchName(Branch b);

// "甲子" for 1 .. "癸亥" for 60; empty for any other value.
std::string_view PillarName(Pillar p);

}  // namespace tl
