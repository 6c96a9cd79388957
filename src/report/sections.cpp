#include "report/sections.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <type_traits>

#include "calendar/names.h"
#include "calendar/pillars.h"
#include "chart/chart.h"
#include "report/relation_words.h"
#include "report/text_build.h"
#include "text/utf8.h"

namespace tl {

namespace {

// About the bytes of the natal table (fifteen short lines of fixed labels,
// some 550 bytes in UTF-8) and of the luck and annual text (12,000 to
// 12,500); a longer one grows the string as it is written.
constexpr std::size_t kNatalChartBytes = 640;
constexpr std::size_t kLuckAndAnnualBytes = 12800;

// Between the luck pillars and the annual table: "<", 86 hyphens, ">".
constexpr std::string_view kSeparator =
    "  <-------------------------------------------------------------------------------------->";
static_assert(kSeparator.size() == 2 + 1 + 86 + 1);

// A short piece of text padded to a whole TextSpan block, so that it is
// copied as one; longer pieces are copied as they are.
struct Token {
    std::uint16_t offset = 0;  // in the store it was made in
    std::uint8_t size = 0;
    std::uint8_t chars = 0;
};

class TokenStore {
public:
    // The store opens with one block of padding: the bytes an empty token
    // (offset 0, size 0) is copied from.
    TokenStore() { bytes_.assign(TextSpan::kBlock, ' '); }

    Token Make(std::initializer_list<std::string_view> parts) {
        Token t;
        t.offset = static_cast<std::uint16_t>(bytes_.size());
        for (std::string_view p : parts) bytes_ += p;
        t.size = static_cast<std::uint8_t>(bytes_.size() - t.offset);
        t.chars = static_cast<std::uint8_t>(Utf8Length(std::string_view(bytes_).substr(t.offset)));
        if (t.size < TextSpan::kBlock) bytes_.append(TextSpan::kBlock - t.size, ' ');
        return t;
    }
    void Put(TextSpan& span, const Token& t) const { span.PutBlock(bytes_.data() + t.offset, t.size); }

private:
    std::string bytes_;
};

// Every word the annual lines are made of, made once: the stars with their
// two spaces, the relation tokens by kind, examined code, the word naming the
// other pillar (year .. luck) and which of the code's two partners
// (Partners) the other pillar's code is, and the trio tokens by the examined
// branch and the first of the two natal branches completing it (the two
// fix the third).
struct Tokens {
    TokenStore store;
    std::array<Token, kStarCount> stars{};
    Token pairs[kRelationKinds][13][5][2]{};
    Token trios[13][13]{};

    Tokens() {
        for (int s = 0; s < kStarCount; ++s)
            stars[static_cast<std::size_t>(s)] = store.Make({StarName(static_cast<Star>(s)), "  "});
        for (int k = 0; k < kRelationKinds; ++k) {
            const auto kind = static_cast<RelationKind>(k);
            const bool onStems = kRelationRules[kind].onStems;
            const auto name = onStems ? StemName : BranchName;
            const int last = onStems ? 10 : 12;
            for (int x = 1; x <= last; ++x)
                for (int j = 0; j < 2; ++j) {
                    const int partner = Partners(kind, x)[static_cast<std::size_t>(j)];
                    if (partner < 1 || partner > last) continue;
                    for (int word = 0; word < 5; ++word)
                        pairs[k][x][word][j] =
                            store.Make({name(x), kRelationWords[kind].pillarWords[static_cast<std::size_t>(word)],
                                        name(partner), "  "});
                }
        }
        for (Branch b = 1; b <= 12; ++b)
            for (Branch first = 1; first <= 12; ++first)
                for (Branch second = 1; second <= 12; ++second)
                    if (FormTrio(b, first, second))
                        trios[b][first] =
                            store.Make({BranchName(b), BranchName(first), BranchName(second), "三合  "});
    }
};

const Tokens& TokensOnce() {
    static const Tokens tokens;
    return tokens;
}

// The relation tokens of one chart, looked up once: by kind, examined code
// and natal pillar (year .. hour) the token naming that pillar, and by kind
// and examined code the token naming the luck pillar in hand.
class RelationWriter {
public:
    RelationWriter(const Tokens& t, const Chart& c)
        : t_(t), stems_{c.yearStem, c.monthStem, c.dayStem, c.hourStem},
          branches_{c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch} {
        for (int k = 0; k < kRelationKinds; ++k) {
            const auto kind = static_cast<RelationKind>(k);
            const int(&natal)[4] = kRelationRules[kind].onStems ? stems_ : branches_;
            for (int i = 0; i < 4; ++i) Mark(kind, natal[i], i, natal_[k], i);
        }
    }

