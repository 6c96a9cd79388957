// The clashes, combinations and harms (刑冲合害; no punishment is computed)
// between the four natal pillars themselves, and of any other pillar (a
// luck or an annual pillar) with the natal pillars and a luck pillar.
#pragma once

#include <array>
#include <cstdint>

#include "analysis/relations.h"
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

// The relations among the natal pillars: the two slots of each pairwise kind
// (by RelationKind) and the smallest branch of a three-branch combination.
struct NatalRelations {
    std::array<PairSlots, kRelationKinds> pairs{};
    Branch trio = 0;

    friend bool operator==(const NatalRelations&, const NatalRelations&) = default;
};
NatalRelations NatalRelationsOf(const Chart& chart);

// Which other pillar a luck or annual pillar is related with, by kind.
enum class RelatedPillar : std::int8_t { kNone = -1, kYear, kMonth, kDay, kHour, kLuck };

// The relations of one pillar with the natal pillars and a luck pillar: per
// pairwise kind the last pillar in the order year, month, day, hour, luck
// that stands in that relation with it, and the natal branch pairs
// (kNatalPairs, bit k for pair k) that complete a trio with its branch; the
// luck pillar takes no part in trios.
struct PillarRelations {
    std::array<RelatedPillar, kRelationKinds> with{RelatedPillar::kNone, RelatedPillar::kNone,
                                                   RelatedPillar::kNone, RelatedPillar::kNone,
                                                   RelatedPillar::kNone};
    std::uint8_t trioPairs = 0;

    friend bool operator==(const PillarRelations&, const PillarRelations&) = default;
};

// The natal side of PillarRelations worked out once per chart for every
// stem and branch, for examining many pillars.
class RelationFinder {
public:
    explicit RelationFinder(const Chart& chart);

    // The relations of `pillar` with the natal pillars and, when `luckPillar`
    // is not 0, with that luck pillar; none outside 1..60.
    PillarRelations Of(Pillar pillar, Pillar luckPillar) const;
    // The last natal pillar (0 year .. 3 hour) in relation `kind` with the
    // stem or branch `code`; -1 for none.
    int NatalPartner(RelationKind kind, int code) const { return natal_[kind][code]; }

    // For many pillars under one luck pillar: the partners of the luck
    // pillar marked once, then each pillar looked up; the same as
    // Of(pillar, luckPillar).
    void SetLuck(Pillar luckPillar);
    PillarRelations OfUnderLuck(Pillar pillar) const;

private:
    std::int8_t natal_[kRelationKinds][13];
    std::int8_t underLuck_[kRelationKinds][13];  // natal_ with the luck pillar's partners marked
    std::uint8_t trioPairs_[13] = {};
};

}  // namespace tl
