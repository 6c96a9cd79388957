#include "analysis/luck_annual.h"

#include <array>
#include <bit>
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

// Between the luck pillars and the annual table: "<", 86 hyphens, ">".
constexpr std::string_view kSeparator =
    "  <-------------------------------------------------------------------------------------->";
static_assert(kSeparator.size() == 2 + 1 + 86 + 1);

// About the bytes of the luck and annual text (12,000 to 12,500 in UTF-8);
// a longer one grows the string as it is written.
constexpr std::size_t kExpectedBytes = 12800;

std::string_view RelationName(const RelationRule& rule, int code) {
    return rule.onStems ? StemName(code) : BranchName(code);
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
      branches_{c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch},
      luck_(&LuckTokensOnce()) {
    // The store opens with one block of padding: the bytes an empty token
    // (offset 0, size 0) is copied from.
    tokens_.reserve(1024);
    tokens_.assign(TextSpan::kBlock, ' ');
    // Each natal value marks the values in relation with it, year first, so
    // that the last pillar stays; then each marked value gets its token.
    int marked[kRelationKinds][13];
    for (auto& kind : marked)
        for (int& pillar : kind) pillar = -1;
    for (int k = 0; k < kRelationKinds; ++k) {
        const auto kind = static_cast<RelationKind>(k);
        const RelationRule& rule = kRelationRules[kind];
        const int(&natal)[4] = rule.onStems ? stems_ : branches_;
        const int last = rule.onStems ? 10 : 12;
        for (int i = 0; i < 4; ++i)
            for (int x : Partners(kind, natal[i]))
                if (x >= 1 && x <= last) marked[kind][x] = i;
        for (int x = 1; x <= last; ++x) {
            const int pillar = marked[kind][x];
            if (pillar < 0) continue;
            natal_[kind][x] = Make(tokens_, RelationName(rule, x), rule.pillarWords[pillar],
                                   RelationName(rule, natal[pillar]), "  ");
        }
    }
    // Three-branch combinations with pairs of natal branches.
    for (Branch b = 1; b <= 12; ++b)
        for (int k = 0; k < 6; ++k) {
            const Branch first = branches_[kNatalPairs[k][0]];
            const Branch second = branches_[kNatalPairs[k][1]];
            if (!FormTrio(b, first, second)) continue;
            trioPairs_[b] |= 1u << k;
            trios_[b][k] = Make(tokens_, BranchName(b), BranchName(first), BranchName(second), "三合  ");
        }
}

RelationTable::Token RelationTable::Make(std::string& store, std::string_view a, std::string_view b,
                                        std::string_view c, std::string_view d) {
    Token t;
    t.offset = static_cast<std::uint32_t>(store.size());
    store += a;
    store += b;
    store += c;
    store += d;
    t.size = static_cast<std::uint32_t>(store.size() - t.offset);
    t.chars = static_cast<std::uint32_t>(Utf8Length(std::string_view(store).substr(t.offset)));
    if (t.size < TextSpan::kBlock) store.append(TextSpan::kBlock - t.size, ' ');
    return t;
}

// By kind, examined code and which of its two partners (Partners) the luck
// pillar's code is: the token naming the luck pillar.
struct RelationTable::LuckTokens {
    std::string store;
    Token tokens[kRelationKinds][13][2];
};

const RelationTable::LuckTokens& RelationTable::LuckTokensOnce() {
    static const LuckTokens luck = [] {
        LuckTokens t;
        for (int k = 0; k < kRelationKinds; ++k) {
            const auto kind = static_cast<RelationKind>(k);
            const RelationRule& rule = kRelationRules[kind];
            for (int x = 1; x <= (rule.onStems ? 10 : 12); ++x)
                for (int j = 0; j < 2; ++j)
                    t.tokens[kind][x][j] = Make(t.store, RelationName(rule, x), rule.pillarWords[4],
                                                RelationName(rule, Partners(kind, x)[j]), "  ");
        }
        return t;
    }();
    return luck;
}

char* RelationTable::Put(TextSpan out, Pillar p, Pillar luck, std::size_t& chars) const {
    chars = 0;
    const Stem s = StemOf(p);
    const Branch b = BranchOf(p);
    if (s < 1 || s > 10 || b < 1 || b > 12) return out.end();
    const Stem ls = luck != 0 ? StemOf(luck) : 0;
    const Branch lb = luck != 0 ? BranchOf(luck) : 0;
    std::size_t n = 0;
    // Per kind one token: a match with the luck pillar, the last in order,
    // hides the natal one. Unrolled, so that each kind's rule is folded in.
#pragma GCC unroll 5
    for (int k = 0; k < kRelationKinds; ++k) {
        const auto kind = static_cast<RelationKind>(k);
        const bool onStems = kRelationRules[kind].onStems;
        const int x = onStems ? s : b;
        const int other = onStems ? ls : lb;
        const std::array<int, 2> partners = Partners(kind, x);
        const std::string* store = &tokens_;
        const Token* t = &natal_[kind][x];
        if (luck != 0 && (other == partners[0] || other == partners[1])) {
            store = &luck_->store;
            t = &luck_->tokens[kind][x][other == partners[0] ? 0 : 1];
        }
        out.PutBlock(store->data() + t->offset, t->size);
        n += t->chars;
    }
    // Three-branch combinations; the luck pillar takes no part in them.
    for (unsigned pairs = trioPairs_[b]; pairs != 0; pairs &= pairs - 1) {
        const Token& t = trios_[b][std::countr_zero(pairs)];
        out.PutBlock(tokens_.data() + t.offset, t.size);
        n += t.chars;
    }
    chars = n;
    return out.end();
}

void RelationTable::Append(std::string& out, Pillar p, Pillar luck) const {
    // Room for five tokens and six trios; more would be made as needed.
    TextWriter w(out, 256);
    std::size_t chars = 0;
    w.PutThrough([&](TextSpan span) { return Put(span, p, luck, chars); });
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
    TextWriter w(out, kExpectedBytes);

    // Start age and handover.
    const LuckHandover h = LuckHandoverOf(c);
    w.Put(kCrLf);
    w.Put("  起大运:  命主从出生后");
    w.PutInt(c.luckStartYears);
    w.Put("年又");
    w.PutInt(c.luckStartMonths);
    w.Put("个月");
    w.PutInt(c.luckStartDays);
    w.Put("天");
    w.PutInt(c.luckStartHours);
    w.Put("小时开始起运");
    w.Put("   命主于公历");
    w.PutInt(h.date.year);
    w.Put("年");
    w.PutInt(h.date.month);
    w.Put("月");
    w.PutInt(h.date.day);
    w.Put("日");
    w.PutInt(h.hour);
    w.Put("时交运");

    // The ten luck pillars in five lines of eight-column entries.
    w.Put(kCrLf);
    w.Put(kCrLf);
    w.Put("  排大运:");
    w.Put(kCrLf);
    w.Put("  大运年份:  ");
    for (int k = 0; k < 10; ++k) {
        w.PutInt(c.birthYear + firstAge + 10 * k);
        w.Put("年  ");
    }
    w.Put(kCrLf);
    w.Put("  大运岁数:   ");
    for (int k = 0; k < 10; ++k) {
        w.PutInt2(firstAge + 10 * k);
        w.Put("岁    ");
    }
    w.Put(kCrLf);
    w.Put("  大运干支:   ");
    for (int k = 0; k < 10; ++k) {
        w.Put(PillarName(luck[k]));
        w.PutSpaces(4);
    }
    w.Put(kCrLf);
    w.Put("  大运十神:   ");
    for (int k = 0; k < 10; ++k) {
        w.Put(TenGodLabel(TenGodOf(c.dayStem, StemOf(luck[k]))));
        w.PutSpaces(6);
    }
    w.Put(kCrLf);
    w.Put("  大运长生:  ");
    for (int k = 0; k < 10; ++k) {
        w.Put(GrowthStageLabel(GrowthStageOf(c.dayStem, BranchOf(luck[k]))));
        w.PutSpaces(2);
    }
    w.Put(kCrLf);
    w.Put(kCrLf);
    w.Put(kSeparator);
    w.Put(kCrLf);
    w.Put("  排流年:");
    w.Put(kCrLf);

    // The annual table: header, then rows grouped under their luck pillars.
    const RelationTable relations(c);
    const PillarStars stars(c);
    w.Put("  岁数   ");
    w.Put("年份   ");
    w.Put("流年干支    ");
    w.Put(" 相关刑冲合害 ");
    w.PutSpaces(29);
    w.Put("※神煞");
    w.Put(kCrLf);
    w.Put(kCrLf);
    for (int row = 1; row <= kAnnualRows; ++row) {
        // Rows 1 to 10 stand under luck pillar 0, each next ten under the
        // next one, row 91 alone under luck pillar 9; each group opens with
        // the line of its luck pillar, its relations and stars, underlined.
        const int k = (row - 1) / 10;
        if (row % 10 == 1) {
            if (row > 1) {
                w.Put(kCrLf);
                w.Put(kCrLf);
            }
            w.Put("  大运:");
            w.Put(PillarName(luck[k]));
            w.PutSpaces(6);
            w.Put("[");
            std::size_t chars = 0;
            w.PutThrough([&](TextSpan span) { return relations.Put(span, luck[k], 0, chars); });
            w.Put("  ※");
            w.PutThrough([&](TextSpan span) { return stars.Put(span, luck[k], false); });
            w.Put("]");
            w.Put(kCrLf);
            w.Put("  ----------------------------------------");
        }
        const int age = c.luckStartYears + row;
        const int year = c.birthYear + age;
        const Pillar annual = AnnualPillar(year);
        w.Put(kCrLf);
        w.Put("  ");
        w.PutInt2(age);
        w.Put("岁   ");
        w.PutInt(year);
        w.Put("年   ");
        w.Put(PillarName(annual));
        w.PutSpaces(7);
        std::size_t relationChars = 0;
        w.PutThrough([&](TextSpan span) { return relations.Put(span, annual, luck[k], relationChars); });
        w.PutSpaces(AnnualFill(relationChars));
        w.Put("※");
        w.PutThrough([&](TextSpan span) { return stars.Put(span, annual, false); });
        if (annual == luck[k]) w.Put("   ▲本年岁运并临");
    }
}

std::string LuckAndAnnualText(const Chart& c) {
    std::string out;
    AppendLuckAndAnnualText(out, c);
    return out;
}

}  // namespace tl