    // The luck pillar whose relations the next rows name.
    void SetLuck(Pillar luck) {
        if (luck < 1 || luck > 60) return;
        for (int k = 0; k < kRelationKinds; ++k) {
            const auto kind = static_cast<RelationKind>(k);
            Mark(kind, kRelationRules[kind].onStems ? StemOf(luck) : BranchOf(luck), 4, luck_[k]);
        }
    }

    // Writes the relations of `pillar` into `span`; returns their
    // characters.
    std::size_t Put(TextSpan& span, Pillar pillar, const PillarRelations& r) const {
        const Stem s = StemOf(pillar);
        const Branch b = BranchOf(pillar);
        if (s < 1 || s > 10 || b < 1 || b > 12) return 0;
        std::size_t chars = 0;
#pragma GCC unroll 5
        for (int k = 0; k < kRelationKinds; ++k) {
            const int with = static_cast<int>(r.with[static_cast<std::size_t>(k)]);
            if (with < 0 || with > 4) continue;
            const int x = kRelationRules[static_cast<std::size_t>(k)].onStems ? s : b;
            const Token* token = with == 4 ? luck_[k][x] : natal_[k][x][with];
            if (token == nullptr) continue;
            t_.store.Put(span, *token);
            chars += token->chars;
        }
        for (unsigned pairs = r.trioPairs; pairs != 0; pairs &= pairs - 1) {
            const int k = std::countr_zero(pairs);
            const Token& token = t_.trios[b][branches_[kNatalPairs[k][0]]];
            t_.store.Put(span, token);
            chars += token.chars;
        }
        return chars;
    }

private:
    // For each code x in relation `kind` with `code`: the token naming x,
    // the pillar word `word` and `code`.
    template <typename Slot>
    void Mark(RelationKind kind, int code, int word, Slot& slots, int index = -1) {
        const int last = kRelationRules[kind].onStems ? 10 : 12;
        for (int x : Partners(kind, code)) {
            if (x < 1 || x > last) continue;
            const Token* token = &t_.pairs[kind][x][word][code == Partners(kind, x)[0] ? 0 : 1];
            if constexpr (std::is_array_v<std::remove_reference_t<decltype(slots[0])>>) {
                slots[x][index] = token;
            } else {
                slots[x] = token;
            }
        }
    }

