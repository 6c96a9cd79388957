#include "analysis/interactions.h"

#include <algorithm>
#include <cstring>

#include "calendar/names.h"
#include "chart/chart.h"

namespace tl {

Branch NatalTrio(const int (&branches)[4]) {
    // Each way of taking three of the four branches; the trios share no
    // branch, so at most one trio is found, possibly more than once when a
    // branch is duplicated.
    bool found = false;
    Branch smallest = 0;
    for (int skip = 0; skip < 4; ++skip) {
        int t[3];
        for (int i = 0, k = 0; i < 4; ++i)
            if (i != skip) t[k++] = branches[i];
        if (!FormTrio(t[0], t[1], t[2])) continue;
        const Branch low = std::min({t[0], t[1], t[2]});
        if (!found || low < smallest) smallest = low;
        found = true;
    }
    return smallest;
}

NatalRelations NatalRelationsOf(const Chart& c) {
    const int stems[4] = {c.yearStem, c.monthStem, c.dayStem, c.hourStem};
    const int branches[4] = {c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch};
    NatalRelations r;
    for (int k = 0; k < kRelationKinds; ++k) {
        const auto kind = static_cast<RelationKind>(k);
        const int(&v)[4] = kRelationRules[kind].onStems ? stems : branches;
        r.pairs[kind] = FillPairSlots(v, [kind](int x, int y) { return Related(kind, x, y); });
    }
    r.trio = NatalTrio(branches);
    return r;
}

RelationFinder::RelationFinder(const Chart& c) {
    const int stems[4] = {c.yearStem, c.monthStem, c.dayStem, c.hourStem};
    const int branches[4] = {c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch};
    // Each natal value marks the values in relation with it, year first, so
    // that the last pillar stays.
    for (auto& kind : natal_)
        for (auto& pillar : kind) pillar = -1;
    for (int k = 0; k < kRelationKinds; ++k) {
        const auto kind = static_cast<RelationKind>(k);
        const RelationRule& rule = kRelationRules[kind];
        const int(&natal)[4] = rule.onStems ? stems : branches;
        const int last = rule.onStems ? 10 : 12;
        for (int i = 0; i < 4; ++i)
            for (int x : Partners(kind, natal[i]))
                if (x >= 1 && x <= last) natal_[kind][x] = static_cast<std::int8_t>(i);
    }
    // Three-branch combinations with pairs of natal branches.
    for (Branch b = 1; b <= 12; ++b)
        for (int k = 0; k < 6; ++k)
            if (FormTrio(b, branches[kNatalPairs[k][0]], branches[kNatalPairs[k][1]])) trioPairs_[b] |= 1u << k;
    std::memcpy(underLuck_, natal_, sizeof natal_);  // no luck pillar yet
}

PillarRelations RelationFinder::Of(Pillar p, Pillar luck) const {
    PillarRelations r;
    const Stem s = StemOf(p);
    const Branch b = BranchOf(p);
    if (s < 1 || s > 10 || b < 1 || b > 12) return r;
    const Stem ls = luck != 0 ? StemOf(luck) : 0;
    const Branch lb = luck != 0 ? BranchOf(luck) : 0;
    // Unrolled, so that each kind's rule is folded in.
#pragma GCC unroll 5
    for (int k = 0; k < kRelationKinds; ++k) {
        const auto kind = static_cast<RelationKind>(k);
        const bool onStems = kRelationRules[kind].onStems;
        // A match with the luck pillar, the last in order, hides the natal
        // one.
        if (luck != 0 && Related(kind, onStems ? ls : lb, onStems ? s : b)) {
            r.with[kind] = RelatedPillar::kLuck;
        } else {
            r.with[kind] = static_cast<RelatedPillar>(natal_[kind][onStems ? s : b]);
        }
    }
    r.trioPairs = trioPairs_[b];
    return r;
}

void RelationFinder::SetLuck(Pillar luck) {
    std::memcpy(underLuck_, natal_, sizeof natal_);
    if (luck < 1 || luck > 60) return;
    for (int k = 0; k < kRelationKinds; ++k) {
        const auto kind = static_cast<RelationKind>(k);
        const bool onStems = kRelationRules[kind].onStems;
        const int last = onStems ? 10 : 12;
        // A match with the luck pillar, the last in order, hides the natal
        // one.
        for (int x : Partners(kind, onStems ? StemOf(luck) : BranchOf(luck)))
            if (x >= 1 && x <= last) underLuck_[kind][x] = static_cast<std::int8_t>(RelatedPillar::kLuck);
    }
}

PillarRelations RelationFinder::OfUnderLuck(Pillar p) const {
    PillarRelations r;
    const Stem s = StemOf(p);
    const Branch b = BranchOf(p);
    if (s < 1 || s > 10 || b < 1 || b > 12) return r;
#pragma GCC unroll 5
    for (int k = 0; k < kRelationKinds; ++k)
        r.with[static_cast<std::size_t>(k)] =
            static_cast<RelatedPillar>(underLuck_[k][kRelationRules[static_cast<std::size_t>(k)].onStems ? s : b]);
    r.trioPairs = trioPairs_[b];
    return r;
}

}  // namespace tl
