// The clashes, combinations and harms between the four natal pillars
// themselves (刑冲合害 of the chart; no punishment is computed).
#pragma once

#include <string>

#include "calendar/types.h"

namespace tl {

struct Chart;

// Which two natal pillars stand in a relation: 1 year–month, 2 year–day,
// 3 year–hour, 4 month–day, 5 month–hour, 6 day–hour (kNatalPairs[code − 1]);
// 0 = empty slot.
using PairCode = int;

// The two report slots of one pairwise kind.
struct PairSlots {
    PairCode a = 0;
    PairCode b = 0;

    bool present() const { return a != 0 || b != 0; }
    friend bool operator==(const PairSlots&, const PairSlots&) = default;
};

// Fills the two slots of one kind over the four values (stems or branches in
// the order year, month, day, hour). Year pairs write slot A and month pairs
// slot B, the last match of each staying; the day–hour pair goes to B when A
// is filled, else to A. So at most two pairs per kind are reported.
template <typename Related>
PairSlots FillPairSlots(const int (&v)[4], Related related) {
    PairSlots s;
    if (related(v[0], v[1])) s.a = 1;
    if (related(v[0], v[2])) s.a = 2;
    if (related(v[0], v[3])) s.a = 3;
    if (related(v[1], v[2])) s.b = 4;
    if (related(v[1], v[3])) s.b = 5;
    if (related(v[2], v[3])) (s.a != 0 ? s.b : s.a) = 6;
    return s;
}

// The smallest branch of a three-branch combination (申子辰 → 子, 巳酉丑 → 丑,
// 寅午戌 → 寅, 亥卯未 → 卯) found among the four natal branches, duplicates
// allowed; 0 when there is none.
Branch NatalTrio(const int (&branches)[4]);

// The section text: a blank line, the heading and six lines, one per kind.
std::string NatalInteractionsSection(const Chart& chart);
void AppendNatalInteractionsSection(std::string& out, const Chart& chart);

}  // namespace tl