    const Tokens& t_;
    int stems_[4];
    int branches_[4];
    const Token* natal_[kRelationKinds][13][4] = {};
    const Token* luck_[kRelationKinds][13] = {};
};

void PutStars(TextSpan& span, const Tokens& t, StarSet stars) {
    for (Star s : stars) t.store.Put(span, t.stars[static_cast<std::size_t>(s)]);
}

// One line of a pairwise kind of the natal relations: its label, then slot
// A and slot B, or "无.".
void WriteKind(std::string& out, RelationKind kind, const PairSlots& slots, const int (&stems)[4],
               const int (&branches)[4]) {
    const RelationWords& words = kRelationWords[kind];
    const bool onStems = kRelationRules[kind].onStems;
    const int(&v)[4] = onStems ? stems : branches;
    const auto name = onStems ? StemName : BranchName;
    out += words.natalLabel;
    if (!slots.present()) {
        out += "无.";
    } else {
        for (PairCode code : {slots.a, slots.b}) {
            if (code == 0) continue;
            out += name(v[kNatalPairs[code - 1][0]]);
            out += name(v[kNatalPairs[code - 1][1]]);
            out += code == 1 ? words.yearMonthWord : words.pairWord;
        }
    }
    out += kCrLf;
}

// A name in brackets: "[旺]", "[海中金]"; with `padded`, a one-character
// name takes the width of two, "[ 衰 ]". Empty for an empty name.
std::string Bracketed(std::string_view name, bool padded) {
    if (name.empty()) return {};
    const bool pad = padded && Utf8Length(name) == 1;
    std::string s = "[";
    if (pad) s += ' ';
    s += name;
    if (pad) s += ' ';
    s += ']';
    return s;
}

template <std::size_t N, typename Name>
std::array<std::string, N + 1> LabelsOf(Name name, bool padded) {
    std::array<std::string, N + 1> labels;
    for (std::size_t i = 1; i <= N; ++i) labels[i] = Bracketed(name(static_cast<int>(i)), padded);
    return labels;
}

}  // namespace

std::string_view TenGodLabel(TenGod g) {
    const std::string_view name = TenGodName(g);
    return name.empty() ? std::string_view("  ") : name;
}

std::string_view GrowthStageLabel(GrowthStage g) {
    static const auto labels = LabelsOf<12>(GrowthStageName, true);
    return g >= 1 && g <= 12 ? std::string_view(labels[static_cast<std::size_t>(g)]) : std::string_view{};
}

std::string_view StrengthLabel(SeasonalStrength s) {
    static const auto labels = LabelsOf<5>(StrengthName, false);
    return s >= 1 && s <= 5 ? std::string_view(labels[static_cast<std::size_t>(s)]) : std::string_view{};
}

std::string_view NayinLabel(Pillar p) {
    static const auto labels = LabelsOf<60>(NayinName, false);
    return p >= 1 && p <= 60 ? std::string_view(labels[static_cast<std::size_t>(p)]) : std::string_view{};
}

void WriteStars(std::string& out, StarSet stars) {
    // Room for all twenty stars (208 bytes); more would be made as needed.
    TextWriter w(out, 256);
    const Tokens& t = TokensOnce();
    w.PutThrough([&](TextSpan span) {
        PutStars(span, t, stars);
        return span.end();
    });
}

std::size_t WriteNatalChart(std::string& out, const Chart& c, const NatalTable& natal) {
    std::size_t marker = 0;
    TextWriter w(out, kNatalChartBytes);
    const auto& p = natal.pillars;

    w.Put("四柱:");
    w.Put(kCrLf);

    // Ten gods of the stems; the day stem is the self, "日".
    w.PutSpaces(5);
    w.Put("十神    ");
    w.Put(TenGodLabel(p[0].tenGod));
    w.PutSpaces(8);
    w.Put(TenGodLabel(p[1].tenGod));
    w.PutSpaces(8);
    w.Put("日");
    w.PutSpaces(8);
    w.Put(TenGodLabel(p[3].tenGod));
    w.Put(kCrLf);
    w.Put(kCrLf);

    w.PutSpaces(5);
    marker = w.Offset() + std::string_view("乾").size();
    w.Put(c.isMale ? std::string_view("乾造    ") : std::string_view("坤造    "));
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) w.PutSpaces(8);
        w.Put(StemName(p[i].stem));
    }
    w.Put(kCrLf);
    w.Put(kCrLf);

    w.PutSpaces(13);
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) w.PutSpaces(8);
        w.Put(BranchName(p[i].branch));
    }
    w.Put("  (命宫:");
    w.Put(PillarName(natal.lifePalace));
    w.Put(")(日空:");
    w.Put(BranchName(natal.dayVoid));
    w.Put(BranchName(natal.dayVoid % 12 + 1));
    w.Put(")");
    w.Put(kCrLf);
    w.Put(kCrLf);

    // Hidden stems, slot by slot; an empty slot keeps its four columns.
    for (std::size_t slot = 0; slot < 3; ++slot) {
        if (slot == 0) {
            w.PutSpaces(5);
            w.Put("藏干   ");
        } else {
            w.PutSpaces(12);
        }
        for (std::size_t i = 0; i < 4; ++i) {
            if (i > 0) w.PutSpaces(6);
            const HiddenStem& h = p[i].hiddenStems[slot];
            w.Put(StemName(h.stem));
            w.Put(TenGodLabel(h.tenGod));
        }
        w.Put(kCrLf);
    }
    w.Put(kCrLf);

    w.PutSpaces(5);
    w.Put("干旺   ");
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) w.PutSpaces(6);
        w.Put(StrengthLabel(p[i].strength));
    }
    w.Put(kCrLf);

    // Growth stage of the day stem in each branch.
    w.PutSpaces(5);
    w.Put("长生  ");
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) w.PutSpaces(4);
        w.Put(GrowthStageLabel(p[i].growthStage));
    }
    w.Put(kCrLf);
    w.Put(kCrLf);

    w.PutSpaces(5);
    w.Put("纳音  ");
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) w.PutSpaces(2);
        w.Put(NayinLabel(p[i].pillar));
    }
    return marker;
}

void WriteNatalRelations(std::string& out, const Chart& c, const NatalRelations& r) {
    const int stems[4] = {c.yearStem, c.monthStem, c.dayStem, c.hourStem};
    const int branches[4] = {c.yearBranch, c.monthBranch, c.dayBranch, c.hourBranch};
    out += kCrLf;
    out += kCrLf;
    out += "  命局中出现的刑冲合害情况:";
    out += kCrLf;
    WriteKind(out, kStemClash, r.pairs[kStemClash], stems, branches);
    WriteKind(out, kBranchClash, r.pairs[kBranchClash], stems, branches);
    WriteKind(out, kStemCombine, r.pairs[kStemCombine], stems, branches);
    WriteKind(out, kBranchCombine, r.pairs[kBranchCombine], stems, branches);
    out += "  地支三合:  ";
    out += r.trio >= 1 && r.trio <= 4 ? kTrioTexts[static_cast<std::size_t>(r.trio - 1)] : std::string_view("无.");
    out += kCrLf;
    WriteKind(out, kBranchHarm, r.pairs[kBranchHarm], stems, branches);
}

