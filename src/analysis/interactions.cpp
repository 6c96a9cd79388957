#include "analysis/interactions.h"

#include <algorithm>
#include <string_view>

#include "analysis/attributes.h"
#include "analysis/relations.h"
#include "text/text_build.h"
#include "calendar/chart.h"

namespace tl {

namespace {

void AppendSlot(std::string& out, PairCode code, const RelationRule& rule, const int (&v)[4]) {
    if (code == 0) return;
    const auto name = rule.onStems ? StemName : BranchName;
    out += name(v[kNatalPairs[code - 1][0]]);
    out += name(v[kNatalPairs[code - 1][1]]);
    out += code == 1 ? rule.yearMonthWord : rule.pairWord;
}

// One line of a pairwise kind: its label, then slot A and slot B, or "无.".
void AppendKind(std::string& out, RelationKind kind, const int (&stems)[4], const int (&branches)[4]) {
    const RelationRule& rule = kRelationRules[kind];
    const int(&v)[4] = rule.onStems ? stems : branches;
    const PairSlots s = FillPairSlots(v, [kind](int x, int y) { return Related(kind, x, y); });
    out += rule.natalLabel;
    if (!s.present()) {
        out += "无.";
    } else {
        AppendSlot(out, s.a, rule, v);
        AppendSlot(out, s.b, rule, v);
    }
    out += kCrLf;
}

}  // namespace

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

void AppendNatalInteractionsSection(std::string& out, const Chart& c) {
    const int stems[4] = {c.yearStem, c.monthStem, c.dayStem, c.hourStem};
    const int branches[4] = {c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch};

    out += kCrLf;
    out += kCrLf;
    out += "  命局中出现的刑冲合害情况:";
    out += kCrLf;
    AppendKind(out, kStemClash, stems, branches);
    AppendKind(out, kBranchClash, stems, branches);
    AppendKind(out, kStemCombine, stems, branches);
    AppendKind(out, kBranchCombine, stems, branches);
    out += "  地支三合:  ";
    const Branch trio = NatalTrio(branches);
    out += trio >= 1 && trio <= 4 ? kTrioTexts[trio - 1] : std::string_view("无.");
    out += kCrLf;
    AppendKind(out, kBranchHarm, stems, branches);
}

std::string NatalInteractionsSection(const Chart& c) {
    std::string out;
    AppendNatalInteractionsSection(out, c);
    return out;
}

}  // namespace tl
