#include "analysis/interactions.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "analysis/attributes.h"
#include "text/text_build.h"
#include "calendar/chart.h"

namespace tl {

namespace {

// The earlier and the later pillar (0 year .. 3 hour) of each pair code.
constexpr int kPairFirst[7] = {0, 0, 0, 0, 1, 1, 2};
constexpr int kPairSecond[7] = {0, 1, 2, 3, 2, 3, 3};

constexpr std::array<std::string_view, 4> kTrioTexts = {"申子辰相合", "巳酉丑相合", "寅午戌相合", "亥卯未相合"};

using NameOf = std::string_view (*)(int);

void AppendSlot(std::string& out, PairCode code, const int (&v)[4], NameOf name, std::string_view word) {
    if (code == 0) return;
    out += name(v[kPairFirst[code]]);
    out += name(v[kPairSecond[code]]);
    out += word;
}

void AppendKind(std::string& out, std::string_view label, const PairSlots& s, const int (&v)[4], NameOf name,
                std::string_view word, std::string_view wordForSlotAYearMonth) {
    out += label;
    if (!s.present()) {
        out += "无.";
    } else {
        AppendSlot(out, s.a, v, name, s.a == 1 ? wordForSlotAYearMonth : word);
        AppendSlot(out, s.b, v, name, word);
    }
    out += kCrLf;
}

}  // namespace

Branch NatalTrio(const int (&branches)[4]) {
    std::array<int, 4> x = {branches[0], branches[1], branches[2], branches[3]};
    std::sort(x.begin(), x.end());
    const int e = x[0], f = x[1], g = x[2], h = x[3];
    if (f - e == 4) return g - f == 4 || h - f == 4 ? e : 0;
    if (g - e == 4) return h - g == 4 ? e : 0;
    if (g - f == 4) return h - g == 4 ? f : 0;
    return 0;
}

void AppendNatalInteractionsSection(std::string& out, const Chart& c) {
    const int stems[4] = {c.yearStem, c.monthStem, c.dayStem, c.hourStem};
    const int branches[4] = {c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch};
    const NameOf stemName = [](int s) { return StemName(s); };
    const NameOf branchName = [](int b) { return BranchName(b); };

    out += kCrLf;
    out += kCrLf;
    out += "  命局中出现的刑冲合害情况:";
    out += kCrLf;
    AppendKind(out, "  天干相冲:  ", FillPairSlots(stems, StemsClash), stems, stemName, "相冲   ", "相冲   ");
    // A clash of the year and month branches is followed by two spaces only.
    AppendKind(out, "  地支相冲:  ", FillPairSlots(branches, BranchesClash), branches, branchName, "相冲   ",
               "相冲  ");
    AppendKind(out, "  天干相合:  ", FillPairSlots(stems, StemsCombine), stems, stemName, "相合   ", "相合   ");
    AppendKind(out, "  地支相合:  ", FillPairSlots(branches, BranchesCombine), branches, branchName, "相合   ",
               "相合   ");
    out += "  地支三合:  ";
    const Branch trio = NatalTrio(branches);
    out += trio >= 1 && trio <= 4 ? kTrioTexts[trio - 1] : std::string_view("无.");
    out += kCrLf;
    AppendKind(out, "  地支相害:  ", FillPairSlots(branches, BranchesHarm), branches, branchName, "相害   ",
               "相害   ");
}

std::string NatalInteractionsSection(const Chart& c) {
    std::string out;
    AppendNatalInteractionsSection(out, c);
    return out;
}

}  // namespace tl