void WriteNatalShensha(std::string& out, const NatalTable& natal) {
    out += kCrLf;
    out += "  命局中出现的神煞:  ";
    for (ChartStar s : natal.shensha) {
        out += ChartStarName(s);
        out += "  ";
    }
    out += kCrLf;
    constexpr std::string_view kLabels[4] = {"  年柱:  ", "  月柱:  ", "  日柱:  ", "  时柱:  "};
    for (std::size_t i = 0; i < 4; ++i) {
        out += kLabels[i];
        WriteStars(out, natal.pillars[i].shensha);
        out += kCrLf;
    }
    out += kCrLf;
}

void WritePillarRelations(std::string& out, const Chart& c, Pillar pillar, Pillar luck, const PillarRelations& r) {
    RelationWriter relations(TokensOnce(), c);
    relations.SetLuck(luck);
    // Room for five tokens and six trios; more would be made as needed.
    TextWriter w(out, 256);
    w.PutThrough([&](TextSpan span) {
        relations.Put(span, pillar, r);
        return span.end();
    });
}

int AnnualFill(std::size_t relationChars) {
    // Six characters of relation text take ten display columns; the nearest
    // whole number of columns (n × 10 / 6 never ends in one half).
    const long columns = (static_cast<long>(relationChars) * 10 + 3) / 6;
    const long fill = 42 - columns;
    return fill < 2 ? 2 : static_cast<int>(fill);
}

LuckMarkers WriteLuckAndAnnual(std::string& out, const Chart& c, const LuckTimeline& tl) {
    LuckMarkers markers;
    const Tokens& t = TokensOnce();
    RelationWriter relations(t, c);
    TextWriter w(out, kLuckAndAnnualBytes);

    // Start age and handover.
    const LuckHandover& h = tl.handover;
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
    for (const LuckStep& step : tl.luck) {
        w.PutInt(step.startYear);
        w.Put("年  ");
    }
    w.Put(kCrLf);
    w.Put("  大运岁数:   ");
    for (const LuckStep& step : tl.luck) {
        w.PutInt2(step.startAge);
        w.Put("岁    ");
    }
    w.Put(kCrLf);
    markers.luckPillars = w.Offset() + 2;
    w.Put("  大运干支:   ");
    for (const LuckStep& step : tl.luck) {
        w.Put(PillarName(step.pillar));
        w.PutSpaces(4);
    }
    w.Put(kCrLf);
    w.Put("  大运十神:   ");
    for (const LuckStep& step : tl.luck) {
        w.Put(TenGodLabel(step.tenGod));
        w.PutSpaces(6);
    }
    w.Put(kCrLf);
    w.Put("  大运长生:  ");
    for (const LuckStep& step : tl.luck) {
        w.Put(GrowthStageLabel(step.growthStage));
        w.PutSpaces(2);
    }
    w.Put(kCrLf);
    w.Put(kCrLf);
    w.Put(kSeparator);
    w.Put(kCrLf);
    markers.annualHeading = w.Offset() + 2;
    w.Put("  排流年:");
    w.Put(kCrLf);

    // The annual table: header, then rows grouped under their luck pillars.
    w.Put("  岁数   ");
    w.Put("年份   ");
    w.Put("流年干支    ");
    w.Put(" 相关刑冲合害 ");
    w.PutSpaces(29);
    w.Put("※神煞");
    w.Put(kCrLf);
    w.Put(kCrLf);
    for (std::size_t row = 0; row < tl.annual.size(); ++row) {
        const AnnualYear& y = tl.annual[row];
        const LuckStep& luck = tl.luck[static_cast<std::size_t>(y.luckIndex)];
        // Each group of rows opens with the line of its luck pillar, its
        // relations and stars, underlined.
        if (row % 10 == 0) {
            if (row > 0) {
                w.Put(kCrLf);
                w.Put(kCrLf);
            }
            relations.SetLuck(luck.pillar);
            w.Put("  大运:");
            w.Put(PillarName(luck.pillar));
            w.PutSpaces(6);
            w.Put("[");
            w.PutThrough([&](TextSpan span) {
                relations.Put(span, luck.pillar, luck.relations);
                span.Put("  ※");
                PutStars(span, t, luck.shensha);
                span.Put("]");
                return span.end();
            });
            w.Put(kCrLf);
            w.Put("  ----------------------------------------");
        }
        w.Put(kCrLf);
        w.Put("  ");
        w.PutInt2(y.age);
        w.Put("岁   ");
        w.PutInt(y.year);
        w.Put("年   ");
        w.Put(PillarName(y.pillar));
        w.PutSpaces(7);
        w.PutThrough([&](TextSpan span) {
            const std::size_t chars = relations.Put(span, y.pillar, y.relations);
            span.PutSpaces(AnnualFill(chars));
            span.Put("※");
            PutStars(span, t, y.shensha);
            return span.end();
        });
        if (y.luckAndYearMeet) w.Put("   ▲本年岁运并临");
    }
    return markers;
}

}  // namespace tl
