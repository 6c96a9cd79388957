#include "analysis/luck_annual.h"

#include <array>
#include <bit>
#include <cstring>
#include <string_view>

#include "analysis/attributes.h"
#include "analysis/shensha.h"
#include "text/text_build.h"
#include "calendar/civil.h"
#include "calendar/pillars.h"
#include "calendar/chart.h"
#include "text/utf8.h"

namespace tl {

namespace {

constexpr int kAnnualRows = 91;

// Room for one annual row or luck line: the fixed parts (under 100 bytes,
// a fill of at most 42 spaces) with the relations and the stars.
constexpr std::size_t kLineBytes = 192 + RelationTable::kBufferBytes + PillarStars::kBufferBytes;

std::string_view RelationName(const RelationRule& rule, int code) {
    return rule.onStems ? StemName(code) : BranchName(code);
}

// Characters of a stem or branch name: one Chinese character, or the two
// spaces printed for a code out of range.
constexpr std::size_t NameChars(std::string_view name) { return name.size() == 3 ? 1 : name.size(); }

// One token: the examined name, the word naming the other pillar, the other
// pillar's name, two spaces (a trio token: the three branches, "三合", two
// spaces).
char* PutToken(char* p, std::string_view self, std::string_view word, std::string_view other,
               std::string_view tail = "  ") {
    p = Put(p, self);
    p = Put(p, word);
    p = Put(p, other);
    return Put(p, tail);
}

// "  大运:" line with its underline, for luck pillar L.
void AppendLuckLine(std::string& out, const RelationTable& relations, const PillarStars& stars, Pillar luck) {
    char line[kLineBytes];
    char* p = Put(line, "  大运:");
    p = Put(p, PillarName(luck));
    p = PutSpaces(p, 6);
    p = Put(p, "[");
    std::size_t chars = 0;
    p = relations.Put(p, luck, 0, chars);
    p = Put(p, "  ※");
    p = stars.Put(p, luck, false);
    p = Put(p, "]");
    p = Put(p, kCrLf);
    p = Put(p, "  ----------------------------------------");
    out.append(line, static_cast<std::size_t>(p - line));
}

Date AddMonthsClamped(Date d, int months) {
    const int total = d.year * 12 + (d.month - 1) + months;
    d.year = total / 12;
    d.month = total % 12 + 1;
    const int last = DaysInMonth(d.year, d.month);
    if (d.day > last) d.day = last;
    return d;
}

}  // namespace

Pillar LuckPillar(const Chart& c, int k) {
    int p = c.luckForward ? c.firstLuckPillar + k : c.firstLuckPillar - k;
    if (p > 60) p -= 60;
    if (p <= 0) p += 60;
    return p;
}

Pillar AnnualPillar(int year) {
    const int p = ((year - 1863) % 60 + 60) % 60;
    return p == 0 ? 60 : p;
}

LuckHandover LuckHandoverOf(const Chart& c) {
    Date d = NormalizeDate(c.BirthDate());
    d = DateOfDayNumber(DayNumber(d) + c.luckStartDays);
    d = AddMonthsClamped(d, c.luckStartMonths);
    d = AddMonthsClamped(d, 12 * c.luckStartYears);
    int hour = c.birthTime.hour() + c.luckStartHours;
    if (hour > 24) {
        d = DateOfDayNumber(DayNumber(d) + 1);
        hour -= 24;
    }
    return {d, hour};
}

RelationTable::RelationTable(const Chart& c)
    : stems_{c.yearStem, c.monthStem, c.dayStem, c.hourStem},
      branches_{c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch} {
    // Each natal value marks the values in relation with it, year first, so
    // that the last pillar stays.
    for (int k = 0; k < kRelationKinds; ++k) {
        const auto kind = static_cast<RelationKind>(k);
        const RelationRule& rule = kRelationRules[kind];
        const int(&natal)[4] = rule.onStems ? stems_ : branches_;
        const int last = rule.onStems ? 10 : 12;
        for (int i = 0; i < 4; ++i)
            for (int x : Partners(kind, natal[i]))
                if (x >= 1 && x <= last) natal_[kind][x].natal = static_cast<signed char>(i);
        for (int x = 1; x <= last; ++x) {
            Token& t = natal_[kind][x];
            if (t.natal < 0) continue;
            char token[kMaxBytes];
            const char* end =
                PutToken(token, RelationName(rule, x), rule.pillarWords[t.natal], RelationName(rule, natal[t.natal]));
            t.size = static_cast<unsigned char>(std::min<std::size_t>(end - token, sizeof t.bytes));
            std::memcpy(t.bytes, token, t.size);
            t.chars = static_cast<unsigned char>(NameChars(RelationName(rule, x)) + 2 +
                                                 NameChars(RelationName(rule, natal[t.natal])) + 2);
        }
    }
    for (Branch b = 1; b <= 12; ++b)
        for (int k = 0; k < 6; ++k)
            if (FormTrio(b, branches_[kNatalPairs[k][0]], branches_[kNatalPairs[k][1]])) trioPairs_[b] |= 1u << k;
}

char* RelationTable::Put(char* out, Pillar p, Pillar luck, std::size_t& chars) const {
    const Stem s = StemOf(p);
    const Branch b = BranchOf(p);
    if (s < 1 || s > 10 || b < 1 || b > 12) return out;
    const Stem ls = luck != 0 ? StemOf(luck) : 0;
    const Branch lb = luck != 0 ? BranchOf(luck) : 0;
    // Per kind one token: a match with the luck pillar, the last in order,
    // hides the natal one.
    auto kind = [&](RelationKind k) {
        const RelationRule& rule = kRelationRules[k];
        const int x = rule.onStems ? s : b;
        const int other = rule.onStems ? ls : lb;
        if (luck != 0 && Related(k, x, other)) {
            out = PutToken(out, RelationName(rule, x), rule.pillarWords[4], RelationName(rule, other));
            chars += NameChars(RelationName(rule, x)) + 2 + NameChars(RelationName(rule, other)) + 2;
        } else {
            // The padded token is copied whole; the cursor moves by its size.
            const Token& t = natal_[k][x];
            std::memcpy(out, t.bytes, sizeof t.bytes);
            out += t.size;
            chars += t.chars;
        }
    };
    kind(kStemClash);
    kind(kBranchClash);
    kind(kStemCombine);
    kind(kBranchCombine);
    kind(kBranchHarm);
    // Three-branch combinations with pairs of natal branches; the luck pillar
    // takes no part in them.
    for (unsigned pairs = trioPairs_[b]; pairs != 0; pairs &= pairs - 1) {
        const int k = std::countr_zero(pairs);
        const std::string_view first = BranchName(branches_[kNatalPairs[k][0]]);
        const std::string_view second = BranchName(branches_[kNatalPairs[k][1]]);
        out = PutToken(out, BranchName(b), first, second, "三合  ");
        chars += 1 + NameChars(first) + NameChars(second) + 2 + 2;
    }
    return out;
}

void RelationTable::Append(std::string& out, Pillar p, Pillar luck) const {
    char buf[kBufferBytes];
    std::size_t chars = 0;
    out.append(buf, static_cast<std::size_t>(Put(buf, p, luck, chars) - buf));
}

void AppendPillarRelations(std::string& out, const Chart& c, Pillar p, Pillar luck) {
    RelationTable(c).Append(out, p, luck);
}

std::string PillarRelations(const Chart& c, Pillar p, Pillar luck) {
    std::string out;
    AppendPillarRelations(out, c, p, luck);
    return out;
}

int AnnualFill(std::size_t relationChars) {
    // Six characters of relation text take ten display columns; the nearest
    // whole number of columns (n × 10 / 6 never ends in one half).
    const long columns = (static_cast<long>(relationChars) * 10 + 3) / 6;
    const long fill = 42 - columns;
    return fill < 2 ? 2 : static_cast<int>(fill);
}

void AppendLuckAndAnnualText(std::string& out, const Chart& c) {
    std::array<Pillar, 10> luck{};
    for (int k = 0; k < 10; ++k) luck[k] = LuckPillar(c, k);
    const int firstAge = c.luckStartYears + 1;

    // Start age and handover.
    const LuckHandover h = LuckHandoverOf(c);
    out += kCrLf;
    out += "  起大运:  命主从出生后";
    AppendInt(out, c.luckStartYears);
    out += "年又";
    AppendInt(out, c.luckStartMonths);
    out += "个月";
    AppendInt(out, c.luckStartDays);
    out += "天";
    AppendInt(out, c.luckStartHours);
    out += "小时开始起运";
    out += "   命主于公历";
    AppendInt(out, h.date.year);
    out += "年";
    AppendInt(out, h.date.month);
    out += "月";
    AppendInt(out, h.date.day);
    out += "日";
    AppendInt(out, h.hour);
    out += "时交运";

    // The ten luck pillars in five lines of eight-column entries.
    out += kCrLf;
    out += kCrLf;
    out += "  排大运:";
    out += kCrLf;
    out += "  大运年份:  ";
    for (int k = 0; k < 10; ++k) {
        AppendInt(out, c.birthYear + firstAge + 10 * k);
        out += "年  ";
    }
    out += kCrLf;
    out += "  大运岁数:   ";
    for (int k = 0; k < 10; ++k) {
        AppendInt2(out, firstAge + 10 * k);
        out += "岁    ";
    }
    out += kCrLf;
    out += "  大运干支:   ";
    for (int k = 0; k < 10; ++k) {
        out += PillarName(luck[k]);
        AppendSpaces(out, 4);
    }
    out += kCrLf;
    out += "  大运十神:   ";
    for (int k = 0; k < 10; ++k) {
        out += TenGodLabel(TenGodOf(c.dayStem, StemOf(luck[k])));
        AppendSpaces(out, 6);
    }
    out += kCrLf;
    out += "  大运长生:  ";
    for (int k = 0; k < 10; ++k) {
        out += GrowthStageLabel(GrowthStageOf(c.dayStem, BranchOf(luck[k])));
        AppendSpaces(out, 2);
    }
    out += kCrLf;
    out += kCrLf;
    out += "  <";
    out.append(86, '-');
    out += ">";
    out += kCrLf;
    out += "  排流年:";
    out += kCrLf;

    // The annual table: header, then rows grouped under their luck pillars.
    const RelationTable relations(c);
    const PillarStars stars(c);
    out += "  岁数   ";
    out += "年份   ";
    out += "流年干支    ";
    out += " 相关刑冲合害 ";
    AppendSpaces(out, 29);
    out += "※神煞";
    out += kCrLf;
    out += kCrLf;
    AppendLuckLine(out, relations, stars, luck[0]);
    int k = 0;
    for (int row = 1; row <= kAnnualRows; ++row) {
        const int age = c.luckStartYears + row;
        const int year = c.birthYear + age;
        const Pillar annual = AnnualPillar(year);
        char line[kLineBytes];
        char* p = Put(line, kCrLf);
        p = Put(p, "  ");
        p = PutInt2(p, age);
        p = Put(p, "岁   ");
        p = PutInt(p, year);
        p = Put(p, "年   ");
        p = Put(p, PillarName(annual));
        p = PutSpaces(p, 7);
        std::size_t relationChars = 0;
        p = relations.Put(p, annual, luck[k], relationChars);
        p = PutSpaces(p, AnnualFill(relationChars));
        p = Put(p, "※");
        p = stars.Put(p, annual, false);
        if (annual == luck[k]) p = Put(p, "   ▲本年岁运并临");
        out.append(line, static_cast<std::size_t>(p - line));
        if (row % 10 == 0) {
            ++k;
            out += kCrLf;
            out += kCrLf;
            AppendLuckLine(out, relations, stars, luck[k]);
        }
    }
}

std::string LuckAndAnnualText(const Chart& c) {
    std::string out;
    AppendLuckAndAnnualText(out, c);
    return out;
}

}  // namespace tl
