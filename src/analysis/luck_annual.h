// The luck pillars (大运) and annual pillars (流年) of the report: the start
// age and handover, the ten luck pillars in five aligned lines, and 91
// annual rows grouped under their luck pillars, with relations and stars.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/relations.h"
#include "text/text_build.h"
#include "calendar/types.h"

namespace tl {

struct Chart;

// Luck pillar k (0..9): the first luck pillar stepped k times forward or
// backward through the sixty.
Pillar LuckPillar(const Chart& chart, int k);

// The sexagenary pillar of a calendar year (1864 and 1984 are 甲子).
Pillar AnnualPillar(int year);

// When the first luck pillar takes over: the birth date plus the start
// days, then months, then years (a day past the end of a month is clamped
// to its last day), at the birth hour plus the start hours. A sum above 24
// moves to the next day; exactly 24 stays 24 on the same day.
struct LuckHandover {
    Date date;
    int hour = 0;

    friend bool operator==(const LuckHandover&, const LuckHandover&) = default;
};
LuckHandover LuckHandoverOf(const Chart& chart);

// The clashes, combinations, harms and three-branch combinations of a pillar
// with the natal pillars and, when `luckPillar` is not 0, with that luck
// pillar: per kind one token for the last matching pillar in the order year,
// month, day, hour, luck, then one token per natal branch pair completing a
// trio with the pillar's branch. Each token ends in two spaces.
std::string PillarRelations(const Chart& chart, Pillar pillar, Pillar luckPillar);
void AppendPillarRelations(std::string& out, const Chart& chart, Pillar pillar, Pillar luckPillar);

// The natal side of PillarRelations worked out once per chart for every
// stem and branch, for examining many pillars.
class RelationTable {
public:
    explicit RelationTable(const Chart& chart);

    // The same text as PillarRelations.
    void Append(std::string& out, Pillar pillar, Pillar luckPillar) const;
    // Writes the same text into `out` and returns its end (null when the
    // room was too short); sets `chars` to its length in characters.
    char* Put(TextSpan out, Pillar pillar, Pillar luckPillar, std::size_t& chars) const;

private:
    // A token made ahead: where its bytes start in the store it was made in,
    // its size and its characters. Each token is followed by padding up to a
    // whole TextSpan block, so that a short one is copied as one block; no
    // token is offset 0 and size 0, the padding that opens the store.
    struct Token {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
        std::uint32_t chars = 0;
    };
    static Token Make(std::string& store, std::string_view a, std::string_view b, std::string_view c,
                      std::string_view d);
    // The tokens of a relation with the luck pillar depend on the two codes
    // only, so they are made once.
    struct LuckTokens;
    static const LuckTokens& LuckTokensOnce();

    int stems_[4] = {};
    int branches_[4] = {};
    const LuckTokens* luck_;
    std::string tokens_;
    // By kind and by the examined stem (1..10) or branch (1..12): the token
    // naming the last natal pillar in the relation.
    Token natal_[kRelationKinds][13];
    // By the examined branch: bit k when natal branch pair k (year–month ..
    // day–hour) completes a trio with it, and the token of that trio.
    unsigned char trioPairs_[13] = {};
    Token trios_[13][6];
};

// The spaces between a row's relations and its "※": 42 columns minus the
// relations counted as ten columns per six characters, at least 2.
int AnnualFill(std::size_t relationChars);

// The luck part (start age, handover, the five luck lines, the separator,
// the "排流年:" heading) followed by the annual table, ending after the last
// row without a line end.
std::string LuckAndAnnualText(const Chart& chart);
void AppendLuckAndAnnualText(std::string& out, const Chart& chart);

}  // namespace tl
